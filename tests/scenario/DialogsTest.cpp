// The showcase's dialog and menu in the velarim program, run headless over the sample disk:
// the dialog drawn over the start form, dragged, and the screen back after it closes; the menu
// with its highlight, its cascade opened beside it, and the screen back after a choice.

#include "Scenario.h"

using scenario::Probes;

namespace {

// Surface pixels are 0x00RRGGBB.
constexpr uint32_t background = 0x183868;
constexpr uint32_t topBar = 0x0C2040;
constexpr uint32_t buttonUp = 0xE0E0E0;
constexpr uint32_t titleBar = 0x284888;
constexpr uint32_t dialogBody = 0xECECE0;
constexpr uint32_t menuBody = 0xF8F4DC;
constexpr uint32_t highlight = 0x103480;
constexpr uint32_t subMenuBody = 0xE0F0F8;

} // namespace

TEST(Dialogs, TheShowcasesDialogAndMenuComeAndGo)
{
    scenario::Run run("dialogs.script");
    ASSERT_TRUE(run.exitedNormally());

    // The dialog (300 x 160) opens at (170, 140) and is dragged to (30, 10); the menu (160 x 134)
    // opens at (470, 300) and its sub-menu (130 x 60) at its left, from x 339.
    const Probes expected {
        { "inicio", { { 480, 120, buttonUp, "dialog button" }, { 200, 150, background, "background" } } },
        { "dialogo", { { 200, 150, titleBar, "title bar" }, { 180, 200, dialogBody, "dialog body" } } },
        { "arrastado",
            { { 100, 20, titleBar, "title bar at the new place" }, { 450, 250, background, "old place put back" },
                { 310, 150, dialogBody, "the dialog still covers this" } } },
        { "fechado",
            { { 400, 20, topBar, "top bar back" }, { 200, 150, background, "background back" },
                { 180, 100, background, "background back" } } },
        { "menu", { { 600, 310, highlight, "first item highlighted" }, { 600, 302, menuBody, "menu margin" } } },
        { "cascata",
            { { 460, 407, subMenuBody, "sub-menu on the left" }, { 600, 362, highlight, "its item highlighted" } } },
        { "depois",
            { { 600, 310, background, "menu gone" }, { 460, 407, background, "sub-menu gone" },
                { 480, 120, buttonUp, "buttons intact" } } },
    };
    run.expectProbes(expected);
}
