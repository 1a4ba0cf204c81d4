#include "framework/display/WindowServices.h"

#include "framework/display/DrawingInterface.h"
#include "framework/display/Geometry.h"
#include "framework/display/WindowObject.h"
#include "framework/runtime/Resource.h"

namespace {

// The picture itself, or the resource of that name.
qelValue pictureOf(const qelValue& imageOrName)
{
    if (imageOrName.type() == QEL_IMAGE_TYPE)
        return imageOrName;
    return qelLoadResource(imageOrName);
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
    if (width != 0 && height != 0)
        port->updateRect(x, y, width, height);
    else
        port->update();
}

qelValue qelGrabWindowImage(int32_t x, int32_t y, int32_t width, int32_t height)
{
    qelWindowObject* port = qelMainPort();
    return port ? port->grabImage(x, y, width, height) : qelValue();
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
