#pragma once

// The screen with the almanac's menu bar: the main menu, the section homes, the database's
// result tables and, through VLTextForm, every text and media page. Any control of the screen
// whose "Name" is one of the bar's names acts as that button, in this order:
//
//   "MainHome"    the main menu
//   "Velarim"     the section menu ("VelarimMenuMF" on the main menu, "VelarimMenu" elsewhere)
//   "Busca"       the word search; its result opens the section and key it names
//   "Marcador"    the marks pop-up ("MarcadorMenu", its "Lista de Marcados" cascade holding the
//                 user's marks); a choice goes to markerCommand, else to the entry page
//   "GoBack"      one step back in the history
//   "Historico"   the history dialog; a chosen entry is reopened
//   "Internet"    the internet menu (registration, the publisher's pages)
//   "Ajuda"       the help menu (index, about, preferences, credits)
//   "Minimizar"   minimises the window
//   "Sair"        asks the application to quit
//   "MCategName", "SCategName", "ItemName"
//                 the category pop-ups, only on a screen with "Trio" (else the framework's
//                 "Target Form")
// Every other name goes to the framework form (its "Target Form").
//
// A screen built on this class sets m_categoryKey before it opens to narrow its "Trio" to one
// sub-table, and keeps m_currentCategory, m_currentSubcategory, m_categoryId, m_entryId and
// m_entryTitle up to date for the pop-ups. A screen is one object reused at every visit: open
// sets only m_subMenus and m_categoryMenus; the other fields keep their values between visits.

#include "app/shell/ShellClass.h"
#include "framework/ui/MediaFormObject.h"

#include <cstdint>

class BarraMenuForm : public qelMediaFormObject {
    VELARIM_CLASS(BarraMenuForm, qelMediaFormObject)
public:
    // The media form's open; then "SubMenus", the marks item of "PopUpMenu" enabled only while
    // there are marks, and the category pop-ups' description from "Trio".
    void open(const qelValue& data) override;
    // Dispatches on the control's "Name" (above).
    void handleControl(const qelValue& control) override;
    // The media form's handling, unchanged.
    void mediaNotify(const qelValue& media, const qelValue& message) override;
    // A choice of the marks pop-up by its text: 0 when handled here, 1 when not. This class
    // handles "Roteiros" (the tours dialog for the entry shown); the entry page adds its own.
    virtual int32_t markerCommand(const qelValue& text);

    // The screen's "SubMenus", taken at open; for the screens built on this class.
    qelValue m_subMenus;
    // The screen's "Trio", narrowed by m_categoryKey; nil on a screen without category pop-ups.
    qelValue m_categoryMenus;
    // The key of the sub-table of "Trio" this screen uses; nil keeps "Trio" whole.
    qelValue m_categoryKey;
    // The main category shown: a key of m_categoryMenus' "CascadeTable".
    qelValue m_currentCategory;
    qelValue m_currentSubcategory;
    // The title of the entry shown, sent to the tours dialog as "VerbTit".
    qelValue m_entryTitle;
    // The sub-category shown, sent to the item pop-up as "SCatID".
    int32_t m_categoryId = 0;
    // The entry shown, sent to the tours dialog as "VerbID".
    int32_t m_entryId = 0;

protected:
    void showSectionMenu();
    void runSearch();
    void showMarksMenu();
    void showHistory();
    void showInternetMenu();
    void showHelpMenu();
    void showMainCategoryMenu();
    // False when the screen shows no main category (the click then goes to the framework).
    bool showSubcategoryMenu(const qelValue& control);
    void showItemMenu();
};

// The table the word search returned last: handed to it at its next run, so the user finds the
// previous search as it was left. Nil until a search ends with a result.
qelValue& velarimLastSearchResult();
// Lets it go (the program's exit, before the framework goes).
void velarimReleaseLastSearchResult();

// The form the section menu opens for a menu text ("Verbetes" -> "VerbHForm", ...); nullptr for
// any other text.
const char* velarimSectionForm(const qelValue& text);
