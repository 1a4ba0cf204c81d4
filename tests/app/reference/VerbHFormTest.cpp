// The entries home's section buttons over stand-ins for the dialogs they run and the entry page:
// which dialog each button runs with which data, the section name picture shown at the first
// press only, and which results open the entry page. Then the link list's frame and what a press
// outside it does.

#include "app/reference/VerbHForm.h"
#include "app/reference/VerbLink.h"
#include "framework/display/Region.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Table.h"
#include "framework/runtime/ValuePrinter.h"
#include "framework/ui/DialogObject.h"
#include "tests/app/StandIns.h"
#include "tests/framework/ui/ScreenProbe.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using qel::test::StandInDialog;
using qel::test::StandInScreen;

constexpr uint32_t green = 0x00FF00;

std::string text(const qelValue& value)
{
    return qelCString(qelPrintValue(value, 1));
}

struct HomeFixture {
    HomeFixture()
    {
        for (const char* name : { "VerbetesDlg", "VBDialogHF", "PopUpMenu" }) {
            dialogs[name] = new StandInDialog;
            ui.environment->setGlobal(qelValue(name), qelFormValue(dialogs[name]));
        }
        entryPage = new StandInScreen;
        ui.environment->setGlobal(qelValue("VerbeteForm"), qelFormValue(entryPage));
        paintPattern(ui);
    }
    VerbHForm* show(bool withName = true)
    {
        home = new VerbHForm(UiFixture::read("(table (\"SectionNameX\" 300) (\"SectionNameY\" 100))"));
        if (withName)
            home->setProperty("SectionName Image", solidImage(40, 10, green));
        home->m_subMenus = UiFixture::read("(table (\"Indice\" (table (\"SCatID\" 0)))"
                                           " (\"Geografia\" (table (\"Items\" (list (list \"Brasil\" 1))))))");
        ui.environment->activeForm = qelFormValue(home);
        return home;
    }
    void press(const char* name, bool section = true)
    {
        std::string control = std::string("(control (\"Class\" \"HotSpot\") (\"Name\" \"") + name + "\")"
            + (section ? " (\"PopUpX\" 228) (\"AddedImage\" \"pressed\")" : "") + ")";
        home->handleControl(UiFixture::read(control.c_str()));
    }

    UiFixture ui;
    std::map<std::string, StandInDialog*> dialogs;
    StandInScreen* entryPage = nullptr;
    VerbHForm* home = nullptr;
};

} // namespace

TEST(VerbHForm, EachSectionButtonRunsItsDialogAndAChoiceWithTextOpensTheEntry)
{
    struct Case {
        const char* button;
        const char* dialog;
        const char* answer;
        // What the dialog was run with ("" for nothing checked) and whether the entry opened.
        const char* received;
        bool opens;
    } cases[] = {
        { "Indice", "VerbetesDlg", "(table (\"Text\" \"Brasil\") (\"Index\" 1) (\"FullList\" true))",
            "(table (\"SCatID\" 0))", true },
        { "Roteiros", "VBDialogHF", "(table (\"Text\" \"Rio Negro\") (\"Index\" 2) (\"Roteiro\" true))", "nil", true },
        // The stored menu itself, with the button's picture added.
        { "Geografia", "PopUpMenu", "(table (\"Text\" \"Amazonas\") (\"Index\" 5))",
            "(table (\"Items\" (list (list \"Brasil\" 1))) (\"AddedImage\" \"pressed\"))", true },
        { "Geografia", "PopUpMenu", "(table (\"Index\" 5))", "", false },
        { "Indice", "VerbetesDlg", "nil", "", false },
        { "Indice", "VerbetesDlg", "\"__STAYOPEN__\"", "", false },
    };
    for (const Case& c : cases) {
        HomeFixture f;
        f.show();
        f.dialogs[c.dialog]->answer = UiFixture::read(c.answer);
        f.press(c.button);
        EXPECT_EQ(f.dialogs[c.dialog]->runs, 1) << c.button << " " << c.answer;
        if (*c.received)
            EXPECT_EQ(text(f.dialogs[c.dialog]->received), text(UiFixture::read(c.received))) << c.button;
        EXPECT_EQ(f.entryPage->opens, c.opens ? 1 : 0) << c.button << " " << c.answer;
        if (c.opens)
            EXPECT_EQ(text(f.entryPage->opened), text(UiFixture::read(c.answer))) << c.button;
    }
}

