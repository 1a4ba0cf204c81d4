// The criteria dialog and the region and bloc chooser, run by their registered names over the
// almanac's disk: the number criteria as typed, a saved search re-applied and run at once (its
// fields, criteria, hidden region condition and sort), the searches that answer nothing, and the
// chooser's default, last and cancelled answers.

#include "app/ClassSet.h"
#include "app/atlas/database/BDMCDialog.h"
#include "app/atlas/database/SavedSearches.h"
#include "app/shell/Registrations.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/List.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/ui/DialogObject.h"
#include "platform/sys/Folders.h"
#include "tests/framework/ui/UiFixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct NumberCase {
    const char* typed;
    const char* op;
    float number;
    const char* shown;
};

TEST(BDMCDialogNumber, ReadsTheOperatorTheDecimalCommaAndTheShownText)
{
    const NumberCase cases[] = {
        { "100", "=", 100.0f, "= 100" },
        { ">= 1,5", ">=", 1.5f, ">= 1,5" },
        { "<20", "<", 20.0f, "<20" },
        { "> 2,25", ">", 2.25f, "> 2,25" },
        { "12,5", "=", 12.5f, "= 12,5" },
        // Not an operator: it reaches the filter as typed and matches nothing.
        { "=> 3", "=>", 3.0f, "=> 3" },
        // Nothing typed removes the criterion.
        { "", " ", 0.0f, "" },
    };
    for (const NumberCase& c : cases) {
        BDMCDialog::NumberCriterion read = BDMCDialog::readNumberCriterion(qelValue(c.typed));
        EXPECT_STREQ(qelCString(read.op), c.op) << c.typed;
        EXPECT_EQ(read.number, c.number) << c.typed;
        EXPECT_STREQ(qelCString(read.shown), c.shown) << c.typed;
    }
}

qelValue row(const char* name, const char* sort, const char* criterion, int shown)
{
    return qelListOf({ qelValue(name), qelValue(sort), qelValue(criterion), qelMakeInt(shown) });
}

// A saved search as the criteria dialog saves it: the rows with the positions of their fields in
// the dialog's field list (content/almanac/screens/BDMCDlg.frm).
qelValue savedSearch(const char* tipo, std::initializer_list<std::pair<qelValue, int>> rows, int ordered, const char* order)
{
    qelValue table = qelTable(4, 100, 75);
    qelValue criteriaTable = qelTable(70, 100, 75);
    qelValue criteriaList = qelMakeList(70, 100, QEL_GENERAL_LIST);
    for (const auto& [r, position] : rows) {
        qelPut(criteriaTable, qelGet(r, 0), qelMakeInt(position));
        qelAddItem(criteriaList, r);
    }
    qelPut(table, "Name", "**Exemplo");
    qelPut(table, "Tipo", tipo);
    qelPut(table, "Criteria Table", criteriaTable);
    qelPut(table, "Criteria List", criteriaList);
    qelPut(table, "Ordered Field", qelMakeInt(ordered));
    qelPut(table, "Order", order);
    qelPut(table, "Abrir", qelMakeBoolean(1));
    return table;
}

std::vector<std::string> column(const qelValue& records, int field)
{
    std::vector<std::string> out;
    for (int32_t i = 0; i < qelCount(records); ++i) {
        qelValue value = qelGet(qelGet(records, i), field);
        out.push_back(value.isString() ? qelCString(value) : std::to_string(qelFloatValue(value)));
    }
    return out;
}

class DatabaseDialogs : public testing::Test {
protected:
    void SetUp() override
    {
        user = fs::temp_directory_path() / ("qel-bdmc-" + std::to_string(std::random_device {}()));
        fs::create_directories(user);
        setenv(platform::userFolderVariable().c_str(), user.string().c_str(), 1);
        releaseSavedSearches();
    }
    void TearDown() override
    {
        ui.reset();
        releaseSavedSearches();
        unsetenv(platform::userFolderVariable().c_str());
        fs::remove_all(user);
    }

