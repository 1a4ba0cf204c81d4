// The combo box's keyboard and mouse: keys move the highlight of the open list or the selection
// of the closed box; a click opens the list, a drag moves the highlight (scrolling when the
// pointer is held above or below the list), and the release commits, holds the list open or
// closes it.

#include "framework/display/Geometry.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Event.h"
#include "framework/runtime/StringObject.h"
#include "framework/ui/ComboBox.h"
#include "framework/ui/ListScrolling.h"
#include "framework/ui/UiRefresh.h"

#include <algorithm>

void ComboBox::moveHighlight(int32_t row, int32_t refresh)
{
    if (row == highlight && highlight != -1)
        return;
    if (row >= 0)
        listTopIndex = qelScrollIntoView(row, listTopIndex, visibleRows());
    highlight = row;
    // A closed box only notes the row: drawing the list would flash it open.
    if (!isDown)
        return;
    drawOpenList();
    if (refresh)
        qelUiUpdateWindow();
}

int32_t ComboBox::key(int32_t code, int32_t)
{
    if (list.isNil())
        return 0;
    int32_t visible = visibleRows();
    int32_t count = itemCount();
    int32_t last = count - 1;
    code = qelLowerKey(code);
    bool open = isDown;
    if (code >= 'a' && code <= 'z') {
        for (int32_t i = 0; i < count; ++i) {
            qelValue item = qelGet(list, i);
            if (item.isString() && qelCount(item) > 0 && qelLowerKey(uint8_t(qelCharAt(item, 0))) == code) {
                moveHighlight(i, 0);
                closeUp(0, 0, 1, 0);
                return 1;
            }
        }
        return 0;
    }
    switch (code) {
    case QEL_KEY_ENTER:
        if (!open)
            return 0;
        closeUp(0, 0, 1, 0);
        return 1;
    case QEL_KEY_HOME:
        if (open) {
            moveHighlight(0, 0);
            return 0;
        }
        setSelection(0, 0);
        return 1;
    case QEL_KEY_END:
        if (open) {
            moveHighlight(last, 0);
            return 0;
        }
        setSelection(last, 0);
        return 1;
    case QEL_KEY_PAGE_UP:
        if (open) {
            moveHighlight(std::max<int64_t>(0, int64_t(highlight) - visible), 0);
            return 0;
        }
        setSelection(std::max<int64_t>(0, int64_t(selection) - visible), 0);
        return 1;
    case QEL_KEY_PAGE_DOWN:
        if (open) {
            moveHighlight(int32_t(std::min<int64_t>(last, int64_t(highlight) + visible)), 0);
            return 0;
        }
        setSelection(int32_t(std::min<int64_t>(last, int64_t(selection) + visible)), 0);
        return 1;
    case QEL_KEY_UP:
        if (open) {
            if (highlight > 0)
                moveHighlight(highlight - 1, 0);
            return 0;
        }
        if (selection <= 0)
            return 0;
        setSelection(selection - 1, 0);
        return 1;
    case QEL_KEY_DOWN:
        if (open) {
            if (highlight < last)
                moveHighlight(highlight + 1, 0);
            return 0;
        }
        if (selection >= last)
            return 0;
        setSelection(selection + 1, 0);
        return 1;
    default:
        return 0;
    }
}

bool ComboBox::trackScrollBar(int32_t x, int32_t y)
{
    int32_t count = itemCount();
    int32_t visible = visibleRows();
    int32_t range = count - visible;
    auto arrow = [&](bool up) {
        qelRepeatScrollArrow(*this, up, up ? upArrowRegion : downArrowRegion, [&] {
            if (up ? listTopIndex <= 0 : listTopIndex > range - 1)
                return false;
            listTopIndex += up ? -1 : 1;
            drawOpenList();
            return true;
        });
    };
    if (qelRegionHolds(upArrowRegion, x, y)) {
        arrow(true);
        return true;
    }
    if (qelRegionHolds(downArrowRegion, x, y)) {
        arrow(false);
        return true;
    }
    if (!qelRegionHolds(scrollBarRegion, x, y))
        return false;
    int32_t thumbHeight = qelHeightOf(thumbImage);
    if (y < thumbTop || int64_t(y) > int64_t(thumbTop) + thumbHeight) {
        bool up = y < thumbTop;
        qelRepeatPage(
            [&] {
                listTopIndex = qelClampInt(int64_t(listTopIndex) + (up ? -visible : visible), 0, std::max(0, range));
                drawOpenList();
                qelUiUpdateWindow();
            },
            [&] { return up ? thumbTop < y : int64_t(thumbTop) + thumbHeight > y; });
        return true;
    }
    draggingThumb = 1;
    qelDragThumb(y, listTop, listHeight, qelHeightOf(upArrowRegion), thumbHeight, count, visible, listTopIndex, [this] {
        drawOpenList();
        qelUiUpdateWindow();
    });
    draggingThumb = 0;
    drawOpenList();
    return true;
}

int32_t ComboBox::track(int32_t x, int32_t y, int32_t, int32_t)
{
    if (list.isNil() || !isEnabled())
        return 0;
    if (!initialized)
        setUp();
    if (isDown && listHasScrollBar && trackScrollBar(x, y))
        return 0;
    int32_t count = itemCount();
    if (count == 0)
        return 0;
    int32_t before = selection;
    int32_t listBottom = listTop + listHeight;
    auto rowAt = [&](int32_t py) { return qelDivide(int64_t(py) - listTop, rowHeight) + listTopIndex; };
    if (!heldOpen)
        openList(1);
    bool onField = qelRegionHolds(fieldRegion, x, y);
    if (onField) {
        pressedOnField = 1;
    } else {
        int32_t row = rowAt(y);
        moveHighlight(row >= 0 && row < count ? row : 0, 0);
    }
    // After a press on the field the pointer must reach the list before it moves the highlight.
    bool armed = !onField;
    int32_t pointerY = y;
    qelEvent event;
    qelTrackStep what;
    while ((what = qelNextTrackEvent(event, QEL_DRAG_EVENT | QEL_MOUSE_UP_EVENT, 20)) != qelTrackStep::Release) {
        if (what == qelTrackStep::Drag) {
            pointerY = event.y;
            bool inList = pointerY >= listTop && pointerY < listBottom;
            if (inList || pointerY >= listBottom)
                armed = true;
            int32_t row = rowAt(pointerY);
            if (armed && inList && row >= 0 && row < count)
                moveHighlight(row, 0);
            continue;
        }
        if (!armed)
            continue;
        if (pointerY < listTop && highlight > 0)
            moveHighlight(highlight - 1, 0);
        else if (pointerY >= listBottom && highlight < count - 1)
            moveHighlight(highlight + 1, 0);
    }
    // The release event holds the release point (a release for want of input: the last one).
    bool releasedInList = event.type == QEL_MOUSE_UP_EVENT ? qelRegionHolds(listRegion, event.x, event.y) : false;
    closeUp(x, y, releasedInList, 1);
    return selection != before;
}
