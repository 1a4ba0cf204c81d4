#pragma once

// The media library's home: one button per media category, each with its "TypeID" (the media
// kind + 1) and, in the screen's "SubMenus" under the button's name, the data of its chooser.
// Chronologies, books and tables are chosen in the list dialog "MidiasDlg", every other
// category in MidiaHFDialog; the choice opens the media viewer at that item of the category's
// list, an infographic page the disk holds, or the form a related-entries link names.

#include "app/shell/BarraMenuForm.h"

class JMidiaHForm : public BarraMenuForm {
    VELARIM_CLASS(JMidiaHForm, BarraMenuForm)
public:
    void handleControl(const qelValue& control) override;
    qelValue historyText() override;
    int32_t helpContext() override { return -1; }
};
