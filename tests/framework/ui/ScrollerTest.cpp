// The scroller: its knob placed from the value and the value read back from the knob, the verbs,
// the guards of an empty range and of a knob with no room, the arrow and page repeats on the
// framework timer, the knob dragged, and the parts drawn where the arithmetic puts them.

#include "ScreenProbe.h"

#include "framework/runtime/Builtins.h"
#include "framework/runtime/Environment.h"
#include "framework/runtime/List.h"
#include "framework/ui/Factories.h"
#include "framework/ui/FormObject.h"
#include "framework/ui/Perform.h"
#include "framework/ui/Scroller.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Notice {
    uint32_t time;
    int32_t value;
};

// A form that records what its scroller reports.
class RecordingForm : public qelFormObject {
public:
    using qelFormObject::qelFormObject;
    void handleControl(const qelValue& control) override
    {
        notices.push_back({ qelClockNow(), qelIntValue(qelGet(control, "Value")) });
    }
    std::vector<Notice> notices;
};

// A vertical scroller over (10, 10, 20, 120): arrows of 10, a knob of 10, so the knob travels
// from y 20 to y 110 (90 pixels).
std::string data(const std::string& extra)
{
    return "(table (\"Class\" \"Scroller\") (\"Hot Spot\" (rect 10 10 20 120)) (\"ButtHeight\" 10) (\"KnobHeight\" 10)"
        + extra + ")";
}

Scroller* make(qelValue& control, const std::string& extra)
{
    control = qelMakeControl(UiFixture::read(data(extra).c_str()));
    auto* scroller = dynamic_cast<Scroller*>(qelControlOf(control));
    if (scroller)
        scroller->initialize();
    return scroller;
}

RecordingForm* formWith(const qelValue& control, qelValue& formValue)
{
    auto* form = new RecordingForm(qelNil);
    form->controls = qelListOf({ control });
    formValue = qelFormValue(form);
    qelSetActiveForm(formValue);
    return form;
}

} // namespace

TEST(Scroller, KnobAndValueFollowEachOther)
{
    UiFixture ui;
    struct Case {
        const char* extra;
        const char* verb;
        int32_t argument;
        int32_t value;
        int32_t knobTop;
    } cases[] = {
        { "(\"Max\" 100)", "Home", 0, 0, 20 },
        { "(\"Max\" 100)", "End", 0, 100, 110 },
        { "(\"Max\" 100)", "SetValue", 150, 100, 110 },
        { "(\"Max\" 100)", "SetValue", -5, 0, 20 },
        { "(\"Min\" 10) (\"Max\" 20)", "Home", 0, 10, 20 },
        // Half way along the travel; the estimate is corrected until the knob reads back 15.
        { "(\"Min\" 10) (\"Max\" 20)", "SetValue", 15, 15, 65 },
        { "(\"Max\" 100) (\"Value\" 50) (\"PageInc\" 30)", "PageDown", 0, 80, -1 },
        { "(\"Max\" 100) (\"Value\" 50) (\"PageInc\" 30)", "PageUp", 0, 20, -1 },
        { "(\"Max\" 100) (\"Value\" 90) (\"PageInc\" 30)", "PageDown", 0, 100, 110 },
        { "(\"Max\" 100) (\"Value\" 50)", "ScrollDown", 0, 51, -1 },
        { "(\"Max\" 100) (\"Value\" 0)", "ScrollUp", 0, 0, 20 },
        // A knob offset narrows the travel at both ends.
        { "(\"Max\" 100) (\"KnobOffset\" 5)", "End", 0, 100, 105 },
    };
    for (const Case& c : cases) {
        qelValue control;
        Scroller* s = make(control, c.extra);
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(qelPerform(control, c.verb, qelValue(c.argument)), qelTrue) << c.extra << " " << c.verb;
        EXPECT_EQ(qelIntValue(qelGet(control, "Value")), c.value) << c.extra << " " << c.verb;
        if (c.knobTop >= 0)
            EXPECT_EQ(s->knobRect.y, c.knobTop) << c.extra << " " << c.verb;
        // Wherever the knob is, it reads back the value it was placed for.
        EXPECT_EQ(s->valueFromKnob(), c.value) << c.extra << " " << c.verb;
        EXPECT_EQ(s->pressedPart, 0);
    }
    EXPECT_TRUE(recordedErrors().empty());
}

