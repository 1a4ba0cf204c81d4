#pragma once

// ComboEdit: a combo box whose field is a text field of the same form, named by "EditControl"
// (the control, a reference to it, or its "Name"). The field draws itself; a new selection is
// written into it fully selected; text typed into it becomes the selected item before the list
// opens; and the field takes the focus back when the list closes.

#include "framework/ui/ComboBox.h"

class ComboEdit : public ComboBox {
public:
    explicit ComboEdit(const qelValue& data);
    ~ComboEdit() override;

    const char* className() const override { return "ComboEdit"; }
    qelNamedObject* newInstance(const qelValue& data) override { return new ComboEdit(data); }
    void setUp() override;
    void drawField() override;
    void setSelection(int32_t index, int32_t refresh) override;
    void markDown() override;
    void markUp() override;

    qelValue editControl;
};
