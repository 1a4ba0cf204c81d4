#include "platform/window/HeadlessBackend.h"

#include "platform/gfx/Png.h"
#include "platform/sys/Cp1252.h"
#include "platform/sys/LocalTime.h"
#include "platform/window/Keys.h"
#include "platform/window/WindowSystem.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace platform {

namespace {

    std::string buttonsOf(uint32_t type)
    {
        switch (type & 0xF) {
        case MB_OKCANCEL:
            return "OK, Cancel";
        case MB_YESNOCANCEL:
            return "Yes, No, Cancel";
        case MB_YESNO:
            return "Yes, No";
        default:
            return "OK";
        }
    }

    InputEvent inputOf(InputKind kind, int x = 0, int y = 0)
    {
        InputEvent e;
        e.kind = kind;
        e.x = x;
        e.y = y;
        return e;
    }

} // namespace

HeadlessBackend::HeadlessBackend()
    : HeadlessBackend(Options {})
{
}

HeadlessBackend::HeadlessBackend(Options options)
    : m_options(std::move(options))
{
}

void HeadlessBackend::setScript(const Script& script)
{
    m_actions = script.actions();
    m_hasScript = true;
    m_next = 0;
    m_closeSent = false;
    m_waiting = false;
    m_answerWaiting = false;
    // The dates at the head of the script are the calendar the program starts on.
    while (m_next < m_actions.size() && m_actions[m_next].kind == ScriptAction::Kind::Date)
        setCalendarClock(m_actions[m_next++].moment);
}

void HeadlessBackend::stuck(const std::string& why)
{
    if (m_options.exitWhenStuck) {
        std::fprintf(stderr, "headless run stopped: %s\n", why.c_str());
        std::fflush(nullptr);
        std::exit(3);
    }
    throw HeadlessStuck(why);
}

void HeadlessBackend::advance(uint32_t ms)
{
    m_now += ms;
    advanceCalendarClock(ms);
}

void HeadlessBackend::takeRaiseRequests()
{
    m_raises += m_raiseRequests.exchange(0);
}

bool HeadlessBackend::openWindow(const WindowParams& params)
{
    m_params = params;
    m_open = true;
    m_visible = m_minimized = m_captured = false;
    m_shown = gfx::Surface(params.width, params.height);
    return true;
}

void HeadlessBackend::closeWindow()
{
    m_open = m_visible = false;
    m_pending.clear();
}

void HeadlessBackend::showWindow()
{
    if (!m_open || m_visible)
        return;
    m_visible = true;
    m_minimized = false;
    // A window that is shown becomes the active one.
    m_pending.push_back(inputOf(InputKind::FocusGained));
}

void HeadlessBackend::mouseTo(int x, int y)
{
    if (x == m_lastX && y == m_lastY)
        return;
    m_lastX = x;
    m_lastY = y;
    m_pending.push_back(inputOf(InputKind::MouseMove, x, y));
}

bool HeadlessBackend::releaseNext()
{
    using Kind = ScriptAction::Kind;
    while (m_pending.empty()) {
        if (inWait())
            return false;
        m_waiting = false;
        if (m_next >= m_actions.size()) {
            if (!m_hasScript || m_closeSent || !m_open)
                return false;
            m_closeSent = true;
            m_closedAt = m_now;
            m_pending.push_back(inputOf(InputKind::Close));
            return true;
        }
        const ScriptAction& a = m_actions[m_next];
        auto button = [&](InputKind kind) { m_pending.push_back(inputOf(kind, a.x, a.y)); };
        auto key = [&](InputKind kind, uint8_t vk) {
            InputEvent e = inputOf(kind);
            e.vk = vk;
            m_pending.push_back(e);
        };
        switch (a.kind) {
        case Kind::Answer:
            if (!m_answerWaiting) {
                m_answerWaiting = true;
                m_answerSince = m_now;
            }
            return false; // taken by the next message box
        case Kind::Wait:
            m_waiting = true;
            m_waitUntil = m_now + a.milliseconds;
            break;
        case Kind::Shot: {
            std::string path = m_options.screensFolder + "/" + a.text + ".png";
            if (m_shown.isEmpty() || !gfx::writePng(m_shown, path))
                stuck("line " + std::to_string(a.line) + ": cannot write the screenshot " + path);
            m_shots.push_back(a.text);
            break;
        }
        case Kind::Move:
            mouseTo(a.x, a.y);
            break;
        case Kind::Down:
        case Kind::Up:
            mouseTo(a.x, a.y);
            button(a.kind == Kind::Down ? InputKind::ButtonDown : InputKind::ButtonUp);
            break;
        case Kind::Click:
        case Kind::DoubleClick:
            mouseTo(a.x, a.y);
            for (int i = 0; i < (a.kind == Kind::Click ? 1 : 2); ++i) {
                button(InputKind::ButtonDown);
                button(InputKind::ButtonUp);
            }
            break;
        case Kind::Key:
            if (a.shift)
                key(InputKind::KeyDown, VK_SHIFT);
            if (a.control)
                key(InputKind::KeyDown, VK_CONTROL);
            if (a.alt)
                key(InputKind::KeyDown, VK_MENU);
            key(InputKind::KeyDown, a.vk);
            key(InputKind::KeyUp, a.vk);
            if (a.alt)
                key(InputKind::KeyUp, VK_MENU);
            if (a.control)
                key(InputKind::KeyUp, VK_CONTROL);
            if (a.shift)
                key(InputKind::KeyUp, VK_SHIFT);
            break;
        case Kind::Text: {
            InputEvent e = inputOf(InputKind::Text);
            e.text = a.text;
            m_pending.push_back(e);
            break;
        }
        case Kind::Close:
            m_pending.push_back(inputOf(InputKind::Close));
            break;
        case Kind::Date:
            setCalendarClock(a.moment);
            break;
        }
        ++m_next;
    }
    return true;
}

