#include "framework/ui/Bitmap.h"

#include "framework/display/DrawingInterface.h"
#include "framework/display/Geometry.h"
#include "framework/display/Image.h"
#include "framework/display/WindowObject.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/StringObject.h"

Bitmap::~Bitmap() = default;

qelValue Bitmap::perform(const qelValue& action, const qelValue& data)
{
    if (action == "DiscardBK") {
        savedImageBackground = qelNil;
        return qelNil;
    }
    if (action == "Draw") {
        draw();
        return qelNil;
    }
    if (action == "dblClicked")
        return qelMakeBoolean(doubleClicked);
    return qelMediaControlObject::perform(action, data);
}

void Bitmap::draw()
{
    qelWindowObject* port = qelMainPort();
    if (!port)
        return;
    int32_t x = getInt("X", 0);
    int32_t y = getInt("Y", 0);
    if (!isEnabled()) {
        if (!savedImageBackground.isNil()) {
            port->drawImage(savedImageBackground, x, y, 0, 0, 0, 0);
            savedImageBackground = qelNil;
        }
        return;
    }
    qelValue image = getProperty("Image");
    if (image.isString())
        image = qelLoadResource(image);
    // A bitmap whose picture cannot be found draws nothing.
    if (image.type() != QEL_IMAGE_TYPE)
        return;
    qelValue mask = getProperty("Mask");
    if (mask.type() == QEL_IMAGE_TYPE)
        qelSetImageMask(image, mask);
    int32_t w = qelWidth(image);
    int32_t h = qelHeight(image);
    bool partial = hasProperty("W") || hasProperty("H");
    if (hasProperty("W"))
        w = getInt("W", w);
    if (hasProperty("H"))
        h = getInt("H", h);
    if (savedImageBackground.isNil() && getBool("Save Background", 0))
        savedImageBackground = port->grabImage(x, y, w, h);
    qelValue clip = getProperty("ClipImage");
    if (!partial)
        port->drawImage(image, x, y, 0, 0, 0, 0);
    else if (clip.type() == QEL_BOOLEAN_TYPE && clip.payload())
        port->drawImage(image, x, y, getInt("SrcX", 0), getInt("SrcY", 0), w, h);
    else
        port->stretchImage(image, x, y, w, h);
}

int32_t Bitmap::track(int32_t x, int32_t y, int32_t modifiers, int32_t clicks)
{
    doubleClicked = clicks > 1 ? 1 : 0;
    return qelMediaControlObject::track(x, y, modifiers, clicks);
}
