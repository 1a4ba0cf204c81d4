#pragma once

// ComboBox: the drop-down list control. Closed, it shows the selected item in its field with a
// drop button beside it; a click opens the list of items below the field, over the form, and the
// user moves a highlight in it and commits it (or leaves the selection as it was). While the list
// is open the controls in "ControlsToDisable" are disabled and the control's "Hot Spot" covers
// the list; closing restores both and puts back the screen that was under the list.
//
// A click released on the field keeps the list open ("held open") until the next click; a
// press and release inside the list commits the row under the pointer.
//
// Properties: "EditHotSpot" (field and button, required), "List", "Font", "LineSpacing",
// "MaxItems" (rows of the open list; default the item count), "DropButtonUpImage"/"...UpMask",
// "DropButtonDownImage"/"...DownMask", "DropButtonWidth", "DropButtonSpace" (2), "DropButtonX",
// "DropButtonY", "Background Image" (the open list's), "SelectionImage" (behind the highlighted
// row), "BackgroundColor" 0xFFFFFF, "TextColor" 1, "SelectionColor" 0xFFFF00,
// "TextSelectionColor" 1, "BorderColor" 1, "DrawBorder", "DrawActive" (true), "SaveBackground",
// "SelectAtTop", "ControlsToDisable"; the open list's scroll bar: "ThumbImage"/"ThumbMask"/
// "ThumbHighlight", "ScrollbarImage" or "ScrollBit" with "UpArrowImage"/"DownArrowImage",
// "UpArrowRegion"/"UpArrowH", "DownArrowRegion"/"DownArrowH", "ScrollbarHotSpot", the pressed
// arrows as in the list box. The set-up writes "Hot Spot" and "DropButtonBackground".

#include "framework/ui/MediaControlObject.h"

#include <cstdint>

class ComboBox : public qelMediaControlObject {
public:
    explicit ComboBox(const qelValue& data);
    ~ComboBox() override;

    const char* className() const override { return "ComboBox"; }
    qelNamedObject* newInstance(const qelValue& data) override { return new ComboBox(data); }
    qelValue perform(const qelValue& action, const qelValue& data) override;
    void draw() override;
    int32_t canActivate() override { return 1; }
    void activate() override;
    // Closes an open list without committing.
    void deactivate() override;
    int32_t key(int32_t code, int32_t modifiers) override;
    // The "HandCursor" resource, loaded at first use and kept.
    qelValue getCursor() override;
    int32_t track(int32_t x, int32_t y, int32_t modifiers, int32_t clicks) override;
    // A number property read as a number: an int, a float or a string of digits ("5", 5.0);
    // the default when it is missing or of another type.
    int32_t getInt(const qelValue& key, int32_t defaultValue) override;

    // The closed field with the selected item's text.
    virtual void drawField();
    // Nothing for an index outside the items or equal to the selection.
    virtual void setSelection(int32_t index, int32_t refresh);
    virtual void drawRow(
        const qelValue& items, int32_t index, int32_t x, int32_t y, int32_t w, int32_t h, int32_t highlighted);
    // The set-up from the data table, before the first draw and after a new list. (The control's
    // initialize, which the form calls while it builds its controls, stays empty: the screen
    // under the drop button is not there yet.)
    virtual void setUp();
    virtual void markDown() { isDown = 1; }
    virtual void markUp() { isDown = 0; }

    // Closing: with commit the highlighted row becomes the selection. A release on the field
    // without commit holds the list open the first time and closes it the next.
    void closeUp(int32_t x, int32_t y, int32_t commit, int32_t hasPoint);
    void closeList();
    void openList(int32_t firstOfClick);
    void drawOpenList();
    // Moves the highlight, scrolling the open list to keep it in view.
    void moveHighlight(int32_t row, int32_t refresh);
    int32_t itemCount() const;
    int32_t visibleRows() const;

    int32_t initialized = 0;
    int32_t fieldLeft = 0;
    int32_t fieldTop = 0;
    int32_t fieldWidth = 0;
    int32_t fieldHeight = 0;
    int32_t listLeft = 0;
    int32_t listTop = 0;
    int32_t listWidth = 0;
    int32_t listHeight = 0;
    int32_t rowHeight = 1;
    int32_t selection = -1;
    int32_t highlight = -1;
    int32_t buttonWidth = 0;
    qelValue list;
    qelValue font;
    qelValue buttonUpImage;
    qelValue buttonDownImage;
    qelValue backgroundImage;
    qelValue selectionImage;
    int32_t backgroundColor = 0xFFFFFF;
    int32_t textColor = 1;
    int32_t selectionColor = 0xFFFF00;
    int32_t textSelectionColor = 1;
    int32_t borderColor = 1;
    int32_t drawBorder = 0;
    int32_t drawActive = 1;
    int32_t active = 0;
    qelValue fieldRegion;
    qelValue listRegion;
    qelValue openRegion;
    qelValue savedUnderList;
    // The screen under the field ("SaveBackground"); the rollover's grab is the layer's own.
    qelValue savedFieldBackground;
    int32_t buttonSpace = 2;
    int32_t heldOpen = 0;
    int32_t drawFlag = 1;
    int32_t isDown = 0;
    int32_t pressedOnField = 0;
    int32_t opened = 0;
    int32_t listTopIndex = 0;
    int32_t listHasScrollBar = 0;
    int32_t scrollBarWidth = 0;
    qelValue scrollBarImage;
    qelValue thumbImage;
    qelValue thumbMask;
    qelValue thumbHighlight;
    qelValue upArrowRegion;
    qelValue downArrowRegion;
    qelValue scrollBarRegion;
    int32_t thumbTop = 0;
    int32_t draggingThumb = 0;

protected:

private:
    void setDisabledControls(int32_t disabled);
    void drawDropButton(int32_t down);
    void drawScrollBar();
    // The open list's scroll bar under the press: scrolls and answers true.
    bool trackScrollBar(int32_t x, int32_t y);
    int32_t buttonX();
    int32_t buttonY();

    qelValue handCursor;
};
