// The program on the sample disk, run headless through a script: the start form's background,
// its button drawn pressed while the mouse is down inside it and normal when it leaves, the
// second form after the click, and the start form again after going back through the history.

#include "platform/gfx/Png.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <random>
#include <string>

namespace fs = std::filesystem;

namespace {

// Surface pixels are 0x00RRGGBB.
constexpr uint32_t firstBackground = 0x183868;
constexpr uint32_t secondBackground = 0x206038;
constexpr uint32_t buttonUp = 0xE0E0E0;
constexpr uint32_t buttonDown = 0xA02020;
constexpr uint32_t buttonDisabled = 0x808080;

struct Probe {
    int x;
    int y;
    uint32_t pixel;
    const char* what;
};

} // namespace

TEST(Showcase, ClickTheButtonLandOnTheSecondFormAndGoBack)
{
    fs::path shots = fs::temp_directory_path() / ("velarim-showcase-" + std::to_string(std::random_device {}()));
    fs::create_directories(shots);
    // Leak checks are off for the child: the system's font configuration keeps memory to the end.
    std::string command = "ASAN_OPTIONS=detect_leaks=0 '" + std::string(QEL_BUILD_DIR)
        + "/bin/velarim' --headless --disk '" + std::string(QEL_BUILD_DIR) + "/disk' --script '"
        + std::string(QEL_SCENARIO_DIR) + "/showcase.script' --screens '" + shots.string() + "'";
    int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0);

    // The start form's button spans (240, 200)-(400, 248); "Voltar" (40, 410)-(160, 450).
    const std::map<std::string, std::vector<Probe>> expected {
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
    for (const auto& [name, probes] : expected) {
        std::optional<platform::gfx::Surface> shot = platform::gfx::readPng((shots / (name + ".png")).string());
        ASSERT_TRUE(shot) << name;
        ASSERT_EQ(shot->width(), 640) << name;
        ASSERT_EQ(shot->height(), 480) << name;
        for (const Probe& probe : probes)
            EXPECT_EQ(shot->pixel(probe.x, probe.y) & 0xFFFFFF, probe.pixel) << name << ": " << probe.what;
    }
    fs::remove_all(shots);
}
