#include "platform/gfx/MemoryDc.h"
#include "platform/text/TestFontProvider.h"
#include "platform/text/TextDraw.h"
#include "tests/support/PixelArt.h"

#include <gtest/gtest.h>

using namespace platform;
using namespace platform::text;
using gfx::Rect;
using qel::test::pixelsAre;

namespace {

constexpr gfx::ColorRef white = 0xFFFFFF;
constexpr gfx::ColorRef red = gfx::rgb(255, 0, 0);
const std::map<char, uint32_t> legend = { { '.', 0 }, { 'X', 0xFFFFFF }, { 'r', gfx::toPixel(red) } };

// Characters are one-pixel dots two pixels apart on one-pixel lines, so a line of the picture
// is a line of text.
struct DotFixture : ::testing::Test {
    gfx::Surface surface { 12, 4 };
    gfx::MemoryDc dc { surface };
    void SetUp() override
    {
        TestFontProvider provider({ .charWidth = 2, .ascent = 1, .descent = 0, .widths = {} });
        dc.selectFont(provider.createFont({}));
        dc.setTextColor(white);
        dc.setBkMode(gfx::BkMode::Transparent);
    }
};

} // namespace

TEST_F(DotFixture, WordBreakFillsLinesWithWholeWordsInEachAlignment)
{
    // "aa bb" is exactly 10 pixels wide and fits; "cc ddd" does not.
    struct Case {
        unsigned align;
        std::vector<std::string> picture;
    };
    const Case cases[] = {
        { drawTextLeft, { "X.X...X.X...", "X.X.........", "X.X.X.......", "............" } },
        { drawTextCenter, { "X.X...X.X...", "...X.X......", "..X.X.X.....", "............" } },
        { drawTextRight, { "X.X...X.X...", "......X.X...", "....X.X.X...", "............" } },
    };
    for (const Case& c : cases) {
        surface.fill(0);
        Rect rect { 0, 0, 10, 4 };
        EXPECT_EQ(drawText(dc, "aa bb cc ddd", rect, drawTextWordBreak | drawTextNoPrefix | c.align), 3);
        EXPECT_TRUE(pixelsAre(surface, c.picture, legend)) << "alignment " << c.align;
    }
}

TEST_F(DotFixture, AWordLongerThanTheLineIsBrokenBetweenCharacters)
{
    Rect rect { 0, 0, 6, 4 };
    EXPECT_EQ(drawText(dc, "x abcdefgh", rect, drawTextWordBreak | drawTextNoPrefix), 4);
    EXPECT_TRUE(pixelsAre(surface, { "X...........", "X.X.X.......", "X.X.X.......", "X.X........." }, legend));
    // Narrower than one character: still one character per line.
    Rect thin { 0, 0, 1, 3 };
    EXPECT_EQ(drawText(dc, "abc", thin, drawTextWordBreak | drawTextCalcRect), 3);
    EXPECT_EQ(thin, (Rect { 0, 0, 2, 3 }));
}

TEST_F(DotFixture, CalcRectMeasuresWithoutDrawing)
{
    struct Case {
        const char* text;
        unsigned format;
        int width;
        int height;
    };
    const Case cases[] = {
        { "aa bb cc ddd", drawTextWordBreak, 10, 3 },
        { "aa bb cc ddd", 0, 24, 1 },
        { "a\r\nbb\rccc\nd", 0, 6, 4 }, // CR LF, CR and LF each end a line
        { "a\r\nbb\rccc\nd", drawTextSingleLine, 14, 1 }, // breaks left out on a single line
        { "a\n\nb", 0, 2, 3 }, // an empty line counts
        { "ab\n", 0, 4, 1 }, // a final break starts no line
        { "word    next", drawTextWordBreak, 8, 2 }, // spaces at the break belong to no line
        { "&File", 0, 8, 1 }, // the prefix mark takes no room
        { "&File", drawTextNoPrefix, 10, 1 },
    };
    for (const Case& c : cases) {
        Rect rect { 3, 5, 13, 100 };
        int height = drawText(dc, c.text, rect, c.format | drawTextCalcRect);
        EXPECT_EQ(height, c.height) << c.text;
        EXPECT_EQ(rect, (Rect { 3, 5, 3 + c.width, 5 + c.height })) << c.text << " " << c.format;
    }
    EXPECT_TRUE(pixelsAre(surface, { "............", "............", "............", "............" }, legend));
    Rect rect { 0, 0, 10, 10 };
    EXPECT_EQ(drawText(dc, "", rect, drawTextCalcRect), 0);
}

TEST_F(DotFixture, PrefixMarksUnderlineTheirCharacter)
{
    TestFontProvider provider({ .charWidth = 2, .ascent = 1, .descent = 1, .widths = {} });
    dc.selectFont(provider.createFont({}));
    Rect rect { 0, 0, 12, 4 };
    drawText(dc, "a&&b&cd", rect, 0);
    EXPECT_TRUE(pixelsAre(surface, { "X.X.X.X.X...", "......XX....", "............", "............" }, legend));
}

TEST_F(DotFixture, TextIsClippedToTheRectangleUnlessNoClip)
{
    Rect rect { 2, 0, 6, 2 };
    drawText(dc, "abcdef", rect, drawTextRight);
    Rect below { 2, 2, 6, 3 };
    drawText(dc, "abcdef", below, drawTextRight | drawTextNoClip);
    EXPECT_TRUE(pixelsAre(surface, { "..X.X.......", "............", "X.X.X.......", "............" }, legend));
    EXPECT_EQ(dc.clipBox(), surface.bounds());
}

TEST_F(DotFixture, SingleLineCentresVertically)
{
    Rect rect { 0, 0, 12, 4 };
    drawText(dc, "ab\ncd", rect, drawTextSingleLine | drawTextVCenter | drawTextCenter);
    Rect bottom { 0, 0, 4, 4 };
    drawText(dc, "e", bottom, drawTextSingleLine | drawTextBottom);
    EXPECT_TRUE(pixelsAre(surface, { "............", "..X.X.X.X...", "............", "X..........." }, legend));
}

TEST(TextOut, OpaqueBackgroundFillsTheCellAndStrokesFollowTheMetrics)
{
    gfx::Surface surface(9, 5);
    gfx::MemoryDc dc(surface);
    TestFontProvider provider({ .charWidth = 3, .ascent = 2, .descent = 2, .widths = {} });
    dc.selectFont(provider.createFont({ .face = {}, .underline = true }));
    dc.setTextColor(white);
    dc.setBkColor(red);
    EXPECT_EQ(dc.bkMode(), gfx::BkMode::Opaque);
    EXPECT_TRUE(textOut(dc, 1, 0, "a b"));
    EXPECT_TRUE(pixelsAre(surface, { ".XXrrrrXX", ".XXrrrrXX", ".XXXXXXXX", ".rrrrrrrr", "........." }, legend));
    EXPECT_EQ(textExtent(dc, "a b"), (gfx::Size { 9, 4 }));

    surface.fill(0);
    dc.selectFont(provider.createFont({ .face = {}, .strikeOut = true }));
    dc.setBkMode(gfx::BkMode::Transparent);
    textOut(dc, 0, 0, "ab");
    EXPECT_TRUE(pixelsAre(surface, { "XX.XX....", "XXXXXX...", ".........", ".........", "........." }, legend));

    dc.selectFont(nullptr);
    EXPECT_FALSE(textOut(dc, 0, 0, "a"));
    Rect rect { 0, 0, 5, 5 };
    EXPECT_EQ(drawText(dc, "a", rect, 0), 0);
}
