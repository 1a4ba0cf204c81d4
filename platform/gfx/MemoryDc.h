#pragma once

// A device context that draws into a Surface it does not own (an offscreen buffer, a window's
// front buffer, an image's pixels). The surface must outlive the context or be replaced with
// selectSurface first. It reports a true-colour, 96 dots-per-inch device with no palette.

#include "platform/gfx/Dc.h"
#include "platform/gfx/Surface.h"

namespace platform::gfx {

class MemoryDc final : public Dc {
public:
    static constexpr int dotsPerInch = 96;

    explicit MemoryDc(Surface& surface);

    // Draws into another surface from now on (the clip becomes that whole surface); returns the
    // previous one.
    Surface& selectSurface(Surface& surface);
    Surface& target() { return *m_surface; }

    Rect deviceBounds() const override { return m_surface->bounds(); }
    int deviceCaps(DeviceCap cap) const override;
    const Surface* surface() const override { return m_surface; }

    void fillRect(const Rect& rect, const Brush& brush) override;
    void rectangle(int left, int top, int right, int bottom) override;
    void lineTo(int x, int y) override;
    bool bitBlt(int x, int y, int w, int h, const Dc& source, int sx, int sy, RasterOp op) override;
    bool stretchBlt(int x, int y, int w, int h, const Dc& source, int sx, int sy, int sw, int sh, RasterOp op) override;
    int stretchDIBits(int x, int y, int w, int h, int sx, int sy, int sw, int sh, const Dib& dib, RasterOp op) override;
    void drawMask(int x, int y, int width, int height, const uint8_t* bits, int pitch, ColorRef color) override;

private:
    Surface* m_surface;
};

} // namespace platform::gfx
