#pragma once

// Device-independent bitmap images: a buffer holding a packed DIB, optionally preceded by the
// 14-byte file header of a BMP file.
//
//   offset  size  field (little-endian)
//   0       2     "BM" when a file header is present; the information header is then at 14
//   h+0     4     information header size: 40 (108 and 124 are read as 40 plus ignored fields)
//   h+4     4     width, h+8 4 height (negative: rows stored top-down), h+14 2 bits per pixel,
//   h+16    4     compression (none, RLE8, RLE4), h+32 4 colours used
//   h+size  4*n   colour table, blue-green-red-reserved; then the pixel rows
//
// Validation decodes the whole bitmap strictly (every size and run checked against the buffer)
// once; cut-outs share the decoded bitmap with their source.

#include "framework/display/Image.h"
#include "platform/gfx/Dib.h"

#include <memory>

class qelDIBImageObject final : public qelImageObject {
public:
    bool validate() override;
    qelValue palette() override;
    void renderIntoContext(platform::gfx::Dc& dc, int32_t x, int32_t y, int32_t w, int32_t h, int32_t sx, int32_t sy,
        const qelValue& mask, platform::gfx::RasterOp op) override;
    void stretchIntoContext(platform::gfx::Dc& dc, int32_t x, int32_t y, int32_t w, int32_t h, int32_t sx, int32_t sy,
        int32_t sw, int32_t sh, const qelValue& mask, platform::gfx::RasterOp op) override;
    const char* typeName() const override { return "dib"; }
    qelValue bits() override;

    // The decoded bitmap (null before a good validation).
    const std::shared_ptr<const platform::gfx::Dib>& dib() const { return m_dib; }
    void shareDib(std::shared_ptr<const platform::gfx::Dib> dib, int32_t headerOffset);
    int32_t headerOffset() const { return m_headerOffset; }

    int32_t colourCount = 0;

private:
    void drawDib(platform::gfx::Dc& dc, int32_t x, int32_t y, int32_t w, int32_t h, int32_t sx, int32_t sy, int32_t sw,
        int32_t sh, platform::gfx::RasterOp op) const;

    std::shared_ptr<const platform::gfx::Dib> m_dib;
    // Where the information header starts in the data buffer (14 after a file header, else 0).
    int32_t m_headerOffset = 0;
};

// A new packed DIB in a buffer (no file header): 8 bits per pixel with `colours` entries (2 to
// 256, else 256; the last white), or 24 bits without a colour table; rows bottom-up, zeroed.
// Other depths: "Unsupported bits per pixel: " + depth. Sides must lie in 1..16384.
qelValue qelMakeDIB(int32_t width, int32_t height, int32_t bitsPerPixel, int32_t colours);
// Colours used when not zero, else 2, 16 or 256 for 1, 4 or 8 bits per pixel, 0 otherwise.
int32_t qelDIBColourCount(const platform::gfx::BitmapInfoHeader& header);
// A 256-entry palette with the bitmap's colours at 10..245 (its colours 10..245 when it has
// 256, else its first ones), made distinct from the system colours. Nil for a bitmap without a
// colour table.
qelValue qelPaletteFromDIB(const platform::gfx::Dib& dib);
