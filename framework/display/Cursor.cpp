#include "framework/display/Cursor.h"

#include "framework/runtime/Builtins.h"
#include "framework/runtime/Error.h"
#include "framework/runtime/Path.h"
#include "framework/runtime/ProgramEntry.h"
#include "framework/runtime/Settings.h"
#include "framework/runtime/StringObject.h"
#include "platform/sys/Cp1252.h"
#include "platform/window/WindowSystem.h"

#include <algorithm>
#include <string>

namespace {

qelValue currentCursor;
uint32_t currentHandle = 0;
// -1 until the first qelSetCursor reads the setting; then 1 (apply every time) or 0 (apply
// changes only).
int32_t cacheSwitch = -1;

qelValue makeCursor(uint32_t handle, int32_t owned)
{
    qelValue handleValue = handle ? qelMakeInt(int32_t(handle)) : qelNil;
    return qelMakeObjectValue(QEL_CURSOR_TYPE, new qelCursorObject(handleValue, owned));
}

qelValue standardCursor(uint32_t id)
{
    platform::WindowSystem* system = qelWindowSystem();
    return makeCursor(system ? system->standardCursor(id) : id, 0);
}

uint32_t handleOf(const qelValue& cursor)
{
    if (cursor.type() != QEL_CURSOR_TYPE || !cursor.object())
        return 0;
    const qelValue& handle = cursor.objectAs<qelCursorObject>()->handle;
    return handle.type() == QEL_INT_TYPE ? uint32_t(handle.payload()) : 0;
}

} // namespace

qelCursorObject::~qelCursorObject()
{
    if (owned && handle.type() == QEL_INT_TYPE) {
        if (platform::WindowSystem* system = qelWindowSystem())
            system->destroyCursor(uint32_t(handle.payload()));
    }
}

std::string qelProgramResourcePath(int32_t id, const char* extension)
{
    std::string path;
    if (qelStringObject* folder = qelStringOf(qelAppDirectory()))
        path.assign(folder->chars(), size_t(folder->length()));
    path = platform::cp1252::toUtf8(path);
    std::replace(path.begin(), path.end(), '\\', '/');
    if (!path.empty() && path.back() != '/')
        path += '/';
    return path + "cursors/" + std::to_string(id) + "." + extension;
}

qelValue qelCursorFromResource(int32_t id)
{
    int32_t resource = id & 0xFFFF;
    std::string path = qelProgramResourcePath(resource, "cur");
    platform::WindowSystem* system = qelWindowSystem();
    uint32_t handle = system ? system->loadCursorFile(path) : 0;
    if (!handle) {
        qelError("Cannot find cursor resource: " + qelMakeInt(resource));
        return makeCursor(0, 0);
    }
    return makeCursor(handle, 1);
}

qelValue qelArrowCursor()
{
    return standardCursor(platform::IDC_ARROW);
}

qelValue qelIBeamCursor()
{
    return standardCursor(platform::IDC_IBEAM);
}

qelValue qelWaitCursor()
{
    return standardCursor(platform::IDC_WAIT);
}

qelValue qelSetCursor(const qelValue& cursor)
{
    qelValue previous = currentCursor;
    uint32_t handle = cursor.isNil() ? platform::IDC_ARROW : handleOf(cursor);
    if (cacheSwitch < 0)
        cacheSwitch = qelGetBoolSetting("DisableDrawingAttributeCaching", 0) ? 0 : 1;
    bool apply = cacheSwitch == 1 || currentCursor.isNil() || handleOf(currentCursor) != handle;
    currentHandle = handle;
    if (apply) {
        if (platform::WindowSystem* system = qelWindowSystem())
            system->setCursor(handle);
    }
    currentCursor = cursor;
    return previous;
}

uint32_t qelCurrentCursorHandle()
{
    return currentHandle;
}

void qelReleaseCursors()
{
    currentCursor = qelNil;
    currentHandle = 0;
    cacheSwitch = -1;
}
