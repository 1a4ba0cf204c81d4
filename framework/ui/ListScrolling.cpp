#include "framework/ui/ListScrolling.h"

#include "framework/display/DrawingInterface.h"
#include "framework/display/Geometry.h"
#include "framework/display/Region.h"
#include "framework/display/WindowServices.h"
#include "framework/runtime/Environment.h"
#include "framework/runtime/EventQueue.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/StringObject.h"
#include "framework/ui/MediaControlObject.h"
#include "framework/ui/UiRefresh.h"

#include <algorithm>

int32_t qelLowerKey(int32_t code)
{
    return code >= 'A' && code <= 'Z' ? code + ('a' - 'A') : code;
}

int32_t qelVisibleRows(int32_t height, int32_t rowHeight)
{
    return std::max(1, qelDivide(height, std::max(1, rowHeight)));
}

int32_t qelDivide(int64_t numerator, int64_t divisor)
{
    if (divisor == 0)
        return 0;
    int64_t quotient = numerator / divisor;
    return int32_t(std::clamp<int64_t>(quotient, INT32_MIN, INT32_MAX));
}

int32_t qelClampInt(int64_t n, int32_t low, int32_t high)
{
    if (high < low)
        return low;
    return int32_t(std::clamp<int64_t>(n, low, high));
}

int32_t qelScrollIntoView(int32_t index, int32_t topIndex, int32_t visible)
{
    if (index < topIndex)
        return index;
    if (int64_t(index) - topIndex >= int64_t(visible) - 1)
        return qelClampInt(int64_t(index) - (int64_t(visible) - 1), 0, INT32_MAX);
    return topIndex;
}

int32_t qelThumbTop(int32_t boxTop, int32_t boxHeight, int32_t upHeight, int32_t downHeight, int32_t thumbHeight,
    int32_t topIndex, int32_t range)
{
    int64_t travel = int64_t(boxHeight) - upHeight - downHeight - thumbHeight;
    return qelClampInt(
        int64_t(qelDivide(travel * topIndex, std::max(1, range))) + upHeight + boxTop, INT32_MIN, INT32_MAX);
}

int32_t qelThumbGrab(int32_t pointerY, int32_t boxTop, int32_t arrowHeight, int32_t trackHeight, int32_t thumbHeight,
    int32_t topIndex, int32_t range)
{
    int64_t offset = qelDivide((int64_t(trackHeight) - thumbHeight + 1) * topIndex, std::max(1, range));
    return qelClampInt(int64_t(pointerY) - (offset + arrowHeight + boxTop), INT32_MIN, INT32_MAX);
}

int32_t qelThumbDragIndex(int32_t pointerY, int32_t boxTop, int32_t arrowHeight, int32_t trackHeight,
    int32_t thumbHeight, int32_t grab, int32_t range, int32_t topIndex)
{
    int64_t travel = int64_t(trackHeight) - thumbHeight;
    // A thumb as tall as its track (or taller) has nowhere to go.
    if (travel <= 0 || range <= 0)
        return topIndex;
    int64_t offset = int64_t(pointerY) - boxTop - grab - arrowHeight;
    return qelClampInt(qelDivide(int64_t(range) * offset - 1, travel), 0, range);
}

int32_t qelNextArrowCounter(int32_t counter)
{
    return counter >= 11 ? counter - 5 : counter;
}

int32_t qelRegionHolds(const qelValue& region, int32_t x, int32_t y)
{
    return region.type() == QEL_REGION_TYPE && qelContainsPoint(region, x, y);
}

int32_t qelHeightOf(const qelValue& value)
{
    int32_t type = value.type();
    if (!value.object() || (type != QEL_REGION_TYPE && type != QEL_IMAGE_TYPE))
        return 0;
    return qelHeight(value);
}

int32_t qelWidthOf(const qelValue& value)
{
    int32_t type = value.type();
    if (!value.object() || (type != QEL_REGION_TYPE && type != QEL_IMAGE_TYPE))
        return 0;
    return qelWidth(value);
}