TEST(Scroller, VerbsCheckTheirArgumentsAndRanges)
{
    UiFixture ui;
    qelValue control;
    Scroller* s = make(control, "(\"Min\" 10) (\"Max\" 20) (\"Value\" 12)");
    // A maximum below the minimum is refused, yet the verb answers true.
    EXPECT_EQ(qelPerform(control, "SetMin", qelValue(30)), qelTrue);
    EXPECT_EQ(qelIntValue(qelGet(control, "Min")), 10);
    // Not an int: nothing changes and the answer is false.
    EXPECT_EQ(qelPerform(control, "SetValue", qelValue("15")), qelFalse);
    EXPECT_EQ(s->value, 12);
    // The range changes without moving the value, which is clamped at its next change.
    EXPECT_EQ(qelPerform(control, "SetMax", qelValue(11)), qelTrue);
    EXPECT_EQ(s->value, 12);
    qelPerform(control, "ScrollDown", qelNil);
    EXPECT_EQ(s->value, 11);
    EXPECT_EQ(qelPerform(control, "DontDraw", qelTrue), qelFalse);
    EXPECT_EQ(s->dontDraw, 1);
    // A type the verbs do not know goes to the control layers.
    EXPECT_EQ(qelPerform(control, "getHelpString", qelNil), qelNil);
}

TEST(Scroller, EmptyRangesAndCrampedTracksDivideNothing)
{
    UiFixture ui("down 20 60\nup 20 60\n");
    struct Case {
        const char* extra;
        bool enabled;
    } cases[] = {
        // Min = Max: disabled, nothing to scroll.
        { "(\"Min\" 5) (\"Max\" 5)", false },
        // Arrows and knob longer than the hot spot: no travel at all.
        { "(\"Max\" 100) (\"ButtHeight\" 60) (\"KnobHeight\" 30)", true },
        // The knob exactly as long as its track.
        { "(\"Max\" 100) (\"KnobHeight\" 100)", true },
    };
    for (const Case& c : cases) {
        qelValue control;
        Scroller* s = make(control, c.extra);
        EXPECT_EQ(s->isEnabled() != 0, c.enabled) << c.extra;
        qelPerform(control, "SetValue", qelValue(40));
        qelPerform(control, "PageDown", qelNil);
        qelPerform(control, "End", qelNil);
        // The knob cannot move, so it stands for the smallest value.
        EXPECT_EQ(s->valueFromKnob(), s->min) << c.extra;
    }
    qelValue control;
    Scroller* s = make(control, "(\"Min\" 5) (\"Max\" 5)");
    EXPECT_EQ(s->track(20, 60, 0, 1), 0);
    EXPECT_TRUE(recordedErrors().empty());
}

TEST(Scroller, MissingSizesAreReportedByName)
{
    UiFixture ui;
    qelValue control = qelMakeControl(UiFixture::read("(table (\"Class\" \"Scroller\") (\"Max\" 3))"));
    qelControlOf(control)->initialize();
    EXPECT_EQ(recordedErrors(),
        (std::vector<std::string> { "You must specify Hot Spot in the table file.",
            "You must specify either ButtHeight or UpImage and DownImage in the table file.",
            "You must specify either KnobHeight or KnobImage in the table file." }));
}

TEST(Scroller, AHeldArrowRepeatsOnTheTimerWhileThePointerStaysOnIt)
{
    // Press the down arrow (10, 120)-(30, 130) for a second.
    UiFixture ui("down 20 125\nwait 1000\nup 20 125\n");
    qelValue control, formValue;
    Scroller* s = make(control, "(\"Max\" 100)");
    RecordingForm* form = formWith(control, formValue);
    uint32_t start = qelClockNow();
    ui.runScript();
    // One step at the press (not reported), one at 250 ms, then one every 50 ms; the end of the
    // click is reported once more.
    ASSERT_GE(form->notices.size(), 3u);
    EXPECT_EQ(form->notices.front().time - start, 250u);
    for (size_t i = 1; i + 1 < form->notices.size(); ++i)
        EXPECT_EQ(form->notices[i].time - form->notices[i - 1].time, 50u) << i;
    EXPECT_GE(s->value, 16);
    EXPECT_LE(s->value, 17);
    EXPECT_EQ(form->notices.back().value, s->value);
    EXPECT_EQ(qelTimerPeriod(), 250);
    EXPECT_EQ(s->pressedPart, 0);
}

TEST(Scroller, MovingOffAHeldArrowPausesTheSteps)
{
    UiFixture ui("down 20 125\nwait 400\nmove 200 200\nwait 500\nmove 20 125\nwait 100\nup 20 125\n");
    qelValue control, formValue;
    Scroller* s = make(control, "(\"Max\" 100)");
    RecordingForm* form = formWith(control, formValue);
    ui.runScript();
    uint32_t longest = 0;
    for (size_t i = 1; i < form->notices.size(); ++i)
        longest = std::max(longest, form->notices[i].time - form->notices[i - 1].time);
    EXPECT_GE(longest, 500u);
    // 1 + (250 .. 400: 4) + (back for 100 ms: 2) steps, give or take the tick at the edges.
    EXPECT_GE(s->value, 6);
    EXPECT_LE(s->value, 8);
}

