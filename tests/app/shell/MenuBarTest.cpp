// The menu bar's answers, run over a headless window with stand-ins for the dialogs and screens it
// opens: each stand-in dialog answers what the case gives and keeps the data it was run with, each
// stand-in screen keeps the data it was opened with. Also the history dialog over a history with
// entries that show no text, and the picture menu's hit test and drawing.

#include "app/shell/BarraMenuForm.h"
#include "app/shell/DisplayMenu.h"
#include "app/shell/HistoryDlg.h"
#include "app/shell/MainForm.h"
#include "app/shell/MarkList.h"
#include "app/shell/ShellHooks.h"
#include "framework/display/Region.h"
#include "framework/display/WindowServices.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/List.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/Settings.h"
#include "framework/runtime/Table.h"
#include "framework/runtime/ValuePrinter.h"
#include "framework/ui/DialogObject.h"
#include "framework/ui/History.h"
#include "platform/sys/Folders.h"
#include "tests/app/StandIns.h"
#include "tests/framework/ui/UiFixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>
#include <string>

namespace {

using qel::test::StandInDialog;
using qel::test::StandInScreen;

namespace fs = std::filesystem;

std::string text(const qelValue& value)
{
    return qelCString(qelPrintValue(value, 1));
}

// The screens and dialogs the menu bar reaches, by their registered names.
struct MenuBarFixture {
    MenuBarFixture()
        : user(fs::temp_directory_path() / ("velarim-menubar-" + std::to_string(std::random_device {}())))
    {
        fs::create_directories(user);
        setenv(platform::userFolderVariable().c_str(), user.c_str(), 1);
        for (const char* name : { "PopUpMenu", "PopUpMenu1", "BuscaDialog", "HistoryDlg", "VBCRDialog", "RegistroDialog",
                 "PrefsDlg", "SobreDlg", "ItemDlg" }) {
            auto* dialog = new StandInDialog;
            dialogs[name] = dialog;
            ui.environment->setGlobal(qelValue(name), qelFormValue(dialog));
        }
        for (const char* name : { "MainForm", "CurioHForm", "AgenMesForm", "RetroForm", "AtlasForm", "VerbeteForm",
                 "CreditsForm", "SectionHome", "in0002" }) {
            auto* screen = new StandInScreen;
            screens[name] = screen;
            ui.environment->setGlobal(qelValue(name), qelFormValue(screen));
        }
        // The menus are told apart by a key of their own.
        for (const char* name : { "VelarimMenuMF", "VelarimMenu", "MarcadorMenu", "InternetMenu", "AjudaMenu" }) {
            qelValue menu = qelTable(4, 100, 75);
            qelPut(menu, qelValue("Menu"), qelValue(name));
            ui.environment->setGlobal(qelValue(name), menu);
        }
        ui.environment->setGlobal(qelValue("Lista de Marcados"), UiFixture::read("(table (\"DlgName\" \"VerbetesDlg\"))"));
        ui.environment->setGlobal(qelValue("ValidInfos"), UiFixture::read("(list \"in0001\" \"in0002\")"));
        ui.environment->setGlobal(qelValue("DisabledMenuItemsTable"), qelTable(4, 100, 75));
    }
    ~MenuBarFixture()
    {
        velarimReleaseLastSearchResult();
        releaseMarkList();
        unsetenv(platform::userFolderVariable().c_str());
        fs::remove_all(user);
    }

    // A screen of the class made from the properties' text, made the current one.
    template<typename Screen = BarraMenuForm> Screen* show(const char* properties = "(table)")
    {
        auto* screen = new Screen(UiFixture::read(properties));
        ui.environment->activeForm = qelFormValue(screen);
        return screen;
    }

    // The control named so reports a click to the current form.
    void click(const char* name)
    {
        qelValue control = UiFixture::read(("(control (\"Class\" \"HotSpot\") (\"Name\" \"" + std::string(name) + "\"))").c_str());
        qelFormOf(ui.environment->activeForm)->handleControl(control);
    }

