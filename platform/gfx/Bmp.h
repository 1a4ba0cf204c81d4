#pragma once

// Reading and writing BMP files and packed device-independent bitmaps.
//
// A BMP file is a 14-byte file header, then a packed DIB; a packed DIB (as stored in other
// files and on the clipboard) starts at its information header. All fields little-endian.
//
//   File header (14 bytes)            Information header (40 bytes; 108 and 124 accepted,
//   0  2  "BM"                         their colour masks read, other extra fields ignored)
//   2  4  file size in bytes           0  4  header size
//   6  4  reserved                     4  4  width (> 0)
//   10 4  offset of the pixel rows     8  4  height (> 0 bottom-up, < 0 top-down)
//                                      12 2  planes (1)
//   Colour table: after the            14 2  bits per pixel (1, 4, 8, 16, 24, 32)
//   information header, one            16 4  compression (0 none, 1 RLE8, 2 RLE4,
//   blue-green-red-reserved quad             3 bit fields for 16 and 32 bits)
//   per colour: "colours used" when    20 4  size of the pixel data (0 allowed when none)
//   not 0, else 2^bits for <= 8 bits.  24 8  resolution x, y (pixels per metre)
//                                      32 4  colours used
//                                      36 4  colours important
//
//   Core header (12 bytes, the older   Bit fields: three words, the red, green and blue masks,
//   format): 0 4 size, 4 2 width,      at offset 40 of the longer headers or right after the
//   6 2 height (bottom-up), 8 2        40-byte one (before the colour table). 16-bit pixels
//   planes, 10 2 bits (1, 4, 8, 24);   without them are 5-5-5. Such pixels are decoded to
//   its colour table has three-byte    32-bit blue-green-red-zero rows.
//   blue-green-red entries.
//
// Pixel rows are padded to 4 bytes. Run-length data (RLE8 for 8 bits, RLE4 for 4 bits,
// bottom-up only) is a sequence of byte pairs: (n > 0, v) repeats v (RLE4: its two nibbles in
// turn) n times; (0, 0) ends the line, (0, 1) ends the bitmap, (0, 2, dx, dy) moves the
// position right and up, (0, n >= 3) is followed by n literal pixels padded to 2 bytes.
//
// The decoder is strict: it refuses truncated data, sizes that disagree with the bytes, colour
// counts above 2^bits, sides above Dib::maxSide or more than Dib::maxPixels pixels (before
// allocating), and run-length data that would write outside the bitmap. Decoded bitmaps are
// always uncompressed.

#include "platform/gfx/Dib.h"

#include <cstdint>
#include <span>
#include <vector>

namespace platform::gfx {

enum class BmpError {
    None,
    Truncated,
    BadHeaderSize,
    BadPlanes,
    BadBitCount,
    BadCompression,
    BadDimensions,
    TooLarge,
    BadColorCount,
    SizeMismatch,
    RleOutOfBounds,
    RleMalformed,
};

const char* bmpErrorText(BmpError error);

// Decodes a BMP file (starting with "BM") or a packed DIB (starting with its header size).
BmpError decodeBmp(std::span<const uint8_t> bytes, Dib& out);

// Encodes an uncompressed bitmap as a BMP file, or as a packed DIB without the file header.
// Returns an empty vector when the bitmap is not valid.
std::vector<uint8_t> encodeBmp(const Dib& dib, bool withFileHeader = true);

} // namespace platform::gfx
