#pragma once

// AbstractListBox: the scrolling list control. A vertical list of items (any values, shown by
// their display text) with one selected item, keyboard navigation with a first-letter search,
// selection by click and drag with automatic scrolling, and a scroll bar painted from images.
// It paints nothing itself: ListBox draws the box and its rows, MultiListBox keeps a selection
// state per item. Not registered: only its subclasses are.
//
// Properties (read by rebuild; images may be pictures, resource names or references):
//   "Hot Spot" region (the box)        "Font", "LineSpacing" (row height: "|" measured + spacing)
//   "BackgroundColor" -1 (text back; also the border fill, default 0xFFFFFF there)
//   "TextColor" 1, "SelectionColor" 0xFFFF00, "SelectionTextColor" 0xFFFFFF,
//   "OutlineColor" 0x808080, "BorderColor" 1, "DrawBorder", "MoveableSelection",
//   "SingleClickNotify", "DoubleClickNotify" (true), "SelectionIndex" (-1), "List",
//   "TextTopMargin", "SelectionGap", "SelectionAction" (keyboard selection counts as a double
//   click), "ThumbImage", "ThumbHighlight", "BackgroundImage", "ScrollBarImage" or "ScrollBit"
//   (a strip composed between the arrows), "UpArrowImage", "DownArrowImage", "UpArrowRegion",
//   "DownArrowRegion", "ScrollbarHotSpot", "UpArrowX"/"UpArrowY"/"DownArrowX"/"DownArrowY",
//   "UpArrowHighlight"/"DownArrowHighlight"; rebuild writes "ScrollBarWidth".
// Without arrow or thumb images those parts are simply absent (no area, no thumb).

#include "framework/ui/MediaControlObject.h"

#include <cstdint>
#include <vector>

class AbstractListBox : public qelMediaControlObject {
public:
    explicit AbstractListBox(const qelValue& data);
    ~AbstractListBox() override;

    const char* className() const override { return "AbstractListBox"; }
    qelNamedObject* newInstance(const qelValue& data) override { return new AbstractListBox(data); }
    // A new non-nil "List" on a box already set up sets it up again.
    void setProperty(const qelValue& key, const qelValue& value) override;
    qelValue perform(const qelValue& action, const qelValue& data) override;
    void draw() override { }
    int32_t canActivate() override;
    void activate() override;
    void deactivate() override;
    int32_t key(int32_t code, int32_t modifiers) override;
    qelValue getCursor() override;
    int32_t track(int32_t x, int32_t y, int32_t modifiers, int32_t clicks) override;

    // The box's own set-up from its data table: its first draw, the "Initialize" verb and a new
    // "List" run it. (The control's initialize, which the form calls while it builds its
    // controls, stays empty: the screen under the box is not there yet.)
    virtual void rebuild();
    virtual void drawItem(
        const qelValue& items, int32_t index, int32_t x, int32_t y, int32_t w, int32_t h, int32_t highlighted)
    {
    }
    virtual void dragThumb(int32_t x, int32_t y, int32_t modifiers, int32_t clicks);
    virtual int32_t selectAtPoint(int32_t x, int32_t y, int32_t modifiers, int32_t clicks);
    virtual void selectAndShow(int32_t index, int32_t state);
    virtual void scrollByArrow(int32_t x, int32_t y, int32_t up);
    virtual void scrollByPage(int32_t y, int32_t up);
    // One selected item: the state is ignored and the index becomes the selection.
    virtual void setSelectionState(int32_t index, int32_t state, int32_t redraw, int32_t refresh);
    virtual void unsetSelection(int32_t index, int32_t redraw, int32_t refresh);
    virtual int32_t getSelection() { return selection; }
    virtual int32_t getSelectionState(int32_t index) { return index == selection; }
    // The selected item, or nil.
    virtual qelValue getSelectionStr();
    virtual void selectValue(const qelValue& value, int32_t state, int32_t redraw, int32_t refresh);
    virtual void setSelection(int32_t index, int32_t state, int32_t redraw, int32_t refresh);
    virtual void setList(const qelValue& value);

    // Items in the list (0 without one) and rows that fit the box (at least 1).
    int32_t itemCount() const;
    int32_t visibleRows() const;
    // The row under a form-local y (may lie outside the list).
    int32_t rowAt(int32_t y);

    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
    int32_t itemHeight = 1;
    int32_t thumbTop = 0;
    int32_t scrollBarWidth = 0;
    int32_t selection = -1;
    int32_t topIndex = 0;
    qelValue list;
    qelValue selectedRect;
    qelValue font;
    qelValue thumbImage;
    qelValue thumbHighlight;
    qelValue upArrowImage;
    qelValue downArrowImage;
    qelValue scrollBarImage;
    qelValue upArrowRegion;
    qelValue downArrowRegion;
    qelValue scrollBarRegion;
    qelValue borderRect;
    qelValue backgroundImage;
    // The screen under the box, grabbed at its first enabled draw (the rollover's grab is the
    // layer's own savedBackground).
    qelValue savedBoxBackground;
    int32_t backColor = -1;
    int32_t borderFillColor = 0xFFFFFF;
    int32_t textColor = 1;
    int32_t selectionColor = 0xFFFF00;
    int32_t outlineColor = 0x808080;
    int32_t borderColor = 1;
    int32_t selectionTextColor = 0xFFFFFF;
    int32_t active = 0;
    int32_t draggingThumb = 0;
    int32_t drawBorder = 0;
    int32_t doubleClicked = 0;
    int32_t initialized = 0;
    int32_t moveableSelection = 0;
    int32_t singleClickNotify = 0;
    int32_t doubleClickNotify = 1;
    int32_t dragRow = 0;
    int32_t dragOffset = 0;

protected:
    // Keeps per-item state in step with the items: one item appended, and the items that were at
    // these indices (ascending) removed.
    virtual void itemAppended() { }
    virtual void itemsRemoved(const std::vector<int32_t>& indices) { }
    // The notification rule after a keyboard selection.
    int32_t keyboardSelectionResult(int32_t hasAction);
    void refreshWindow();

private:
    void deleteItem(const qelValue& data);
};
