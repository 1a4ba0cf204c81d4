// The word search dialog over a small disk (the search fixture's items as the database lists and
// keyword files hold them): the count line, the buttons each state enables, the section filter
// and its three states, the phrase search, the chosen row's result table, "Salvar" and what
// survives from one run to the next.

#include "app/reference/BuscaDialog.h"
#include "app/shell/DBLists.h"
#include "app/shell/VLListBox.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Environment.h"
#include "framework/runtime/Table.h"
#include "framework/runtime/ValuePrinter.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/Perform.h"
#include "tests/app/reference/SearchFixture.h"
#include "tests/framework/ui/UiFixture.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace searchtest;

namespace {

namespace fs = std::filesystem;

void writeIndex(const std::string& path, const std::vector<std::pair<qelValue, qelValue>>& items)
{
    qelValue index = qelCreateIndex(qelValue(path.c_str()));
    for (const auto& [key, value] : items)
        qelIndexObjectOf(index)->put(key, value);
}

void writeArchive(const std::string& path, const std::vector<qelValue>& items)
{
    qelValue archive = qelCreateArchive(qelValue(path.c_str()), 0);
    for (const qelValue& item : items)
        qelArchiveOf(archive)->add(item);
    qelArchiveOf(archive)->flush();
}

// The controls the dialog addresses, as hot spots and fields in a plain panel; section boxes
// Atlas (bit 2) and Verbetes (bit 64) are elements 1 and 6 of "AvançadoGroup".
const char* const resource = "(table (\"Class\" \"BuscaDialog\") (\"Origin X\" 20) (\"Origin Y\" 20)"
                             " (\"Width\" 500) (\"Height\" 400)"
                             " (\"Avan\xE7" "adoGroup\" (list \"A\" \"Atlas\" \"C\" \"L\" \"M\" \"R\" \"Verbetes\" \"Avan\xE7" "adoBK\" \"Fechar1\"))"
                             " (\"Control List\" (list"
                             " (control (\"Class\" \"TextField\") (\"Name\" \"What2Find\") (\"Hot Spot\" (rect 0 0 300 20)))"
                             " (control (\"Class\" \"VLListBox\") (\"Name\" \"ResultsListBox\") (\"dbID\" 5) (\"Hot Spot\" (rect 0 30 300 200)))"
                             " (control (\"Class\" \"StaticText\") (\"Name\" \"ResultCountText\") (\"TextRegion\" (rect 0 240 300 20)) (\"Text\" \" \"))"
                             " (control (\"Class\" \"CheckBox\") (\"Name\" \"Todas\") (\"Hot Spot\" (rect 0 270 100 20)))"
                             " (control (\"Class\" \"CheckBox\") (\"Name\" \"Atlas\") (\"FilterMask\" 2) (\"Hot Spot\" (rect 100 270 100 20)))"
                             " (control (\"Class\" \"CheckBox\") (\"Name\" \"Verbetes\") (\"FilterMask\" 64) (\"Hot Spot\" (rect 200 270 100 20)))"
                             " (control (\"Class\" \"HotSpot\") (\"Name\" \"Procurar\") (\"Hot Spot\" (rect 320 0 80 20)))"
                             " (control (\"Class\" \"HotSpot\") (\"Name\" \"Ok\") (\"Hot Spot\" (rect 320 30 80 20)))"
                             " (control (\"Class\" \"HotSpot\") (\"Name\" \"Limpar\") (\"Hot Spot\" (rect 320 60 80 20)))"
                             " (control (\"Class\" \"HotSpot\") (\"Name\" \"Salvar\") (\"Hot Spot\" (rect 320 90 80 20)))"
                             " (control (\"Class\" \"HotSpot\") (\"Name\" \"Fechar\") (\"Hot Spot\" (rect 320 120 80 20)))"
                             ")))";

class ProbeBusca : public BuscaDialog {
public:
    using BuscaDialog::BuscaDialog;
    qelValue tours;
    // The count line as the run ends.
    std::string countAtEnd;
    qelValue result() override
    {
        qelValue text = qelControlOf(findControl("Name", qelValue("ResultCountText")))->getProperty("Text");
        countAtEnd = qelCString(text);
        return BuscaDialog::result();
    }

protected:
    void runTourEditor(const qelValue& data) override { tours = data; }
};

class BuscaDialogTest : public testing::Test {
protected:
    void SetUp() override
    {
        media = fs::path(disk.dir.path("Media"));
        fs::create_directories(media);
        ui.environment->setSetting("SourceDisk", disk.dir.path("").c_str());
        ui.environment->setSetting("MediaPath", "Media");
        ui.environment->registerClass(new VLListBox(qelNil));
        fs::copy_file(disk.indexPath(), media / "KeyWord.idx");
        fs::copy_file(disk.archivePath(), media / "KeyWord.dat");
        std::vector<std::pair<qelValue, qelValue>> names, listIds;
        std::vector<qelValue> entries;
        for (const Item& item : items()) {
            if (item.name)
                names.push_back({ qelValue(item.id), qelValue(item.name) });
            if (item.entryRecord) {
                listIds.push_back({ qelValue(item.id & 0xFFFF), qelValue(int32_t(entries.size())) });
                entries.push_back(qelListOf({ qelValue(item.id & 0xFFFF), qelValue(item.heading), qelValue(item.heading),
                    qelValue(1), qelValue(item.text) }));
            }
        }
        writeIndex((media / "GNRNList.IDX").string(), names);
        writeIndex((media / "VDBLstID.IDX").string(), listIds);
        writeArchive((media / "Verbetes.DAT").string(), entries);
        writeArchive((media / "Midias.DAT").string(), {});
        writeArchive((media / "Atlas.DAT").string(), {});
        for (const char* index : { "VDBNList", "VDBIDLst", "VDBName", "MDBLstID", "MDBFName", "MDBName", "MDBNList",
                 "MDBIDLst", "MDBIDLt2", "ATNamLst", "ATIDList" })
            writeIndex((media / (std::string(index) + ".IDX")).string(), {});
        ASSERT_EQ(DBLists::instance().open(), 1);
        BuscaDialog::lastSearchText().clear();
        dialog = qelFormValue(object = new ProbeBusca(UiFixture::read(
                                  (std::string("(table (\"Resource Table\" ") + resource + "))").c_str())));
    }
    void TearDown() override { DBLists::instance().release(); }

