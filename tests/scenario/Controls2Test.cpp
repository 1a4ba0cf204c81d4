// The second gallery of controls in the program on the sample disk, run headless through a
// script and probed in its screenshots: the slider's thumb dragged and its value shown, the
// scroller's knob dragged and its track paged with the table of states following, and the menu
// control opened with a cascade from which a state is chosen, the screen under it back after.

#include "Scenario.h"

using scenario::Probes;

namespace {

// Surface pixels are 0x00RRGGBB.
constexpr uint32_t background = 0x284870;
constexpr uint32_t thumb = 0xF0C840;
constexpr uint32_t knob = 0x103480;
constexpr uint32_t track = 0xE8E8E8;
constexpr uint32_t menuGrey = 0x808080;
constexpr uint32_t highlightBar = 0x010000;

// The table of states, the slider's value row and the menu's choice row.
constexpr scenario::Area states { 38, 110, 286, 126 };
constexpr scenario::Area sliderValue { 360, 150, 220, 20 };
constexpr scenario::Area menuChoice { 360, 270, 240, 20 };

} // namespace

TEST(ShowcaseControls2, DragSliderAndKnobPageTheTableAndChooseFromACascade)
{
    scenario::Run run("controls2.script");
    ASSERT_TRUE(run.exitedNormally());

    // The slider spans (360, 120)-(580, 140) with a 12-pixel thumb; the scroller (326, 110)-(344,
    // 240) with 18-pixel arrows and a 22-pixel knob; the menu opens beside the press at (400, 244).
    const Probes expected {
        { "controls2-start",
            { { 366, 135, thumb, "thumb at the start" }, { 335, 140, knob, "knob at the top" },
                { 335, 200, track, "free track" } } },
        { "controls2-slider-held",
            { { 469, 135, thumb, "thumb under the pointer" }, { 366, 135, background, "old place restored" } } },
        { "controls2-knob", { { 335, 140, track, "knob left the top" }, { 335, 175, knob, "knob where dropped" } } },
        { "controls2-paged", { { 335, 165, track, "knob paged down" }, { 335, 200, knob, "knob a page lower" } } },
        { "controls2-cascade",
            { { 530, 262, menuGrey, "main box" }, { 520, 333, highlightBar, "cascading row highlighted" },
                { 390, 405, menuGrey, "cascade opened on the left" } } },
        { "controls2-chosen",
            { { 530, 262, background, "main box gone" }, { 390, 405, background, "cascade gone" } } },
    };
    run.expectProbes(expected);

    // The values the controls report are shown: the slider's below it, the menu's choice below the
    // menu, and the rows of the table follow the scroller.
    EXPECT_TRUE(run.differs("controls2-start", "controls2-slider", sliderValue));
    EXPECT_FALSE(run.differs("controls2-slider", "controls2-knob", sliderValue));
    EXPECT_TRUE(run.differs("controls2-slider", "controls2-knob", states));
    EXPECT_TRUE(run.differs("controls2-knob", "controls2-paged", states));
    EXPECT_TRUE(run.differs("controls2-start", "controls2-chosen", menuChoice));
}
