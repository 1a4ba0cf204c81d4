#pragma once

// The home screen of the country and state database. Its four buttons ("Países", "Estados",
// "Região", "Bloco econômico") open the saved-search dialog of that database; a new, opened or
// changed search then goes through the region or bloc chooser (for "Região" and "Bloco
// econômico"), the criteria dialog, and, when that answers records, the result table.
//
// The first button click of a visit draws the section's name ("SectionName Image" at
// "SectionNameX", "SectionNameY"); a screen without that image leaves the buttons inert.

#include "app/shell/BarraMenuForm.h"

class BDadosHForm : public BarraMenuForm {
    VELARIM_CLASS(BDadosHForm, BarraMenuForm)
public:
    void open(const qelValue& data) override;
    void handleControl(const qelValue& control) override;
    qelValue historyText() override;
    int32_t helpContext() override { return -1; }

private:
    int32_t m_sectionNamePending { 0 };
};
