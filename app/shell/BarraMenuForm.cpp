#include "app/shell/BarraMenuForm.h"

#include "app/shell/MarkList.h"
#include "app/shell/ShellHooks.h"
#include "app/shell/TableKeys.h"
#include "framework/display/AppWindow.h"
#include "framework/display/Cursor.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Environment.h"
#include "framework/runtime/EventQueue.h"
#include "framework/runtime/List.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/Settings.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/DialogObject.h"
#include "framework/ui/History.h"
#include "framework/ui/Perform.h"

#include <cstring>
#include <iterator>

namespace {

// The marks pop-up's sub-menu and the item it is enabled by.
constexpr const char* marksItem = "Lista de Marcados";



qelValue controlName(const qelValue& control)
{
    qelControlObject* object = qelControlOf(control);
    return object ? qelResolve(object->getProperty("Name")) : qelNil;
}

// An integer from a result; a missing one is -1 (no position).
int32_t position(const qelValue& value)
{
    return value.isNil() ? -1 : qelIntValue(value);
}

// A new table as the menu bar makes them: room for four, growing by 100 %, 75 % full.
qelValue smallTable()
{
    return qelTable(4, 100, 75);
}

struct SectionRow {
    const char* text;
    const char* form;
};

// The section menu's texts and the home screens they open.
constexpr SectionRow sectionRows[] = {
    { "Verbetes", "VerbHForm" },
    { "Agenda", "AgenMesForm" },
    { "Atlas", "AtlasHForm" },
    { "Banco de Dados", "BDadosHForm" },
    { "Curiosidades", "CurioHForm" },
    { "Linha do Tempo", "LinhaTempoForm" },
    { "M\xED" "dias", "JMidiaHForm" },
    { "Retrospectiva", "RetrospectivaHF" },
    { "Jogo", "Jogo0" },
};

// The word search's sections and the pages that show a found key.
constexpr SectionRow searchRows[] = {
    { "Agenda", "AgenDiaForm" },
    { "Atlas", "AtlasForm" },
    { "Curiosidades", "CurioHForm" },
    { "Linha do Tempo", "LinhaTempoForm" },
    { "M\xED" "dias", "MidiasForm" },
    { "Retrospectiva", "RetroForm" },
    { "Verbetes", "VerbeteForm" },
};

const char* formFor(const SectionRow* rows, size_t count, const qelValue& text)
{
    if (!text.isString())
        return nullptr;
    for (size_t i = 0; i < count; ++i) {
        if (text == rows[i].text)
            return rows[i].form;
    }
    return nullptr;
}

qelValue lastSearch;

} // namespace

qelValue& velarimLastSearchResult()
{
    return lastSearch;
}

void velarimReleaseLastSearchResult()
{
    lastSearch = qelNil;
}

const char* velarimSectionForm(const qelValue& text)
{
    return formFor(sectionRows, std::size(sectionRows), text);
}

void BarraMenuForm::open(const qelValue& data)
{
    qelMediaFormObject::open(data);
    if (hasProperty("SubMenus"))
        m_subMenus = getProperty("SubMenus");
    if (countMarks() > 0)
        enableMenuItem("PopUpMenu", marksItem);
    else
        disableMenuItem("PopUpMenu", marksItem);
    m_categoryMenus = qelResolve(getProperty("Trio"));
    if (!m_categoryKey.isNil() && !m_categoryMenus.isNil()) {
        qelTableObject* trio = qelTableOf(m_categoryMenus);
        m_categoryMenus = trio && trio->find(m_categoryKey) >= 0 ? qelResolve(trio->get(m_categoryKey)) : qelNil;
    }
}

