#include "framework/runtime/TextNotation.h"

#include "framework/runtime/CaseMap.h"
#include "framework/runtime/EncodingAccess.h"
#include "framework/runtime/Error.h"
#include "framework/runtime/MakerHooks.h"
#include "framework/runtime/NumberText.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/ValuePrinter.h"
#include "framework/runtime/HexDigit.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

constexpr size_t tokenLimit = 63;

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// The end of the text (NUL) ends a token too.
bool isDelimiter(char c)
{
    return isBlank(c) || c == '(' || c == ')' || c == '"' || c == ';' || c == 0;
}

char lowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

enum class Keyword {
    Table,
    List,
    IntList,
    Point,
    Rect,
    Rgb,
    Region,
    Form,
    Control,
    Font,
    Reference,
    Image,
    TextFile,
    File,
    Sound,
    SoundFile,
    Date,
    None,
};

// In the order they are tried.
constexpr const char* keywordNames[] = { "table", "list", "intlist", "point", "rect", "rgb", "region", "form",
    "control", "font", "reference", "image", "textfile", "file", "sound", "soundfile", "date" };

Keyword keywordOf(const char* token)
{
    for (size_t i = 0; i < std::size(keywordNames); ++i) {
        if (std::strcmp(token, keywordNames[i]) == 0)
            return Keyword(i);
    }
    return Keyword::None;
}

std::string display(const qelValue& value)
{
    return qelCString(qelValueToString(value));
}

// A double narrowed to a float; out of range gives the infinity of its sign.
float narrow(double d)
{
    if (d > std::numeric_limits<float>::max())
        return std::numeric_limits<float>::infinity();
    if (d < -std::numeric_limits<float>::max())
        return -std::numeric_limits<float>::infinity();
    return float(d);
}

class Reader {
public:
    explicit Reader(const qelValue& constants)
        : m_constants(constants)
        , m_standard(&constants == &qelTextConstants())
    {
    }

    qelValue value(const char*& p);
    bool failed() const { return m_failed; }

private:
    qelValue fail(const std::string& message)
    {
        if (!m_failed)
            qelError(message.c_str());
        m_failed = true;
        return qelNil;
    }
    static void skipComment(const char*& p)
    {
        while (*p && *p != '\n')
            ++p;
    }
    static void skipBlanksAndComments(const char*& p)
    {
        for (;;) {
            if (isBlank(*p))
                ++p;
            else if (*p == ';')
                skipComment(p);
            else
                return;
        }
    }

    qelValue atom(const char*& p, const char* start);
    qelValue string(const char*& p);
    qelValue form(Keyword keyword, const char*& p, const char* open);
    qelValue listBody(const char*& p);
    qelValue tableBody(const char*& p);
    // The body read as a list, each element made an int; false after an error.
    bool intBody(const char*& p, std::vector<int32_t>& ints, qelValue& printed);
    bool intOf(const qelValue& v, int32_t& n);
    qelValue singleString(const char*& p, const char* open, const char* what, qelValue& name);
    qelValue region(const char*& p, const char* open);
    qelValue font(const char*& p);

    const qelValue& m_constants;
    bool m_standard;
    bool m_failed { false };
    int32_t m_depth { 0 };
    char m_token[tokenLimit + 1];
};

qelValue Reader::value(const char*& p)
{
    const char* start = p;
    for (;;) {
        char c = *p;
        if (c == 0)
            return fail(std::string("Malformed object representation: ") + start);
        if (isBlank(c)) {
            ++p;
            continue;
        }
        if (c == ';') {
            skipComment(p);
            continue;
        }
        if (c == '"') {
            ++p;
            return string(p);
        }
        if (c != '(')
            return atom(p, start);

        const char* open = p;
        size_t n = 0;
        while (n < tokenLimit && !isDelimiter(p[1 + n])) {
            m_token[n] = lowerAscii(p[1 + n]);
            ++n;
        }
        m_token[n] = 0;
        if (n == 0) {
            // A "(" right before a delimiter is dropped.
            ++p;
            continue;
        }
        // Why: each parenthesis costs stack; the nesting of real content is a handful deep.
        if (m_depth >= qelMaximumTextDepth)
            return fail(std::string("Malformed object representation: ") + start);
        ++m_depth;
        qelValue result;
        Keyword keyword = keywordOf(m_token);
        if (keyword != Keyword::None) {
            p += 1 + n;
            result = form(keyword, p, open);
        } else {
            ++p;
            result = listBody(p);
        }
        --m_depth;
        return m_failed ? qelNil : result;
    }
}

