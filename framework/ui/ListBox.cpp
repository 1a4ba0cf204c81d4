#include "framework/ui/ListBox.h"

#include "framework/display/DrawingInterface.h"
#include "framework/display/Geometry.h"
#include "framework/display/Region.h"
#include "framework/display/WindowServices.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/ValuePrinter.h"
#include "framework/ui/ListScrolling.h"

ListBox::ListBox(const qelValue& data)
    : AbstractListBox(data)
{
}

ListBox::~ListBox() = default;

void ListBox::rebuild()
{
    AbstractListBox::rebuild();
    notSelectable = getBool("NotSelectable", 0);
}

void ListBox::draw()
{
    if (!initialized)
        rebuild();
    if (!isEnabled()) {
        if (!savedBoxBackground.isNil())
            qelShowImageAt(savedBoxBackground, left, top, 0, 0, 0, 0);
        return;
    }
    if (savedBoxBackground.isNil())
        savedBoxBackground = qelGrabWindowImage(left, top, width, height);
    if (backgroundImage.isNil())
        backgroundImage = savedBoxBackground;
    qelShowImageAt(backgroundImage, left, top, 0, 0, 0, 0);
    if (list.isNil())
        return;

    int32_t count = itemCount();
    int32_t visible = visibleRows();
    int32_t x0 = left;
    int32_t y = top + getInt("TextTopMargin", 0);
    int32_t gap = getInt("SelectionGap", 0);
    int32_t barWidth = count > visible ? scrollBarWidth : 0;
    int32_t columnWidth = width - gap - barWidth;
    int32_t previousBack = qelSetBackColor(backColor);
    qelValue previousFont = qelSetFont(font);
    int32_t previousColor = qelSetColor(textColor);

    if (drawBorder && !borderRect.isNil()) {
        qelRectangle(left - 1, top - 1, width + 1, height + 1, borderFillColor);
        qelFrameRegion(borderRect, borderColor);
        // The shadow, one pixel right of and below the border, in the text colour.
        qelRegionObject* box = qelRegionOf(borderRect);
        qelDrawLine(box->right + 1, box->top, box->right + 1, box->bottom + 1);
        qelDrawLine(box->left, box->bottom + 1, box->right + 1, box->bottom + 1);
    }

    qelClipRect(x0, y, columnWidth + 1, height + 1);
    for (int32_t i = topIndex; int64_t(y) < int64_t(top) + height - itemHeight && i < count; ++i) {
        drawItem(list, i, x0 + 2, y, columnWidth - 2, itemHeight - 2, getSelectionState(i) && !notSelectable);
        if (active && i == selection) {
            int32_t right = x0 + columnWidth - 1;
            int32_t bottom = y + itemHeight - 1;
            int32_t outline[] = { x0, y, right, y, right, bottom, x0, bottom, x0, y };
            qelSetColor(outlineColor);
            qelDrawPolyline(5, outline);
            qelSetColor(textColor);
        }
        y += itemHeight;
    }
    qelResetClip();

    if (count - visible > 0)
        drawScrollBar(count, visible);
    qelSetColor(previousColor);
    qelSetFont(previousFont);
    qelSetBackColor(previousBack);
}

void ListBox::drawScrollBar(int32_t count, int32_t visible)
{
    if (!scrollBarRegion.isNil() && !scrollBarImage.isNil())
        qelShowImageAt(scrollBarImage, qelLeft(scrollBarRegion), qelTop(scrollBarRegion), 0, 0, 0, 0);
    int32_t thumbHeight = qelHeightOf(thumbImage);
    thumbTop = qelThumbTop(
        top, height, qelHeightOf(upArrowRegion), qelHeightOf(downArrowRegion), thumbHeight, topIndex, count - visible);
    qelValue thumb = draggingThumb && !thumbHighlight.isNil() ? thumbHighlight : thumbImage;
    if (!thumb.isNil())
        qelShowImageAt(thumb, left + width - scrollBarWidth, thumbTop, 0, 0, 0, 0);
}

void ListBox::drawItem(
    const qelValue& items, int32_t index, int32_t x, int32_t y, int32_t w, int32_t h, int32_t highlighted)
{
    if (highlighted) {
        selectedRect = qelRectValue(x - 1, y - 1, w + 1, h + 2);
        qelSetBackColor(selectionColor);
        qelRectangle(x - 1, y - 1, w + 1, h + 2, selectionColor);
        qelSetColor(selectionTextColor);
    }
    qelDrawTextInRect(qelValueToString(qelGet(items, index)), x, y, 0, 0, 0, 0);
    qelSetColor(textColor);
    qelSetBackColor(backColor);
}
