// The display layer's part of the environment's services: the application window, its cursors,
// and images made from the bytes of picture files.

#include "app/AppHooks.h"
#include "framework/display/AppWindow.h"
#include "framework/display/Cursor.h"
#include "framework/display/Image.h"
#include "framework/runtime/EnvironmentServices.h"
#include "framework/runtime/MakerHooks.h"

namespace {

uint32_t windowHandle(const qelValue& window)
{
    qelWindowBase* object = qelWindowOf(window);
    return object ? object->handle : 0;
}

qelValue imageFromData(const qelValue& typeName, const qelValue& data)
{
    return qelCreateImage(data, typeName);
}

} // namespace

void velarimInstallDisplayServices()
{
    qelEnvironmentServices& services = qelServices();
    services.createMainWindow = qelCreateMainWindow;
    services.placeMainWindow = qelPlaceMainWindow;
    services.destroyMainWindow = qelDestroyMainWindow;
    services.windowHandle = windowHandle;
    services.setCursor = qelSetCursor;
    services.waitCursor = qelWaitCursor;
    services.cursorFromResource = qelCursorFromResource;
    qelMakers().imageCreate = imageFromData;
}