bool HeadlessBackend::pollInput(InputEvent& event, bool idle)
{
    takeRaiseRequests();
    if (m_pending.empty()) {
        if (!idle)
            return false;
        if (!releaseNext()) {
            // Time passes even for a program that only polls: from the third empty poll
            // without a wait in between. (A look for input that is followed by a wait polls
            // twice: once for the look, once at the start of the wait.)
            if (m_emptyPolls >= 2)
                advance(1);
            else
                ++m_emptyPolls;
            return false;
        }
    }
    event = std::move(m_pending.front());
    m_pending.pop_front();
    event.time = m_now;
    return true;
}

void HeadlessBackend::waitInput(int32_t timeoutMs)
{
    takeRaiseRequests();
    m_emptyPolls = 0;
    if (!m_pending.empty())
        return;
    if (inWait()) {
        uint32_t left = m_waitUntil - m_now;
        advance(timeoutMs >= 0 && uint32_t(timeoutMs) < left ? uint32_t(timeoutMs) : left);
        return;
    }
    if (m_next < m_actions.size() && m_actions[m_next].kind == ScriptAction::Kind::Answer) {
        const ScriptAction& a = m_actions[m_next];
        if (timeoutMs < 0 || uint32_t(m_now - m_answerSince) > m_options.quietLimitMs)
            stuck("line " + std::to_string(a.line) + ": answer " + std::to_string(a.answer)
                + " was never taken: no message box appeared");
        advance(uint32_t(timeoutMs));
        return;
    }
    if (!m_hasScript) {
        if (timeoutMs < 0)
            stuck("the program waits for input and there is no script");
        advance(uint32_t(timeoutMs));
        return;
    }
    if (m_next < m_actions.size() || (!m_closeSent && m_open)) {
        // The next action is released at the next idle poll.
        advance(timeoutMs >= 0 ? uint32_t(timeoutMs) : 1);
        return;
    }
    if (timeoutMs < 0)
        stuck("the program waits for input after the script ended");
    advance(uint32_t(timeoutMs));
    if (uint32_t(m_now - m_closedAt) > m_options.quietLimitMs)
        stuck("the program still runs " + std::to_string(m_options.quietLimitMs / 1000)
            + " s after its window was closed");
}

void HeadlessBackend::present(const gfx::Surface& front, const gfx::Rect& dirty)
{
    if (m_shown.width() != front.width() || m_shown.height() != front.height()) {
        m_shown = front;
    } else {
        gfx::Rect r = dirty.intersected(front.bounds());
        for (int y = r.top; y < r.bottom; ++y)
            std::copy(front.row(y) + r.left, front.row(y) + r.right, m_shown.row(y) + r.left);
    }
    m_presentations.push_back(dirty);
}

void HeadlessBackend::setCaret(const gfx::Rect& rect, bool visible)
{
    m_caretRect = rect;
    m_caretVisible = visible;
}

void HeadlessBackend::setCursor(uint32_t standardId, const CursorImage* image)
{
    if (image)
        m_cursors.push_back({ 0, image->width, image->height, image->hotX, image->hotY });
    else
        m_cursors.push_back({ standardId });
}

int HeadlessBackend::messageBox(const std::string& text, const std::string& caption, uint32_t type)
{
    m_boxes.push_back({ text, caption, type, 0 });
    if (m_next >= m_actions.size() || m_actions[m_next].kind != ScriptAction::Kind::Answer)
        stuck("a message box has no scripted answer: \"" + cp1252::toUtf8(text) + "\" (" + buttonsOf(type) + ")");
    const ScriptAction& a = m_actions[m_next];
    if (!isMessageBoxButton(type, a.answer))
        stuck("line " + std::to_string(a.line) + ": answer " + std::to_string(a.answer)
            + " is not a button of the message box \"" + cp1252::toUtf8(text) + "\" (" + buttonsOf(type) + ")");
    // A box that appears during a scripted wait is answered when the wait ends.
    if (inWait())
        m_now = m_waitUntil;
    m_waiting = false;
    m_answerWaiting = false;
    ++m_next;
    m_boxes.back().answer = a.answer;
    return a.answer;
}

bool HeadlessBackend::setClipboardText(const std::string& text)
{
    m_clipboardWrites.push_back(text);
    m_clipboard = text;
    if (!m_options.clipboardFile.empty()) {
        std::string line;
        for (char c : cp1252::toUtf8(text))
            line += c == '\n' ? std::string("\\n") : c == '\\' ? std::string("\\\\") : std::string(1, c);
        std::ofstream(m_options.clipboardFile, std::ios::app) << line << '\n';
    }
    return true;
}

} // namespace platform
