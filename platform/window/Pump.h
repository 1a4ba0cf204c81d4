#pragma once

// The message pump of the application's thread. Messages come out in this order: posted
// messages (WM_QUIT among them), then input (translated by InputTranslator), then WM_PAINT
// while the window's update region is not empty, then WM_TIMER for an expired timer. WM_PAINT
// stays until the window validates its update region (beginPaint does); a timer's message is
// made only when it is taken, so at most one is ever pending per timer. Everything runs on
// the main thread.

#include "platform/window/Backend.h"
#include "platform/window/Input.h"
#include "platform/window/Messages.h"
#include "platform/window/Timers.h"

#include <array>
#include <deque>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace platform {

class Window;

class Pump {
public:
    explicit Pump(Backend& backend);

    uint32_t now() { return m_backend.now(); }

    void post(WindowHandle window, uint32_t id, uint64_t wParam, int64_t lParam);
    void postQuit(int exitCode);

    // Takes (or, with `remove` false, copies) the next message; false when there is none.
    bool peek(Message& message, bool remove = true);
    // Takes the next message, waiting up to `timeoutMs` (negative: no limit; 0: one look).
    // Returns 1 for a message, 0 for WM_QUIT (also stored in `message`), -1 on time-out.
    int wait(Message& message, int32_t timeoutMs);

    // Hands a message to its window's procedure; 0 when no window takes it.
    int64_t dispatch(const Message& message);
    // Calls the window procedure at once, as a sent message.
    int64_t send(WindowHandle window, uint32_t id, uint64_t wParam, int64_t lParam);

    bool setTimer(WindowHandle window, uint64_t id, uint32_t periodMs, bool oneShot = false);
    bool killTimer(WindowHandle window, uint64_t id);

    // Key state as of the last message taken, like GetKeyState's high bit.
    bool keyDown(uint8_t vk) const { return m_keyState[vk]; }
    // Time of the last message taken.
    uint32_t messageTime() const { return m_messageTime; }

    // Work that falls due by the clock rather than by a message (movie frames and ends), run at
    // every look for messages; it answers the milliseconds until it is next due, or nothing.
    // Waits end in time for it. One piece of work per owner; null work removes the owner's.
    using TimedWork = std::function<std::optional<uint32_t>(uint32_t now)>;
    void setTimedWork(const void* owner, TimedWork work);

    // The window that receives input, paint and timers (Window registers itself).
    void attach(Window* window) { m_window = window; }
    void detach(Window* window);
    void dropMessagesFor(WindowHandle window);

private:
    void take(const Message& message);
    bool fetchInput(bool idle);

    std::optional<uint32_t> runTimedWork(uint32_t now);

    Backend& m_backend;
    Window* m_window = nullptr;
    std::vector<std::pair<const void*, TimedWork>> m_timedWork;
    std::deque<Message> m_posted;
    std::deque<Message> m_input;
    Timers m_timers;
    InputTranslator m_translator;
    std::array<bool, 256> m_keyState {};
    uint32_t m_messageTime = 0;
};

} // namespace platform
