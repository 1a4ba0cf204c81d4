// The slider: the low and high values kept apart by the range, the verbs and their bounds, the
// thumb drawn where its value puts it, a press that makes the thumb jump, the gap of a double
// slider dragged as one, and the guards of an empty range, a cramped track and a missing thumb.

#include "ScreenProbe.h"

#include "framework/runtime/Builtins.h"
#include "framework/ui/Factories.h"
#include "framework/ui/Perform.h"
#include "framework/ui/Slider.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr uint32_t thumbColour = 0x00FF00;
constexpr uint32_t barColour = 0xFF0000;

// A slider over (100, 50, 110, 16) with a 10 x 16 green thumb and a blue bar picture.
Slider* make(UiFixture&, qelValue& control, const std::string& extra)
{
    std::string text = "(table (\"Class\" \"Slider\") (\"Hot Spot\" (rect 100 50 110 16)) (\"Maximum\" 100)" + extra + ")";
    control = qelMakeControl(UiFixture::read(text.c_str()));
    auto* slider = dynamic_cast<Slider*>(qelControlOf(control));
    if (slider && !qelContainsKey(slider->properties, qelValue("NoThumb"))) {
        qelPut(control, "ThumbImage", solidImage(10, 16, thumbColour));
        qelPut(control, "BarImage", solidImage(200, 4, barColour));
    }
    return slider;
}

int32_t intOf(const qelValue& control, const char* verb)
{
    return qelIntValue(qelPerform(control, verb, qelNil));
}

} // namespace

TEST(Slider, LowAndHighKeepTheirRangeApart)
{
    UiFixture ui;
    struct Case {
        const char* extra;
        const char* verb;
        int32_t argument;
        int32_t low;
        int32_t high;
    } cases[] = {
        { "", "SetPos", 150, 100, 0 },
        { "", "SetPos", -5, 0, 0 },
        { "", "SetPos", 42, 42, 0 },
        { "(\"Double\" true) (\"Range\" 10) (\"Low\" 20) (\"High\" 30)", "SetLow", 25, 25, 35 },
        { "(\"Double\" true) (\"Range\" 10) (\"Low\" 20) (\"High\" 30)", "SetLow", 95, 90, 100 },
        { "(\"Double\" true) (\"Range\" 10) (\"Low\" 20) (\"High\" 30)", "SetLow", 15, 15, 30 },
        { "(\"Double\" true) (\"Range\" 10) (\"Low\" 20) (\"High\" 30)", "SetHigh", 5, 0, 10 },
        { "(\"Double\" true) (\"Range\" 10) (\"Low\" 20) (\"High\" 30)", "SetHigh", 25, 15, 25 },
        { "(\"Double\" true) (\"Range\" 10) (\"Low\" 20) (\"High\" 30)", "SetHigh", 250, 20, 100 },
    };
    for (const Case& c : cases) {
        qelValue control;
        make(ui, control, c.extra);
        qelPerform(control, c.verb, qelValue(c.argument));
        EXPECT_EQ(intOf(control, "GetLow"), c.low) << c.extra << " " << c.verb << " " << c.argument;
        EXPECT_EQ(intOf(control, "GetPos"), c.low);
        EXPECT_EQ(intOf(control, "GetHigh"), c.high) << c.extra << " " << c.verb << " " << c.argument;
    }
}

