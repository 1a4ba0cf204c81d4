#pragma once

// The image side of the clipboard. Neither window back end can place a picture on the
// system's clipboard, so a picture copied there is kept here (as a packed device-independent
// bitmap: information header, colour table, pixels) where tests and a later back end can take it.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace platform::gfx {

// Replaces the clipboard's picture; false when the bytes are empty.
bool setClipboardImage(std::span<const uint8_t> packedDib);
std::optional<std::vector<uint8_t>> clipboardImage();
void clearClipboardImage();

} // namespace platform::gfx
