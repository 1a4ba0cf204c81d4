#include "framework/ui/Scroller.h"

#include "framework/display/DrawingInterface.h"
#include "framework/display/Geometry.h"
#include "framework/display/Region.h"
#include "framework/display/WindowServices.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Environment.h"
#include "framework/runtime/Error.h"
#include "framework/runtime/EventQueue.h"
#include "framework/ui/ListScrolling.h"
#include "framework/ui/UiRefresh.h"

#include <functional>
#include <string>

namespace {

constexpr int32_t debugGrey = 0xC0C0C0;
constexpr int32_t debugLight = 0xE0E0E0;
constexpr int32_t debugShadow = 0x808080;
constexpr int32_t darkColour = 1;
// The period the framework timer runs at outside a held click.
constexpr int32_t restingTimerPeriod = 250;

bool isImage(const qelValue& value)
{
    return value.type() == QEL_IMAGE_TYPE && value.object();
}

void showImageClipped(const qelValue& image, const Scroller::Box& box)
{
    qelClipRect(box.x, box.y, box.w, box.h);
    qelShowImageAt(image, box.x, box.y, 0, 0, 0, 0);
    qelResetClip();
}

// The next event of a held click: a drag or a timer tick (true), or the release (false). The
// ticks never stop, so a quit (the window closing under the press) also ends the click, and is
// posted again for the main loop; so does an empty event, which comes only when no window layer
// can post anything.
bool nextRepeatEvent(qelEvent& event)
{
    qelGetEvent(event, QEL_DRAG_EVENT | QEL_MOUSE_UP_EVENT | QEL_TICK_EVENT | QEL_QUIT_EVENT, -1);
    if (event.type == QEL_QUIT_EVENT) {
        qelPostQuit();
        return false;
    }
    return event.type == QEL_DRAG_EVENT || event.type == QEL_TICK_EVENT;
}

} // namespace

Scroller::Scroller(const qelValue& data)
    : qelMediaControlObject(data)
{
}

Scroller::~Scroller() = default;

int32_t Scroller::intOf(const char* key, int32_t defaultValue)
{
    qelValue v = qelMediaControlObject::getProperty(key);
    return v.type() == QEL_INT_TYPE ? v.payload() : defaultValue;
}

int32_t Scroller::boolOf(const char* key, int32_t defaultValue)
{
    qelValue v = qelMediaControlObject::getProperty(key);
    return v.type() == QEL_BOOLEAN_TYPE ? (v.payload() != 0) : defaultValue;
}

void Scroller::layOut(int32_t b, int32_t k, int32_t a)
{
    const Box& h = hotSpotBox;
    if (horizontal) {
        upRect = { h.x, h.y, b, h.h };
        downRect = { h.x + h.w - b, h.y, b, h.h };
        knobRect = { h.x + upRect.w, h.y + a, k, h.h };
    } else {
        upRect = { h.x, h.y, h.w, b };
        downRect = { h.x, h.y + h.h - b, h.w, b };
        knobRect = { h.x + a, h.y + upRect.h, h.w, k };
    }
}

void Scroller::init()
{
    validate();
    qelValue spot = hotSpot();
    if (!spot.isNil())
        hotSpotBox = { qelLeft(spot), qelTop(spot), qelWidth(spot), qelHeight(spot) };
    int32_t b = intOf("ButtHeight", 10);
    int32_t k = intOf("KnobHeight", 10);
    horizontal = boolOf("Horizontal", 0);
    int32_t a = intOf("KnobAdjust", 0);
    layOut(b, k, a);
    knobOffset = intOf("KnobOffset", 0);
    if (boolOf("ResizeToAccommodateImages", 1)) {
        for (const char* key :
            { "Background Image", "KnobImage", "KnobHImage", "UpImage", "UpHImage", "DownImage", "DownHImage" })
            fitToImage(imageProperty(key));
        layOut(b, k, a);
    }
    setRange(intOf("Min", 0), intOf("Max", 0));
    setValue(intOf("Value", 0));
    placeKnob();
    pageInc = intOf("PageInc", 0);
    dontDraw = 0;
}

