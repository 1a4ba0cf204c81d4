// The saved-search dialog run by its registered name over the almanac's disk, with the user's
// searches in a user folder of the test's own: opening, modifying, deleting (never a protected
// search, never through a disabled button, safely down to the last one), a new search, and
// leaving by a press outside.

#include "app/ClassSet.h"
#include "app/atlas/database/SavedSearches.h"
#include "app/shell/Registrations.h"
#include "framework/display/DrawingInterface.h"
#include "framework/display/Font.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/List.h"
#include "framework/runtime/Table.h"
#include "framework/ui/DialogObject.h"
#include "platform/sys/Folders.h"
#include "tests/framework/ui/UiFixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The dialog's corner and its controls' places (content/almanac/screens/BDDlgHF.frm).
constexpr int originX = 48, originY = 85;
constexpr int listX = originX + 16 + 20, listTop = originY + 64;
constexpr int buttonY = originY + 264 + 16;
constexpr int abrirX = originX + 14 + 60, modificarX = originX + 146 + 60, novaX = originX + 278 + 60,
              excluirX = originX + 410 + 60;

qelValue search(const char* name, const char* line)
{
    qelValue table = qelTable(4, 100, 75);
    qelPut(table, "Name", name);
    qelPut(table, "Contents", qelListOf({ qelValue(line) }));
    return table;
}

std::vector<std::string> namesOf(const qelValue& searches)
{
    std::vector<std::string> out;
    for (int32_t i = 0; i < qelCount(searches); ++i)
        out.push_back(qelCString(qelGet(qelGet(searches, i), "Name")));
    return out;
}

// "Action" and the chosen search's "Name" of an answer; "nil" for none.
std::string answer(const qelValue& result)
{
    if (result.isNil())
        return "nil";
    qelValue chosen = qelGet(result, "Pesquisa");
    return std::string(qelCString(qelGet(result, "Action"))) + (chosen.isNil() ? "" : " " + std::string(qelCString(qelGet(chosen, "Name"))));
}

class SavedSearchDialog : public testing::Test {
protected:
    void SetUp() override
    {
        user = fs::temp_directory_path() / ("qel-bdhf-" + std::to_string(std::random_device {}()));
        fs::create_directories(user);
        setenv(platform::userFolderVariable().c_str(), user.string().c_str(), 1);
        releaseSavedSearches();
    }
    void TearDown() override
    {
        releaseSavedSearches();
        unsetenv(platform::userFolderVariable().c_str());
        fs::remove_all(user);
    }

    // Runs "BDHFDialog" once over the disk with the script; the answer and the errors reported.
    std::string run(const std::string& script, const char* database)
    {
        UiFixture ui(script.c_str());
        ui.environment->setSetting("SourceDisk", (std::string(QEL_BUILD_DIR) + "/disk").c_str());
        ui.environment->setSetting("MediaPath", "Media");
        velarimRegisterClassPrototypes();
        velarimRegister(0, velarimRegistrations.size());
        int32_t w = 0;
        qelMeasureString("|", qelFontValue("Arial", 13, 0), &w, &rowHeight);
        // The script is written before the row height is known: rows are named r0, r1, r2.
        qelValue data = qelTable(4, 100, 75);
        qelPut(data, "Selection", database);
        std::string result = answer(qelRunDialog("BDHFDialog", data));
        errors = recordedErrors();
        releaseSavedSearches();
        return result;
    }

    // The script's click on row n of the list of searches.
    static std::string row(int n, const char* action = "click")
    {
        return std::string(action) + " " + std::to_string(listX) + " ROW" + std::to_string(n) + "\n";
    }

    int32_t rowHeight = 0;
    std::vector<std::string> errors;
    fs::path user;
};

// Rows are placed once the font is measured: the test font's "|" gives every row's height.
std::string placeRows(std::string script, int32_t rowHeight)
{
    for (int n = 0; n < 4; ++n) {
        std::string mark = "ROW" + std::to_string(n);
        std::string y = std::to_string(listTop + rowHeight * n + rowHeight / 2);
        for (size_t at; (at = script.find(mark)) != std::string::npos;)
            script.replace(at, mark.size(), y);
    }
    return script;
}

std::string click(int x, int y)
{
    return "click " + std::to_string(x) + " " + std::to_string(y) + "\n";
}

} // namespace

TEST_F(SavedSearchDialog, SavesReopensModifiesAndDeletes)
{
    addSavedSearch("Paises", search("**Exemplo", "Todos os pa\xEDses"));
    addSavedSearch("Paises", search("Mercosul", "Bloco: Mercosul"));
    addSavedSearch("Paises", search("Sul", "Continente: Am\xE9rica do Sul"));
    releaseSavedSearches();

    // The row height comes from the fixture's font; measure it once with an empty run.
    run("key Escape\n", "Paises");
    ASSERT_GT(rowHeight, 0);
    auto play = [&](const std::string& script) { return run(placeRows(script, rowHeight), "Paises"); };

    // Right after opening "Excluir" is disabled: neither it nor the Delete key deletes; a chosen
    // search goes back with "Modificar".
    EXPECT_EQ(play("key Delete\n" + click(excluirX, buttonY) + row(1) + click(modificarX, buttonY)), "Modificar Mercosul");
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(namesOf(loadSavedSearches("Paises")), (std::vector<std::string> { "**Exemplo", "Mercosul", "Sul" }));
    releaseSavedSearches();

    // Deleting "Mercosul" selects the row above it, the protected example, whose "Excluir" is
    // disabled again; the Delete key then deletes "Sul" once it is chosen.
    EXPECT_EQ(play(row(1) + click(excluirX, buttonY) + "key Delete\n" + row(1) + "key Delete\n" + click(novaX, buttonY)),
        "Nova Pesquisa");
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(namesOf(loadSavedSearches("Paises")), (std::vector<std::string> { "**Exemplo" }));
    releaseSavedSearches();

    // A double click opens; a click on the description opens too.
    EXPECT_EQ(play(row(0, "dblclick")), "Abrir **Exemplo");
    EXPECT_EQ(play(click(originX + 300, listTop + rowHeight / 2)), "Abrir **Exemplo");
    // A press outside the panel leaves with nothing.
    EXPECT_EQ(play(click(10, 10)), "nil");
    EXPECT_TRUE(errors.empty());
}

TEST_F(SavedSearchDialog, DeletingTheLastSearchLeavesNothingToOpen)
{
    addSavedSearch("Estados", search("Norte", "Regi\xE3o: Norte"));
    releaseSavedSearches();
    run("key Escape\n", "Estados");
    std::string script = row(0) + click(excluirX, buttonY) + "key Delete\n" + click(abrirX, buttonY)
        + click(modificarX, buttonY) + row(0) + "key Escape\n";
    EXPECT_EQ(run(placeRows(script, rowHeight), "Estados"), "nil");
    EXPECT_TRUE(errors.empty()) << errors.front();
    EXPECT_EQ(qelCount(loadSavedSearches("Estados")), 0);
    // With no search, "Nova Pesquisa" is what is left.
    releaseSavedSearches();
    EXPECT_EQ(run(click(novaX, buttonY), "Estados"), "Nova Pesquisa");
}
