// The entries section run headless on the almanac's disk: its home screen, a category's pop-up
// menu and the list beside it down to an entry; and a tour saved from the word search in one
// run, then read in the next from the home's tour browser.

#include "Scenario.h"

#include <fstream>

namespace {

// The entries' colours: the band, the list's ground, the menus' panel.
constexpr uint32_t band = 0x701818, white = 0xFFFFFF, panel = 0xFFFCF0;

} // namespace

TEST(AlmanacVerbHome, TheHomeOpensACategoryListBesideItsMenuAndAnEntryFromIt)
{
    scenario::Run run("almanac_verbetes_home.script", "disk");
    ASSERT_TRUE(run.exitedNormally());
    run.expectProbes({
        { "home", { { 300, 10, band, "the entries' band" }, { 25, 110, band, "the \"Indice\" button's edge" } } },
        // The menu beside "Geografia" (at 228, 150), the pressed button shown while it is open.
        { "menu", { { 300, 200, panel, "the category menu" }, { 100, 160, 0xB8B4AC, "the pressed button" } } },
        // The list opens beside "Brasil" (230, 154, 176, 24): on its right, five pixels higher.
        { "lista",
            { { 408, 150, band, "the list's frame at its corner" }, { 560, 400, white, "the list box's ground" } } },
        { "verbete", { { 300, 10, band, "the entries' band" } } },
    });
    EXPECT_TRUE(run.differs("home", "menu")) << "no menu opened";
    EXPECT_TRUE(run.differs("lista", "verbete")) << "the entry page did not open";
}

TEST(AlmanacVerbHome, ATourSavedInOneRunIsReadInTheNext)
{
    scenario::Run making("almanac_roteiro_criar.script", "disk");
    ASSERT_TRUE(making.exitedNormally());
    std::filesystem::path tours = making.shots() / "user" / "RotPesq.DTT";
    ASSERT_TRUE(std::filesystem::exists(tours));
    char magic[4] = {};
    std::ifstream(tours, std::ios::binary).read(magic, 4);
    EXPECT_EQ(std::string(magic, 4), "0QEL");

    // The next run starts with the tours only (the first run's lock is not the next one's).
    std::filesystem::path kept = making.shots() / "kept";
    std::filesystem::create_directories(kept);
    std::filesystem::copy_file(tours, kept / "RotPesq.DTT");
    scenario::Run reading("almanac_roteiro_ler.script", "disk", "", kept);
    ASSERT_TRUE(reading.exitedNormally());
    // The browser at (110, 90): the tour's entries listed on the right.
    reading.expectProbes({
        { "roteiros", { { 111, 200, band, "the browser's frame" } } },
        { "verbete", { { 300, 10, band, "the entries' band" } } },
    });
    EXPECT_TRUE(reading.differs("roteiros", "verbete")) << "the entry page did not open";
}

TEST(AlmanacVerbHome, ADamagedTourFileIsKeptAsideAndTheBrowserShowsNoTours)
{
    std::filesystem::path kept = std::filesystem::temp_directory_path()
        / ("velarim-roteiro-danificado-" + std::to_string(std::random_device {}()));
    std::filesystem::create_directories(kept);
    const std::string damaged = "0QEL isto nao e um arquivo de roteiros";
    std::ofstream(kept / "RotPesq.DTT", std::ios::binary) << damaged;
    scenario::Run run("almanac_roteiro_danificado.script", "disk", "", kept);
    std::filesystem::remove_all(kept);
    ASSERT_TRUE(run.exitedNormally());
    // No tour selected in the browser at (110, 90), and a press outside it closes it.
    run.expectProbes({ { "roteiros", { { 111, 200, band, "the browser's frame" }, { 200, 157, panel, "no tour" } } },
        { "fechado", { { 111, 200, 0xF6EEDA, "the home's ground again" } } } });
    std::filesystem::path user = run.shots() / "user";
    std::string aside;
    std::getline(std::ifstream(user / "RotPesq.BAD", std::ios::binary), aside);
    EXPECT_EQ(aside, damaged);
    EXPECT_FALSE(std::filesystem::exists(user / "RotPesq.DTT"));
}
