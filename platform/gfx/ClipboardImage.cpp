#include "platform/gfx/ClipboardImage.h"

namespace platform::gfx {

namespace {

    std::optional<std::vector<uint8_t>>& current()
    {
        static std::optional<std::vector<uint8_t>> image;
        return image;
    }

} // namespace

bool setClipboardImage(std::span<const uint8_t> packedDib)
{
    if (packedDib.empty())
        return false;
    current() = std::vector<uint8_t>(packedDib.begin(), packedDib.end());
    return true;
}

std::optional<std::vector<uint8_t>> clipboardImage()
{
    return current();
}

void clearClipboardImage()
{
    current().reset();
}

} // namespace platform::gfx
