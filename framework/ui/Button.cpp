#include "framework/ui/Button.h"

#include "framework/display/DrawingInterface.h"
#include "framework/display/Image.h"
#include "framework/display/Region.h"
#include "framework/display/WindowObject.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Environment.h"
#include "framework/runtime/EventQueue.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/StringObject.h"
#include "framework/ui/UiRefresh.h"

#include <algorithm>

Button::Button(const qelValue& data)
    : qelMediaControlObject(data)
    , layoutPending(data.isNil() ? 0 : 1)
{
}

Button::~Button() = default;

qelValue Button::getImage(const char* key)
{
    qelValue value = qelControlObject::getProperty(key);
    return value.isString() ? qelLoadImageResource(value) : value;
}

qelValue Button::upImage()
{
    return hasProperty("UpImage") ? getImage("UpImage") : savedButtonBackground;
}

qelValue Button::imageBounds(const qelValue& image, const qelValue& gathered, int32_t x, int32_t y)
{
    qelValue picture = qelResolve(image);
    if (picture.type() != QEL_IMAGE_TYPE)
        return hotSpot();
    qelValue spot = hotSpot();
    bool bothDefault = x == -1 && y == -1;
    if (x == -1)
        x = spot.isNil() ? 0 : qelLeft(spot);
    if (y == -1)
        y = spot.isNil() ? 0 : qelTop(spot);
    int32_t w = qelWidth(picture);
    int32_t h = qelHeight(picture);
    qelValue box = gathered.type() == QEL_REGION_TYPE ? gathered : qelRectValue(x, y, w, h);
    if (bothDefault)
        return box;
    int32_t left = qelLeft(box);
    int32_t top = qelTop(box);
    int32_t boxWidth = qelWidth(box);
    int32_t boxHeight = qelHeight(box);
    int32_t newX = std::min(x, left);
    int32_t newY = std::min(y, top);
    // Not a true union: the box keeps its own width or takes the image's, never their span.
    int32_t newWidth = newX + w < left + boxWidth ? boxWidth : w;
    int32_t newHeight = newY + h < top + boxHeight ? boxHeight : h;
    return qelRectValue(newX, newY, newWidth, newHeight);
}

void Button::layout()
{
    layoutPending = 0;
    imageRect = qelResolve(qelControlObject::getProperty("ImageRect"));
    if (imageRect.type() != QEL_REGION_TYPE) {
        qelValue gathered;
        if (hasProperty("DownImage"))
            gathered = imageBounds(getImage("DownImage"), gathered, getInt("DownX", -1), getInt("DownY", -1));
        if (hasProperty("DisabledImage"))
            gathered
                = imageBounds(getImage("DisabledImage"), gathered, getInt("DisabledX", -1), getInt("DisabledY", -1));
        imageRect = gathered.type() == QEL_REGION_TYPE ? gathered : hotSpot();
    }
    savedButtonBackground = qelNil;
    qelWindowObject* port = qelMainPort();
    if (port && imageRect.type() == QEL_REGION_TYPE)
        savedButtonBackground
            = port->grabImage(qelLeft(imageRect), qelTop(imageRect), qelWidth(imageRect), qelHeight(imageRect));
}

void Button::showImage(const qelValue& image, const qelValue& mask, int32_t x, int32_t y)
{
    if (image.isNil())
        return;
    qelValue picture = qelResolve(image);
    if (picture.type() != QEL_IMAGE_TYPE)
        return;
    bool hasRect = imageRect.type() == QEL_REGION_TYPE;
    if (x == -1)
        x = hasRect ? qelLeft(imageRect) : 0;
    if (y == -1)
        y = hasRect ? qelTop(imageRect) : 0;
    qelWindowObject* port = qelMainPort();
    if (!port)
        return;
    if (!savedButtonBackground.isNil())
        port->drawImage(savedButtonBackground, x, y, 0, 0, 0, 0);
    if (!mask.isNil()) {
        qelValue maskImage = qelResolve(mask);
        if (maskImage.type() == QEL_IMAGE_TYPE)
            qelSetImageMask(picture, maskImage);
    }
    port->drawImage(picture, x, y, 0, 0, 0, 0);
}

qelValue Button::perform(const qelValue& action, const qelValue& data)
{
    if (action == "Draw" || action == "Redraw") {
        layoutPending = 1;
        draw();
        return qelNil;
    }
    return qelMediaControlObject::perform(action, data);
}

void Button::draw()
{
    if (layoutPending)
        layout();
    if (isEnabled()) {
        showImage(upImage(), getImage("UpMask"), -1, -1);
    } else if (isVisible()) {
        showImage(
            getImage("DisabledImage"), getImage("DisabledMask"), getInt("DisabledX", -1), getInt("DisabledY", -1));
    } else if (!savedButtonBackground.isNil() && imageRect.type() == QEL_REGION_TYPE) {
        if (qelWindowObject* port = qelMainPort())
            port->drawImage(savedButtonBackground, qelLeft(imageRect), qelTop(imageRect), 0, 0, 0, 0);
    }
}

void Button::showPressed()
{
    if (hasProperty("DownX"))
        showImage(getImage("DownImage"), getImage("DownMask"), getInt("DownX", 0), getInt("DownY", 0));
    else
        showImage(getImage("DownImage"), getImage("DownMask"), -1, -1);
}

int32_t Button::track(int32_t x, int32_t y, int32_t modifiers, int32_t)
{
    if (!isEnabled())
        return 0;
    rolloverOff(x, y, modifiers, qelNil);
    showPressed();
    if (hasProperty("Sound"))
        playClickSound(getProperty("Sound"), 0);
    qelValue spot = hotSpot();
    trackStart();
    bool inside = true;
    while (true) {
        qelEvent event;
        qelGetEvent(event, QEL_DRAG_EVENT | QEL_MOUSE_UP_EVENT, -1);
        // An empty event comes only when nothing can be posted any more: the press ends there.
        if (event.type == QEL_MOUSE_UP_EVENT || event.type == 0)
            break;
        if (event.type != QEL_DRAG_EVENT)
            continue;
        qelLocalizeEvent(event);
        bool contains = !spot.isNil() && qelContainsPoint(spot, event.x, event.y);
        if (contains && !inside) {
            inside = true;
            showPressed();
            qelUiUpdateWindow();
            trackChanged();
        } else if (!contains && inside) {
            inside = false;
            showImage(upImage(), getImage("UpMask"), -1, -1);
            qelUiUpdateWindow();
            trackChanged();
        }
    }
    showImage(upImage(), getImage("UpMask"), -1, -1);
    trackEnd();
    return inside ? 1 : 0;
}
