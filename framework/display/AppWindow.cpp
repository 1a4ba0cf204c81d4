#include "framework/display/AppWindow.h"

#include "framework/display/Cursor.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Error.h"
#include "framework/runtime/EventQueue.h"
#include "framework/runtime/ProgramEntry.h"
#include "framework/runtime/Settings.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "platform/window/CursorFile.h"
#include "platform/window/WindowSystem.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>

namespace {

// The program's icon resource id, as its cursors are 102 and 104.
constexpr int32_t programIconId = 101;

// Handle (int value) -> window value; nil while no window is registered.
qelValue windowTable;
// The window whose platform window is being created: the messages of its creation reach it
// before the table knows its handle.
qelWindowBase* windowUnderCreation = nullptr;
int32_t screenWidthCache = 0;
int32_t screenHeightCache = 0;

qelWindowBase* defaultMaker()
{
    return new qelWindowBase();
}

qelWindowMaker windowMaker = &defaultMaker;

void readScreenSize()
{
    if (screenWidthCache && screenHeightCache)
        return;
    if (platform::WindowSystem* system = qelWindowSystem()) {
        platform::gfx::Size size = system->backend().screenSize();
        screenWidthCache = size.width;
        screenHeightCache = size.height;
    }
}

} // namespace

void qelClearScreenSizeCache()
{
    screenWidthCache = 0;
    screenHeightCache = 0;
}

int32_t qelScreenWidth()
{
    readScreenSize();
    return screenWidthCache;
}

int32_t qelScreenHeight()
{
    readScreenSize();
    return screenHeightCache;
}

bool qelIsNearClick(int32_t x, int32_t y, int32_t previousX, int32_t previousY)
{
    // Differences in 64 bits: positions far apart must not overflow.
    return std::abs(int64_t(x) - previousX) <= QEL_MULTI_CLICK_DISTANCE
        && std::abs(int64_t(y) - previousY) <= QEL_MULTI_CLICK_DISTANCE;
}

int32_t qelMediaSizeSetting(const char* name, int32_t defaultValue)
{
    // The size comes from a settings file; a window and its buffers of that size must be made.
    return qelGetIntSettingInRange(name, defaultValue, 1, 8192);
}

qelWindowMaker qelSetWindowMaker(qelWindowMaker maker)
{
    qelWindowMaker previous = windowMaker;
    windowMaker = maker ? maker : &defaultMaker;
    return previous;
}

qelWindowBase* qelWindowOf(const qelValue& window)
{
    if (window.type() != QEL_WINDOW_TYPE)
        return nullptr;
    return window.objectAs<qelWindowBase>();
}

qelValue qelWindowValueFromHandle(uint32_t handle)
{
    if (qelTableObject* table = qelTableOf(windowTable))
        return table->get(qelMakeInt(int32_t(handle)));
    return qelNil;
}

qelWindowBase* qelWindowFromHandle(uint32_t handle)
{
    if (windowUnderCreation)
        return windowUnderCreation;
    return qelWindowOf(qelWindowValueFromHandle(handle));
}

void qelForgetWindowHandle(uint32_t handle)
{
    qelTableObject* table = qelTableOf(windowTable);
    if (!table)
        return;
    table->remove(qelMakeInt(int32_t(handle)));
    if (table->count == 0)
        windowTable = qelNil;
}

qelWindowBase::~qelWindowBase()
{
    destroy();
}

void qelWindowBase::create(
    const qelValue& title, uint32_t style, int32_t x, int32_t y, int32_t w, int32_t h, const qelValue&)
{
    platform::WindowSystem* system = qelWindowSystem();
    createX = x;
    createY = y;
    createWidth = w;
    createHeight = h;
    platform::WindowParams params;
    if (qelStringObject* text = qelStringOf(title))
        params.title.assign(text->chars(), size_t(text->length()));
    params.fullscreen = (style & QEL_WS_POPUP) != 0;
    params.width = w;
    params.height = h;
    // The program's icon resource; without one the desktop shows its own.
    if (std::optional<platform::CursorImage> icon = platform::readCursorFile(qelProgramResourcePath(programIconId, "ico"))) {
        params.iconArgb = std::move(icon->argb);
        params.iconWidth = icon->width;
        params.iconHeight = icon->height;
    }
    uint32_t created = 0;
    if (system) {
        windowUnderCreation = this;
        created = system->window().create(
            params, [](platform::WindowHandle window, uint32_t id, uint64_t wParam, int64_t lParam) {
                return qelAppWindowProc(window, id, wParam, lParam);
            });
        windowUnderCreation = nullptr;
    }
    handle = created;
    if (!created)
        qelError("Cannot create window: " + title);
}

