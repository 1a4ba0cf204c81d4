#include "framework/runtime/NumberText.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

bool isSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Both readers start the same way: white space, then an optional sign. Returns where the digits
// should begin.
const char* pastSign(const char* p, bool& negative)
{
    while (isSpace(*p))
        ++p;
    negative = false;
    if (*p == '+' || *p == '-')
        negative = *p++ == '-';
    return p;
}

} // namespace

int32_t qelTextToInt(const char* text, const char** end)
{
    if (end)
        *end = text;
    if (!text)
        return 0;
    bool negative;
    const char* p = pastSign(text, negative);
    if (!isDigit(*p))
        return 0;
    // Accumulate as a negative number so that INT32_MIN is reachable; stop growing at the limit.
    int64_t value = 0;
    constexpr int64_t limit = int64_t(std::numeric_limits<int32_t>::max()) + 1;
    for (; isDigit(*p); ++p) {
        if (value < limit)
            value = value * 10 + (*p - '0');
    }
    if (end)
        *end = p;
    if (negative)
        return value >= limit ? std::numeric_limits<int32_t>::min() : int32_t(-value);
    return value >= limit ? std::numeric_limits<int32_t>::max() : int32_t(value);
}

double qelTextToFloat(const char* text, const char** end)
{
    if (end)
        *end = text;
    if (!text)
        return 0.0;
    bool negative;
    const char* p = pastSign(text, negative);
    // Only a decimal mantissa is a number: this keeps out "inf", "nan" and hexadecimal forms.
    if (!isDigit(*p) && !(*p == '.' && isDigit(p[1])))
        return 0.0;
    const char* last = p + std::strlen(p);
    double value = 0.0;
    auto [stop, error] = std::from_chars(p, last, value, std::chars_format::general);
    if (error == std::errc::result_out_of_range) {
        // Decide between overflow and underflow from the decimal exponent of the text.
        int64_t exponent = 0;
        const char* q = p;
        while (*q == '0')
            ++q;
        bool seenNonZero = false;
        for (; isDigit(*q); ++q) {
            ++exponent;
            seenNonZero = true;
        }
        if (*q == '.') {
            ++q;
            if (!seenNonZero) {
                while (*q == '0') {
                    --exponent;
                    ++q;
                }
            }
            while (isDigit(*q))
                ++q;
        }
        if (*q == 'e' || *q == 'E')
            exponent += qelTextToInt(q + 1);
        value = exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    }
    if (end)
        *end = stop;
    return negative ? -value : value;
}
