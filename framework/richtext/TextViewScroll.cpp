// The TextView's scroll part: an up button, a down button and a thumb on a track, drawn from the
// "Scroll" table's images or as grey bevelled boxes ("DefaultDraw"); line and page steps, the
// repeat while a button or the track is held (250 ms, then every 50 ms), the dragged thumb and
// the thumb's place for the first line shown.

#include "framework/display/DrawingInterface.h"
#include "framework/display/Geometry.h"
#include "framework/display/Region.h"
#include "framework/display/WindowServices.h"
#include "framework/richtext/TextView.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Event.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/Table.h"
#include "framework/ui/ListScrolling.h"

#include <algorithm>

namespace {

// The repeat of a held button or track: the first repeat after 250 ms, the next ones every 50 ms.
constexpr int32_t first_repeat_ms = 250;
constexpr int32_t next_repeat_ms = 50;
// Placing the thumb corrects its estimate by a pixel at a time, this many times at most.
constexpr int32_t thumb_attempts = 5;

constexpr int32_t face_color = 0xC0C0C0;
constexpr int32_t light_color = 0xE0E0E0;
constexpr int32_t shadow_color = 0x808080;
constexpr int32_t dark_color = 1;

} // namespace

void TextView::lineStep(int32_t direction, int32_t highlight)
{
    if (direction == 0 || direction == 1) {
        if (highlight)
            pressedPart = direction == 0 ? 1 : 2;
        setScrollValue(int64_t(scrollValue) + (direction == 0 ? -1 : 1));
    } else {
        placeThumb();
    }
    draw();
    refreshShown();
}

void TextView::pageStep(int32_t direction)
{
    if (direction == 0 || direction == 1)
        setScrollValue(int64_t(scrollValue) + (direction == 0 ? -int64_t(pageInc) : int64_t(pageInc)));
    else
        placeThumb();
    draw();
    refreshShown();
}

int32_t TextView::trackTop()
{
    return qelTop(scrollRegion) + qelHeight(upButton);
}

int32_t TextView::trackBottom()
{
    return qelTop(downButton);
}

void TextView::moveThumbTo(int32_t y)
{
    if (thumb.type() != QEL_REGION_TYPE)
        return;
    int32_t h = qelHeight(thumb);
    int32_t lowest = std::max(trackTop(), trackBottom() - h);
    y = std::clamp(y, trackTop(), lowest);
    thumb = qelRectValue(qelLeft(thumb), y, qelWidth(thumb), h);
}

namespace {

// The thumb's travel: the track less the thumb.
int32_t travelOf(const qelValue& region, const qelValue& up, const qelValue& down, const qelValue& thumb)
{
    return qelHeight(region) - qelHeight(up) - qelHeight(down) - qelHeight(thumb);
}

} // namespace

int32_t TextView::valueFromThumb()
{
    int32_t travel = travelOf(scrollRegion, upButton, downButton, thumb);
    // A thumb as tall as its track has nowhere to go: it stands for the first line.
    if (travel <= 0)
        return scrollMin;
    int64_t offset = int64_t(qelTop(thumb)) - qelTop(scrollRegion) - qelHeight(upButton);
    return int32_t(scrollMin + (int64_t(scrollMax) - scrollMin) * offset / travel);
}

void TextView::placeThumb()
{
    if (!scrollShown() || thumb.type() != QEL_REGION_TYPE)
        return;
    if (scrollValue == scrollMin) {
        moveThumbTo(trackTop());
        return;
    }
    if (scrollValue == scrollMax) {
        moveThumbTo(trackBottom());
        return;
    }
    int32_t travel = travelOf(scrollRegion, upButton, downButton, thumb);
    double scale = double(travel) / (double(scrollMax) - scrollMin);
    int32_t y = int32_t(qelTop(scrollRegion) + qelHeight(upButton) + int64_t((scrollValue - scrollMin) * scale));
    for (int32_t attempt = 0; attempt < thumb_attempts; ++attempt) {
        moveThumbTo(y);
        int32_t v = valueFromThumb();
        if (v == scrollValue)
            break;
        y += v > scrollValue ? -1 : 1;
    }
}

int32_t TextView::inAboveThumb(int32_t x, int32_t y)
{
    int32_t top = trackTop();
    return qelContainsPoint(qelRectValue(qelLeft(thumb), top, qelWidth(thumb), qelTop(thumb) - top), x, y);
}

int32_t TextView::inBelowThumb(int32_t x, int32_t y)
{
    int32_t below = qelTop(thumb) + qelHeight(thumb);
    int32_t bottom = qelTop(scrollRegion) + qelHeight(scrollRegion) - qelHeight(downButton);
    return qelContainsPoint(qelRectValue(qelLeft(thumb), below, qelWidth(thumb), bottom - below), x, y);
}

