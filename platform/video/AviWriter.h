#pragma once

// Writes short AVI movies for the sample content and for tests: Cinepak or MS Video 1 from
// true-colour pictures, or raw 8-bit pictures with a palette that may change from frame to
// frame (each change is stored as a palette-change chunk before the frame). An optional sound
// track holds 16-bit mono PCM.

#include "platform/gfx/Surface.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform::video {

enum class AviCodec { Cinepak, MsVideo1, Raw8, Mjpeg };

// The codec of a name ("cinepak", "msvideo1", "raw8", "mjpeg"); false for any other name.
bool aviCodecFromName(const std::string& name, AviCodec& codec);

// A 256-colour picture: one palette index per pixel, rows top-down, and colours 0x00RRGGBB.
struct IndexedPicture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;
    std::array<uint32_t, 256> palette {};
};

class AviWriter {
public:
    AviWriter();
    ~AviWriter();
    AviWriter(const AviWriter&) = delete;
    AviWriter& operator=(const AviWriter&) = delete;

    // Starts the file. Sides must be even (Cinepak and MS Video 1 code 2 x 2 and 4 x 4 blocks)
    // and at most 1024; fps 1 to 60; audioRate 0 for no sound, else 8000 to 48000.
    bool open(const std::string& path, AviCodec codec, int width, int height, int fps, int audioRate = 0);
    // A true-colour frame (for Raw8 it is matched to a fixed palette of 6 x 6 x 6 colours).
    bool addFrame(const gfx::Surface& picture);
    // A 256-colour frame; only Raw8 keeps the palette, the other codecs get its colours.
    bool addFrame(const IndexedPicture& picture);
    // Mono samples of the sound track.
    bool addAudio(const std::vector<int16_t>& samples);
    // Writes the rest of the file; false when anything failed on the way.
    bool finish();
    const std::string& error() const { return m_error; }

private:
    struct State;
    bool encode(bool video, bool flush);
    bool fail(const std::string& message);

    std::unique_ptr<State> m_state;
    std::string m_error;
};

// The fixed palette Raw8 uses for true-colour frames: a 6 x 6 x 6 cube in entries 0 to 215,
// the rest black.
std::array<uint32_t, 256> cubePalette();
IndexedPicture toCubePalette(const gfx::Surface& picture);

// The built-in picture of movies made without pictures of their own: the top half in a
// colour that changes every frame (red, green, yellow, magenta, through palette entry 1), the
// bottom half blue, and a white square of a quarter of the height that moves right two pixels
// a frame.
IndexedPicture patternFrame(int width, int height, int frame);
// A sine tone of `hz` at `rate` samples a second, `ms` long, at half of full scale.
std::vector<int16_t> toneSamples(int hz, int rate, int ms);

} // namespace platform::video
