// The entry page run headless on the almanac's disk: an entry opened from the word search, three
// links followed and the way back through the history; an entry marked and, in a later run,
// unmarked from the marks menu, with the user's MARKLIST.DTT byte for byte.

#include "Scenario.h"

#include <fstream>
#include <iterator>
#include <vector>

namespace fs = scenario::fs;

namespace {

// VrbtForm.frm: the entry's name, its category path and its text.
constexpr scenario::Area nameArea { 40, 74, 556, 28 };
constexpr scenario::Area pathArea { 40, 102, 556, 16 };
constexpr scenario::Area textArea { 40, 122, 556, 230 };

std::vector<char> fileBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), {});
}

fs::path golden(const char* name)
{
    return fs::path(QEL_SCENARIO_DIR) / name;
}

} // namespace

TEST(AlmanacVerbetes, ThreeLinksFollowedAndTheWayBackThroughTheHistory)
{
    scenario::Run run("almanac_verbetes.script", "disk");
    ASSERT_TRUE(run.exitedNormally());
    // Each link shows another entry: its name and its text change.
    const char* const forward[] = { "brasil", "brasilia", "df", "goias" };
    for (int i = 0; i + 1 < 4; ++i) {
        EXPECT_TRUE(run.differs(forward[i], forward[i + 1], nameArea)) << forward[i + 1];
        EXPECT_TRUE(run.differs(forward[i], forward[i + 1], textArea)) << forward[i + 1];
    }
    // Back, one step at a time, through the same entries: each as it was shown (the searched
    // word still struck in "Brasil").
    const char* const back[][2] = { { "volta1", "df" }, { "volta2", "brasilia" }, { "volta3", "brasil" } };
    for (const auto& [shot, shown] : back) {
        EXPECT_FALSE(run.differs(shot, shown, nameArea)) << shot;
        EXPECT_FALSE(run.differs(shot, shown, textArea)) << shot;
        EXPECT_FALSE(run.differs(shot, shown, pathArea)) << shot;
    }
}

TEST(AlmanacVerbetes, AnEntryMarkedAndUnmarkedFromTheMarksMenu)
{
    fs::path kept = fs::temp_directory_path() / ("velarim-marcas-" + std::to_string(std::random_device {}()));
    scenario::Run marking("almanac_marcar.script", "disk");
    ASSERT_TRUE(marking.exitedNormally());
    // One mark: the list id of "Brasil".
    EXPECT_EQ(fileBytes(marking.shots() / "user" / "MARKLIST.DTT"), fileBytes(golden("marklist_marcado.dtt")));
    fs::create_directories(kept);
    fs::copy_file(marking.shots() / "user" / "MARKLIST.DTT", kept / "MARKLIST.DTT");

    scenario::Run unmarking("almanac_desmarcar.script", "disk", "", kept);
    fs::remove_all(kept);
    ASSERT_TRUE(unmarking.exitedNormally());
    // No marks: an empty list.
    EXPECT_EQ(fileBytes(unmarking.shots() / "user" / "MARKLIST.DTT"), fileBytes(golden("marklist_vazio.dtt")));

    // The marks menu of the unmarked entry and of the marked one: "Marcar" and "Desmarcar" swap
    // their looks; "Roteiros" is the same in both.
    auto first = marking.shot("menu");
    auto second = unmarking.shot("menu");
    ASSERT_TRUE(first && second);
    auto rowDiffers = [&](int row) {
        // MarcadorMenu in global.tbl: at (134, 324), rows of 24 from 4 down.
        for (int y = 328 + 24 * row; y < 352 + 24 * row; ++y)
            for (int x = 136; x < 312; ++x)
                if ((first->pixel(x, y) & 0xFFFFFF) != (second->pixel(x, y) & 0xFFFFFF))
                    return true;
        return false;
    };
    EXPECT_TRUE(rowDiffers(0)) << "Marcar";
    EXPECT_TRUE(rowDiffers(1)) << "Desmarcar";
    EXPECT_FALSE(rowDiffers(3)) << "Roteiros";
}
