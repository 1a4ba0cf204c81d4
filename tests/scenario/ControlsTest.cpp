// The gallery of controls on the sample disk, run headless through a script: each control's
// look in its states, probed in the screenshots, and the line in which the gallery reports what
// each control answered (its name and state), whose length changes with the report.

#include "Scenario.h"

using scenario::Probes;

namespace {

// Surface pixels are 0x00RRGGBB.
constexpr uint32_t background = 0x284058;
constexpr uint32_t buttonUp = 0xE0E0E0;
constexpr uint32_t buttonDown = 0xA02020;
constexpr uint32_t buttonOff = 0x808080;
constexpr uint32_t tip = 0xFFFFC8;
constexpr uint32_t checked = 0x208020;
constexpr uint32_t white = 0xFFFFFF;
constexpr uint32_t optionOn = 0x2040A0;
constexpr uint32_t optionOff = 0xF0F0F0;
constexpr uint32_t photoBlue = 0x2878C8;
constexpr uint32_t photoRed = 0xC83C3C;
constexpr uint32_t noteInk = 0xFFBE78;

// The rightmost column of dark text in the report line (40, 384)-(440, 404); -1 when none.
int reportEnd(const scenario::Run& run, const std::string& shot)
{
    std::optional<platform::gfx::Surface> surface = run.shot(shot);
    if (!surface)
        return -1;
    int end = -1;
    for (int y = 384; y < 404; ++y)
        for (int x = 40; x < 440; ++x) {
            uint32_t p = surface->pixel(x, y);
            if ((p >> 16 & 0xFF) < 0x40 && (p >> 8 & 0xFF) < 0x40 && (p & 0xFF) < 0x40 && x > end)
                end = x;
        }
    return end;
}

bool shows(const scenario::Run& run, const std::string& shot, int left, int top, int width, int height, uint32_t colour)
{
    std::optional<platform::gfx::Surface> surface = run.shot(shot);
    for (int y = top; surface && y < top + height; ++y)
        for (int x = left; x < left + width; ++x)
            if ((surface->pixel(x, y) & 0xFFFFFF) == colour)
                return true;
    return false;
}

} // namespace

TEST(ShowcaseControls, EachControlInItsStatesAndWhatItReports)
{
    scenario::Run run("controls.script");
    ASSERT_TRUE(run.exitedNormally());

    // Buttons at (40, 100) and, disabled, (40, 146); check boxes at (40, 200) and (40, 230);
    // options at (40, 290), (40, 320), (40, 350); the picture at (300, 100), its cut-out at
    // (440, 100); the group's stretched picture at (300, 250).
    const Probes expected {
        { "ctl-start",
            { { 320, 90, background, "gallery background" }, { 50, 110, buttonUp, "button up" },
                { 50, 150, buttonOff, "disabled button" }, { 50, 210, white, "check box off" },
                { 50, 300, optionOn, "first option on" }, { 50, 330, optionOff, "second option off" },
                { 310, 110, photoBlue, "picture" }, { 450, 110, photoRed, "cut from the picture's corner" },
                { 310, 255, background, "group hidden" } } },
        { "ctl-rollover", { { 175, 110, tip, "tip shown" }, { 50, 110, buttonUp, "button up" } } },
        { "ctl-pressed", { { 50, 110, buttonDown, "button pressed" }, { 175, 110, background, "tip gone" } } },
        { "ctl-button", { { 50, 110, buttonUp, "button up again" } } },
        { "ctl-som-on", { { 50, 210, checked, "check box on" } } },
        { "ctl-som-off", { { 50, 210, white, "check box off again" } } },
        { "ctl-extras", { { 50, 240, checked, "extras on" }, { 310, 255, photoBlue, "group shown" } } },
        { "ctl-sul", { { 50, 330, optionOn, "second option on" }, { 50, 300, optionOff, "first option off" } } },
        { "ctl-extras-off", { { 50, 240, white, "extras off" }, { 310, 255, background, "group hidden again" } } },
    };
    run.expectProbes(expected);
    EXPECT_TRUE(shows(run, "ctl-extras", 300, 296, 300, 40, noteInk)) << "the group's text";
    EXPECT_FALSE(shows(run, "ctl-extras-off", 300, 296, 300, 40, noteInk)) << "the group's text gone";

    // "Clique num controle." / "Botao: clique" / "Som: ligado" / "Som: desligado" /
    // "Sul: ligado" / "Foto: clique duplo" / "Area: clique".
    int start = reportEnd(run, "ctl-start");
    int button = reportEnd(run, "ctl-button");
    int on = reportEnd(run, "ctl-som-on");
    int off = reportEnd(run, "ctl-som-off");
    int south = reportEnd(run, "ctl-sul");
    int photo = reportEnd(run, "ctl-foto");
    int area = reportEnd(run, "ctl-area");
    EXPECT_GT(start, 40);
    EXPECT_LT(button, start);
    EXPECT_LT(on, off);
    EXPECT_LT(south, on);
    EXPECT_GT(photo, button);
    EXPECT_LT(area, photo);
}
