// The check box: a state kept in the control alone, the box drawn by state, the label beside it,
// and a press that toggles the state only when released inside.

#include "PressProbe.h"

#include "framework/runtime/Builtins.h"
#include "framework/ui/CheckBox.h"
#include "framework/ui/Perform.h"

#include <gtest/gtest.h>

namespace {

constexpr uint32_t on = 0x00FF00;
constexpr uint32_t off = 0x0000FF;

// A 20 x 20 box at the hot spot (100, 10, 200, 20), its label text "Som".
qelValue checkData(const char* extra = "")
{
    qelValue data = UiFixture::read(
        (std::string("(table (\"Hot Spot\" (rect 100 10 200 20)) (\"Text\" \"Som\") (\"Selected\" true)") + extra + ")")
            .c_str());
    qelPut(data, "SelectedImage", solidImage(20, 20, on));
    qelPut(data, "DeselectedImage", solidImage(20, 20, off));
    return data;
}

bool selected(const qelValue& control)
{
    return qelIsTrue(qelPerform(control, "IsSelected", qelNil));
}

} // namespace

TEST(CheckBox, TheStateLivesInTheControlAndSelectDrawsOnlyOnceSetUp)
{
    UiFixture ui;
    paintPattern(ui);
    auto* box = new CheckBox(checkData());
    qelValue control = qelControlValue(box);
    // "Selected" in the data is not read: every check box starts deselected.
    EXPECT_FALSE(selected(control));
    // Before the first draw "Select" stores the state and draws nothing.
    qelPerform(control, "Select", qelTrue);
    EXPECT_TRUE(selected(control));
    EXPECT_EQ(ui.pixel(105, 15), patternPixel(105, 15));
    box->draw();
    EXPECT_EQ(ui.pixel(105, 15), pixelOf(on));
    qelPerform(control, "Select", qelFalse);
    EXPECT_EQ(ui.pixel(105, 15), pixelOf(off));
    // "SelectDontDraw" changes the answer, not the screen.
    qelPerform(control, "SelectDontDraw", qelTrue);
    EXPECT_TRUE(selected(control));
    EXPECT_EQ(ui.pixel(105, 15), pixelOf(off));
    // The media layer's verb is not answered.
    qelPut(control, "Help", "ajuda");
    EXPECT_TRUE(qelPerform(control, "getHelpString", qelNil).isNil());
}

TEST(CheckBox, APressTogglesOnlyWhenReleasedInside)
{
    struct Case {
        const char* script;
        bool toggled;
        std::vector<uint32_t> seen;
    } cases[] = {
        { "down 105 15\nup 105 15\n", true, { on, on } },
        { "down 105 15\nmove 105 100\nup 105 100\n", false, { on, off, off } },
        { "down 105 15\nmove 105 100\nmove 110 12\nup 110 12\n", true, { on, off, on, on } },
        { "down 105 15\nmove 110 12\nup 400 400\n", false, { on, on, off, off } },
    };
    for (const Case& c : cases) {
        UiFixture ui(c.script);
        auto* box = new Probing<CheckBox>(checkData("(\"Sound\" \"clique\")"), ui, 105, 15);
        qelValue form;
        HandlingForm* handling = currentFormWith({ qelControlValue(box) }, form);
        ui.runScript();
        std::vector<uint32_t> want = pixelsOf(c.seen);
        EXPECT_EQ(box->seen, want) << c.script;
        EXPECT_EQ(box->selected, c.toggled ? 1 : 0) << c.script;
        EXPECT_EQ(handling->handled, c.toggled ? 1 : 0) << c.script;
        EXPECT_EQ(ui.pixel(105, 15), pixelOf(c.toggled ? on : off)) << c.script;
    }
}

TEST(CheckBox, TheLabelFollowsTheBoxAndADisabledBoxShowsTheScreen)
{
    UiFixture ui;
    paintPattern(ui);
    // A 30-pixel box in a hot spot at left 100, width 200: the label at 135, 165 wide.
    qelValue data = UiFixture::read("(table (\"Hot Spot\" (rect 100 10 200 30)) (\"Text\" \"Som\")"
                                    " (\"SelectedX\" 400) (\"ForegroundColor\" 255))");
    qelPut(data, "SelectedImage", solidImage(30, 30, on));
    auto* box = new CheckBox(data);
    qelValue control = qelControlValue(box);
    box->draw();
    EXPECT_EQ(box->labelX, 135);
    EXPECT_EQ(box->labelWidth, 165);
    // "SelectedX" moves the box, not the label; a deselected box without its picture is the
    // screen that was under it.
    EXPECT_EQ(box->boxX, 400);
    EXPECT_EQ(ui.pixel(410, 20), patternPixel(410, 20));
    // The label's first glyph (a solid box of the test font) in the foreground colour.
    EXPECT_EQ(ui.pixel(136, 12), pixelOf(255));
    qelPerform(control, "Select", qelTrue);
    EXPECT_EQ(ui.pixel(410, 20), pixelOf(on));
    qelPut(control, "Disabled", qelTrue);
    box->draw();
    EXPECT_EQ(ui.pixel(410, 20), patternPixel(410, 20));
    EXPECT_EQ(ui.pixel(136, 12), pixelOf(255));
}

TEST(CheckBox, AMaskedBoxNeverShowsTheOtherStateThroughIt)
{
    UiFixture ui;
    paintPattern(ui);
    qelValue data = checkData();
    // The mask's white left half keeps the screen; its black right half shows the box.
    qelValue mask = solidImage(20, 20, 0xFFFFFF);
    dynamic_cast<qelContextImageObject*>(mask.object())
        ->dc()
        ->fillRect(platform::gfx::Rect::fromSize(10, 0, 10, 20), platform::gfx::Brush { 0 });
    qelPut(data, "Mask", mask);
    auto* box = new CheckBox(data);
    qelValue control = qelControlValue(box);
    box->draw();
    qelPerform(control, "Select", qelTrue);
    EXPECT_EQ(ui.pixel(115, 15), pixelOf(on));
    EXPECT_EQ(ui.pixel(105, 15), patternPixel(105, 15));
    qelPerform(control, "Select", qelFalse);
    EXPECT_EQ(ui.pixel(115, 15), pixelOf(off));
    EXPECT_EQ(ui.pixel(105, 15), patternPixel(105, 15));
}

TEST(CheckBox, WithoutPicturesItDrawsOnlyItsLabel)
{
    UiFixture ui;
    paintPattern(ui);
    auto* box = new CheckBox(UiFixture::read("(table (\"Hot Spot\" (rect 100 10 200 20)) (\"Text\" \"Som\"))"));
    qelValue control = qelControlValue(box);
    box->draw();
    EXPECT_EQ(box->labelX, 105);
    EXPECT_EQ(ui.pixel(100, 10), patternPixel(100, 10));
    EXPECT_EQ(ui.pixel(106, 12), pixelOf(1));
    EXPECT_TRUE(recordedErrors().empty());
}
