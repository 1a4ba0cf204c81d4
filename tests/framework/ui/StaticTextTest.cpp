// The static text: where its text goes in the region (alignments, wrapping), its font and
// colours, the screen it keeps and puts back, and the verbs that change its text. The test font
// draws every character as a solid 5 x 8 box in a 6 x 10 cell.

#include "PressProbe.h"

#include "framework/display/Font.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/MakerHooks.h"
#include "framework/runtime/Resource.h"
#include "framework/ui/Perform.h"
#include "framework/ui/StaticText.h"

#include <gtest/gtest.h>

namespace {

constexpr uint32_t ink = 0x0000FF; // red

qelValue label(const std::string& extra)
{
    std::string text = "(table (\"TextRegion\" (rect 100 100 60 40)) (\"Foreground Color\" 255)" + extra + ")";
    qelValue control = qelControlValue(new StaticText(UiFixture::read(text.c_str())));
    qelControlOf(control)->initialize();
    return control;
}

bool inked(UiFixture& ui, int x, int y)
{
    return ui.pixel(x, y) == pixelOf(ink);
}

} // namespace

TEST(StaticText, AlignmentsPlaceTheTextInItsRegion)
{
    struct Case {
        const char* data;
        int left; // the first glyph's top-left corner
        int top;
    } cases[] = {
        { "(\"Text\" \"AA\")", 100, 100 },
        { "(\"Text\" \"AA\") (\"Align\" \"Right\")", 148, 100 },
        { "(\"Text\" \"AA\") (\"Align\" \"Center\")", 124, 100 },
        { "(\"Text\" \"AA\") (\"Align\" \"Other\") (\"VAlign\" \"Other\")", 100, 100 },
        { "(\"Text\" \"AA\") (\"VAlign\" \"Bottom\")", 100, 130 },
        { "(\"Text\" \"AA\") (\"VAlign\" \"Center\")", 100, 115 },
        // Two lines at the bottom: the last line's cell ends at the region's bottom edge.
        { "(\"Text\" \"AAAAA BBBBB\") (\"VAlign\" \"Bottom\")", 100, 120 },
        // Five lines (50 pixels) centred in a region 40 high start 5 pixels above it.
        { "(\"Text\" \"AAAAA BBBBB CCCCC DDDDD EEEEE\") (\"VAlign\" \"Center\")", 100, 95 },
        // Without "Text" the name is drawn.
        { "(\"Name\" \"Rotulo\")", 100, 100 },
    };
    for (const Case& c : cases) {
        UiFixture ui;
        paintPattern(ui);
        qelValue control = label(c.data);
        qelPerform(control, "Draw", qelNil);
        EXPECT_TRUE(inked(ui, c.left, c.top)) << c.data;
        EXPECT_TRUE(inked(ui, c.left + 4, c.top + 7)) << c.data;
        EXPECT_FALSE(inked(ui, c.left - 1, c.top)) << c.data;
        EXPECT_FALSE(inked(ui, c.left, c.top - 1)) << c.data;
        EXPECT_TRUE(recordedErrors().empty()) << c.data;
    }
}

TEST(StaticText, SavedBackgroundMakesChangedAndClearedTextLeaveNoTrace)
{
    UiFixture ui;
    paintPattern(ui);
    std::vector<uint32_t> before = screenCopy(ui);
    qelValue control = label("(\"Text\" \"AAAA\") (\"Save Background\" true)");
    qelPerform(control, "Draw", qelNil);
    EXPECT_TRUE(inked(ui, 119, 100));
    qelPerform(control, "SetText", "B");
    EXPECT_TRUE(inked(ui, 100, 100));
    EXPECT_EQ(ui.pixel(119, 100), patternPixel(119, 100));
    // "ClearText" shows the background at once and leaves one blank as the text.
    qelPerform(control, "ClearText", qelNil);
    EXPECT_EQ(firstDifference(screenCopy(ui), before), "");
    EXPECT_TRUE(qelPerform(control, "GetText", qelNil) == " ");

    // Hidden, a draw puts the background back and draws nothing.
    qelPerform(control, "SetText", "CC");
    drawHidden(control, true);
    EXPECT_EQ(firstDifference(screenCopy(ui), before), "");

    // "DiscardBK" forgets the background: the text stays when the label is hidden and drawn.
    drawHidden(control, false);
    qelPerform(control, "DiscardBK", qelNil);
    drawHidden(control, true);
    EXPECT_TRUE(inked(ui, 100, 100));
}

