#include "platform/gfx/MemoryDc.h"

#include "platform/gfx/Raster.h"

#include <utility>

namespace platform::gfx {

MemoryDc::MemoryDc(Surface& surface)
    : m_surface(&surface)
{
    initClip();
}

Surface& MemoryDc::selectSurface(Surface& surface)
{
    Surface* previous = std::exchange(m_surface, &surface);
    resetClip();
    return *previous;
}

int MemoryDc::deviceCaps(DeviceCap cap) const
{
    switch (cap) {
    case DeviceCap::BitsPixel:
        return 32;
    case DeviceCap::HorzRes:
        return m_surface->width();
    case DeviceCap::VertRes:
        return m_surface->height();
    case DeviceCap::RasterCaps:
        return 0; // not a palette device
    case DeviceCap::LogPixelsX:
    case DeviceCap::LogPixelsY:
        return dotsPerInch;
    case DeviceCap::SizePalette:
        return 0;
    }
    return 0;
}

void MemoryDc::fillRect(const Rect& rect, const Brush& brush)
{
    raster::fillRect(*m_surface, clipBox(), rect, toPixel(brush.color));
}

void MemoryDc::rectangle(int left, int top, int right, int bottom)
{
    Rect r { std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom) };
    raster::frameRect(*m_surface, clipBox(), r, pen().width, toPixel(pen().color), toPixel(brush().color));
}

void MemoryDc::lineTo(int x, int y)
{
    Point from = moveTo(x, y);
    raster::line(*m_surface, clipBox(), from, { x, y }, pen().width, toPixel(pen().color));
}

bool MemoryDc::bitBlt(int x, int y, int w, int h, const Dc& source, int sx, int sy, RasterOp op)
{
    const Surface* src = source.surface();
    if (!src || w <= 0 || h <= 0)
        return false;
    return raster::blit(*m_surface, clipBox(), Rect::fromSize(x, y, w, h), *src, sx, sy, op);
}

bool MemoryDc::stretchBlt(int x, int y, int w, int h, const Dc& source, int sx, int sy, int sw, int sh, RasterOp op)
{
    const Surface* src = source.surface();
    if (!src || w <= 0 || h <= 0 || sw <= 0 || sh <= 0)
        return false;
    return raster::stretch(*m_surface, clipBox(), Rect::fromSize(x, y, w, h), *src, Rect::fromSize(sx, sy, sw, sh), op);
}

int MemoryDc::stretchDIBits(int x, int y, int w, int h, int sx, int sy, int sw, int sh, const Dib& dib, RasterOp op)
{
    if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0 || !dib.isValid())
        return 0;
    // A bottom-up bitmap counts source rows from its bottom edge.
    int64_t top = dib.isBottomUp() ? int64_t(dib.height()) - sy - sh : sy;
    if (top < -Dib::maxSide || top > Dib::maxSide)
        return 0;
    return raster::stretchDib(
        *m_surface, clipBox(), Rect::fromSize(x, y, w, h), dib, Rect::fromSize(sx, int(top), sw, sh), op);
}

void MemoryDc::drawMask(int x, int y, int width, int height, const uint8_t* bits, int pitch, ColorRef color)
{
    if (width <= 0 || height <= 0 || !bits)
        return;
    raster::mask(*m_surface, clipBox(), x, y, width, height, bits, pitch, toPixel(color));
}

} // namespace platform::gfx
