// The almanac's main menu and menu bar, run headless on the almanac's disk: the section menu
// leads to a section, the marks menu offers its list only while there are marks, and the
// preferences chosen in their dialog are in PREFS.DAT at exit, byte for byte, and in force at the
// next start. A damaged PREFS.DAT gives the shipped preferences and is written anew at exit. The
// help menu's index opens the disk's help page.

#include "Scenario.h"

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = scenario::fs;

namespace {

using Bytes = std::vector<uint8_t>;

Bytes fileBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void writeBytes(const fs::path& path, const Bytes& bytes)
{
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A key as the encoding writes a short string.
Bytes key(const std::string& text)
{
    Bytes out { 0x22, uint8_t(text.size()) };
    out.insert(out.end(), text.begin(), text.end());
    return out;
}

constexpr uint8_t yes = 0x1E, no = 0x1F;

// PREFS.DAT: the preferences table (type 9, room for 8, 8 pairs in the table's slot order), each
// switch a boolean byte and the volume a small int.
Bytes prefsFile(uint8_t showIntro, uint8_t volume, uint8_t fullVideo)
{
    return Bytes { 0x09, 8, 0, 0, 0, 8, 0, 0, 0 } + key("ShowIntro") + Bytes { showIntro } + key("Volume")
        + Bytes { 0x20, volume } + key("PlayNarrator") + Bytes { yes } + key("FullScreenVideo") + Bytes { fullVideo }
        + key("ShowFullScreen") + Bytes { fullVideo } + key("SoundEffects") + Bytes { yes } + key("MaximizeWindow")
        + Bytes { fullVideo } + key("RolloverHelp") + Bytes { yes };
}

// The shipped preferences: the intro on, volume 75, videos in their window.
const Bytes shippedPrefs = prefsFile(yes, 75, no);

// A folder of user files for a run to start with.
struct UserFolder {
    explicit UserFolder(const std::string& name)
        : path(fs::temp_directory_path() / ("velarim-user-" + name + "-" + std::to_string(std::random_device {}())))
    {
        fs::create_directories(path);
    }
    ~UserFolder() { fs::remove_all(path); }
    fs::path path;
};

// content/style and shell.tbl: the main menu's ground, a menu's face and a switched-off item.
constexpr uint32_t ground = 0x1C4080, menuFace = 0xE8ECF4, itemOff = 0xD0D2D8;

} // namespace

TEST(AlmanacMenus, TheSectionMenuLeadsToTheSectionChosen)
{
    scenario::Run run("almanac_sections.script", "disk");
    ASSERT_TRUE(run.exitedNormally());
    // The menu above the "Velarim" button, and the curiosities' screen (its section's cream).
    run.expectProbes({ { "menu", { { 14, 310, menuFace, "the section menu over the button row" } } },
        { "curio", { { 20, 100, 0xFCF0C8, "the curiosities' screen" } } } });
}

TEST(AlmanacMenus, TheHelpIndexOpensTheDisksHelpPageInTheBrowser)
{
    scenario::Run run("almanac_ajuda.script", "disk");
    ASSERT_TRUE(run.exitedNormally());
    std::string launches;
    for (uint8_t c : fileBytes(run.shots() / "launches.txt"))
        launches += char(c);
    EXPECT_EQ(launches, "open " + (fs::path(QEL_BUILD_DIR) / "disk" / "VL98.html").string() + "\n");
    EXPECT_TRUE(fs::is_regular_file(fs::path(QEL_BUILD_DIR) / "disk" / "VL98.html"));
}

TEST(AlmanacMenus, TheMarksListIsOffWithoutMarksAndOnWithOne)
{
    // Row 0 ("Marcar") is off on every screen but the entry page; row 2 is "Lista de Marcados".
    {
        scenario::Run run("almanac_marks.script", "disk");
        ASSERT_TRUE(run.exitedNormally());
        run.expectProbes({ { "marks", { { 140, 340, itemOff, "Marcar" }, { 140, 388, itemOff, "Lista de Marcados" } } },
            { "still", { { 140, 388, itemOff, "the click on the switched-off item left the menu open" } } } });
    }
    // MARKLIST.DTT holding the mark 5: the archive's magic, its directory's place, the int list
    // [5], and the directory (one item, at byte 8).
    UserFolder user("marks");
    writeBytes(user.path / "MARKLIST.DTT",
        { '0', 'Q', 'E', 'L', 18, 0, 0, 0, 8, 1, 0, 0, 0, 3, 5, 0, 0, 0, 8, 1, 0, 0, 0, 3, 8, 0, 0, 0 });
    scenario::Run run("almanac_marks.script", "disk", "", user.path);
    ASSERT_TRUE(run.exitedNormally());
    run.expectProbes({ { "marks", { { 140, 340, itemOff, "Marcar" }, { 140, 388, menuFace, "Lista de Marcados" } } } });
}

TEST(AlmanacMenus, PreferencesChosenAreSavedAndHoldAtTheNextStart)
{
    UserFolder saved("prefs");
    // The check box's inner square (shell.tbl) at the "FullVideo" box's corner plus 6.
    constexpr int boxX = 170, boxY = 188;
    {
        scenario::Run run("almanac_prefs.script", "disk");
        ASSERT_TRUE(run.exitedNormally());
        run.expectProbes({ { "prefs", { { boxX, boxY, 0xFFFFFF, "full-screen video off" } } } });
        // The intro stays off as VL98.ini had it, the volume is the slider's (the headless
        // device's whole range), and the three full-screen keys follow the one box.
        EXPECT_EQ(fileBytes(run.shots() / "user" / "PREFS.DAT"), prefsFile(no, 100, yes));
        fs::copy(run.shots() / "user" / "PREFS.DAT", saved.path / "PREFS.DAT");
    }
    scenario::Run again("almanac_prefs_again.script", "disk", "", saved.path);
    ASSERT_TRUE(again.exitedNormally());
    again.expectProbes({ { "prefs", { { boxX, boxY, 0x102858, "full-screen video on" } } } });
    EXPECT_EQ(fileBytes(again.shots() / "user" / "PREFS.DAT"), prefsFile(no, 100, yes));
}

TEST(AlmanacMenus, ADamagedPreferencesFileGivesTheShippedOnes)
{
    struct Case {
        const char* what;
        Bytes file;
    };
    // A form inside the table: type 17 with an empty data table.
    Bytes withForm = Bytes { 0x09, 8, 0, 0, 0, 1, 0, 0, 0 } + key("Volume") + Bytes { 0x17, 0x09, 1, 0, 0, 0, 0, 0, 0, 0 };
    // A table claiming two thousand million pairs.
    Bytes hugeCount = Bytes { 0x09, 8, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F } + key("Volume") + Bytes { 0x20, 50 };
    const Case cases[] = {
        { "cut short", Bytes(shippedPrefs.begin(), shippedPrefs.begin() + 40) },
        { "a form inside", withForm },
        { "a huge count", hugeCount },
        { "not a table", Bytes { 0x20, 75 } },
    };
    for (const Case& c : cases) {
        UserFolder user("damaged");
        writeBytes(user.path / "PREFS.DAT", c.file);
        scenario::Run run("almanac_quit.script", "disk", "", user.path);
        ASSERT_TRUE(run.exitedNormally()) << c.what;
        run.expectProbes({ { "main", { { 218, 100, ground, "the main menu" } } } });
        // The damaged file is kept aside as it was; the shipped table was written at exit.
        EXPECT_EQ(fileBytes(run.shots() / "user" / "PREFS.BAD"), c.file) << c.what;
        EXPECT_EQ(fileBytes(run.shots() / "user" / "PREFS.DAT"), shippedPrefs) << c.what;
    }
}
