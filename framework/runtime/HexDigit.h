#pragma once

// Hexadecimal digits, as the text notation and rich text write bytes.

// The value of a hexadecimal digit (0-9, a-f, A-F), or -1 for any other character.
constexpr int qelHexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}
