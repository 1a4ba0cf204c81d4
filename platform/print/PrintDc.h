#pragma once

// The device context of a printed page: an A4 page at 288 dots per inch whose drawing goes into
// a white raster of the page's size with the same rules as the screen's memory contexts, so a
// page prints exactly what the drawing code would show. It is not a blit source (a printer's
// pixels cannot be read back).

#include "platform/gfx/Dc.h"
#include "platform/gfx/MemoryDc.h"
#include "platform/gfx/Surface.h"

namespace platform::print {

// The page every print job uses.
struct PageFormat {
    static constexpr int dotsPerInch = 288;
    // A4, 210 x 297 mm.
    static constexpr int width = 2381;
    static constexpr int height = 3368;
};

class PrintDc final : public gfx::Dc {
public:
    PrintDc();

    // Starts a new page: the raster becomes white and the attributes stay.
    void clearPage();
    const gfx::Surface& page() const { return m_page; }

    gfx::Rect deviceBounds() const override { return m_page.bounds(); }
    int deviceCaps(gfx::DeviceCap cap) const override;
    const gfx::Surface* surface() const override { return nullptr; }

    void fillRect(const gfx::Rect& rect, const gfx::Brush& brush) override;
    void rectangle(int left, int top, int right, int bottom) override;
    void lineTo(int x, int y) override;
    bool bitBlt(int x, int y, int w, int h, const gfx::Dc& source, int sx, int sy, gfx::RasterOp op) override;
    bool stretchBlt(
        int x, int y, int w, int h, const gfx::Dc& source, int sx, int sy, int sw, int sh, gfx::RasterOp op) override;
    int stretchDIBits(
        int x, int y, int w, int h, int sx, int sy, int sw, int sh, const gfx::Dib& dib, gfx::RasterOp op) override;
    void drawMask(int x, int y, int width, int height, const uint8_t* bits, int pitch, gfx::ColorRef color) override;

private:
    // Gives the raster context this context's attributes before it draws.
    gfx::MemoryDc& raster();

    gfx::Surface m_page;
    gfx::MemoryDc m_raster;
};

} // namespace platform::print