void Scroller::validate()
{
    auto missing = [this](const char* key) { return !hasProperty(key); };
    if (missing("Hot Spot"))
        qelError("You must specify Hot Spot in the table file.");
    if (missing("ButtHeight") && (missing("UpImage") || missing("DownImage")))
        qelError("You must specify either ButtHeight or UpImage and DownImage in the table file.");
    if (missing("KnobHeight") && missing("KnobImage"))
        qelError("You must specify either KnobHeight or KnobImage in the table file.");
}

void Scroller::fitToImage(const qelValue& image)
{
    if (!isImage(image))
        return;
    hotSpotBox.w = std::max(hotSpotBox.w, qelWidth(image));
    hotSpotBox.h = std::max(hotSpotBox.h, qelHeight(image));
}

qelValue Scroller::getProperty(const qelValue& key)
{
    if (key == "Value")
        return qelValue(value);
    if (key == "Max")
        return qelValue(max);
    if (key == "Min")
        return qelValue(min);
    return qelMediaControlObject::getProperty(key);
}

int32_t Scroller::isEnabled()
{
    return qelMediaControlObject::isEnabled() && hasRange();
}

void Scroller::setValue(int32_t v)
{
    value = std::min(std::max(v, min), max);
}

void Scroller::setRange(int32_t lo, int32_t hi)
{
    if (hi < lo)
        return;
    min = lo;
    max = hi;
}

int32_t Scroller::travelStart() const
{
    return startOf(hotSpotBox) + lengthOf(upRect) + knobOffset;
}

int32_t Scroller::travelEnd() const
{
    return startOf(hotSpotBox) + lengthOf(hotSpotBox) - lengthOf(downRect) - knobOffset;
}

void Scroller::moveKnobTo(int32_t p)
{
    int32_t at = qelClampInt(p, travelStart(), qelClampInt(int64_t(travelEnd()) - lengthOf(knobRect), INT32_MIN, INT32_MAX));
    (horizontal ? knobRect.x : knobRect.y) = at;
}

int32_t Scroller::valueFromKnob() const
{
    int64_t travel = int64_t(lengthOf(hotSpotBox)) - 2 * int64_t(knobOffset) - lengthOf(upRect) - lengthOf(downRect)
        - lengthOf(knobRect);
    // A knob with no room to move stands for the smallest value.
    if (travel <= 0)
        return min;
    int64_t offset = int64_t(startOf(knobRect)) - travelStart();
    return qelClampInt(int64_t(min) + qelScaleInt(int64_t(max) - min, offset, travel), INT32_MIN, INT32_MAX);
}

void Scroller::placeKnob()
{
    if (value == min) {
        moveKnobTo(travelStart());
        return;
    }
    if (value == max) {
        moveKnobTo(travelEnd());
        return;
    }
    double travel = double(lengthOf(hotSpotBox)) - lengthOf(upRect) - lengthOf(downRect) - lengthOf(knobRect) - 2;
    double scale = max == min ? 1.0 : travel / (double(max) - double(min));
    int32_t p = qelClampInt(int64_t(startOf(hotSpotBox)) + lengthOf(upRect) + int64_t((double(value) - min) * scale),
        INT32_MIN, INT32_MAX);
    // The estimate is corrected a pixel at a time until the knob reads back the value; five tries
    // are enough for any track a screen can hold, and bound the loop.
    for (int attempt = 0; attempt < 5; ++attempt) {
        moveKnobTo(p);
        int32_t v = valueFromKnob();
        if (v == value)
            break;
        p += v > value ? -1 : 1;
    }
}

void Scroller::step(int32_t direction)
{
    if (!isEnabled())
        return;
    if (direction == 0) {
        pressedPart = UpPart;
        setValue(int32_t(std::max<int64_t>(int64_t(value) - 1, INT32_MIN)));
    } else if (direction == 1) {
        pressedPart = DownPart;
        setValue(int32_t(std::min<int64_t>(int64_t(value) + 1, INT32_MAX)));
    } else {
        warn("Unknown scroll direction");
    }
    placeKnob();
    draw();
}