    // The name of the stand-in screen now current, "" when it is none of them.
    std::string current()
    {
        for (auto& [name, screen] : screens) {
            if (qelFormOf(ui.environment->activeForm) == screen)
                return name;
        }
        return "";
    }

    UiFixture ui;
    fs::path user;
    std::map<std::string, StandInDialog*> dialogs;
    std::map<std::string, StandInScreen*> screens;
};

} // namespace

TEST(BarraMenuForm, TheSectionMenuOpensTheSectionsHomeAndReadsTheMainMenusOwnMenuThere)
{
    struct Case {
        const char* properties;
        const char* answer;
        const char* menu;
        const char* opened;
    };
    const Case cases[] = {
        { "(table (\"Form Name\" \"MainForm\"))", "(table (\"Text\" \"Curiosidades\"))", "VelarimMenuMF", "CurioHForm" },
        { "(table)", "(table (\"Text\" \"Agenda\"))", "VelarimMenu", "AgenMesForm" },
        { "(table)", "(table (\"Text\" \"Menu Principal\"))", "VelarimMenu", "" },
        { "(table)", "(table (\"Index\" 4))", "VelarimMenu", "" },
        { "(table)", "nil", "VelarimMenu", "" },
    };
    for (const Case& c : cases) {
        MenuBarFixture f;
        f.show(c.properties);
        f.dialogs["PopUpMenu"]->answer = UiFixture::read(c.answer);
        f.click("Velarim");
        EXPECT_EQ(text(qelGet(f.dialogs["PopUpMenu"]->received, qelValue("Menu"))), std::string("\"") + c.menu + "\"") << c.answer;
        EXPECT_EQ(f.current(), c.opened) << c.answer;
    }
}

TEST(BarraMenuForm, ASearchResultOpensTheSectionOfItsTextWithTheKeyAfterTheColon)
{
    struct Case {
        const char* answer;
        const char* opened;
        const char* data;
    };
    const Case cases[] = {
        { "(table (\"Text\" \"Retrospectiva: 1997\"))", "RetroForm", "(table (\"Text\" \"->1997\") (\"Mes\" false))" },
        { "(table (\"Text\" \"Atlas: Brasil\"))", "AtlasForm", "(table (\"Text\" \"Brasil\"))" },
        { "(table (\"Text\" \"Verbetes: Sol\") (\"Index\" 3))", "VerbeteForm", "(table (\"Text\" \"Sol\") (\"Index\" 3))" },
        // No key after the colon, or no colon at all: nothing opens.
        { "(table (\"Text\" \"Atlas:\"))", "", nullptr },
        { "(table (\"Text\" \"Atlas\"))", "", nullptr },
        { "(table (\"Text\" \"Outra: coisa\"))", "", nullptr },
    };
    for (const Case& c : cases) {
        MenuBarFixture f;
        f.show();
        f.dialogs["BuscaDialog"]->answer = UiFixture::read(c.answer);
        f.click("Busca");
        EXPECT_EQ(f.current(), c.opened) << c.answer;
        if (c.data) {
            qelValue expected = UiFixture::read(c.data);
            qelValue opened = f.screens[c.opened]->opened;
            qelTableObject* e = qelTableOf(expected);
            for (int32_t slot = e->firstIndex(); slot >= 0; slot = e->nextIndex(slot))
                EXPECT_EQ(text(qelGet(opened, e->keyAt(slot))), text(e->valueAt(slot))) << c.answer;
        }
    }
}

