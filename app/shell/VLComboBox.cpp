#include "app/shell/VLComboBox.h"

#include "app/shell/MarkedText.h"
#include "framework/display/DrawingInterface.h"
#include "framework/display/WindowServices.h"
#include "framework/runtime/Builtins.h"

#include <algorithm>

VLComboBox::VLComboBox(const qelValue& data)
    : ComboBox(data)
{
}

VLComboBox::~VLComboBox() = default;

void VLComboBox::setUp()
{
    ComboBox::setUp();
    textColor = getInt("TextColor", 0xFF0000);
    selectionColor = getInt("SelectionColor", 0xFF0000);
    textSelectionColor = getInt("TextSelectionColor", 0xFFFFFF);
    m_markedTextColor = getInt("2aryTextColor", 1);
    m_markedSelectionColor = getInt("2arySelectionColor", 1);
    m_markedSelectedTextColor = getInt("2arySelectionTextColor", 0xFFFFFF);
}

void VLComboBox::drawRow(
    const qelValue& items, int32_t index, int32_t x, int32_t y, int32_t w, int32_t h, int32_t highlighted)
{
    bool marked = false;
    qelValue text = shownMarkedText(qelGet(items, index), marked);
    bool backChanged = false;
    int32_t previousBack = -1;
    if (highlighted) {
        if (!selectionImage.isNil()) {
            qelShowImageAt(selectionImage, x, y, w, h, 0, 0);
            previousBack = qelSetBackColor(-1);
        } else {
            int32_t fill = marked ? m_markedSelectionColor : selectionColor;
            qelRectangle(x, y, w, h, fill);
            previousBack = qelSetBackColor(fill);
        }
        backChanged = true;
        qelSetColor(marked ? m_markedSelectedTextColor : textSelectionColor);
    } else {
        if (hasProperty("Background Image")) {
            previousBack = qelSetBackColor(-1);
            backChanged = true;
        }
        qelSetColor(marked ? m_markedTextColor : textColor);
    }
    // The row's own clip, kept inside the open list: a last row only partly in the list would
    // otherwise write below it, where closing the list does not restore the screen.
    qelResetClip();
    qelClipRect(x + 2, y, w, std::max(0, std::min(h, listTop + listHeight - y)));
    qelDrawTextInRect(text, x + 2, y, 0, 0, 0, 1);
    // The row's clip would cut the next row's highlight away: back to the open list's column.
    qelResetClip();
    qelClipRect(listLeft, listTop, listWidth - (listHasScrollBar ? scrollBarWidth : 0), listHeight);
    qelSetBackColor(backChanged ? previousBack : -1);
}

void VLComboBox::drawField()
{
    int32_t previousColor = qelSetColor(textColor);
    if (active && drawActive) {
        qelRectangle(fieldLeft, fieldTop, fieldWidth, fieldHeight, selectionColor);
        qelSetColor(textSelectionColor);
    } else if (savedFieldBackground.isNil()) {
        qelRectangle(fieldLeft, fieldTop, fieldWidth, fieldHeight, backgroundColor);
    } else {
        // Back where the combo box took it.
        qelShowImageAt(savedFieldBackground, fieldLeft, fieldTop, 0, 0, 0, 0);
    }
    qelValue previousFont = qelSetFont(font);
    int32_t previousBack = qelSetBackColor(-1);
    qelClipRect(fieldLeft, fieldTop, fieldWidth, fieldHeight);
    if (selection >= 0 && selection < itemCount()) {
        // A marked item shows no other difference in the closed box.
        bool marked = false;
        qelValue text = shownMarkedText(qelGet(list, selection), marked);
        qelDrawTextInRect(text, fieldLeft + 2, fieldTop + 1, fieldWidth - 2, fieldHeight - 1, 0, 0);
    }
    qelResetClip();
    qelSetBackColor(previousBack);
    qelSetColor(previousColor);
    qelSetFont(previousFont);
}