qelTrackStep qelNextTrackEvent(qelEvent& event, int32_t mask, int32_t timeoutMs)
{
    uint32_t before = qelClockNow();
    while (true) {
        uint32_t spent = qelClockNow() - before;
        int32_t left = timeoutMs < 0 ? -1 : int32_t(uint32_t(timeoutMs) - std::min(spent, uint32_t(timeoutMs)));
        qelGetEvent(event, mask, left);
        if (event.type == QEL_MOUSE_UP_EVENT) {
            qelLocalizeEvent(event);
            return qelTrackStep::Release;
        }
        if (event.type == QEL_DRAG_EVENT) {
            qelLocalizeEvent(event);
            return qelTrackStep::Drag;
        }
        // The inactivity notice comes whatever the mask: it is not this loop's business.
        if (event.type != 0)
            continue;
        // An empty event before its time (or from a wait without end) means nothing can be
        // delivered any more: end the press where it is.
        if (timeoutMs < 0 || uint32_t(event.time) - before < uint32_t(timeoutMs))
            return qelTrackStep::Release;
        return qelTrackStep::TimeOut;
    }
}

qelValue qelComposeScrollStrip(
    const qelValue& area, const qelValue& tile, const qelValue& upArrow, const qelValue& downArrow)
{
    if (area.type() != QEL_REGION_TYPE || !area.object())
        return qelNil;
    int32_t x = qelLeft(area);
    int32_t y = qelTop(area);
    int32_t w = qelWidth(area);
    int32_t h = qelHeight(area);
    qelValue underneath = qelGrabWindowImage(x, y, w, h);
    int32_t upHeight = qelHeightOf(upArrow);
    int32_t downHeight = qelHeightOf(downArrow);
    int32_t tileHeight = qelHeightOf(tile);
    if (upHeight > 0)
        qelShowImageAt(upArrow, x, y, 0, 0, 0, 0);
    // A tile without height would never fill the strip.
    int64_t remaining = int64_t(h) - upHeight - downHeight;
    for (int64_t tileY = int64_t(y) + upHeight; remaining > 0 && tileHeight > 0; tileY += tileHeight) {
        qelShowImageAt(tile, x, int32_t(tileY), 0, 0, 0, 0);
        remaining -= tileHeight;
    }
    if (downHeight > 0)
        qelShowImageAt(downArrow, x, y + h - downHeight, 0, 0, 0, 0);
    qelValue strip = qelGrabWindowImage(x, y, w, h);
    qelShowImageAt(underneath, x, y, 0, 0, 0, 0);
    return strip;
}

void qelRepeatArrow(const qelValue& area, int32_t imageX, int32_t imageY, const qelValue& pressedImage,
    const std::function<bool()>& step)
{
    int32_t w = qelWidthOf(area);
    int32_t h = qelHeightOf(area);
    qelValue pressed = pressedImage.type() == QEL_IMAGE_TYPE ? pressedImage : qelGrabWindowImage(imageX, imageY, w, h);
    qelValue released = qelGrabWindowImage(imageX, imageY, w, h);
    bool down = true;
    auto performStep = [&] {
        if (!step())
            return false;
        qelShowImageAt(pressed, imageX, imageY, 0, 0, 0, 0);
        qelUiUpdateWindow();
        return true;
    };
    performStep();
    int32_t counter = QEL_ARROW_COUNTER_START;
    int32_t timeout = counter / 10;
    while (true) {
        qelEvent event;
        qelTrackStep what = qelNextTrackEvent(event, QEL_DRAG_EVENT | QEL_MOUSE_UP_EVENT, timeout);
        if (what == qelTrackStep::Release)
            break;
        if (what == qelTrackStep::Drag) {
            bool inside = qelRegionHolds(area, event.x, event.y);
            if (down && !inside) {
                down = false;
                qelShowImageAt(released, imageX, imageY, 0, 0, 0, 0);
                qelUiUpdateWindow();
            } else if (!down && inside) {
                down = true;
                qelShowImageAt(pressed, imageX, imageY, 0, 0, 0, 0);
                qelUiUpdateWindow();
            }
        }
        if (down && performStep()) {
            counter = qelNextArrowCounter(counter);
            timeout = counter / 10;
        }
    }
    if (down) {
        qelShowImageAt(released, imageX, imageY, 0, 0, 0, 0);
        qelUiUpdateWindow();
    }
}

void qelRepeatPage(const std::function<void()>& step, const std::function<bool()>& passed)
{
    step();
    int32_t timeout = 200;
    while (true) {
        qelEvent event;
        qelTrackStep what = qelNextTrackEvent(event, QEL_MOUSE_UP_EVENT, timeout);
        if (what == qelTrackStep::Release)
            break;
        if (what != qelTrackStep::TimeOut)
            continue;
        if (passed()) {
            // Only the release is left to wait for.
            timeout = -1;
            continue;
        }
        step();
        timeout = 50;
    }
}