TEST(BarraMenuForm, TheSearchGetsItsLastResultBackAndACancelKeepsIt)
{
    MenuBarFixture f;
    f.show();
    StandInDialog* search = f.dialogs["BuscaDialog"];
    search->answer = UiFixture::read("(table (\"Text\" \"Atlas: Brasil\"))");
    f.click("Busca");
    qelValue first = search->answer;
    // Cancelled: the next run still gets the first result, as the page left it.
    f.show();
    search->answer = qelNil;
    f.click("Busca");
    EXPECT_EQ(qelTableOf(search->received), qelTableOf(first));
    f.click("Busca");
    EXPECT_EQ(qelTableOf(search->received), qelTableOf(first));
    EXPECT_EQ(text(qelGet(search->received, qelValue("Text"))), "\"Brasil\"");
}

TEST(BarraMenuForm, TheMarksMenuOffersItsListOnlyWithMarksAndRoteirosGoesToTheTours)
{
    MenuBarFixture f;
    f.show("(table)");
    // No marks: the list is switched off in "PopUpMenu"'s disabled items when a screen opens.
    qelFormOf(f.ui.environment->activeForm)->open(qelNil);
    qelValue disabled = qelGet(qelLoadResource("DisabledMenuItemsTable"), qelValue("PopUpMenu"));
    EXPECT_TRUE(qelIsTrue(qelGet(disabled, qelValue("Lista de Marcados"))));
    StandInDialog* menu = f.dialogs["PopUpMenu"];
    menu->answer = UiFixture::read("(table (\"Text\" \"Lista de Marcados\"))");
    f.click("Marcador");
    EXPECT_EQ(f.current(), "");
    // The menu was given the marks sub-menu with the (empty) mark list.
    qelValue cascade = qelGet(qelGet(menu->received, qelValue("CascadeTable")), qelValue("Lista de Marcados"));
    EXPECT_EQ(text(qelGet(cascade, qelValue("DlgName"))), "\"VerbetesDlg\"");

    addMark(5);
    BarraMenuForm* screen = f.show("(table)");
    screen->open(qelNil);
    EXPECT_FALSE(qelIsTrue(qelGet(qelGet(qelLoadResource("DisabledMenuItemsTable"), qelValue("PopUpMenu")),
        qelValue("Lista de Marcados"))));
    f.click("Marcador");
    EXPECT_EQ(f.current(), "VerbeteForm");
    EXPECT_EQ(text(qelGet(f.screens["VerbeteForm"]->opened, qelValue("Text"))), "\"Lista de Marcados\"");

    screen = f.show("(table)");
    screen->m_entryId = 12;
    screen->m_entryTitle = "Sol";
    menu->answer = UiFixture::read("(table (\"Text\" \"Roteiros\"))");
    f.click("Marcador");
    EXPECT_EQ(f.current(), "");
    EXPECT_EQ(text(qelGet(f.dialogs["VBCRDialog"]->received, qelValue("VerbID"))), "12");
    EXPECT_EQ(text(qelGet(f.dialogs["VBCRDialog"]->received, qelValue("VerbTit"))), "\"Sol\"");
}

TEST(BarraMenuForm, InternetAndHelpMenus)
{
    static std::string opened;
    velarimShellHooks().openInternetPage = [](const qelValue& address) { opened = qelCString(address); };
    MenuBarFixture f;
    qelSetPreference("URLHomePage", qelValue("http://casa.example/"));
    qelSetPreference("URLDownLoad", qelValue("http://baixar.example/"));
    StandInDialog* menu = f.dialogs["PopUpMenu"];
    struct Case {
        const char* button;
        const char* answer;
        const char* address;
        const char* dialog;
        const char* screen;
    };
    const Case cases[] = {
        { "Internet", "Entrar na Internet", "http://casa.example/", nullptr, "" },
        { "Internet", "Atualizar Conte\xFA" "do", "http://baixar.example/", nullptr, "" },
        { "Internet", "Registro Eletr\xF4nico", "", "RegistroDialog", "" },
        { "Ajuda", "Sobre o Velarim", "", "SobreDlg", "" },
        { "Ajuda", "Prefer\xEAncias", "", "PrefsDlg", "" },
        { "Ajuda", "Cr\xE9" "ditos", "", nullptr, "CreditsForm" },
    };
    for (const Case& c : cases) {
        opened.clear();
        f.show();
        int runs = c.dialog ? f.dialogs[c.dialog]->runs : 0;
        qelValue answer = qelTable(4, 100, 75);
        qelPut(answer, qelValue("Text"), qelValue(c.answer));
        menu->answer = answer;
        f.click(c.button);
        EXPECT_EQ(text(qelGet(menu->received, qelValue("Menu"))), std::string("\"") + c.button + "Menu\"") << c.answer;
        EXPECT_EQ(opened, c.address) << c.answer;
        if (c.dialog)
            EXPECT_EQ(f.dialogs[c.dialog]->runs, runs + 1) << c.answer;
        EXPECT_EQ(f.current(), c.screen) << c.answer;
    }
    velarimShellHooks().openInternetPage = nullptr;
}

