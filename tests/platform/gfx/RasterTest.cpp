#include "platform/gfx/Dib.h"
#include "platform/gfx/MemoryDc.h"
#include "tests/support/PixelArt.h"

#include <gtest/gtest.h>

using namespace platform::gfx;
using qel::test::pixelsAre;

namespace {

constexpr ColorRef red = rgb(255, 0, 0);
constexpr ColorRef green = rgb(0, 255, 0);
constexpr ColorRef blue = rgb(0, 0, 255);
const std::map<char, uint32_t> legend = { { '.', 0 }, { 'R', toPixel(red) }, { 'G', toPixel(green) },
    { 'B', toPixel(blue) }, { 'W', 0xFFFFFF }, { 'Y', toPixel(rgb(255, 255, 0)) } };

} // namespace

TEST(Raster, RectangleDrawsItsPenInsideTheFrameAndFillsWithTheBrush)
{
    Surface s(14, 14);
    MemoryDc dc(s);
    dc.selectPen({ PenStyle::Solid, 1, red });
    dc.selectBrush({ green });
    dc.rectangle(2, 2, 12, 12); // 10 x 10: columns and rows 2..11
    EXPECT_TRUE(pixelsAre(s,
        { "..............", "..............", "..RRRRRRRRRR..", "..RGGGGGGGGR..", "..RGGGGGGGGR..", "..RGGGGGGGGR..",
            "..RGGGGGGGGR..", "..RGGGGGGGGR..", "..RGGGGGGGGR..", "..RGGGGGGGGR..", "..RGGGGGGGGR..", "..RRRRRRRRRR..",
            "..............", ".............." },
        legend));

    // A wide pen stays inside the frame too; swapped corners give the same rectangle.
    s.fill(0);
    dc.selectPen({ PenStyle::Solid, 2, blue });
    dc.rectangle(7, 6, 1, 0);
    EXPECT_TRUE(pixelsAre(s,
        { ".BBBBBB.......", ".BBBBBB.......", ".BBGGBB.......", ".BBGGBB.......", ".BBBBBB.......", ".BBBBBB.......",
            "..............", "..............", "..............", "..............", "..............", "..............",
            "..............", ".............." },
        legend));
}

TEST(Raster, PolylineLeavesOutTheLastPixel)
{
    Surface s(8, 6);
    MemoryDc dc(s);
    dc.selectPen({ PenStyle::Solid, 0, red }); // width 0 is one pixel
    // As the drawing port does it: move to the first point, then a line to every point.
    dc.moveTo(1, 1);
    dc.lineTo(1, 1);
    dc.lineTo(6, 1);
    dc.lineTo(6, 4);
    dc.lineTo(3, 4);
    EXPECT_EQ(dc.currentPosition(), (Point { 3, 4 }));
    EXPECT_TRUE(pixelsAre(s, { "........", ".RRRRRR.", "......R.", "......R.", "....RRR.", "........" }, legend));

    // A diagonal and a shallow line (halves round towards the start): start in, end out.
    s.fill(0);
    dc.moveTo(0, 0);
    dc.lineTo(4, 4);
    dc.moveTo(7, 5);
    dc.lineTo(3, 3);
    EXPECT_TRUE(pixelsAre(s, { "R.......", ".R......", "..R.....", "...R....", "....RR..", "......RR" }, legend));
}

TEST(Raster, WidePensAreCentredOnTheLine)
{
    Surface s(10, 10);
    MemoryDc dc(s);
    dc.selectPen({ PenStyle::Solid, 3, blue });
    dc.moveTo(2, 2);
    dc.lineTo(8, 2);
    dc.moveTo(6, 5);
    dc.lineTo(6, 9);
    EXPECT_TRUE(pixelsAre(s,
        { "..........", "..BBBBBB..", "..BBBBBB..", "..BBBBBB..", "..........", ".....BBB..", ".....BBB..",
            ".....BBB..", ".....BBB..", ".........." },
        legend));
}

TEST(Raster, LinesAreClippedAndFarEndsCostNothing)
{
    Surface s(6, 3);
    MemoryDc dc(s);
    dc.selectPen({ PenStyle::Solid, 1, green });
    dc.intersectClipRect({ 1, 0, 5, 3 });
    dc.moveTo(-2000000000, 1);
    dc.lineTo(2000000000, 1);
    dc.moveTo(INT_MIN, INT_MIN);
    dc.lineTo(INT_MAX, INT_MAX);
    EXPECT_TRUE(pixelsAre(s, { "......", ".GGGG.", "..G..." }, legend));
}

TEST(Raster, FillRectRespectsTheClip)
{
    Surface s(6, 4);
    MemoryDc dc(s);
    dc.intersectClipRect({ 2, 1, 10, 10 });
    dc.intersectClipRect({ 0, 0, 5, 3 });
    EXPECT_EQ(dc.clipBox(), (Rect { 2, 1, 5, 3 }));
    dc.fillRect({ 0, 0, 6, 4 }, { red });
    EXPECT_TRUE(pixelsAre(s, { "......", "..RRR.", "..RRR.", "......" }, legend));
    dc.resetClip();
    EXPECT_EQ(dc.clipBox(), s.bounds());
    dc.selectClipRect({ -5, -5, 1, 1 });
    EXPECT_EQ(dc.clipBox(), (Rect { 0, 0, 1, 1 }));
}

