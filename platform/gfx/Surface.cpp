#include "platform/gfx/Surface.h"

#include <algorithm>

namespace platform::gfx {

Surface::Surface(int width, int height, uint32_t fill)
{
    if (width <= 0 || height <= 0 || width > maxSide || height > maxSide)
        return;
    m_width = width;
    m_height = height;
    m_pixels.assign(size_t(width) * size_t(height), fill);
}

void Surface::fill(const Rect& rect, uint32_t value)
{
    Rect r = rect.intersected(bounds());
    for (int y = r.top; y < r.bottom; ++y)
        std::fill(row(y) + r.left, row(y) + r.right, value);
}

bool Surface::operator==(const Surface& other) const
{
    return m_width == other.m_width && m_height == other.m_height && m_pixels == other.m_pixels;
}

} // namespace platform::gfx
