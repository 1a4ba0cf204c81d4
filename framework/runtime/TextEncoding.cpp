#include "framework/runtime/TextEncoding.h"

namespace {

void appendUtf8(std::string& out, char32_t character)
{
    if (character < 0x80) {
        out += char(character);
    } else if (character < 0x800) {
        out += char(0xC0 | (character >> 6));
        out += char(0x80 | (character & 0x3F));
    } else {
        out += char(0xE0 | (character >> 12));
        out += char(0x80 | ((character >> 6) & 0x3F));
        out += char(0x80 | (character & 0x3F));
    }
}

} // namespace

std::string qelToUtf8(std::string_view cp1252)
{
    std::string out;
    out.reserve(cp1252.size());
    for (char byte : cp1252)
        appendUtf8(out, qelCp1252ToUnicode(static_cast<unsigned char>(byte)));
    return out;
}

std::string qelFromUtf8(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    size_t i = 0;
    while (i < utf8.size()) {
        auto byte = static_cast<unsigned char>(utf8[i]);
        char32_t character;
        size_t extra;
        char32_t smallest;
        if (byte < 0x80) {
            out += char(byte);
            ++i;
            continue;
        }
        if ((byte & 0xE0) == 0xC0) {
            character = byte & 0x1F;
            extra = 1;
            smallest = 0x80;
        } else if ((byte & 0xF0) == 0xE0) {
            character = byte & 0x0F;
            extra = 2;
            smallest = 0x800;
        } else if ((byte & 0xF8) == 0xF0) {
            character = byte & 0x07;
            extra = 3;
            smallest = 0x10000;
        } else {
            // A stray continuation byte or an invalid lead byte: one replacement, move on.
            out += '?';
            ++i;
            continue;
        }
        size_t k = 1;
        for (; k <= extra && i + k < utf8.size(); ++k) {
            auto next = static_cast<unsigned char>(utf8[i + k]);
            if ((next & 0xC0) != 0x80)
                break;
            character = (character << 6) | (next & 0x3F);
        }
        if (k <= extra) {
            // Truncated sequence: replace what was read and resynchronise at the next byte.
            out += '?';
            i += k;
            continue;
        }
        i += extra + 1;
        int code = character < smallest ? -1 : qelUnicodeToCp1252(character);
        out += code < 0 ? '?' : char(code);
    }
    return out;
}
