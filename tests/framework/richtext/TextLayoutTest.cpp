#include "framework/richtext/TextLayout.h"
#include "tests/framework/richtext/RichTextSupport.h"
#include "tests/framework/runtime/ErrorRecorder.h"

#include <gtest/gtest.h>

using namespace richtext_test;

namespace {

class TextLayout : public ::testing::Test {
protected:
    void SetUp() override { useTestFont(); }
    void TearDown() override { qelSetFontProvider(nullptr); }

    // Lays the text out in the region with the request's extra keys.
    qelValue layout(const std::string& text, const qelValue& region, const qelValue& extra = qelNil)
    {
        qelValue parsed = parse(text);
        qelValue request = qelTable(8, 100, 75);
        qelPut(request, qelValue("TextRuns"), qelGet(parsed, qelValue("TextRuns")));
        qelPut(request, qelValue("ListFonts"), qelGet(parsed, qelValue("ListFonts")));
        if (qelTableObject* t = qelTableOf(extra))
            for (int32_t slot = t->firstIndex(); slot >= 0; slot = t->nextIndex(slot))
                qelPut(request, t->keyAt(slot), t->valueAt(slot));
        return qelLayoutText(request, region);
    }

    static qelValue pages(const qelValue& result) { return qelGet(result, qelValue("Pages")); }
    static qelValue runs(const qelValue& result, int32_t page = 0) { return qelGet(qelGet(pages(result), page), 0); }
    static qelValue hot(const qelValue& result, int32_t page = 0) { return qelGet(qelGet(pages(result), page), 1); }
};

qelValue table(std::initializer_list<std::pair<const char*, qelValue>> entries)
{
    qelValue t = qelTable(8, 100, 75);
    for (auto& [key, value] : entries)
        qelPut(t, qelValue(key), value);
    return t;
}

} // namespace

// Runs are [x y text font fore back]; the first line's top is the region's top + 1; lines are 12
// pixels apart; characters 6 pixels wide.
TEST_F(TextLayout, LineBreaking)
{
    struct Case {
        const char* text;
        int32_t width;
        const char* runs;
    };
    const Case cases[] = {
        { "ab cd", 100, "[0 1 \"ab cd\" 0 1 -1]" },
        // Room for the first word and its space only: the second word starts the next line.
        { "aaa bbb", 24, "[0 1 \"aaa \" 0 1 -1] [0 13 \"bbb\" 0 1 -1]" },
        // A word wider than the line stands alone on the next line; the next piece follows below.
        { "aaaaaaaaaa bb", 30, "[0 13 \"aaaaaaaaaa \" 0 1 -1] [0 25 \"bb\" 0 1 -1]" },
        // Hyphens break too, and belong to the piece before the break.
        { "well-known", 36, "[0 1 \"well-\" 0 1 -1] [0 13 \"known\" 0 1 -1]" },
        { "a\\par b", 100, "[0 1 \"a\" 0 1 -1] [0 13 \"b\" 0 1 -1]" },
        // Characters given by code are runs of their own.
        { "x\\'e9", 100, "[0 1 \"x\" 0 1 -1] [6 1 \"\\xe9\" 0 1 -1]" },
        // Default tab stops every half inch from the line's origin, then beyond the pen.
        { "a\\tab b\\tab c\\tab d", 400,
            "[0 1 \"a\" 0 1 -1] [48 1 \"b\" 0 1 -1] [96 1 \"c\" 0 1 -1] [144 1 \"d\" 0 1 -1]" },
        { "\\tx1440 a\\tab b", 400, "[0 1 \"a\" 0 1 -1] [96 1 \"b\" 0 1 -1]" },
        // A right tab stop ends the next text at the stop.
        { "\\tqr\\tx1440 a\\tab bb", 400, "[0 1 \"a\" 0 1 -1] [84 1 \"bb\" 0 1 -1]" },
        // A right stop beyond the line's end ends the text at the line's end.
        { "\\tqr\\tx99999 a\\tab b", 100, "[0 1 \"a\" 0 1 -1] [94 1 \"b\" 0 1 -1]" },
        // A tab past the line's end breaks the line.
        { "abc\\tab d", 40, "[0 1 \"abc\" 0 1 -1] [0 13 \"d\" 0 1 -1]" },
        { "\\li1440 x", 400, "[96 1 \"x\" 0 1 -1]" },
        { "\\fi720 aa bb\\par cc", 66, "[48 1 \"aa \" 0 1 -1] [0 13 \"bb\" 0 1 -1] [48 25 \"cc\" 0 1 -1]" },
        // Indents never move text out of the area.
        { "\\fi-1440 x", 400, "[0 1 \"x\" 0 1 -1]" },
        { "\\li99999 x", 400, "[400 13 \"x\" 0 1 -1]" },
        // A centred piece wider than the line stays at the line's start.
        { "\\qc aaaaaaaaaa", 30, "[0 13 \"aaaaaaaaaa\" 0 1 -1]" },
        { "\\qc ab\\par\\pard cd", 100, "[44 1 \"ab\" 0 1 -1] [0 13 \"cd\" 0 1 -1]" },
        { "\\qr ab cd", 100, "[70 1 \"ab cd\" 0 1 -1]" },
        // The gap a tab leaves counts as used space.
        { "\\qr a\\tab b", 100, "[46 1 \"a\" 0 1 -1] [94 1 \"b\" 0 1 -1]" },
        // Links and struck text take the layout's colours.
        { "{\\uldb a}!\\{t\\}{\\strike b}", 100, "[0 1 \"a\" 0 255 -1] [6 1 \"b\" 0 -1 1]" },
    };
    ErrorRecorder errors;
    for (const Case& c : cases) {
        qelValue result = layout(c.text, qelRectValue(0, 0, c.width, 300));
        EXPECT_EQ(describeItems(runs(result)), c.runs) << c.text;
    }
    EXPECT_TRUE(errors.messages.empty());
}