    // As the modal runner opens it: the dialog is the active form, whose resources it reads.
    void open(const qelValue& data)
    {
        qelSetActiveForm(dialog);
        object->open(data);
    }
    qelValue control(const char* name) { return object->findControl("Name", qelValue(name)); }
    std::string property(const char* name, const char* key)
    {
        qelValue value = qelControlOf(control(name))->getProperty(key);
        return qelCString(qelPrintValue(value, 1));
    }
    bool disabled(const char* name) { return qelControlOf(control(name))->getProperty("Disabled") == qelTrue; }
    bool selected(const char* name) { return qelPerformAction(control(name), "IsSelected") == qelTrue; }
    void type(const char* query) { qelPerform(control("What2Find"), "setText", qelValue(query)); }
    void click(const char* name) { object->handleControl(control(name)); }
    std::string count() { return property("ResultCountText", "Text"); }
    std::string results() { return labels(ids(object->results())); }
    static std::vector<int32_t> ids(const qelValue& list)
    {
        std::vector<int32_t> out;
        for (int32_t i = 0; i < qelCount(list); ++i)
            out.push_back(qelIntAt(list, i));
        return out;
    }
    std::string printed(const qelValue& value) { return qelCString(qelPrintValue(value, 1)); }

    UiFixture ui;
    KeywordDisk disk;
    fs::path media;
    ProbeBusca* object = nullptr;
    qelValue dialog;
};

TEST_F(BuscaDialogTest, TheCountLineAndTheButtonsFollowEachSearch)
{
    open(qelNil);
    EXPECT_TRUE(selected("Todas"));
    EXPECT_TRUE(disabled("Ok") && disabled("Limpar") && disabled("Salvar"));
    struct Case {
        const char* query;
        const char* count;
        const char* found;
    };
    for (const Case& c : { Case { "rio", "\"6 itens encontrados\"", "E11 M1 E9 E5 E4 E6" },
             Case { "S\xE3o", "\"1 item encontrados\"", "E3" }, Case { "xyz", "\"Nenhum item encontrado\"", "" } }) {
        type(c.query);
        // Enter in the field searches as "Procurar" does.
        object->key(13, 0);
        EXPECT_EQ(count(), c.count) << c.query;
        EXPECT_EQ(results(), c.found) << c.query;
        bool none = c.found[0] == 0;
        EXPECT_EQ(disabled("Ok"), none) << c.query;
        EXPECT_EQ(disabled("Limpar"), none) << c.query;
    }
    EXPECT_TRUE(ui.environment && recordedErrors().empty()) << recordedErrors().front();
    object->close();
}

TEST_F(BuscaDialogTest, SectionBoxesFilterTheListAndOnlyEntriesAloneEnableSalvar)
{
    open(qelNil);
    type("rio brasil");
    click("Procurar");
    EXPECT_EQ(results(), "E11 A1 M1 E1 E9 E5 E4 E6");
    click("Verbetes");
    EXPECT_EQ(object->filterMask(), 64);
    EXPECT_FALSE(selected("Todas"));
    EXPECT_FALSE(disabled("Salvar"));
    EXPECT_EQ(results(), "E11 E1 E9 E5 E4 E6");
    EXPECT_EQ(count(), "\"6 itens encontrados\"");
    click("Atlas");
    EXPECT_EQ(object->filterMask(), 66);
    EXPECT_TRUE(disabled("Salvar"));
    click("Verbetes");
    EXPECT_EQ(object->filterMask(), 2);
    EXPECT_EQ(results(), "A1");
    // Nothing found under a filter: "Limpar" stays to reset it.
    type("xyz");
    click("Procurar");
    EXPECT_TRUE(disabled("Ok"));
    EXPECT_FALSE(disabled("Limpar"));
    // Clearing the last box goes back to every section.
    click("Atlas");
    EXPECT_EQ(object->filterMask(), 255);
    EXPECT_TRUE(selected("Todas"));
    click("Verbetes");
    click("Limpar");
    EXPECT_EQ(object->filterMask(), 255);
    EXPECT_TRUE(selected("Todas"));
    EXPECT_FALSE(selected("Verbetes"));
    EXPECT_EQ(count(), "\" \"");
    EXPECT_TRUE(object->results().isNil());
    EXPECT_EQ(property("What2Find", "StringValue"), "\"\"");
    object->close();
}

TEST_F(BuscaDialogTest, APhraseSearchKeepsEntriesAndSalvarHandsTheirNumbersToTheTourEditor)
{
    open(qelNil);
    type("(rio janeiro)");
    click("Procurar");
    EXPECT_EQ(object->phraseMode(), 1);
    EXPECT_EQ(object->filterMask(), 64);
    EXPECT_FALSE(disabled("Salvar"));
    EXPECT_EQ(results(), "E4");
    // In phrase mode a section box changes the filter without searching again.
    click("Atlas");
    EXPECT_EQ(results(), "E4");
    click("Atlas");
    type("rio negro");
    click("Procurar");
    click("Salvar");
    EXPECT_EQ(printed(object->tours), "(table (\"NewRoteiro\" (intlist 11 9 5 4 6)))");
    object->close();
}

TEST_F(BuscaDialogTest, AChosenRowGivesItsSectionsBrowseListAndTheNextRunStartsWithoutIt)
{
    open(qelNil);
    type("rio brasil");
    click("Procurar");
    // Row 3 is E1 (Brasil): its browse list holds the entries among the results.
    qelPerform(control("ResultsListBox"), "setSelection", qelValue(3));
    click("Ok");
    EXPECT_TRUE(object->done);
    qelValue result = object->result();
    object->close();
    EXPECT_EQ(printed(qelGet(result, "FilterMask")), "255");
    EXPECT_EQ(printed(qelGet(result, "Text")), "\"Verbetes: Brasil\"");
    EXPECT_EQ(labels(ids(qelGet(result, "BrowseList"))), "E11 E1 E9 E5 E4 E6");
    EXPECT_EQ(printed(qelGet(result, "Index")), "1");
    EXPECT_EQ(printed(qelGet(result, "SearchedText")), "\"rio brasil\"");
    EXPECT_EQ(BuscaDialog::lastSearchText(), "rio brasil");

    // The next run shows the last query and its results, and takes the filter from its data.
    qelValue data = qelTable(4, 100, 75);
    qelTableOf(data)->put("FilterMask", qelValue(64));
    open(data);
    EXPECT_EQ(property("What2Find", "StringValue"), "\"rio brasil\"");
    EXPECT_EQ(count(), "\"8 itens encontrados\"");
    EXPECT_FALSE(disabled("Ok"));
    EXPECT_TRUE(selected("Verbetes"));
    EXPECT_FALSE(disabled("Salvar"));
    // Closing without a choice answers the filter only.
    click("Fechar");
    qelValue second = object->result();
    object->close();
    EXPECT_EQ(printed(second), "(table (\"FilterMask\" 64))");
}

// The script is UTF-8, as a user types; the field receives cp1252. A key that arrives while the
// search runs (the next script line, with no time between) stops it after its first word.
TEST_F(BuscaDialogTest, ARunTypedInTheHeadlessWindowSearchesOnEnterAndEndsOnEscapeWithTheFilterOnly)
{
    struct Case {
        const char* between;
        const char* count;
        const char* found;
    };
    for (const Case& c : { Case { "wait 100\n", "2 itens encontrados", "E10 E3" },
             Case { "", "1 item encontrados", "E3" } }) {
        std::string script = std::string("text \"S\xC3\xA3o Paulo\"\nkey Enter\n") + c.between + "key Escape\n";
        ui.headless->setScript(std::get<platform::Script>(platform::Script::parse(script)));
        qelValue result = qelRunDialog(dialog, qelNil);
        EXPECT_EQ(object->countAtEnd, c.count) << script;
        EXPECT_EQ(results(), c.found) << script;
        EXPECT_EQ(printed(result), "(table (\"FilterMask\" 255))");
        EXPECT_EQ(BuscaDialog::lastSearchText(), "S\xE3o Paulo");
        BuscaDialog::lastSearchText().clear();
    }
}

} // namespace
