// The showcase's dialog and menu in the velarim program, run headless over the sample disk:
// the dialog drawn over the start form, dragged, and the screen back after it closes; the menu
// with its highlight, its cascade opened beside it, and the screen back after a choice.

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
constexpr uint32_t background = 0x183868;
constexpr uint32_t topBar = 0x0C2040;
constexpr uint32_t buttonUp = 0xE0E0E0;
constexpr uint32_t titleBar = 0x284888;
constexpr uint32_t dialogBody = 0xECECE0;
constexpr uint32_t menuBody = 0xF8F4DC;
constexpr uint32_t highlight = 0x103480;
constexpr uint32_t subMenuBody = 0xE0F0F8;

struct Probe {
    int x;
    int y;
    uint32_t pixel;
    const char* what;
};

} // namespace

TEST(Dialogs, TheShowcasesDialogAndMenuComeAndGo)
{
    fs::path shots = fs::temp_directory_path() / ("velarim-dialogs-" + std::to_string(std::random_device {}()));
    fs::create_directories(shots);
    // Leak checks are off for the child: the system's font configuration keeps memory to the end.
    // A user folder of its own keeps this run apart from other runs of the program at the same
    // time (one running copy per user folder).
    fs::create_directories(shots / "user");
    std::string command = "ASAN_OPTIONS=detect_leaks=0 VELARIM_USER_DIR='" + (shots / "user").string() + "' '"
        + std::string(QEL_BUILD_DIR) + "/bin/velarim' --headless --disk '" + std::string(QEL_BUILD_DIR)
        + "/disk' --script '" + std::string(QEL_SCENARIO_DIR) + "/dialogs.script' --screens '" + shots.string() + "'";
    int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0);

    // The dialog (300 x 160) opens at (170, 140) and is dragged to (30, 10); the menu (160 x 134)
    // opens at (470, 300) and its sub-menu (130 x 60) at its left, from x 339.
    const std::map<std::string, std::vector<Probe>> expected {
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
    for (const auto& [name, probes] : expected) {
        std::optional<platform::gfx::Surface> shot = platform::gfx::readPng((shots / (name + ".png")).string());
        ASSERT_TRUE(shot) << name;
        for (const Probe& probe : probes)
            EXPECT_EQ(shot->pixel(probe.x, probe.y) & 0xFFFFFF, probe.pixel) << name << ": " << probe.what;
    }
    fs::remove_all(shots);
}
