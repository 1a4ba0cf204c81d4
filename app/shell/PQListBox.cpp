#include "app/shell/PQListBox.h"

#include "app/shell/MarkedText.h"
#include "framework/display/DrawingInterface.h"
#include "framework/display/Geometry.h"
#include "framework/display/Region.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/ValuePrinter.h"

namespace {

// A region moved by (dx, dy) and grown by dh; nil stays nil.
qelValue moved(const qelValue& region, int32_t dx, int32_t dy, int32_t dh)
{
    if (region.isNil())
        return qelNil;
    return qelRectValue(qelLeft(region) + dx, qelTop(region) + dy, qelWidth(region), qelHeight(region) + dh);
}

// A selected row: the fill one pixel wider to the left and two lower than the row, then the text.
void drawSelectedRow(const qelValue& text, int32_t x, int32_t y, int32_t w, int32_t h, int32_t fill, int32_t ink)
{
    qelSetBackColor(fill);
    qelRectangle(x - 1, y, w + 1, h + 2, fill);
    qelSetColor(ink);
    qelDrawTextInRect(text, x, y, 0, 0, 0, 0);
}

} // namespace

PQListBox::PQListBox(const qelValue& data)
    : ListBox(data)
{
}

PQListBox::~PQListBox() = default;

void PQListBox::rebuild()
{
    ListBox::rebuild();
    qelValue offset = getProperty("Scroll Offset");
    if (offset.type() == QEL_LIST_TYPE && qelCount(offset) >= 3) {
        int32_t a = qelIntValue(qelGet(offset, 0));
        int32_t b = qelIntValue(qelGet(offset, 1));
        int32_t c = qelIntValue(qelGet(offset, 2));
        width += a - 1;
        upArrowRegion = moved(upArrowRegion, a, b, 0);
        downArrowRegion = moved(downArrowRegion, a, c, 0);
        scrollBarRegion = moved(scrollBarRegion, a, b, 2 * (c - b));
    }
    textColor = getInt("TextColor", 0xFF0000);
    selectionColor = getInt("SelectionColor", 0xFF0000);
    selectionTextColor = getInt("SelectionTextColor", 0xFFFFFF);
    m_secondaryTextColor = getInt("2aryTextColor", 1);
    m_secondarySelectionColor = getInt("2arySelectionColor", 1);
    m_secondarySelectionTextColor = getInt("2arySelectionTextColor", 0xFFFFFF);
}

void PQListBox::drawItem(
    const qelValue& items, int32_t index, int32_t x, int32_t y, int32_t w, int32_t h, int32_t highlighted)
{
    qelValue item = qelGet(items, index);
    if (item.type() == QEL_LIST_TYPE)
        item = qelGet(item, 0);
    else if (item.type() == QEL_TABLE_TYPE)
        item = qelGet(item, "Name");
    bool marked = false;
    qelValue text = shownMarkedText(item, marked);
    if (highlighted) {
        drawSelectedRow(text, x, y, w, h, marked ? m_secondarySelectionColor : selectionColor,
            marked ? m_secondarySelectionTextColor : selectionTextColor);
        qelSetColor(textColor);
        qelSetBackColor(backColor);
    } else if (marked) {
        qelSetColor(m_secondaryTextColor);
        qelDrawTextInRect(text, x, y, 0, 0, 0, 0);
        qelSetColor(textColor);
    } else {
        qelDrawTextInRect(text, x, y, 0, 0, 0, 0);
    }
}

PQMultiListBox::PQMultiListBox(const qelValue& data)
    : MultiListBox(data)
{
}

PQMultiListBox::~PQMultiListBox() = default;

void PQMultiListBox::drawItem(
    const qelValue& items, int32_t index, int32_t x, int32_t y, int32_t w, int32_t h, int32_t highlighted)
{
    qelValue item = qelGet(items, index);
    // Items are lists; any other item is shown as it is.
    qelValue text = qelValueToString(item.type() == QEL_LIST_TYPE ? qelGet(item, 0) : item);
    if (highlighted)
        drawSelectedRow(text, x, y, w, h, selectionColor, selectionTextColor);
    else
        qelDrawTextInRect(text, x, y, 0, 0, 0, 0);
    qelSetColor(textColor);
    qelSetBackColor(backColor);
}
