// The tours: the editor's names for saved searches, its buttons for locked and open tours, adding
// and removing the offered entry, deleting tours, the names it refuses; the browser's result and
// its press outside; RotPesq.DTT's bytes and what happens to a damaged one.
//
// The dialogs run over a plain panel whose "Roteiros" and "Verbetes"/"VBListBox" are list boxes;
// the user folder is a temporary folder of the test's own.

#include "app/reference/NomeRoteiroDlg.h"
#include "app/reference/TourFile.h"
#include "app/reference/VBCRDialog.h"
#include "app/reference/VBDialogHF.h"
#include "app/shell/UserFiles.h"
#include "framework/display/Region.h"
#include "framework/runtime/Archive.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/FileLocator.h"
#include "framework/runtime/List.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/ui/AbstractListBox.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/Perform.h"
#include "platform/sys/Folders.h"
#include "tests/framework/ui/ScreenProbe.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>

namespace {

namespace fs = std::filesystem;

using Bytes = std::vector<uint8_t>;

Bytes fileBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

const char* const editorResource
    = "(table (\"Resource Table\" (table (\"Class\" \"VBCRDialog\") (\"Origin X\" 100) (\"Origin Y\" 50)"
      " (\"Width\" 400) (\"Height\" 300)"
      " (\"Roteiros\" (control (\"Class\" \"ListBox\") (\"Name\" \"Roteiros\") (\"Hot Spot\" (rect 10 10 150 200))))"
      " (\"Verbetes\" (control (\"Class\" \"ListBox\") (\"Name\" \"Verbetes\") (\"Hot Spot\" (rect 170 10 150 200))))"
      " (\"Incluir Roteiro\" (control (\"Class\" \"HotSpot\") (\"Name\" \"Incluir Roteiro\") (\"Hot Spot\" (rect 10 "
      "220 60 20))))"
      " (\"Excluir Roteiro\" (control (\"Class\" \"HotSpot\") (\"Name\" \"Excluir Roteiro\") (\"Hot Spot\" (rect 80 "
      "220 60 20))))"
      " (\"Incluir Verbete\" (control (\"Class\" \"HotSpot\") (\"Name\" \"Incluir Verbete\") (\"Hot Spot\" (rect 170 "
      "220 60 20))))"
      " (\"Excluir Verbete\" (control (\"Class\" \"HotSpot\") (\"Name\" \"Excluir Verbete\") (\"Hot Spot\" (rect 240 "
      "220 60 20))))"
      " (\"Ok\" (control (\"Class\" \"HotSpot\") (\"Name\" \"Ok\") (\"Hot Spot\" (rect 10 260 60 20))))"
      " (\"Cancelar\" (control (\"Class\" \"HotSpot\") (\"Name\" \"Cancelar\") (\"Hot Spot\" (rect 80 260 60 20))))"
      " (\"Control List\" (list (reference \"Roteiros\") (reference \"Verbetes\") (reference \"Incluir Roteiro\")"
      "   (reference \"Excluir Roteiro\") (reference \"Incluir Verbete\") (reference \"Excluir Verbete\")"
      "   (reference \"Ok\") (reference \"Cancelar\"))))))";

const char* const browserResource
    = "(table (\"Resource Table\" (table (\"Class\" \"VBDialogHF\") (\"Origin X\" 100) (\"Origin Y\" 50)"
      " (\"Roteiros\" (control (\"Class\" \"ListBox\") (\"Name\" \"Roteiros\") (\"Hot Spot\" (rect 10 10 150 200))))"
      " (\"VBListBox\" (control (\"Class\" \"ListBox\") (\"Name\" \"VBListBox\") (\"Hot Spot\" (rect 170 10 150 200))))"
      " (\"Control List\" (list (reference \"Roteiros\") (reference \"VBListBox\"))))))";

// The name dialog answers from a queue, as the user would type the names one after the other.
class ProbeEditor : public VBCRDialog {
public:
    using VBCRDialog::VBCRDialog;
    std::deque<qelValue> typed;
    std::vector<std::string> notices;

protected:
    qelValue askTourName(const qelValue& notice) override
    {
        notices.push_back(notice.isString() ? qelCString(notice) : "");
        if (typed.empty())
            return qelNil;
        qelValue name = typed.front();
        typed.pop_front();
        return name;
    }
};

qelValue ints(std::initializer_list<int32_t> values)
{
    qelValue list = qelNewIntList(4);
    for (int32_t n : values)
        qelAddItem(list, qelMakeInt(n));
    return list;
}

std::vector<int32_t> intsOf(const qelValue& list)
{
    std::vector<int32_t> out;
    for (int32_t i = 0; i < qelCount(list); ++i)
        out.push_back(qelIntAt(list, i));
    return out;
}

std::vector<std::string> stringsOf(const qelValue& list)
{
    std::vector<std::string> out;
    for (int32_t i = 0; i < qelCount(list); ++i)
        out.push_back(qelCString(qelGet(list, i)));
    return out;
}

// A tour table as the editor writes it: names in order, each with its ids.
qelValue tourTable(std::initializer_list<std::pair<const char*, std::initializer_list<int32_t>>> tours)
{
    qelValue table = qelTable(4, 100, 75);
    qelValue names = qelMakeList(4, 100, QEL_GENERAL_LIST);
    qelPut(table, tourNamesKey, names);
    for (const auto& [name, ids] : tours) {
        qelAddItem(names, qelValue(name));
        qelPut(table, qelValue(name), ints(ids));
    }
    return table;
}

class ToursTest : public testing::Test {
protected:
    void SetUp() override
    {
        user = fs::temp_directory_path() / ("qel-tours-" + std::to_string(std::random_device {}()));
        fs::create_directories(user);
        setenv(platform::userFolderVariable().c_str(), user.string().c_str(), 1);
        newEditor();
    }
    void TearDown() override
    {
        unsetenv(platform::userFolderVariable().c_str());
        fs::remove_all(user);
    }