TEST(Raster, MaskedBlitShowsTheImageWhereTheMaskIsBlack)
{
    // The masked drawing sequence: XOR the image in, AND the mask, XOR the image again.
    Surface dst(4, 2, toPixel(blue));
    dst.setPixel(3, 1, toPixel(green));
    Surface image(4, 2, toPixel(red));
    image.setPixel(0, 0, toPixel(rgb(255, 255, 0)));
    Surface mask(4, 2, 0xFFFFFF);
    mask.setPixel(0, 0, 0);
    mask.setPixel(1, 0, 0);
    mask.setPixel(3, 1, 0);
    MemoryDc d(dst), i(image), m(mask);
    EXPECT_TRUE(d.bitBlt(0, 0, 4, 2, i, 0, 0, RasterOp::SrcInvert));
    EXPECT_TRUE(d.bitBlt(0, 0, 4, 2, m, 0, 0, RasterOp::SrcAnd));
    EXPECT_TRUE(d.bitBlt(0, 0, 4, 2, i, 0, 0, RasterOp::SrcInvert));
    EXPECT_TRUE(pixelsAre(dst, { "YRBB", "BBBR" }, legend));
}

TEST(Raster, BlitIsClippedToTheClipAndTheSource)
{
    Surface src(3, 3, toPixel(red));
    src.setPixel(0, 0, toPixel(green));
    Surface dst(6, 5);
    MemoryDc d(dst), s(src);
    d.intersectClipRect({ 0, 0, 4, 5 });
    // Source starts one pixel left of the picture: that column is not drawn; clip cuts x >= 4.
    EXPECT_TRUE(d.bitBlt(1, 1, 5, 5, s, -1, 0, RasterOp::SrcCopy));
    EXPECT_TRUE(pixelsAre(dst, { "......", "..GR..", "..RR..", "..RR..", "......" }, legend));
    EXPECT_FALSE(d.bitBlt(0, 0, 1, 1, s, 0, 0, RasterOp(0x00AA0029)));
    EXPECT_FALSE(d.bitBlt(0, 0, 0, 1, s, 0, 0, RasterOp::SrcCopy));

    // An overlapping copy within one surface reads the source before writing.
    Surface row(5, 1);
    for (int x = 0; x < 5; ++x)
        row.setPixel(x, 0, uint32_t(x + 1));
    MemoryDc r(row);
    r.bitBlt(1, 0, 4, 1, r, 0, 0, RasterOp::SrcCopy);
    EXPECT_EQ(row.pixel(1, 0), 1u);
    EXPECT_EQ(row.pixel(4, 0), 4u);
}

TEST(Raster, StretchIsNearestNeighbourUpAndDown)
{
    Surface src(2, 2);
    src.setPixel(0, 0, toPixel(red));
    src.setPixel(1, 0, toPixel(green));
    src.setPixel(0, 1, toPixel(blue));
    src.setPixel(1, 1, 0xFFFFFF);
    Surface up(5, 4);
    MemoryDc u(up), s(src);
    EXPECT_TRUE(u.stretchBlt(0, 0, 4, 4, s, 0, 0, 2, 2, RasterOp::SrcCopy));
    EXPECT_TRUE(pixelsAre(up, { "RRGG.", "RRGG.", "BBWW.", "BBWW." }, legend));

    Surface down(2, 2);
    MemoryDc dn(down), big(up);
    EXPECT_TRUE(dn.stretchBlt(0, 0, 2, 2, big, 0, 0, 4, 4, RasterOp::SrcCopy));
    EXPECT_EQ(down, src);
    // Three source columns onto two: columns 0 and 1 (0 * 3 / 2, 1 * 3 / 2).
    Surface odd(2, 1);
    MemoryDc o(odd);
    EXPECT_TRUE(o.stretchBlt(0, 0, 2, 1, big, 1, 0, 3, 1, RasterOp::SrcCopy));
    EXPECT_TRUE(pixelsAre(odd, { "RG" }, legend));
}

TEST(Raster, DibBlitCountsSourceRowsFromTheBottomOfABottomUpBitmap)
{
    // 2 x 4, 8 bits, rows from the top: R, G, B, W.
    for (bool topDown : { false, true }) {
        Dib dib = Dib::create(2, 4, 8, 4, topDown);
        dib.colors = { { 0, 0, 255, 0 }, { 0, 255, 0, 0 }, { 255, 0, 0, 0 }, { 255, 255, 255, 0 } };
        for (int y = 0; y < 4; ++y)
            dib.row(y)[0] = dib.row(y)[1] = uint8_t(y);
        Surface s(2, 2);
        MemoryDc dc(s);
        // Rows G and B: one row from the top, one row up from the bottom.
        EXPECT_EQ(dc.stretchDIBits(0, 0, 2, 2, 0, 1, 2, 2, dib, RasterOp::SrcCopy), 2);
        EXPECT_TRUE(pixelsAre(s, { "GG", "BB" }, legend)) << "topDown " << topDown;
        // Stretched up into 2 x 4 from the bottom two rows of the picture.
        Surface t(2, 4);
        MemoryDc tc(t);
        int sy = topDown ? 2 : 0;
        EXPECT_EQ(tc.stretchDIBits(0, 0, 2, 4, 0, sy, 2, 2, dib, RasterOp::SrcCopy), 2);
        EXPECT_TRUE(pixelsAre(t, { "BB", "BB", "WW", "WW" }, legend)) << "topDown " << topDown;
    }
}

