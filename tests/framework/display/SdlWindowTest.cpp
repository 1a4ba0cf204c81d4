#include "framework/display/AppWindow.h"
#include "framework/runtime/CurrentEnvironment.h"
#include "framework/runtime/EventQueue.h"
#include "framework/runtime/ProgramEntry.h"
#include "platform/window/SdlBackend.h"
#include "platform/window/WindowSystem.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

class TestEnvironment : public qelEnvironmentBase { };

// The program's back end with SDL's dummy video driver: the window opens at the media size, the
// start event comes through the queue, and closing posts the quit event.
TEST(SdlWindow, OpensTheMediaSizedWindowAndRunsTheQueue)
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    std::string error;
    auto backend = platform::SdlBackend::create(&error);
    if (!backend)
        GTEST_SKIP() << "SDL cannot start: " << error;
    platform::WindowSystem system(std::move(backend));
    qelSetWindowSystem(&system);
    TestEnvironment environment;
    environment.makeCurrent();
    qelFreeEventQueue();

    qelValue window = qelCreateMainWindow();
    ASSERT_NE(qelWindowOf(window)->handle, 0u);
    EXPECT_EQ(system.window().clientSize(), (platform::gfx::Size { 640, 480 }));
    qelPlaceMainWindow(window);

    qelEvent event;
    qelGetEvent(event, QEL_START_EVENT, 0);
    EXPECT_EQ(event.type, QEL_START_EVENT);
    system.pump().post(qelWindowOf(window)->handle, platform::WM_CLOSE, 0, 0);
    qelGetEvent(event, QEL_QUIT_EVENT, 1000);
    EXPECT_EQ(event.type, QEL_QUIT_EVENT);

    qelDestroyMainWindow(window);
    qelFreeEventQueue();
    qelSetWindowSystem(nullptr);
}

} // namespace
