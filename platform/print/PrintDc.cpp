#include "platform/print/PrintDc.h"

namespace platform::print {

namespace {

    constexpr uint32_t whitePixel = 0xFFFFFF;

} // namespace

PrintDc::PrintDc()
    : m_page(PageFormat::width, PageFormat::height, whitePixel)
    , m_raster(m_page)
{
    initClip();
}

void PrintDc::clearPage()
{
    m_page.fill(whitePixel);
}

int PrintDc::deviceCaps(gfx::DeviceCap cap) const
{
    switch (cap) {
    case gfx::DeviceCap::HorzRes:
        return PageFormat::width;
    case gfx::DeviceCap::VertRes:
        return PageFormat::height;
    case gfx::DeviceCap::LogPixelsX:
    case gfx::DeviceCap::LogPixelsY:
        return PageFormat::dotsPerInch;
    case gfx::DeviceCap::BitsPixel:
        return 24;
    default:
        return 0;
    }
}

gfx::MemoryDc& PrintDc::raster()
{
    m_raster.selectPen(pen());
    m_raster.selectBrush(brush());
    m_raster.selectFont(font());
    m_raster.selectPalette(palette());
    m_raster.setTextColor(textColor());
    m_raster.setBkColor(bkColor());
    m_raster.setBkMode(bkMode());
    m_raster.moveTo(currentPosition().x, currentPosition().y);
    m_raster.selectClipRect(clipBox());
    return m_raster;
}

void PrintDc::fillRect(const gfx::Rect& rect, const gfx::Brush& brush)
{
    raster().fillRect(rect, brush);
}

void PrintDc::rectangle(int left, int top, int right, int bottom)
{
    raster().rectangle(left, top, right, bottom);
}

void PrintDc::lineTo(int x, int y)
{
    raster().lineTo(x, y);
    moveTo(x, y);
}

bool PrintDc::bitBlt(int x, int y, int w, int h, const gfx::Dc& source, int sx, int sy, gfx::RasterOp op)
{
    return raster().bitBlt(x, y, w, h, source, sx, sy, op);
}

bool PrintDc::stretchBlt(
    int x, int y, int w, int h, const gfx::Dc& source, int sx, int sy, int sw, int sh, gfx::RasterOp op)
{
    return raster().stretchBlt(x, y, w, h, source, sx, sy, sw, sh, op);
}

int PrintDc::stretchDIBits(
    int x, int y, int w, int h, int sx, int sy, int sw, int sh, const gfx::Dib& dib, gfx::RasterOp op)
{
    return raster().stretchDIBits(x, y, w, h, sx, sy, sw, sh, dib, op);
}

void PrintDc::drawMask(int x, int y, int width, int height, const uint8_t* bits, int pitch, gfx::ColorRef color)
{
    raster().drawMask(x, y, width, height, bits, pitch, color);
}

} // namespace platform::print
