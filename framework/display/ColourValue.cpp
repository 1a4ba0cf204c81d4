#include "framework/display/ColourValue.h"

#include "framework/runtime/NumberText.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/StringObject.h"

#include <cmath>
#include <limits>

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// A string that is one whole decimal number, with blanks around it allowed.
bool wholeNumber(const qelStringObject& text, int32_t& number)
{
    const char* start = text.chars();
    const char* end = start;
    number = qelTextToInt(start, &end);
    // Nothing readable, or digits beyond the 32-bit range (the reader stops at its limits).
    if (end == start || number == std::numeric_limits<int32_t>::max() || number == std::numeric_limits<int32_t>::min())
        return false;
    // Only text after the number; an embedded NUL byte ends the number like any other stray byte.
    const char* last = start + text.length();
    while (end < last && isBlank(*end))
        ++end;
    return end == last;
}

} // namespace

int32_t qelColourValue(const qelValue& given, int32_t fallback)
{
    qelValue value = qelResolve(given);
    switch (value.type()) {
    case QEL_INT_TYPE:
        return value.payload();
    case QEL_FLOAT_TYPE: {
        // Colours are 32-bit numbers; a float beyond that range (or not a number) names none.
        float f = value.floatPayload();
        if (!std::isfinite(f) || f < -2147483648.0f || f >= 2147483648.0f)
            return fallback;
        return int32_t(f);
    }
    case QEL_STRING_TYPE: {
        qelStringObject* text = qelStringOf(value);
        int32_t number = 0;
        return text && wholeNumber(*text, number) ? number : fallback;
    }
    default:
        return fallback;
    }
}