    // A new object, as the program's one editor object is after a restart.
    void newEditor() { editorValue = qelFormValue(editor = new ProbeEditor(UiFixture::read(editorResource))); }
    void openEditor(const qelValue& data)
    {
        qelSetActiveForm(editorValue);
        editor->open(data);
    }
    qelValue control(const char* name) { return editor->findControl("Name", qelValue(name)); }
    void click(const char* name) { editor->handleControl(control(name)); }
    void selectRow(const char* list, int32_t row)
    {
        qelPerform(control(list), "setSelection", qelMakeInt(row));
        click(list);
    }
    // The edit buttons switched on, as "RV" ("Excluir Roteiro", "Excluir Verbete", "Incluir
    // Verbete": R, E, I) or "-" for each one off.
    std::string buttons()
    {
        std::string out;
        const char* letters = "REI";
        int i = 0;
        for (const char* name : { "Excluir Roteiro", "Excluir Verbete", "Incluir Verbete" }) {
            bool off = qelControlOf(control(name))->getProperty("Disabled") == qelTrue;
            out += off ? '-' : letters[i];
            ++i;
        }
        return out;
    }
    void finishEditor(const char* button)
    {
        click(button);
        EXPECT_EQ(editor->done, 1);
        editor->close();
    }
    qelValue stored() { return readTours(); }

    UiFixture ui;
    fs::path user;
    ProbeEditor* editor = nullptr;
    qelValue editorValue;
};

} // namespace

