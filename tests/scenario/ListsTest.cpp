// The start form's list box and combo box in the program on the sample disk, run headless
// through a script and probed in its screenshots: a state chosen by click and keyboard, the list
// scrolled by its arrow, the combo box opened, a continent chosen, the screen under the list back.

#include "Scenario.h"

using scenario::Probes;

namespace {

// Surface pixels are 0x00RRGGBB.
constexpr uint32_t background = 0x183868;
constexpr uint32_t selectionBar = 0x103480;
constexpr uint32_t white = 0xFFFFFF;
constexpr uint32_t thumb = 0xB0B0B0;
constexpr uint32_t buttonDown = 0x909090;

} // namespace

TEST(ShowcaseLists, ChooseAStateScrollAndPickAContinent)
{
    scenario::Run run("lists.script");
    ASSERT_TRUE(run.exitedNormally());

    // The list box spans (40, 280)-(210, 392) with rows of 21 pixels and its scroll bar at the
    // right; the combo box's field (240, 280)-(416, 304), its button beside it, its list below.
    const Probes expected {
        { "lists-start",
            { { 180, 290, selectionBar, "first state selected" }, { 180, 310, white, "second state" },
                { 203, 300, thumb, "thumb at the top" }, { 400, 340, background, "no list under the combo" } } },
        { "lists-chosen", { { 180, 290, white, "first state" }, { 180, 310, selectionBar, "second state chosen" } } },
        { "lists-scrolled",
            { { 180, 310, white, "chosen state scrolled away" }, { 203, 370, thumb, "thumb at the bottom" } } },
        { "combo-open", { { 400, 340, white, "open list" }, { 422, 298, buttonDown, "button pressed" } } },
        { "combo-chosen",
            { { 400, 285, selectionBar, "active field" }, { 400, 340, background, "screen under the list back" },
                { 300, 395, background, "below the list" } } },
    };
    run.expectProbes(expected);
}