void qelFollowThumb(int32_t y, const std::function<void(int32_t)>& move)
{
    move(y);
    qelFollowDrags([&](int32_t, int32_t pointerY) { move(pointerY); });
}

void qelFollowDrags(const std::function<void(int32_t, int32_t)>& moved)
{
    while (true) {
        qelEvent event;
        qelTrackStep what = qelNextTrackEvent(event, QEL_DRAG_EVENT | QEL_MOUSE_UP_EVENT, -1);
        if (what == qelTrackStep::Release)
            break;
        if (what == qelTrackStep::Drag)
            moved(event.x, event.y);
    }
}

void qelWaitForRelease()
{
    qelEvent event;
    while (qelNextTrackEvent(event, QEL_MOUSE_UP_EVENT, -1) != qelTrackStep::Release) { }
}

int32_t qelListRowHeight(qelMediaControlObject& control, const qelValue& font, int32_t* textHeight)
{
    int32_t w = 0;
    int32_t h = 0;
    qelMeasureString("|", font, &w, &h);
    if (textHeight)
        *textHeight = h;
    // Rows are divided by this height: a font that measures nothing still gives one pixel.
    return std::max(1, h + control.getInt("LineSpacing", 0));
}

qelValue qelScrollBarArea(
    qelMediaControlObject& control, int32_t barLeft, int32_t boxTop, int32_t barWidth, int32_t boxHeight)
{
    qelValue area = control.regionProperty("ScrollbarHotSpot");
    if (area.isNil() && barWidth > 0)
        area = qelRectValue(barLeft, boxTop, barWidth, boxHeight);
    return area;
}

qelValue qelScrollBarStrip(qelMediaControlObject& control, const qelValue& area)
{
    if (control.imageProperty("ScrollBit").isNil())
        return qelNil;
    return qelComposeScrollStrip(area, control.imageProperty("ScrollBit"), control.imageProperty("UpArrowImage"),
        control.imageProperty("DownArrowImage"));
}

void qelRepeatScrollArrow(
    qelMediaControlObject& control, bool up, const qelValue& area, const std::function<bool()>& step)
{
    bool hasArea = area.type() == QEL_REGION_TYPE;
    int32_t imageX = control.getInt(up ? "UpArrowX" : "DownArrowX", hasArea ? qelLeft(area) : 0);
    int32_t imageY = control.getInt(up ? "UpArrowY" : "DownArrowY", hasArea ? qelTop(area) : 0);
    qelValue pressed = control.imageProperty(up ? "UpArrowHighlight" : "DownArrowHighlight");
    qelRepeatArrow(area, imageX, imageY, pressed, step);
}

void qelDragThumb(int32_t y, int32_t boxTop, int32_t boxHeight, int32_t arrowHeight, int32_t thumbHeight,
    int32_t count, int32_t visible, int32_t& topIndex, const std::function<void()>& redraw)
{
    int32_t trackHeight = boxHeight - 2 * arrowHeight;
    int32_t range = count - visible;
    int32_t grab = qelThumbGrab(y, boxTop, arrowHeight, trackHeight, thumbHeight, topIndex, range);
    if (count < visible) {
        qelWaitForRelease();
        return;
    }
    qelFollowThumb(y, [&](int32_t pointerY) {
        topIndex = qelThumbDragIndex(pointerY, boxTop, arrowHeight, trackHeight, thumbHeight, grab, range, topIndex);
        redraw();
    });
}

int32_t qelScaleInt(int64_t part, int64_t whole, int64_t total)
{
    return qelDivide(part * whole, total);
}

int32_t qelFirstLetterMatch(
    int32_t count, int32_t selection, int32_t letter, const std::function<qelValue(int32_t index)>& textAt)
{
    if (count <= 0)
        return -1;
    int64_t start = (int64_t(selection) + 1) % count;
    if (start < 0)
        start += count;
    for (int32_t k = 0; k < count; ++k) {
        int32_t i = int32_t((start + k) % count);
        qelValue text = textAt(i);
        if (text.isString() && qelCount(text) > 0 && qelLowerKey(uint8_t(qelCharAt(text, 0))) == letter)
            return i;
    }
    return -1;
}
