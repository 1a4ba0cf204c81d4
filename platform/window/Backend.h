#pragma once

// What a window back end provides: one top-level window, raw input, presentation of the front
// buffer, cursors, the caret overlay, message boxes, the clipboard and the beep. The pump
// (Pump) turns raw input into window messages, so both back ends share those rules. Two back
// ends exist: SdlBackend for the program and HeadlessBackend for tests and scripted runs.
//
// Everything is called on the main thread except requestRaise(), which another thread (the
// single-instance listener) may call.

#include "platform/gfx/Geometry.h"
#include "platform/gfx/Surface.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

enum class InputKind {
    MouseMove,
    ButtonDown,
    ButtonUp,
    KeyDown,
    KeyUp,
    Text, // characters typed, cp1252
    FocusGained,
    FocusLost,
    Close, // the user asks the window to close
};

enum class MouseButton { Left, Right, Middle };

struct InputEvent {
    InputKind kind = InputKind::MouseMove;
    uint32_t time = 0;
    int x = 0; // client coordinates
    int y = 0;
    MouseButton button = MouseButton::Left;
    uint8_t vk = 0;
    bool repeat = false; // a key-down sent again while the key is held
    std::string text;
};

struct WindowParams {
    std::string title; // cp1252
    int width = 0; // client size
    int height = 0;
    bool fullscreen = false; // covers the screen without a frame; width and height are the screen's
    std::vector<uint32_t> iconArgb; // the window's icon: ARGB pixels, top-down; empty for the desktop's own
    int iconWidth = 0;
    int iconHeight = 0;
};

// A cursor image: ARGB pixels (alpha 0 is transparent), top-down rows.
struct CursorImage {
    int width = 0;
    int height = 0;
    int hotX = 0;
    int hotY = 0;
    std::vector<uint32_t> argb;
};

class Backend {
public:
    virtual ~Backend() = default;

    // Milliseconds since the back end started; wraps after 49.7 days.
    virtual uint32_t now() = 0;
    virtual gfx::Size screenSize() = 0;

    virtual bool openWindow(const WindowParams& params) = 0;
    virtual void closeWindow() = 0;
    virtual void showWindow() = 0;
    virtual void minimizeWindow() = 0;
    // Thread-safe: asks for the window to come to the front at the next poll or wait.
    virtual void requestRaise() = 0;

    // Takes one raw input event when one is ready. `idle` says that the program has nothing
    // else to do (no queued message, paint or due timer); a scripted back end releases its
    // next action only then.
    virtual bool pollInput(InputEvent& event, bool idle) = 0;
    // Waits until input may be ready or `timeoutMs` has passed (negative: no limit).
    virtual void waitInput(int32_t timeoutMs) = 0;

    // Shows the `dirty` part of the window's front buffer.
    virtual void present(const gfx::Surface& front, const gfx::Rect& dirty) = 0;
    // The caret: an inverted rectangle over the shown image, blinking while visible.
    virtual void setCaret(const gfx::Rect& rect, bool visible) = 0;

    // Makes a cursor current: a standard one (IDC_ARROW...) when `image` is null.
    virtual void setCursor(uint32_t standardId, const CursorImage* image) = 0;
    virtual void setCapture(bool captured) = 0;

    // A modal box; returns the id of the button chosen (IDOK...). Texts are cp1252.
    virtual int messageBox(const std::string& text, const std::string& caption, uint32_t type) = 0;

    // Clipboard text in cp1252; nothing when the clipboard holds no text. A character of the
    // system clipboard that cp1252 lacks reads as the substitute character 0x1A.
    virtual bool setClipboardText(const std::string& text) = 0;
    virtual std::optional<std::string> clipboardText() = 0;

    virtual void beep(uint32_t type) = 0;

    // Whether sounds played during this back end's run may reach the machine's audio output;
    // a back end that shows nothing (tests, scripted runs) answers false.
    virtual bool hasAudioOutput() const { return true; }
};

} // namespace platform
