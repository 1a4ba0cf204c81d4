#include "app/shell/MultiTypeListBox.h"

#include "app/shell/ScrollOffset.h"
#include "framework/display/DrawingInterface.h"
#include "framework/display/Geometry.h"
#include "framework/display/Region.h"
#include "framework/display/WindowServices.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/ValuePrinter.h"

#include <algorithm>
#include <string>

namespace {

// A cell's number: numbers and texts by their value, anything else 0.
int32_t cellInt(const qelValue& cell)
{
    switch (cell.type()) {
    case QEL_BOOLEAN_TYPE:
    case QEL_INT_TYPE:
    case QEL_FLOAT_TYPE:
    case QEL_STRING_TYPE:
        return qelIntValue(cell);
    default:
        return 0;
    }
}

// Empty: nothing there, or a text or list of no elements.
bool cellEmpty(const qelValue& cell)
{
    if (cell.isNil())
        return true;
    if (cell.isString() || cell.type() == QEL_LIST_TYPE)
        return qelCount(cell) == 0;
    return false;
}

qelValue cellAt(const qelValue& row, int32_t column)
{
    if (row.type() != QEL_LIST_TYPE || column >= qelCount(row))
        return qelNil;
    return qelGet(row, column);
}

} // namespace

MultiTypeListBox::MultiTypeListBox(const qelValue& data)
    : ListBox(data)
{
}

MultiTypeListBox::~MultiTypeListBox() = default;

int32_t MultiTypeListBox::columnCount() const
{
    return m_cellInfo.type() == QEL_LIST_TYPE ? qelCount(m_cellInfo) : 0;
}

int32_t MultiTypeListBox::columnField(int32_t column, int32_t field) const
{
    if (column < 0 || column >= columnCount())
        return 0;
    qelValue entry = qelGet(m_cellInfo, column);
    if (entry.type() != QEL_LIST_TYPE || field >= qelCount(entry))
        return 0;
    return cellInt(qelGet(entry, field));
}

void MultiTypeListBox::rebuild()
{
    ListBox::rebuild();
    int32_t dx = 0, dyUp = 0, dyDown = 0;
    if (readScrollOffset(*this, dx, dyUp, dyDown))
        moveScrollParts(*this, dx, dyUp, dyDown, dyDown - dyUp);
    m_invade = getBool("Invade", 0);
    m_cellInfo = getProperty("CellInfo");
    m_checkSelectedImage = imageProperty("CheckSelImage");
    m_checkImage = imageProperty("CheckImage");
    // Rows are divided by the height: at least one pixel.
    itemHeight = std::max(1, getInt("CellHeight", itemHeight));
}

int32_t MultiTypeListBox::track(int32_t x, int32_t y, int32_t modifiers, int32_t clicks)
{
    int32_t answer = ListBox::track(x, y, modifiers, clicks);
    int32_t count = columnCount();
    int64_t position = left;
    for (int32_t c = 0; c < count; ++c) {
        int32_t w = columnField(c, 0);
        if (position + w > x) {
            m_clickedCell = c;
            m_clickedCellLeft = int32_t(position);
            m_clickedCellWidth = w;
            return answer;
        }
        position += w;
    }
    m_clickedCell = count;
    m_clickedCellLeft = int32_t(position);
    m_clickedCellWidth = count > 0 ? columnField(count - 1, 0) : 0;
    return answer;
}

void MultiTypeListBox::drawItem(
    const qelValue& items, int32_t index, int32_t x, int32_t y, int32_t w, int32_t h, int32_t highlighted)
{
    qelClipRect(x - 1, y - 1, w + 1, h + 1);
    if (highlighted) {
        selectedRect = qelRectValue(x - 1, y - 1, w, h + 2);
        qelSetBackColor(selectionColor);
        qelRectangle(x - 1, y - 1, w + 1, h + 3, selectionColor);
        qelSetColor(selectionTextColor);
    }
    qelValue row = qelGet(items, index);
    int32_t count = columnCount();
    int64_t position = x;
    for (int32_t c = 0; c < count; ++c) {
        int64_t cellWidth = columnField(c, 0);
        if (m_invade) {
            for (int32_t later = c + 1; later < count; ++later) {
                if (cellEmpty(cellAt(row, later)))
                    cellWidth += columnField(later, 0);
            }
            cellWidth = std::min<int64_t>(cellWidth, w);
        }
        int32_t cw = int32_t(cellWidth);
        int32_t left = int32_t(position);
        qelClipRect(left, y, cw - 1, h - 1);
        qelValue cell = cellAt(row, c);
        int32_t type = columnField(c, 1);
        if (type == 0 || type == 1) {
            qelValue text = type == 0 ? qelValueToString(cell) : qelStringValue(std::to_string(cellInt(cell)).c_str());
            qelValue font = getProperty(columnField(c, 2) == 0 ? "Font" : "2aryFont");
            qelValue previousFont = qelSetFont(font);
            qelDrawTextInRect(text, left, y + 3, cw - 4, h - 1, 0, 0);
            qelSetFont(previousFont);
        } else {
            qelValue check = cellInt(cell) != 0 ? m_checkSelectedImage : m_checkImage;
            if (!check.isNil())
                qelShowImageAt(check, left + 2, y + 2, 0, 0, 0, 0);
        }
        position += cw;
        qelResetClip();
    }
    qelSetColor(textColor);
    qelSetBackColor(backColor);
}

qelValue MultiTypeListBox::perform(const qelValue& action, const qelValue& data)
{
    if (action == "getSelectedCell")
        return qelMakeInt(m_clickedCell);
    // The rows' top and height come from the selected row's rectangle (none until one is drawn).
    int32_t rowTop = selectedRect.isNil() ? 0 : qelTop(selectedRect);
    int32_t rowHeight = selectedRect.isNil() ? 0 : qelHeight(selectedRect);
    if (action == "getSelectedCellRect")
        return qelRectValue(m_clickedCellLeft + 1, rowTop, m_clickedCellWidth, rowHeight);
    if (action == "getCellRect") {
        int32_t n = data.type() == QEL_INT_TYPE ? qelIntValue(data) : 0;
        // Only the columns there are: 1 .. count.
        if (n < 1 || n > columnCount())
            return qelNil;
        int64_t columnLeft = left;
        for (int32_t c = 0; c < n - 1; ++c)
            columnLeft += columnField(c, 0);
        return qelRectValue(int32_t(columnLeft) + 1, rowTop, columnField(n - 1, 0) - 1, rowHeight);
    }
    return ListBox::perform(action, data);
}
