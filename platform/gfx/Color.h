#pragma once

// Colours as the drawing calls take them: a colour reference is 0x00BBGGRR (red in the low
// byte). Surface pixels are 0x00RRGGBB (XRGB, red in bits 16..23); the top byte is unused and
// kept at zero so that pixels compare equal when their colours do.

#include <cstdint>

namespace platform::gfx {

using ColorRef = uint32_t;

constexpr ColorRef rgb(uint8_t r, uint8_t g, uint8_t b)
{
    return uint32_t(r) | (uint32_t(g) << 8) | (uint32_t(b) << 16);
}
constexpr uint8_t redOf(ColorRef c)
{
    return uint8_t(c);
}
constexpr uint8_t greenOf(ColorRef c)
{
    return uint8_t(c >> 8);
}
constexpr uint8_t blueOf(ColorRef c)
{
    return uint8_t(c >> 16);
}

// Surface pixel of a colour reference and back.
constexpr uint32_t toPixel(ColorRef c)
{
    return (uint32_t(redOf(c)) << 16) | (uint32_t(greenOf(c)) << 8) | blueOf(c);
}
constexpr uint32_t xrgb(uint8_t r, uint8_t g, uint8_t b)
{
    return (uint32_t(r) << 16) | (uint32_t(g) << 8) | b;
}
constexpr ColorRef toColorRef(uint32_t pixel)
{
    return rgb(uint8_t(pixel >> 16), uint8_t(pixel >> 8), uint8_t(pixel));
}

} // namespace platform::gfx
