#pragma once

// A 32-bit XRGB pixel store: width x height pixels of 0x00RRGGBB, rows top-down, `stride()`
// pixels apart (`pitch()` bytes). It owns its memory; copies are deep.

#include "platform/gfx/Color.h"
#include "platform/gfx/Geometry.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform::gfx {

class Surface {
public:
    // Largest side accepted; larger requests make an empty surface rather than a huge allocation.
    static constexpr int maxSide = 16384;

    Surface() = default;
    Surface(int width, int height, uint32_t fill = 0);

    int width() const { return m_width; }
    int height() const { return m_height; }
    int stride() const { return m_width; }
    size_t pitch() const { return size_t(m_width) * 4; }
    bool isEmpty() const { return m_width == 0 || m_height == 0; }
    Rect bounds() const { return { 0, 0, m_width, m_height }; }

    uint32_t* data() { return m_pixels.data(); }
    const uint32_t* data() const { return m_pixels.data(); }
    uint32_t* row(int y) { return m_pixels.data() + size_t(y) * size_t(m_width); }
    const uint32_t* row(int y) const { return m_pixels.data() + size_t(y) * size_t(m_width); }

    // Unchecked access: callers clip first.
    uint32_t pixel(int x, int y) const { return row(y)[x]; }
    void setPixel(int x, int y, uint32_t value) { row(y)[x] = value; }

    // Fills the part of `rect` inside the surface.
    void fill(const Rect& rect, uint32_t value);
    void fill(uint32_t value) { fill(bounds(), value); }

    bool operator==(const Surface& other) const;

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<uint32_t> m_pixels;
};

} // namespace platform::gfx
