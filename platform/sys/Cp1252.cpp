#include "platform/sys/Cp1252.h"

namespace platform::cp1252 {

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
