#include "framework/runtime/StringObject.h"
#include "framework/runtime/CaseMap.h"
#include "framework/runtime/Collation.h"
#include "framework/runtime/Error.h"
#include "framework/runtime/NumberText.h"

#include <cstring>
#include <string>

namespace {

// Serves qelCString for values that hold no string.
const char emptyText[1] = { 0 };

qelValue adopt(qelStringObject* object)
{
    return qelMakeObjectValue(QEL_STRING_TYPE, object);
}

// A string of `count` zero bytes to be filled in by the caller (through writableChars).
qelStringObject* blank(int32_t count)
{
    return qelStringObject::create(nullptr, count);
}

} // namespace

qelStringObject* qelStringObject::createLong(const char* bytes, int32_t count)
{
    auto* object = new qelStringObject;
    if (!object)
        return nullptr;
    auto* chars = static_cast<char*>(qelAlloc(size_t(count) + 1));
    if (!chars) {
        delete object;
        return nullptr;
    }
    if (bytes)
        std::memcpy(chars, bytes, size_t(count));
    chars[count] = 0;
    object->m_length = count;
    object->m_chars = chars;
    return object;
}

qelStringObject::~qelStringObject()
{
    if (m_length >= inlineCapacity)
        qelFree(m_chars, size_t(m_length) + 1);
}

int32_t qelStringObject::hashBytes(const char* bytes, int32_t count)
{
    uint32_t h = 0;
    for (int32_t i = 0; i < count; ++i)
        h = hashStep(h, bytes[i]);
    return int32_t(h);
}

int32_t qelStringObject::textLength() const
{
    return int32_t(std::strlen(chars()));
}

bool qelStringObject::equals(const char* text) const
{
    return std::strcmp(chars(), text ? text : "") == 0;
}

bool qelStringObject::equals(const qelStringObject& other) const
{
    return std::strcmp(chars(), other.chars()) == 0;
}

int32_t qelStringObject::compare(const qelStringObject& other) const
{
    return qelCompareText(chars(), other.chars());
}

int32_t qelStringObject::collate(const qelStringObject& other) const
{
    return qelCollateText(chars(), other.chars());
}

int32_t qelStringObject::intValue() const
{
    return qelTextToInt(chars());
}

double qelStringObject::floatValue() const
{
    return qelTextToFloat(chars());
}

int32_t qelStringObject::truth() const
{
    char c = chars()[0];
    return c == 'T' || c == 't' || c == 'Y' || c == 'y';
}

qelValue qelStringObject::concat(const qelStringObject& other) const
{
    // Both lengths are below 2^31, so their sum fits in 64 bits; a sum beyond the 32-bit length
    // field cannot be held by one string.
    int64_t total = int64_t(m_length) + other.m_length;
    if (total > INT32_MAX - 1) {
        qelError("String too long");
        return qelEmptyString();
    }
    qelStringObject* result = blank(int32_t(total));
    if (!result)
        return qelValue::immediate(QEL_STRING_TYPE, 0);
    std::memcpy(result->writableChars(), chars(), size_t(m_length));
    std::memcpy(result->writableChars() + m_length, other.chars(), size_t(other.m_length));
    return adopt(result);
}

qelValue qelStringObject::left(int32_t n) const
{
    if (n < 0)
        n = 0;
    if (n > m_length)
        n = m_length;
    return qelStringValueN(chars(), n);
}

qelValue qelStringObject::right(int32_t n) const
{
    if (n < 0 || n > m_length)
        return qelEmptyString();
    return qelStringValueN(chars() + (m_length - n), n);
}

qelValue qelStringObject::mid(int32_t start, int32_t count) const
{
    if (start < 0 || start >= m_length || count <= 0)
        return qelEmptyString();
    if (count > m_length - start)
        count = m_length - start;
    return qelStringValueN(chars() + start, count);
}

qelValue qelStringObject::mapped(const uint8_t* map) const
{
    qelStringObject* result = blank(m_length);
    if (!result)
        return qelValue::immediate(QEL_STRING_TYPE, 0);
    char* out = result->writableChars();
    const char* text = chars();
    for (int32_t i = 0; i < m_length && text[i]; ++i)
        out[i] = char(map[static_cast<unsigned char>(text[i])]);
    return adopt(result);
}

qelValue qelStringObject::upperCase() const
{
    return mapped(qelUpperCaseMap.data());
}

qelValue qelStringObject::lowerCase() const
{
    return mapped(qelLowerCaseMap.data());
}

qelValue qelStringObject::folded() const
{
    return mapped(qelFoldMap.data());
}

int32_t qelStringObject::copyInto(char* destination, int32_t size) const
{
    if (!destination || m_length >= size)
        return 0;
    std::memcpy(destination, chars(), size_t(m_length) + 1);
    return 1;
}

