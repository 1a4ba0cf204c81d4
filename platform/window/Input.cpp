#include "platform/window/Input.h"

#include "platform/window/Keys.h"

namespace platform {

namespace {

    constexpr int64_t altBit = int64_t(1) << 29;
    constexpr int64_t previousStateBit = int64_t(1) << 30;
    constexpr int64_t transitionBit = int64_t(1) << 31;

    uint64_t buttonFlag(MouseButton b)
    {
        switch (b) {
        case MouseButton::Left:
            return MK_LBUTTON;
        case MouseButton::Right:
            return MK_RBUTTON;
        case MouseButton::Middle:
            return MK_MBUTTON;
        }
        return 0;
    }

    uint32_t buttonMessage(MouseButton b, bool pressed)
    {
        switch (b) {
        case MouseButton::Left:
            return pressed ? WM_LBUTTONDOWN : WM_LBUTTONUP;
        case MouseButton::Right:
            return pressed ? WM_RBUTTONDOWN : WM_RBUTTONUP;
        case MouseButton::Middle:
            return pressed ? WM_MBUTTONDOWN : WM_MBUTTONUP;
        }
        return 0;
    }

} // namespace

void InputTranslator::translate(
    const InputEvent& e, WindowHandle window, const gfx::Size& client, bool captured, std::deque<Message>& out)
{
    auto emit = [&](uint32_t id, uint64_t wParam, int64_t lParam) {
        out.push_back({ window, id, wParam, lParam, e.time });
    };
    bool alt = down(VK_MENU);
    bool control = down(VK_CONTROL);
    // Keys pressed while Alt (and not Control) is held are system keys.
    bool system = alt && !control;

    switch (e.kind) {
    case InputKind::KeyDown: {
        if (e.vk == 0)
            return;
        bool wasDown = down(e.vk);
        m_down[e.vk] = true;
        if (e.vk == VK_MENU) {
            if (!wasDown)
                m_altAlone = true;
            system = !control;
        } else {
            m_altAlone = false;
        }
        int64_t lParam = 1 | (down(VK_MENU) ? altBit : 0) | (wasDown ? previousStateBit : 0);
        emit(system ? WM_SYSKEYDOWN : WM_KEYDOWN, e.vk, lParam);
        if (!alt) {
            if (auto ch = keyCharacter(e.vk, control))
                emit(WM_CHAR, *ch, lParam);
        }
        return;
    }
    case InputKind::KeyUp: {
        if (e.vk == 0 || !down(e.vk))
            return; // its press went to another window
        m_down[e.vk] = false;
        int64_t lParam = 1 | (alt ? altBit : 0) | previousStateBit | transitionBit;
        if (e.vk == VK_MENU) {
            // Alt released alone is a system key; after Alt+key it is a plain release.
            emit(m_altAlone && !control ? WM_SYSKEYUP : WM_KEYUP, e.vk, lParam);
            m_altAlone = false;
            return;
        }
        emit(system ? WM_SYSKEYUP : WM_KEYUP, e.vk, lParam);
        return;
    }
    case InputKind::Text:
        for (char c : e.text) {
            if (c != '\0')
                emit(system ? WM_SYSCHAR : WM_CHAR, uint8_t(c), 1 | (alt ? altBit : 0));
        }
        return;
    case InputKind::MouseMove:
    case InputKind::ButtonDown:
    case InputKind::ButtonUp: {
        bool inside = e.x >= 0 && e.y >= 0 && e.x < client.width && e.y < client.height;
        if (e.kind == InputKind::ButtonDown)
            m_buttons |= buttonFlag(e.button);
        else if (e.kind == InputKind::ButtonUp)
            m_buttons &= ~buttonFlag(e.button);
        if (!inside && !captured)
            return;
        uint64_t flags = m_buttons | (down(VK_SHIFT) ? MK_SHIFT : 0) | (control ? MK_CONTROL : 0);
        uint32_t id
            = e.kind == InputKind::MouseMove ? WM_MOUSEMOVE : buttonMessage(e.button, e.kind == InputKind::ButtonDown);
        emit(id, flags, makePointParam(e.x, e.y));
        return;
    }
    case InputKind::FocusGained:
        if (!m_focused) {
            m_focused = true;
            emit(WM_SETFOCUS, 0, 0);
        }
        return;
    case InputKind::FocusLost:
        m_down.fill(false);
        m_buttons = 0;
        m_altAlone = false;
        if (m_focused) {
            m_focused = false;
            emit(WM_KILLFOCUS, 0, 0);
        }
        return;
    case InputKind::Close:
        emit(WM_CLOSE, 0, 0);
        return;
    }
}

} // namespace platform