TEST(VerbHForm, TheSectionNameShowsAtTheFirstPressAndTheMenusOpenWithoutIt)
{
    {
        HomeFixture f;
        f.show();
        // A control that is not a section button is the menu bar's: no name, no dialog.
        f.press("Outro", false);
        EXPECT_EQ(f.ui.pixel(305, 105), patternPixel(305, 105));
        EXPECT_EQ(f.home->m_firstClick, 1);
        f.press("Indice");
        EXPECT_EQ(f.ui.pixel(305, 105), pixelOf(green));
        EXPECT_EQ(f.home->m_firstClick, 0);
        // Once shown, it is not drawn again (the screen under it is left as it is).
        paintPattern(f.ui);
        f.press("Indice");
        EXPECT_EQ(f.ui.pixel(305, 105), patternPixel(305, 105));
        EXPECT_EQ(f.dialogs["VerbetesDlg"]->runs, 2);
        EXPECT_STREQ(qelCString(f.home->historyText()), "Tela inicial de Verbetes");
    }
    // A home without its name picture still opens its menus.
    // One window at a time: the first fixture is gone.
    HomeFixture g;
    g.show(false);
    g.press("Geografia");
    EXPECT_EQ(g.dialogs["PopUpMenu"]->runs, 1);
    EXPECT_EQ(g.home->m_firstClick, 1);
}

TEST(VerbLink, TheFrameComesFromTheSizeOrThePictureAndAPressOutsideEndsIt)
{
    struct Case {
        const char* properties;
        int32_t inX, inY;
        int32_t outX, outY;
        const char* frame;
    } cases[] = {
        { "(\"Origin X\" 100) (\"Origin Y\" 50) (\"Width\" 200) (\"Height\" 100)", 150, 100, 301, 100,
            "100,50,200,100" },
        { "(\"Origin X\" 100) (\"Origin Y\" 50) (\"Background Image\" \"ground\")", 150, 100, 150, 111,
            "100,50,60,60" },
        // Without a size: a 5 x 5 frame at the origin, so nearly every press closes it.
        { "", 2, 2, 6, 2, "0,0,5,5" },
    };
    for (const Case& c : cases) {
        UiFixture ui;
        ui.environment->setGlobal(qelValue("ground"), solidImage(60, 60, green));
        std::string resource = std::string("(table (\"Resource Table\" (table (\"Class\" \"VerbLink\") ") + c.properties
            + " (\"Lista\" (control (\"Class\" \"TextView\") (\"Name\" \"Lista\") (\"Hot Spot\" (rect 4 4 50 40))))"
              " (\"Control List\" (list (reference \"Lista\"))))))";
        auto* link = new VerbLink(UiFixture::read(resource.c_str()));
        qelValue value = qelFormValue(link);
        qelSetActiveForm(value);
        link->open(qelValue("Veja {\\uldb Brasil}"));
        EXPECT_EQ(std::to_string(qelLeft(link->m_frameRect)) + "," + std::to_string(qelTop(link->m_frameRect)) + ","
                + std::to_string(qelWidth(link->m_frameRect)) + "," + std::to_string(qelHeight(link->m_frameRect)),
            c.frame);
        link->mouseDown(c.inX, c.inY, 0, 1);
        EXPECT_EQ(link->done, 0) << c.frame;
        link->mouseDown(c.outX, c.outY, 0, 1);
        EXPECT_EQ(link->done, 1) << c.frame;
        link->close();
    }
}
