// The generic operations that convert, test, copy and join values.

#include "framework/runtime/Buffer.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/BuiltinsDispatch.h"
#include "framework/runtime/Error.h"
#include "framework/runtime/List.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/runtime/ValuePrinter.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace {

// A float truncated toward zero, saturated to the 32-bit range (NaN gives 0).
int32_t truncatedFloat(float f)
{
    if (std::isnan(f))
        return 0;
    if (f >= 2147483648.0f)
        return std::numeric_limits<int32_t>::max();
    if (f < -2147483648.0f)
        return std::numeric_limits<int32_t>::min();
    return int32_t(f);
}

// The text of a value for qelAdd: a string's bytes, or any other value's display text.
void appendDisplayText(std::string& out, const qelValue& value)
{
    qelValue text = value.isString() ? value : qelValueToString(value);
    if (qelStringObject* string = qelStringOf(text))
        out.append(string->chars(), size_t(string->length()));
}

// The integer of a boolean, number or string (a float truncated, a string read as a number);
// any other type reports the argument type error under `signature` and gives 0.
int32_t integerOf(const qelValue& value, const char* signature)
{
    switch (value.type()) {
    case QEL_BOOLEAN_TYPE:
    case QEL_INT_TYPE:
        return value.payload();
    case QEL_FLOAT_TYPE:
        return truncatedFloat(value.floatPayload());
    case QEL_STRING_TYPE: {
        qelStringObject* string = qelStringOf(value);
        return string ? string->intValue() : 0;
    }
    default:
        qelArgTypeError(signature, 1);
        return 0;
    }
}

} // namespace

int32_t qelIntValue(const qelValue& value)
{
    return integerOf(value, "qelIntValue(numberOrString)");
}

double qelFloatValue(const qelValue& value)
{
    switch (value.type()) {
    case QEL_BOOLEAN_TYPE:
    case QEL_INT_TYPE:
        return double(value.payload());
    case QEL_FLOAT_TYPE:
        return double(value.floatPayload());
    case QEL_STRING_TYPE: {
        qelStringObject* string = qelStringOf(value);
        return string ? string->floatValue() : 0.0;
    }
    default:
        qelArgTypeError("qelFloatValue(numberOrString)", 1);
        return 0.0;
    }
}

qelValue qelBool(const qelValue& value)
{
    return qelMakeInt(integerOf(value, "qelBool(stringOrBoolOrInt)"));
}

bool qelIsTrue(const qelValue& value)
{
    switch (value.type()) {
    case QEL_NIL_TYPE:
    case QEL_FLOAT_TYPE:
        return false;
    case QEL_BOOLEAN_TYPE:
    case QEL_INT_TYPE:
        return value.payload() != 0;
    case QEL_STRING_TYPE: {
        qelStringObject* string = qelStringOf(value);
        return string && string->truth();
    }
    default:
        return true;
    }
}

int32_t qelGetChars(const qelValue& source, char* destination, int32_t size)
{
    switch (source.type()) {
    case QEL_STRING_TYPE: {
        qelStringObject* string = qelStringOf(source);
        if (string)
            return string->copyInto(destination, size);
        if (size < 1)
            return 0;
        destination[0] = 0;
        return 1;
    }
    case QEL_BUFFER_TYPE: {
        qelBufferObject* buffer = qelBufferOf(source);
        if (size < 1)
            return 1;
        int32_t n = buffer ? std::min(buffer->length, size - 1) : 0;
        if (n > 0)
            std::memcpy(destination, buffer->bytes(), size_t(n));
        destination[n] = 0;
        return 1;
    }
    default:
        qelArgTypeError("qelGetChars(stringOrBuf,QELCHAR QELPTR,QELINT)", 1);
        return 0;
    }
}

qelValue qelTokenize(const qelValue& source, const qelValue& delimiters)
{
    const char* text = "";
    int32_t length = 0;
    if (qelStringObject* string = qelStringOf(source)) {
        text = string->chars();
        length = string->length();
    } else if (qelBufferObject* buffer = qelBufferOf(source)) {
        text = reinterpret_cast<const char*>(buffer->bytes());
        length = buffer->length;
    } else if (!source.isString() && source.type() != QEL_BUFFER_TYPE) {
        qelArgTypeError("qelTokenize(stringOrBuffer,string)", 1);
    }

    char set[256] = {};
    if (!qelGetChars(delimiters, set, sizeof set) && delimiters.isString())
        qelError((std::string("qelTokenize: Delimiter set too large: ") + qelCString(delimiters)).c_str());
    bool isDelimiter[256] = {};
    for (const char* c = set; *c; ++c)
        isDelimiter[uint8_t(*c)] = true;

    qelValue result = qelMakeList(length / 4 + 10, 100, QEL_GENERAL_LIST);
    qelListObject* tokens = qelListObjectOf(result);
    if (!tokens)
        return result;
    int32_t start = 0;
    int32_t i = 0;
    for (; i < length && text[i]; ++i) {
        if (isDelimiter[uint8_t(text[i])]) {
            tokens->append(qelStringValueN(text + start, i - start));
            start = i + 1;
        }
    }
    tokens->append(qelStringValueN(text + start, i - start));
    return result;
}

qelValue qelCopy(const qelValue& value)
{
    switch (value.type()) {
    case QEL_NIL_TYPE:
    case QEL_FONT_TYPE:
    case QEL_IMAGE_TYPE:
    case QEL_SOUND_TYPE:
    case QEL_MOVIE_TYPE:
    case QEL_REFERENCE_TYPE:
        return value;
    case QEL_BOOLEAN_TYPE:
        return qelMakeBoolean(qelIsTrue(value) ? 1 : 0);
    case QEL_INT_TYPE:
        return qelMakeInt(qelIntValue(value));
    case QEL_FLOAT_TYPE:
        return qelMakeFloat(float(qelFloatValue(value)));
    case QEL_STRING_TYPE: {
        qelStringObject* string = qelStringOf(value);
        return string ? qelStringValueN(string->chars(), string->length()) : qelEmptyString();
    }
    case QEL_BUFFER_TYPE: {
        qelBufferObject* buffer = qelBufferOf(value);
        if (!buffer)
            return value;
        return qelBufferFromMemory(buffer->bytes(), buffer->length, 1);
    }
    case QEL_LIST_TYPE: {
        qelListObject* list = qelListObjectOf(value);
        return list ? list->copy() : value;
    }
    case QEL_TABLE_TYPE: {
        qelTableObject* table = qelTableOf(value);
        return table ? table->copy() : value;
    }
    case QEL_REGION_TYPE: {
        auto* region = qelProtocolOf<qelRegionProtocol>(value);
        return region ? region->copy() : qelNil;
    }
    default:
        qelArgTypeError("qelCopy( LstTblStr )", 1);
        return qelNil;
    }
}

qelValue qelAdd(const qelValue& a, const qelValue& b)
{
    if (!a.isString() && !b.isString()) {
        qelArgTypeError("qelAdd(listOrString,listOrString)", 1);
        return qelNil;
    }
    std::string joined;
    appendDisplayText(joined, a);
    appendDisplayText(joined, b);
    return qelStringValueN(joined.data(), int32_t(joined.size()));
}

qelValue operator+(const qelValue& a, const qelValue& b)
{
    return qelAdd(a, b);
}

qelValue operator+(const qelValue& a, int b)
{
    return qelAdd(a, qelMakeInt(b));
}

qelValue operator+(const char* a, const qelValue& b)
{
    return qelAdd(qelStringValue(a), b);
}
