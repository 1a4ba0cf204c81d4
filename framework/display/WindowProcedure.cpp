#include "framework/display/AppWindow.h"

#include "framework/display/Cursor.h"
#include "framework/runtime/CurrentEnvironment.h"
#include "framework/runtime/EventQueue.h"
#include "framework/runtime/List.h"
#include "framework/runtime/ProgramEntry.h"
#include "platform/window/Keys.h"
#include "platform/window/WindowSystem.h"

namespace {

using namespace platform;

// The input state of the window layer: one window per process.
struct InputState {
    int32_t modifiers = 0;
    uint8_t lastKeyDown = 0; // the platform key last pressed
    int32_t lastKeyCode = 0; // the framework key code last posted
    int32_t lastX = 0; // media-area coordinates
    int32_t lastY = 0;
    bool dragging = false;
    bool clicked = false; // a click has been counted since the window was made
    int32_t lastClickX = 0;
    int32_t lastClickY = 0;
    uint32_t lastClickTime = 0;
    int32_t clickCount = 1;
};

InputState input;
int32_t eraseSwitch = 1;
int32_t movieDevice = -1;
int32_t replyWord = 0;
qelMovieWindowHooks movieHooks;

int64_t defaultProcessing(uint32_t message, uint64_t wParam, int64_t lParam)
{
    WindowSystem* system = qelWindowSystem();
    return system ? system->window().defaultProc(message, wParam, lParam) : 0;
}

bool keyHeld(uint8_t vk)
{
    WindowSystem* system = qelWindowSystem();
    return system && system->pump().keyDown(vk);
}

void refreshModifiers()
{
    input.modifiers &= ~(QEL_SHIFT_KEY | QEL_CONTROL_KEY | QEL_ALT_KEY);
    if (keyHeld(VK_SHIFT))
        input.modifiers |= QEL_SHIFT_KEY;
    if (keyHeld(VK_CONTROL))
        input.modifiers |= QEL_CONTROL_KEY;
    if (keyHeld(VK_MENU))
        input.modifiers |= QEL_ALT_KEY;
}

// The framework code of a special key (in the upper half of the key field), or 0.
int32_t specialKeyCode(uint8_t vk)
{
    if (vk >= VK_F1 && vk <= VK_F12)
        return vk - VK_F1 + 1;
    switch (vk) {
    case VK_INSERT:
        return 0x0D;
    case VK_DELETE:
        return 0x0E;
    case VK_HOME:
        return 0x0F;
    case VK_END:
        return 0x10;
    case VK_PRIOR:
        return 0x12;
    case VK_NEXT:
        return 0x13;
    case VK_LEFT:
        return 0x14;
    case VK_RIGHT:
        return 0x15;
    case VK_UP:
        return 0x16;
    case VK_DOWN:
        return 0x17;
    default:
        return 0;
    }
}

// Alt pressed and released with no other key between.
constexpr int32_t alt_alone_code = 0x18 << 16;

} // namespace

void qelSetEraseSwitch(int32_t on)
{
    eraseSwitch = on;
}

void qelSetCurrentMovieDevice(int32_t device)
{
    movieDevice = device;
}

int32_t qelCurrentMovieDevice()
{
    return movieDevice;
}

void qelSetMovieWindowHooks(const qelMovieWindowHooks& hooks)
{
    movieHooks = hooks;
}

int64_t qelAppWindowProc(uint32_t handle, uint32_t message, uint64_t wParam, int64_t lParam)
{
    qelWindowBase* window = qelWindowFromHandle(handle);
    if (!window)
        return defaultProcessing(message, wParam, lParam);
    if (window->handle == 0)
        window->handle = handle;
    WindowSystem* system = qelWindowSystem();
    uint32_t time = system ? system->pump().messageTime() : 0;
    return window->handleMessage(message, wParam, lParam, time);
}

void qelWindowBase::post(int32_t type, uint32_t time, int32_t key, const qelValue& a)
{
    qelEvent event;
    event.type = type;
    event.time = int32_t(time);
    event.modifiers = input.modifiers;
    event.key = key;
    event.a = a;
    event.b = qelWindowValueFromHandle(handle);
    if (type & (QEL_MOUSE_MOVE_EVENT | QEL_MOUSE_DOWN_EVENT | QEL_DRAG_EVENT | QEL_MOUSE_UP_EVENT)) {
        event.x = input.lastX;
        event.y = input.lastY;
    }
    // A full queue drops the event.
    qelPostEvent(event);
}