    // Runs the dialog by name once over the disk with the script, opened with the data the maker
    // builds (values live in one run's environment); the answer, valid until the next run.
    qelValue run(const char* dialog, const std::function<qelValue()>& makeData, const char* script = "wait 10\n")
    {
        ui.reset();
        ui = std::make_unique<UiFixture>(script);
        ui->environment->setSetting("SourceDisk", (std::string(QEL_BUILD_DIR) + "/disk").c_str());
        ui->environment->setSetting("MediaPath", "Media");
        velarimRegisterClassPrototypes();
        velarimRegister(0, velarimRegistrations.size());
        qelValue answer = qelRunDialog(dialog, makeData());
        errors = recordedErrors();
        return answer;
    }

    std::unique_ptr<UiFixture> ui;
    std::vector<std::string> errors;
    fs::path user;
};

TEST_F(DatabaseDialogs, ASavedSearchOpenedAsSavedRunsAtOnce)
{
    // South America and Oceania above a million people, the most populous first; the
    // population's column is hidden, the area's shown.
    qelValue answer = run("BDMCDialog", [] {
        return savedSearch("Pa\xEDses",
            { { row("Pa\xEDs", "", "", 1), 0 },
                { row("Continente", "", "Am\xE9rica do Sul;Oceania", 1), 2 },
                { row("Popula\xE7\xE3o", "Desc", ">= 1000000", 0), 8 },
                { row("\xC1rea", "", "", 1), 9 } },
            2, "Desc");
    });
    ASSERT_EQ(answer.type(), QEL_TABLE_TYPE);
    EXPECT_TRUE(errors.empty());
    EXPECT_STREQ(qelCString(qelGet(answer, "Name")), "Exemplo") << "the stars are not part of the name";
    qelValue fields = qelGet(answer, "FieldsUsed");
    ASSERT_EQ(qelCount(fields), 3);
    EXPECT_EQ(qelIntAt(fields, 0), 1);
    EXPECT_EQ(qelIntAt(fields, 1), 7);
    EXPECT_EQ(qelIntAt(fields, 2), 3);
    EXPECT_EQ(qelGetInt(answer, "Ordered Field"), 2);
    EXPECT_EQ(qelGetInt(answer, "DBase2Use"), 0);
    EXPECT_EQ(qelGetInt(answer, "RowHeight"), 2);
    qelValue records = qelGet(answer, "DataRecs");
    std::vector<std::string> names = column(records, 1);
    ASSERT_GE(names.size(), 3u);
    EXPECT_EQ(names[0], "Brasil");
    for (const std::string& continent : column(records, 7))
        EXPECT_TRUE(continent == "Am\xE9rica do Sul" || continent == "Oceania") << continent;
    std::vector<std::string> populations = column(records, 4);
    for (size_t i = 0; i < populations.size(); ++i) {
        EXPECT_GE(std::stod(populations[i]), 1000000.0) << names[i];
        if (i > 0)
            EXPECT_GE(std::stod(populations[i - 1]), std::stod(populations[i])) << names[i];
    }
}

TEST_F(DatabaseDialogs, ARegionSearchKeepsItsRegionHidden)
{
    qelValue answer = run("BDMCDialog", [] {
        qelValue data = savedSearch(
            "Regi\xE3o", { { row("Estado", "Ascen", "", 1), 0 }, { row("Capital", "", "", 1), 3 } }, 0, "Ascen");
        qelPut(data, "BR Cond", "Sul");
        return data;
    });
    ASSERT_EQ(answer.type(), QEL_TABLE_TYPE);
    EXPECT_EQ(qelGetInt(answer, "DBase2Use"), 1);
    EXPECT_EQ(column(qelGet(answer, "DataRecs"), 1),
        (std::vector<std::string> { "Paran\xE1", "Rio Grande do Sul", "Santa Catarina" }));
    EXPECT_EQ(qelCount(qelGet(answer, "FieldsUsed")), 2) << "the region filters without a column";
}