TEST_F(TextLayout, HighResolutionScalesTwipsAndPictures)
{
    // At 300 dots per inch a pixel is 4 twips, so 1440 twips are 360 pixels; pictures grow 3 times.
    qelValue extra = table({ { "DPI", qelValue(300) } });
    qelValue result = layout("\\tx1440 a\\tab b", qelRectValue(0, 0, 1000, 1000), extra);
    EXPECT_EQ(describe(qelGet(runs(result), 1)), "[360 1 \"b\" 0 1 -1]");
    // Absurd resolutions do not divide by zero.
    for (int32_t dpi : { 0, -5, 1, 5000 }) {
        result = layout(
            "a\\tab b\\tx100 \\tab c{bmc p\\}", qelRectValue(0, 0, 1000, 1000), table({ { "DPI", qelValue(dpi) } }));
        EXPECT_EQ(qelCount(runs(result)), 3) << dpi;
    }
}

TEST_F(TextLayout, Pages)
{
    // Two page breaks in a row leave an empty page between.
    qelValue result = layout("a\\page\\page b", qelRectValue(0, 0, 100, 100));
    EXPECT_EQ(describeItems(pages(result)), "[[[0 1 \"a\" 0 1 -1]] []] [[] []] [[[0 0 \"b\" 0 1 -1]] []]");

    // Room for one line: a piece that must break to a full line opens the next page instead of
    // going below the text area.
    result = layout("aa bbbbbbbbbb", qelRectValue(0, 0, 30, 20));
    EXPECT_EQ(describeItems(pages(result)), "[[[0 1 \"aa \" 0 1 -1]] []] [[[0 0 \"bbbbbbbbbb\" 0 1 -1]] []]");
    for (int32_t p = 0; p < qelCount(pages(result)); ++p)
        for (int32_t r = 0; r < qelCount(runs(result, p)); ++r)
            EXPECT_LE(qelIntValue(qelGet(qelGet(runs(result, p), r), 1)) + 12, 20);

    // A title block is kept free on the first page only.
    qelValue extra = table({ { "Title", qelValue("T") }, { "TitleFont", qelFontValue(qelValue("Arial"), 16, 2) } });
    result = layout("a\\page b", qelRectValue(0, 0, 100, 100), extra);
    EXPECT_EQ(describe(runs(result, 0)), "[[0 16 \"a\" 0 1 -1]]");
    EXPECT_EQ(describe(runs(result, 1)), "[[0 0 \"b\" 0 1 -1]]");
}

