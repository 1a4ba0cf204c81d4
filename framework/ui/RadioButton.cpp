#include "framework/ui/RadioButton.h"

#include "framework/display/DrawingInterface.h"
#include "framework/display/Geometry.h"
#include "framework/display/Image.h"
#include "framework/display/Region.h"
#include "framework/display/WindowObject.h"
#include "framework/display/WindowServices.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/StringObject.h"
#include "framework/ui/Perform.h"

#include <algorithm>

RadioButton::RadioButton(const qelValue& data)
    : qelMediaControlObject(data)
{
}

RadioButton::~RadioButton() = default;

qelValue RadioButton::perform(const qelValue& action, const qelValue& data)
{
    if (action == "IsSelected")
        return qelMakeBoolean(selected);
    if (action == "Select") {
        setSelected(qelIsTrue(data));
        return qelNil;
    }
    if (action == "Disable") {
        if (!selected) {
            setProperty("Disabled", data);
            draw();
        } else if (qelIsTrue(data)) {
            setProperty("Disabled", data);
            setBool("Selected", 0);
            draw();
        }
        return qelNil;
    }
    return qelControlObject::perform(action, data);
}

void RadioButton::setSelected(int32_t flag)
{
    int32_t old = selected;
    selected = flag ? 1 : 0;
    setBool("Selected", selected);
    if (selected != old)
        setBool("Disabled", selected);
    if (drawn)
        draw();
}

int32_t RadioButton::hitTest(int32_t x, int32_t y)
{
    if (selected || cachedSpot.isNil())
        return 0;
    return qelContainsPoint(cachedSpot, x, y);
}

void RadioButton::draw()
{
    if (!isVisible())
        return;
    selected = getBool("Selected", 0);
    int32_t disabled = getBool("Disabled", 0);
    selectedImage = imageProperty("SelectedImage");
    disabledImage = imageProperty("DisabledImage");
    mask = imageProperty("Mask");
    if (!properties.isNil() && cachedSpot.isNil()) {
        cachedSpot = hotSpot();
        spotLeft = cachedSpot.isNil() ? 0 : qelLeft(cachedSpot);
        spotTop = cachedSpot.isNil() ? 0 : qelTop(cachedSpot);
        imageX = getInt("SelectedX", spotLeft);
        imageY = getInt("SelectedY", spotTop);
        if (!selectedImage.isNil()) {
            if (hasProperty("DeselectedImage")) {
                deselectedImage = imageProperty("DeselectedImage");
            } else if (deselectedImage.isNil()) {
                // Every look is drawn at the image corner, so the screen that stands for the
                // deselected look is taken there, as large as the largest look.
                int32_t w = qelWidth(selectedImage);
                int32_t h = qelHeight(selectedImage);
                if (!disabledImage.isNil()) {
                    w = std::max(w, qelWidth(disabledImage));
                    h = std::max(h, qelHeight(disabledImage));
                }
                if (qelWindowObject* port = qelMainPort())
                    deselectedImage = port->grabImage(imageX, imageY, w, h);
            }
            if (!mask.isNil())
                qelSetImageMask(selectedImage, mask);
        }
        drawn = 1;
    }
    qelValue look;
    if (selected && !selectedImage.isNil())
        look = selectedImage;
    else if (disabled && !deselectedImage.isNil())
        look = disabledImage;
    else
        look = deselectedImage;
    if (look.isNil())
        return;
    qelWindowObject* port = qelMainPort();
    if (!port)
        return;
    if (!savedLook.isNil())
        port->drawImage(savedLook, imageX, imageY, 0, 0, 0, 0);
    savedLook = qelShowImageArea(look, imageX, imageY, qelWidth(look), qelHeight(look));
}

void RadioButton::showStraight(const qelValue& look)
{
    if (look.isNil())
        return;
    if (qelWindowObject* port = qelMainPort())
        port->drawImage(look, imageX, imageY, 0, 0, 0, 0);
}

int32_t RadioButton::track(int32_t, int32_t, int32_t, int32_t)
{
    if (!isEnabled())
        return 0;
    if (hasProperty("Sound"))
        playClickSound(getProperty("Sound"), 0);
    if (!selected)
        showStraight(selectedImage);
    trackStart();
    PressEnd end = followPress(cachedSpot);
    if (!selected) {
        if (end.releasedInside) {
            selected = 1;
            showStraight(selectedImage);
        } else {
            showStraight(deselectedImage);
        }
    }
    trackEnd();
    if (selected && hasProperty("RadioGroup")) {
        // The group may drop its members while it answers: this button lives through the call.
        qelValue self = qelControlValue(this);
        qelPerform(getProperty("RadioGroup"), "Notify", getProperty("Name"));
    }
    setSelected(selected);
    return selected;
}

int32_t RadioButton::pressMoved(int32_t inside, int32_t)
{
    if (selected)
        return 0;
    showStraight(inside ? selectedImage : deselectedImage);
    return 1;
}
