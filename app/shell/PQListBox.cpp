#include "app/shell/PQListBox.h"

#include "app/shell/MarkedText.h"
#include "app/shell/ScrollOffset.h"
#include "framework/display/DrawingInterface.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/ValuePrinter.h"

namespace {

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
    int32_t a = 0, b = 0, c = 0;
    if (readScrollOffset(*this, a, b, c)) {
        width += a - 1;
        moveScrollParts(*this, a, b, c, 2 * (c - b));
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
