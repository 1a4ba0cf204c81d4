#include "framework/display/ContextImage.h"

#include "framework/display/ContextValue.h"
#include "framework/runtime/Buffer.h"
#include "framework/runtime/Error.h"
#include "platform/gfx/Bmp.h"

#include <algorithm>

using platform::gfx::Dc;
using platform::gfx::RasterOp;

namespace {

// The sides a context image may have: larger requests make an empty image.
int32_t boundedSide(int32_t side)
{
    return side > 0 && side <= platform::gfx::Surface::maxSide ? side : 0;
}

} // namespace

void qelContextImageObject::makeOwned(int32_t w, int32_t h)
{
    w = boundedSide(w);
    h = boundedSide(h);
    if (w == 0 || h == 0)
        w = h = 0;
    m_pixels = std::make_shared<Pixels>(w, h);
    m_dc = &m_pixels->dc;
    data = qelContextValue(m_dc, m_pixels);
    imageWidth = w;
    imageHeight = h;
}

qelContextImageObject::qelContextImageObject(int32_t w, int32_t h)
{
    makeOwned(w, h);
}

qelContextImageObject::qelContextImageObject(const qelValue& context, int32_t x, int32_t y, int32_t w, int32_t h)
{
    makeOwned(w, h);
    Dc* source = qelContextDc(context);
    if (!source)
        return;
    m_dc->selectPalette(source->palette());
    m_dc->bitBlt(0, 0, imageWidth, imageHeight, *source, x, y, RasterOp::SrcCopy);
}

qelContextImageObject::qelContextImageObject(Dc* dc, int32_t w, int32_t h)
    : m_dc(dc)
{
    data = qelContextValue(dc);
    imageWidth = w;
    imageHeight = h;
}

void qelContextImageObject::renderIntoContext(
    Dc& dc, int32_t x, int32_t y, int32_t w, int32_t h, int32_t sx, int32_t sy, const qelValue& maskImage, RasterOp op)
{
    if (!m_dc)
        return;
    w = std::min(w, imageWidth);
    h = std::min(h, imageHeight);
    if (w <= 0 || h <= 0)
        return;
    int32_t fromX = int32_t(uint32_t(originX) + uint32_t(sx));
    int32_t fromY = int32_t(uint32_t(originY) + uint32_t(sy));
    if (maskImage.isNil()) {
        dc.bitBlt(x, y, w, h, *m_dc, fromX, fromY, op);
        return;
    }
    qelDrawThroughMask(dc, x, y, w, h, maskImage, qelNil, false, w, h, "qelContextImageObject::renderIntoContext",
        [&](Dc& scratch) { scratch.bitBlt(0, 0, w, h, *m_dc, fromX, fromY, RasterOp::SrcCopy); });
}

void qelContextImageObject::stretchIntoContext(Dc& dc, int32_t x, int32_t y, int32_t w, int32_t h, int32_t sx,
    int32_t sy, int32_t sw, int32_t sh, const qelValue& maskImage, RasterOp op)
{
    if (!m_dc || w <= 0 || h <= 0 || sw <= 0 || sh <= 0)
        return;
    int32_t fromX = int32_t(uint32_t(originX) + uint32_t(sx));
    int32_t fromY = int32_t(uint32_t(originY) + uint32_t(sy));
    if (maskImage.isNil()) {
        dc.stretchBlt(x, y, w, h, *m_dc, fromX, fromY, sw, sh, op);
        return;
    }
    qelDrawThroughMask(dc, x, y, w, h, maskImage, qelNil, true, sw, sh, "qelContextImageObject::renderIntoContext",
        [&](Dc& scratch) { scratch.stretchBlt(0, 0, w, h, *m_dc, fromX, fromY, sw, sh, RasterOp::SrcCopy); });
}

qelValue qelContextImageObject::bits()
{
    if (!m_dc || imageWidth <= 0 || imageHeight <= 0) {
        qelError("Cannot get bits from image");
        return qelNil;
    }
    // The picture's own rectangle of the context, as a 24-bit bottom-up bitmap.
    platform::gfx::Surface pixels(imageWidth, imageHeight, 0);
    platform::gfx::MemoryDc copy(pixels);
    copy.bitBlt(0, 0, imageWidth, imageHeight, *m_dc, originX, originY, RasterOp::SrcCopy);
    std::vector<uint8_t> packed = platform::gfx::encodeBmp(platform::gfx::dibFromSurface(pixels), false);
    if (packed.empty()) {
        qelError("Cannot get bits from image");
        return qelNil;
    }
    return qelBufferFromMemory(packed.data(), int32_t(packed.size()), 1);
}

qelContextImageObject* qelContextImageOf(const qelValue& value)
{
    if (value.type() != QEL_IMAGE_TYPE)
        return nullptr;
    return dynamic_cast<qelContextImageObject*>(value.object());
}

qelValue qelMakeContextImage(int32_t width, int32_t height)
{
    return qelMakeObjectValue(QEL_IMAGE_TYPE, new qelContextImageObject(width, height));
}