TEST_F(TextLayout, LinksMarkersAndBoxes)
{
    qelValue result = layout("x {\\uldb marker}!\\{jump:Index\\} y {\\uldb marker}!\\{nocolon\\} "
                             "\\qc {\\uldb go}!\\{jump:Go\\}\\par\\box3 z",
        qelRectValue(10, 20, 100, 300));
    qelValue markers = qelGet(result, qelValue("Markers"));
    EXPECT_EQ(qelCount(markers), 1);
    EXPECT_EQ(describe(qelGet(markers, qelValue("Index"))), "\"0\"");
    // Centring applies to the line the \qc is on; the link's hot area moves with its text.
    EXPECT_EQ(describe(hot(result)), "[[(rect 72 21 12 12) \"jump:Go\"]]");
    EXPECT_EQ(describe(qelGet(runs(result), 3)), "[72 21 \"go\" 0 255 -1]");
    // Three boxes stacked down from the line's top.
    EXPECT_EQ(describe(qelGet(result, qelValue("Boxes"))),
        "[[(rect 10 33 100 12) 0] [(rect 10 45 100 12) 0] [(rect 10 57 100 12) 0]]");
    result = layout("\\box0 a", qelRectValue(0, 0, 100, 100), table({}));
    EXPECT_EQ(qelCount(qelGet(result, qelValue("Boxes"))), 1);
    result = layout("\\box0 a", qelRectValue(0, 0, 100, 100), table({ { "NoBoxes", qelTrue } }));
    EXPECT_EQ(qelCount(qelGet(result, qelValue("Boxes"))), 0);
}

TEST_F(TextLayout, Pictures)
{
    qelValue images = qelTable(4, 100, 75);
    qelPut(images, qelValue("tall.bmp"), qelListOf({ qelNil, qelValue(30), qelValue(40) }));
    qelPut(images, qelValue("flag.bmp"), qelListOf({ qelNil, qelValue(20), qelValue(10) }));
    qelValue extra = table({ { "Images", images } });

    // A tall {img} picture floats: lines start right of it until they have passed it.
    std::string words;
    for (int i = 0; i < 12; ++i)
        words += "ab ";
    qelValue result = layout("{img Tall.bmp\\}" + words, qelRectValue(0, 0, 63, 300), extra);
    EXPECT_EQ(describe(qelGet(qelGet(result, qelValue("Bitmaps")), 0)), "[(rect 0 6 33 50) [nil 30 40] 0]");
    std::string lefts;
    for (int32_t r = 0; r < qelCount(runs(result)); ++r)
        lefts += std::to_string(qelIntValue(qelGet(qelGet(runs(result), r), 0))) + " ";
    // (A piece that must break stands alone at the start of its line.)
    EXPECT_EQ(lefts, "33 33 33 33 33 0 18 0 18 0 ");

    // A linked picture gets the picture's rectangle as its hot area.
    result = layout("{\\uldb \\{img flag.bmp\\}}!\\{open\\}", qelRectValue(0, 0, 100, 100), extra);
    EXPECT_EQ(describe(hot(result)), "[[(rect 0 3 20 10) \"open\"]]");

    // Missing pictures are skipped, showing their alternative text when they have one; so are
    // all pictures with NoBitmaps.
    result = layout("{bmc none.bmp;Alt\\}{bmc none.bmp\\}x", qelRectValue(0, 0, 100, 100), extra);
    EXPECT_EQ(describeItems(runs(result)), "[0 1 \"Alt\" 0 1 -1] [18 1 \"x\" 0 1 -1]");
    extra = table({ { "Images", images }, { "NoBitmaps", qelTrue } });
    result = layout("{bmc flag.bmp;Flag\\}{bmc flag.bmp\\}", qelRectValue(0, 0, 100, 100), extra);
    EXPECT_EQ(describeItems(runs(result)), "[0 1 \"Flag\" 0 1 -1]");
    EXPECT_EQ(qelCount(qelGet(result, qelValue("Bitmaps"))), 0);
}

