#include "platform/window/Pump.h"

#include "platform/window/Window.h"

#include <algorithm>

namespace platform {

Pump::Pump(Backend& backend)
    : m_backend(backend)
{
}

void Pump::post(WindowHandle window, uint32_t id, uint64_t wParam, int64_t lParam)
{
    m_posted.push_back({ window, id, wParam, lParam, now() });
}

void Pump::postQuit(int exitCode)
{
    m_posted.push_back({ 0, WM_QUIT, uint64_t(int64_t(exitCode)), 0, now() });
}

void Pump::detach(Window* window)
{
    if (m_window == window)
        m_window = nullptr;
}

void Pump::dropMessagesFor(WindowHandle window)
{
    std::erase_if(m_posted, [&](const Message& m) { return m.window == window; });
    std::erase_if(m_input, [&](const Message& m) { return m.window == window; });
    m_timers.killAll(window);
}

bool Pump::fetchInput(bool idle)
{
    InputEvent event;
    while (m_input.empty() && m_backend.pollInput(event, idle)) {
        if (!m_window || !m_window->isOpen())
            continue; // input for no window goes nowhere
        m_translator.translate(event, m_window->handle(), m_window->clientSize(), m_window->hasCapture(), m_input);
    }
    return !m_input.empty();
}

void Pump::take(const Message& m)
{
    m_messageTime = m.time;
    switch (m.id) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        m_keyState[m.wParam & 0xFF] = true;
        break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        m_keyState[m.wParam & 0xFF] = false;
        break;
    case WM_SETFOCUS:
        if (m_window && m_window->handle() == m.window)
            m_window->m_focus = true;
        break;
    case WM_KILLFOCUS:
        m_keyState.fill(false);
        if (m_window && m_window->handle() == m.window)
            m_window->m_focus = false;
        break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        // The window chooses the cursor for the pointer over it, unless it has the capture.
        if (m_window && m_window->handle() == m.window && !m_window->hasCapture())
            send(m.window, WM_SETCURSOR, m.window, HTCLIENT | (int64_t(m.id) << 16));
        break;
    default:
        break;
    }
}

void Pump::setTimedWork(const void* owner, TimedWork work)
{
    std::erase_if(m_timedWork, [&](const auto& entry) { return entry.first == owner; });
    if (work)
        m_timedWork.emplace_back(owner, std::move(work));
}

std::optional<uint32_t> Pump::runTimedWork(uint32_t time)
{
    std::optional<uint32_t> next;
    // A copy: the work may change the list (a movie closed at its end).
    auto work = m_timedWork;
    for (auto& entry : work) {
        if (auto due = entry.second(time); due && (!next || *due < *next))
            next = due;
    }
    return next;
}

bool Pump::peek(Message& message, bool remove)
{
    runTimedWork(now());
    auto hand = [&](std::deque<Message>& queue) {
        message = queue.front();
        if (remove) {
            queue.pop_front();
            take(message);
        }
        return true;
    };
    if (!m_posted.empty())
        return hand(m_posted);
    if (!m_input.empty())
        return hand(m_input);

    uint32_t time = now();
    bool paint = m_window && m_window->isOpen() && m_window->hasUpdate();
    bool idle = !paint && !m_timers.anyDue(time);
    // Show what was drawn before the back end is asked for more (a scripted back end takes
    // its screenshots then).
    if (idle && m_window)
        m_window->flush();
    if (fetchInput(idle))
        return hand(m_input);

    if (paint) {
        message = { m_window->handle(), WM_PAINT, 0, 0, time };
        if (remove)
            m_messageTime = time;
        return true;
    }
    if (auto timer = m_timers.due(time, remove)) {
        message = *timer;
        if (remove)
            m_messageTime = time;
        return true;
    }
    return false;
}

int Pump::wait(Message& message, int32_t timeoutMs)
{
    uint32_t deadline = now() + uint32_t(std::max(timeoutMs, 0));
    while (true) {
        if (peek(message, true))
            return message.id == WM_QUIT ? 0 : 1;
        uint32_t time = now();
        if (timeoutMs >= 0 && timeReached(time, deadline))
            return -1;
        int64_t limit = timeoutMs >= 0 ? int64_t(deadline - time) : -1;
        if (auto next = m_timers.untilNext(time); next && (limit < 0 || *next < limit))
            limit = *next;
        if (auto next = runTimedWork(time); next && (limit < 0 || *next < limit))
            limit = *next;
        if (m_window)
            m_window->flush();
        m_backend.waitInput(int32_t(std::min<int64_t>(limit, 0x7FFFFFFF)));
    }
}

int64_t Pump::dispatch(const Message& message)
{
    return send(message.window, message.id, message.wParam, message.lParam);
}

int64_t Pump::send(WindowHandle window, uint32_t id, uint64_t wParam, int64_t lParam)
{
    if (!m_window || window == 0 || m_window->handle() != window)
        return 0;
    if (!m_window->m_proc)
        return m_window->defaultProc(id, wParam, lParam);
    return m_window->m_proc(window, id, wParam, lParam);
}

bool Pump::setTimer(WindowHandle window, uint64_t id, uint32_t periodMs, bool oneShot)
{
    if (!m_window || window != m_window->handle() || window == 0)
        return false;
    m_timers.set(window, id, periodMs, oneShot, now());
    return true;
}

bool Pump::killTimer(WindowHandle window, uint64_t id)
{
    return m_timers.kill(window, id);
}

} // namespace platform
