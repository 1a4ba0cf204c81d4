#pragma once

// The review of the year's home screen: one hot spot per category ("Acidentes".."Violência")
// and per month ("Janeiro".."Dezembro"), each with its section key as "CatID" (a category 1..10,
// a month 11..22). A click runs the list chooser "RetroDlg" on the section's articles; an article
// chosen there opens the review page ("RetroForm"). The screen shows the "Retro" set, or the
// "Retro98" set after its "Retro98" button (offered only when that set's category list is on
// the disk); the set chosen is kept in the history entry, so going back restores it.
//
// Resource: "SubMenus" (a table: the data the chooser is run with), the 22 section controls,
// "Retro98", "RetroBk" and "Retro98Bk" (the two sets' backgrounds), "SectionName Image" with
// "SectionNameX" and "SectionNameY" (drawn at the first section click), and for a section control
// an optional extra picture named by the first three letters of its name, folded, and "VLSB".

#include "app/shell/BarraMenuForm.h"

class RetrospectivaHF : public BarraMenuForm {
    VELARIM_CLASS(RetrospectivaHF, BarraMenuForm)
public:
    void handleControl(const qelValue& control) override;
    void open(const qelValue& data) override;
    void reenter(const qelValue& data) override;
    // {"History Text": "Tela inicial da Retrospectiva", "Retro98": the set shown}.
    qelValue historyText() override;
    int32_t helpContext() override { return -1; }

    // Reads the set to show from the data ("Retro98", or a table whose "Retro98" is true) and
    // enables the sections and the background for it; nothing is drawn.
    void loadSections(const qelValue& data);

    // The extra picture property of a section control: "MarVLSB" for "Março".
    static qelValue extraPictureKey(const qelValue& controlName);

    int32_t firstClickPending() const { return m_firstClickPending; }
    int32_t reviewSet() const { return m_reviewSet; }

private:
    void setSectionEnabled(const qelValue& name, bool enabled);
    void openSection(const qelValue& control);

    // 1 from every filling of the screen until a section click has drawn the section picture.
    int32_t m_firstClickPending = 0;
    // 1 while the screen shows the "Retro98" set.
    int32_t m_reviewSet = 0;
};