TEST_F(DatabaseDialogs, AValueListOpensWithTheRowsValuesChosen)
{
    // A saved search changed in the dialog: its continents' criterion cell opens the value list
    // with the row's two values chosen, a click adds a third, Enter takes them and "Abrir" ends.
    // Places (content/almanac/screens/BDMCDlg.frm, dialog at 42, 60): the criterion cell of row 1
    // at 490, 180; the list below it from y 191 in rows of the test font's 10 pixels, the
    // continents after "Todos" in the list's order; "Abrir" at 114, 420.
    const std::string continents[] = { "Todos", "Am\xE9rica do Norte", "Am\xE9rica do Sul", "\xC1" "frica", "\xC1sia",
        "Europa", "Oceania" };
    auto valueAt = [](int index) { return "click 490 " + std::to_string(191 + index * 10 + 5) + "\n"; };
    std::string script = "click 490 180\n" + valueAt(4) + "key Enter\nclick 114 420\n";
    qelValue answer = run("BDMCDialog", [] {
        qelValue data = savedSearch("Pa\xEDses",
            { { row("Pa\xEDs", "Ascen", "", 1), 0 }, { row("Continente", "", "Am\xE9rica do Sul;Oceania", 1), 2 } }, 0,
            "Ascen");
        qelPut(data, "Abrir", qelMakeBoolean(0));
        return data;
    }, script.c_str());
    ASSERT_EQ(answer.type(), QEL_TABLE_TYPE);
    EXPECT_TRUE(errors.empty());
    qelValue continent = qelGet(qelGet(answer, "Criteria List"), 1);
    // The values in the list's order, the two kept and the one added.
    EXPECT_EQ(std::string(qelCString(qelGet(continent, 2))), continents[2] + ";" + continents[4] + ";" + continents[6]);
    for (const std::string& found : column(qelGet(answer, "DataRecs"), 7))
        EXPECT_TRUE(found == continents[2] || found == continents[4] || found == continents[6]) << found;
}

TEST_F(DatabaseDialogs, SearchesThatAnswerNothing)
{
    // Only the name row, a search that finds no record, and a cancelled dialog.
    EXPECT_TRUE(run("BDMCDialog", [] {
        return savedSearch("Pa\xEDses", { { row("Pa\xEDs", "Ascen", "", 1), 0 } }, 0, "Ascen");
    }).isNil());
    EXPECT_TRUE(run("BDMCDialog", [] {
        return savedSearch("Pa\xEDses",
            { { row("Pa\xEDs", "Ascen", "", 1), 0 }, { row("Popula\xE7\xE3o", "", "< 1", 1), 8 } }, 0, "Ascen");
    }).isNil());
    auto fresh = [] {
        qelValue data = qelTable(3, 100, 75);
        qelPut(data, "Name", "Minha Pesquisa");
        qelPut(data, "Tipo", "Pa\xEDses");
        return data;
    };
    EXPECT_TRUE(run("BDMCDialog", fresh, "key Escape\n").isNil());
}

TEST_F(DatabaseDialogs, TheChooserAnswersItsDefaultTheLastPickOrNothing)
{
    // The options' places (content/almanac/screens/BDRegDlg.frm, BDBloDlg.frm): the dialog's
    // corner plus the button's centre.
    auto option = [](int originY, int index) {
        return "click 320 " + std::to_string(originY + 44 + index * 32 + 13) + "\n";
    };
    auto ok = [](int originY, int options) {
        return "click 254 " + std::to_string(originY + 96 + options * 32 - 44 + 16) + "\n";
    };
    auto cancel = [](int originY, int options) {
        return "click 386 " + std::to_string(originY + 96 + options * 32 - 44 + 16) + "\n";
    };
    auto none = [] { return qelNil; };
    auto text = [](const qelValue& answer) { return answer.isString() ? std::string(qelCString(answer)) : "nil"; };
    EXPECT_EQ(text(run("BDRegDialog", none, ok(120, 5).c_str())), "Centro-Oeste");
    EXPECT_EQ(text(run("BDBlocoDialog", none, ok(100, 6).c_str())), "Asean");
    EXPECT_EQ(text(run("BDRegDialog", none, (option(120, 0) + option(120, 4) + ok(120, 5)).c_str())), "Sul");
    EXPECT_EQ(text(run("BDBlocoDialog", none, (option(100, 2) + cancel(100, 6)).c_str())), "nil");
    EXPECT_EQ(text(run("BDRegDialog", none, (option(120, 1) + "key Escape\n").c_str())), "nil");
}

} // namespace