TEST_F(ToursTest, SavedSearchesGetTheFirstFreeNameAndSurviveARestart)
{
    for (const char* expected : { "Meu Roteiro", "Meu Roteiro 1", "Meu Roteiro 2" }) {
        newEditor();
        qelValue data = qelTable(4, 100, 75);
        qelPut(data, "NewRoteiro", ints({ 3, 1, 2 }));
        openEditor(data);
        EXPECT_STREQ(qelCString(editor->m_currentTourName), expected);
        // The new tour is selected, with its entries, ready to edit; no entry is offered.
        EXPECT_EQ(
            qelIntValue(qelPerformAction(control("Roteiros"), "getSelection")), qelCount(editor->m_tourNames) - 1);
        EXPECT_EQ(intsOf(qelPerformAction(control("Verbetes"), "getList")), std::vector<int32_t>({ 3, 1, 2 }));
        EXPECT_EQ(buttons(), "RE-");
        finishEditor("Ok");
    }
    qelValue tours = stored();
    EXPECT_EQ(stringsOf(qelGet(tours, qelValue(tourNamesKey))),
        std::vector<std::string>({ "Meu Roteiro", "Meu Roteiro 1", "Meu Roteiro 2" }));
    EXPECT_EQ(intsOf(qelGet(tours, qelValue("Meu Roteiro 2"))), std::vector<int32_t>({ 3, 1, 2 }));

    // "Cancelar" writes nothing.
    newEditor();
    qelValue data = qelTable(4, 100, 75);
    qelPut(data, "NewRoteiro", ints({ 9 }));
    openEditor(data);
    finishEditor("Cancelar");
    EXPECT_EQ(qelCount(qelGet(stored(), qelValue(tourNamesKey))), 3);
}

TEST_F(ToursTest, TheOfferedEntryIsAddedOnceAndMayComeBackAfterItsRemoval)
{
    ASSERT_TRUE(writeTours(tourTable({ { "Rios", { 5 } }, { "**Capitais", { 1, 2 } } })));
    qelValue data = qelTable(4, 100, 75);
    qelPut(data, "VerbID", qelMakeInt(7));
    qelPut(data, "VerbTit", qelValue("Rio Negro"));
    openEditor(data);
    // Nothing selected by the user yet: nothing to edit.
    EXPECT_EQ(buttons(), "---");
    // A locked tour cannot be changed or deleted.
    selectRow("Roteiros", 1);
    EXPECT_EQ(buttons(), "---");
    click("Excluir Roteiro");
    click("Incluir Verbete");
    EXPECT_EQ(qelCount(editor->m_tourNames), 2);
    EXPECT_EQ(intsOf(editor->m_currentTour), std::vector<int32_t>({ 1, 2 }));

    selectRow("Roteiros", 0);
    EXPECT_EQ(buttons(), "REI");
    click("Incluir Verbete");
    EXPECT_EQ(buttons(), "RE-");
    EXPECT_EQ(intsOf(qelGet(editor->m_tours, qelValue("Rios"))), std::vector<int32_t>({ 5, 7 }));
    // Removing the offered entry lets it be added again; removing the last entry switches
    // "Excluir Verbete" off.
    selectRow("Verbetes", 1);
    click("Excluir Verbete");
    EXPECT_EQ(buttons(), "REI");
    selectRow("Verbetes", 0);
    click("Excluir Verbete");
    EXPECT_EQ(buttons(), "R-I");
    EXPECT_EQ(intsOf(qelGet(editor->m_tours, qelValue("Rios"))), std::vector<int32_t>({}));
    finishEditor("Ok");
    EXPECT_EQ(intsOf(qelGet(stored(), qelValue("Rios"))), std::vector<int32_t>({}));

    // The next run from a saved search offers no entry, whatever the last run offered.
    newEditor();
    qelValue search = qelTable(4, 100, 75);
    qelPut(search, "NewRoteiro", ints({ 4 }));
    openEditor(search);
    selectRow("Roteiros", 0);
    EXPECT_EQ(buttons(), "RE-");
    click("Incluir Verbete");
    EXPECT_EQ(intsOf(qelGet(editor->m_tours, qelValue("Rios"))), std::vector<int32_t>({}));
    finishEditor("Cancelar");
}

