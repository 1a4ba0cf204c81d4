#pragma once

// Logical palettes as data: 256 entries of red, green, blue and flags. No device has a
// hardware palette; palettes are created, passed, selected and compared, never realised.

#include "platform/gfx/Color.h"

#include <array>
#include <cstdint>

namespace platform::gfx {

enum PaletteFlag : uint8_t {
    paletteReserved = 0x01,
    paletteExplicit = 0x02,
    paletteNoCollapse = 0x04,
};

struct PaletteEntry {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t flags = 0;
    bool operator==(const PaletteEntry&) const = default;
};

struct Palette {
    static constexpr uint16_t version = 0x300;
    static constexpr int maxEntries = 256;

    // Number of entries in use (1..256); entries past it are zero.
    int count = maxEntries;
    std::array<PaletteEntry, maxEntries> entries {};

    bool operator==(const Palette&) const = default;
};

// The index in [first, last] (cut to the palette's entries) whose colour has the smallest
// squared RGB distance to `color`; the lowest such index on a tie; -1 when the range is empty.
int nearestPaletteIndex(const Palette& palette, ColorRef color, int first = 0, int last = Palette::maxEntries - 1);

// The system palette: the 20 static colours at 0..9 and 246..255, black elsewhere.
const Palette& systemPalette();
bool isStaticPaletteIndex(int index);

} // namespace platform::gfx
