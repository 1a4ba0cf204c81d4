#pragma once

// VLComboBox: the combo box with marked items. An item whose text begins with "**" is shown
// without the stars; in the open list it takes the marked colours "2aryTextColor" (default 1),
// "2arySelectionColor" (1) and "2arySelectionTextColor" (0xFFFFFF). The normal colours default
// to "TextColor" 0xFF0000, "SelectionColor" 0xFF0000 and "TextSelectionColor" 0xFFFFFF. The
// verbs answer the item texts with their stars.

#include "framework/ui/ComboBox.h"

class VLComboBox : public ComboBox {
public:
    explicit VLComboBox(const qelValue& data);
    ~VLComboBox() override;

    const char* className() const override { return "VLComboBox"; }
    qelNamedObject* newInstance(const qelValue& data) override { return new VLComboBox(data); }
    void setUp() override;
    void drawField() override;
    void drawRow(
        const qelValue& items, int32_t index, int32_t x, int32_t y, int32_t w, int32_t h, int32_t highlighted) override;

    int32_t m_markedTextColor = 0;
    int32_t m_markedSelectionColor = 0;
    int32_t m_markedSelectedTextColor = 0;
};
