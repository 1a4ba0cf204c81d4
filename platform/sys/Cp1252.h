#pragma once

// Windows-1252 <-> Unicode. Text inside the system is cp1252 bytes, one byte per character;
// the edges that speak UTF-8 (window title, message boxes, clipboard, typed text, file names)
// convert here. The five bytes that cp1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D)
// map to the C1 control characters of the same value, so every byte round-trips.

#include <cstdint>
#include <string>
#include <string_view>

namespace platform::cp1252 {

// The Unicode character of a cp1252 byte.
char32_t toUnicode(uint8_t byte);

// The cp1252 byte of a Unicode character, or -1 when cp1252 has none.
int fromUnicode(char32_t ch);

std::string toUtf8(std::string_view cp1252);

// Converts UTF-8 to cp1252. A character that cp1252 cannot hold, and every malformed UTF-8
// sequence, becomes `replacement`.
std::string fromUtf8(std::string_view utf8, char replacement = '?');

// Decodes one UTF-8 character at `pos` and advances `pos`; returns -1 for a malformed sequence
// (overlong, surrogate, above U+10FFFF, truncated), advancing past its first byte.
int32_t decodeUtf8(std::string_view utf8, size_t& pos);

void appendUtf8(std::string& out, char32_t ch);

} // namespace platform::cp1252
