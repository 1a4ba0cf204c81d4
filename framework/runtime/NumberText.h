#pragma once

#include <cstdint>

// Locale-free reading of the leading number of a text, as the standard library's decimal
// conversions read it: leading white space, an optional sign, then digits. Nothing readable gives
// 0 and leaves *end at the text's start.
//
// Integers saturate at the 32-bit limits. Floats take digits with an optional point and an
// optional exponent; hexadecimal forms, "inf" and "nan" are not numbers; a value beyond the
// double range gives an infinity, one below it 0.
int32_t qelTextToInt(const char* text, const char** end = nullptr);
double qelTextToFloat(const char* text, const char** end = nullptr);
