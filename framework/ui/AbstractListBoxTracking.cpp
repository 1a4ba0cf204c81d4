// The list box's mouse: a click selects and a drag selects along (scrolling when the pointer is
// held above or below the box), and the scroll bar's arrows, strip and thumb scroll the view.
// Each runs its own loop over the queue's drag and button-up events until the release.

#include "framework/display/DrawingInterface.h"
#include "framework/display/Geometry.h"
#include "framework/runtime/Event.h"
#include "framework/ui/AbstractListBox.h"
#include "framework/ui/ListScrolling.h"

#include <algorithm>

namespace {

// The wait of the drag loop, and its floor: a wait of 0 would not even look at the window's
// messages, so the release could never arrive.
constexpr int32_t drag_wait = 10;
constexpr int32_t drag_wait_floor = 1;

} // namespace

int32_t AbstractListBox::track(int32_t x, int32_t y, int32_t modifiers, int32_t clicks)
{
    doubleClicked = 0;
    int32_t count = itemCount();
    if (count == 0 || !isEnabled())
        return 0;
    if (count > visibleRows()) {
        if (qelRegionHolds(upArrowRegion, x, y)) {
            scrollByArrow(x, y, 1);
            return 0;
        }
        if (qelRegionHolds(downArrowRegion, x, y)) {
            scrollByArrow(x, y, 0);
            return 0;
        }
        if (qelRegionHolds(scrollBarRegion, x, y)) {
            if (y < thumbTop)
                scrollByPage(y, 1);
            else if (int64_t(y) > int64_t(thumbTop) + qelHeightOf(thumbImage))
                scrollByPage(y, 0);
            else
                dragThumb(x, y, modifiers, clicks);
            return 0;
        }
    }
    if (!selectAtPoint(x, y, modifiers, clicks)) {
        doubleClicked = 0;
        return 0;
    }
    doubleClicked = clicks > 1;
    return doubleClicked ? doubleClickNotify : singleClickNotify;
}

int32_t AbstractListBox::selectAtPoint(int32_t, int32_t y, int32_t, int32_t)
{
    int32_t count = itemCount();
    int32_t row = rowAt(y);
    // Above the first row (a top margin) there is no item either.
    if (row < 0 || row >= count)
        return 0;
    setSelection(row, 1, 1, 1);
    dragRow = row;
    dragOffset = y - top;
    int32_t wait = drag_wait;
    while (true) {
        qelEvent event;
        qelTrackStep what = qelNextTrackEvent(event, QEL_DRAG_EVENT | QEL_MOUSE_UP_EVENT, wait);
        if (what == qelTrackStep::Release)
            return 1;
        count = itemCount();
        if (what == qelTrackStep::Drag) {
            int32_t r = rowAt(event.y);
            if (r != dragRow && r >= 0 && r < count) {
                selectAndShow(r, 1);
                dragRow = r;
            }
            dragOffset = event.y - top;
            wait = drag_wait;
            continue;
        }
        if (dragOffset < 0) {
            int64_t r = int64_t(qelDivide(dragOffset, itemHeight)) - 1 + selection;
            if (r == dragRow || r < 0) {
                if (dragRow > 0) {
                    dragRow -= 1;
                    selectAndShow(dragRow, 1);
                }
                wait = std::max(drag_wait_floor, wait - 1);
            } else {
                selectAndShow(int32_t(r), 1);
                dragRow = int32_t(r);
                wait = drag_wait;
            }
        } else if (dragOffset >= height) {
            int64_t r = int64_t(qelDivide(int64_t(dragOffset) - height, itemHeight)) + 1 + selection;
            if (r != dragRow && r < count) {
                selectAndShow(int32_t(r), 1);
                dragRow = int32_t(r);
                wait = drag_wait;
            } else {
                if (dragRow < count - 1) {
                    dragRow += 1;
                    selectAndShow(dragRow, 1);
                }
                wait = std::max(drag_wait_floor, wait - 1);
            }
        }
    }
}

void AbstractListBox::scrollByArrow(int32_t, int32_t, int32_t up)
{
    int32_t previousBack = qelSetBackColor(backColor);
    int32_t previousColor = qelSetColor(textColor);
    qelRepeatScrollArrow(*this, up, up ? upArrowRegion : downArrowRegion, [this, up] {
        int32_t count = itemCount();
        int32_t visible = visibleRows();
        if (up) {
            if (topIndex <= 0)
                return false;
            if (moveableSelection && int64_t(selection) == int64_t(topIndex) + visible - 1)
                setSelection(selection - 1, 1, 0, 1);
            topIndex -= 1;
        } else {
            if (int64_t(topIndex) > int64_t(count) - visible - 1)
                return false;
            if (moveableSelection && selection == topIndex)
                setSelection(selection + 1, 1, 0, 1);
            topIndex += 1;
        }
        draw();
        return true;
    });
    qelSetBackColor(previousBack);
    qelSetColor(previousColor);
}

void AbstractListBox::scrollByPage(int32_t y, int32_t up)
{
    int32_t visible = visibleRows();
    int32_t delta = up ? -visible : visible;
    qelRepeatPage(
        [this, up, delta, visible] {
            int32_t last = std::max(0, itemCount() - visible);
            topIndex = qelClampInt(int64_t(topIndex) + delta, 0, last);
            if (moveableSelection)
                setSelection(up ? topIndex + visible - 1 : topIndex, 1, 0, 1);
            draw();
            refreshWindow();
        },
        [this, up, y] {
            if (up)
                return thumbTop < y;
            return int64_t(thumbTop) + qelHeightOf(thumbImage) > y;
        });
}

void AbstractListBox::dragThumb(int32_t, int32_t y, int32_t, int32_t)
{
    draggingThumb = 1;
    qelDragThumb(y, top, height, qelHeightOf(upArrowRegion), qelHeightOf(thumbImage), itemCount(), visibleRows(),
        topIndex, [this] {
            draw();
            refreshWindow();
        });
    draggingThumb = 0;
    draw();
}
