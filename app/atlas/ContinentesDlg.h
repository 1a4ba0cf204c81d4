#pragma once

// The continent chooser: a small list ("Lista") run as the cascading submenu of a pop-up menu.
// Opened from a menu item, it places itself beside that item (to the right, or to the left when
// it would leave the screen), draws optional extra pictures over the screen while it is open and
// puts back what lay under them when it closes.
//
// Answers: {"Text": the chosen item, "Index": its row} for a choice (the shape of a menu item's
// answer, so the choice passes up through the parent menus to the screen that opened them);
// "__STAYOPEN__" when the pointer moves or clicks onto a parent menu away from the item that
// opened this one (the parent stays open); "__CLOSE__" for a click outside everything (the
// parents close too); nil when the dialog ends in any other way.
//
// Open data (a table): "AddedImage" (a table {"Image", "Origin X", "Origin Y"} or a list of
// [image, x, y]), "Background" (an image or its resource name), "ParentsList" (the parent menus,
// outermost first, each a table with "SubItemRect" and "MenuRect"), "UseDefaultPosition",
// "Origin X", "Origin Y", "Offset X", "Offset Y".

#include "app/shell/AddedImages.h"
#include "app/shell/CascadePlace.h"
#include "app/shell/ShellClass.h"
#include "framework/ui/MediaDialogObject.h"

#include <cstdint>

class ContinentesDlg : public qelMediaDialogObject {
    VELARIM_CLASS(ContinentesDlg, qelMediaDialogObject)
public:
    void open(const qelValue& data) override;
    void close() override;
    void handleControl(const qelValue& control) override;
    void mouseDown(int32_t x, int32_t y, int32_t modifiers, int32_t clicks) override;
    // Replaces the media dialog's: there is no rollover inside this dialog.
    void mouseMove(int32_t x, int32_t y, int32_t modifiers) override;
    qelValue result() override;

    // Draws the picture(s) over the screen, keeping what lay under them for close.
    virtual void showAddedImage(const qelValue& value);

    int32_t hitTest(int32_t x, int32_t y) const;

    int32_t isCascade() const { return m_isCascade; }
    int32_t usesDefaultPosition() const { return m_useDefaultPosition; }

private:

    qelValue m_parentsList;
    qelValue m_dialogRect;
    int32_t m_isCascade = 0;
    int32_t m_useDefaultPosition = 0;
    int32_t m_offsetX = 0;
    int32_t m_offsetY = 0;
    AddedImages m_addedImages;
    qelValue m_result;
};
