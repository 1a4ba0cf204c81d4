#include "framework/display/DibImage.h"

#include "framework/display/PaletteObject.h"
#include "framework/runtime/Buffer.h"
#include "framework/runtime/Error.h"
#include "platform/gfx/Bmp.h"

#include <algorithm>
#include <string>

using platform::gfx::Dc;
using platform::gfx::Dib;
using platform::gfx::RasterOp;

namespace {

constexpr int32_t fileHeaderSize = 14;

uint32_t readU32(const uint8_t* p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

// The header sizes a packed bitmap may start with: the 12-byte core header, the information
// header and its 108- and 124-byte versions.
bool isInfoHeaderSize(uint32_t size)
{
    return size == 12 || size == 40 || size == 108 || size == 124;
}

} // namespace

bool qelDIBImageObject::validate()
{
    qelBufferObject* buffer = qelBufferOf(data);
    if (!buffer || buffer->length < fileHeaderSize) {
        qelError("qelDIBImageObject::validate: DIB data buffer size too small.");
        return false;
    }
    const uint8_t* bytes = buffer->bytes();
    int32_t headerOffset = 0;
    if (bytes[0] == 'B' && bytes[1] == 'M')
        headerOffset = fileHeaderSize;
    else if (!isInfoHeaderSize(readU32(bytes))) {
        qelError("qelDIBImageObject::validate: DIB header not found.");
        return false;
    }
    auto dib = std::make_shared<Dib>();
    platform::gfx::BmpError error
        = platform::gfx::decodeBmp(std::span<const uint8_t>(bytes, size_t(buffer->length)), *dib);
    if (error != platform::gfx::BmpError::None) {
        // Headers that say more than the buffer holds are a buffer too small for the bitmap;
        // everything else is a header that does not describe a bitmap.
        bool shortData = error == platform::gfx::BmpError::Truncated;
        qelError(shortData ? "qelDIBImageObject::validate: DIB data buffer size too small."
                           : "qelDIBImageObject::validate: DIB header not found.");
        return false;
    }
    shareDib(std::move(dib), headerOffset);
    return true;
}

void qelDIBImageObject::shareDib(std::shared_ptr<const Dib> dib, int32_t headerOffset)
{
    m_dib = std::move(dib);
    m_headerOffset = headerOffset;
    colourCount = m_dib ? qelDIBColourCount(m_dib->header) : 0;
    imageWidth = m_dib ? m_dib->width() : 0;
    // The height of the picture whichever way its rows are stored.
    imageHeight = m_dib ? m_dib->height() : 0;
}

qelValue qelDIBImageObject::palette()
{
    if (paletteValue.isNil() && m_dib)
        paletteValue = qelPaletteFromDIB(*m_dib);
    return paletteValue;
}

void qelDIBImageObject::drawDib(Dc& dc, int32_t x, int32_t y, int32_t w, int32_t h, int32_t sx, int32_t sy, int32_t sw,
    int32_t sh, RasterOp op) const
{
    int64_t sourceX = int64_t(originX) + sx;
    int64_t sourceY = int64_t(originY) + sy;
    // A bottom-up bitmap's source rows are counted from its bottom edge.
    if (m_dib->isBottomUp())
        sourceY = int64_t(m_dib->height()) - sh - sourceY;
    if (sourceX < INT32_MIN || sourceX > INT32_MAX || sourceY < INT32_MIN || sourceY > INT32_MAX)
        return;
    dc.stretchDIBits(x, y, w, h, int(sourceX), int(sourceY), sw, sh, *m_dib, op);
}

void qelDIBImageObject::renderIntoContext(
    Dc& dc, int32_t x, int32_t y, int32_t w, int32_t h, int32_t sx, int32_t sy, const qelValue& maskImage, RasterOp op)
{
    if (!m_dib)
        return;
    w = std::min(w, imageWidth);
    h = std::min(h, imageHeight);
    if (w <= 0 || h <= 0)
        return;
    if (maskImage.isNil()) {
        drawDib(dc, x, y, w, h, sx, sy, w, h, op);
        return;
    }
    qelDrawThroughMask(dc, x, y, w, h, maskImage, qelNil, false, w, h, "qelDIBImageObject::renderIntoContext",
        [&](Dc& scratch) { drawDib(scratch, 0, 0, w, h, sx, sy, w, h, RasterOp::SrcCopy); });
}

void qelDIBImageObject::stretchIntoContext(Dc& dc, int32_t x, int32_t y, int32_t w, int32_t h, int32_t sx, int32_t sy,
    int32_t sw, int32_t sh, const qelValue& maskImage, RasterOp op)
{
    if (!m_dib || w <= 0 || h <= 0 || sw <= 0 || sh <= 0)
        return;
    if (maskImage.isNil()) {
        drawDib(dc, x, y, w, h, sx, sy, sw, sh, op);
        return;
    }
    qelDrawThroughMask(dc, x, y, w, h, maskImage, qelNil, true, sw, sh, "qelDIBImageObject::renderIntoContext",
        [&](Dc& scratch) { drawDib(scratch, 0, 0, w, h, sx, sy, sw, sh, RasterOp::SrcCopy); });
}

qelValue qelDIBImageObject::bits()
{
    qelBufferObject* buffer = qelBufferOf(data);
    if (!buffer || !m_dib)
        return qelNil;
    return qelDIBBitsBuffer(data, buffer->offset + m_headerOffset, buffer->length - m_headerOffset);
}

qelValue qelMakeDIB(int32_t width, int32_t height, int32_t bitsPerPixel, int32_t colours)
{
    if (bitsPerPixel != 8 && bitsPerPixel != 24) {
        qelError(("Unsupported bits per pixel: " + std::to_string(bitsPerPixel)).c_str());
        return qelNil;
    }
    // The sides are bounded before the size is computed, so it fits comfortably in 32 bits.
    if (width <= 0 || height <= 0 || width > Dib::maxSide || height > Dib::maxSide
        || int64_t(width) * height > Dib::maxPixels) {
        qelError(("Cannot make a bitmap of " + std::to_string(width) + " x " + std::to_string(height)).c_str());
        return qelNil;
    }
    int32_t bytesPerPixel = bitsPerPixel / 8;
    if (bitsPerPixel == 8)
        colours = colours >= 2 && colours <= 256 ? colours : 256;
    else
        colours = 0;
    // Rows of the width rounded up to 4 pixels: at least the padded row of either depth.
    int64_t size = 40 + 4 * int64_t(colours) + ((int64_t(width) + 3) & ~int64_t(3)) * bytesPerPixel * height;
    qelValue buffer = qelBuffer(int32_t(size));
    uint8_t* p = qelBufferData(buffer);
    if (!p)
        return qelNil;
    auto put32 = [&](int at, uint32_t v) {
        p[at] = uint8_t(v);
        p[at + 1] = uint8_t(v >> 8);
        p[at + 2] = uint8_t(v >> 16);
        p[at + 3] = uint8_t(v >> 24);
    };
    put32(0, 40);
    put32(4, uint32_t(width));
    put32(8, uint32_t(height));
    p[12] = 1;
    p[14] = uint8_t(bitsPerPixel);
    put32(32, uint32_t(colours));
    put32(36, uint32_t(colours));
    if (colours > 0) {
        uint8_t* last = p + 40 + 4 * (colours - 1);
        last[0] = last[1] = last[2] = 255;
    }
    qelSetBufferLength(buffer, int32_t(size));
    return buffer;
}

int32_t qelDIBColourCount(const platform::gfx::BitmapInfoHeader& header)
{
    if (header.clrUsed != 0)
        return int32_t(std::min<uint32_t>(header.clrUsed, 0x7FFFFFFF));
    switch (header.bitCount) {
    case 1:
        return 2;
    case 4:
        return 16;
    case 8:
        return 256;
    default:
        return 0;
    }
}

qelValue qelPaletteFromDIB(const Dib& dib)
{
    int32_t colours = std::min<int32_t>(qelDIBColourCount(dib.header), int32_t(dib.colors.size()));
    if (colours <= 0)
        return qelNil;
    platform::gfx::Palette palette;
    palette.count = platform::gfx::Palette::maxEntries;
    // A full table keeps its animatable entries where they are; a shorter one starts at 10.
    int32_t first = colours == 256 ? 10 : 0;
    for (int32_t i = 0; i < 236; ++i) {
        int32_t from = first + i;
        if (from >= colours)
            break;
        const platform::gfx::RgbQuad& q = dib.colors[size_t(from)];
        palette.entries[size_t(10 + i)] = { q.red, q.green, q.blue, platform::gfx::paletteNoCollapse };
    }
    return qelPaletteFromEntries(palette);
}