TEST(Slider, SettersBoundTheirArguments)
{
    UiFixture ui;
    qelValue control;
    make(ui, control, "(\"Vertical\" \"yes\")");
    struct Case {
        const char* set;
        const char* get;
        qelValue argument;
        int32_t stored;
    } cases[] = {
        { "SetIncrement", "GetIncrement", qelValue(-3), 1 },
        { "SetIncrement", "GetIncrement", qelValue(5), 5 },
        { "SetIncrement", "GetIncrement", qelValue(0), 0 },
        { "SetIncrement", "GetIncrement", qelValue(500), 100 },
        { "SetRange", "GetRange", qelValue(-3), 0 },
        { "SetRange", "GetRange", qelValue("7"), 7 },
        { "SetMinimum", "GetMinimum", qelValue(-20), -20 },
        { "SetMaximum", "GetMaximum", qelValue(300), 300 },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(qelPerform(control, c.set, c.argument), qelNil);
        EXPECT_EQ(intOf(control, c.get), c.stored) << c.set;
    }
    // A string beginning with "y" is true; the boolean setters store booleans.
    EXPECT_EQ(qelPerform(control, "IsVertical", qelNil), qelTrue);
    qelPerform(control, "SetDouble", qelValue(1));
    EXPECT_EQ(qelPerform(control, "IsDouble", qelNil), qelTrue);
}

TEST(Slider, APressMovesTheThumbUnderThePointer)
{
    UiFixture ui("down 155 58\nup 155 58\n");
    paintPattern(ui);
    qelValue control;
    Slider* slider = make(ui, control, "");
    slider->draw();
    EXPECT_EQ(ui.pixel(101, 58), thumbColour);
    EXPECT_EQ(slider->track(155, 58, 0, 1), 1);
    EXPECT_EQ(intOf(control, "GetPos"), 50);
    // Drawn with its left edge at the hot spot's left + 50, over the screen first grabbed.
    EXPECT_EQ(ui.pixel(150, 58), thumbColour);
    EXPECT_EQ(ui.pixel(149, 58), patternPixel(149, 58));
    EXPECT_EQ(ui.pixel(101, 58), patternPixel(101, 58));
}

TEST(Slider, TheGapDraggedPastTheEndKeepsItsWidth)
{
    // The gap between a low thumb at 20 and a high one at 50 is taken at x 145 and dragged far right.
    UiFixture ui("down 145 58\nmove 400 58\nup 400 58\n");
    paintPattern(ui);
    qelValue control;
    Slider* slider = make(ui, control, "(\"Double\" true) (\"Range\" 10) (\"Low\" 20) (\"High\" 50)");
    slider->draw();
    // The bar fills the gap between the low thumb's end (130) and the high thumb's start (150).
    EXPECT_EQ(ui.pixel(140, 57), pixelOf(barColour));
    EXPECT_EQ(ui.pixel(140, 52), patternPixel(140, 52));
    EXPECT_EQ(slider->thumbAt(145, 58), 3);
    EXPECT_EQ(slider->thumbAt(125, 58), 1);
    EXPECT_EQ(slider->thumbAt(155, 58), 2);
    EXPECT_EQ(slider->track(145, 58, 0, 1), 1);
    EXPECT_EQ(intOf(control, "GetHigh"), 100);
    EXPECT_EQ(intOf(control, "GetLow"), 70);
}

TEST(Slider, EmptyRangesCrampedTracksAndMissingThumbsDivideNothing)
{
    struct Case {
        const char* extra;
        int32_t low; // after a press at the middle of the track
    } cases[] = {
        // Minimum = Maximum: every pointer value is the minimum.
        { "(\"Minimum\" 100) (\"Double\" true) (\"Low\" 100) (\"High\" 100)", 100 },
        // A hot spot no longer than the thumb: the press changes nothing.
        { "(\"Hot Spot\" (rect 100 50 10 16)) (\"Low\" 7)", 7 },
        // Without a thumb picture nothing is drawn, and the whole hot spot is travel.
        { "(\"NoThumb\" true)", 50 },
    };
    for (const Case& c : cases) {
        UiFixture ui("down 155 58\nup 155 58\n");
        qelValue control;
        Slider* slider = make(ui, control, c.extra);
        slider->draw();
        slider->track(155, 58, 0, 1);
        EXPECT_EQ(intOf(control, "GetLow"), c.low) << c.extra;
    }
    UiFixture ui;
    qelValue control;
    Slider* slider = make(ui, control, "(\"Minimum\" 100) (\"Double\" true)");
    EXPECT_EQ(slider->thumbAt(155, 58), 0);
    EXPECT_TRUE(recordedErrors().empty());
}
