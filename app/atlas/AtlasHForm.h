#pragma once

// The atlas's home screen. Its pop-up buttons (controls with "PopUpX") lead to the maps: the
// index "Indice" and the continents "Ásia", "África", "Europa" and "Oceania" open the list
// chooser "AtlasDlg" with their entry of "SubMenus", whose choice opens that map on the map page;
// every other pop-up button opens "PopUpMenu" with its entry of "SubMenus" (and the button's
// "AddedImage"), whose choice is a theme page or video (AtlasThemes.h), a map, or a list whose
// element 1 names a form. The first pop-up click of a visit draws the section's name
// ("SectionName Image" at "SectionNameX", "SectionNameY"). A click on the playing video stops it;
// the other controls are the menu bar's.

#include "app/shell/BarraMenuForm.h"

class AtlasHForm : public BarraMenuForm {
    VELARIM_CLASS(AtlasHForm, BarraMenuForm)
public:
    void open(const qelValue& data) override;
    void handleControl(const qelValue& control) override;
    qelValue historyText() override;
    int32_t helpContext() override { return -1; }

    virtual void showInfoPage(const qelValue& name);
    virtual void playThemeVideo(const qelValue& name, bool untilStopped);

    int32_t sectionNamePending() const { return m_sectionNamePending; }

private:
    // A choice of "PopUpMenu": a theme, a map, or [_, form name].
    void followMenuChoice(const qelValue& choice);

    int32_t m_sectionNamePending = 0;
};