TEST(BarraMenuForm, TheCategoryPopUpsActOnlyOnAScreenWithTrio)
{
    MenuBarFixture f;
    const char* trio = "(table (\"Form Name\" \"SectionHome\") (\"SCategXPos\" 30) (\"SCategYPos\" 40)"
                       " (\"Trio\" (table (\"Mes\" (table (\"CascadeTable\" (table (\"Janeiro\" (table (\"DlgName\" \"PopUpMenu1\")"
                       " (\"UseDefaultPosition\" true)))))))))"
                       " (\"Item\" (table (\"DlgName\" \"ItemDlg\"))))";
    BarraMenuForm* screen = f.show(trio);
    screen->m_categoryKey = "Mes";
    screen->open(qelNil);
    StandInDialog* popup = f.dialogs["PopUpMenu1"];
    popup->answer = UiFixture::read("(table (\"Index\" 2))");
    // No main category shown yet: the sub-category pop-up is not run.
    f.click("SCategName");
    EXPECT_EQ(popup->runs, 0);
    screen->m_currentCategory = "Janeiro";
    f.click("SCategName");
    EXPECT_EQ(popup->runs, 1);
    EXPECT_EQ(text(qelGet(popup->received, qelValue("Origin X"))), "30");
    EXPECT_FALSE(qelContainsKey(popup->received, qelValue("UseDefaultPosition")));
    EXPECT_EQ(f.current(), "SectionHome");

    screen = f.show(trio);
    screen->m_categoryKey = "Mes";
    screen->open(qelNil);
    screen->m_categoryId = 7;
    f.dialogs["ItemDlg"]->answer = UiFixture::read("(table (\"Index\" 1))");
    f.click("ItemName");
    EXPECT_EQ(text(qelGet(f.dialogs["ItemDlg"]->received, qelValue("SCatID"))), "7");
    EXPECT_EQ(f.current(), "SectionHome");

    // A key "Trio" does not hold leaves the screen without pop-ups.
    screen = f.show(trio);
    screen->m_categoryKey = "Ano";
    screen->open(qelNil);
    EXPECT_TRUE(screen->m_categoryMenus.isNil());
    int runs = popup->runs;
    f.click("MCategName");
    EXPECT_EQ(popup->runs, runs);
}

TEST(BarraMenuForm, TheHistoryChoiceReopensTheEntryItNames)
{
    MenuBarFixture f;
    qelHistoryPush("CurioHForm", "Curiosidades");
    qelHistoryPush("AtlasForm", "Atlas");
    f.show();
    f.dialogs["HistoryDlg"]->answer = UiFixture::read("(table (\"Jump Form\" \"CurioHForm\") (\"Jump Index\" 0))");
    f.click("Historico");
    EXPECT_EQ(f.current(), "CurioHForm");
    EXPECT_EQ(text(f.screens["CurioHForm"]->opened), "\"Curiosidades\"");
    // A result without "Jump Form" goes nowhere.
    f.show();
    f.dialogs["HistoryDlg"]->answer = UiFixture::read("(table (\"Jump Index\" 0))");
    f.click("Historico");
    EXPECT_EQ(f.current(), "");
}