void TextView::scrollPartClick(int32_t x, int32_t y)
{
    if (qelContainsPoint(upButton, x, y))
        repeatLine(0, x, y);
    else if (qelContainsPoint(downButton, x, y))
        repeatLine(1, x, y);
    else if (qelContainsPoint(thumb, x, y))
        dragThumb(y);
    else if (inAboveThumb(x, y))
        repeatPage(0, x, y);
    else if (inBelowThumb(x, y))
        repeatPage(1, x, y);
    else
        waitRelease();
}

void TextView::waitRelease()
{
    qelEvent event;
    while (qelNextTrackEvent(event, QEL_DRAG_EVENT | QEL_MOUSE_UP_EVENT, -1) != qelTrackStep::Release) {
    }
}

void TextView::repeatWhileHeld(
    const std::function<void(int32_t x, int32_t y)>& dragged, const std::function<void()>& repeat)
{
    int32_t wait = first_repeat_ms;
    while (true) {
        qelEvent event;
        qelTrackStep step = qelNextTrackEvent(event, QEL_DRAG_EVENT | QEL_MOUSE_UP_EVENT, wait);
        if (step == qelTrackStep::Release)
            return;
        if (step == qelTrackStep::Drag) {
            dragged(event.x, event.y);
            continue;
        }
        wait = next_repeat_ms;
        repeat();
    }
}

void TextView::repeatLine(int32_t direction, int32_t x, int32_t y)
{
    const qelValue& button = direction == 0 ? upButton : downButton;
    lineStep(direction, 1);
    bool inside = qelContainsPoint(button, x, y) != 0;
    repeatWhileHeld(
        [&](int32_t px, int32_t py) {
            // Leaving the button shows it raised, coming back pressed again.
            bool now = qelContainsPoint(button, px, py) != 0;
            if (now != inside) {
                pressedPart = now ? (direction == 0 ? 1 : 2) : 0;
                draw();
                refreshShown();
            }
            inside = now;
        },
        [&] {
            if (inside)
                lineStep(direction, 1);
        });
}

void TextView::repeatPage(int32_t direction, int32_t x, int32_t y)
{
    pageStep(direction);
    int32_t px = x;
    int32_t py = y;
    repeatWhileHeld(
        [&](int32_t nx, int32_t ny) {
            px = nx;
            py = ny;
        },
        [&] {
            // Paging stops once the thumb has reached the pointer.
            if (direction == 0 ? inAboveThumb(px, py) : inBelowThumb(px, py))
                pageStep(direction);
        });
}

void TextView::dragThumb(int32_t y0)
{
    int32_t grab = y0 - qelTop(thumb);
    moveThumbTo(qelTop(thumb));
    pressedPart = 3;
    draw();
    refreshShown();
    while (true) {
        qelEvent event;
        qelTrackStep step = qelNextTrackEvent(event, QEL_DRAG_EVENT | QEL_MOUSE_UP_EVENT, -1);
        if (step == qelTrackStep::Release)
            break;
        if (step != qelTrackStep::Drag)
            continue;
        moveThumbTo(event.y - grab);
        // The text follows the thumb in the same frame; the thumb is not snapped to its line.
        int32_t v = std::max(std::min(valueFromThumb(), scrollMax), scrollMin);
        scrollValue = v;
        scrollOffset = int32_t(-int64_t(lineHeight) * scrollValue);
        draw();
        refreshShown();
    }
}

qelValue TextView::scrollImage(const char* key)
{
    // Pictures come as images, references or resource names, as on every other control.
    qelValue v = qelGet(getProperty("Scroll"), qelValue(key));
    return v.isNil() ? v : qelLoadImageResource(v);
}

