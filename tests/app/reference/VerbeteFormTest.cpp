// The entry page over a small entries disk: the three ways a page is opened (the whole index by
// name, a tour or search result, a sub-category) with the section, path colour and background of
// each list kind; stepping that wraps at both ends; the page load (struck searched words, the
// pictures the media know, the "see also" line); marks and the menu items they switch; the
// history's and the print's title without the heading's note.

#include "app/reference/VerbeteForm.h"
#include "app/shell/CategoryLists.h"
#include "app/shell/DBLists.h"
#include "app/shell/MarkList.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/List.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/ui/ControlObject.h"
#include "tests/app/shell/ShellDisk.h"
#include "tests/framework/ui/UiFixture.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

using namespace shelltest;

// A control of the page that records what the page asks of it.
class RecordingControl : public qelControlObject {
public:
    explicit RecordingControl(const qelValue& data)
        : qelControlObject(data)
    {
    }
    qelValue perform(const qelValue& action, const qelValue& data) override
    {
        std::string verb = qelCString(action);
        last[verb] = data;
        ++count[verb];
        return qelNil;
    }
    std::string lastText(const char* verb) { return last[verb].isString() ? qelCString(last[verb]) : "<none>"; }

    std::map<std::string, qelValue> last;
    std::map<std::string, int> count;
};

qelValue entry(int32_t id, const char* heading, const char* name, int32_t subcategory, const char* text,
    const char* seeAlso, const qelValue& pictures)
{
    qelValue list = qelMakeList(9, 100, QEL_GENERAL_LIST);
    for (const qelValue& v : { qelMakeInt(id), qelValue(heading), qelValue(name), qelMakeInt(subcategory), qelValue(text),
             qelValue(seeAlso), qelNil, qelNil, pictures })
        qelAddItem(list, v);
    return list;
}

struct EntriesDisk {
    EntriesDisk()
    {
        root = fs::temp_directory_path() / ("qel-verbete-" + std::to_string(std::random_device {}()));
        fs::path media = root / "Media";
        fs::create_directories(media);
        fs::create_directories(root / "user");
        setenv(platform::userFolderVariable().c_str(), (root / "user").string().c_str(), 1);
        ui.environment->setSetting("SourceDisk", root.string().c_str());
        ui.environment->setSetting("MediaPath", "Media");
        ui.environment->setGlobal("DisabledMenuItemsTable", qelTable(4, 100, 75));

        qelValue pictures = qelMakeList(2, 100, QEL_GENERAL_LIST);
        qelAddItem(pictures, "foto.bmp");
        qelAddItem(pictures, "falta.bmp");
        // Records in name order; list ids 1..4.
        writeArchive(media / "Verbetes.DAT",
            { entry(1, "Aboli\xE7\xE3o da escravatura {1888}", "Aboli\xE7\xE3o", 4, "{\\b Aboli\xE7\xE3o} no Brasil.", "", qelNil),
                entry(2, "Brasil", "Brasil", 1, "O {\\uldb rio}!\\{jump:VerbeteForm;rio\\} do Brasil.", "Rio", pictures),
                entry(3, "Rio", "Rio", 1, "Um rio do Brasil.", "", qelNil),
                entry(4, "Santos", "Santos", 4, "Santos e o Brasil.", "", qelNil) });
        writeIndex(media / "VDBLstID.IDX",
            { { qelMakeInt(1), qelMakeInt(0) }, { qelMakeInt(2), qelMakeInt(1) }, { qelMakeInt(3), qelMakeInt(2) },
                { qelMakeInt(4), qelMakeInt(3) } });
        writeIndex(media / "VDBIDLst.IDX",
            { { "aboli\xE7\xE3o", qelMakeInt(1) }, { "brasil", qelMakeInt(2) }, { "rio", qelMakeInt(3) },
                { "santos", qelMakeInt(4) } });
        writeArchive(media / "IDCatLst.DTT",
            { intList({ 1, 2, 3, 4 }), intList({ 2, 3 }), intList({}), intList({}), intList({ 1, 4 }) });
        qelValue photo = qelMakeList(8, 100, QEL_GENERAL_LIST);
        for (const qelValue& v : { qelMakeInt(1), qelValue("Foto"), qelNil, qelMakeInt(4), qelValue(""),
                 qelValue("foto.bmp"), qelValue("a imagem da foto") })
            qelAddItem(photo, v);
        writeArchive(media / "Midias.DAT", { photo });
        writeIndex(media / "MDBNList.IDX", { { "foto.bmp", qelMakeInt(0) } });
        writeArchive(media / "Atlas.DAT", { record("Atlas", 0) });
        for (const char* index : { "GNRNList.IDX", "VDBNList.IDX", "VDBName.IDX", "MDBLstID.IDX", "MDBFName.IDX",
                 "MDBName.IDX", "MDBIDLst.IDX", "MDBIDLt2.IDX", "ATNamLst.IDX", "ATIDList.IDX" })
            writeIndex(media / index, { { qelMakeInt(1), qelMakeInt(0) } });
        writeArchive(media / "ATCatLst.DTT", { intList({ 0 }) });
        writeArchive(media / "IDMidLst.DTT", { intList({ 1 }) });
        EXPECT_EQ(DBLists::instance().open(), 1);
    }
    ~EntriesDisk()
    {
        DBLists::instance().release();
        releaseCategoryLists();
        releaseMarkList();
        unsetenv(platform::userFolderVariable().c_str());
        fs::remove_all(root);
    }

