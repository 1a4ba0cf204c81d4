#pragma once

// The movie device over MovieDecoder. Plays run on the window system's clock: the pump's timed
// work moves each playing movie to the frame its time has reached and, at the end of the last
// frame's time, posts the end notice (or starts over, for a repeat). Shown movies are a
// presentation layer over the window.

#include "platform/video/MovieDecoder.h"
#include "platform/video/MoviePlayer.h"
#include "platform/window/Presentation.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace platform {
class WindowSystem;
}

namespace platform::video {

class LibavPlayer final : public MoviePlayer, private PresentationLayer {
public:
    using SoundOutput = MovieSoundOutput;

    explicit LibavPlayer(WindowSystem& system);
    ~LibavPlayer() override;

    void setSoundOutput(SoundOutput output);

    uint32_t openType(const std::string& deviceType, uint32_t& device) override;
    uint32_t openElement(const std::string& deviceType, const std::string& path, const std::string& alias,
        WindowHandle notifyWindow, uint32_t& device) override;
    uint32_t close(uint32_t device) override;
    uint32_t sourceSize(uint32_t device, int& width, int& height) override;
    uint32_t length(uint32_t device, int32_t& frames) override;
    uint32_t position(uint32_t device, int32_t& frame) override;
    uint32_t seek(uint32_t device, int32_t frame) override;
    uint32_t cue(uint32_t device) override;
    uint32_t play(uint32_t device, int32_t from, int32_t to, bool repeat) override;
    uint32_t stop(uint32_t device) override;
    uint32_t place(uint32_t device, const gfx::Rect& rect) override;
    uint32_t show(uint32_t device, bool visible) override;
    uint32_t drawFrame(uint32_t device, gfx::Surface& target, const gfx::Rect& rect) override;
    std::string errorText(uint32_t code) override { return playerErrorText(code); }

private:
    struct Movie {
        std::string deviceType;
        MovieDecoder decoder;
        WindowHandle notifyWindow = 0;
        gfx::Rect place;
        bool shown = false;
        bool playing = false;
        bool repeat = false;
        int32_t from = 0;
        int32_t to = 0;
        uint32_t started = 0;
        int32_t position = 0;
        // The decoded picture and its frame (-1: none yet).
        gfx::Surface picture;
        int32_t pictureFrame = -1;
    };

    Movie* movie(uint32_t device);
    // Decodes the frame at the position when the picture is another; false when it cannot.
    bool decodePosition(Movie& m);
    void changed(const gfx::Rect& rect);
    void stopSound(Movie& m);
    void sound(const std::vector<int16_t>& samples);
    std::optional<uint32_t> advance(uint32_t now);
    bool active() const override;
    void compose(gfx::Surface& shown, gfx::Rect& dirty) override;

    WindowSystem& m_system;
    std::map<uint32_t, std::string> m_types;
    std::map<uint32_t, std::unique_ptr<Movie>> m_movies;
    uint32_t m_nextId = 1;
    SoundOutput m_sound;
    int m_soundRate = 0;
    // The movie whose sound plays (0: none).
    uint32_t m_sounding = 0;
};

} // namespace platform::video
