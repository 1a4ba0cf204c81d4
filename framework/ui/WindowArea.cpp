#include "framework/ui/WindowArea.h"

#include "framework/display/DrawingInterface.h"
#include "framework/display/WindowObject.h"

qelValue qelUiGrabArea(int32_t x, int32_t y, int32_t width, int32_t height)
{
    qelWindowObject* port = qelMainPort();
    if (!port || width <= 0 || height <= 0)
        return qelNil;
    return port->grabImage(x, y, width, height);
}

void qelUiCopyArea(const qelValue& image, int32_t x, int32_t y, int32_t width, int32_t height)
{
    if (qelWindowObject* port = qelMainPort())
        port->copyToImage(image, x, y, width, height);
}

void qelUiDrawImage(const qelValue& image, int32_t x, int32_t y)
{
    if (image.isNil())
        return;
    if (qelWindowObject* port = qelMainPort())
        port->drawImage(image, x, y, 0, 0, 0, 0);
}

void qelUiRefreshArea(int32_t x, int32_t y, int32_t width, int32_t height)
{
    qelWindowObject* port = qelMainPort();
    if (!port)
        return;
    if (width != 0 && height != 0) {
        int64_t left = int64_t(x) + port->mediaLeft;
        int64_t top = int64_t(y) + port->mediaTop;
        port->invalidateWindow({ platform::gfx::clampToInt(left), platform::gfx::clampToInt(top),
            platform::gfx::clampToInt(left + width), platform::gfx::clampToInt(top + height) });
    }
    port->update();
}
