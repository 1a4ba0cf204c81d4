// Opens arbitrary bytes as a movie. An opened movie must have a size within the limits, and
// every frame it decodes (forward, past the end, and back to the start) must have that size.
// Its sound, when it has one, is decoded for a short range.
#include "platform/video/MovieDecoder.h"

#include <cstdlib>

using platform::video::MovieDecoder;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    MovieDecoder decoder;
    if (!decoder.openBytes(std::vector<uint8_t>(data, data + size)))
        return 0;
    if (decoder.width() <= 0 || decoder.height() <= 0 || decoder.width() > MovieDecoder::maxSide
        || decoder.height() > MovieDecoder::maxSide || decoder.frameCount() < 1)
        std::abort();
    for (int32_t frame : { 0, 1, decoder.frameCount() - 1, decoder.frameCount() + 5, 0 }) {
        platform::gfx::Surface picture;
        if (decoder.decodeFrame(frame, picture)
            && (picture.width() != decoder.width() || picture.height() != decoder.height()))
            std::abort();
    }
    if (decoder.hasAudio()) {
        auto samples = decoder.decodeAudio(0, 500, 8000);
        if (samples.size() > 2 * 4000 + 2)
            std::abort();
    }
    return 0;
}
