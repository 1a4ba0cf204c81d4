// Any bytes read as a sound file's header: a refusal, or a header whose fields a player can use
// (channels, rate and frame size above 0) and whose sample count agrees with its data size.
#include "FuzzHooks.h"

#include "framework/display/SoundHeader.h"
#include "framework/runtime/MemoryStream.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::installReturningHooks();
    std::vector<uint8_t> bytes(data, data + size);
    qelValue stream = qelNewMemoryStream(bytes.data(), int32_t(bytes.size()));
    qelSoundHeader header;
    if (!qelReadSoundHeader(stream, header))
        return 0;
    if (header.channels <= 0 || header.sampleRate <= 0 || header.blockAlign <= 0 || header.sampleCount < 0
        || header.sampleCount != qelSoundSampleCount(header))
        std::abort();
    qelSoundDurationMs(header.sampleCount, header.sampleRate);
    return 0;
}
