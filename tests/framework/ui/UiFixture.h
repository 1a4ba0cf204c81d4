#pragma once

// An application environment with the form layer installed, over a headless window whose drawing
// port is the main port, with the box-glyph test font. Errors are recorded instead of ending
// the test. The script (if any) feeds input to every wait of the event queue.

#include "framework/display/AppWindow.h"
#include "framework/display/DrawingInterface.h"
#include "framework/display/Font.h"
#include "framework/display/WindowObject.h"
#include "framework/runtime/AppEnvironment.h"
#include "framework/runtime/EnvironmentServices.h"
#include "framework/runtime/Error.h"
#include "framework/runtime/EventQueue.h"
#include "framework/runtime/MakerHooks.h"
#include "framework/runtime/ProgramEntry.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/TextNotation.h"
#include "framework/display/DisplayMakers.h"
#include "framework/ui/FormLayer.h"
#include "platform/text/TestFontProvider.h"
#include "platform/window/HeadlessBackend.h"
#include "platform/window/WindowSystem.h"

#include <memory>
#include <string>
#include <variant>
#include <vector>

inline std::vector<std::string>& recordedErrors()
{
    static std::vector<std::string> errors;
    return errors;
}

struct UiFixture {
    explicit UiFixture(const char* script = "wait 86400000\n")
    {
        recordedErrors().clear();
        previousHook = qelSetErrorHook([](const qelValue& message) {
            recordedErrors().push_back(qelCString(message));
            return 0;
        });
        platform::HeadlessBackend::Options options;
        options.exitWhenStuck = false;
        options.quietLimitMs = 0x7FFFFFFF;
        auto backend = std::make_unique<platform::HeadlessBackend>(options);
        backend->setScript(std::get<platform::Script>(platform::Script::parse(script)));
        headless = backend.get();
        system = std::make_unique<platform::WindowSystem>(std::move(backend));
        qelSetWindowSystem(system.get());
        qelInstallWindowObjectMaker();
        qelSetFontProvider(std::make_shared<platform::text::TestFontProvider>());
        qelInstallDisplayMakers();
        qelInstallFormLayer();
        environment = new qelAppEnvironment(qelNil);
        environment->makeCurrent();
        qelFreeEventQueue();
        qelClearScreenSizeCache();
        environment->mainWindow = qelCreateMainWindow();
        qelSetMainPort(environment->mainWindow);
        port = dynamic_cast<qelWindowObject*>(qelWindowOf(environment->mainWindow));
        // The start event that creating the window posted.
        qelFlushEvents(QEL_ALL_EVENTS);
    }
    ~UiFixture()
    {
        environment->activeForm = qelNil;
        qelSetMainPort(qelNil);
        qelDestroyMainWindow(environment->mainWindow);
        environment->mainWindow = qelNil;
        qelDeleteCurrentEnvironment();
        qelFreeEventQueue();
        qelSetWindowSystem(nullptr);
        qelSetFontProvider(nullptr);
        qelResetMakers();
        qelResetServices();
        qelSetErrorHook(previousHook);
    }

    // A value read from the text notation.
    static qelValue read(const char* text) { return qelDecodeText(qelStringValue(text)); }

    // Takes queued events (pumping the script) and hands them to the active form until the
    // script has nothing more to give.
    void runScript()
    {
        while (!headless->scriptFinished()) {
            qelEvent event;
            qelGetEvent(event, QEL_ALL_EVENTS, 1000);
            // The closing of the window after the script is not the test's business.
            if (event.type && event.type != QEL_QUIT_EVENT)
                environment->dispatch(event);
        }
        qelEvent event;
        for (qelGetEvent(event, QEL_ALL_EVENTS, 0); event.type; qelGetEvent(event, QEL_ALL_EVENTS, 0)) {
            if (event.type != QEL_QUIT_EVENT)
                environment->dispatch(event);
        }
    }

    uint32_t pixel(int x, int y) const { return port->offscreen()->pixel(x, y); }

    qelErrorHook previousHook = nullptr;
    platform::HeadlessBackend* headless = nullptr;
    std::unique_ptr<platform::WindowSystem> system;
    qelAppEnvironment* environment = nullptr;
    qelWindowObject* port = nullptr;
};
