#include "framework/display/WindowServices.h"

#include "framework/display/DrawingInterface.h"
#include "framework/display/Geometry.h"
#include "framework/display/WindowObject.h"
#include "framework/runtime/Resource.h"

namespace {

// The picture itself, or the resource of that name; nil for anything else.
qelValue pictureOf(const qelValue& imageOrName)
{
    if (imageOrName.type() == QEL_IMAGE_TYPE)
        return imageOrName;
    return imageOrName.isString() ? qelLoadResource(imageOrName) : qelValue();
}

// A width or height of 0 means the picture's own.
void sizeFrom(const qelValue& image, int32_t& width, int32_t& height)
{
    if (width == 0)
        width = qelWidth(image);
    if (height == 0)
        height = qelHeight(image);
}

} // namespace

void qelShowImageWithPalette(const qelValue& imageOrName, int32_t x, int32_t y, int32_t width, int32_t height)
{
    qelWindowObject* port = qelMainPort();
    qelValue image = pictureOf(imageOrName);
    if (!port || image.type() != QEL_IMAGE_TYPE)
        return;
    sizeFrom(image, width, height);
    // Selecting the picture's palette also draws the picture as the screen's background.
    port->selectPalette(image, x, y, width, height);
}

void qelShowImageAt(
    const qelValue& imageOrName, int32_t x, int32_t y, int32_t width, int32_t height, int32_t sourceX, int32_t sourceY)
{
    qelWindowObject* port = qelMainPort();
    qelValue image = pictureOf(imageOrName);
    if (!port || image.type() != QEL_IMAGE_TYPE)
        return;
    sizeFrom(image, width, height);
    port->drawImage(image, x, y, sourceX, sourceY, width, height);
}

void qelShowImageStretched(const qelValue& imageOrName, int32_t x, int32_t y, int32_t width, int32_t height)
{
    qelWindowObject* port = qelMainPort();
    qelValue image = pictureOf(imageOrName);
    if (!port || image.type() != QEL_IMAGE_TYPE)
        return;
    port->stretchImage(image, x, y, width, height);
}

qelValue qelShowImageArea(const qelValue& imageOrName, int32_t x, int32_t y, int32_t width, int32_t height)
{
    qelValue saved = qelGrabWindowImage(x, y, width, height);
    qelShowImageAt(imageOrName, x, y, width, height, 0, 0);
    return saved;
}

void qelRefreshWindowArea(int32_t x, int32_t y, int32_t width, int32_t height)
{
    qelWindowObject* port = qelMainPort();
    if (!port)
        return;
    if (width != 0 && height != 0) {
        // Media coordinates: the media area's place in the window is added, the drawing origin not.
        int64_t left = int64_t(x) + port->mediaLeft;
        int64_t top = int64_t(y) + port->mediaTop;
        port->invalidateWindow({ platform::gfx::clampToInt(left), platform::gfx::clampToInt(top),
            platform::gfx::clampToInt(left + width), platform::gfx::clampToInt(top + height) });
    }
    port->update();
}

qelValue qelGrabWindowImage(int32_t x, int32_t y, int32_t width, int32_t height)
{
    qelWindowObject* port = qelMainPort();
    if (!port || width <= 0 || height <= 0)
        return qelValue();
    return port->grabImage(x, y, width, height);
}

void qelCopyWindowArea(const qelValue& image, int32_t x, int32_t y, int32_t width, int32_t height)
{
    if (qelWindowObject* port = qelMainPort())
        port->copyToImage(image, x, y, width, height);
}

void qelObjectRectIn(const qelValue& object, int32_t color)
{
    qelRectangle(qelLeft(object), qelTop(object), qelWidth(object), qelHeight(object), color);
}

qelValue qelGrabObjectImage(const qelValue& object)
{
    return qelGrabWindowImage(qelLeft(object), qelTop(object), qelWidth(object), qelHeight(object));
}
