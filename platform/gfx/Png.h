#pragma once

// PNG reading and writing for surfaces (screenshots, golden images). Writing stores 8-bit RGB;
// reading accepts any PNG libpng decodes (palette, grey, alpha and 16-bit are converted; alpha
// is dropped) and returns nothing on a damaged file or a side above Surface::maxSide.

#include "platform/gfx/Surface.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace platform::gfx {

std::vector<uint8_t> encodePng(const Surface& surface);
std::optional<Surface> decodePng(std::span<const uint8_t> bytes);

bool writePng(const Surface& surface, const std::string& path);
std::optional<Surface> readPng(const std::string& path);

} // namespace platform::gfx