void TextView::prepareScrollImages()
{
    if (scrollImagesReady)
        return;
    qelValue table = getProperty("Scroll");
    if (table.type() != QEL_TABLE_TYPE)
        return;
    qelValue track = scrollImage("ScrollImage");
    if (track.type() != QEL_IMAGE_TYPE || qelWidth(track) != qelWidth(scrollRegion)
        || qelHeight(track) != qelHeight(scrollRegion)) {
        if (qelContainsKey(table, qelValue("ScrollBit")))
            track = qelComposeScrollStrip(
                scrollRegion, scrollImage("ScrollBit"), scrollImage("UpImage"), scrollImage("DownImage"));
        else
            track = qelGrabWindowImage(
                qelLeft(scrollRegion), qelTop(scrollRegion), qelWidth(scrollRegion), qelHeight(scrollRegion));
        qelPut(table, qelValue("ScrollImage"), track);
    }
    struct Part {
        const char* image;
        const char* highlight;
        const qelValue* area;
    };
    const Part parts[] = { { "UpImage", "UpHighlight", &upButton }, { "DownImage", "DownHighlight", &downButton },
        { "ThumbImage", "ThumbHighlight", &thumb } };
    for (const Part& part : parts) {
        qelValue image = scrollImage(part.image);
        if (image.type() != QEL_IMAGE_TYPE) {
            const qelValue& a = *part.area;
            image = qelGrabWindowImage(qelLeft(a), qelTop(a), qelWidth(a), qelHeight(a));
            qelPut(table, qelValue(part.image), image);
        }
        if (scrollImage(part.highlight).type() != QEL_IMAGE_TYPE)
            qelPut(table, qelValue(part.highlight), image);
    }
    scrollImagesReady = true;
}

void TextView::drawScrollButtons()
{
    if (scrollMin == scrollMax)
        return;
    drawScrollTrack();
    drawThumb(pressedPart == 3);
    drawUpButton(pressedPart == 1);
    drawDownButton(pressedPart == 2);
}

void TextView::drawScrollTrack()
{
    if (defaultDraw)
        qelRectangle(qelLeft(scrollRegion), qelTop(scrollRegion), qelWidth(scrollRegion), qelHeight(scrollRegion),
            face_color);
    else
        qelShowImageAt(scrollImage("ScrollImage"), qelLeft(scrollRegion), qelTop(scrollRegion), 0, 0, 0, 0);
}

void TextView::drawThumb(int32_t pressed)
{
    if (defaultDraw)
        drawBevelBox(thumb, pressed);
    else
        qelShowImageAt(scrollImage(pressed ? "ThumbHighlight" : "ThumbImage"), qelLeft(thumb), qelTop(thumb), 0, 0,
            0, 0);
}

void TextView::drawUpButton(int32_t pressed)
{
    drawArrowButton(upButton, pressed, 1);
}

void TextView::drawDownButton(int32_t pressed)
{
    drawArrowButton(downButton, pressed, 0);
}

void TextView::drawArrowButton(const qelValue& button, int32_t pressed, int32_t up)
{
    int32_t left = qelLeft(button);
    int32_t top = qelTop(button);
    if (!defaultDraw) {
        const char* key = up ? (pressed ? "UpHighlight" : "UpImage") : (pressed ? "DownHighlight" : "DownImage");
        qelShowImageAt(scrollImage(key), left, top, 0, 0, 0, 0);
        return;
    }
    drawBevelBox(button, pressed);
    int32_t w = qelWidth(button);
    int32_t h = qelHeight(button);
    int32_t shift = pressed ? 1 : 0;
    int32_t previous = qelSetColor(dark_color);
    int32_t y = top + h / 4 + 1 + shift;
    if (up) {
        // Rows 1, 3, 5... wide while narrower than half the button, each a pixel further left.
        int32_t x = left + h / 2 - 1 + shift;
        for (int32_t width = 1; width < w / 2; width += 2, --x, ++y)
            qelDrawLine(x, y, x + width, y);
    } else {
        // Rows from 2 x (width / 4) - 1 down by 2, each a pixel further right.
        int32_t x = left + h / 4 + shift;
        for (int32_t width = 2 * (w / 4) - 1; width > 0; width -= 2, ++x, ++y)
            qelDrawLine(x, y, x + width, y);
    }
    qelSetColor(previous);
}

void TextView::drawBevelBox(const qelValue& rect, int32_t pressed)
{
    int32_t x = qelLeft(rect);
    int32_t y = qelTop(rect);
    int32_t w = qelWidth(rect);
    int32_t h = qelHeight(rect);
    int32_t r = x + w - 1;
    int32_t b = y + h - 1;
    qelRectangle(x, y, w, h, face_color);
    int32_t previous = qelSetColor(shadow_color);
    if (pressed) {
        int32_t frame[10] = { x, y, r, y, r, b, x, b, x, y };
        qelDrawPolyline(5, frame);
    } else {
        qelSetColor(light_color);
        qelDrawLine(x + 1, b, x + 1, y + 1);
        qelDrawLine(x + 1, y + 1, r - 1, y + 1);
        qelSetColor(dark_color);
        qelDrawLine(r, y, r, b + 1);
        qelDrawLine(x, b, r, b);
        qelSetColor(shadow_color);
        qelDrawLine(r - 1, y + 1, r - 1, b);
        qelDrawLine(x + 1, b - 1, r - 1, b - 1);
    }
    qelSetColor(previous);
}