void qelWindowBase::postCommand(uint32_t message, uint64_t wParam, int64_t lParam, uint32_t time, bool atOnce)
{
    qelValue list = qelMakeList(4, 100, QEL_GENERAL_LIST);
    qelListObject* items = qelListObjectOf(list);
    items->append(qelMakeInt(int32_t(handle)));
    items->append(qelMakeInt(int32_t(message)));
    items->append(qelMakeInt(int32_t(wParam)));
    items->append(qelMakeInt(int32_t(lParam)));
    if (!atOnce) {
        post(QEL_COMMAND_EVENT, time, 0, list);
        return;
    }
    qelEvent event;
    event.type = QEL_COMMAND_EVENT;
    event.time = int32_t(time);
    event.modifiers = input.modifiers;
    event.a = list;
    event.b = qelWindowValueFromHandle(handle);
    if (qelEnvironmentBase* environment = qelCurrentEnvironment())
        environment->dispatch(event);
}

int64_t qelWindowBase::keyMessage(uint32_t message, uint64_t wParam, int64_t lParam, uint32_t time)
{
    refreshModifiers();
    uint8_t vk = uint8_t(wParam);
    if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN) {
        input.lastKeyCode = 0;
        input.lastKeyDown = vk;
        int32_t code = 0;
        switch (vk) {
        case VK_SHIFT:
            input.modifiers |= QEL_SHIFT_KEY;
            return 0;
        case VK_CONTROL:
            input.modifiers |= QEL_CONTROL_KEY;
            return 0;
        case VK_MENU:
            input.modifiers |= QEL_ALT_KEY;
            return 0;
        case VK_TAB:
            // Alt+Tab belongs to the system.
            return input.modifiers == QEL_ALT_KEY ? defaultProcessing(message, wParam, lParam) : 0;
        case VK_ESCAPE:
            // Control+Escape belongs to the system; Escape itself arrives as a character.
            return input.modifiers == QEL_CONTROL_KEY ? defaultProcessing(message, wParam, lParam) : 0;
        default:
            if (int32_t special = specialKeyCode(vk))
                code = special << 16;
            else if ((input.modifiers & (QEL_CONTROL_KEY | QEL_ALT_KEY))
                && ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')))
                code = vk;
            break;
        }
        if (code) {
            input.lastKeyCode = code;
            post(QEL_KEY_DOWN_EVENT, time, code);
        }
        return 0;
    }
    if (message == WM_CHAR) {
        if (input.modifiers & QEL_ALT_KEY) {
            input.modifiers &= ~QEL_ALT_KEY;
            return 0;
        }
        input.lastKeyCode = int32_t(uint8_t(wParam));
        post(QEL_KEY_DOWN_EVENT, time, input.lastKeyCode);
        return 0;
    }
    // Key up.
    switch (vk) {
    case VK_SHIFT:
        input.modifiers &= ~QEL_SHIFT_KEY;
        return 0;
    case VK_CONTROL:
        input.modifiers &= ~QEL_CONTROL_KEY;
        return 0;
    case VK_MENU:
        input.modifiers &= ~QEL_ALT_KEY;
        if (input.lastKeyDown == VK_MENU) {
            input.lastKeyDown = 0;
            input.lastKeyCode = 0;
            post(QEL_KEY_UP_EVENT, time, alt_alone_code);
        }
        return 0;
    default:
        input.lastKeyDown = 0;
        if (input.lastKeyCode) {
            post(QEL_KEY_UP_EVENT, time, input.lastKeyCode);
            input.lastKeyCode = 0;
        }
        return 0;
    }
}

int64_t qelWindowBase::mouseMessage(uint32_t message, uint64_t wParam, int64_t lParam, uint32_t time)
{
    WindowSystem* system = qelWindowSystem();
    int32_t x = convertX(pointParamX(lParam));
    int32_t y = convertY(pointParamY(lParam));
    switch (message) {
    case WM_MOUSEMOVE:
        if (x == input.lastX && y == input.lastY)
            return 0;
        input.lastX = x;
        input.lastY = y;
        if (wParam & (MK_LBUTTON | MK_RBUTTON)) {
            input.dragging = true;
            post(QEL_DRAG_EVENT, time);
        } else {
            post(QEL_MOUSE_MOVE_EVENT, time);
        }
        return 0;
    case WM_LBUTTONDOWN:
        input.modifiers |= QEL_LEFT_BUTTON;
        // The clock wraps: the interval is the unsigned difference. The first click of a window
        // counts 1 whatever the clock says.
        if (input.clicked && uint32_t(time - input.lastClickTime) < QEL_MULTI_CLICK_MS
            && qelIsNearClick(x, y, input.lastClickX, input.lastClickY))
            ++input.clickCount;
        else
            input.clickCount = 1;
        input.clicked = true;
        input.lastX = input.lastClickX = x;
        input.lastY = input.lastClickY = y;
        input.lastClickTime = time;
        post(QEL_MOUSE_DOWN_EVENT, time, input.clickCount);
        input.dragging = true;
        if (system)
            system->window().setCapture();
        return 0;
    default: // WM_LBUTTONUP
        input.modifiers &= ~QEL_LEFT_BUTTON;
        input.lastX = x;
        input.lastY = y;
        if (!input.dragging)
            return 0;
        input.dragging = false;
        if (system)
            system->window().releaseCapture();
        post(QEL_MOUSE_UP_EVENT, time);
        return 0;
    }
}