qelValue Reader::atom(const char*& p, const char* start)
{
    // The first character is taken as it is (it may be ")"); the following ones are lowered.
    size_t n = 1;
    m_token[0] = *p;
    while (n < tokenLimit && !isDelimiter(p[n])) {
        m_token[n] = lowerAscii(p[n]);
        ++n;
    }
    m_token[n] = 0;
    p += n;

    // No standard constant begins like a number, so numbers skip the table there.
    char first = m_token[0];
    bool numeric = (first >= '0' && first <= '9') || first == '-' || first == '+' || first == '.';
    if (!(m_standard && numeric) && m_constants.type() == QEL_TABLE_TYPE) {
        char lowered[tokenLimit + 1];
        for (size_t i = 0; i < n; ++i)
            lowered[i] = char(qelLowerCaseMap[uint8_t(m_token[i])]);
        qelValue found;
        if (qelEncodingAccess::tableFind(m_constants, qelStringValueN(lowered, int32_t(n)), found))
            return found;
    }
    const char* end = nullptr;
    if (std::memchr(m_token, '.', n)) {
        double d = qelTextToFloat(m_token, &end);
        if (end == m_token + n)
            return qelMakeFloat(narrow(d));
    }
    int32_t i = qelTextToInt(m_token, &end);
    if (end == m_token + n)
        return qelMakeInt(i);
    return fail(std::string("Undefined constant: '") + m_token + "' while parsing " + start);
}

qelValue Reader::string(const char*& p)
{
    const char* after = p;
    std::string text;
    auto unterminated = [&] { return fail(std::string("Unterminated string constant: ") + after); };
    for (;;) {
        const char* run = p;
        while (*p && *p != '"' && *p != '\\')
            ++p;
        text.append(run, size_t(p - run));
        if (*p == 0)
            return unterminated();
        if (*p == '"') {
            ++p;
            return text.empty() ? qelEmptyString() : qelStringValueN(text.data(), int32_t(text.size()));
        }
        // A backslash: the text's end inside an escape ends the literal, never the reading of
        // what lies past the text.
        char e = p[1];
        switch (e) {
        case 0:
            return unterminated();
        case '"':
        case '\\':
            text += e;
            break;
        case 'n':
            text += '\n';
            break;
        case 'r':
            text += '\r';
            break;
        case 't':
            text += '\t';
            break;
        case 'x': {
            if (p[2] == 0 || p[3] == 0)
                return unterminated();
            int high = qelHexDigitValue(p[2]), low = qelHexDigitValue(p[3]);
            if (high < 0 || low < 0)
                return fail(std::string("Bad character code in string: \\x") + p[2] + p[3]);
            text += char(high * 16 + low);
            p += 4;
            continue;
        }
        default:
            return fail(std::string("Invalid string escape code: '\\") + e + "'");
        }
        p += 2;
    }
}

qelValue Reader::listBody(const char*& p)
{
    const char* body = p;
    qelValue list = qelEncodingAccess::makeList(4, 5);
    for (;;) {
        skipBlanksAndComments(p);
        if (*p == 0)
            return fail(std::string("Unterminated list: ") + body);
        if (*p == ')') {
            ++p;
            return list;
        }
        qelValue item = value(p);
        if (m_failed)
            return qelNil;
        qelEncodingAccess::append(list, item);
    }
}

qelValue Reader::tableBody(const char*& p)
{
    const char* body = p;
    qelValue table = qelEncodingAccess::makeTable(4);
    for (;;) {
        skipBlanksAndComments(p);
        char c = *p;
        if (c == 0)
            return fail(std::string("Unterminated table") + body);
        if (c == ')') {
            ++p;
            return table;
        }
        if (c != '(')
            return fail(std::string("Bad table syntax: ") + body);
        ++p;
        qelValue key = value(p);
        if (m_failed)
            return qelNil;
        qelValue item = value(p);
        if (m_failed)
            return qelNil;
        // Whatever else the entry holds, up to its ")", is ignored.
        while (*p && *p != ')')
            ++p;
        if (*p == 0)
            return fail(std::string("Unterminated table") + body);
        ++p;
        qelEncodingAccess::put(table, key, item);
    }
}

bool Reader::intOf(const qelValue& v, int32_t& n)
{
    switch (v.type()) {
    case QEL_BOOLEAN_TYPE:
    case QEL_INT_TYPE:
        n = v.payload();
        return true;
    case QEL_FLOAT_TYPE: {
        double d = std::trunc(double(v.floatPayload()));
        if (std::isnan(d))
            n = 0;
        else if (d >= 2147483647.0)
            n = std::numeric_limits<int32_t>::max();
        else if (d <= -2147483648.0)
            n = std::numeric_limits<int32_t>::min();
        else
            n = int32_t(d);
        return true;
    }
    case QEL_STRING_TYPE:
        n = qelTextToInt(qelCString(v));
        return true;
    default:
        qelArgTypeError("qelIntValue(numberOrString)", 1);
        m_failed = true;
        return false;
    }
}