void BarraMenuForm::handleControl(const qelValue& control)
{
    qelValue name = controlName(control);
    if (!name.isString()) {
        qelMediaFormObject::handleControl(control);
        return;
    }
    if (name == "MainHome") {
        goToForm("MainForm", qelNil);
    } else if (name == "Velarim") {
        showSectionMenu();
    } else if (name == "Busca") {
        runSearch();
    } else if (name == "Marcador") {
        showMarksMenu();
    } else if (name == "GoBack") {
        goHistory(1);
    } else if (name == "Historico") {
        showHistory();
    } else if (name == "Internet") {
        showInternetMenu();
    } else if (name == "Ajuda") {
        showHelpMenu();
    } else if (name == "Minimizar") {
        if (qelEnvironment* environment = qelCurrentEnv())
            qelMinimizeMainWindow(environment->mainWindow);
    } else if (name == "Sair") {
        qelSetCursor(qelWaitCursor());
        qelPostQuit();
    } else if (name == "MCategName" && !m_categoryMenus.isNil()) {
        showMainCategoryMenu();
    } else if (name == "SCategName" && !m_categoryMenus.isNil()) {
        if (!showSubcategoryMenu(control))
            qelMediaFormObject::handleControl(control);
    } else if (name == "ItemName" && !m_categoryMenus.isNil()) {
        showItemMenu();
    } else {
        qelMediaFormObject::handleControl(control);
    }
}

void BarraMenuForm::mediaNotify(const qelValue& media, const qelValue& message)
{
    qelMediaFormObject::mediaNotify(media, message);
}

int32_t BarraMenuForm::markerCommand(const qelValue& text)
{
    if (!(text == "Roteiros"))
        return 1;
    qelValue data = smallTable();
    qelPut(data, qelValue("VerbID"), qelMakeInt(m_entryId));
    qelPut(data, qelValue("VerbTit"), m_entryTitle);
    qelRunDialog("VBCRDialog", data);
    return 0;
}

void BarraMenuForm::showSectionMenu()
{
    const char* menu = getProperty("Form Name") == "MainForm" ? "VelarimMenuMF" : "VelarimMenu";
    qelValue choice = qelRunDialog("PopUpMenu", qelLoadResource(menu));
    if (!tableHolds(choice, "Text"))
        return;
    if (const char* form = velarimSectionForm(tableEntry(choice, "Text")))
        goToForm(form, qelNil);
}

void BarraMenuForm::runSearch()
{
    qelValue found = qelRunDialog("BuscaDialog", lastSearch);
    if (!qelTableOf(found))
        return;
    // The same table: what the steps below change is what the next search starts from.
    lastSearch = found;
    if (!tableHolds(found, "Text"))
        return;
    // "Section: key": the section before the colon, the key after the colon and its blank.
    qelValue text = tableEntry(found, "Text");
    if (!text.isString())
        return;
    int32_t length = qelCount(text);
    int32_t colon = qelFindString(text, ":", 0);
    // A text without a colon, or with nothing after it and its blank, names no key: it opens
    // nothing rather than a key cut from the section's name.
    if (colon < 0 || length - colon - 2 <= 0)
        return;
    qelValue section = qelLeft(text, colon);
    qelValue key = qelRight(text, length - colon - 2);
    qelPut(found, qelValue("Text"), key);
    const char* form = formFor(searchRows, std::size(searchRows), section);
    if (!form)
        return;
    if (std::strcmp(form, "RetroForm") == 0) {
        qelPut(found, qelValue("Text"), "->" + key);
        qelPut(found, qelValue("Mes"), qelFalse);
    }
    goToForm(form, found);
}

void BarraMenuForm::showMarksMenu()
{
    // The sub-menu's description, a copy carrying the user's marks as its browse list.
    qelValue marks = qelCopy(qelLoadResource(marksItem));
    if (!qelTableOf(marks))
        marks = smallTable();
    qelPut(marks, qelValue("BrowseList"), getMarkList());
    qelValue cascade = smallTable();
    qelPut(cascade, qelValue(marksItem), marks);
    qelValue menu = qelLoadResource("MarcadorMenu");
    if (qelTableOf(menu))
        qelPut(menu, qelValue("CascadeTable"), cascade);
    qelValue choice = qelRunDialog("PopUpMenu", menu);
    if (!tableHolds(choice, "Text"))
        return;
    if (markerCommand(tableEntry(choice, "Text")) != 0 && countMarks() > 0)
        goToForm("VerbeteForm", choice);
}

