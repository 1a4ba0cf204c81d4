#pragma once

// JPEG pictures through libjpeg-turbo: inspecting the header and decoding the whole picture
// into a bottom-up 24-bit device-independent bitmap (blue, green, red; rows padded to 4 bytes),
// so that the picture shows upright when drawn as a bitmap.
//
// Library errors never end the process: the error handler jumps back out of the library and
// the call reports failure. The header's sides are checked against Dib::maxSide and
// Dib::maxPixels before any pixel memory is allocated. Greyscale, YCbCr and RGB pictures,
// baseline or progressive, are accepted; CMYK and other colour spaces are refused.

#include "platform/gfx/Dib.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace platform::jpeg {

struct JpegInfo {
    int width = 0;
    int height = 0;
    int components = 0; // 1 grey, 3 colour
    bool progressive = false;
};

// The picture's size when its header reads and describes a picture that decode() accepts.
std::optional<JpegInfo> inspect(std::span<const uint8_t> bytes);

// Decodes the picture into `out`. False, with `out` unchanged, when the data is damaged,
// truncated before the first row, or not a picture that inspect() accepts.
bool decode(std::span<const uint8_t> bytes, gfx::Dib& out);

// Encodes a surface as a baseline (or progressive) JPEG picture, in colour (without chroma
// subsampling) or grey; empty when
// the surface is empty. Tools and tests make their pictures with it.
std::vector<uint8_t> encode(const gfx::Surface& surface, int quality, bool progressive = false, bool grey = false);

} // namespace platform::jpeg
