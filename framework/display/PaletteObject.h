#pragma once

// Palette values (type 15). Displays are true colour, so a palette is data: 256 entries that
// pictures bring, that the port keeps as its current palette and that fades start from. The
// rules of the 256-colour display are kept on that data: a palette made here never repeats one
// of the 20 static system colours in its animatable range 10..245.

#include "framework/runtime/Value.h"
#include "platform/gfx/Palette.h"

#include <memory>

class qelPaletteObject final : public qelObject {
public:
    explicit qelPaletteObject(std::shared_ptr<const platform::gfx::Palette> palette)
        : palette(std::move(palette))
    {
    }
    // Null for a palette whose creation failed.
    const std::shared_ptr<const platform::gfx::Palette> palette;
};

qelPaletteObject* qelPaletteOf(const qelValue& value);
// The palette data of a palette value, or null.
std::shared_ptr<const platform::gfx::Palette> qelPaletteData(const qelValue& value);
qelValue qelMakePaletteValue(const platform::gfx::Palette& palette);

// A new palette with the same 256 entries (flags cleared), made distinct from the system colours.
qelValue qelPaletteFromEntries(const platform::gfx::Palette& source);
// The system palette's 256 entries, made distinct from the system colours.
qelValue qelSystemPaletteValue();
// In place: every entry of 10..245 that equals a static colour (low ten, then high ten, each
// comparison seeing earlier changes) has its blue moved one step towards the middle. True when
// any entry changed.
bool qelMakeDistinctFromSystem(platform::gfx::Palette& palette);
// Clears the system palette of other programs' colours; nothing to do on a true-colour display.
void qelResetSystemPalette();
// The entry among 10..245 nearest in colour to entry `index`; the lowest index on a tie.
int32_t qelNearestPaletteIndex(const platform::gfx::PaletteEntry* entries, int32_t index);
// Moves the offscreen picture's pixels off the static entries before a fade; only a
// palette-based display has such pixels, so on true colour nothing happens.
void qelRemapDIB();
// The main port's palette-display flag: 0, the display is true colour.
int32_t qelIsPaletteDisplay();
