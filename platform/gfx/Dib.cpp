#include "platform/gfx/Dib.h"

namespace platform::gfx {

Dib Dib::create(int width, int height, int bitCount, int colorCount, bool topDown)
{
    Dib dib;
    if (width <= 0 || height <= 0 || width > maxSide || height > maxSide || int64_t(width) * height > maxPixels
        || !isSupportedDepth(bitCount) || colorCount < 0 || colorCount > 256
        || (bitCount <= 8 && colorCount > (1 << bitCount)))
        return dib;
    if (bitCount <= 8 && colorCount == 0)
        colorCount = 1 << bitCount;
    dib.header.width = width;
    dib.header.height = topDown ? -height : height;
    dib.header.bitCount = uint16_t(bitCount);
    dib.header.clrUsed = uint32_t(colorCount);
    dib.colors.resize(size_t(colorCount));
    dib.bits.assign(dib.stride() * size_t(height), 0);
    dib.header.sizeImage = uint32_t(dib.bits.size());
    return dib;
}

const uint8_t* Dib::row(int y) const
{
    int stored = isBottomUp() ? height() - 1 - y : y;
    return bits.data() + size_t(stored) * stride();
}

uint8_t* Dib::row(int y)
{
    int stored = isBottomUp() ? height() - 1 - y : y;
    return bits.data() + size_t(stored) * stride();
}

uint32_t Dib::pixel(int x, int y) const
{
    const uint8_t* r = row(y);
    unsigned index = 0;
    switch (header.bitCount) {
    case 1:
        index = (r[x >> 3] >> (7 - (x & 7))) & 1;
        break;
    case 4:
        index = (r[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF;
        break;
    case 8:
        index = r[x];
        break;
    case 24:
        return xrgb(r[3 * x + 2], r[3 * x + 1], r[3 * x]);
    case 32:
        return xrgb(r[4 * x + 2], r[4 * x + 1], r[4 * x]);
    default:
        return 0;
    }
    if (index >= colors.size())
        return 0;
    const RgbQuad& q = colors[index];
    return xrgb(q.red, q.green, q.blue);
}

Dib dibFromSurface(const Surface& surface)
{
    Dib dib = Dib::create(surface.width(), surface.height(), 24);
    if (!dib.isValid())
        return dib;
    for (int y = 0; y < surface.height(); ++y) {
        const uint32_t* src = surface.row(y);
        uint8_t* dst = dib.row(y);
        for (int x = 0; x < surface.width(); ++x) {
            dst[3 * x] = uint8_t(src[x]);
            dst[3 * x + 1] = uint8_t(src[x] >> 8);
            dst[3 * x + 2] = uint8_t(src[x] >> 16);
        }
    }
    return dib;
}

} // namespace platform::gfx