void qelWindowBase::destroy()
{
    if (!handle)
        return;
    if (platform::WindowSystem* system = qelWindowSystem()) {
        if (system->window().handle() == handle)
            system->window().destroy();
    }
    handle = 0;
}

void qelWindowBase::place(int32_t w, int32_t h)
{
    // The window manager draws the frame and the caption outside the client area, so the frame
    // sizes of the placement are 0 and the window's size is the media size.
    const int32_t frameX = 0;
    const int32_t frameY = 0;
    const int32_t caption = 0;
    width = w;
    height = h;
    int32_t screenWidth = qelScreenWidth();
    int32_t screenHeight = qelScreenHeight();
    if (!qelGetBoolSetting("MaximizeWindow", 0)) {
        int32_t outerWidth = w + 2 * frameX;
        int32_t outerHeight = h + caption + 2 * frameY;
        int32_t x = (screenWidth - outerWidth) / 2;
        int32_t y = (screenHeight - outerHeight) / 2;
        if (screenWidth == w) {
            x = -frameX;
            y = -(caption + frameY);
        }
        mediaTop = 0;
        mediaLeft = 0;
        mediaBottom = h;
        mediaRight = w;
        create(qelAppTitle(), QEL_WS_CLIPCHILDREN | QEL_WS_SYSMENU | QEL_WS_MINIMIZEBOX, x, y, outerWidth, outerHeight,
            qelNil);
    } else {
        mediaLeft = (screenWidth - w) / 2;
        mediaTop = (screenHeight - h) / 2;
        mediaRight = mediaLeft + w;
        mediaBottom = mediaTop + h;
        create(qelAppTitle(), QEL_WS_POPUP | QEL_WS_CLIPCHILDREN, 0, 0, screenWidth, screenHeight, qelNil);
    }
}

void qelWindowBase::onCreate()
{
    makeOffscreenBuffer();
    qelEvent start = qelNullEvent(int32_t(qelClockNow()));
    start.type = QEL_START_EVENT;
    qelPostEvent(start);
}

void qelWindowBase::onDestroy()
{
    freeOffscreenBuffer();
    if (platform::WindowSystem* system = qelWindowSystem())
        system->pump().postQuit(0);
}

void qelWindowBase::onClose()
{
    qelPostQuit();
}

qelValue qelCreateMainWindow()
{
    qelWindowBase* window = windowMaker();
    qelValue value = qelMakeObjectValue(QEL_WINDOW_TYPE, window);
    window->place(qelMediaSizeSetting("MediaWidth", 640), qelMediaSizeSetting("MediaHeight", 480));
    if (window->handle) {
        if (windowTable.isNil())
            windowTable = qelTable(4, 100, 75);
        qelTableOf(windowTable)->put(qelMakeInt(int32_t(window->handle)), value);
    }
    return value;
}

void qelPlaceMainWindow(const qelValue& window)
{
    qelWindowBase* object = qelWindowOf(window);
    platform::WindowSystem* system = qelWindowSystem();
    if (object && object->handle && system)
        system->window().show();
}

void qelMinimizeMainWindow(const qelValue& window)
{
    qelWindowBase* object = qelWindowOf(window);
    platform::WindowSystem* system = qelWindowSystem();
    if (object && object->handle && system)
        system->window().minimize();
}

void qelDestroyMainWindow(const qelValue& window)
{
    if (qelWindowBase* object = qelWindowOf(window))
        object->destroy();
}