void BarraMenuForm::showHistory()
{
    qelValue choice = qelDoDialog("HistoryDlg");
    if (!qelTableOf(choice) || tableEntry(choice, "Jump Form").isNil())
        return;
    qelHistoryGoToEntry(position(tableEntry(choice, "Jump Index")));
}

void BarraMenuForm::showInternetMenu()
{
    qelValue choice = qelRunDialog("PopUpMenu", qelLoadResource("InternetMenu"));
    if (!tableHolds(choice, "Text"))
        return;
    qelValue text = tableEntry(choice, "Text");
    const char* address = nullptr;
    if (text == "Registro Eletr\xF4nico")
        qelDoDialog("RegistroDialog");
    else if (text == "Entrar na Internet")
        address = "URLHomePage";
    else if (text == "Atualizar Conte\xFA" "do")
        address = "URLDownLoad";
    if (address && velarimShellHooks().openInternetPage)
        velarimShellHooks().openInternetPage(qelGetSetting(address));
}

void BarraMenuForm::showHelpMenu()
{
    qelValue choice = qelRunDialog("PopUpMenu", qelLoadResource("AjudaMenu"));
    if (!tableHolds(choice, "Text"))
        return;
    qelValue text = tableEntry(choice, "Text");
    if (text == "Cr\xE9" "ditos") {
        goToForm("CreditsForm", qelNil);
    } else if (text == "\xCDndice") {
        showHelp();
    } else if (text == "Sobre o Velarim") {
        qelDoDialog("SobreDlg");
    } else if (text == "Prefer\xEAncias") {
        qelDoDialog("PrefsDlg");
        // The dialog may have changed how videos play: the screen's players take it up.
        for (const char* player : { "VideoControl", "AnimControl" }) {
            if (hasProperty(player))
                qelPerformAction(qelResolve(getProperty(player)), "Initialize");
        }
    }
}

void BarraMenuForm::showMainCategoryMenu()
{
    qelValue choice = qelRunDialog("PopUpMenu1", m_categoryMenus);
    if (!tableHolds(choice, "Index"))
        return;
    qelValue subcategory = qelResolve(getProperty("SCategName"));
    if (qelControlOf(subcategory))
        qelPerformAction(subcategory, "DiscardBK");
    goToForm(getProperty("Form Name"), choice);
}

bool BarraMenuForm::showSubcategoryMenu(const qelValue& control)
{
    if (!m_currentCategory.isString())
        return false;
    qelValue menu = qelCopy(qelGet(tableEntry(m_categoryMenus, "CascadeTable"), m_currentCategory));
    // A category the description does not hold has no pop-up: the click does nothing.
    if (!qelTableOf(menu))
        return true;
    qelPut(menu, qelValue("Origin X"), getProperty("SCategXPos"));
    qelPut(menu, qelValue("Origin Y"), getProperty("SCategYPos"));
    qelTableOf(menu)->remove("UseDefaultPosition");
    qelValue choice = qelRunDialog(tableEntry(menu, "DlgName"), menu);
    if (!tableHolds(choice, "Index"))
        return true;
    qelValue formName = getProperty("Form Name");
    if (formName.isNil()) {
        // Without a screen of its own the choice names an information page by its position.
        qelValue pages = qelResolve(qelLoadResource("ValidInfos"));
        int32_t index = position(tableEntry(choice, "Index"));
        qelListObject* list = qelListObjectOf(pages);
        if (list && index >= 0 && index < list->count)
            goToForm(qelResolve(list->elementAt(index)), qelNil);
        return true;
    }
    qelPerformAction(control, "DiscardBK");
    goToForm(formName, choice);
    return true;
}

void BarraMenuForm::showItemMenu()
{
    qelValue menu = qelResolve(getProperty("Item"));
    if (!qelTableOf(menu))
        return;
    qelPut(menu, qelValue("SCatID"), qelMakeInt(m_categoryId));
    qelValue choice = qelRunDialog(tableEntry(menu, "DlgName"), menu);
    if (tableHolds(choice, "Index"))
        goToForm(getProperty("Form Name"), choice);
}