bool Reader::intBody(const char*& p, std::vector<int32_t>& ints, qelValue& printed)
{
    qelValue list = listBody(p);
    if (m_failed)
        return false;
    int32_t count = qelEncodingAccess::listCount(list);
    ints.resize(size_t(count));
    for (int32_t i = 0; i < count; ++i) {
        if (!intOf(qelEncodingAccess::elementAt(list, i), ints[size_t(i)]))
            return false;
    }
    printed = qelEncodingAccess::makeList(count, 3);
    qelEncodingAccess::setInts(printed, ints.data(), count);
    return true;
}

qelValue Reader::singleString(const char*& p, const char* open, const char* what, qelValue& name)
{
    qelValue list = listBody(p);
    if (m_failed)
        return qelNil;
    if (qelEncodingAccess::listCount(list) != 1)
        return fail(std::string("Malformed object representation: ") + open);
    name = qelEncodingAccess::elementAt(list, 0);
    if (!name.isString())
        return fail(std::string(what) + " argument must be a string: " + open);
    return name;
}

qelValue Reader::region(const char*& p, const char* open)
{
    qelValue list = listBody(p);
    if (m_failed)
        return qelNil;
    int32_t count = qelEncodingAccess::listCount(list);
    if (count == 0)
        return qelMakers().regionValue(0, 0, 0, 0);
    std::vector<int32_t> xy(size_t(count) * 2 + 2);
    for (int32_t i = 0; i < count; ++i) {
        qelValue point = qelEncodingAccess::elementAt(list, i);
        if (point.type() != QEL_LIST_TYPE || qelEncodingAccess::listCount(point) < 2)
            return fail(std::string("Malformed object representation: ") + open);
        if (!intOf(qelEncodingAccess::elementAt(point, 0), xy[size_t(2 * i)])
            || !intOf(qelEncodingAccess::elementAt(point, 1), xy[size_t(2 * i + 1)]))
            return qelNil;
    }
    xy[size_t(2 * count)] = xy[0];
    xy[size_t(2 * count + 1)] = xy[1];
    // The box is the smallest and largest x and y of the points themselves.
    int32_t left = xy[0], right = xy[0], top = xy[1], bottom = xy[1];
    for (int32_t i = 1; i < count; ++i) {
        left = std::min(left, xy[size_t(2 * i)]);
        right = std::max(right, xy[size_t(2 * i)]);
        top = std::min(top, xy[size_t(2 * i + 1)]);
        bottom = std::max(bottom, xy[size_t(2 * i + 1)]);
    }
    return qelMakers().polygonValue(left, top, right, bottom, xy.data(), count + 1);
}

qelValue Reader::font(const char*& p)
{
    qelValue list = listBody(p);
    if (m_failed)
        return qelNil;
    int32_t count = qelEncodingAccess::listCount(list);
    if (count < 2)
        return fail("Cannot read font name (string expected): " + display(list));
    int32_t style = 0;
    if (count >= 3) {
        qelValue third = qelEncodingAccess::elementAt(list, 2);
        if (third.type() == QEL_INT_TYPE) {
            style = third.payload();
        } else if (third.isString()) {
            qelValue lowered = qelLowerCase(third);
            style = lowered == "bold" ? 2 : lowered == "italic" ? 1 : 0;
        } else {
            return fail("Bad font spec: " + display(list));
        }
    }
    int32_t size;
    if (!intOf(qelEncodingAccess::elementAt(list, 1), size))
        return qelNil;
    return qelMakers().fontValue(qelEncodingAccess::elementAt(list, 0), size, style);
}

// 32-bit wrap-around sums, as the stored fields are 32-bit.
int32_t wrapAdd(int32_t a, int32_t b)
{
    return int32_t(uint32_t(a) + uint32_t(b));
}

