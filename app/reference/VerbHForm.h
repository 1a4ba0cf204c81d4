#pragma once

// The home screen of the entries. Its section buttons (the controls with a "PopUpX") open, from
// the screen's "SubMenus": "Indice" the list of every entry ("VerbetesDlg"), "Roteiros" the tour
// browser ("VBDialogHF"), any other a pop-up menu of categories ("PopUpMenu" with the button's
// "AddedImage", so the pressed button shows while the menu is open). A choice that carries
// "Text" opens the entry page with it. The first section-button press of a visit also shows the
// section's name picture ("SectionName Image" at "SectionNameX", "SectionNameY").
// The history lists it as "Tela inicial de Verbetes"; its help is the index.

#include "app/shell/BarraMenuForm.h"

class VerbHForm : public BarraMenuForm {
    VELARIM_CLASS(VerbHForm, BarraMenuForm)
public:
    void open(const qelValue& data) override;
    void handleControl(const qelValue& control) override;
    qelValue historyText() override;
    int32_t helpContext() override { return -1; }

    // 1 until the section name picture has been shown in this visit.
    int32_t m_firstClick = 1;

protected:
    // Runs the dialog of a section button and answers its result.
    virtual qelValue runSectionDialog(const qelValue& name, const qelValue& control);
    virtual void openEntry(const qelValue& result);

private:
    void showSectionName();
};
