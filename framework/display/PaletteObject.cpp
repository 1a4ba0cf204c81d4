#include "framework/display/PaletteObject.h"

#include "framework/runtime/Settings.h"
#include "framework/runtime/StringObject.h"

using platform::gfx::Palette;
using platform::gfx::PaletteEntry;

namespace {

constexpr int firstAnimated = 10;
constexpr int lastAnimated = 245;

bool sameColor(const PaletteEntry& a, const PaletteEntry& b)
{
    return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

} // namespace

qelPaletteObject* qelPaletteOf(const qelValue& value)
{
    if (value.type() != QEL_PALETTE_TYPE)
        return nullptr;
    return dynamic_cast<qelPaletteObject*>(value.object());
}

std::shared_ptr<const Palette> qelPaletteData(const qelValue& value)
{
    qelPaletteObject* p = qelPaletteOf(value);
    return p ? p->palette : nullptr;
}

qelValue qelMakePaletteValue(const Palette& palette)
{
    return qelMakeObjectValue(QEL_PALETTE_TYPE, new qelPaletteObject(std::make_shared<const Palette>(palette)));
}

bool qelMakeDistinctFromSystem(Palette& palette)
{
    const Palette& system = platform::gfx::systemPalette();
    bool changed = false;
    for (int i = firstAnimated; i <= lastAnimated; ++i) {
        PaletteEntry& entry = palette.entries[size_t(i)];
        for (int pass = 0; pass < 2; ++pass) {
            int from = pass == 0 ? 0 : 246;
            for (int s = from; s < from + 10; ++s) {
                if (!sameColor(entry, system.entries[size_t(s)]))
                    continue;
                entry.blue = entry.blue > 128 ? uint8_t(entry.blue - 1) : uint8_t(entry.blue + 1);
                changed = true;
            }
        }
    }
    return changed;
}

qelValue qelPaletteFromEntries(const Palette& source)
{
    Palette copy;
    copy.count = Palette::maxEntries;
    for (int i = 0; i < Palette::maxEntries; ++i) {
        copy.entries[size_t(i)] = source.entries[size_t(i)];
        copy.entries[size_t(i)].flags = 0;
    }
    qelMakeDistinctFromSystem(copy);
    return qelMakePaletteValue(copy);
}

qelValue qelSystemPaletteValue()
{
    return qelPaletteFromEntries(platform::gfx::systemPalette());
}

void qelResetSystemPalette()
{
}

int32_t qelNearestPaletteIndex(const PaletteEntry* entries, int32_t index)
{
    if (!entries || index < 0 || index >= Palette::maxEntries)
        return firstAnimated;
    const PaletteEntry& target = entries[index];
    int32_t best = 300000;
    int32_t result = firstAnimated;
    for (int32_t j = firstAnimated; j <= lastAnimated; ++j) {
        int32_t dr = int32_t(entries[j].red) - target.red;
        int32_t dg = int32_t(entries[j].green) - target.green;
        int32_t db = int32_t(entries[j].blue) - target.blue;
        int32_t d = dr * dr + dg * dg + db * db;
        if (d < best) {
            best = d;
            result = j;
        }
    }
    return result;
}

void qelRemapDIB()
{
    // Only a palette-based display maps pixels through the palette; with "Disable Swizzle" the
    // pixels stay as drawn.
    if (qelGetBoolSetting(qelStringValue("Disable Swizzle"), 0) || !qelIsPaletteDisplay())
        return;
}

int32_t qelIsPaletteDisplay()
{
    return 0;
}
