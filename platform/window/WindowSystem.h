#pragma once

// The window layer of one process: a back end, the pump, the application window, and the
// services that need no window: cursors, message boxes, the clipboard and the beep.

#include "platform/window/Backend.h"
#include "platform/window/Pump.h"
#include "platform/window/Window.h"

#include <map>
#include <memory>

namespace platform {

class WindowSystem {
public:
    explicit WindowSystem(std::unique_ptr<Backend> backend);
    ~WindowSystem();

    Backend& backend() { return *m_backend; }
    Pump& pump() { return m_pump; }
    Window& window() { return m_window; }
    uint32_t now() { return m_backend->now(); }

    // Cursor handles. A standard cursor's handle is its id (IDC_ARROW...); 0 for an unknown id.
    uint32_t standardCursor(uint32_t id) const;
    // A cursor from a cursor file; 0 when the file is missing or malformed.
    uint32_t loadCursorFile(const std::string& path);
    // Standard cursors are shared and never destroyed: false for them and unknown handles.
    bool destroyCursor(uint32_t handle);
    // Makes a cursor current and returns the previous one; an unknown handle (0 among them)
    // changes nothing.
    uint32_t setCursor(uint32_t handle);
    uint32_t cursor() const { return m_cursor; }

    // A modal box with the type's buttons (MB_OK, MB_OKCANCEL, MB_YESNOCANCEL, MB_YESNO, plus
    // an icon); returns the button's id. Texts are cp1252.
    int messageBox(const std::string& text, const std::string& caption, uint32_t type);

    bool setClipboardText(const std::string& cp1252) { return m_backend->setClipboardText(cp1252); }
    std::optional<std::string> clipboardText() { return m_backend->clipboardText(); }
    void beep(uint32_t type = 0) { m_backend->beep(type); }

private:
    std::unique_ptr<Backend> m_backend;
    Pump m_pump;
    Window m_window;
    std::map<uint32_t, CursorImage> m_cursors;
    uint32_t m_nextCursor = 1;
    uint32_t m_cursor = IDC_ARROW;
};

// Whether `answer` is one of the buttons of a message-box type, and the answer of a box that
// is closed without choosing (Cancel when it has one; OK for an OK box; nothing otherwise).
bool isMessageBoxButton(uint32_t type, int answer);
std::optional<int> messageBoxCloseAnswer(uint32_t type);

} // namespace platform
