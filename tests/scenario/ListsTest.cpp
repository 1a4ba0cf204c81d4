// The start form's list box and combo box in the program on the sample disk, run headless
// through a script and probed in its screenshots: a state chosen by click and keyboard, the list
// scrolled by its arrow, the combo box opened, a continent chosen, the screen under the list back.

#include "platform/gfx/Png.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Surface pixels are 0x00RRGGBB.
constexpr uint32_t background = 0x183868;
constexpr uint32_t selectionBar = 0x103480;
constexpr uint32_t white = 0xFFFFFF;
constexpr uint32_t thumb = 0xB0B0B0;
constexpr uint32_t buttonDown = 0x909090;

struct Probe {
    int x;
    int y;
    uint32_t pixel;
    const char* what;
};

} // namespace

TEST(ShowcaseLists, ChooseAStateScrollAndPickAContinent)
{
    fs::path shots = fs::temp_directory_path() / ("velarim-lists-" + std::to_string(std::random_device {}()));
    fs::create_directories(shots);
    // Leak checks are off for the child: the system's font configuration keeps memory to the end.
    // A user folder of its own keeps this run apart from other copies running beside it.
    fs::create_directories(shots / "user");
    std::string command = "ASAN_OPTIONS=detect_leaks=0 VELARIM_USER_DIR='" + (shots / "user").string() + "' '"
        + std::string(QEL_BUILD_DIR) + "/bin/velarim' --headless --disk '" + std::string(QEL_BUILD_DIR)
        + "/disk' --script '" + std::string(QEL_SCENARIO_DIR) + "/lists.script' --screens '" + shots.string() + "'";
    int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0);

    // The list box spans (40, 280)-(210, 392) with rows of 21 pixels and its scroll bar at the
    // right; the combo box's field (240, 280)-(416, 304), its button beside it, its list below.
    const std::map<std::string, std::vector<Probe>> expected {
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
    for (const auto& [name, probes] : expected) {
        std::optional<platform::gfx::Surface> shot = platform::gfx::readPng((shots / (name + ".png")).string());
        ASSERT_TRUE(shot) << name;
        for (const Probe& probe : probes)
            EXPECT_EQ(shot->pixel(probe.x, probe.y) & 0xFFFFFF, probe.pixel) << name << ": " << probe.what;
    }
    fs::remove_all(shots);
}
