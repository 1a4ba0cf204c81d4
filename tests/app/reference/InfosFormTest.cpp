// An infographic page over a headless window: a hot spot's pop-up picture shows (with its sound
// once it is on the screen) and hides the page's other controls, a press outside puts the page
// back, a hot spot naming a screen goes there only when "ValidForms" lists it, and "Voltar" and
// the history text follow whether the page has a "History".

#include "app/reference/InfosForm.h"
#include "tests/app/StandIns.h"
#include "tests/framework/ui/ScreenProbe.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Environment.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/runtime/ValuePrinter.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/History.h"
#include "tests/framework/ui/UiFixture.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using qel::test::StandInScreen;

std::string printed(const qelValue& value)
{
    return qelCString(qelPrintValue(value, 1));
}

// The page with a recorder in place of the sound player: what it was asked to play and whether
// the pop-up was on the screen then.
class ProbeInfos : public InfosForm {
public:
    using InfosForm::InfosForm;
    std::string played;
    bool shownWhenPlayed = false;

protected:
    void playPopUpSound(const qelValue& path) override
    {
        played = qelCString(path);
        qelValue popUp = qelResolve(getProperty("PopUpImage"));
        shownWhenPlayed = qelGet(popUp, "Hidden") == qelFalse;
    }
};

// Hot spots 1 (a picture), 2 (a picture and a sound), 3 (a listed screen with data), 4 (a
// listed screen alone), 5 (a screen "ValidForms" does not list), 6 (nothing).
std::string pageResource(bool withHistory)
{
    std::string spots;
    std::string refs;
    for (int id = 1; id <= 6; ++id) {
        std::string n = std::to_string(id);
        spots += " (\"Spot" + n + "\" (control (\"Class\" \"HotSpot\") (\"Name\" \"Spot" + n + "\") (\"PopUpId\" " + n
            + ") (\"Hot Spot\" (rect " + std::to_string(id * 40) + " 400 30 30))))";
        refs += " (reference \"Spot" + n + "\")";
    }
    return "(table (\"Class\" \"InfosForm\")" + std::string(withHistory ? " (\"History\" \"Infogr\xE1" "fico: teste\")" : "")
        + spots
        + " (\"PopUpList\" (table (\"Item1\" (list \"pop\" 100 80)) (\"Item2\" (list \"pop\" 300 200 \"Sounds/bip.wav\"))"
          " (\"Item3\" \"VerbeteForm; Brasil \") (\"Item4\" \"VerbeteForm\") (\"Item5\" \"QuitDlg;x\") (\"Item6\" 12)))"
          " (\"PopUpImage\" (control (\"Class\" \"Bitmap\") (\"Name\" \"PopUpImage\") (\"Hidden\" true) (\"Save Background\" true)))"
          " (\"ControlGroup\" (control (\"Class\" \"Group\") (\"Name\" \"ControlGroup\") (\"List\" (list"
        + refs + "))))"
        + " (\"Voltar\" (control (\"Class\" \"HotSpot\") (\"Name\" \"Voltar\") (\"Hot Spot\" (rect 500 440 60 30))))"
          " (\"Control List\" (list" + refs + " (reference \"ControlGroup\") (reference \"Voltar\") (reference \"PopUpImage\"))))";
}

class InfosFormTest : public testing::Test {
protected:
    void SetUp() override
    {
        ui.environment->setGlobal(qelValue("ValidForms"), UiFixture::read("(list \"VerbeteForm\" \"QuitDlgX\")"));
        ui.environment->setGlobal(qelValue("VerbeteForm"), qelFormValue(entry = new StandInScreen));
        ui.environment->setGlobal(qelValue("QuitDlg"), qelFormValue(new StandInScreen));
        ui.environment->setGlobal(qelValue("MainForm"), qelFormValue(mainForm = new StandInScreen));
        // The pop-up picture, 50 x 40.
        ui.environment->setGlobal(qelValue("pop"), solidImage(50, 40, 0x0000FF));
    }
    void TearDown() override { EXPECT_TRUE(recordedErrors().empty()) << recordedErrors().front(); }