TEST_F(ToursTest, DeletingToursFollowsTheSelectionAndTheLastLeavesNothingToEdit)
{
    ASSERT_TRUE(writeTours(tourTable({ { "A", { 1 } }, { "B", { 2, 3 } }, { "C", { 4 } } })));
    openEditor(qelNil);
    selectRow("Roteiros", 2);
    click("Excluir Roteiro");
    // The list shows the tours left and the entries follow the new selection.
    EXPECT_EQ(stringsOf(qelPerformAction(control("Roteiros"), "getList")), std::vector<std::string>({ "A", "B" }));
    EXPECT_STREQ(qelCString(editor->m_currentTourName), "B");
    EXPECT_EQ(intsOf(qelPerformAction(control("Verbetes"), "getList")), std::vector<int32_t>({ 2, 3 }));
    click("Excluir Roteiro");
    click("Excluir Roteiro");
    EXPECT_EQ(qelCount(editor->m_tourNames), 0);
    EXPECT_TRUE(editor->m_currentTourName.isNil());
    EXPECT_EQ(buttons(), "---");
    EXPECT_EQ(qelCount(qelPerformAction(control("Verbetes"), "getList")), 0);
    // Nothing left to add to, and no orphan tour in the table.
    click("Incluir Verbete");
    click("Excluir Roteiro");
    finishEditor("Ok");
    qelValue tours = stored();
    qelTableObject* table = qelTableOf(tours);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->count, 1);
    EXPECT_EQ(qelCount(qelGet(tours, qelValue(tourNamesKey))), 0);
}

TEST_F(ToursTest, ANewTourNameIsAskedAgainUntilItIsFreeAndNeverLocked)
{
    ASSERT_TRUE(writeTours(tourTable({ { "Rios", { 5 } } })));
    openEditor(qelNil);
    editor->typed = { qelValue("  "), qelValue("ListaDeRoteiros"), qelValue("Rios"), qelValue("**Serras ") };
    click("Incluir Roteiro");
    EXPECT_EQ(editor->notices.size(), 4u);
    EXPECT_EQ(editor->notices[0], "");
    EXPECT_NE(editor->notices[1], "");
    EXPECT_NE(editor->notices[3], editor->notices[2]);
    EXPECT_EQ(stringsOf(editor->m_tourNames), std::vector<std::string>({ "Rios", "Serras" }));
    EXPECT_EQ(intsOf(qelGet(editor->m_tours, qelValue("Rios"))), std::vector<int32_t>({ 5 }));
    // The new tour is selected and open to edit (no entry offered in this run).
    EXPECT_EQ(qelIntValue(qelPerformAction(control("Roteiros"), "getSelection")), 1);
    EXPECT_EQ(buttons(), "RE-");

    // "Cancelar" as a name is a name; giving up adds nothing.
    editor->typed = { qelValue("Cancelar") };
    click("Incluir Roteiro");
    click("Incluir Roteiro");
    EXPECT_EQ(stringsOf(editor->m_tourNames), std::vector<std::string>({ "Rios", "Serras", "Cancelar" }));
    finishEditor("Cancelar");
}