TEST_F(TextLayout, PolygonRegionKeepsLinesInside)
{
    // A triangle-like area narrowing downwards: every run stays inside it on both of its rows.
    const int32_t xy[] = { 0, 0, 200, 0, 20, 200, 0, 200 };
    qelValue region = qelPolygonValue(xy, 4);
    std::string text;
    for (int i = 0; i < 60; ++i)
        text += "ab ";
    qelValue result = layout(text, region);
    int32_t placed = 0;
    for (int32_t p = 0; p < qelCount(pages(result)); ++p) {
        for (int32_t r = 0; r < qelCount(runs(result, p)); ++r) {
            qelValue run = qelGet(runs(result, p), r);
            int32_t x = qelIntValue(qelGet(run, 0));
            int32_t y = qelIntValue(qelGet(run, 1));
            int32_t right = x + 6 * qelCount(qelGet(run, 2)) - 6; // the trailing blank may overhang
            EXPECT_TRUE(qelContainsPoint(region, x, y + 1) && qelContainsPoint(region, right, y + 11)) << describe(run);
            ++placed;
        }
    }
    EXPECT_GT(placed, 5);
}

TEST_F(TextLayout, BadItemsAreReported)
{
    ErrorRecorder errors;
    qelValue request = qelTable(4, 100, 75);
    qelPut(request, qelValue("ListFonts"), qelListOf({ qelFontValue(qelValue("Arial"), 10, 0) }));
    qelPut(request, qelValue("TextRuns"),
        qelListOf({ qelValue(4), qelValue(99), qelListOf({ qelValue(3) }), qelListOf({ qelValue(23) }), qelValue("x"),
            qelListOf({ qelValue(2), qelValue("ok") }) }));
    qelValue result = qelLayoutText(request, qelRectValue(0, 0, 100, 100));
    EXPECT_EQ(errors.messages, std::vector<std::string>(5, "Unknown Intermediate Parse Type"));
    EXPECT_EQ(describeItems(qelGet(result, qelValue("Pages"))), "[[[0 1 \"ok\" 0 1 -1]] []]");
}

TEST_F(TextLayout, CommonBaselineForMixedFonts)
{
    // A measurer whose ascent is the font's size: smaller text moves down to the tallest's baseline.
    class SizeMeasurer final : public qelTextMeasurer {
    public:
        qelFontMeasures selectFont(const qelValue& font) override
        {
            qelFontMeasures m;
            m.ascent = qelFontSize(font);
            m.descent = 2;
            m.maxCharWidth = 6;
            return m;
        }
        int32_t width(const char*, int32_t length) override { return 6 * length; }
    } measurer;
    qelValue parsed = parse("a{\\fs40 B}c");
    qelValue request = qelTable(4, 100, 75);
    qelPut(request, qelValue("TextRuns"), qelGet(parsed, qelValue("TextRuns")));
    qelPut(request, qelValue("ListFonts"), qelGet(parsed, qelValue("ListFonts")));
    qelValue result = qelLayoutTextWith(request, qelRectValue(0, 0, 100, 100), measurer);
    EXPECT_EQ(describeItems(runs(result)), "[0 11 \"a\" 0 1 -1] [6 1 \"B\" 1 1 -1] [12 11 \"c\" 0 1 -1]");
}
