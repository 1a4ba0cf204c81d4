#pragma once

// MultiTypeListBox: a list of rows of cells. "CellInfo" describes the columns, one entry
// [width, type, font kind] each: type 0 shows the cell's text, 1 its integer in decimal, any
// other a check picture ("CheckSelImage" when the cell's integer is not 0, else "CheckImage");
// font kind 0 uses "Font", any other "2aryFont". With "Invade" a cell also takes the widths of
// the later columns whose cells in its row are empty, up to the row's width. "CellHeight" sets
// the row height; "Scroll Offset" (dx, dy1, dy2) moves the scroll bar's parts.
// A click records the cell under the pointer; the verbs "getSelectedCell" (its index),
// "getSelectedCellRect" and "getCellRect" (column n counted from 1; nil outside the columns)
// answer it and the columns' places.

#include "framework/ui/ListBox.h"

class MultiTypeListBox : public ListBox {
public:
    explicit MultiTypeListBox(const qelValue& data);
    ~MultiTypeListBox() override;

    const char* className() const override { return "MultiTypeListBox"; }
    qelNamedObject* newInstance(const qelValue& data) override { return new MultiTypeListBox(data); }
    qelValue perform(const qelValue& action, const qelValue& data) override;
    int32_t track(int32_t x, int32_t y, int32_t modifiers, int32_t clicks) override;
    void rebuild() override;
    void drawItem(
        const qelValue& items, int32_t index, int32_t x, int32_t y, int32_t w, int32_t h, int32_t highlighted) override;

    // Column i's width, type and font kind (0 for a field the entry lacks); the number of columns.
    int32_t columnField(int32_t column, int32_t field) const;
    int32_t columnCount() const;

    qelValue m_checkSelectedImage;
    qelValue m_checkImage;
    qelValue m_cellInfo;
    int32_t m_invade = 0;
    int32_t m_clickedCell = 0;
    int32_t m_clickedCellLeft = 0;
    int32_t m_clickedCellWidth = 0;
};
