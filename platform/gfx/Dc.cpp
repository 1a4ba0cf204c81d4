#include "platform/gfx/Dc.h"

#include <utility>

namespace platform::gfx {

Pen Dc::selectPen(const Pen& pen)
{
    return std::exchange(m_pen, pen);
}
Brush Dc::selectBrush(const Brush& brush)
{
    return std::exchange(m_brush, brush);
}

std::shared_ptr<const Font> Dc::selectFont(std::shared_ptr<const Font> font)
{
    return std::exchange(m_font, std::move(font));
}

std::shared_ptr<const Palette> Dc::selectPalette(std::shared_ptr<const Palette> palette)
{
    return std::exchange(m_palette, std::move(palette));
}

ColorRef Dc::setTextColor(ColorRef color)
{
    return std::exchange(m_textColor, color & 0xFFFFFF);
}
ColorRef Dc::setBkColor(ColorRef color)
{
    return std::exchange(m_bkColor, color & 0xFFFFFF);
}
BkMode Dc::setBkMode(BkMode mode)
{
    return std::exchange(m_bkMode, mode);
}
Point Dc::moveTo(int x, int y)
{
    return std::exchange(m_position, Point { x, y });
}

void Dc::intersectClipRect(const Rect& rect)
{
    m_clip = m_clip.intersected(rect);
}
void Dc::selectClipRect(const Rect& rect)
{
    m_clip = deviceBounds().intersected(rect);
}
void Dc::resetClip()
{
    m_clip = deviceBounds();
}

} // namespace platform::gfx
