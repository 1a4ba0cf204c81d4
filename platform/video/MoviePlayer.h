#pragma once

// The movie device of the process: movie files opened by device type, placed over the window,
// shown, sought, played and stopped by frame number, and drawn one frame at a time. Every
// command answers 0 or an error code whose text errorText gives. When a play runs to its end,
// the window given at opening receives MM_MCINOTIFY with the movie's device id as lParam;
// a stop posts nothing.
//
// Positions and lengths count frames. Device types are opened once on their own ("avivideo",
// "mpegvideo") before their movies; a movie's id is never that of its type.
//
// LibavPlayer is the real device; tests put a fake in its place.

#include "platform/gfx/Geometry.h"
#include "platform/gfx/Surface.h"
#include "platform/window/Messages.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform {
class WindowSystem;
}

namespace platform::video {

// The error codes (0 is success).
enum PlayerError : uint32_t {
    PlayerOk = 0,
    ErrorUnknownDeviceType = 1,
    ErrorInvalidDevice = 2,
    ErrorCannotOpenFile = 3,
    ErrorCannotDecode = 4,
    ErrorNotOpenedType = 5,
};

class MoviePlayer {
public:
    virtual ~MoviePlayer() = default;

    virtual uint32_t openType(const std::string& deviceType, uint32_t& device) = 0;
    // Opens a movie file (UTF-8 path) of an opened device type under an alias.
    virtual uint32_t openElement(const std::string& deviceType, const std::string& path, const std::string& alias,
        WindowHandle notifyWindow, uint32_t& device)
        = 0;
    // Closes a movie or a device type; a movie's pictures leave the window.
    virtual uint32_t close(uint32_t device) = 0;

    virtual uint32_t sourceSize(uint32_t device, int& width, int& height) = 0;
    virtual uint32_t length(uint32_t device, int32_t& frames) = 0;
    virtual uint32_t position(uint32_t device, int32_t& frame) = 0;
    // Moves to a frame (brought into the movie), stopping a play.
    virtual uint32_t seek(uint32_t device, int32_t frame) = 0;
    // Readies a play; nothing visible changes.
    virtual uint32_t cue(uint32_t device) = 0;
    // Plays from one frame to another (both shown), over again with `repeat`.
    virtual uint32_t play(uint32_t device, int32_t from, int32_t to, bool repeat) = 0;
    virtual uint32_t stop(uint32_t device) = 0;

    // Where the pictures appear over the window: a rectangle of its client area (the picture is
    // scaled to it). Shown pictures are laid over the window's image when it is presented and
    // never enter the window's buffer.
    virtual uint32_t place(uint32_t device, const gfx::Rect& rect) = 0;
    virtual uint32_t show(uint32_t device, bool visible) = 0;
    // Draws the frame at the current position into `target`, scaled to `rect`.
    virtual uint32_t drawFrame(uint32_t device, gfx::Surface& target, const gfx::Rect& rect) = 0;

    virtual std::string errorText(uint32_t code) = 0;
};

// Where the sound of plays goes: the rate it wants (asked at each play; 0: plays are silent),
// and 16-bit stereo samples at that rate, or empty samples to stop.
struct MovieSoundOutput {
    std::function<int()> rate;
    std::function<void(const std::vector<int16_t>& samples)> play;
};

// The platform's movie device over a window layer, its sound sent to `sound`.
std::unique_ptr<MoviePlayer> makeMoviePlayer(WindowSystem& system, MovieSoundOutput sound);

// The text of a code as the real device gives it.
std::string playerErrorText(uint32_t code);

// Copies `picture` into `target` scaled to `rect` (nearest pixel), clipped to the target.
void drawScaled(const gfx::Surface& picture, gfx::Surface& target, const gfx::Rect& rect);

} // namespace platform::video
