#pragma once

// A device-independent bitmap as data: the 40-byte information header, the colour table and
// the pixel rows exactly as stored (each row padded to 4 bytes; bottom-up when the header's
// height is positive, top-down when negative). Compressed bitmaps are expanded by the codec
// (Bmp.h), so a Dib in memory is always uncompressed, 1, 4, 8, 24 or 32 bits per pixel.

#include "platform/gfx/Surface.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform::gfx {

enum class DibCompression : uint32_t {
    Rgb = 0,
    Rle8 = 1,
    Rle4 = 2,
};

struct BitmapInfoHeader {
    uint32_t size = 40;
    int32_t width = 0;
    int32_t height = 0;
    uint16_t planes = 1;
    uint16_t bitCount = 0;
    uint32_t compression = uint32_t(DibCompression::Rgb);
    uint32_t sizeImage = 0;
    int32_t xPelsPerMeter = 0;
    int32_t yPelsPerMeter = 0;
    uint32_t clrUsed = 0;
    uint32_t clrImportant = 0;
};

// A colour-table entry, stored blue, green, red, reserved.
struct RgbQuad {
    uint8_t blue = 0;
    uint8_t green = 0;
    uint8_t red = 0;
    uint8_t reserved = 0;
    bool operator==(const RgbQuad&) const = default;
};

struct Dib {
    // Largest side and pixel count a bitmap may have; checked before any allocation.
    static constexpr int maxSide = Surface::maxSide;
    static constexpr int64_t maxPixels = int64_t(1) << 24;

    BitmapInfoHeader header;
    std::vector<RgbQuad> colors;
    std::vector<uint8_t> bits;

    // A blank bitmap (all bits zero, colour table of `colorCount` black entries, or of 2^bits
    // entries when 0 for an indexed depth), bottom-up unless `topDown`. Invalid arguments give a Dib for which
    // isValid() is false.
    static Dib create(int width, int height, int bitCount, int colorCount = 0, bool topDown = false);

    int width() const { return header.width; }
    int height() const { return header.height < 0 ? -header.height : header.height; }
    bool isBottomUp() const { return header.height > 0; }
    // Bytes per stored row.
    size_t stride() const
    {
        if (header.width <= 0)
            return 0;
        return ((size_t(header.width) * header.bitCount + 31) / 32) * 4;
    }
    // True when the fields agree with each other and with the data, so drawing is safe. Inline:
    // every blit asks, and for a small one the call is a noticeable part of the cost.
    bool isValid() const
    {
        // Bounds on the sides first: every later size computation then fits in size_t.
        if (header.width <= 0 || header.width > maxSide || header.height == 0 || header.height < -maxSide
            || header.height > maxSide || !isSupportedDepth(header.bitCount)
            || header.compression != uint32_t(DibCompression::Rgb) || colors.size() > 256)
            return false;
        // An indexed bitmap needs a table its indexes can address, and no larger.
        if (header.bitCount <= 8 && (colors.empty() || colors.size() > (size_t(1) << header.bitCount)))
            return false;
        return bits.size() >= stride() * size_t(height());
    }
    static constexpr bool isSupportedDepth(int bitCount)
    {
        return bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 24 || bitCount == 32;
    }

    // Row `y` counted from the top of the picture, whatever the storage order.
    const uint8_t* row(int y) const;
    uint8_t* row(int y);
    // XRGB colour of the pixel at (x, y) from the top; indexes past the colour table are black.
    uint32_t pixel(int x, int y) const;
};

// The whole surface as a bottom-up 24-bit bitmap.
Dib dibFromSurface(const Surface& surface);

} // namespace platform::gfx
