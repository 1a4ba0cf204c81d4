#pragma once

// The almanac's pop-up menus: the framework's menu dialog whose items may be cut out of pictures.
// An item [text, index, rectangle] is drawn by copying its rectangle (menu coordinates) out of one
// of three pictures of the whole menu: "Background" as it is, "Highlight" while the pointer is on
// the item, "Disabled" while the item is switched off (which wins over the highlight). Such an
// item is hit by its rectangle; where rectangles overlap, the item later in "Items" wins. Items
// without a rectangle are the framework's text items.
//
// "Highlight" and "Disabled" come from the menu's own properties, else from the opening data.
// PopUpMenu and PopUpMenu1 are the same menu under the names the menu bar runs.

#include "app/shell/ShellClass.h"
#include "framework/ui/MenuDialog.h"

class DisplayMenu : public MenuDialog {
    VELARIM_CLASS(DisplayMenu, MenuDialog)
public:
    void open(const qelValue& data) override;
    void drawItem(int32_t index) override;
    // The item whose rectangle holds the window point, or the base's line for a text item; -1
    // left of or above the menu's corner.
    int32_t itemAtY(int32_t x, int32_t y) override;

    qelValue m_highlightPicture;
    qelValue m_disabledPicture;

private:
    // The rectangle of item i, nil for a text item.
    qelValue itemRect(int32_t index);
    // Copies the rectangle out of the picture to the same place of the menu.
    void drawCut(const qelValue& picture, const qelValue& rect);
};

class PopUpMenu : public DisplayMenu {
    VELARIM_CLASS(PopUpMenu, DisplayMenu)
};

class PopUpMenu1 : public DisplayMenu {
    VELARIM_CLASS(PopUpMenu1, DisplayMenu)
};
