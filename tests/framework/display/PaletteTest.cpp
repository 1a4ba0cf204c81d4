// Palettes as data and the DIB helpers: distinctness from the system colours, the nearest
// animatable entry, palettes of bitmaps (never past their colour table), new DIBs.

#include "../runtime/ErrorRecorder.h"

#include "framework/display/DibImage.h"
#include "framework/display/PaletteObject.h"
#include "framework/runtime/Buffer.h"
#include "platform/gfx/Bmp.h"

#include <gtest/gtest.h>

using platform::gfx::Palette;
using platform::gfx::PaletteEntry;

TEST(Palette, EntriesEqualToSystemColoursMoveTheirBlueTowardsTheMiddle)
{
    Palette p;
    p.entries[37] = { 255, 255, 255, 0 };
    p.entries[38] = { 0, 0, 0, 0 };
    p.entries[39] = { 128, 128, 128, 0 }; // system entry 248: 128 becomes 129
    p.entries[40] = { 1, 2, 3, 0 };
    p.entries[5] = { 255, 255, 255, 0 }; // outside 10..245: kept
    for (int i = 41; i <= 245; ++i)
        p.entries[size_t(i)] = { 9, 9, 9, 0 };
    for (int i = 10; i <= 36; ++i)
        p.entries[size_t(i)] = { 9, 9, 9, 0 };
    Palette changed = p;
    EXPECT_TRUE(qelMakeDistinctFromSystem(changed));
    EXPECT_EQ(changed.entries[37], (PaletteEntry { 255, 255, 254, 0 }));
    EXPECT_EQ(changed.entries[38], (PaletteEntry { 0, 0, 1, 0 }));
    EXPECT_EQ(changed.entries[39], (PaletteEntry { 128, 128, 129, 0 }));
    EXPECT_EQ(changed.entries[40], p.entries[40]);
    EXPECT_EQ(changed.entries[5], p.entries[5]);

    Palette clean = changed;
    EXPECT_FALSE(qelMakeDistinctFromSystem(clean));

    // A palette made from entries is distinct and carries no flags.
    p.entries[37].flags = platform::gfx::paletteNoCollapse;
    auto made = qelPaletteData(qelPaletteFromEntries(p));
    ASSERT_TRUE(made);
    EXPECT_EQ(made->entries[37], (PaletteEntry { 255, 255, 254, 0 }));
    EXPECT_EQ(made->count, 256);
}

TEST(Palette, NearestAnimatableEntryPrefersTheLowestIndex)
{
    Palette p;
    for (int i = 0; i < 256; ++i)
        p.entries[size_t(i)] = { 200, 0, 0, 0 };
    p.entries[0] = { 10, 20, 30, 0 };
    p.entries[50] = { 10, 20, 31, 0 };
    p.entries[60] = { 10, 20, 31, 0 };
    p.entries[70] = { 10, 20, 29, 0 };
    EXPECT_EQ(qelNearestPaletteIndex(p.entries.data(), 0), 50);
    EXPECT_EQ(qelNearestPaletteIndex(p.entries.data(), 60), 50);
    EXPECT_EQ(qelIsPaletteDisplay(), 0);
    auto system = qelPaletteData(qelSystemPaletteValue());
    ASSERT_TRUE(system);
    EXPECT_EQ(system->entries[0], (PaletteEntry { 0, 0, 0, 0 }));
    EXPECT_EQ(system->entries[10], (PaletteEntry { 0, 0, 1, 0 }));
}

TEST(Palette, PalettesOfBitmapsTakeTheirColoursWithoutPassingTheTable)
{
    struct Case {
        int bits;
        int colours;
        int firstColour; // the colour that lands at entry 10; -1: no palette
    } cases[] = { { 8, 256, 10 }, { 8, 236, 0 }, { 4, 16, 0 }, { 1, 2, 0 }, { 24, 0, -1 } };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.colours);
        platform::gfx::Dib dib = platform::gfx::Dib::create(4, 4, c.bits, c.colours);
        for (size_t i = 0; i < dib.colors.size(); ++i)
            dib.colors[i] = { uint8_t(i), uint8_t(255 - i), 100, 0 };
        qelValue palette = qelPaletteFromDIB(dib);
        if (c.firstColour < 0) {
            EXPECT_TRUE(palette.isNil());
            continue;
        }
        auto data = qelPaletteData(palette);
        ASSERT_TRUE(data);
        EXPECT_EQ(data->count, 256);
        for (int i = 0; i < 236 && c.firstColour + i < c.colours; ++i) {
            uint8_t from = uint8_t(c.firstColour + i);
            EXPECT_EQ(data->entries[size_t(10 + i)], (PaletteEntry { 100, uint8_t(255 - from), from, 0 }));
        }
        // Entries past the table stay black (moved off system black).
        if (c.colours < 236) {
            EXPECT_EQ(data->entries[size_t(10 + c.colours)], (PaletteEntry { 0, 0, 1, 0 }));
        }
        EXPECT_EQ(data->entries[0], (PaletteEntry {}));
    }
}

TEST(Palette, NewDibsHaveTheirSizeColoursAndWhiteLastEntry)
{
    ErrorRecorder errors;
    qelValue small = qelMakeDIB(3, 2, 24, 0);
    EXPECT_EQ(qelBufferOf(small)->length, 64);
    for (int32_t colours : { 0, 1, 300, 256 }) {
        qelValue dib = qelMakeDIB(5, 5, 8, colours);
        qelBufferObject* b = qelBufferOf(dib);
        ASSERT_TRUE(b);
        EXPECT_EQ(b->length, 40 + 4 * 256 + 8 * 5);
        const uint8_t* last = b->bytes() + 40 + 4 * 255;
        EXPECT_EQ(last[0] & last[1] & last[2], 255);
    }
    qelValue sixteen = qelMakeDIB(5, 5, 8, 16);
    platform::gfx::Dib decoded;
    qelBufferObject* b = qelBufferOf(sixteen);
    ASSERT_EQ(platform::gfx::decodeBmp({ b->bytes(), size_t(b->length) }, decoded), platform::gfx::BmpError::None);
    EXPECT_EQ(qelDIBColourCount(decoded.header), 16);
    EXPECT_EQ(decoded.colors[15], (platform::gfx::RgbQuad { 255, 255, 255, 0 }));
    EXPECT_TRUE(errors.messages.empty());

    EXPECT_TRUE(qelMakeDIB(5, 5, 16, 0).isNil());
    EXPECT_TRUE(qelMakeDIB(0, 5, 8, 0).isNil());
    ASSERT_EQ(errors.messages.size(), 2u);
    EXPECT_EQ(errors.messages[0], "Unsupported bits per pixel: 16");
}
