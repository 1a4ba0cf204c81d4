#include "platform/gfx/Palette.h"

#include <algorithm>

namespace platform::gfx {

int nearestPaletteIndex(const Palette& palette, ColorRef color, int first, int last)
{
    first = std::max(first, 0);
    last = std::min(last, std::min(palette.count, Palette::maxEntries) - 1);
    int best = -1;
    int bestDistance = 0;
    for (int i = first; i <= last; ++i) {
        const PaletteEntry& e = palette.entries[size_t(i)];
        int dr = int(e.red) - redOf(color);
        int dg = int(e.green) - greenOf(color);
        int db = int(e.blue) - blueOf(color);
        int distance = dr * dr + dg * dg + db * db;
        if (best < 0 || distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

bool isStaticPaletteIndex(int index)
{
    return (index >= 0 && index < 10) || (index >= 246 && index < 256);
}

static Palette makeSystemPalette()
{
    static constexpr uint8_t low[10][3] = { { 0, 0, 0 }, { 128, 0, 0 }, { 0, 128, 0 }, { 128, 128, 0 }, { 0, 0, 128 },
        { 128, 0, 128 }, { 0, 128, 128 }, { 192, 192, 192 }, { 192, 220, 192 }, { 166, 202, 240 } };
    static constexpr uint8_t high[10][3] = { { 255, 251, 240 }, { 160, 160, 164 }, { 128, 128, 128 }, { 255, 0, 0 },
        { 0, 255, 0 }, { 255, 255, 0 }, { 0, 0, 255 }, { 255, 0, 255 }, { 0, 255, 255 }, { 255, 255, 255 } };
    Palette p;
    for (int i = 0; i < 10; ++i) {
        p.entries[size_t(i)] = { low[i][0], low[i][1], low[i][2], 0 };
        p.entries[size_t(246 + i)] = { high[i][0], high[i][1], high[i][2], 0 };
    }
    return p;
}

const Palette& systemPalette()
{
    static const Palette palette = makeSystemPalette();
    return palette;
}

} // namespace platform::gfx
