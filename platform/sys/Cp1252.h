#pragma once

// Windows-1252 <-> Unicode. Text inside the system is cp1252 bytes, one byte per character;
// the edges that speak UTF-8 (window title, message boxes, clipboard, typed text, file names)
// convert here. The five bytes that cp1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D)
// map to the C1 control characters of the same value, so every byte round-trips.

#include <cstdint>
#include <string>
#include <string_view>

namespace platform::cp1252 {

// Unicode of the bytes 0x80..0x9F; the rest of cp1252 is Latin-1.
inline constexpr char16_t highCharacters[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98..9F
};

// The Unicode character of a cp1252 byte.
constexpr char32_t toUnicode(uint8_t byte)
{
    if (byte >= 0x80 && byte < 0xA0)
        return highCharacters[byte - 0x80];
    return byte;
}

// The cp1252 byte of a Unicode character, or -1 when cp1252 has none.
constexpr int fromUnicode(char32_t ch)
{
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF))
        return int(ch);
    for (int i = 0; i < 32; ++i) {
        if (highCharacters[i] == ch)
            return 0x80 + i;
    }
    return -1;
}

std::string toUtf8(std::string_view cp1252);

// Converts UTF-8 to cp1252. A character that cp1252 cannot hold, and every malformed UTF-8
// sequence, becomes `replacement`.
std::string fromUtf8(std::string_view utf8, char replacement = '?');

// Decodes one UTF-8 character at `pos` and advances `pos`; returns -1 for a malformed sequence
// (overlong, surrogate, above U+10FFFF, truncated), advancing past its first byte.
constexpr int32_t decodeUtf8(std::string_view s, size_t& pos)
{
    uint8_t lead = uint8_t(s[pos++]);
    if (lead < 0x80)
        return lead;
    int extra;
    char32_t ch;
    char32_t minimum;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1, ch = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2, ch = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3, ch = lead & 0x07, minimum = 0x10000;
    } else {
        return -1; // a continuation byte or 0xF8..0xFF cannot start a character
    }
    // Every continuation byte must be there and be 10xxxxxx; a bad one is left for the next
    // call so that a truncated sequence costs only its own bytes.
    size_t at = pos;
    for (int i = 0; i < extra; ++i, ++at) {
        if (at >= s.size() || (uint8_t(s[at]) & 0xC0) != 0x80)
            return -1;
        ch = (ch << 6) | (uint8_t(s[at]) & 0x3F);
    }
    if (ch < minimum || ch > 0x10FFFF || (ch >= 0xD800 && ch <= 0xDFFF))
        return -1;
    pos = at;
    return int32_t(ch);
}

void appendUtf8(std::string& out, char32_t ch);

} // namespace platform::cp1252
