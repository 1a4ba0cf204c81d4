#pragma once

// PQListBox: a list box of records. A row shows element 0 of a list item, the "Name" of a table
// item, or the item itself; a shown text that begins with "**" loses the stars and takes the
// secondary colours. Its own colour defaults: "TextColor" 0xFF0000, "SelectionColor" 0xFF0000,
// "SelectionTextColor" 0xFFFFFF, "2aryTextColor" 1, "2arySelectionColor" 1,
// "2arySelectionTextColor" 0xFFFFFF.
// "Scroll Offset" (a, b, c) moves the scroll bar's parts after the set-up: the box's width grows
// by a - 1, the up arrow moves by (a, b), the down arrow by (a, c), the scroll bar's hot spot by
// (a, b) and grows 2 * (c - b) taller. A shorter list is ignored.
//
// PQMultiListBox: the multiple-selection list box showing element 0 of each item, in the list
// box's own colours.

#include "framework/ui/ListBox.h"
#include "framework/ui/MultiListBox.h"

class PQListBox : public ListBox {
public:
    explicit PQListBox(const qelValue& data);
    ~PQListBox() override;

    const char* className() const override { return "PQListBox"; }
    qelNamedObject* newInstance(const qelValue& data) override { return new PQListBox(data); }
    void rebuild() override;
    void drawItem(
        const qelValue& items, int32_t index, int32_t x, int32_t y, int32_t w, int32_t h, int32_t highlighted) override;

    int32_t m_secondaryTextColor = 0;
    int32_t m_secondarySelectionColor = 0;
    int32_t m_secondarySelectionTextColor = 0;
};

class PQMultiListBox : public MultiListBox {
public:
    explicit PQMultiListBox(const qelValue& data);
    ~PQMultiListBox() override;

    const char* className() const override { return "PQMultiListBox"; }
    qelNamedObject* newInstance(const qelValue& data) override { return new PQMultiListBox(data); }
    void drawItem(
        const qelValue& items, int32_t index, int32_t x, int32_t y, int32_t w, int32_t h, int32_t highlighted) override;
};
