#include "platform/window/CursorFile.h"

#include "platform/sys/IniFile.h"

namespace platform {

namespace {

    constexpr size_t maxCursorFileBytes = 1024 * 1024;

    uint32_t u16(std::span<const uint8_t> b, size_t at)
    {
        return uint32_t(b[at]) | (uint32_t(b[at + 1]) << 8);
    }

    uint32_t u32(std::span<const uint8_t> b, size_t at)
    {
        return u16(b, at) | (u16(b, at + 2) << 16);
    }

} // namespace

std::optional<CursorImage> decodeCursorFile(std::span<const uint8_t> file)
{
    // Header and one directory entry must be present.
    if (file.size() < 6 + 16 || u16(file, 0) != 0 || (u16(file, 2) != 1 && u16(file, 2) != 2) || u16(file, 4) == 0)
        return std::nullopt;
    bool isIcon = u16(file, 2) == 1;
    uint32_t imageSize = u32(file, 6 + 8);
    uint32_t imageOffset = u32(file, 6 + 12);
    // The image must lie inside the file (compared without overflow).
    if (imageOffset > file.size() || imageSize > file.size() - imageOffset)
        return std::nullopt;
    std::span<const uint8_t> image = file.subspan(imageOffset, imageSize);

    // Info header: size, width, height (both masks), planes, bits per pixel, compression.
    if (image.size() < 40)
        return std::nullopt;
    uint32_t headerSize = u32(image, 0);
    int32_t width = int32_t(u32(image, 4));
    int32_t doubleHeight = int32_t(u32(image, 8));
    uint32_t bits = u16(image, 14);
    uint32_t compression = u32(image, 16);
    uint32_t colorsUsed = u32(image, 32);
    // Cursor sides are at most 256; a negative (top-down) height is not used by cursors.
    if (headerSize < 40 || headerSize > image.size() || width < 1 || width > 256 || doubleHeight < 2
        || doubleHeight > 512 || doubleHeight % 2 != 0 || compression != 0)
        return std::nullopt;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)
        return std::nullopt;
    int height = doubleHeight / 2;
    size_t paletteCount = bits <= 8 ? (colorsUsed ? colorsUsed : (1u << bits)) : 0;
    // A palette larger than the pixel depth can index is malformed.
    if (bits <= 8 && paletteCount > (1u << bits))
        return std::nullopt;
    size_t colorStride = ((size_t(width) * bits + 31) / 32) * 4;
    size_t maskStride = ((size_t(width) + 31) / 32) * 4;
    size_t paletteAt = headerSize;
    size_t colorAt = paletteAt + paletteCount * 4;
    size_t maskAt = colorAt + colorStride * size_t(height);
    // Palette, colour rows and mask rows must all fit in the image.
    if (maskAt + maskStride * size_t(height) > image.size())
        return std::nullopt;

    CursorImage out;
    out.width = width;
    out.height = height;
    out.hotX = isIcon ? width / 2 : int(u16(file, 6 + 4));
    out.hotY = isIcon ? height / 2 : int(u16(file, 6 + 6));
    out.argb.resize(size_t(width) * size_t(height));
    bool anyAlpha = false;
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = image.data() + colorAt + colorStride * size_t(height - 1 - y);
        for (int x = 0; x < width; ++x) {
            uint32_t pixel;
            if (bits == 32) {
                pixel = row[x * 4] | (uint32_t(row[x * 4 + 1]) << 8) | (uint32_t(row[x * 4 + 2]) << 16)
                    | (uint32_t(row[x * 4 + 3]) << 24);
                anyAlpha = anyAlpha || (pixel >> 24) != 0;
            } else if (bits == 24) {
                pixel = row[x * 3] | (uint32_t(row[x * 3 + 1]) << 8) | (uint32_t(row[x * 3 + 2]) << 16);
            } else {
                size_t bit = size_t(x) * bits;
                uint32_t index = (row[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
                // An index past the palette is black.
                pixel = index < paletteCount ? u32(image, paletteAt + index * 4) & 0xFFFFFF : 0;
            }
            out.argb[size_t(y) * size_t(width) + size_t(x)] = pixel;
        }
    }
    for (int y = 0; y < height; ++y) {
        const uint8_t* mask = image.data() + maskAt + maskStride * size_t(height - 1 - y);
        for (int x = 0; x < width; ++x) {
            uint32_t& pixel = out.argb[size_t(y) * size_t(width) + size_t(x)];
            if (bits == 32 && anyAlpha)
                continue;
            bool transparent = (mask[x / 8] >> (7 - x % 8)) & 1;
            pixel = transparent ? 0 : (pixel & 0xFFFFFF) | 0xFF000000u;
        }
    }
    return out;
}

std::optional<CursorImage> readCursorFile(const std::string& path)
{
    auto bytes = readSmallFile(path, maxCursorFileBytes);
    if (!bytes)
        return std::nullopt;
    return decodeCursorFile({ reinterpret_cast<const uint8_t*>(bytes->data()), bytes->size() });
}

} // namespace platform
