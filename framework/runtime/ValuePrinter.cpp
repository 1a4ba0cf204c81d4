#include "framework/runtime/ValuePrinter.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Value.h"

#include <charconv>
#include <cstring>
#include <string>

namespace {

qelValue text(const char* begin, const char* end)
{
    return qelStringValueN(begin, int32_t(end - begin));
}

} // namespace

qelValue qelPrintValue(const qelValue& value, int32_t quoted)
{
    char buffer[64];
    switch (value.type()) {
    case QEL_NIL_TYPE:
        return qelStringValue("QEL_NIL");
    case QEL_UNIQUE_TYPE: {
        std::string out = "#<unique " + std::to_string(value.payload()) + ">";
        return text(out.data(), out.data() + out.size());
    }
    case QEL_BOOLEAN_TYPE:
        return qelStringValue(value.payload() ? "true" : "false");
    case QEL_INT_TYPE: {
        auto result = std::to_chars(buffer, buffer + sizeof buffer, value.payload());
        return text(buffer, result.ptr);
    }
    case QEL_FLOAT_TYPE: {
        // to_chars with the general format and precision 6 is printf's %g in the C locale.
        auto result = std::to_chars(
            buffer, buffer + sizeof buffer, double(value.floatPayload()), std::chars_format::general, 6);
        return text(buffer, result.ptr);
    }
    case QEL_STRING_TYPE:
        if (quoted)
            return qelQuoteString(value);
        if (!value.object())
            return qelEmptyString();
        return value;
    default:
        if (value.object())
            return value.object()->printString(value.type(), quoted);
        // A value of an object type without its object prints as the root object would.
        std::string out = "<";
        out += qelTypeNameText(value.type());
        out += quoted ? ">" : " object>";
        return text(out.data(), out.data() + out.size());
    }
}

qelValue qelValueToString(const qelValue& value)
{
    return qelPrintValue(value, 0);
}
