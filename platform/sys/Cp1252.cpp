#include "platform/sys/Cp1252.h"

namespace platform::cp1252 {

namespace {

    // Unicode of the bytes 0x80..0x9F; the rest of cp1252 is Latin-1.
    constexpr char16_t high[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80..87
        0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88..8F
        0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90..97
        0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98..9F
    };

} // namespace

char32_t toUnicode(uint8_t byte)
{
    if (byte >= 0x80 && byte < 0xA0)
        return high[byte - 0x80];
    return byte;
}

int fromUnicode(char32_t ch)
{
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF))
        return int(ch);
    for (int i = 0; i < 32; ++i) {
        if (high[i] == ch)
            return 0x80 + i;
    }
    return -1;
}

void appendUtf8(std::string& out, char32_t ch)
{
    if (ch < 0x80) {
        out += char(ch);
    } else if (ch < 0x800) {
        out += char(0xC0 | (ch >> 6));
        out += char(0x80 | (ch & 0x3F));
    } else if (ch < 0x10000) {
        out += char(0xE0 | (ch >> 12));
        out += char(0x80 | ((ch >> 6) & 0x3F));
        out += char(0x80 | (ch & 0x3F));
    } else {
        out += char(0xF0 | (ch >> 18));
        out += char(0x80 | ((ch >> 12) & 0x3F));
        out += char(0x80 | ((ch >> 6) & 0x3F));
        out += char(0x80 | (ch & 0x3F));
    }
}

std::string toUtf8(std::string_view cp1252)
{
    std::string out;
    out.reserve(cp1252.size());
    for (char c : cp1252)
        appendUtf8(out, toUnicode(uint8_t(c)));
    return out;
}

int32_t decodeUtf8(std::string_view s, size_t& pos)
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

std::string fromUtf8(std::string_view utf8, char replacement)
{
    std::string out;
    out.reserve(utf8.size());
    size_t pos = 0;
    while (pos < utf8.size()) {
        int32_t ch = decodeUtf8(utf8, pos);
        int byte = ch < 0 ? -1 : fromUnicode(char32_t(ch));
        out += byte < 0 ? replacement : char(byte);
    }
    return out;
}

} // namespace platform::cp1252
