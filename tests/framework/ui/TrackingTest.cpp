// A pressed control follows the mouse in its own loop over drag and button-up events: leaving
// the hot spot draws it normal, coming back draws it pressed, and the release reports whether the
// pointer was last inside. Input comes from a headless script.

#include "UiFixture.h"

#include "framework/display/ContextImage.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Environment.h"
#include "framework/runtime/List.h"
#include "framework/runtime/Resource.h"
#include "framework/ui/Button.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/FormObject.h"
#include "framework/ui/MediaControlObject.h"
#include "platform/gfx/Dc.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> steps;

class RecordingControl : public qelMediaControlObject {
public:
    using qelMediaControlObject::qelMediaControlObject;
    void draw() override { steps.push_back("normal"); }
    void drawPressed() override { steps.push_back("pressed"); }
    void trackChanged() override { steps.push_back("changed"); }
};

// A form whose handled controls are counted.
class CountingForm : public qelFormObject {
public:
    using qelFormObject::qelFormObject;
    void handleControl(const qelValue&) override { steps.push_back("handled"); }
};

qelValue formWith(qelControlObject* control)
{
    auto* form = new CountingForm(qelNil);
    form->controls = qelListOf({ qelControlValue(control) });
    qelValue value = qelFormValue(form);
    qelSetActiveForm(value);
    return value;
}

const char* spot = "(table (\"Hot Spot\" (rect 10 10 40 40)))";

} // namespace

TEST(Tracking, LeavingAndReenteringRedrawsAndReportsInside)
{
    struct Case {
        const char* script;
        std::vector<std::string> expected;
    } cases[] = {
        { "down 20 20\nup 20 20\n", { "pressed", "normal", "handled" } },
        { "down 20 20\nmove 200 200\nmove 25 25\nmove 30 30\nup 30 30\n",
            { "pressed", "normal", "changed", "pressed", "changed", "changed", "normal", "handled" } },
        { "down 20 20\nmove 200 200\nup 200 200\n", { "pressed", "normal", "changed" } },
    };
    for (const Case& c : cases) {
        UiFixture ui(c.script);
        steps.clear();
        qelValue form = formWith(new RecordingControl(UiFixture::read(spot)));
        ui.runScript();
        EXPECT_EQ(steps, c.expected) << c.script;
    }
}

TEST(Tracking, AButtonShowsItsDownImageOnlyWhileThePointerIsInside)
{
    UiFixture ui("down 20 20\nmove 200 200\nmove 25 25\nup 25 25\n");
    // Up is red, down is green: 40 x 40 pictures at the hot spot's corner.
    auto picture = [](platform::gfx::ColorRef colour) {
        qelValue image = qelMakeContext(qelListOf({ 40, 40 }));
        platform::gfx::Brush brush;
        brush.color = colour;
        dynamic_cast<qelContextImageObject*>(image.object())
            ->dc()
            ->fillRect(platform::gfx::Rect::fromSize(0, 0, 40, 40), brush);
        return image;
    };
    qelValue data = UiFixture::read(spot);
    qelPut(data, "UpImage", picture(0x0000FF));
    qelPut(data, "DownImage", picture(0x00FF00));
    std::vector<uint32_t> seen;
    class Probe : public Button {
    public:
        Probe(const qelValue& data, UiFixture& ui, std::vector<uint32_t>& seen)
            : Button(data)
            , m_ui(ui)
            , m_seen(seen)
        {
        }
        void trackStart() override { m_seen.push_back(m_ui.pixel(30, 30)); }
        void trackChanged() override { m_seen.push_back(m_ui.pixel(30, 30)); }
        void trackEnd() override { m_seen.push_back(m_ui.pixel(30, 30)); }

    private:
        UiFixture& m_ui;
        std::vector<uint32_t>& m_seen;
    };
    steps.clear();
    qelValue form = formWith(new Probe(data, ui, seen));
    qelFormOf(form)->drawControls();
    EXPECT_EQ(ui.pixel(30, 30), 0xFF0000u);
    ui.runScript();
    EXPECT_EQ(seen, (std::vector<uint32_t> { 0x00FF00, 0xFF0000, 0x00FF00, 0xFF0000 }));
    EXPECT_EQ(steps, (std::vector<std::string> { "handled" }));
}