TEST(MainForm, SectionButtonsOpenTheHomesAndTheHistoryKnowsItsText)
{
    MenuBarFixture f;
    MainForm* menu = f.show<MainForm>();
    EXPECT_EQ(text(menu->historyText()), "\"Tela inicial do Velarim\"");
    EXPECT_EQ(menu->helpContext(), -1);
    f.click("Curiosidades");
    EXPECT_EQ(f.current(), "CurioHForm");
    EXPECT_TRUE(f.screens["CurioHForm"]->opened.isNil());
    // A bar button on the main menu is the bar's.
    f.show<MainForm>();
    f.click("MainHome");
    EXPECT_EQ(f.current(), "MainForm");
}

// ---- The history dialog ------------------------------------------------------------------------

namespace {

// A 300 x 200 dialog at (100, 80) holding the list, a text for entries without one.
const char* const historyDialog = "(table (\"Resource Table\" (table (\"Origin X\" 100) (\"Origin Y\" 80)"
                                  " (\"Width\" 300) (\"Height\" 200) (\"No Text Error\" \"sem texto\")"
                                  " (\"History List\" (control (\"Class\" \"ListBox\") (\"Name\" \"History List\")"
                                  " (\"Hot Spot\" (rect 10 10 280 150)) (\"SingleClickNotify\" true)))"
                                  " (\"Control List\" (list (reference \"History List\"))))))";

} // namespace

TEST(HistoryDlg, RowsShowTheNewestFirstAndEachJumpsToItsOwnEntry)
{
    struct Case {
        const char* script;
        const char* result;
    };
    // Entries: 0 the main menu, 1 a screen with no history text, 2 an entry page's table, 3 a
    // table without "History Text", 4 a plain text. Rows, about 10 pixels each in the test font
    // from the list's top at y 90: "Curiosidades", "Brasil", "Tela inicial".
    const Case cases[] = {
        { "click 200 101\n", "(table (\"Jump Form\" \"VerbeteForm\") (\"Jump Table\" (table (\"History Text\" \"Brasil\")"
                     " (\"Index\" 7))) (\"Jump Index\" 2))" },
        { "click 200 115\n", "(table (\"Jump Form\" \"MainForm\") (\"Jump Table\" \"Tela inicial\") (\"Jump Index\" 0))" },
        { "click 200 93\n", "(table (\"Jump Form\" \"CurioHForm\") (\"Jump Table\" \"Curiosidades\") (\"Jump Index\" 4))" },
        // A press outside the dialog ends it without a choice.
        { "click 20 20\n", "nil" },
    };
    for (const Case& c : cases) {
        UiFixture ui(c.script);
        qelHistoryPush("MainForm", "Tela inicial");
        qelHistoryPush("IntroForm", qelNil);
        qelHistoryPush("VerbeteForm", UiFixture::read("(table (\"History Text\" \"Brasil\") (\"Index\" 7))"));
        qelHistoryPush("AtlasForm", UiFixture::read("(table (\"Index\" 1))"));
        qelHistoryPush("CurioHForm", "Curiosidades");
        qelValue dialog = qelFormValue(new HistoryDlg(UiFixture::read(historyDialog)));
        qelValue answer = qelRunDialog(dialog, qelNil);
        qelValue expected = UiFixture::read(c.result);
        if (expected.isNil()) {
            EXPECT_TRUE(answer.isNil()) << c.script;
        } else {
            qelTableObject* e = qelTableOf(expected);
            for (int32_t slot = e->firstIndex(); slot >= 0; slot = e->nextIndex(slot))
                EXPECT_EQ(text(qelGet(answer, e->keyAt(slot))), text(e->valueAt(slot))) << c.script;
        }
        // The entry without its text is told, not fatal.
        EXPECT_TRUE(recordedErrors().empty()) << c.script;
    }
}

