#include "platform/gfx/Palette.h"

#include <gtest/gtest.h>

using namespace platform::gfx;

TEST(Palette, NearestIndexTakesTheLowestOfEqualDistancesWithinTheRange)
{
    Palette p;
    p.entries[3] = { 10, 10, 10, 0 };
    p.entries[5] = { 12, 10, 10, 0 };
    p.entries[7] = { 12, 10, 10, 0 };
    p.entries[9] = { 200, 0, 0, paletteNoCollapse };
    EXPECT_EQ(nearestPaletteIndex(p, rgb(12, 10, 10)), 5);
    EXPECT_EQ(nearestPaletteIndex(p, rgb(11, 10, 10)), 3); // 3 and 5 tie at distance 1
    EXPECT_EQ(nearestPaletteIndex(p, rgb(255, 0, 0)), 9);
    EXPECT_EQ(nearestPaletteIndex(p, rgb(12, 10, 10), 6, 8), 7);
    EXPECT_EQ(nearestPaletteIndex(p, rgb(255, 0, 0), 10, 245), 10); // all black there: the first
    EXPECT_EQ(nearestPaletteIndex(p, rgb(0, 0, 0), 8, 7), -1);
    p.count = 4;
    EXPECT_EQ(nearestPaletteIndex(p, rgb(255, 0, 0)), 3);
    EXPECT_EQ(nearestPaletteIndex(p, rgb(255, 0, 0), 5, 255), -1);
}

TEST(Palette, SystemPaletteHoldsTheTwentyStaticColours)
{
    const Palette& s = systemPalette();
    EXPECT_EQ(s.count, 256);
    EXPECT_EQ(s.entries[1], (PaletteEntry { 128, 0, 0, 0 }));
    EXPECT_EQ(s.entries[9], (PaletteEntry { 166, 202, 240, 0 }));
    EXPECT_EQ(s.entries[246], (PaletteEntry { 255, 251, 240, 0 }));
    EXPECT_EQ(s.entries[255], (PaletteEntry { 255, 255, 255, 0 }));
    for (int i = 10; i <= 245; ++i)
        EXPECT_EQ(s.entries[size_t(i)], PaletteEntry {}) << i;
    EXPECT_TRUE(isStaticPaletteIndex(9));
    EXPECT_FALSE(isStaticPaletteIndex(10));
    EXPECT_FALSE(isStaticPaletteIndex(245));
    EXPECT_TRUE(isStaticPaletteIndex(246));
}
