#pragma once

// The application window over a headless window layer, and a way to hand it messages: key
// messages go through the pump first (as they would arrive) so that the key state they leave is
// what the procedure reads; every message reaches the procedure with the time the test gives.

#include "framework/display/AppWindow.h"
#include "framework/runtime/CurrentEnvironment.h"
#include "framework/runtime/EventQueue.h"
#include "framework/runtime/ProgramEntry.h"
#include "platform/window/HeadlessBackend.h"
#include "platform/window/WindowSystem.h"

#include <memory>
#include <variant>
#include <vector>

class RecordingEnvironment : public qelEnvironmentBase {
public:
    int32_t dispatch(qelEvent event) override
    {
        dispatched.push_back(event);
        return 1;
    }
    std::vector<qelEvent> dispatched;
};

struct WindowFixture {
    explicit WindowFixture(
        platform::gfx::Size screen = { 640, 480 }, bool maximize = false, const char* script = "wait 86400000\n")
    {
        platform::HeadlessBackend::Options options;
        options.screen = screen;
        options.exitWhenStuck = false;
        options.quietLimitMs = 0x7FFFFFFF;
        auto backend = std::make_unique<platform::HeadlessBackend>(options);
        backend->setScript(std::get<platform::Script>(platform::Script::parse(script)));
        headless = backend.get();
        system = std::make_unique<platform::WindowSystem>(std::move(backend));
        qelSetWindowSystem(system.get());
        environment.makeCurrent();
        environment.setBoolSetting("MaximizeWindow", maximize);
        qelFreeEventQueue();
        qelClearScreenSizeCache();
        windowValue = qelCreateMainWindow();
        window = qelWindowOf(windowValue);
    }
    ~WindowFixture()
    {
        qelDestroyMainWindow(windowValue);
        windowValue = qelNil;
        qelFreeEventQueue();
        qelSetWindowSystem(nullptr);
    }

    int64_t send(uint32_t id, uint64_t wParam = 0, int64_t lParam = 0, uint32_t time = 0)
    {
        if ((id >= platform::WM_KEYDOWN && id <= platform::WM_SYSKEYUP)) {
            system->pump().post(window->handle, id, wParam, lParam);
            platform::Message taken;
            system->pump().peek(taken, true);
        }
        return window->handleMessage(id, wParam, lParam, time);
    }
    int64_t mouse(uint32_t id, int x, int y, uint32_t time = 0, uint64_t buttons = 0)
    {
        return send(id, buttons, platform::makePointParam(x, y), time);
    }

    // Every queued event, oldest first.
    std::vector<qelEvent> events()
    {
        std::vector<qelEvent> taken;
        while (true) {
            qelEvent event;
            qelGetEvent(event, QEL_ALL_EVENTS, 0);
            if (event.type == 0)
                return taken;
            taken.push_back(event);
        }
    }

    platform::HeadlessBackend* headless = nullptr;
    std::unique_ptr<platform::WindowSystem> system;
    RecordingEnvironment environment;
    qelValue windowValue;
    qelWindowBase* window = nullptr;
};