TEST(Raster, DibBlitDecodesEveryDepth)
{
    // Indexed: index (x + y) % colours into black, red, white; direct: a colour per pixel.
    const std::vector<RgbQuad> table = { { 0, 0, 0, 0 }, { 0, 0, 255, 0 }, { 255, 255, 255, 0 } };
    for (int bits : { 1, 4, 8, 24, 32 }) {
        int colours = bits == 1 ? 2 : bits <= 8 ? 3 : 0;
        Dib dib = Dib::create(9, 2, bits, colours);
        ASSERT_TRUE(dib.isValid()) << bits;
        Surface want(9, 2);
        for (int y = 0; y < 2; ++y) {
            uint8_t* r = dib.row(y);
            for (int x = 0; x < 9; ++x) {
                if (bits <= 8) {
                    unsigned index = unsigned(x + y) % unsigned(colours);
                    dib.colors[index] = table[index];
                    want.setPixel(x, y, xrgb(table[index].red, table[index].green, table[index].blue));
                    if (bits == 1)
                        r[x / 8] = uint8_t(r[x / 8] | (index << (7 - x % 8)));
                    else if (bits == 4)
                        r[x / 2] = uint8_t(r[x / 2] | (index << ((x % 2) ? 0 : 4)));
                    else
                        r[x] = uint8_t(index);
                } else {
                    uint32_t p = xrgb(uint8_t(x * 20), uint8_t(y * 50), 7);
                    want.setPixel(x, y, p);
                    int n = bits / 8;
                    r[n * x] = uint8_t(p);
                    r[n * x + 1] = uint8_t(p >> 8);
                    r[n * x + 2] = uint8_t(p >> 16);
                }
            }
        }
        Surface s(9, 2, 0x123456);
        MemoryDc dc(s);
        EXPECT_EQ(dc.stretchDIBits(0, 0, 9, 2, 0, 0, 9, 2, dib, RasterOp::SrcCopy), 2) << bits;
        EXPECT_EQ(s, want) << bits;
        for (int x = 0; x < 9; ++x)
            EXPECT_EQ(dib.pixel(x, 1), want.pixel(x, 1)) << bits;
    }
}

TEST(Raster, DibBlitRefusesInconsistentBitmaps)
{
    Surface s(2, 2, 7);
    MemoryDc dc(s);
    Dib dib = Dib::create(2, 2, 8);
    ASSERT_TRUE(dib.isValid());
    Dib shortBits = dib;
    shortBits.bits.resize(7);
    Dib noTable = dib;
    noTable.colors.clear();
    Dib compressed = dib;
    compressed.header.compression = uint32_t(DibCompression::Rle8);
    for (const Dib* bad : { &shortBits, &noTable, &compressed })
        EXPECT_EQ(dc.stretchDIBits(0, 0, 2, 2, 0, 0, 2, 2, *bad, RasterOp::SrcCopy), 0);
    EXPECT_EQ(s, Surface(2, 2, 7));
    // A source rectangle partly outside the picture draws only the part inside.
    EXPECT_EQ(dc.stretchDIBits(0, 0, 2, 2, 1, 0, 2, 2, dib, RasterOp::SrcCopy), 2);
    EXPECT_EQ(s.pixel(0, 0), 0u);
    EXPECT_EQ(s.pixel(1, 0), 7u);
}

TEST(Raster, GetBitsGivesABottomUp24BitCopy)
{
    Surface s(3, 2);
    s.setPixel(0, 0, xrgb(1, 2, 3));
    s.setPixel(2, 1, xrgb(4, 5, 6));
    Dib dib = dibFromSurface(s);
    ASSERT_TRUE(dib.isValid());
    EXPECT_EQ(dib.header.bitCount, 24);
    EXPECT_EQ(dib.header.height, 2);
    EXPECT_EQ(dib.stride(), 12u);
    // Stored rows: bottom row first, blue-green-red.
    EXPECT_EQ(dib.bits[6], 6);
    EXPECT_EQ(dib.bits[8], 4);
    EXPECT_EQ(dib.bits[12], 3);
    EXPECT_EQ(dib.bits[14], 1);
    Surface back(3, 2, 99);
    MemoryDc dc(back);
    dc.stretchDIBits(0, 0, 3, 2, 0, 0, 3, 2, dib, RasterOp::SrcCopy);
    EXPECT_EQ(back, s);
}
