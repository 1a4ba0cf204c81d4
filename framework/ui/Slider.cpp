#include "framework/ui/Slider.h"

#include "framework/display/Geometry.h"
#include "framework/display/Image.h"
#include "framework/display/WindowServices.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/EventQueue.h"
#include "framework/ui/ListScrolling.h"
#include "framework/ui/UiRefresh.h"

#include <cstdlib>

Slider::Slider(const qelValue& data)
    : qelMediaControlObject(data)
{
}

Slider::~Slider() = default;

int32_t Slider::span()
{
    return qelClampInt(std::llabs(int64_t(intOf("Maximum")) - intOf("Minimum")), 0, INT32_MAX);
}

Slider::Box Slider::hotSpotBox()
{
    qelValue spot = hotSpot();
    if (spot.isNil())
        return {};
    return { qelLeft(spot), qelTop(spot), qelWidth(spot), qelHeight(spot) };
}

void Slider::setLow(int32_t n)
{
    int32_t minimum = intOf("Minimum");
    int32_t maximum = intOf("Maximum");
    int64_t high = intOf("High");
    int64_t range = intOf("Range");
    int64_t low = n;
    if (low < minimum) {
        low = minimum;
    } else if (!isDouble() && low > maximum) {
        low = maximum;
    } else if (isDouble() && low > high - range) {
        high = low <= maximum - range ? low + range : maximum;
        low = high - range;
    }
    setInt("Low", qelClampInt(low, INT32_MIN, INT32_MAX));
    setInt("High", qelClampInt(high, INT32_MIN, INT32_MAX));
}

void Slider::setHigh(int32_t n)
{
    int32_t minimum = intOf("Minimum");
    int32_t maximum = intOf("Maximum");
    int64_t low = intOf("Low");
    int64_t range = intOf("Range");
    int64_t high = n;
    if (high > maximum) {
        high = maximum;
    } else if (high < low + range) {
        if (high >= minimum + range) {
            low = high - range;
        } else {
            low = minimum;
            high = minimum + range;
        }
    }
    setInt("Low", qelClampInt(low, INT32_MIN, INT32_MAX));
    setInt("High", qelClampInt(high, INT32_MIN, INT32_MAX));
}

void Slider::loadImages()
{
    initialized = 1;
    savedScreen = qelNil;
    lowOffset = 0;
    highOffset = 0;
    thumbImage = imageProperty("ThumbImage");
    barImage = imageProperty("BarImage");
    qelValue mask = imageProperty("ThumbMask");
    if (hasProperty("ThumbMask") && thumbImage.type() == QEL_IMAGE_TYPE)
        qelSetImageMask(thumbImage, mask);
}

int32_t Slider::thumbLength()
{
    if (!initialized)
        loadImages();
    return vertical() ? qelHeightOf(thumbImage) : qelWidthOf(thumbImage);
}

Slider::Box Slider::thumbRect(int32_t thumb, int32_t spanValue, const Box& h)
{
    int32_t v = intOf(thumb == 1 ? "Low" : "High");
    int32_t length = thumbLength();
    int32_t travel = qelClampInt(int64_t(vertical() ? h.h : h.w) - length, INT32_MIN, INT32_MAX);
    int32_t offset = qelScaleInt(int64_t(v) - intOf("Minimum"), travel, spanValue);
    if (vertical())
        return { h.x, h.y + offset, h.w, length };
    return { h.x + offset, h.y, length, h.h };
}

Slider::Box Slider::barRect(const Box& low, const Box& high)
{
    if (vertical())
        return { low.x + low.w / 2 - 2, low.y + low.h, 4, high.y - (low.y + low.h) };
    return { low.x + low.w, low.y + low.h / 2 - 2, high.x - (low.x + low.w), 4 };
}

void Slider::draw()
{
    if (!initialized)
        loadImages();
    if (!isEnabled())
        return;
    Box h = hotSpotBox();
    if (savedScreen.isNil())
        savedScreen = qelGrabWindowImage(h.x, h.y, h.w, h.h);
    else
        qelShowImageAt(savedScreen, h.x, h.y, 0, 0, 0, 0);
    // Without a thumb picture there is nothing to show and no length to place it by.
    if (thumbImage.type() != QEL_IMAGE_TYPE)
        return;
    int32_t s = span();
    Box low = thumbRect(1, s, h);
    if (isDouble() && s > 0) {
        Box high = thumbRect(2, s, h);
        Box bar = barRect(low, high);
        if (bar.w > 0 && barImage.type() == QEL_IMAGE_TYPE)
            qelShowImageAt(barImage, bar.x, bar.y, bar.w, qelHeightOf(barImage), 0, 0);
        qelShowImageAt(thumbImage, low.x, low.y, 0, 0, 0, 0);
        qelShowImageAt(thumbImage, high.x, high.y, 0, 0, 0, 0);
    } else {
        qelShowImageAt(thumbImage, low.x, low.y, 0, 0, 0, 0);
    }
}

