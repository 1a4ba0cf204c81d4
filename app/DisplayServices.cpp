// The display layer's part of the environment's services: the application window (the drawing
// port), its cursors, and the display's values made by the decoders and the resource loader.

#include "app/AppHooks.h"
#include "framework/display/AppWindow.h"
#include "framework/display/Cursor.h"
#include "framework/display/DisplayMakers.h"
#include "framework/display/DrawingInterface.h"
#include "framework/display/MovieObject.h"
#include "framework/display/PrintPort.h"
#include "framework/display/Sound.h"
#include "framework/display/WindowObject.h"
#include "framework/richtext/TextLayout.h"
#include "framework/richtext/TextMap.h"
#include "framework/richtext/TextView.h"
#include "framework/runtime/EnvironmentServices.h"
#include "framework/runtime/Resource.h"
#include "framework/ui/FormLayer.h"

namespace {

uint32_t windowHandle(const qelValue& window)
{
    qelWindowBase* object = qelWindowOf(window);
    return object ? object->handle : 0;
}

// The main window is the port the drawing operations draw on, from its creation to its end.
qelValue createMainPort()
{
    qelValue window = qelCreateMainWindow();
    qelSetMainPort(window);
    return window;
}

void destroyMainPort(const qelValue& window)
{
    qelSetMainPort(qelNil);
    qelDestroyMainWindow(window);
}

} // namespace

void velarimInstallDisplayServices()
{
    qelEnvironmentServices& services = qelServices();
    services.createMainWindow = createMainPort;
    services.placeMainWindow = qelPlaceMainWindow;
    services.destroyMainWindow = destroyMainPort;
    services.windowHandle = windowHandle;
    services.setCursor = qelSetCursor;
    services.waitCursor = qelWaitCursor;
    services.cursorFromResource = qelCursorFromResource;
    // The main window is the drawing port; decoded and loaded pictures, regions and fonts are the
    // display's own values, and font names are resources.
    qelInstallWindowObjectMaker();
    qelInstallDisplayMakers();
    qelSetFontResolver(qelLoadResource);
    // Forms and controls are the form layer's, and navigation goes through it.
    qelInstallFormLayer();
    // Sounds and music, their end notices and the volume; print jobs draw through the port.
    qelInstallSoundServices();
    qelInstallMovieServices();
    qelInstallPrintPort();
    // Laid-out texts decode as text maps; the pictures they name are resources.
    qelInstallTextMapMaker();
    qelUseResourcePictures();
    qelInstallTextView();
}