TEST_F(ToursTest, TheNameDialogAnswersTheTypedNameOrNil)
{
    const char* resource
        = "(table (\"Resource Table\" (table (\"Class\" \"NomeRoteiroDlg\") (\"Width\" 300) (\"Height\" 100)"
          " (\"Nome\" (control (\"Class\" \"TextField\") (\"Name\" \"Nome\") (\"Hot Spot\" (rect 10 10 200 20))))"
          " (\"Ok\" (control (\"Class\" \"HotSpot\") (\"Name\" \"Ok\") (\"Hot Spot\" (rect 10 40 60 20))))"
          " (\"Cancelar\" (control (\"Class\" \"HotSpot\") (\"Name\" \"Cancelar\") (\"Hot Spot\" (rect 80 40 60 20))))"
          " (\"Control List\" (list (reference \"Nome\") (reference \"Ok\") (reference \"Cancelar\"))))))";
    struct Case {
        const char* ending;
        const char* result;
    } cases[] = { { "Ok", "Lagos" }, { "Enter", "Lagos" }, { "Cancelar", "nil" }, { "Escape", "nil" } };
    for (const Case& c : cases) {
        NomeRoteiroDlg* dialog = new NomeRoteiroDlg(UiFixture::read(resource));
        qelValue value = qelFormValue(dialog);
        qelSetActiveForm(value);
        dialog->open(qelNil);
        qelValue field = dialog->findControl("Name", qelValue("Nome"));
        qelPerform(field, "setText", qelValue("Lagos"));
        if (std::string(c.ending) == "Enter")
            dialog->key(13, 0);
        else if (std::string(c.ending) == "Escape")
            dialog->key(27, 0);
        else
            dialog->handleControl(dialog->findControl("Name", qelValue(c.ending)));
        EXPECT_EQ(dialog->done, 1) << c.ending;
        qelValue result = dialog->result();
        EXPECT_EQ(result.isString() ? std::string(qelCString(result)) : "nil", c.result) << c.ending;
        dialog->close();
    }
}

TEST_F(ToursTest, TheBrowserOpensTheEntryOnItsTourAndAPressOutsideEndsIt)
{
    ASSERT_TRUE(writeTours(tourTable({ { "Rios", { 5, 6 } }, { "Capitais", { 1, 2, 3, 4 } } })));
    auto open = [&](VBDialogHF*& browser) {
        browser = new VBDialogHF(UiFixture::read(browserResource));
        qelValue value = qelFormValue(browser);
        qelSetActiveForm(value);
        qelPut(value, "Background Image", solidImage(400, 300, 0xFFFFFF));
        browser->open(qelNil);
        return value;
    };
    VBDialogHF* browser = nullptr;
    qelValue keep = open(browser);
    auto find = [&](const char* name) { return browser->findControl("Name", qelValue(name)); };
    EXPECT_EQ(intsOf(qelPerformAction(find("VBListBox"), "getList")), std::vector<int32_t>({ 5, 6 }));
    qelPerform(find("Roteiros"), "setSelection", qelMakeInt(1));
    browser->handleControl(find("Roteiros"));
    // A single click on an entry does nothing; a double click opens it.
    qelPerform(find("VBListBox"), "setSelection", qelMakeInt(2));
    browser->handleControl(find("VBListBox"));
    EXPECT_EQ(browser->done, 0);
    dynamic_cast<AbstractListBox*>(qelControlOf(find("VBListBox")))->doubleClicked = 1;
    browser->handleControl(find("VBListBox"));
    EXPECT_EQ(browser->done, 1);
    qelValue result = browser->result();
    EXPECT_EQ(qelIntValue(qelGet(result, "Index")), 2);
    EXPECT_EQ(qelGet(result, "Roteiro"), qelTrue);
    EXPECT_EQ(intsOf(qelGet(result, "BrowseList")), std::vector<int32_t>({ 1, 2, 3, 4 }));
    EXPECT_TRUE(qelTableOf(result)->find("Text") >= 0);
    browser->close();

    // A press outside the 400 x 300 picture at (100, 50) ends it with nothing; one inside does not.
    keep = open(browser);
    browser->mouseDown(300, 200, 0, 1);
    EXPECT_EQ(browser->done, 0);
    browser->mouseDown(510, 200, 0, 1);
    EXPECT_EQ(browser->done, 1);
    EXPECT_TRUE(browser->result().isNil());
    browser->close();
}