void Scroller::page(int32_t direction)
{
    if (!isEnabled())
        return;
    if (direction == 0)
        value = qelClampInt(std::max<int64_t>(int64_t(value) - pageInc, min), INT32_MIN, INT32_MAX);
    else if (direction == 1)
        value = qelClampInt(std::min<int64_t>(int64_t(value) + pageInc, max), INT32_MIN, INT32_MAX);
    else
        warn("Unkown page direction");
    placeKnob();
    draw();
}

Scroller::Box Scroller::pageUpArea() const
{
    const Box& k = knobRect;
    int32_t s = travelStart();
    return horizontal ? Box { s, k.y, k.x - s, k.h } : Box { k.x, s, k.w, k.y - s };
}

Scroller::Box Scroller::pageDownArea() const
{
    const Box& k = knobRect;
    const Box& h = hotSpotBox;
    if (horizontal) {
        int32_t from = k.x + k.w + knobOffset;
        return { from, k.y, h.x + h.w - downRect.w - from, k.h };
    }
    int32_t from = k.y + k.h + knobOffset;
    return { k.x, from, k.w, h.y + h.h - downRect.h - from };
}

bool Scroller::inPageUpArea(int32_t x, int32_t y) const
{
    return pageUpArea().contains(x, y);
}

bool Scroller::inPageDownArea(int32_t x, int32_t y) const
{
    return pageDownArea().contains(x, y);
}

void Scroller::drawNow()
{
    draw();
    qelUiUpdateWindow();
}

int32_t Scroller::track(int32_t x, int32_t y, int32_t, int32_t)
{
    int32_t doKnob = boolOf("DoKnob", 1);
    if (!isEnabled() || !hasRange())
        return 0;
    bool taken = true;
    if (upRect.contains(x, y))
        repeatStep(0, x, y);
    else if (downRect.contains(x, y))
        repeatStep(1, x, y);
    else if (knobRect.contains(x, y) && doKnob)
        dragKnob(horizontal ? x : y);
    else if (!boolOf("DisablePageUpDown", 0) && doKnob && inPageUpArea(x, y))
        repeatPage(0, x, y);
    else if (!boolOf("DisablePageUpDown", 0) && doKnob && inPageDownArea(x, y))
        repeatPage(1, x, y);
    else
        taken = false;
    if (pressedPart != NoPart) {
        pressedPart = NoPart;
        drawNow();
    }
    return taken ? 1 : 0;
}

void Scroller::repeatWhileHeld(
    const std::function<void(int32_t x, int32_t y)>& dragged, const std::function<bool()>& repeat)
{
    bool firstTick = true;
    qelStartTimer(intOf("InitialRepeat", 250));
    while (true) {
        qelEvent event;
        if (!nextRepeatEvent(event))
            break;
        if (event.type == QEL_DRAG_EVENT) {
            qelLocalizeEvent(event);
            dragged(event.x, event.y);
            continue;
        }
        if (firstTick) {
            firstTick = false;
            qelStopTimer();
            qelStartTimer(intOf("RepeatRate", 50));
        }
        if (repeat()) {
            qelUiUpdateWindow();
            qelHandleActiveControl();
        }
        // The active form's own timer work goes on during the click.
        if (qelEnvironment* environment = qelCurrentEnv())
            environment->onTick();
    }
}

void Scroller::repeatStep(int32_t direction, int32_t x, int32_t y)
{
    step(direction);
    qelUiUpdateWindow();
    if (boolOf("DisableScrollRepeat", 0))
        return;
    const Box& button = direction == 0 ? upRect : downRect;
    bool inside = button.contains(x, y);
    repeatWhileHeld(
        [&](int32_t px, int32_t py) {
            // The held arrow looks pressed only while the pointer is on it.
            bool now = button.contains(px, py);
            if (now != inside) {
                pressedPart = now ? (direction == 0 ? UpPart : DownPart) : NoPart;
                drawNow();
            }
            inside = now;
        },
        [&] {
            if (inside)
                step(direction);
            return inside;
        });
    qelStopTimer();
    qelStartTimer(restingTimerPeriod);
}