    UiFixture ui;
    fs::path root;
};

struct Page {
    Page()
    {
        qelValue resources = UiFixture::read(
            "(table (\"MCategs\" (list \"Geografia\" \"Hist\xF3ria\"))"
            " (\"Cat1\" (list 1 \"Brasil\")) (\"Cat4\" (list 2 \"Eventos\"))"
            " (\"Cat2 TxColor\" 222) (\"Cat6 TxColor\" 666) (\"Cat7 TxColor\" 777) (\"Cat8 TxColor\" 888)"
            " (\"Cat7 BkImage\" \"fundo7.bmp\")"
            " (\"PrintAttributes\" (table (\"Header\" \"Verbetes\"))))");
        for (const char* name : { "Texto", "SCategName", "ItemName", "VejaTamb\xE9m" }) {
            auto* control = new RecordingControl(UiFixture::read(("(table (\"Name\" \"" + std::string(name) + "\"))").c_str()));
            controls[name] = control;
            qelPut(resources, qelValue(name), qelControlValue(control));
        }
        qelValue properties = qelTable(4, 100, 75);
        qelPut(properties, "Resource Table", resources);
        page = new VerbeteForm(properties);
        value = qelFormValue(page);
        page->resources = resources;
        qelSetActiveForm(value);
    }
    ~Page() { qelSetActiveForm(qelNil); }

    // Set-up and the page load, as opening the screen does them.
    void show(const char* data)
    {
        page->setup(UiFixture::read(data));
        page->draw();
    }
    std::string name() { return qelCString(qelGet(page->record(), 2)); }
    std::string category() { return qelCString(page->m_currentCategory); }
    std::string path() { return page->m_currentSubcategory.isString() ? qelCString(page->m_currentSubcategory) : ""; }
    std::string shownText() { return controls["Texto"]->lastText("SetText"); }
    bool disabled(const char* item)
    {
        qelValue items = qelGet(qelLoadResource("DisabledMenuItemsTable"), qelValue("PopUpMenu"));
        return qelIsTrue(qelGet(items, qelValue(item)));
    }

    std::map<std::string, RecordingControl*> controls;
    VerbeteForm* page = nullptr;
    qelValue value;
};

TEST(VerbeteForm, TheWholeIndexByNameStepsThroughEveryEntryAndWraps)
{
    EntriesDisk disk;
    Page p;
    p.show("(table (\"Text\" \"brasil\") (\"FullList\" true))");
    EXPECT_EQ(p.name(), "Brasil");
    EXPECT_EQ(p.page->listKind(), VerbeteForm::AlphabeticalIndex);
    EXPECT_EQ(p.page->position(), 1);
    EXPECT_EQ(p.category(), "Indice");
    EXPECT_EQ(p.path(), "Geografia/Brasil");
    // The index mode's "Index" is the entry's list id.
    EXPECT_EQ(qelIntValue(qelGet(p.page->pageData(), qelValue("Index"))), 2);
    EXPECT_EQ(qelIntValue(p.controls["SCategName"]->getProperty("Foreground Color")), 666);

    std::vector<std::string> seen;
    for (int i = 0; i < 4; ++i) {
        p.page->next();
        seen.push_back(p.name());
    }
    p.page->previous();
    seen.push_back(p.name());
    p.page->previous();
    seen.push_back(p.name());
    EXPECT_EQ(seen, (std::vector<std::string> { "Rio", "Santos", "Aboli\xE7\xE3o", "Brasil", "Aboli\xE7\xE3o", "Santos" }));
    EXPECT_EQ(p.controls["ItemName"]->lastText("SetText"), "Santos");
    EXPECT_TRUE(recordedErrors().empty()) << recordedErrors().front();
}