    void open(bool withHistory)
    {
        page = new ProbeInfos(UiFixture::read(("(table (\"Resource Table\" " + pageResource(withHistory) + "))").c_str()));
        ui.environment->setGlobal(qelValue("in0001"), qelFormValue(page));
        ui.environment->activeForm = qelFormValue(page);
        page->open(UiFixture::read("(table (\"NoFade\" true))"));
    }
    qelValue control(const char* name) { return page->findControl("Name", qelValue(name)); }
    void click(const char* name) { page->handleControl(control(name)); }
    bool hidden(const char* name) { return qelGet(control(name), "Hidden") == qelTrue; }

    UiFixture ui;
    ProbeInfos* page = nullptr;
    StandInScreen* entry = nullptr;
    StandInScreen* mainForm = nullptr;
};

TEST_F(InfosFormTest, APopUpShowsOverThePageAndAPressOutsideTakesItAway)
{
    open(true);
    EXPECT_EQ(printed(page->m_currentCategory), "\"Infogr\\xe1fico\"");
    click("Spot1");
    EXPECT_TRUE(page->popUpShown());
    EXPECT_EQ(printed(page->popUpRect()), "(rect 100 80 50 40)");
    EXPECT_FALSE(hidden("PopUpImage"));
    EXPECT_EQ(printed(qelGet(control("PopUpImage"), "X")), "100");
    EXPECT_TRUE(hidden("Spot1") && hidden("Spot6"));
    // Three elements: no sound.
    EXPECT_EQ(page->played, "");
    // A press inside leaves it; a press outside puts the page back and goes no further.
    page->mouseDown(120, 100, 0, 1);
    EXPECT_TRUE(page->popUpShown());
    page->mouseDown(45, 410, 0, 1);
    EXPECT_FALSE(page->popUpShown());
    EXPECT_TRUE(hidden("PopUpImage"));
    EXPECT_FALSE(hidden("Spot1"));
    // Four elements: the sound, from the media folder, once the picture is on the screen.
    click("Spot2");
    EXPECT_EQ(printed(page->popUpRect()), "(rect 300 200 50 40)");
    EXPECT_NE(page->played.find("Sounds/bip.wav"), std::string::npos) << page->played;
    EXPECT_TRUE(page->shownWhenPlayed);
}

TEST_F(InfosFormTest, AHotSpotGoesOnlyToAScreenThatValidFormsLists)
{
    struct Case {
        const char* spot;
        int opens;
        const char* data;
    };
    for (const Case& c : { Case { "Spot5", 0, "" }, Case { "Spot6", 0, "" }, Case { "Spot3", 1, "\" Brasil \"" },
             Case { "Spot4", 1, "QEL_NIL" } }) {
        open(false);
        entry->opens = 0;
        click(c.spot);
        EXPECT_EQ(entry->opens, c.opens) << c.spot;
        if (c.opens)
            EXPECT_EQ(printed(entry->opened), c.data) << c.spot;
        EXPECT_FALSE(page->popUpShown()) << c.spot;
    }
}

TEST_F(InfosFormTest, ThePrintedPageIsTheBackgroundUnderTheInfographicsHeader)
{
    open(true);
    page->setProperty("Background Image", qelValue("pop"));
    PicturePage job = page->printedPage();
    EXPECT_STREQ(job.documentName, "VL99 - Infogr\xE1" "fico");
    EXPECT_EQ(job.headerText, qelValue("Velarim 98 - Infogr\xE1" "fico"));
    EXPECT_TRUE(job.footerPrefix.isNil());
    EXPECT_EQ(job.picture, qelLoadResource("pop"));
    // A page without a picture prints its header and footer only.
    page->removeProperty("Background Image");
    EXPECT_TRUE(page->printedPage().picture.isNil());
}

TEST_F(InfosFormTest, TheHistoryTextAndVoltarFollowTheHistoryProperty)
{
    open(true);
    EXPECT_EQ(printed(page->historyText()), "\"Infogr\\xe1fico: teste\"");
    open(false);
    EXPECT_TRUE(page->historyText().isNil());
    // Voltar goes back to the screen recorded last, on every page.
    for (bool withHistory : { true, false }) {
        mainForm->opens = 0;
        qelHistoryPush("MainForm", "Tela inicial");
        open(withHistory);
        click("Voltar");
        EXPECT_EQ(mainForm->opens, 1) << withHistory;
        EXPECT_EQ(qelFormOf(ui.environment->activeForm), mainForm) << withHistory;
    }
}

} // namespace