void Slider::pointerOffset(int32_t x, int32_t y, int32_t& travel, int32_t& offset)
{
    Box h = hotSpotBox();
    int32_t length = thumbLength();
    travel = qelClampInt(int64_t(vertical() ? h.h : h.w) - length, INT32_MIN, INT32_MAX);
    offset = qelClampInt(int64_t(vertical() ? y - h.y : x - h.x) - length / 2, INT32_MIN, INT32_MAX);
}

int32_t Slider::thumbAt(int32_t x, int32_t y)
{
    int32_t s = span();
    if (s == 0)
        return 0;
    Box h = hotSpotBox();
    int32_t length = thumbLength();
    int32_t travel = qelClampInt(int64_t(vertical() ? h.h : h.w) - length, INT32_MIN, INT32_MAX);
    int64_t p = vertical() ? int64_t(y) - h.y : int64_t(x) - h.x;
    int64_t minimum = intOf("Minimum");
    int64_t lowEnd = int64_t(qelScaleInt(intOf("Low") - minimum, travel, s)) + length;
    int64_t highStart = qelScaleInt(intOf("High") - minimum, travel, s);
    if (p <= lowEnd)
        return 1;
    return p >= highStart ? 2 : 3;
}

void Slider::beginRangeDrag(int32_t x, int32_t y)
{
    int32_t travel = 0, offset = 0;
    pointerOffset(x, y, travel, offset);
    if (travel > 0) {
        int64_t v = int64_t(intOf("Minimum")) + qelScaleInt(span(), offset, travel);
        lowOffset = qelClampInt(intOf("Low") - v, INT32_MIN, INT32_MAX);
        highOffset = qelClampInt(intOf("High") - v, INT32_MIN, INT32_MAX);
    } else {
        lowOffset = 0;
        highOffset = 0;
    }
}

void Slider::moveTo(int32_t x, int32_t y)
{
    int32_t travel = 0, offset = 0;
    pointerOffset(x, y, travel, offset);
    // A track no longer than the thumb has no positions to choose from.
    if (travel <= 0)
        return;
    int32_t minimum = intOf("Minimum");
    int32_t maximum = intOf("Maximum");
    int64_t v = int64_t(minimum) + qelScaleInt(offset, span(), travel);
    auto clamp = [](int64_t n) { return qelClampInt(n, INT32_MIN, INT32_MAX); };
    if (activeThumb == 1) {
        setLow(clamp(v));
    } else if (activeThumb == 2) {
        setHigh(clamp(v));
    } else {
        int64_t lo = v + lowOffset;
        int64_t hi = v + highOffset;
        if (lo < minimum) {
            setLow(minimum);
            setHigh(clamp(int64_t(minimum) + highOffset - lowOffset));
        } else if (hi <= maximum) {
            setLow(clamp(lo));
            setHigh(clamp(hi));
        } else {
            setLow(clamp(int64_t(maximum) - highOffset + lowOffset));
            setHigh(maximum);
        }
    }
    draw();
}

int32_t Slider::track(int32_t x, int32_t y, int32_t, int32_t)
{
    activeThumb = isDouble() ? thumbAt(x, y) : 1;
    if (activeThumb == 3)
        beginRangeDrag(x, y);
    moveTo(x, y);
    changed();
    qelUiUpdateWindow();
    qelFollowDrags([this](int32_t px, int32_t py) {
        moveTo(px, py);
        changed();
        qelUiUpdateWindow();
    });
    return 1;
}

qelValue Slider::perform(const qelValue& action, const qelValue& data)
{
    auto number = [&] { return qelIntValue(data); };
    auto bounded = [&](int32_t floor) {
        int32_t n = number();
        int32_t most = qelClampInt(int64_t(intOf("Maximum")) - intOf("Minimum"), INT32_MIN, INT32_MAX);
        if (n < 0)
            n = floor;
        else if (n > most)
            n = most;
        return n;
    };
    if (action == "IsVertical")
        return qelMakeBoolean(vertical());
    if (action == "SetVertical") {
        setBool("Vertical", qelIsTrue(data));
        return qelNil;
    }
    if (action == "IsDouble")
        return qelMakeBoolean(isDouble());
    if (action == "SetDouble") {
        setBool("Double", qelIsTrue(data));
        return qelNil;
    }
    if (action == "GetMinimum")
        return qelValue(intOf("Minimum"));
    if (action == "SetMinimum") {
        setInt("Minimum", number());
        return qelNil;
    }
    if (action == "GetMaximum")
        return qelValue(intOf("Maximum"));
    if (action == "SetMaximum") {
        setInt("Maximum", number());
        return qelNil;
    }
    if (action == "GetIncrement")
        return qelValue(intOf("Increment"));
    if (action == "SetIncrement") {
        setInt("Increment", bounded(1));
        return qelNil;
    }
    if (action == "GetPos" || action == "GetLow")
        return qelValue(intOf("Low"));
    if (action == "SetPos" || action == "SetLow") {
        setLow(number());
        return qelNil;
    }
    if (action == "GetHigh")
        return qelValue(intOf("High"));
    if (action == "SetHigh") {
        setHigh(number());
        return qelNil;
    }
    if (action == "GetRange")
        return qelValue(intOf("Range"));
    if (action == "SetRange") {
        setInt("Range", bounded(0));
        return qelNil;
    }
    return qelMediaControlObject::perform(action, data);
}
