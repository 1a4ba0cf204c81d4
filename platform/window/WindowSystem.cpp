#include "platform/window/WindowSystem.h"

#include "platform/window/CursorFile.h"

namespace platform {

WindowSystem::WindowSystem(std::unique_ptr<Backend> backend)
    : m_backend(std::move(backend))
    , m_pump(*m_backend)
    , m_window(m_pump, *m_backend)
{
}

WindowSystem::~WindowSystem()
{
    m_window.destroy();
}

uint32_t WindowSystem::standardCursor(uint32_t id) const
{
    switch (id) {
    case IDC_ARROW:
    case IDC_IBEAM:
    case IDC_WAIT:
    case IDC_HAND:
        return id;
    default:
        return 0;
    }
}

uint32_t WindowSystem::loadCursorFile(const std::string& path)
{
    auto image = readCursorFile(path);
    if (!image)
        return 0;
    uint32_t handle = m_nextCursor++;
    m_cursors.emplace(handle, std::move(*image));
    return handle;
}

bool WindowSystem::destroyCursor(uint32_t handle)
{
    if (m_cursors.erase(handle) == 0)
        return false;
    // The back end may still show the destroyed image: fall back to the arrow.
    if (m_cursor == handle)
        setCursor(IDC_ARROW);
    return true;
}

uint32_t WindowSystem::setCursor(uint32_t handle)
{
    uint32_t previous = m_cursor;
    if (auto it = m_cursors.find(handle); it != m_cursors.end()) {
        m_backend->setCursor(0, &it->second);
        m_cursor = handle;
    } else if (standardCursor(handle)) {
        m_backend->setCursor(handle, nullptr);
        m_cursor = handle;
    }
    return previous;
}

bool isMessageBoxButton(uint32_t type, int answer)
{
    switch (type & 0xF) {
    case MB_OK:
        return answer == IDOK;
    case MB_OKCANCEL:
        return answer == IDOK || answer == IDCANCEL;
    case MB_YESNOCANCEL:
        return answer == IDYES || answer == IDNO || answer == IDCANCEL;
    case MB_YESNO:
        return answer == IDYES || answer == IDNO;
    default:
        return false;
    }
}

std::optional<int> messageBoxCloseAnswer(uint32_t type)
{
    switch (type & 0xF) {
    case MB_OK:
        return IDOK;
    case MB_OKCANCEL:
    case MB_YESNOCANCEL:
        return IDCANCEL;
    default:
        return std::nullopt;
    }
}

int WindowSystem::messageBox(const std::string& text, const std::string& caption, uint32_t type)
{
    // Button sets other than the four are shown as OK.
    if (!isMessageBoxButton(type, IDOK) && !isMessageBoxButton(type, IDYES))
        type &= ~0xFu;
    int answer = m_backend->messageBox(text, caption, type);
    if (isMessageBoxButton(type, answer))
        return answer;
    // A back end that could not show the box answers as if it were closed (No for Yes/No).
    return messageBoxCloseAnswer(type).value_or(IDNO);
}

} // namespace platform