int32_t qelStringObject::findChar(int32_t character, int32_t start) const
{
    if (start < 0)
        start = 0;
    auto wanted = static_cast<unsigned char>(character);
    int32_t end = textLength();
    const char* text = chars();
    for (int32_t i = start; i < end; ++i) {
        if (static_cast<unsigned char>(text[i]) == wanted)
            return i;
    }
    return -1;
}

int32_t qelStringObject::findText(const char* text, int32_t start) const
{
    if (!text)
        text = "";
    if (start < 0)
        start = 0;
    int32_t end = textLength();
    auto wantedLength = int32_t(std::strlen(text));
    if (start > end)
        return -1;
    for (int32_t i = start; i + wantedLength <= end; ++i) {
        if (std::memcmp(chars() + i, text, size_t(wantedLength)) == 0)
            return i;
    }
    return -1;
}

int32_t qelStringObject::findValue(const qelValue& value, int32_t start) const
{
    if (value.type() == QEL_STRING_TYPE)
        return findText(qelCString(value), start);
    if (value.type() == QEL_INT_TYPE)
        return findChar(value.payload(), start);
    return -1;
}

int32_t qelStringObject::findLast(const char* text, int32_t start) const
{
    if (!text)
        text = "";
    int32_t end = textLength();
    auto wantedLength = int32_t(std::strlen(text));
    if (start == 0 || start > end - 1)
        start = end - 1;
    // A match must lie wholly inside the text.
    if (start > end - wantedLength)
        start = end - wantedLength;
    for (int32_t i = start; i >= 0; --i) {
        if (std::memcmp(chars() + i, text, size_t(wantedLength)) == 0)
            return i;
    }
    return -1;
}

qelValue qelStringValue(const char* text)
{
    if (!text)
        text = "";
    return qelStringValueN(text, int32_t(std::strlen(text)));
}

qelValue qelStringValueN(const char* bytes, int32_t count)
{
    if (!bytes)
        count = 0;
    qelStringObject* object = qelStringObject::create(bytes, count);
    if (!object)
        return qelValue::immediate(QEL_STRING_TYPE, 0);
    return adopt(object);
}

qelValue qelRepeatChar(int32_t count, int32_t character)
{
    if (count < 0)
        count = 0;
    std::string text(static_cast<size_t>(count), static_cast<char>(character));
    return qelStringValueN(text.data(), count);
}

qelValue qelEmptyString()
{
    return qelStringValueN("", 0);
}

qelValue qelQuoteString(const qelValue& string)
{
    static const char hexDigits[] = "0123456789abcdef";
    qelStringObject* object = qelStringOf(string);
    const char* chars = object ? object->chars() : "";
    int32_t length = object ? object->length() : 0;
    std::string out = "\"";
    for (int32_t i = 0; i < length; ++i) {
        auto c = static_cast<unsigned char>(chars[i]);
        switch (c) {
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        default:
            if (c < 32 || c >= 127) {
                out += "\\x";
                out += hexDigits[c >> 4];
                out += hexDigits[c & 15];
            } else {
                out += char(c);
            }
        }
    }
    out += '"';
    return qelStringValueN(out.data(), int32_t(out.size()));
}

qelStringObject* qelStringOf(const qelValue& value)
{
    if (value.type() != QEL_STRING_TYPE)
        return nullptr;
    return value.objectAs<qelStringObject>();
}

const char* qelCString(const qelValue& value)
{
    qelStringObject* object = qelStringOf(value);
    return object ? object->chars() : emptyText;
}

qelValue qelUpperCase(const qelValue& value)
{
    qelStringObject* object = qelStringOf(value);
    return object ? object->upperCase() : qelEmptyString();
}

qelValue qelLowerCase(const qelValue& value)
{
    qelStringObject* object = qelStringOf(value);
    return object ? object->lowerCase() : qelEmptyString();
}

qelValue qelFoldText(const qelValue& value)
{
    qelStringObject* object = qelStringOf(value);
    return object ? object->folded() : qelEmptyString();
}

int32_t qelFindChar(const qelValue& value, int32_t character, int32_t start)
{
    qelStringObject* object = qelStringOf(value);
    return object ? object->findChar(character, start) : -1;
}

int32_t qelFindString(const qelValue& value, const char* text, int32_t start)
{
    qelStringObject* object = qelStringOf(value);
    return object ? object->findText(text, start) : -1;
}

int32_t qelFindLast(const qelValue& value, const char* text, int32_t start)
{
    qelStringObject* object = qelStringOf(value);
    return object ? object->findLast(text, start) : -1;
}

char qelCharAt(const qelValue& value, int32_t index)
{
    qelStringObject* object = qelStringOf(value);
    int32_t length = object ? object->length() : 0;
    if (index < 0 || index >= length) {
        std::string message = "String index out of range: " + std::to_string(index);
        qelError(qelStringValueN(message.data(), int32_t(message.size())));
        return 0;
    }
    return object->chars()[index];
}

static_assert(sizeof(qelStringObject) <= 32, "a string object should fit the allocator's 32-byte class");
