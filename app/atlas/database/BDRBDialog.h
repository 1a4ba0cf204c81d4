#pragma once

// The chooser of a Brazilian region (for a search of the states by region) or of an economic
// bloc (for a search of the countries by bloc). One class serves both: it is registered as
// "BDRegDialog" over the resource "BDRegDlg" and as "BDBlocoDialog" over "BDBloDlg", and the
// resource's option controls (each holding "Option", named after the region or bloc it stands
// for, the text the database's field holds) decide which choices there are.
//
// The choice starts as "Asean" when the resource has a control named so (the blocs), else
// "Centro-Oeste" (the regions), so "Ok" at once answers that default. Picking an option keeps
// the dialog open; "Ok" answers the last one picked; "Cancelar", "Fechar" and Escape answer nil.

#include "app/shell/ShellClass.h"
#include "framework/ui/MediaDialogObject.h"

class BDRBDialog : public qelMediaDialogObject {
    VELARIM_CLASS(BDRBDialog, qelMediaDialogObject)
public:
    void open(const qelValue& data) override;
    void handleControl(const qelValue& control) override;
    void key(int32_t code, int32_t modifiers) override;
    qelValue result() override { return m_choice; }

private:
    qelValue m_choice;
};
