#pragma once

// A movie file's pictures (and sound) through libavformat and libavcodec: its size, its length
// in frames and milliseconds, and any frame as 32-bit pixels. 8-bit palette video keeps its
// palette, and palette changes inside the file apply from the frame that carries them.
//
// Only the containers and codecs of the content's movies are accepted (AVI and MPEG; Cinepak,
// MS Video 1, MS RLE, Indeo, raw, MPEG video; PCM, ADPCM and MPEG audio), so a damaged or hostile
// file meets as little decoding code as possible. A picture larger than 4096 x 4096 is refused.

#include "platform/gfx/Surface.h"

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

struct AVPacket;

namespace platform::video {

class MovieDecoder {
public:
    static constexpr int maxSide = 4096;

    MovieDecoder();
    ~MovieDecoder();
    MovieDecoder(const MovieDecoder&) = delete;
    MovieDecoder& operator=(const MovieDecoder&) = delete;

    // Opens a file (UTF-8 path) or a copy of bytes in memory; false, with error() saying why,
    // when it holds no video stream that can be decoded.
    bool open(const std::string& path);
    bool openBytes(std::vector<uint8_t> bytes);
    const std::string& error() const { return m_error; }
    bool isOpen() const;

    int width() const { return m_width; }
    int height() const { return m_height; }
    // The number of frames (at least 1 once open) and the running time.
    int32_t frameCount() const { return m_frameCount; }
    int32_t lengthMs() const;
    // When frame `index` starts, in milliseconds from the start, and the frame shown at `ms`.
    int32_t frameStartMs(int32_t index) const;
    int32_t frameAtMs(int32_t ms) const;
    // The video codec's short name ("cinepak", "msvideo1", "rawvideo"...).
    const std::string& codecName() const { return m_codec; }
    bool hasAudio() const { return m_audioStream >= 0; }

    // Decodes frame `index` (brought into [0, frameCount - 1]) into `out`, which takes the movie's
    // size. Decoding goes forward from the last frame, or from a key frame before the index.
    // False when no picture could be decoded; `out` is then unchanged.
    bool decodeFrame(int32_t index, gfx::Surface& out);

    // The sound between two times as 16-bit stereo samples at `rate` per second, interleaved;
    // empty without a sound track or when it cannot be decoded. Reads the file apart from the
    // pictures, so frames and sound do not disturb each other.
    std::vector<int16_t> decodeAudio(int32_t fromMs, int32_t toMs, int rate);

private:
    struct State;
    bool start();
    bool seekTo(int32_t index);
    // Decodes forward until a frame at or after `index`; false at the end without one.
    bool decodeUntil(int32_t index);
    int32_t indexOf(int64_t pts) const;
    int64_t ptsOf(int32_t index) const;
    bool convert(gfx::Surface& out);
    bool fail(const std::string& message);
    // Keeps a palette change that a packet carries, under the packet's frame.
    void notePalette(const AVPacket& packet);

    using Palette = std::array<uint32_t, 256>;

    std::unique_ptr<State> m_state;
    std::string m_error;
    std::string m_path;
    std::vector<uint8_t> m_bytes;
    int m_width = 0;
    int m_height = 0;
    int32_t m_frameCount = 0;
    double m_fps = 15;
    std::string m_codec;
    int m_videoStream = -1;
    int m_audioStream = -1;
    // The index of the frame held by the decoder's last output, -1 when none.
    int32_t m_current = -1;
    // Whether any packet was read since opening (the file no longer stands at its start).
    bool m_readAny = false;
    // Palette changes by the frame they start at.
    std::map<int32_t, Palette> m_palettes;
};

} // namespace platform::video