TEST(Scroller, AHeldPageStopsWhenTheKnobReachesThePointer)
{
    // The knob starts at the top; the press is on the track at y 70.
    UiFixture ui("down 20 70\nwait 2000\nup 20 70\n");
    qelValue control, formValue;
    Scroller* s = make(control, "(\"Max\" 100) (\"PageInc\" 10)");
    formWith(control, formValue);
    ui.runScript();
    // Paged until the knob covers y 70: its top at most 70, its end past it.
    EXPECT_LE(s->knobRect.y, 70);
    EXPECT_GT(s->knobRect.y + s->knobRect.h, 60);
    EXPECT_LT(s->value, 100);
    EXPECT_GT(s->value, 30);
}

TEST(Scroller, ThePageStepIsZeroUntilSetAndTheKnobCanBeSwitchedOff)
{
    struct Case {
        const char* extra;
        int32_t taken;
        int32_t value;
    } cases[] = {
        { "(\"Max\" 100)", 1, 0 },
        { "(\"Max\" 100) (\"PageInc\" 10) (\"DoKnob\" false)", 0, 0 },
        { "(\"Max\" 100) (\"PageInc\" 10) (\"DisablePageUpDown\" true)", 0, 0 },
        { "(\"Max\" 100) (\"PageInc\" 10) (\"DisablePageRepeat\" true)", 1, 10 },
    };
    for (const Case& c : cases) {
        UiFixture ui("down 20 70\nwait 500\nup 20 70\n");
        qelValue control;
        Scroller* s = make(control, c.extra);
        EXPECT_EQ(s->track(20, 70, 0, 1), c.taken) << c.extra;
        EXPECT_EQ(s->value, c.value) << c.extra;
    }
}

TEST(Scroller, TheDraggedKnobSetsTheValueAndStaysWhereItWasLeft)
{
    // Grab the knob 3 pixels below its top and drag it to the middle of its travel.
    UiFixture ui("down 20 23\nmove 20 68\nup 20 68\n");
    qelValue control, formValue;
    Scroller* s = make(control, "(\"Min\" 10) (\"Max\" 20) (\"DrawKnob\" true) (\"KnobColor\" 65280)");
    RecordingForm* form = formWith(control, formValue);
    paintPattern(ui);
    s->draw();
    EXPECT_EQ(ui.pixel(20, 25), pixelOf(0x00FF00));
    ui.runScript();
    EXPECT_EQ(s->knobRect.y, 65);
    EXPECT_EQ(s->value, 15);
    ASSERT_FALSE(form->notices.empty());
    EXPECT_EQ(form->notices.front().value, 15);
    // The knob is drawn at its new place over the screen it first covered.
    EXPECT_EQ(ui.pixel(20, 70), pixelOf(0x00FF00));
    EXPECT_EQ(ui.pixel(20, 25), patternPixel(20, 25));
}

TEST(Scroller, ColoursAndImagesDrawEachPart)
{
    UiFixture ui;
    paintPattern(ui);
    qelValue control;
    Scroller* s = make(control, "(\"Max\" 10) (\"FillInside\" true) (\"FillColor\" 255) (\"DrawKnob\" true) (\"KnobColor\" 65280)");
    // Arrow pictures wider than the hot spot: the hot spot grows to them when laid out again.
    qelPut(control, "UpImage", solidImage(30, 14, 0xFF0000));
    qelPut(control, "DownImage", solidImage(30, 14, 0xFF0000));
    s->initialize();
    EXPECT_EQ(s->hotSpotBox.w, 30);
    EXPECT_EQ(s->upRect.w, 30);
    EXPECT_EQ(s->upRect.h, 10);
    s->draw();
    EXPECT_EQ(ui.pixel(35, 12), pixelOf(0xFF0000)); // up arrow, over the grown width
    EXPECT_EQ(ui.pixel(15, 21), pixelOf(0x00FF00)); // knob at the start of its travel
    EXPECT_EQ(ui.pixel(15, 100), pixelOf(255)); // the filled hot spot
    EXPECT_EQ(ui.pixel(15, 125), pixelOf(0xFF0000)); // down arrow
    EXPECT_EQ(ui.pixel(45, 15), patternPixel(45, 15)); // outside the grown hot spot
}