void qelWindowBase::paint()
{
    WindowSystem* system = qelWindowSystem();
    if (!system)
        return;
    platform::Window& platformWindow = system->window();
    platform::Window::Paint painting = platformWindow.beginPaint();
    if (movieDevice >= 0 && movieHooks.paint) {
        movieHooks.paint();
    } else {
        // A true-colour display realizes nothing: the palette is only remembered.
        qelValue windowPalette = palette();
        if (!windowPalette.isNil())
            realizedPalette = windowPalette;
        blit(painting.rect);
    }
    platformWindow.endPaint(painting);
}

int64_t qelWindowBase::handleMessage(uint32_t message, uint64_t wParam, int64_t lParam, uint32_t time)
{
    switch (message) {
    case WM_CREATE:
        input = InputState {};
        onCreate();
        return 0;
    case WM_DESTROY:
        if (handle) {
            qelForgetWindowHandle(handle);
            handle = 0;
            onDestroy();
        }
        return 0;
    case WM_SETFOCUS:
        onFocusGained();
        post(QEL_FOCUS_GAINED_EVENT, time);
        return 0;
    case WM_KILLFOCUS:
        input.lastKeyDown = 0;
        onFocusLost();
        post(QEL_FOCUS_LOST_EVENT, time);
        return 0;
    case WM_PAINT:
        paint();
        return 0;
    case WM_CLOSE:
        onClose();
        return 0;
    case WM_ERASEBKGND:
        return eraseSwitch == 1 ? defaultProcessing(message, wParam, lParam) : 0;
    case WM_SETTINGCHANGE:
        qelClearScreenSizeCache();
        return 0;
    case WM_CANCELMODE:
        input.lastKeyDown = 0;
        return defaultProcessing(message, wParam, lParam);
    case WM_SETCURSOR:
        if (uint32_t cursor = qelCurrentCursorHandle()) {
            if (WindowSystem* system = qelWindowSystem())
                system->setCursor(cursor);
        }
        return defaultProcessing(message, wParam, lParam);
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_COMPAREITEM:
        replyWord = -1;
        postCommand(message, wParam, lParam, time, true);
        return message == WM_DRAWITEM ? 1 : replyWord;
    case WM_COMMAND:
        postCommand(message, wParam, lParam, time, false);
        return 0;
    case WM_WINDOWPOSCHANGING:
        // The platform window cannot be resized by the user; only the size cache is stale.
        qelClearScreenSizeCache();
        return 0;
    case WM_WINDOWPOSCHANGED:
        if (movieDevice >= 0 && movieHooks.moved)
            movieHooks.moved(createX, createY);
        return defaultProcessing(message, wParam, lParam);
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP:
    case WM_CHAR:
        return keyMessage(message, wParam, lParam, time);
    case WM_TIMER:
        post(QEL_TICK_EVENT, time);
        return 0;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
        return mouseMessage(message, wParam, lParam, time);
    case WM_QUERYNEWPALETTE:
    case WM_PALETTECHANGED:
        if (message == WM_PALETTECHANGED && wParam == handle)
            return 0;
        if (movieDevice >= 0) {
            if (movieHooks.realizePalette)
                movieHooks.realizePalette();
        } else if (qelValue windowPalette = palette(); !windowPalette.isNil()) {
            realizedPalette = windowPalette;
        }
        return 0;
    case MM_MCINOTIFY:
        if (movieHooks.notify)
            movieHooks.notify(lParam);
        return defaultProcessing(message, wParam, lParam);
    case QEL_USER_WINDOW_MESSAGE:
        post(QEL_USER_MESSAGE_EVENT, time, int32_t(wParam), qelMakeInt(int32_t(lParam)));
        return 0;
    default:
        if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
            replyWord = -1;
            postCommand(message, wParam, lParam, time, true);
            return replyWord;
        }
        return defaultProcessing(message, wParam, lParam);
    }
}
