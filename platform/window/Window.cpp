#include "platform/window/Window.h"

#include "platform/window/Keys.h"
#include "platform/window/Presentation.h"
#include "platform/window/Pump.h"

#include <algorithm>

namespace platform {

namespace {

    WindowHandle nextHandle = 0x10;

} // namespace

Window::Window(Pump& pump, Backend& backend)
    : m_pump(pump)
    , m_backend(backend)
{
}

Window::~Window()
{
    destroy();
    m_pump.detach(this);
}

WindowHandle Window::create(const WindowParams& params, WindowProc proc)
{
    if (isOpen())
        return 0;
    WindowParams actual = params;
    if (params.fullscreen) {
        gfx::Size screen = m_backend.screenSize();
        actual.width = screen.width;
        actual.height = screen.height;
    }
    // A surface refuses sides above its maximum; a window of no size would show nothing.
    if (actual.width <= 0 || actual.height <= 0 || actual.width > gfx::Surface::maxSide
        || actual.height > gfx::Surface::maxSide || !m_backend.openWindow(actual))
        return 0;
    m_front = gfx::Surface(actual.width, actual.height);
    m_retiredProc = std::move(m_proc); // may be the caller, when a procedure creates the window again
    m_proc = std::move(proc);
    m_handle = nextHandle++;
    m_update = {};
    m_dirty = {};
    m_capture = m_focus = m_caretExists = m_caretShown = false;
    m_pump.attach(this);
    if (m_pump.send(m_handle, WM_CREATE, 0, 0) == -1) {
        destroy();
        return 0;
    }
    return m_handle;
}

void Window::destroy()
{
    if (!isOpen())
        return;
    WindowHandle handle = m_handle;
    m_pump.send(handle, WM_DESTROY, 0, 0);
    if (m_capture)
        m_backend.setCapture(false);
    if (m_caretExists)
        m_backend.setCaret({}, false);
    m_backend.closeWindow();
    m_pump.dropMessagesFor(handle);
    m_pump.detach(this);
    m_handle = 0;
    // The procedure stays (unused) until the next creation: destroy() is often called from
    // inside it, and it must not be freed while it runs.
    m_update = m_dirty = {};
    m_capture = m_focus = m_caretExists = m_caretShown = false;
}

void Window::show()
{
    if (!isOpen())
        return;
    m_backend.showWindow();
    invalidate(nullptr, true);
}

void Window::minimize()
{
    if (isOpen())
        m_backend.minimizeWindow();
}

void Window::frontChanged(const gfx::Rect& rect)
{
    m_dirty = m_dirty.united(rect.intersected(m_front.bounds()));
}

void Window::flush()
{
    if (!isOpen() || m_dirty.isEmpty())
        return;
    gfx::Rect dirty = m_dirty;
    m_dirty = {};
    const gfx::Surface& shown = composePresentation(m_front, dirty);
    m_backend.present(shown, dirty);
}

void Window::invalidate(const gfx::Rect* rect, bool erase)
{
    if (!isOpen())
        return;
    gfx::Rect area = rect ? rect->intersected(m_front.bounds()) : m_front.bounds();
    if (area.isEmpty())
        return;
    m_update = m_update.united(area);
    m_updateErase = m_updateErase || erase;
}

void Window::validate(const gfx::Rect* rect)
{
    // The region is kept as one rectangle, so only a rectangle that covers it empties it.
    if (!rect
        || (rect->left <= m_update.left && rect->top <= m_update.top && rect->right >= m_update.right
            && rect->bottom >= m_update.bottom)) {
        m_update = {};
        m_updateErase = false;
    }
}

Window::Paint Window::beginPaint()
{
    Paint paint { m_update, false };
    bool erase = m_updateErase;
    m_update = {};
    m_updateErase = false;
    m_painting = paint.rect;
    if (erase && !paint.rect.isEmpty())
        paint.erase = m_pump.send(m_handle, WM_ERASEBKGND, 0, 0) == 0;
    return paint;
}

void Window::endPaint(const Paint& paint)
{
    frontChanged(paint.rect);
    m_painting = {};
}

void Window::update()
{
    if (isOpen() && hasUpdate())
        m_pump.send(m_handle, WM_PAINT, 0, 0);
}

void Window::setCapture()
{
    if (!isOpen() || m_capture)
        return;
    m_capture = true;
    m_backend.setCapture(true);
}

void Window::releaseCapture()
{
    if (!m_capture)
        return;
    m_capture = false;
    m_backend.setCapture(false);
}

void Window::createCaret(int width, int height)
{
    m_caretExists = isOpen();
    m_caretShown = false; // a new caret starts hidden
    m_caret = gfx::Rect::fromSize(m_caret.left, m_caret.top, std::max(width, 1), std::max(height, 1));
    caretChanged();
}

void Window::destroyCaret()
{
    if (!m_caretExists)
        return;
    m_caretExists = m_caretShown = false;
    caretChanged();
}

void Window::setCaretPos(int x, int y)
{
    m_caret = gfx::Rect::fromSize(x, y, m_caret.width(), m_caret.height());
    if (m_caretExists)
        caretChanged();
}

void Window::showCaret()
{
    if (!m_caretExists || m_caretShown)
        return;
    m_caretShown = true;
    caretChanged();
}

void Window::hideCaret()
{
    if (!m_caretExists || !m_caretShown)
        return;
    m_caretShown = false;
    caretChanged();
}

void Window::caretChanged()
{
    m_backend.setCaret(m_caret, caretVisible());
}

int64_t Window::defaultProc(uint32_t id, uint64_t wParam, int64_t lParam)
{
    switch (id) {
    case WM_ERASEBKGND:
        m_front.fill(m_painting, 0);
        frontChanged(m_painting);
        return 1;
    case WM_PAINT: {
        Paint paint = beginPaint();
        endPaint(paint);
        return 0;
    }
    case WM_CLOSE:
        destroy();
        return 0;
    case WM_SYSKEYDOWN:
        if (wParam == VK_F1 + 3 && (lParam & (int64_t(1) << 29)))
            return m_pump.send(m_handle, WM_CLOSE, 0, 0);
        return 0;
    default:
        return 0;
    }
}

} // namespace platform
