#pragma once

// Reads a cursor file (.cur): the image and its hot spot. The layout, all little-endian:
//
//   offset size  field
//   0      2     reserved, 0
//   2      2     type: 2 (cursor); 1 (icon) is accepted, its hot spot is the centre
//   4      2     image count, at least 1
//   6      16*n  directory entries: width (0 = 256), height, colour count, reserved,
//                hot spot x (2), hot spot y (2), image byte size (4), image offset (4)
//
// The first image is used. It is a device-independent bitmap: a 40-byte (or larger) info
// header whose height counts both masks, the colour table for 1, 4 and 8 bits per pixel, the
// colour (XOR) rows, then the 1-bit transparency (AND) rows, every row bottom-up and padded to
// 4 bytes. Uncompressed 1, 4, 8, 24 and 32 bits per pixel are read; 32-bit images with any
// alpha use it instead of the AND mask. Pixels the AND mask marks as screen-inverting come out
// transparent. Images embedded as PNG are refused, as is anything malformed.

#include "platform/window/Backend.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace platform {

std::optional<CursorImage> decodeCursorFile(std::span<const uint8_t> bytes);
std::optional<CursorImage> readCursorFile(const std::string& path);

} // namespace platform
