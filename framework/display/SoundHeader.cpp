#include "framework/display/SoundHeader.h"

#include "framework/runtime/Encoding.h"
#include "framework/runtime/Error.h"
#include "framework/runtime/Stream.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

namespace {

constexpr const char* notValid = "Not a valid sound file";

int32_t clampToInt32(int64_t v)
{
    return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

// A four-character tag as the little-endian word it is read as.
constexpr uint32_t tagOf(const char* t)
{
    return uint32_t(uint8_t(t[0])) | uint32_t(uint8_t(t[1])) << 8 | uint32_t(uint8_t(t[2])) << 16
        | uint32_t(uint8_t(t[3])) << 24;
}

uint32_t field(const std::vector<uint8_t>& body, size_t offset, size_t size)
{
    uint32_t value = 0;
    for (size_t i = 0; i < size; ++i)
        value |= uint32_t(body[offset + i]) << (8 * i);
    return value;
}

bool fail()
{
    qelError(notValid);
    return false;
}

} // namespace

int32_t qelSoundSampleCount(const qelSoundHeader& h)
{
    int64_t d = h.dataSize;
    switch (h.formatTag) {
    case QEL_WAVE_FORMAT_PCM:
        return h.blockAlign > 0 ? clampToInt32(d / h.blockAlign) : 0;
    case QEL_WAVE_FORMAT_IMA_ADPCM:
        // Samples per block counts the samples of each channel: a stereo block of 505 lasts 505
        // sample times, not half of them.
        return h.blockAlign > 0 ? clampToInt32(d / h.blockAlign * h.samplesPerBlock) : 0;
    default: {
        int64_t bitsPerFrame = int64_t(h.bitsPerSample) * h.channels;
        return bitsPerFrame > 0 ? clampToInt32(d * 8 / bitsPerFrame) : 0;
    }
    }
}

int32_t qelSoundDurationMs(int32_t sampleCount, int32_t sampleRate)
{
    // 32 bits overflow after about 97 s at 22050 Hz: a long narration would seem to end at once.
    if (sampleRate <= 0)
        return 0;
    return clampToInt32(int64_t(sampleCount) * 1000 / sampleRate);
}

bool qelReadSoundHeader(const qelValue& stream, qelSoundHeader& header)
{
    qelStreamObject* s = qelStreamOf(stream);
    if (!s)
        return fail();
    header = {};
    // One 32-bit word. When fewer than four bytes are left the read is still made, so that the
    // stream reports its own error, and the header is refused.
    auto word = [&](uint32_t& out) {
        bool whole = int64_t(s->size()) - s->tell() >= 4;
        out = uint32_t(qelReadInt(stream));
        return whole;
    };
    uint32_t riff, riffSize, wave, fmt, fmtSize;
    if (!word(riff))
        return false;
    if (riff != tagOf("RIFF"))
        return fail();
    if (!word(riffSize) || !word(wave))
        return false;
    if (wave != tagOf("WAVE"))
        return fail();
    if (!word(fmt))
        return false;
    if (fmt != tagOf("fmt "))
        return fail();
    if (!word(fmtSize))
        return false;
    // The fmt body must lie inside the file (no allocation from a forged size) and hold at least
    // the fields up to bits per sample.
    if (fmtSize < 16 || int64_t(fmtSize) > int64_t(s->size()) - s->tell())
        return fail();
    std::vector<uint8_t> body(fmtSize);
    if (s->read(body.data(), int32_t(fmtSize)) != int32_t(fmtSize))
        return fail();
    header.formatTag = int32_t(field(body, 0, 2));
    header.channels = int32_t(field(body, 2, 2));
    header.sampleRate = int32_t(field(body, 4, 4));
    header.blockAlign = int32_t(field(body, 12, 2));
    header.bitsPerSample = int32_t(field(body, 14, 2));
    header.samplesPerBlock = fmtSize >= 20 ? int32_t(field(body, 18, 2)) : 0;
    // No channel, no rate or no frame size: there is no sound to play and no duration to tell.
    if (header.channels <= 0 || header.sampleRate <= 0 || header.blockAlign <= 0)
        return fail();
    // A chunk of odd size is followed by a pad byte (the RIFF rule), the fmt chunk included;
    // without skipping it, a common odd-sized LIST chunk would misalign every later chunk.
    int64_t next = int64_t(s->tell()) + (fmtSize & 1);
    while (true) {
        // Skipping may not pass the end of the file.
        if (next > s->size() || !s->seek(int32_t(next)))
            return fail();
        uint32_t id, size;
        if (!word(id) || !word(size))
            return false;
        if (id == tagOf("data")) {
            header.dataSize = size;
            header.sampleCount = qelSoundSampleCount(header);
            return true;
        }
        next = int64_t(s->tell()) + size + (size & 1);
    }
}
