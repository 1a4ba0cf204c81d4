#pragma once

// ListBox: the concrete list control. It draws the whole box (background, optional border with
// its shadow, the rows, the highlight bar, the focus outline around the selected row while
// active, the scroll bar and its thumb) and one row (the item's display text at a point).
//   "NotSelectable"  bool  selected rows get no highlight bar (the focus outline still shows)
// A disabled box shows the screen that was under it when it was first drawn enabled.

#include "framework/ui/AbstractListBox.h"

class ListBox : public AbstractListBox {
public:
    explicit ListBox(const qelValue& data);
    ~ListBox() override;

    const char* className() const override { return "ListBox"; }
    qelNamedObject* newInstance(const qelValue& data) override { return new ListBox(data); }
    void draw() override;
    void rebuild() override;
    void drawItem(
        const qelValue& items, int32_t index, int32_t x, int32_t y, int32_t w, int32_t h, int32_t highlighted) override;

    int32_t notSelectable = 0;

private:
    void drawScrollBar(int32_t count, int32_t visible);
};
