#pragma once

// The application window: the one top-level window of the program, the screen side of the
// drawing port. This is the window base of the port's class chain: it owns the platform window
// (through the process's window layer), its placement and the media rectangle, and its
// procedure turns every platform message into an immediate action (paint, placement) or a
// framework event. The drawing port derives from it and overrides the operations below
// (offscreen buffer, blit, focus and caret, palette).
//
// A window value has type 13 and holds one reference to the window object; releasing the last
// one destroys the platform window.

#include "framework/runtime/Event.h"
#include "framework/runtime/Value.h"

#include <cstdint>

namespace platform::gfx {
struct Rect;
}

// Window styles that placement chooses between: an overlapped window with a caption that cannot
// be resized or maximized, or a frameless window over the whole screen.
constexpr uint32_t QEL_WS_POPUP = 0x80000000;
constexpr uint32_t QEL_WS_CLIPCHILDREN = 0x02000000;
constexpr uint32_t QEL_WS_SYSMENU = 0x00080000;
constexpr uint32_t QEL_WS_MINIMIZEBOX = 0x00020000;

// The private window message that becomes a user-message event (0x400 + 1000).
constexpr uint32_t QEL_USER_WINDOW_MESSAGE = 0x7E8;

// Multi-click limits: a press within 400 ms and 5 pixels (on each axis) of the previous one
// counts one more click.
constexpr uint32_t QEL_MULTI_CLICK_MS = 400;
constexpr int32_t QEL_MULTI_CLICK_DISTANCE = 5;

class qelWindowBase : public qelObject {
public:
    qelWindowBase() = default;
    // Destroys the platform window when it still has one.
    ~qelWindowBase() override;

    // Registers nothing (the platform has no window classes) and opens the platform window with
    // the title and a client area of width x height; `style` with QEL_WS_POPUP covers the screen.
    // Stores the creation rectangle. Failure: "Cannot create window: " + title through qelError.
    void create(const qelValue& title, uint32_t style, int32_t x, int32_t y, int32_t width, int32_t height,
        const qelValue& parent);
    void destroy();
    // Computes the media rectangle for a media area of width x height, the window's size and
    // position (centred on the screen, or the whole screen with "MaximizeWindow"), and creates it.
    void place(int32_t width, int32_t height);

    // The window procedure's work: the result the platform gets.
    int64_t handleMessage(uint32_t message, uint64_t wParam, int64_t lParam, uint32_t time);

    // Operations the procedure calls; the drawing port overrides them.
    // Window coordinates to media-area coordinates.
    virtual int32_t convertX(int32_t x) { return x - mediaLeft; }
    virtual int32_t convertY(int32_t y) { return y - mediaTop; }
    // Makes the offscreen buffer and posts the start event.
    virtual void onCreate();
    // Frees the offscreen buffer and posts the platform's quit message.
    virtual void onDestroy();
    virtual void onFocusGained() { hasFocus = 1; }
    virtual void onFocusLost() { hasFocus = 0; }
    // Copies the painted rectangle (client coordinates) to the window's front buffer.
    virtual void blit(const platform::gfx::Rect& rect) { }
    // The palette value of the port (nil: the true-colour display needs none).
    virtual qelValue palette() { return qelNil; }
    // Posts the quit event; the window stays.
    virtual void onClose();
    virtual void makeOffscreenBuffer() { }
    virtual void freeOffscreenBuffer() { }

    // The platform window handle: 0 before creation and after destruction.
    uint32_t handle = 0;
    // The creation rectangle (outer rectangle asked for).
    int32_t createX = 0;
    int32_t createY = 0;
    int32_t createWidth = 0;
    int32_t createHeight = 0;
    // The palette the window last realized.
    qelValue realizedPalette;
    // Where the media area lies in the client area.
    int32_t mediaTop = 0;
    int32_t mediaLeft = 0;
    int32_t mediaBottom = 0;
    int32_t mediaRight = 0;
    int32_t hasFocus = 0;
    int32_t caretActive = 0;
    // The media area's size, as placement was given it.
    int32_t width = 0;
    int32_t height = 0;

private:
    int64_t keyMessage(uint32_t message, uint64_t wParam, int64_t lParam, uint32_t time);
    int64_t mouseMessage(uint32_t message, uint64_t wParam, int64_t lParam, uint32_t time);
    void paint();
    void post(int32_t type, uint32_t time, int32_t key = 0, const qelValue& a = qelNil);
    void postCommand(uint32_t message, uint64_t wParam, int64_t lParam, uint32_t time, bool atOnce);
};

// Makes the window object that qelCreateMainWindow places: the drawing port installs its own.
using qelWindowMaker = qelWindowBase* (*)();
qelWindowMaker qelSetWindowMaker(qelWindowMaker maker);

// A new main window: made by the window maker, placed for the media size ("MediaWidth" and
// "MediaHeight", 640 x 480 by default), wrapped as a window value and registered under its handle.
qelValue qelCreateMainWindow();
// Shows the window at its creation rectangle.
void qelPlaceMainWindow(const qelValue& window);
void qelMinimizeMainWindow(const qelValue& window);
void qelDestroyMainWindow(const qelValue& window);

// The registered window procedure.
int64_t qelAppWindowProc(uint32_t handle, uint32_t message, uint64_t wParam, int64_t lParam);
// The window under creation, else the one registered under the handle, else null.
qelWindowBase* qelWindowFromHandle(uint32_t handle);
// The window value registered under the handle, or nil.
qelValue qelWindowValueFromHandle(uint32_t handle);
// The window object of a window value, or null.
qelWindowBase* qelWindowOf(const qelValue& window);

// The screen's size, read once and kept until a settings or position change clears it.
int32_t qelScreenWidth();
int32_t qelScreenHeight();
void qelClearScreenSizeCache();
bool qelIsNearClick(int32_t x, int32_t y, int32_t previousX, int32_t previousY);
// Takes the handle out of the window table (the table goes when it empties).
void qelForgetWindowHandle(uint32_t handle);

// The media size from the settings, each brought into [1, 8192].
int32_t qelMediaSizeSetting(const char* name, int32_t defaultValue);

// What the video layer needs from the window: whether the background is erased (off while a
// movie with a key colour plays), and the current movie device (-1: none) whose paint, palette,
// notifications and moves the window hands over.
void qelSetEraseSwitch(int32_t on);
void qelSetCurrentMovieDevice(int32_t device);
int32_t qelCurrentMovieDevice();
struct qelMovieWindowHooks {
    void (*paint)() = nullptr;
    void (*realizePalette)() = nullptr;
    void (*notify)(int64_t device) = nullptr;
    void (*moved)(int32_t x, int32_t y) = nullptr;
};
void qelSetMovieWindowHooks(const qelMovieWindowHooks& hooks);
