// The text forms of lists, int-lists and tables.
//
// Nested collections line up under their opening parenthesis: one run-wide indentation (a count
// of blanks) grows while a collection writes its elements and shrinks again afterwards. A list's
// elements after the first start a new line in the quoted form, six blanks in ("(list "); a
// table's pairs always do, seven blanks in ("(table "), and while a pair's value is written the
// indentation grows by the key's text and two more, so the value starts where it stands.

#include "framework/runtime/IntList.h"
#include "framework/runtime/List.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/runtime/ValuePrinter.h"

#include <algorithm>
#include <charconv>
#include <string>

namespace {

int32_t indentation = 0;

// Grows the indentation for the life of the object.
class Indent {
public:
    explicit Indent(int32_t blanks)
        : m_blanks(blanks)
    {
        indentation += blanks;
    }
    ~Indent() { indentation -= m_blanks; }
    Indent(const Indent&) = delete;
    Indent& operator=(const Indent&) = delete;

private:
    int32_t m_blanks;
};

void newLine(std::string& out)
{
    out += '\n';
    out.append(size_t(indentation), ' ');
}

void appendText(std::string& out, const qelValue& text)
{
    if (qelStringObject* string = qelStringOf(text))
        out.append(string->chars(), size_t(string->length()));
}

void appendNumber(std::string& out, int32_t n)
{
    char digits[16];
    auto result = std::to_chars(digits, digits + sizeof digits, n);
    out.append(digits, result.ptr);
}

qelValue toValue(const std::string& out)
{
    return qelStringValueN(out.data(), int32_t(out.size()));
}

// Display forms of int-lists stop after this many integers.
constexpr int32_t shownIntegers = 12;

} // namespace

qelValue qelListObject::printString(int32_t, int32_t quoted) const
{
    std::string out = "(list";
    Indent indent(quoted ? 6 : 0);
    for (int32_t i = 0; i < count; ++i) {
        if (quoted && i > 0)
            newLine(out);
        else
            out += ' ';
        appendText(out, qelPrintValue(elements[i], quoted));
    }
    out += ')';
    return toValue(out);
}

qelValue qelIntListObject::printString(int32_t, int32_t quoted) const
{
    std::string out = "(intlist ";
    int32_t shown = quoted ? count : std::min(count, shownIntegers);
    for (int32_t i = 0; i < shown; ++i) {
        if (i > 0)
            out += ' ';
        appendNumber(out, ints[i]);
    }
    if (shown < count || (!quoted && count == shownIntegers))
        out += " ...";
    out += ')';
    return toValue(out);
}

qelValue qelTableObject::printString(int32_t, int32_t quoted) const
{
    std::string out = "(table ";
    Indent pairs(7);
    bool first = true;
    for (int32_t slot = firstIndex(); slot >= 0; slot = nextIndex(slot)) {
        if (!first)
            newLine(out);
        first = false;
        qelValue keyText = qelPrintValue(keys[slot], quoted);
        out += '(';
        appendText(out, keyText);
        out += ' ';
        qelStringObject* keyString = qelStringOf(keyText);
        Indent value((keyString ? keyString->length() : 0) + 2);
        appendText(out, qelPrintValue(values[slot], quoted));
        out += ')';
    }
    out += ')';
    return toValue(out);
}
