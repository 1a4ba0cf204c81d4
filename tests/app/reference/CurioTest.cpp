// The curiosities over a small disk of their own: the viewer's draw without repeats under a
// fixed seed of the 15-bit generator, the walk back and forth through what it has shown, the
// layouts, its result and its ending; the home screen's category buttons, the requests its
// opening data makes (a record from the history, a title from the word search) and its history
// text, with a stand-in viewer.

#include "app/reference/CurioHFDialog.h"
#include "app/reference/CurioHForm.h"
#include "framework/runtime/Archive.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Environment.h"
#include "framework/runtime/List.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/runtime/ValuePrinter.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/MediaControlObject.h"
#include "platform/sys/Random.h"
#include "recdb/index/IndexObject.h"
#include "tests/app/StandIns.h"
#include "tests/framework/ui/UiFixture.h"
#include "tests/recdb/RecDbTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

using qel::test::StandInScreen;
using StandInViewer = qel::test::CopyingStandInDialog;

namespace fs = std::filesystem;

// The value in text notation on one line ("QEL_NIL" for nil).
std::string printed(const qelValue& value)
{
    std::string text = qelCString(qelPrintValue(value, 1));
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
            out += ' ';
            while (i + 1 < text.size() && text[i + 1] == ' ')
                ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

// The disk: 20 records (record n titled "Curiosidade n", layout kind 2 for n = 12 and 13, else 1);
// category 2 holds 10..14, category 3 only 15, category 4 nothing; "Titulo 17" in the title index
// is record 17 of category 2.
struct CurioDisk {
    CurioDisk()
    {
        fs::create_directories(dir.path("Media"));
        qelValue records = qelCreateArchive(qelValue(dir.path("Media/DBCurio.dat").c_str()), 0);
        for (int32_t n = 0; n < 20; ++n) {
            std::string title = "Curiosidade " + std::to_string(n);
            std::string text = "Texto " + std::to_string(n);
            qelArchiveOf(records)->add(qelListOf({ qelValue(n), qelValue(n == 12 || n == 13 ? 2 : 1), qelValue(2),
                qelValue(title.c_str()), qelValue(text.c_str()) }));
        }
        qelArchiveOf(records)->flush();
        qelValue categories = qelCreateArchive(qelValue(dir.path("Media/CVSbCatL.dtt").c_str()), 0);
        const std::vector<std::vector<int32_t>> lists { {}, {}, { 10, 11, 12, 13, 14 }, { 15 }, {} };
        for (const auto& numbers : lists) {
            qelValue list = qelMakeList(4, 100, QEL_INT_LIST);
            for (int32_t n : numbers)
                qelListObjectOf(list)->appendInt(n);
            qelArchiveOf(categories)->add(list);
        }
        qelArchiveOf(categories)->flush();
        qelValue index = qelCreateIndex(qelValue(dir.path("Media/CDBIDLST.IDX").c_str()));
        qelIndexObjectOf(index)->put(qelValue("Titulo 17"), qelValue(2 * 65536 + 17));
    }
    recdbtest::ScratchDir dir;
};

// A control that answers "GetContext" with the link under the click.
class LinkText : public qelMediaControlObject {
public:
    using qelMediaControlObject::qelMediaControlObject;
    qelValue perform(const qelValue& action, const qelValue& data) override
    {
        return action == "GetContext" ? getProperty("Link") : qelMediaControlObject::perform(action, data);
    }
};

const char* const viewerResource
    = "(table (\"Class\" \"CurioHFDialog\") (\"Origin X\" 40) (\"Origin Y\" 60) (\"Width\" 400) (\"Height\" 300)"
      " (\"Titulo Curto\" (rect 10 10 200 20)) (\"Titulo Longo\" (rect 10 10 380 20))"
      " (\"Texto Curto\" (rect 100 40 280 200)) (\"Texto Longo\" (rect 10 40 380 200))"
      " (\"Titulo\" (control (\"Class\" \"StaticText\") (\"Name\" \"Titulo\") (\"TextRegion\" (rect 10 10 200 20))))"
      " (\"Texto\" (control (\"Class\" \"StaticText\") (\"Name\" \"Texto\") (\"TextRegion\" (rect 100 40 280 200))))"
      " (\"SideBarL\" (control (\"Class\" \"Bitmap\") (\"Name\" \"SideBarL\") (\"Disabled\" true)))"
      " (\"CompBackground\" (control (\"Class\" \"Bitmap\") (\"Name\" \"CompBackground\") (\"Disabled\" true)))"
      " (\"Previous\" (control (\"Class\" \"HotSpot\") (\"Name\" \"Previous\") (\"Hot Spot\" (rect 10 260 40 20))))"
      " (\"Next\" (control (\"Class\" \"HotSpot\") (\"Name\" \"Next\") (\"Hot Spot\" (rect 60 260 40 20))))"
      " (\"Control List\" (list (reference \"SideBarL\") (reference \"CompBackground\") (reference \"Titulo\")"
      " (reference \"Texto\") (reference \"Previous\") (reference \"Next\"))))";

class CurioViewerTest : public testing::Test {
protected:
    void SetUp() override
    {
        ui.environment->setSetting("SourceDisk", disk.dir.path("").c_str());
        ui.environment->setSetting("MediaPath", "Media");
        dialog = qelFormValue(viewer = new CurioHFDialog(
                                  UiFixture::read((std::string("(table (\"Resource Table\" ") + viewerResource + "))").c_str())));
    }
    void TearDown() override { EXPECT_TRUE(recordedErrors().empty()) << recordedErrors().front(); }

    // As the modal runner opens it: the viewer is the active form, whose resources it reads.
    void open(const char* data)
    {
        qelSetActiveForm(dialog);
        viewer->open(UiFixture::read(data));
    }
    void click(const char* name) { viewer->handleControl(viewer->findControl("Name", qelValue(name))); }
    // The record numbers a list holds, as "10 11 12".
    static std::string numbers(const qelValue& list)
    {
        std::string out;
        for (int32_t i = 0; i < qelCount(list); ++i)
            out += (out.empty() ? "" : " ") + std::to_string(qelIntAt(list, i));
        return out;
    }
    std::string shown() { return std::to_string(viewer->recordNumber()); }
    std::string property(const char* control, const char* key)
    {
        return printed(qelControlOf(viewer->findControl("Name", qelValue(control)))->getProperty(key));
    }

    UiFixture ui;
    CurioDisk disk;
    CurioHFDialog* viewer = nullptr;
    qelValue dialog;
};

TEST_F(CurioViewerTest, DrawsEveryCuriosityOnceInTheSeededOrderThenStartsAgain)
{
    // Record 10 asked for, then the generator seeded with 1 (41, 18467, 6334, 26500, 19169):
    // p = count * r / 32767 picks 11, 13, 12, 14 out of what is left.
    open("(table (\"SCatID\" 2) (\"Index\" 10))");
    EXPECT_EQ(shown(), "10");
    EXPECT_EQ(numbers(viewer->pool()), "11 12 13 14");
    platform::randomSeed(1);
    std::string order;
    for (int i = 0; i < 4; ++i) {
        click("Next");
        order += shown() + " ";
    }
    EXPECT_EQ(order, "11 13 12 14 ");
    EXPECT_EQ(numbers(viewer->seenList()), "10 11 13 12 14");
    EXPECT_EQ(numbers(viewer->pool()), "");
    // All shown: everything goes back into the pool and the way back starts anew.
    click("Next");
    EXPECT_EQ(shown(), "13");
    EXPECT_EQ(numbers(viewer->seenList()), "13");
    EXPECT_EQ(numbers(viewer->pool()), "10 11 12 14");
    click("Previous");
    EXPECT_EQ(shown(), "13");
    viewer->close();
}

TEST_F(CurioViewerTest, TheGeneratorsLastValuePicksTheLastCuriosityNotOnePast)
{
    // A seed whose first number is 32767, the one value for which count * r / 32767 = count.
    uint32_t seed = 0;
    while (platform::Random(seed).next() != platform::Random::maximum)
        ++seed;
    open("(table (\"SCatID\" 2) (\"Index\" 10))");
    platform::randomSeed(seed);
    click("Next");
    EXPECT_EQ(shown(), "14");
    viewer->close();
}

TEST_F(CurioViewerTest, PreviousAndNextWalkThroughWhatWasShownBeforeDrawingAgain)
{
    open("(table (\"SCatID\" 2) (\"Index\" 11))");
    // Nothing to go back to yet.
    click("Previous");
    EXPECT_EQ(shown(), "11");
    platform::randomSeed(7);
    click("Next");
    click("Next");
    std::string seen = numbers(viewer->seenList());
    ASSERT_EQ(qelCount(viewer->seenList()), 3);
    click("Previous");
    click("Previous");
    EXPECT_EQ(shown(), "11");
    click("Previous");
    EXPECT_EQ(shown(), "11");
    click("Next");
    EXPECT_EQ(shown(), std::to_string(qelIntAt(viewer->seenList(), 1)));
    click("Next");
    EXPECT_EQ(shown(), std::to_string(qelIntAt(viewer->seenList(), 2)));
    EXPECT_EQ(numbers(viewer->seenList()), seen);
    // The way forward is used up: the next one is new.
    click("Next");
    EXPECT_EQ(qelCount(viewer->seenList()), 4);
    EXPECT_EQ(shown(), std::to_string(qelIntAt(viewer->seenList(), 3)));
    // The result names what is on display, also after stepping back.
    click("Previous");
    qelValue result = viewer->result();
    EXPECT_EQ(printed(qelGet(result, "Index")), std::to_string(qelIntAt(viewer->seenList(), 2)));
    EXPECT_EQ(printed(qelGet(result, "SCatID")), "2");
    EXPECT_EQ(printed(qelGet(result, "Titulo")), "\"Curiosidade " + shown() + "\"");
    EXPECT_FALSE(qelContainsKey(result, qelValue("Jump")));
    viewer->close();
}

TEST_F(CurioViewerTest, ARecordOutsideTheCategoryIsShownAndRemembered)
{
    open("(table (\"SCatID\" 3) (\"Index\" 17))");
    EXPECT_EQ(shown(), "17");
    EXPECT_EQ(numbers(viewer->seenList()), "17");
    EXPECT_EQ(numbers(viewer->pool()), "15");
    click("Next");
    EXPECT_EQ(shown(), "15");
    // Without "Index" the first curiosity is drawn at random; a category without any shows none.
    viewer->close();
    open("(table (\"SCatID\" 3))");
    EXPECT_EQ(shown(), "15");
    viewer->close();
    open("(table (\"SCatID\" 4))");
    click("Next");
    EXPECT_EQ(viewer->recordNumber(), -1);
    EXPECT_TRUE(qelGet(viewer->result(), "Titulo").isNil());
    viewer->close();
}

TEST_F(CurioViewerTest, TheLayoutChangesOnlyWithTheKind)
{
    open("(table (\"SCatID\" 2) (\"Index\" 11))");
    EXPECT_EQ(viewer->layoutKind(), 1);
    EXPECT_EQ(property("Texto", "TextRegion"), "(rect 100 40 280 200)");
    EXPECT_EQ(property("SideBarL", "Disabled"), "true");
    EXPECT_EQ(property("Titulo", "Text"), "\"Curiosidade 11\"");
    EXPECT_EQ(property("Texto", "Text"), "\"Texto 11\"");
    // Record 12 is long: the regions widen and the long layout's parts show.
    viewer->showRecord(12);
    viewer->draw();
    EXPECT_EQ(viewer->layoutKind(), 2);
    EXPECT_EQ(property("Texto", "TextRegion"), "(rect 10 40 380 200)");
    EXPECT_EQ(property("Titulo", "TextRegion"), "(rect 10 10 380 20)");
    EXPECT_EQ(property("SideBarL", "Disabled"), "false");
    EXPECT_EQ(property("CompBackground", "Disabled"), "false");
    // Record 13 is long too: a region moved by hand stays where it is, the texts change.
    qelPut(viewer->findControl("Name", qelValue("Texto")), qelValue("TextRegion"), UiFixture::read("(rect 1 2 3 4)"));
    viewer->showRecord(13);
    viewer->draw();
    EXPECT_EQ(property("Texto", "TextRegion"), "(rect 1 2 3 4)");
    EXPECT_EQ(property("Titulo", "Text"), "\"Curiosidade 13\"");
    viewer->close();
}

TEST_F(CurioViewerTest, ALinkEndsTheRunWithItsTarget)
{
    struct Case {
        const char* link;
        bool ends;
        const char* form;
        const char* data;
    };
    for (const Case& c : { Case { "verbete: VerbeteForm ; Brasil ", true, "\"VerbeteForm\"", "\"Brasil\"" },
             Case { "jump:CreditsForm", true, "\"CreditsForm\"", "QEL_NIL" }, Case { "semalvo", false, "", "" } }) {
        open("(table (\"SCatID\" 2) (\"Index\" 10))");
        auto* link = new LinkText(UiFixture::read(
            (std::string("(table (\"Name\" \"Texto\") (\"HyperLink\" true) (\"Link\" \"") + c.link + "\"))").c_str()));
        qelValue control = qelControlValue(link);
        viewer->handleControl(control);
        EXPECT_EQ(viewer->done, c.ends ? 1 : 0) << c.link;
        qelValue result = viewer->result();
        EXPECT_EQ(qelContainsKey(result, qelValue("Jump")) != 0, c.ends) << c.link;
        if (c.ends) {
            EXPECT_EQ(printed(qelGet(result, "Form")), c.form) << c.link;
            EXPECT_EQ(printed(qelGet(result, "Data")), c.data) << c.link;
            EXPECT_EQ(printed(qelGet(result, "Index")), "10");
        }
        viewer->close();
        viewer->done = 0;
    }
}

TEST_F(CurioViewerTest, APressOutsideTheViewerEndsTheRun)
{
    open("(table (\"SCatID\" 2) (\"Index\" 10))");
    EXPECT_EQ(viewer->done, 0);
    viewer->mouseDown(20, 20, 0, 1);
    EXPECT_EQ(viewer->done, 1);
    viewer->close();
}

// ---- The home screen -------------------------------------------------------------------------

const char* const homeResource
    = "(table (\"Class\" \"CurioHForm\")"
      " (\"Ecologia\" (control (\"Class\" \"HotSpot\") (\"Name\" \"Ecologia\") (\"TypeID\" 2) (\"Hot Spot\" (rect 0 0 50 50))))"
      " (\"Esportes\" (control (\"Class\" \"HotSpot\") (\"Name\" \"Esportes\") (\"TypeID\" 3) (\"Hot Spot\" (rect 60 0 50 50))))"
      " (\"SubMenus\" (table (\"Ecologia\" (table (\"Images\" (list \"a\" \"b\" \"c\" \"d\"))))))"
      " (\"Control List\" (list (reference \"Ecologia\") (reference \"Esportes\"))))";

class CurioHomeTest : public testing::Test {
protected:
    void SetUp() override
    {
        ui.environment->setSetting("SourceDisk", disk.dir.path("").c_str());
        ui.environment->setSetting("MediaPath", "Media");
        ui.environment->setGlobal(qelValue("CurioHFDialog"), qelFormValue(viewer = new StandInViewer));
        ui.environment->setGlobal(qelValue("VerbeteForm"), qelFormValue(entry = new StandInScreen));
        home = new CurioHForm(UiFixture::read((std::string("(table (\"Resource Table\" ") + homeResource + "))").c_str()));
        ui.environment->setGlobal(qelValue("CurioHForm"), qelFormValue(home));
        ui.environment->activeForm = qelFormValue(home);
    }
    void TearDown() override { EXPECT_TRUE(recordedErrors().empty()) << recordedErrors().front(); }

    // Opened as navigation opens a screen: open, then the drawing that follows.
    void show(const char* data)
    {
        ui.environment->activeForm = qelFormValue(home);
        home->open(UiFixture::read(data));
        home->draw();
    }
    void click(const char* name) { home->handleControl(home->findControl("Name", qelValue(name))); }

    UiFixture ui;
    CurioDisk disk;
    StandInViewer* viewer = nullptr;
    StandInScreen* entry = nullptr;
    CurioHForm* home = nullptr;
};

TEST_F(CurioHomeTest, ACategoryButtonRunsTheViewerWithItsPicturesAndNumber)
{
    show("nil");
    EXPECT_EQ(viewer->runs, 0);
    click("Ecologia");
    EXPECT_EQ(printed(viewer->received), "(table (\"Images\" (list \"a\" \"b\" \"c\" \"d\")) (\"SCatID\" 2))");
    // A button without a "SubMenus" entry still runs its category.
    click("Esportes");
    EXPECT_EQ(printed(qelGet(viewer->received, "SCatID")), "3");
    EXPECT_EQ(printed(home->historyText()), "\"Tela de curiosidades\"");
}

TEST_F(CurioHomeTest, OpeningDataNamesTheCuriosityToShow)
{
    struct Case {
        const char* data;
        const char* run; // the viewer's "SCatID" and "Index", "" for no run
    };
    for (const Case& c : { Case { "(table (\"SCatID\" 2) (\"Index\" 13))", "2 13" },
             Case { "(table (\"Text\" \"Titulo 17\"))", "2 17" }, Case { "(table (\"SCatID\" 3))", "3 QEL_NIL" },
             Case { "(table (\"Text\" \"Titulo desconhecido\"))", "" }, Case { "(table (\"SCatID\" 12) (\"Index\" 1))", "" },
             Case { "(table (\"Outra\" 1))", "" } }) {
        viewer->runs = 0;
        show(c.data);
        std::string run = viewer->runs == 0 ? ""
                                            : printed(qelGet(viewer->received, "SCatID")) + " "
                + printed(qelGet(viewer->received, "Index"));
        EXPECT_EQ(run, c.run) << c.data;
        EXPECT_EQ(home->pendingIndex(), -1) << c.data;
    }
    // The request is acted on once: drawing again runs nothing.
    viewer->runs = 0;
    home->draw();
    EXPECT_EQ(viewer->runs, 0);
    // A button after a request draws at random: the request's record does not stick.
    show("(table (\"SCatID\" 2) (\"Index\" 13))");
    click("Ecologia");
    EXPECT_FALSE(qelContainsKey(viewer->received, qelValue("Index")));
}

TEST_F(CurioHomeTest, ALinkInTheViewerLeadsOnAndTheHistoryKeepsTheCuriosity)
{
    show("nil");
    viewer->answer = UiFixture::read("(table (\"Index\" 13) (\"SCatID\" 2) (\"Titulo\" \"A Lei \xC1urea\")"
                                     " (\"Jump\" true) (\"Form\" \"VerbeteForm\") (\"Data\" \" Brasil \"))");
    click("Ecologia");
    EXPECT_EQ(qelFormOf(ui.environment->activeForm), entry);
    EXPECT_EQ(printed(entry->opened), "(table (\"Text\" \"brasil\") (\"FullList\" true))");
    qelValue history = home->historyText();
    EXPECT_EQ(std::string(qelCString(qelGet(history, "History Text"))), "Curiosidades: A Lei \xC1urea");
    EXPECT_EQ(printed(qelGet(history, "Index")), "13");
    // A link to a screen the program does not have stays here.
    ui.environment->activeForm = qelFormValue(home);
    viewer->answer = UiFixture::read("(table (\"Index\" 13) (\"SCatID\" 2) (\"Titulo\" \"X\") (\"Jump\" true)"
                                     " (\"Form\" \"NaoExiste\") (\"Data\" \"x\"))");
    click("Ecologia");
    EXPECT_EQ(qelFormOf(ui.environment->activeForm), home);
}

} // namespace
