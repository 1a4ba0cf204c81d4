// The program on the sample disk, run headless through a script: the start form's background,
// its button drawn pressed while the mouse is down inside it and normal when it leaves, the
// second form after the click, and the start form again after going back through the history.

#include "Scenario.h"

using scenario::Probes;

namespace {

// Surface pixels are 0x00RRGGBB.
constexpr uint32_t firstBackground = 0x183868;
constexpr uint32_t secondBackground = 0x206038;
constexpr uint32_t buttonUp = 0xE0E0E0;
constexpr uint32_t buttonDown = 0xA02020;
constexpr uint32_t buttonDisabled = 0x808080;

} // namespace

TEST(Showcase, ClickTheButtonLandOnTheSecondFormAndGoBack)
{
    scenario::Run run("showcase.script");
    ASSERT_TRUE(run.exitedNormally());

    // The start form's button spans (240, 200)-(400, 248); "Voltar" (40, 410)-(160, 450).
    const Probes expected {
        { "start",
            { { 320, 150, firstBackground, "background" }, { 250, 206, buttonUp, "button up" },
                { 50, 416, buttonDisabled, "back disabled in a fresh history" } } },
        { "pressed", { { 250, 206, buttonDown, "button pressed" }, { 320, 150, firstBackground, "background" } } },
        { "left", { { 250, 206, buttonUp, "button normal once the mouse left it" } } },
        { "again", { { 250, 206, buttonDown, "button pressed again" } } },
        { "second", { { 320, 150, secondBackground, "second background" }, { 50, 416, buttonUp, "back enabled" } } },
        { "back",
            { { 320, 150, firstBackground, "first background again" }, { 250, 206, buttonUp, "button up" },
                { 50, 416, buttonDisabled, "back disabled again" } } },
    };
    run.expectProbes(expected);
    for (const auto& [name, probes] : expected) {
        std::optional<platform::gfx::Surface> shot = run.shot(name);
        ASSERT_TRUE(shot) << name;
        EXPECT_EQ(shot->width(), 640) << name;
        EXPECT_EQ(shot->height(), 480) << name;
    }
}
