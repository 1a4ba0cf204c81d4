#pragma once

// Pixel probes for dialog, menu and help-box tests: a patterned screen (so a restore that is one
// pixel off shows), copies of the offscreen buffer to compare, and solid pictures.

#include "UiFixture.h"

#include "framework/display/ContextImage.h"
#include "framework/runtime/List.h"
#include "platform/gfx/Dc.h"

#include <cstdint>
#include <vector>

// A pixel of the pattern: every pixel differs from its neighbours on both axes.
inline uint32_t patternPixel(int x, int y)
{
    return uint32_t((x * 7 + y * 13) & 0xFF) << 16 | uint32_t((x * 3) & 0xFF) << 8 | uint32_t(y & 0xFF);
}

inline void paintPattern(UiFixture& ui)
{
    auto* surface = const_cast<platform::gfx::Surface*>(ui.port->offscreen());
    for (int y = 0; y < surface->height(); ++y)
        for (int x = 0; x < surface->width(); ++x)
            surface->row(y)[x] = patternPixel(x, y);
}

inline std::vector<uint32_t> screenCopy(UiFixture& ui)
{
    const platform::gfx::Surface* surface = ui.port->offscreen();
    return std::vector<uint32_t>(surface->data(), surface->data() + size_t(surface->width()) * surface->height());
}

// A w x h picture of one colour (0x00BBGGRR).
inline qelValue solidImage(int32_t w, int32_t h, platform::gfx::ColorRef colour)
{
    qelValue image = qelMakeContext(qelListOf({ w, h }));
    platform::gfx::Brush brush;
    brush.color = colour;
    dynamic_cast<qelContextImageObject*>(image.object())
        ->dc()
        ->fillRect(platform::gfx::Rect::fromSize(0, 0, w, h), brush);
    return image;
}

// The pixel of a colour reference (0x00BBGGRR) in the XRGB buffer.
constexpr uint32_t pixelOf(uint32_t colour)
{
    return (colour & 0xFF) << 16 | (colour & 0xFF00) | (colour >> 16 & 0xFF);
}

// "" when the screens are equal, else where they first differ.
inline std::string firstDifference(const std::vector<uint32_t>& got, const std::vector<uint32_t>& want, int width = 640)
{
    for (size_t i = 0; i < got.size() && i < want.size(); ++i)
        if (got[i] != want[i])
            return std::to_string(i % width) + "," + std::to_string(i / width) + ": " + std::to_string(got[i])
                + " instead of " + std::to_string(want[i]);
    return got.size() == want.size() ? "" : "sizes differ";
}
