#pragma once

// Text inside the framework is Windows-1252, one byte per character. UTF-8 appears only at the
// edges (window title, message boxes, clipboard, typed text, file names, glyph lookup), converted
// here. C++ sources are UTF-8, so a literal with accents is written "Não"_cp, which the compiler
// turns into its cp1252 bytes; a character with no cp1252 form is a compile error.

#include "platform/sys/Cp1252.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

// The code page's tables live in the platform layer, which converts at the system's edges.
constexpr char32_t qelCp1252ToUnicode(unsigned char code)
{
    return platform::cp1252::toUnicode(code);
}

// The cp1252 code of a character, or -1 when it has none.
constexpr int qelUnicodeToCp1252(char32_t character)
{
    return platform::cp1252::fromUnicode(character);
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
    std::string_view utf8(text.bytes, end);
    while (i < end) {
        int32_t character = platform::cp1252::decodeUtf8(utf8, i);
        int code = character < 0 ? -1 : qelUnicodeToCp1252(char32_t(character));
        if (code < 0) {
            literal_has_a_character_without_a_cp1252_form_or_is_not_utf8();
            return out;
        }
        out[o++] = static_cast<char>(code);
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