TEST(VerbeteForm, ATourShowsItsEntryInTheTourKindAndASearchStrikesItsWords)
{
    EntriesDisk disk;
    Page p;
    // Tour ids may carry a section in their high half.
    p.show("(table (\"BrowseList\" (intlist 4194306 4 3)) (\"Index\" 2) (\"Roteiro\" true))");
    EXPECT_EQ(p.name(), "Rio");
    EXPECT_EQ(p.page->listKind(), VerbeteForm::Tour);
    EXPECT_EQ(p.category(), "Roteiros");
    EXPECT_EQ(p.path(), "Geografia/Brasil");
    EXPECT_EQ(qelIntValue(p.controls["SCategName"]->getProperty("Foreground Color")), 777);
    EXPECT_EQ(p.page->getProperty("Background Image"), qelValue("fundo7.bmp"));
    EXPECT_EQ(p.shownText(), "Um rio do Brasil.");
    p.page->next();
    EXPECT_EQ(p.name(), "Brasil");

    // A sub-category visit leaves its category behind; a search still keeps its kind and marks.
    p.show("(table (\"SCatID\" 4) (\"Index\" 1))");
    EXPECT_EQ(p.name(), "Santos");
    p.show("(table (\"BrowseList\" (intlist 3 4)) (\"Index\" 0) (\"SearchedText\" \"brasil\"))");
    EXPECT_EQ(p.page->listKind(), VerbeteForm::SearchResult);
    EXPECT_EQ(p.category(), "Busca");
    EXPECT_EQ(p.shownText(), "Um rio do {\\strike Brasil}.");
    p.page->next();
    EXPECT_EQ(p.shownText(), "Santos e o {\\strike Brasil}.");
    EXPECT_EQ(qelIntValue(p.controls["SCategName"]->getProperty("Foreground Color")), 888);

    // A browse list without searched text (the marks' list) shows the text as it is.
    p.show("(table (\"BrowseList\" (intlist 3)) (\"Index\" 5))");
    EXPECT_EQ(p.name(), "Rio");
    EXPECT_EQ(p.shownText(), "Um rio do Brasil.");
    EXPECT_TRUE(recordedErrors().empty()) << recordedErrors().front();
}

TEST(VerbeteForm, ASubcategoryListTakesItsMainCategoryAndWraps)
{
    EntriesDisk disk;
    Page p;
    p.show("(table (\"SCatID\" 4) (\"Index\" 1))");
    EXPECT_EQ(p.name(), "Santos");
    EXPECT_EQ(p.page->listKind(), 2);
    EXPECT_EQ(p.category(), "Hist\xF3ria");
    EXPECT_EQ(p.path(), "Eventos");
    EXPECT_EQ(qelIntValue(qelGet(p.page->pageData(), qelValue("SCatID"))), 4);
    EXPECT_EQ(qelIntValue(p.controls["SCategName"]->getProperty("Foreground Color")), 222);
    p.page->next();
    EXPECT_EQ(p.name(), "Aboli\xE7\xE3o");
    EXPECT_EQ(qelIntValue(qelGet(p.page->pageData(), qelValue("Index"))), 0);
    p.page->previous();
    EXPECT_EQ(p.name(), "Santos");

    // A one-entry list shows the same entry again.
    p.show("(table (\"BrowseList\" (intlist 2)) (\"Index\" 0) (\"Roteiro\" true))");
    p.page->next();
    EXPECT_EQ(p.name(), "Brasil");
    p.page->previous();
    EXPECT_EQ(p.name(), "Brasil");
    EXPECT_TRUE(recordedErrors().empty()) << recordedErrors().front();
}

