#pragma once

// MenuDialog: a pop-up menu run as a modal dialog. A vertical list of text items over a
// background, a highlighted item that follows the pointer, separators ("---"), disabled items,
// items that open a cascaded sub-menu after a short hover (or at once on a press), and pictures
// drawn on the screen while the menu is open (typically a pressed button).
//
// Items: "Items" is a list of lists [text, index, indent]: the text ("---" a separator), the
// integer the menu reports (default its position) and an extra left indent in pixels.
//
// Results: a table {"Text", "Index"} for a chosen item; nil for Escape or a press outside a top
// menu; from a sub-menu, "__CLOSE__" (a press outside every menu: every menu ends, the top one
// with nil) or "__STAYOPEN__" (the pointer went back into a parent, which runs on).
//
// Keys of the opening data and the properties:
//   "Background"                 image drawn under the items; also the menu's size
//   "ForegroundColor" (1), "DisabledColor" (0x808080), "BackgroundColor" (-1),
//   "SelectedForegroundColor" (0xFFFFFF), "SelectedBackgroundColor" (1)
//   "TextX", "TextY", "Spacing"  margins and extra line height
//   "CascadeTable"               item text -> sub-menu data table (with its "DlgName")
//   "AddedImage"                 a table {"Image", "Origin X", "Origin Y"} or a list of
//                                [image, x, y] lists
//   "UseDefaultPosition"         a sub-menu opens beside its parent's item, flipping to the left
//                                or upwards where it would pass the media area's edge
//   "ParentsList"                the chain of parent menus (set by the parent)
//   "Origin X", "Origin Y", "Offset X", "Offset Y", "Width", "Height", "Font", "Sound", "Name"
// The menu writes "MenuRect", "SubItemRect" and "BottomClipped" into its properties.

#include "framework/ui/MediaDialogObject.h"

class MenuDialog : public qelMediaDialogObject {
public:
    explicit MenuDialog(const qelValue& data = qelNil);
    ~MenuDialog() override;

    const char* className() const override { return "MenuDialog"; }
    qelNamedObject* newInstance(const qelValue& data) override;

    void draw() override;
    void open(const qelValue& data) override;
    void close() override;
    void mouseDown(int32_t x, int32_t y, int32_t modifiers, int32_t clicks) override;
    void mouseMove(int32_t x, int32_t y, int32_t modifiers) override;
    void mouseDrag(int32_t x, int32_t y, int32_t modifiers) override;
    void mouseUp(int32_t x, int32_t y, int32_t modifiers) override;
    void tick() override;
    qelValue result() override { return menuResult; }

    virtual void drawItem(int32_t index);
    virtual void addImage(const qelValue& value);
    // The item at the window point's height, or -1.
    virtual int32_t itemAtY(int32_t x, int32_t y);

    int32_t offsetX = 0;
    int32_t offsetY = 0;
    qelValue menuResult;
    int32_t menuWidth = 0;
    int32_t menuHeight = 0;
    qelValue menuRect;
    qelValue highlightRect;
    int32_t addedImageX = 0;
    int32_t addedImageY = 0;
    qelValue addedImageBacking;
    qelValue background;
    qelValue highlightBacking;
    // Where the backing goes back (menu coordinates): a text item's row starts at the left edge,
    // a picture menu's item at its own rectangle.
    int32_t highlightLeft = 0;
    int32_t highlightTop = 0;
    int32_t pointerX = 0;
    int32_t pointerY = 0;
    int32_t textX = 0;
    int32_t textY = 0;
    int32_t itemX = 0;
    int32_t itemTop = 0;
    int32_t itemWidth = 0;
    int32_t itemHeight = 0;
    int32_t selectedIndex = -1;
    qelValue items;
    int32_t itemCount = 0;
    qelValue disabledItems;
    int32_t foregroundColor = 1;
    int32_t disabledColor = 0x808080;
    int32_t backgroundColor = -1;
    int32_t selectedForegroundColor = 0xFFFFFF;
    int32_t selectedBackgroundColor = 1;
    int32_t hasBackground = 0;
    qelValue cascadeTable;
    int32_t isSubMenu = 0;
    int32_t useDefaultPosition = 0;
    int32_t addedImageShown = 0;
    qelValue pendingCascade;
    qelValue font;
    qelValue previousFont;
    int32_t previousColor = 0;
    int32_t previousBackColor = 0;
    qelValue parents;
    int32_t closing = 0;
    int32_t closingCountdown = 2;

    // The hover ticks counted towards opening a cascade, shared by every menu.
    static int32_t cascadeTicks;

private:
    // The three steps of opening, in order.
    void readStyle(const qelValue& data);
    void place(const qelValue& data);
    void measure();
    void measureItems();
    qelValue itemAt(int32_t index);
    qelValue itemText(int32_t index);
    bool isSeparator(int32_t index);
    bool isDisabled(const qelValue& text);
    bool hasCascade(const qelValue& text);
    void removeHighlight();
    // 2 on a parent's item that opened this menu, 1 elsewhere in a parent, 0 outside them.
    int32_t parentTest(int32_t x, int32_t y);
    void openCascade();
    // The menu's own "Width" when it measured one (removed again at closing).
    int32_t computedWidth = 0;
};
