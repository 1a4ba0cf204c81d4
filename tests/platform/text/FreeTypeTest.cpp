#include "platform/gfx/MemoryDc.h"
#include "platform/text/FreeTypeFontProvider.h"
#include "platform/text/TextDraw.h"
#include "tests/support/Golden.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace platform;
using namespace platform::text;

TEST(FreeTypeFonts, ContentFacesResolveToTheirSubstitutes)
{
    FreeTypeFontProvider provider;
    struct Case {
        const char* face;
        int weight;
        bool italic;
        const char* family;
        const char* file;
    };
    const Case cases[] = {
        { "Arial", 400, false, "Liberation Sans", "LiberationSans-Regular.ttf" },
        { "arial", 700, false, "Liberation Sans", "LiberationSans-Bold.ttf" },
        { "Times New Roman", 400, true, "Liberation Serif", "LiberationSerif-Italic.ttf" },
        { "Courier New", 700, true, "Liberation Mono", "LiberationMono-BoldItalic.ttf" },
        { "MS Sans Serif", 400, false, "Liberation Sans", "LiberationSans-Regular.ttf" },
        { "System", 700, false, "Liberation Sans", "LiberationSans-Bold.ttf" },
        { "Verdana", 400, false, "Liberation Sans", "LiberationSans-Regular.ttf" },
        { "", 400, false, "Liberation Sans", "LiberationSans-Regular.ttf" },
    };
    for (const Case& c : cases) {
        ResolvedFace face = provider.resolveFace(c.face, c.weight, c.italic);
        EXPECT_EQ(face.family, c.family) << c.face;
        EXPECT_EQ(std::filesystem::path(face.path).filename(), c.file) << c.face;
        EXPECT_EQ(face.bold, c.weight >= 600) << c.face;
        EXPECT_EQ(face.italic, c.italic) << c.face;
    }
}

TEST(FreeTypeFonts, MetricsFollowTheHeightConvention)
{
    FreeTypeFontProvider provider;
    // 10 points at 96 dots per inch: a character height of 13 pixels.
    auto font = provider.createFont({ .face = "Arial", .height = -13, .weight = gfx::fontWeightNormal });
    const gfx::TextMetrics& m = font->metrics();
    EXPECT_EQ(m.height, m.ascent + m.descent);
    EXPECT_EQ(m.internalLeading, m.height - 13);
    EXPECT_GE(m.internalLeading, 1);
    EXPECT_GT(m.averageCharWidth, 3);
    EXPECT_LT(m.averageCharWidth, 9);
    EXPECT_GE(m.maxCharWidth, m.averageCharWidth);
    // A positive height is the whole cell.
    auto cell = provider.createFont({ .face = "Arial", .height = 16, .weight = gfx::fontWeightNormal });
    EXPECT_EQ(cell->metrics().height, 16);
    EXPECT_LT(cell->metrics().ascent, 16);
    // Bold is wider; the widths of a string add up from the advances.
    auto bold = provider.createFont({ .face = "Arial", .height = -13, .weight = gfx::fontWeightBold });
    EXPECT_EQ(bold->metrics().weight, gfx::fontWeightBold);
    EXPECT_GT(textExtent(*bold, "Wide words").width, textExtent(*font, "Wide words").width);
    EXPECT_EQ(textExtent(*font, "ab").width, font->glyph('a').advance + font->glyph('b').advance);
    // Windows-1252 letters have glyphs of their own: the euro sign is not the missing glyph.
    EXPECT_NE(font->glyph(0x80).bits, font->glyph(0x81).bits);
}

TEST(FreeTypeFonts, LiberationSansTenPointGolden)
{
    FreeTypeFontProvider provider;
    auto font = provider.createFont({ .face = "Arial", .height = -13, .weight = gfx::fontWeightNormal });
    // "Olá, ação! çÇ €" in Windows-1252.
    const std::string text = "Ol\xE1, a\xE7\xE3o! \xE7\xC7 \x80";
    gfx::Size size = textExtent(*font, text);
    gfx::Surface surface(size.width + 8, size.height + 4, 0xFFFFFF);
    gfx::MemoryDc dc(surface);
    dc.selectFont(font);
    dc.setTextColor(0);
    dc.setBkMode(gfx::BkMode::Transparent);
    ASSERT_TRUE(textOut(dc, 4, 2, text));
    for (int y = 0; y < surface.height(); ++y)
        for (int x = 0; x < surface.width(); ++x)
            ASSERT_TRUE(surface.pixel(x, y) == 0 || surface.pixel(x, y) == 0xFFFFFF) << "monochrome";
    EXPECT_TRUE(qel::test::matchesGolden(
        surface, (std::filesystem::path(QEL_TEST_DATA) / ".." / "platform" / "text" / "golden" / "liberation-sans-10pt.png").string()));
}
