#pragma once

// Table: a column of text rows laid out from the hot spot's top left downwards, each as tall as
// its text needs at the row's width (the hot spot's height becomes their total). A click that
// ends on the row it started on makes that row's "Action" the table's action ("getAction").
//
//   "Rows"       list of row tables: "Value" (text), "Width", "Height", "Font", "NoWrap",
//                "Color", "Align", "Action"; "Rect" is written by the layout
//   "Hot Spot"   region  the first row's corner and the default row width
//   "Font", "Color" (1), "Align" ("Center", "Right", else left), "DownColor" (255)
//   "Disabled"   written by the layout: true while the rows have no height
//
// Verbs (none draws): "addRow", "deleteRow", "removeAllRows", "setRow", "setRows", "getRow",
// "setValue", "setWidth", "setHeight", "setFont", "setColor", "setAlign", "getAction".

#include "framework/ui/MediaControlObject.h"

#include <cstdint>

class Table : public qelMediaControlObject {
public:
    explicit Table(const qelValue& data);
    ~Table() override;

    const char* className() const override { return "Table"; }
    qelNamedObject* newInstance(const qelValue& data) override { return new Table(data); }
    qelValue perform(const qelValue& action, const qelValue& data) override;
    void draw() override;
    int32_t track(int32_t x, int32_t y, int32_t modifiers, int32_t clicks) override;

    // The row whose laid-out "Rect" holds the point; -1 for none (rows not laid out yet hold
    // nothing).
    int32_t rowAt(int32_t x, int32_t y);
    void layoutRows(const qelValue& rows, int32_t count);
    void drawRow(const qelValue& row, const qelValue& font, int32_t colour, int32_t alignment, bool pressed);
    // 0 left, 1 centre, 2 right: the strings "Center" and "Right", or the numbers 1 and 2.
    static int32_t alignmentOf(const qelValue& table, int32_t defaultValue);

    int32_t needsLayout = 1;
    int32_t pressedRow = -1;
    // The screen under the hot spot, taken before the rows are first drawn after a layout.
    qelValue savedScreen;
    qelValue action;

private:
    qelValue rowsList();
    // "Rows" made a list when it is not one.
    qelValue ensureRows();
    qelValue controlFont();
    void refresh();
};