TEST_F(ToursTest, TheFileHoldsTheTourTableInItsOneItem)
{
    ASSERT_TRUE(writeTours(tourTable({ { "Rios", { 5, 70000 } }, { "**Capitais", { 1 } } })));
    Bytes bytes = fileBytes(user / "RotPesq.DTT");
    // The archive: its magic and the directory's place (96); item 0 at 8, the table (09) of
    // capacity 4 holding three keys, each key a short string (22, length) followed by its value:
    // the names a short list (23, count) of short strings, each tour an int list (08, count, 03,
    // the int32s). At 96 the directory: an int list of one offset, 8.
    const Bytes golden = {
        '0', 'Q', 'E', 'L', 0x60, 0, 0, 0, //
        0x09, 4, 0, 0, 0, 3, 0, 0, 0, //
        0x22, 15, 'L', 'i', 's', 't', 'a', 'D', 'e', 'R', 'o', 't', 'e', 'i', 'r', 'o', 's', //
        0x23, 2, 0x22, 4, 'R', 'i', 'o', 's', 0x22, 10, '*', '*', 'C', 'a', 'p', 'i', 't', 'a', 'i', 's', //
        0x22, 10, '*', '*', 'C', 'a', 'p', 'i', 't', 'a', 'i', 's', //
        0x08, 1, 0, 0, 0, 0x03, 1, 0, 0, 0, //
        0x22, 4, 'R', 'i', 'o', 's', //
        0x08, 2, 0, 0, 0, 0x03, 5, 0, 0, 0, 0x70, 0x11, 0x01, 0x00, //
        0x08, 1, 0, 0, 0, 0x03, 8, 0, 0, 0, //
    };
    EXPECT_EQ(bytes, golden);
    // Read back, the same table.
    qelValue tours = readTours();
    EXPECT_EQ(stringsOf(qelGet(tours, qelValue(tourNamesKey))), std::vector<std::string>({ "Rios", "**Capitais" }));
    EXPECT_EQ(intsOf(qelGet(tours, qelValue("Rios"))), std::vector<int32_t>({ 5, 70000 }));
    EXPECT_TRUE(isLockedTour(qelValue("**Capitais")));
    EXPECT_FALSE(isLockedTour(qelValue("Capitais")));
}

TEST_F(ToursTest, ADamagedFileIsSetAsideAndTheToursStartEmpty)
{
    struct Case {
        const char* what;
        std::function<void()> write;
    } cases[] = {
        { "not an archive", [&] { std::ofstream(user / "RotPesq.DTT", std::ios::binary) << "isto nao e um arquivo"; } },
        { "item 0 not a table",
            [&] {
                writeUserFile(tourFilePath(), ints({ 1, 2 }));
            } },
        { "names not strings",
            [&] {
                qelValue table = qelTable(4, 100, 75);
                qelPut(table, tourNamesKey, ints({ 1 }));
                writeUserFile(tourFilePath(), table);
            } },
        { "a tour not an int list",
            [&] {
                qelValue table = tourTable({ { "Rios", { 5 } } });
                qelPut(table, qelValue("Rios"), qelValue("x"));
                writeUserFile(tourFilePath(), table);
            } },
    };
    for (const Case& c : cases) {
        fs::remove(user / "RotPesq.BAD");
        c.write();
        Bytes damaged = fileBytes(user / "RotPesq.DTT");
        newEditor();
        qelValue data = qelTable(4, 100, 75);
        qelPut(data, "NewRoteiro", ints({ 8 }));
        openEditor(data);
        // Only the saved search's new tour: the damaged file gave none.
        EXPECT_EQ(stringsOf(editor->m_tourNames), std::vector<std::string>({ "Meu Roteiro" })) << c.what;
        EXPECT_EQ(fileBytes(user / "RotPesq.BAD"), damaged) << c.what;
        EXPECT_FALSE(fs::exists(user / "RotPesq.DTT")) << c.what;
        finishEditor("Ok");
        EXPECT_EQ(stringsOf(qelGet(stored(), qelValue(tourNamesKey))), std::vector<std::string>({ "Meu Roteiro" }))
            << c.what;
        fs::remove(user / "RotPesq.DTT");
    }
    EXPECT_TRUE(recordedErrors().empty());
}
