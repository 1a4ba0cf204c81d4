#pragma once

// Turns a back end's raw input into window messages:
// - keys become WM_KEYDOWN/WM_KEYUP, or WM_SYSKEYDOWN/WM_SYSKEYUP while Alt (and not Control)
//   is held; wParam is the virtual key, lParam has the repeat count 1 in bits 0-15, bit 29 set
//   while Alt is held, bit 30 set when the key was already down and bit 31 set on release;
// - Backspace, Tab, Enter, Escape and Control+letter add the WM_CHAR of their control code
//   right after the key-down (keyCharacter); typed text becomes one WM_CHAR per cp1252
//   character, or WM_SYSCHAR while Alt is held. AltGr is not Alt: back ends report no
//   VK_MENU for it, so what it types arrives as WM_CHAR;
// - mouse events become WM_MOUSEMOVE and the button messages with the MK_* flags in wParam
//   and the position in lParam; outside the client area they are dropped unless the window
//   has captured the mouse;
// - focus changes become WM_SETFOCUS/WM_KILLFOCUS, and losing the focus forgets the held
//   keys and buttons (their releases go to another window);
// - a close request becomes WM_CLOSE.

#include "platform/window/Backend.h"
#include "platform/window/Messages.h"

#include <array>
#include <deque>

namespace platform {

class InputTranslator {
public:
    void translate(
        const InputEvent& event, WindowHandle window, const gfx::Size& client, bool captured, std::deque<Message>& out);

private:
    bool down(uint8_t vk) const { return m_down[vk]; }

    std::array<bool, 256> m_down {};
    bool m_altAlone = false;
    uint64_t m_buttons = 0;
    bool m_focused = false;
};

} // namespace platform
