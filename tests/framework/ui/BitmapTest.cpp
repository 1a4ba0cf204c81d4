// The bitmap (whole, clipped or stretched, the screen it keeps, the double click it remembers)
// and the hot spot that can count a press at once.

#include "PressProbe.h"

#include "framework/display/ContextImage.h"
#include "framework/runtime/Builtins.h"
#include "framework/ui/Bitmap.h"
#include "framework/ui/HotSpot.h"
#include "framework/ui/Perform.h"

#include <gtest/gtest.h>

namespace {

constexpr uint32_t red = 0x0000FF;
constexpr uint32_t green = 0x00FF00;

// 20 x 20: red, with a green right half.
qelValue twoColourImage()
{
    qelValue image = solidImage(20, 20, red);
    platform::gfx::Brush brush;
    brush.color = green;
    dynamic_cast<qelContextImageObject*>(image.object())
        ->dc()
        ->fillRect(platform::gfx::Rect::fromSize(10, 0, 10, 20), brush);
    return image;
}

qelValue bitmap(const char* extra)
{
    qelValue data = UiFixture::read((std::string("(table (\"X\" 100) (\"Y\" 100)") + extra + ")").c_str());
    qelPut(data, "Image", twoColourImage());
    return qelControlValue(new Bitmap(data));
}

} // namespace

TEST(Bitmap, WholeClippedOrStretched)
{
    struct Case {
        const char* data;
        std::vector<std::pair<int, uint32_t>> row; // x on row 105, colour
    } cases[] = {
        { "", { { 105, red }, { 115, green }, { 120, 0 } } },
        // "W" alone switches to stretching: 40 wide, the red half 20 wide.
        { "(\"W\" 40)", { { 115, red }, { 125, green }, { 139, green }, { 140, 0 } } },
        // Clipped from the source corner (10, 0): only green.
        { "(\"W\" 10) (\"H\" 10) (\"ClipImage\" true) (\"SrcX\" 10)", { { 100, green }, { 109, green }, { 110, 0 } } },
        // "ClipImage" counts only as the boolean true: a string stretches.
        { "(\"W\" 10) (\"H\" 10) (\"ClipImage\" \"true\")", { { 104, red }, { 105, green }, { 110, 0 } } },
        // A source corner past the picture's edge shows nothing of it and reads nothing outside.
        { "(\"W\" 10) (\"H\" 10) (\"ClipImage\" true) (\"SrcX\" 500)", { { 100, 0 }, { 109, 0 } } },
    };
    for (const Case& c : cases) {
        UiFixture ui;
        qelValue control = bitmap(c.data);
        qelPerform(control, "Draw", qelNil);
        for (auto [x, colour] : c.row)
            EXPECT_EQ(ui.pixel(x, 105), pixelOf(colour)) << c.data << " at " << x;
    }
}

TEST(Bitmap, SavedBackgroundComesBackWhenHiddenUnlessDiscarded)
{
    UiFixture ui;
    paintPattern(ui);
    std::vector<uint32_t> before = screenCopy(ui);
    qelValue control = bitmap("(\"Save Background\" true)");
    qelPerform(control, "Draw", qelNil);
    EXPECT_EQ(ui.pixel(105, 105), pixelOf(red));
    drawHidden(control, true);
    EXPECT_EQ(firstDifference(screenCopy(ui), before), "");
    // Shown again it saves the screen anew (here, the same pattern) before drawing.
    drawHidden(control, false);
    qelPerform(control, "DiscardBK", qelNil);
    drawHidden(control, true);
    EXPECT_EQ(ui.pixel(105, 105), pixelOf(red));
}

TEST(Bitmap, RemembersWhetherTheLastPressWasADoubleClick)
{
    // Two presses 100 ms and 2 pixels apart, then one a second later.
    UiFixture ui("click 105 105\nwait 100\ndown 107 105\nup 107 105\nwait 1000\nclick 105 105\n");
    qelValue data = UiFixture::read("(table (\"X\" 100) (\"Y\" 100) (\"Hot Spot\" (rect 100 100 20 20)))");
    qelPut(data, "Image", twoColourImage());
    class Recording : public Bitmap {
    public:
        using Bitmap::Bitmap;
        int32_t track(int32_t x, int32_t y, int32_t modifiers, int32_t clicks) override
        {
            int32_t result = Bitmap::track(x, y, modifiers, clicks);
            answers.push_back(qelIsTrue(perform(qelValue("dblClicked"), qelNil)));
            return result;
        }
        std::vector<bool> answers;
    };
    auto* control = new Recording(data);
    qelValue form;
    HandlingForm* handling = currentFormWith({ qelControlValue(control) }, form);
    ui.runScript();
    EXPECT_EQ(control->answers, (std::vector<bool> { false, true, false }));
    EXPECT_EQ(handling->handled, 3);
}

TEST(HotSpot, ReleaseOnMouseDownCountsThePressBeforeTheRelease)
{
    // The button-up comes after the control was handled: a press that counts at once leaves it
    // queued, a followed press takes it.
    for (bool atOnce : { true, false }) {
        UiFixture ui("down 15 15\nmove 300 300\nup 300 300\n");
        std::string text = std::string("(table (\"Hot Spot\" (rect 10 10 20 20)) (\"ReleaseOnMouseDown\" ")
            + (atOnce ? "true" : "false") + "))";
        qelValue form;
        HandlingForm* handling
            = currentFormWith({ qelControlValue(new HotSpot(UiFixture::read(text.c_str()))) }, form);
        ui.runScript();
        EXPECT_EQ(handling->handled, atOnce ? 1 : 0) << atOnce;
    }
}
