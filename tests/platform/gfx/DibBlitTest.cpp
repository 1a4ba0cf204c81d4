#include "platform/gfx/Dib.h"
#include "platform/gfx/MemoryDc.h"

#include <gtest/gtest.h>

#include <random>

using namespace platform::gfx;

namespace {

// What a one-to-one copy must leave in the surface: every pixel inside the clip, the target
// rectangle and the picture gets the picture's colour (Dib::pixel); all others stay as they were.
Surface expectedCopy(
    const Surface& before, const Rect& clip, int x, int y, int w, int h, int sx, int sy, const Dib& dib)
{
    Surface want = before;
    int top = dib.isBottomUp() ? dib.height() - sy - h : sy;
    for (int py = 0; py < h; ++py) {
        for (int px = 0; px < w; ++px) {
            int dx = x + px, dy = y + py, srcX = sx + px, srcY = top + py;
            if (clip.contains(dx, dy) && srcX >= 0 && srcX < dib.width() && srcY >= 0 && srcY < dib.height())
                want.setPixel(dx, dy, dib.pixel(srcX, srcY));
        }
    }
    return want;
}

Dib randomDib(std::mt19937& random, int bits, int colours, bool topDown)
{
    Dib dib = Dib::create(37, 23, bits, colours, topDown);
    for (auto& q : dib.colors)
        q = { uint8_t(random()), uint8_t(random()), uint8_t(random()), uint8_t(random()) };
    for (auto& b : dib.bits)
        b = uint8_t(random());
    return dib;
}

} // namespace

TEST(DibBlit, OneToOneCopiesMatchThePicturePixelByPixel)
{
    // Every depth, both row orders, tables with nonzero reserved bytes and (for 8 bits) fewer
    // entries than the indexes reach; rectangles partly outside the picture, the clip and the
    // surface.
    struct Case {
        int bits;
        int colours;
    };
    std::mt19937 random(7);
    for (Case c : { Case { 1, 2 }, Case { 4, 16 }, Case { 8, 256 }, Case { 8, 5 }, Case { 24, 0 }, Case { 32, 0 } }) {
        for (bool topDown : { false, true }) {
            Dib dib = randomDib(random, c.bits, c.colours, topDown);
            ASSERT_TRUE(dib.isValid());
            Surface s(40, 30, 0x5A5A5A);
            MemoryDc dc(s);
            dc.selectClipRect({ 3, 2, 38, 27 });
            for (int i = 0; i < 60; ++i) {
                int x = int(random() % 50) - 5, y = int(random() % 40) - 5;
                int w = 1 + int(random() % 45), h = 1 + int(random() % 30);
                int sx = int(random() % 45) - 4, sy = int(random() % 30) - 4;
                Surface want = expectedCopy(s, dc.clipBox(), x, y, w, h, sx, sy, dib);
                EXPECT_EQ(dc.stretchDIBits(x, y, w, h, sx, sy, w, h, dib, RasterOp::SrcCopy), h);
                ASSERT_EQ(s, want) << c.bits << " bits, " << c.colours << " colours, topDown " << topDown << ", blit "
                                   << i;
            }
        }
    }
}

TEST(DibBlit, AColourTableChangedBetweenBlitsIsTheOneUsed)
{
    Dib first = Dib::create(4, 1, 8, 256);
    Dib second = Dib::create(4, 1, 8, 256);
    for (int i = 0; i < 256; ++i) {
        first.colors[size_t(i)] = { uint8_t(i), 0, 0, 0 };
        second.colors[size_t(i)] = { 0, uint8_t(i), 0, 0 };
    }
    first.row(0)[1] = second.row(0)[1] = 200;
    Surface s(4, 1);
    MemoryDc dc(s);
    // The same bitmap again, its table changed in place, then another bitmap, then the first.
    dc.stretchDIBits(0, 0, 4, 1, 0, 0, 4, 1, first, RasterOp::SrcCopy);
    EXPECT_EQ(s.pixel(1, 0), 200u);
    first.colors[200] = { 1, 2, 3, 0xFF };
    dc.stretchDIBits(0, 0, 4, 1, 0, 0, 4, 1, first, RasterOp::SrcCopy);
    EXPECT_EQ(s.pixel(1, 0), xrgb(3, 2, 1));
    dc.stretchDIBits(0, 0, 4, 1, 0, 0, 4, 1, second, RasterOp::SrcCopy);
    EXPECT_EQ(s.pixel(1, 0), xrgb(0, 200, 0));
    dc.stretchDIBits(0, 0, 4, 1, 0, 0, 4, 1, first, RasterOp::SrcCopy);
    EXPECT_EQ(s.pixel(1, 0), xrgb(3, 2, 1));
    // A shorter table with the same first entries: indexes past it are black.
    first.colors.resize(100);
    first.header.clrUsed = 100;
    dc.stretchDIBits(0, 0, 4, 1, 0, 0, 4, 1, first, RasterOp::SrcCopy);
    EXPECT_EQ(s.pixel(1, 0), 0u);
}