TEST(StaticText, ColoursFontAndCursorComeFromTheData)
{
    UiFixture ui;
    paintPattern(ui);
    // Transparent by default: the screen shows between the glyphs.
    qelValue plain = label("(\"Text\" \"A A\")");
    qelPerform(plain, "Draw", qelNil);
    EXPECT_EQ(ui.pixel(107, 102), patternPixel(107, 102));
    // An opaque background, a colour given as a numeric text; a list where a colour belongs is
    // no colour.
    qelValue opaque = label("(\"Text\" \"A A\") (\"Background Color\" 16777215) (\"Foreground Color\" \"65280\")");
    qelPerform(opaque, "Draw", qelNil);
    EXPECT_EQ(ui.pixel(107, 102), 0xFFFFFFu);
    EXPECT_EQ(ui.pixel(101, 102), pixelOf(0x00FF00));
    qelValue odd = label("(\"Text\" \"A\") (\"Background Color\" (list 1 2))");
    qelPerform(odd, "Draw", qelNil);
    EXPECT_EQ(dynamic_cast<StaticText*>(qelControlOf(odd))->backgroundColor, -1);
    EXPECT_TRUE(recordedErrors().empty());

    // "Bold" shapes only the default font; a given font is used unchanged.
    qelValue given = qelFontValue("Arial", 12, 0);
    qelValue boldGiven = label("(\"Text\" \"A\") (\"Bold\" true)");
    qelPut(boldGiven, "Font", given);
    qelPerform(boldGiven, "Initialize", qelNil);
    EXPECT_TRUE(dynamic_cast<StaticText*>(qelControlOf(boldGiven))->font == given);
    qelValue boldDefault = label("(\"Text\" \"A\") (\"Bold\" true) (\"Underline\" true)");
    EXPECT_EQ(qelFontStyle(dynamic_cast<StaticText*>(qelControlOf(boldDefault))->font), 6);

    // The hand over a label with a hot spot, the arrow (nil) over one without.
    EXPECT_TRUE(qelControlOf(plain)->getCursor().isNil());
    qelValue clickable = label("(\"Text\" \"A\") (\"Hot Spot\" (rect 100 100 60 40))");
    EXPECT_TRUE(qelControlOf(clickable)->getCursor() == qelLoadResource("HandCursor"));
}

TEST(StaticText, ATextMapIsDrawnFromItsOwnLayout)
{
    UiFixture ui;
    paintPattern(ui);
    // One run "AB" 20 pixels right and 10 down of the region's corner, in its own colour (green).
    qelValue run = qelListOf({ 20, 10, "AB", 0, 0x00FF00 });
    qelValue pages = qelListOf({ qelListOf({ qelListOf({ run }), qelNil }) });
    qelValue map = qelMakers().textMapValue(60, 40, qelListOf({ qelFontValue("Arial", 8, 0) }), pages);
    qelValue control = label("(\"Align\" \"Right\")");
    qelPerform(control, "SetText", map);
    EXPECT_EQ(ui.pixel(120, 110), pixelOf(0x00FF00));
    EXPECT_EQ(ui.pixel(119, 110), patternPixel(119, 110));
    // Any other kind of text draws nothing, without a message.
    qelPerform(control, "SetText", qelListOf({ 1 }));
    EXPECT_TRUE(recordedErrors().empty());
}
