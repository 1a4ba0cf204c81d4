// Feeds arbitrary bytes to the cursor-file reader. A decoded cursor must have a sane size and
// exactly one pixel per position.
#include "platform/window/CursorFile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto image = platform::decodeCursorFile(std::span<const uint8_t>(data, size));
    if (image
        && (image->width < 1 || image->width > 256 || image->height < 1 || image->height > 256
            || image->argb.size() != size_t(image->width) * size_t(image->height)))
        std::abort();
    return 0;
}
