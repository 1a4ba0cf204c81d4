// The program on the almanac's disk, run headless: it starts on the main menu, asks before it
// quits, and keeps the user's preferences in the user folder; without the content it asks for
// the disc and a cancelled prompt ends it quietly.

#include "Scenario.h"

#include <fstream>

namespace fs = scenario::fs;
using scenario::Probes;

namespace {

// Where the quit dialog's title bar lies, and a point of the main screen's background that the
// dialog does not cover.
constexpr int titleX = 218, titleY = 140;
constexpr int screenX = 218, screenY = 100;

} // namespace

TEST(AlmanacStart, TheMainMenuOpensAndQuittingAsksFirst)
{
    scenario::Run run("almanac_start.script", "disk");
    ASSERT_TRUE(run.exitedNormally());
    // The main menu's screen without a dialog; the quit dialog over it; Escape leaves the screen
    // as it was; the second run of the dialog shows it again from the start.
    // content/style: the screens' blue and the dialogs' navy title bar.
    uint32_t background = 0x1C4080, title = 0x102858;
    run.expectProbes({ { "main", { { titleX, titleY, background, "the screen where the dialog goes" } } },
        { "quit", { { titleX, titleY, title, "the dialog's title bar" }, { screenX, screenY, background, "screen" } } },
        { "stays", { { titleX, titleY, background, "the dialog went" } } },
        { "again", { { titleX, titleY, title, "the dialog's title bar" } } } });
    // Quitting saved the preferences in the user folder, and nothing in the disk.
    EXPECT_TRUE(fs::exists(run.shots() / "user" / "PREFS.DAT"));
    EXPECT_FALSE(fs::exists(fs::path(QEL_BUILD_DIR) / "disk" / "PREFS.DAT"));
}

TEST(AlmanacStart, ACancelledDiscPromptEndsWithoutAScreenOrPreferences)
{
    // An installation whose content folder holds nothing of the almanac but the program's
    // cursors (the framework's wait cursor needs them before the prompt).
    fs::path disk = fs::temp_directory_path() / ("velarim-nodisc-" + std::to_string(std::random_device {}()));
    fs::create_directories(disk / "Media");
    fs::copy(fs::path(QEL_BUILD_DIR) / "disk" / "cursors", disk / "cursors", fs::copy_options::recursive);
    std::ofstream(disk / "VL98.ini") << "[QELENVIRONMENT]\nSourceDisk=" << disk.string()
                                     << "\nMediaPath=Media\nFullInstall=1\nShowIntro=0\n";
    {
        scenario::Run run("almanac_nodisc.script", disk.string());
        EXPECT_TRUE(run.exitedNormally());
        EXPECT_FALSE(fs::exists(run.shots() / "user" / "PREFS.DAT"));
    }
    fs::remove_all(disk);
}

TEST(AlmanacStart, TheAgendaAloneOpensItsMonthAndQuitsWithoutAsking)
{
    // "agenda" in lower case is no command: the almanac asks before it quits and the script's
    // closing is left unanswered, which a headless run reports as stuck.
    {
        scenario::Run run("almanac_agenda.script", "disk", "Agenda");
        ASSERT_TRUE(run.exitedNormally());
        // The month view in the agenda's look, not the main menu's blue.
        run.expectProbes({ { "agenda", { { 620, 300, 0xE2F0E8, "the month view's ground" } } } });
        EXPECT_TRUE(fs::exists(run.shots() / "user" / "PREFS.DAT"));
    }
    scenario::Run lower("almanac_agenda.script", "disk", "agenda");
    EXPECT_FALSE(lower.exitedNormally());
}
