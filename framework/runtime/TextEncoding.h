#pragma once

// Text inside the framework is Windows-1252, one byte per character. UTF-8 appears only at the
// edges (window title, message boxes, clipboard, typed text, file names, glyph lookup), converted
// here. C++ sources are UTF-8, so a literal with accents is written "Não"_cp, which the compiler
// turns into its cp1252 bytes; a character with no cp1252 form is a compile error.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

// The characters of codes 0x80 to 0x9F. The five codes that the code page leaves undefined map to
// the control characters of the same number, so every byte survives a round trip.
inline constexpr char32_t qelCp1252HighCharacters[32] = {
    0x20AC,
    0x0081,
    0x201A,
    0x0192,
    0x201E,
    0x2026,
    0x2020,
    0x2021,
    0x02C6,
    0x2030,
    0x0160,
    0x2039,
    0x0152,
    0x008D,
    0x017D,
    0x008F,
    0x0090,
    0x2018,
    0x2019,
    0x201C,
    0x201D,
    0x2022,
    0x2013,
    0x2014,
    0x02DC,
    0x2122,
    0x0161,
    0x203A,
    0x0153,
    0x009D,
    0x017E,
    0x0178,
};

constexpr char32_t qelCp1252ToUnicode(unsigned char code)
{
    if (code >= 0x80 && code < 0xA0)
        return qelCp1252HighCharacters[code - 0x80];
    return code;
}

// The cp1252 code of a character, or -1 when it has none.
constexpr int qelUnicodeToCp1252(char32_t character)
{
    if (character < 0x80 || (character >= 0xA0 && character <= 0xFF))
        return int(character);
    for (int i = 0; i < 32; ++i) {
        if (qelCp1252HighCharacters[i] == character)
            return 0x80 + i;
    }
    return -1;
}

// cp1252 bytes to UTF-8.
std::string qelToUtf8(std::string_view cp1252);
// UTF-8 to cp1252 bytes; a character without a cp1252 form, or a malformed sequence, becomes '?'.
std::string qelFromUtf8(std::string_view utf8);

namespace qelLiteralDetail {

template<size_t N> struct Utf8Text {
    char bytes[N] {};
    consteval Utf8Text(const char (&text)[N])
    {
        for (size_t i = 0; i < N; ++i)
            bytes[i] = text[i];
    }
};

// Called only when a literal cannot be converted: being no constant expression, it stops the
// compilation with its name in the message.
inline void literal_has_a_character_without_a_cp1252_form_or_is_not_utf8()
{
}

template<size_t N> consteval std::array<char, N> toCp1252(const Utf8Text<N>& text)
{
    std::array<char, N> out {};
    size_t o = 0;
    size_t i = 0;
    size_t end = N - 1; // the literal's terminating NUL
    while (i < end) {
        auto byte = static_cast<unsigned char>(text.bytes[i]);
        char32_t character;
        size_t extra;
        if (byte < 0x80) {
            character = byte;
            extra = 0;
        } else if ((byte & 0xE0) == 0xC0) {
            character = byte & 0x1F;
            extra = 1;
        } else if ((byte & 0xF0) == 0xE0) {
            character = byte & 0x0F;
            extra = 2;
        } else if ((byte & 0xF8) == 0xF0) {
            character = byte & 0x07;
            extra = 3;
        } else {
            literal_has_a_character_without_a_cp1252_form_or_is_not_utf8();
            return out;
        }
        if (i + extra >= end) { // a sequence cut short by the end of the literal
            literal_has_a_character_without_a_cp1252_form_or_is_not_utf8();
            return out;
        }
        for (size_t k = 1; k <= extra; ++k) {
            auto next = static_cast<unsigned char>(text.bytes[i + k]);
            if ((next & 0xC0) != 0x80)
                literal_has_a_character_without_a_cp1252_form_or_is_not_utf8();
            character = (character << 6) | (next & 0x3F);
        }
        int code = qelUnicodeToCp1252(character);
        if (code < 0)
            literal_has_a_character_without_a_cp1252_form_or_is_not_utf8();
        out[o++] = static_cast<char>(code);
        i += extra + 1;
    }
    return out;
}

} // namespace qelLiteralDetail

template<qelLiteralDetail::Utf8Text S> inline constexpr std::array qelCp1252Literal = qelLiteralDetail::toCp1252(S);

// "Não"_cp: the cp1252 bytes of a UTF-8 literal, NUL-terminated, converted at compile time.
template<qelLiteralDetail::Utf8Text S> consteval const char* operator""_cp()
{
    return qelCp1252Literal<S>.data();
}
