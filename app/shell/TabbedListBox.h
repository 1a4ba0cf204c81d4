#pragma once

// TabbedListBox: a list box whose item texts are split at tab characters into columns placed at
// the x positions of "TabList". A column text that begins with "->" is indented by "Ident"
// pixels (default 30); the later columns (from the second, or from an indented one) use
// "2aryFont" when there is one. With "Invade" the last column of a row runs to the row's width.
// A selected row shows "SelectionImage" when there is one, else the selection colour.
// An item is a string, or a list whose first element is the string.

#include "framework/ui/ListBox.h"

class TabbedListBox : public ListBox {
public:
    explicit TabbedListBox(const qelValue& data);
    ~TabbedListBox() override;

    const char* className() const override { return "TabbedListBox"; }
    qelNamedObject* newInstance(const qelValue& data) override { return new TabbedListBox(data); }
    void rebuild() override;
    void drawItem(
        const qelValue& items, int32_t index, int32_t x, int32_t y, int32_t w, int32_t h, int32_t highlighted) override;

    qelValue m_selectionImage;
    qelValue m_secondaryFont;
    int32_t m_indent = 0;
    int32_t m_invade = 0;
};