TEST(HistoryDlg, AnEmptyHistoryChoosesNothingAndAPressInsideKeepsItOpen)
{
    UiFixture ui("key Enter\nclick 390 270\nkey Escape\n");
    qelValue dialog = qelFormValue(new HistoryDlg(UiFixture::read(historyDialog)));
    EXPECT_TRUE(qelRunDialog(dialog, qelNil).isNil());
    auto* history = dynamic_cast<HistoryDlg*>(qelDialogOf(dialog));
    EXPECT_EQ(text(history->m_closeArea), text(qelRectValue(100, 80, 300, 200)));
    EXPECT_EQ(text(history->jumpIndex()), "-1");
    EXPECT_TRUE(history->jumpForm().isNil());
}

// ---- The picture menu --------------------------------------------------------------------------

namespace {

// A picture of one colour.
qelValue picture(int32_t colour, int32_t w, int32_t h)
{
    qelRectangle(0, 0, w, h, colour);
    return qelGrabWindowImage(0, 0, w, h);
}

// Three items at the menu's corner (100, 50): A and B overlap at (30..39, 10..19); C reaches
// left of the corner; "D" is a text item.
qelValue menuItems(bool withText)
{
    std::string items = "(list (list \"A\" 0 (rect 0 0 40 20)) (list \"B\" 1 (rect 30 10 40 20))"
                        " (list \"C\" 2 (rect -10 30 40 20))";
    items += withText ? " (list \"D\" 3))" : ")";
    return UiFixture::read(items.c_str());
}

} // namespace

TEST(DisplayMenu, ALaterRectangleWinsAndNothingIsHitLeftOfOrAboveTheCorner)
{
    UiFixture ui;
    DisplayMenu menu;
    menu.originX = 100;
    menu.originY = 50;
    menu.items = menuItems(false);
    menu.itemCount = 3;
    struct Case {
        int x, y, item;
    };
    const Case cases[] = { { 105, 55, 0 }, { 135, 65, 1 }, { 165, 75, 1 }, { 105, 85, 2 }, { 95, 85, -1 }, { 105, 45, -1 },
        { 190, 95, -1 } };
    for (const Case& c : cases)
        EXPECT_EQ(menu.itemAtY(c.x, c.y), c.item) << c.x << "," << c.y;
    // A text item ends the scan with the line test: no line of text height is under the point.
    menu.items = menuItems(true);
    menu.itemCount = 4;
    EXPECT_EQ(menu.itemAtY(135, 65), -1);
}

TEST(DisplayMenu, ItemsAreCutFromTheDisabledHighlightOrNormalPictureAndTheHighlightGoesBackWhereTaken)
{
    UiFixture ui;
    DisplayMenu menu;
    menu.m_disabledPicture = picture(0x0000FF, 100, 100);
    menu.m_highlightPicture = picture(0x00FF00, 100, 100);
    menu.background = picture(0xFF0000, 100, 100);
    qelRectangle(0, 0, 200, 200, 0xFFFFFF);
    menu.items = menuItems(false);
    menu.itemCount = 3;
    menu.disabledItems = UiFixture::read("(table (\"A\" true) (\"C\" false))");
    // "A" is current and switched off: the disabled picture wins.
    menu.selectedIndex = 0;
    menu.drawItem(0);
    EXPECT_EQ(ui.pixel(5, 5) & 0xFFFFFF, 0xFF0000u);
    menu.selectedIndex = 1;
    menu.drawItem(1);
    EXPECT_EQ(ui.pixel(65, 25) & 0xFFFFFF, 0x00FF00u);
    EXPECT_EQ(menu.highlightLeft, 30);
    EXPECT_EQ(menu.highlightTop, 10);
    menu.selectedIndex = -1;
    menu.drawItem(2);
    EXPECT_EQ(ui.pixel(5, 35) & 0xFFFFFF, 0x0000FFu);
}