qelValue Reader::form(Keyword keyword, const char*& p, const char* open)
{
    qelMakerHooks& makers = qelMakers();
    std::vector<int32_t> ints;
    qelValue printed;
    qelValue name;
    switch (keyword) {
    case Keyword::Table:
        return tableBody(p);
    case Keyword::List:
        return listBody(p);
    case Keyword::IntList:
        return intBody(p, ints, printed) ? printed : qelNil;
    case Keyword::Point:
        if (!intBody(p, ints, printed))
            return qelNil;
        if (ints.size() != 2)
            return fail("Cannot read point (two INTS expected) " + display(printed));
        return makers.regionValue(ints[0], ints[1], ints[0], ints[1]);
    case Keyword::Rect:
        if (!intBody(p, ints, printed))
            return qelNil;
        if (ints.size() != 4)
            return fail("Cannot read rectangle (four INTS expected) " + display(printed));
        return makers.regionValue(ints[0], ints[1], wrapAdd(ints[0], ints[2]), wrapAdd(ints[1], ints[3]));
    case Keyword::Rgb:
        if (!intBody(p, ints, printed))
            return qelNil;
        if (ints.size() != 3)
            return fail("Cannot read color spec (expecting list of 3 INTs): " + display(printed));
        return qelMakeInt(int32_t(uint32_t(ints[0]) + uint32_t(ints[1]) * 256u + uint32_t(ints[2]) * 65536u));
    case Keyword::Region:
        return region(p, open);
    case Keyword::Form:
    case Keyword::Control: {
        qelValue table = tableBody(p);
        if (m_failed)
            return qelNil;
        return keyword == Keyword::Form ? makers.makeFormFromData(table) : makers.makeControl(table);
    }
    case Keyword::Font:
        return font(p);
    case Keyword::Reference:
        singleString(p, open, "Reference", name);
        return m_failed ? qelNil : makers.makeReference(name);
    case Keyword::Image:
        singleString(p, open, "Image", name);
        return m_failed ? qelNil : makers.loadImageResource(name);
    case Keyword::TextFile:
    case Keyword::File:
        singleString(p, open, "File", name);
        return m_failed ? qelNil : makers.loadFileBuffer(name, keyword == Keyword::TextFile);
    case Keyword::Sound:
    case Keyword::SoundFile:
        singleString(p, open, "Sound", name);
        return m_failed ? qelNil : makers.loadSoundResource(name, keyword == Keyword::Sound);
    case Keyword::Date: {
        qelValue table = tableBody(p);
        if (m_failed)
            return qelNil;
        qelValue year;
        if (!qelEncodingAccess::tableFind(table, qelStringValue("Year"), year))
            return fail("Date must specify a year: " + display(table));
        return makers.dateFromTable(table);
    }
    case Keyword::None:
        break;
    }
    return qelNil;
}

qelValue buildConstants()
{
    struct Entry {
        const char* name;
        qelValue value;
    };
    const Entry entries[] = {
        { "nil", qelNil },
        { "true", qelTrue },
        { "false", qelFalse },
        { "bold", qelMakeInt(2) },
        { "italic", qelMakeInt(1) },
        { "underline", qelMakeInt(4) },
        { "doubleunderline", qelMakeInt(8) },
        { "black", qelMakeInt(1) },
        { "white", qelMakeInt(0xFFFFFF) },
        { "gray", qelMakeInt(0x808080) },
        { "blue", qelMakeInt(0xFF0000) },
        { "green", qelMakeInt(0x00FF00) },
        { "red", qelMakeInt(0x0000FF) },
        { "yellow", qelMakeInt(0x00FFFF) },
        { "cyan", qelMakeInt(0xFFFF00) },
        { "magenta", qelMakeInt(0xFF00FF) },
    };
    qelValue table = qelEncodingAccess::makeTable(4);
    for (const Entry& entry : entries)
        qelEncodingAccess::put(table, qelStringValue(entry.name), entry.value);
    return table;
}

} // namespace

const qelValue& qelTextConstants()
{
    static const qelValue constants = buildConstants();
    return constants;
}

qelValue qelReadValue(const char*& position, const qelValue& constants)
{
    Reader reader(constants);
    qelValue result = reader.value(position);
    return reader.failed() ? qelNil : result;
}

qelValue qelDecodeString(const qelValue& stringOrBuf, const qelValue& constants)
{
    if (qelStringObject* s = qelStringOf(stringOrBuf)) {
        const char* p = s->chars();
        return qelReadValue(p, constants);
    }
    if (stringOrBuf.type() == QEL_BUFFER_TYPE) {
        // The reader stops only at a NUL: the bytes are read from a terminated copy.
        const uint8_t* data = qelEncodingAccess::bufferData(stringOrBuf);
        int32_t length = qelEncodingAccess::bufferLength(stringOrBuf);
        std::string text(data ? reinterpret_cast<const char*>(data) : "", data ? size_t(length) : 0);
        const char* p = text.c_str();
        return qelReadValue(p, constants);
    }
    qelArgTypeError("qelDecodeString(stringOrBuf)", 1);
    return qelNil;
}

qelValue qelDecodeText(const qelValue& stringOrBuf)
{
    return qelDecodeString(stringOrBuf, qelTextConstants());
}