void Scroller::repeatPage(int32_t direction, int32_t x, int32_t y)
{
    page(direction);
    qelUiUpdateWindow();
    if (!boolOf("DisablePageRepeat", 0)) {
        repeatWhileHeld(
            [&](int32_t px, int32_t py) {
                x = px;
                y = py;
            },
            [&] {
                // The page areas follow the knob: the repeat stops once the knob reaches the pointer.
                bool more = direction == 0 ? inPageUpArea(x, y) : inPageDownArea(x, y);
                if (more)
                    page(direction);
                return more;
            });
    }
    qelStopTimer();
    qelStartTimer(restingTimerPeriod);
}

void Scroller::dragKnob(int32_t coordinate)
{
    int32_t grab = coordinate - startOf(knobRect);
    moveKnobTo(startOf(knobRect));
    pressedPart = KnobPart;
    drawNow();
    qelFollowDrags([&](int32_t x, int32_t y) {
        moveKnobTo(qelClampInt(int64_t(horizontal ? x : y) - grab, INT32_MIN, INT32_MAX));
        drawNow();
        setValue(valueFromKnob());
        qelHandleActiveControl();
    });
}

qelValue Scroller::perform(const qelValue& action, const qelValue& data)
{
    bool isInt = data.type() == QEL_INT_TYPE;
    int32_t n = isInt ? data.payload() : 0;
    auto redraw = [this] {
        pressedPart = NoPart;
        draw();
        return qelTrue;
    };
    if (action == "SetMin" || action == "SetMax" || action == "SetPageInc" || action == "SetValue") {
        if (!isInt)
            return qelFalse;
        if (action == "SetMin")
            setRange(n, max);
        else if (action == "SetMax")
            setRange(min, n);
        else if (action == "SetPageInc")
            pageInc = n;
        else {
            setValue(n);
            placeKnob();
            draw();
        }
        return redraw();
    }
    if (action == "ScrollUp" || action == "ScrollDown") {
        step(action == "ScrollUp" ? 0 : 1);
        return redraw();
    }
    if (action == "PageUp" || action == "PageDown") {
        page(action == "PageUp" ? 0 : 1);
        return redraw();
    }
    if (action == "Home" || action == "End") {
        setValue(action == "Home" ? min : max);
        placeKnob();
        draw();
        return redraw();
    }
    if (action == "DontDraw") {
        dontDraw = qelIsTrue(data) ? 1 : 0;
        return qelFalse;
    }
    return qelMediaControlObject::perform(action, data);
}

void Scroller::draw()
{
    if (!isEnabled() || dontDraw)
        return;
    drawBackground();
    drawInside();
    drawUpButton(pressedPart == UpPart);
    drawDownButton(pressedPart == DownPart);
    if (boolOf("DoKnob", 1))
        drawKnob(pressedPart == KnobPart);
    drawBorder();
}

void Scroller::drawBackground()
{
    const Box& h = hotSpotBox;
    bool fill = boolOf("FillInside", 0);
    if (hasProperty("Background Image")) {
        qelValue image = imageProperty("Background Image");
        if (!image.isNil())
            qelShowImageAt(image, h.x, h.y, h.w, h.h, 0, 0);
    } else if (!fill) {
        // The screen under the whole laid-out area (grown to the images, not only the given hot
        // spot), so that every later draw restores all of it.
        setProperty("Background Image", qelGrabWindowImage(h.x, h.y, h.w, h.h));
    }
    if (fill)
        qelRectangle(h.x, h.y, h.w, h.h, intOf("FillColor", 0xFFFFFF));
}

Scroller::Box Scroller::insideArea()
{
    qelValue given = regionProperty("InsideRect");
    if (!given.isNil())
        return { qelLeft(given), qelTop(given), qelWidth(given), qelHeight(given) };
    const Box& h = hotSpotBox;
    int32_t o = knobOffset;
    if (horizontal)
        return { h.x + upRect.w + o, h.y + o, h.w - 2 * o - upRect.w - downRect.w, h.h - 2 * o };
    return { h.x + o, h.y + upRect.h + o, h.w - 2 * o, h.h - 2 * o - upRect.h - downRect.h };
}

