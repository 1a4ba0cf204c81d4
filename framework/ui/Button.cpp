#include "framework/ui/Button.h"

#include "framework/display/DrawingInterface.h"
#include "framework/display/Image.h"
#include "framework/display/Region.h"
#include "framework/display/WindowObject.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Environment.h"
#include "framework/runtime/EventQueue.h"
#include "framework/runtime/FileLocator.h"
#include "framework/runtime/List.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/ui/UiRefresh.h"

#include <algorithm>

namespace {

// A picture value: references followed and names loaded; anything else nil.
qelValue pictureOf(const qelValue& value)
{
    qelValue picture = qelLoadImageResource(qelResolve(value));
    return picture.type() == QEL_IMAGE_TYPE && picture.object() ? picture : qelNil;
}

} // namespace

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
    // The span of both, so that the background saved under it covers every image drawn there
    // (keeping the box's width or the image's alone would leave traces of a wider or offset one).
    int64_t left = std::min<int64_t>(x, qelLeft(box));
    int64_t top = std::min<int64_t>(y, qelTop(box));
    int64_t right = std::max<int64_t>(int64_t(x) + w, int64_t(qelLeft(box)) + qelWidth(box));
    int64_t bottom = std::max<int64_t>(int64_t(y) + h, int64_t(qelTop(box)) + qelHeight(box));
    return qelRectValue(int32_t(left), int32_t(top), int32_t(std::min<int64_t>(right - left, INT32_MAX)),
        int32_t(std::min<int64_t>(bottom - top, INT32_MAX)));
}

void Button::layout()
{
    layoutPending = 0;
    addedShown = 0;
    m_addedListShown = 0;
    addedCopy = qelNil;
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
    int32_t rectLeft = hasRect ? qelLeft(imageRect) : 0;
    int32_t rectTop = hasRect ? qelTop(imageRect) : 0;
    if (x == -1)
        x = rectLeft;
    if (y == -1)
        y = rectTop;
    qelWindowObject* port = qelMainPort();
    if (!port)
        return;
    // The background was grabbed at the rectangle's corner and goes back there: drawn at an
    // image placed inside the rectangle it would paint a shifted copy of the screen.
    if (!savedButtonBackground.isNil())
        port->drawImage(savedButtonBackground, rectLeft, rectTop, 0, 0, 0, 0);
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
        showUp();
    } else if (isVisible()) {
        showImage(
            getImage("DisabledImage"), getImage("DisabledMask"), getInt("DisabledX", -1), getInt("DisabledY", -1));
    } else if (!savedButtonBackground.isNil() && imageRect.type() == QEL_REGION_TYPE) {
        if (qelWindowObject* port = qelMainPort())
            port->drawImage(savedButtonBackground, qelLeft(imageRect), qelTop(imageRect), 0, 0, 0, 0);
    }
}

void Button::showUp()
{
    showImage(upImage(), getImage("UpMask"), -1, -1);
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
    PressEnd end = followPress(spot);
    // The release's own position does not count: the state after the last drag does.
    showUp();
    trackEnd();
    return end.inside ? 1 : 0;
}

int32_t Button::pressMoved(int32_t inside, int32_t crossed)
{
    if (!crossed)
        return 0;
    if (inside)
        showPressed();
    else
        showUp();
    return 1;
}

qelValue Button::rolloverOn(int32_t x, int32_t y, int32_t modifiers)
{
    qelValue added = getProperty("AddedImage");
    if (added.isNil())
        return qelMediaControlObject::rolloverOn(x, y, modifiers);
    addedCopy = qelCopy(added);
    qelWindowObject* port = qelMainPort();
    if (added.type() == QEL_TABLE_TYPE) {
        qelValue image = pictureOf(qelGet(added, "Image"));
        if (image.isNil() || !port)
            return qelMediaControlObject::rolloverOn(x, y, modifiers);
        int32_t ox = qelIntValue(qelGetOr(added, "Origin X", qelMakeInt(0)));
        int32_t oy = qelIntValue(qelGetOr(added, "Origin Y", qelMakeInt(0)));
        qelUiUpdateWindow();
        qelPut(addedCopy, "Image", port->grabImage(ox, oy, qelWidth(image), qelHeight(image)));
        port->drawImage(image, ox, oy, 0, 0, 0, 0);
        addedShown = 1;
        return qelMediaControlObject::rolloverOn(x, y, modifiers);
    }
    if (added.type() == QEL_LIST_TYPE) {
        m_addedListShown = 0;
        int32_t count = qelCount(added);
        for (int32_t i = 0; i < count; ++i) {
            qelValue element = qelGet(added, i);
            qelValue image = element.type() == QEL_LIST_TYPE && qelCount(element) >= 3 ? pictureOf(qelGet(element, 0))
                                                                                       : qelNil;
            // The elements already shown stay listed as shown, so that the pointer leaving
            // puts their screens back even though this one stops the list.
            if (image.isNil() || !port) {
                addedShown = m_addedListShown > 0 ? 1 : addedShown;
                return qelMediaControlObject::rolloverOn(x, y, modifiers);
            }
            qelValue shown = qelCopy(element);
            int32_t ex = qelIntValue(qelGet(element, 1));
            int32_t ey = qelIntValue(qelGet(element, 2));
            qelUiUpdateWindow();
            qelPut(shown, 0, port->grabImage(ex, ey, qelWidth(image), qelHeight(image)));
            qelPut(addedCopy, i, shown);
            port->drawImage(image, ex, ey, 0, 0, 0, 0);
            m_addedListShown = i + 1;
        }
        addedShown = 1;
    }
    return qelMediaControlObject::rolloverOn(x, y, modifiers);
}

void Button::rolloverOff(int32_t x, int32_t y, int32_t modifiers, const qelValue& state)
{
    qelWindowObject* port = qelMainPort();
    if (addedShown && port) {
        if (addedCopy.type() == QEL_TABLE_TYPE) {
            port->drawImage(qelGet(addedCopy, "Image"), qelIntValue(qelGetOr(addedCopy, "Origin X", qelMakeInt(0))),
                qelIntValue(qelGetOr(addedCopy, "Origin Y", qelMakeInt(0))), 0, 0, 0, 0);
        } else if (addedCopy.type() == QEL_LIST_TYPE) {
            for (int32_t i = std::min(m_addedListShown, qelCount(addedCopy)) - 1; i >= 0; --i) {
                qelValue element = qelGet(addedCopy, i);
                port->drawImage(qelGet(element, 0), qelIntValue(qelGet(element, 1)), qelIntValue(qelGet(element, 2)), 0,
                    0, 0, 0);
            }
        }
        qelUiUpdateWindow();
    }
    qelMediaControlObject::rolloverOff(x, y, modifiers, state);
}

void Button::flash()
{
    qelValue down = getImage("DownImage");
    if (down.isNil() || imageRect.type() != QEL_REGION_TYPE)
        return;
    qelWindowObject* port = qelMainPort();
    if (!port)
        return;
    int32_t left = qelLeft(imageRect);
    int32_t top = qelTop(imageRect);
    qelValue screen = port->grabImage(left, top, qelWidth(imageRect), qelHeight(imageRect));
    showImage(down, getImage("DownMask"), -1, -1);
    qelUiUpdateWindow();
    qelWait(100);
    port->drawImage(screen, left, top, 0, 0, 0, 0);
    qelUiUpdateWindow();
}
