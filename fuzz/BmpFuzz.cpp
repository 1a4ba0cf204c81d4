// Feeds arbitrary bytes to the BMP decoder. A decoded bitmap must be drawable and must survive
// an encode/decode round trip unchanged.
#include "platform/gfx/Bmp.h"
#include "platform/gfx/MemoryDc.h"

#include <cstdlib>

using namespace platform::gfx;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Dib dib;
    if (decodeBmp(std::span<const uint8_t>(data, size), dib) != BmpError::None)
        return 0;
    if (!dib.isValid())
        std::abort();
    Surface surface(16, 16);
    MemoryDc dc(surface);
    dc.stretchDIBits(0, 0, 16, 16, 0, 0, dib.width(), dib.height(), dib, RasterOp::SrcCopy);
    dc.stretchDIBits(-3, 2, 7, 9, 1, 1, 5, 3, dib, RasterOp::SrcInvert);
    Dib again;
    if (decodeBmp(encodeBmp(dib), again) != BmpError::None || again.bits != dib.bits || again.colors != dib.colors)
        std::abort();
    return 0;
}