void Scroller::drawInside()
{
    Box area = insideArea();
    qelValue image = imageProperty("InsideImage");
    if (boolOf("DebugDraw", 0))
        paintRect(area, debugGrey);
    else if (!image.isNil())
        showImageClipped(image, area);
    else if (boolOf("DrawBorder", 0))
        paintRect(area, intOf("InsideColor", 0xFFFFFF));
}

void Scroller::drawButton(const Box& box, const char* normalKey, const char* pressedKey, int32_t pressed, bool up)
{
    qelValue normal = imageProperty(normalKey);
    qelValue pressedImage = imageProperty(pressedKey);
    if (!normal.isNil() || (pressed && !pressedImage.isNil()))
        showImageClipped(pressed && !pressedImage.isNil() ? pressedImage : normal, box);
    else if (boolOf("DrawButtons", 0))
        qelFrameRegion(qelRectValue(box.x, box.y, box.w, box.h), intOf("ButtonColor", darkColour));
    if (boolOf("DebugDraw", 0))
        debugBox(box, up ? 1 : 2);
}

void Scroller::drawUpButton(int32_t pressed)
{
    drawButton(upRect, "UpImage", "UpHImage", pressed, true);
}

void Scroller::drawDownButton(int32_t pressed)
{
    drawButton(downRect, "DownImage", "DownHImage", pressed, false);
}

void Scroller::drawKnob(int32_t pressed)
{
    qelValue normal = imageProperty("KnobImage");
    if (!normal.isNil()) {
        qelValue pressedImage = imageProperty("KnobHImage");
        showImageClipped(pressed && !pressedImage.isNil() ? pressedImage : normal, knobRect);
    } else if (boolOf("DrawKnob", 0)) {
        paintRect(knobRect, intOf("KnobColor", darkColour));
    }
    if (boolOf("DebugDraw", 0))
        debugBox(knobRect, 0);
}

void Scroller::drawBorder()
{
    if (boolOf("DrawBorder", 0))
        qelFrameRegion(qelRectValue(hotSpotBox.x, hotSpotBox.y, hotSpotBox.w, hotSpotBox.h),
            intOf("BorderColor", darkColour));
}

void Scroller::paintRect(const Box& box, int32_t colour)
{
    if (box.w <= 0 || box.h <= 0)
        return;
    qelRectangle(box.x, box.y, box.w, box.h, colour);
}

void Scroller::debugBox(const Box& b, int arrow)
{
    int32_t r = b.x + b.w - 1;
    int32_t bottom = b.y + b.h - 1;
    qelRectangle(b.x, b.y, b.w, b.h, debugGrey);
    int32_t previous = qelSetColor(debugLight);
    qelDrawLine(b.x + 1, bottom, b.x + 1, b.y + 1);
    qelDrawLine(b.x + 1, b.y + 1, r - 1, b.y + 1);
    qelSetColor(darkColour);
    qelDrawLine(r, b.y, r, bottom + 1);
    qelDrawLine(b.x, bottom, r, bottom);
    qelSetColor(debugShadow);
    qelDrawLine(r - 1, b.y + 1, r - 1, bottom);
    qelDrawLine(b.x + 1, bottom - 1, r - 1, bottom - 1);
    qelSetColor(darkColour);
    if (arrow == 1) {
        // Rows 1, 3, 5 ... pixels wide, each one further left, while narrower than half the box.
        int32_t x = b.x + b.h / 2 - 1;
        int32_t y = b.y + b.h / 4 + 1;
        for (int32_t width = 1; width < b.w / 2; width += 2, --x, ++y)
            qelDrawLine(x, y, x + width, y);
    } else if (arrow == 2) {
        int32_t x = b.x + b.h / 4;
        int32_t y = b.y + b.h / 4 + 1;
        for (int32_t width = 2 * (b.w / 4) - 1; width > 0; width -= 2, ++x, ++y)
            qelDrawLine(x, y, x + width, y);
    }
    qelSetColor(previous);
}
