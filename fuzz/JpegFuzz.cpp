// Feeds arbitrary bytes to the JPEG decoder. What the header inspection accepts, decoding either
// refuses or turns into a valid bitmap of the inspected size.
#include "platform/jpeg/Jpeg.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::span<const uint8_t> bytes(data, size);
    std::optional<platform::jpeg::JpegInfo> info = platform::jpeg::inspect(bytes);
    platform::gfx::Dib dib;
    bool decoded = platform::jpeg::decode(bytes, dib);
    if (decoded && (!info || !dib.isValid() || dib.width() != info->width || dib.height() != info->height))
        std::abort();
    return 0;
}
