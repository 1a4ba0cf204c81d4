#pragma once

// The application's top-level window: its procedure, the front buffer (what the window
// shows, a surface of the client size), the update region that makes WM_PAINT, the caret,
// the mouse capture and the keyboard focus. Drawing into the front buffer is shown once the
// changed area is reported (frontChanged) and the pump presents it (before it waits, or at
// flush); the back end throttles presentation to the display.

#include "platform/gfx/Surface.h"
#include "platform/window/Backend.h"
#include "platform/window/Messages.h"

#include <functional>

namespace platform {

class Pump;

using WindowProc = std::function<int64_t(WindowHandle, uint32_t id, uint64_t wParam, int64_t lParam)>;

class Window {
public:
    Window(Pump& pump, Backend& backend);
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Opens the window and sends WM_CREATE (lParam 0) to `proc`, which sees the handle
    // already; a result of -1 from it ends the creation. Returns the handle, 0 on failure.
    WindowHandle create(const WindowParams& params, WindowProc proc);
    // Sends WM_DESTROY, closes the window and drops its pending messages and timers.
    void destroy();

    WindowHandle handle() const { return m_handle; }
    bool isOpen() const { return m_handle != 0; }
    // Shows the window; it is wholly invalid and erased at its first paint.
    void show();
    void minimize();
    gfx::Size clientSize() const { return { m_front.width(), m_front.height() }; }

    gfx::Surface& front() { return m_front; }
    const gfx::Surface& front() const { return m_front; }
    void frontChanged(const gfx::Rect& rect);
    // Presents what changed in the front buffer.
    void flush();

    // Adds a rectangle (null: the whole client area) to the update region, whose bounding box
    // the next paint covers; `erase` makes that paint send WM_ERASEBKGND first.
    void invalidate(const gfx::Rect* rect, bool erase);
    void validate(const gfx::Rect* rect);
    bool hasUpdate() const { return !m_update.isEmpty(); }
    gfx::Rect updateRect() const { return m_update; }

    struct Paint {
        gfx::Rect rect;
        bool erase = false; // the background still needs erasing (WM_ERASEBKGND returned 0)
    };
    // Takes the update region for painting (it becomes empty) after WM_ERASEBKGND when asked.
    Paint beginPaint();
    // The painted rectangle will be presented.
    void endPaint(const Paint& paint);
    // Sends WM_PAINT at once when the update region is not empty.
    void update();

    void setCapture();
    void releaseCapture();
    bool hasCapture() const { return m_capture; }
    bool hasFocus() const { return m_focus; }

    // A solid caret of w x h at a client position, shown inverted over the image.
    void createCaret(int width, int height);
    void destroyCaret();
    void setCaretPos(int x, int y);
    void showCaret();
    void hideCaret();
    bool hasCaret() const { return m_caretExists; }
    gfx::Rect caretRect() const { return m_caret; }
    bool caretVisible() const { return m_caretExists && m_caretShown; }

    // What the window does with messages its procedure leaves to the default: WM_ERASEBKGND
    // fills the area being painted black (the window's background) and answers 1; WM_PAINT
    // validates; WM_CLOSE destroys the window; Alt+F4 (WM_SYSKEYDOWN) sends WM_CLOSE; the
    // rest answer 0.
    int64_t defaultProc(uint32_t id, uint64_t wParam, int64_t lParam);

private:
    friend class Pump;
    void caretChanged();

    Pump& m_pump;
    Backend& m_backend;
    WindowProc m_proc;
    WindowProc m_retiredProc;
    WindowHandle m_handle = 0;
    gfx::Surface m_front;
    gfx::Rect m_update;
    bool m_updateErase = false;
    gfx::Rect m_painting;
    gfx::Rect m_dirty;
    bool m_capture = false;
    bool m_focus = false;
    bool m_caretExists = false;
    bool m_caretShown = false;
    gfx::Rect m_caret;
};

} // namespace platform
