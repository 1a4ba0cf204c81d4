#pragma once

// Windows-1252 to Unicode, for glyph lookup and for the UTF-8 names fontconfig takes. The
// five bytes the code page leaves undefined map to the C1 control of the same value.

#include <cstdint>
#include <string>
#include <string_view>

namespace platform::text {

char32_t cp1252ToUnicode(uint8_t byte);
std::string cp1252ToUtf8(std::string_view text);

} // namespace platform::text