TEST(VerbeteForm, ThePageShowsThePicturesTheMediaKnowAndTheSeeAlsoLine)
{
    EntriesDisk disk;
    Page p;
    p.show("(table (\"Text\" \"brasil\") (\"FullList\" true))");
    // The picture the media do not know is left out; the text is shown all the same.
    qelValue images = p.controls["Texto"]->last["SetImageList"];
    EXPECT_EQ(qelGet(images, qelValue("foto.bmp")), qelValue("a imagem da foto"));
    EXPECT_TRUE(qelGet(images, qelValue("falta.bmp")).isNil());
    EXPECT_EQ(p.shownText(), "O {\\uldb rio}!\\{jump:VerbeteForm;rio\\} do Brasil.");
    RecordingControl* seeAlso = p.controls["VejaTamb\xE9m"];
    EXPECT_FALSE(qelIsTrue(seeAlso->getProperty("Hidden")));
    EXPECT_EQ(seeAlso->lastText("SetText"), "(Veja Tamb\xE9m: Rio)");

    p.page->next();
    EXPECT_TRUE(qelIsTrue(seeAlso->getProperty("Hidden")));
    EXPECT_EQ(seeAlso->count["SetText"], 1);
    EXPECT_TRUE(recordedErrors().empty()) << recordedErrors().front();
}

TEST(VerbeteForm, MarkingSwitchesTheMenuItemsAndKeepsTheMarkList)
{
    EntriesDisk disk;
    Page p;
    p.show("(table (\"Text\" \"rio\") (\"FullList\" true))");
    EXPECT_FALSE(p.disabled("Marcar"));
    EXPECT_TRUE(p.disabled("Desmarcar"));

    EXPECT_EQ(p.page->markerCommand("Marcar"), 0);
    EXPECT_EQ(intsOf(getMarkList()), std::vector<int32_t> { 3 });
    EXPECT_TRUE(p.disabled("Marcar"));
    EXPECT_FALSE(p.disabled("Desmarcar"));
    EXPECT_FALSE(p.disabled("Lista de Marcados"));

    // Another entry is not marked; coming back to the marked one finds its mark.
    p.page->next();
    EXPECT_FALSE(p.disabled("Marcar"));
    p.page->previous();
    EXPECT_TRUE(p.disabled("Marcar"));

    EXPECT_EQ(p.page->markerCommand("Desmarcar"), 0);
    EXPECT_EQ(countMarks(), 0);
    EXPECT_FALSE(p.disabled("Marcar"));
    EXPECT_TRUE(p.disabled("Desmarcar"));
    EXPECT_TRUE(p.disabled("Lista de Marcados"));
    EXPECT_EQ(p.page->markerCommand("Outra coisa"), 1);
    EXPECT_TRUE(recordedErrors().empty()) << recordedErrors().front();
}

TEST(VerbeteForm, HistoryAndPrintShowTheHeadingWithoutItsNote)
{
    EntriesDisk disk;
    Page p;
    p.show("(table (\"Text\" \"aboli\xE7\xE3o\") (\"FullList\" true))");
    qelValue recorded = p.page->historyText();
    EXPECT_EQ(recorded, p.page->pageData());
    EXPECT_EQ(qelGet(recorded, qelValue("History Text")), qelValue("Verbete: Aboli\xE7\xE3o da escravatura"));
    EXPECT_TRUE(p.disabled("Marcar"));
    EXPECT_TRUE(p.disabled("Roteiros"));

    p.page->print();
    qelValue printed = p.controls["Texto"]->last["Print"];
    EXPECT_EQ(qelGet(printed, qelValue("Title")), qelValue("Aboli\xE7\xE3o da escravatura"));
    EXPECT_EQ(qelGet(printed, qelValue("Text")), qelValue("{\\b Aboli\xE7\xE3o} no Brasil."));
    EXPECT_EQ(qelGet(printed, qelValue("Header")), qelValue("Verbetes"));

    struct Case {
        const char* heading;
        const char* shown;
    };
    for (const Case& c : { Case { "Nome {nota}", "Nome" }, Case { "Nome{nota}", "Nome" }, Case { "Nome  {x} y", "Nome" },
             Case { "{1888}", "Entrada" }, Case { "Sem nota", "Sem nota" } })
        EXPECT_EQ(VerbeteForm::shownHeading(c.heading, "Entrada"), c.shown) << c.heading;
    EXPECT_TRUE(recordedErrors().empty()) << recordedErrors().front();
}

TEST(VerbeteForm, DataWithoutTextOrIndexOpensNothing)
{
    EntriesDisk disk;
    Page p;
    p.page->open(UiFixture::read("(table (\"SCatID\" 1))"));
    p.page->open(qelNil);
    EXPECT_TRUE(p.page->record().isNil());
    EXPECT_EQ(p.controls["Texto"]->count["SetText"], 0);
    EXPECT_TRUE(recordedErrors().empty()) << recordedErrors().front();
}

} // namespace
