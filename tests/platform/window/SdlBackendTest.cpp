// The SDL back end without a display: SDL's dummy video and audio drivers stand in, so this
// runs in CI. It opens the window, presents, pumps without waiting and closes.

#include "platform/window/SdlBackend.h"
#include "platform/window/WindowSystem.h"

#include <cstdlib>
#include <gtest/gtest.h>

using namespace platform;

TEST(SdlBackend, OpensPresentsPumpsAndCloses)
{
    ::setenv("SDL_VIDEODRIVER", "dummy", 1);
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    std::string error;
    auto backend = SdlBackend::create(&error);
    ASSERT_TRUE(backend) << error;
    WindowSystem system(std::move(backend));
    EXPECT_GT(system.backend().screenSize().width, 0);

    std::vector<uint32_t> seen;
    WindowHandle w = system.window().create(
        { "Velarim \xE9", 640, 480, false }, [&](WindowHandle, uint32_t id, uint64_t wp, int64_t lp) -> int64_t {
            seen.push_back(id);
            if (id == WM_PAINT) {
                auto paint = system.window().beginPaint();
                system.window().front().fill(paint.rect, 0x204060);
                system.window().endPaint(paint);
                return 0;
            }
            return system.window().defaultProc(id, wp, lp);
        });
    ASSERT_NE(w, 0u);
    EXPECT_EQ(system.window().clientSize(), (gfx::Size { 640, 480 }));
    system.window().show();
    system.window().createCaret(2, 12);
    system.window().showCaret();
    system.setCursor(IDC_HAND);
    system.pump().post(w, WM_USER, 1, 2);

    Message m;
    for (int i = 0; i < 100 && system.pump().wait(m, 0) == 1; ++i)
        system.pump().dispatch(m);
    EXPECT_NE(std::find(seen.begin(), seen.end(), WM_USER), seen.end());
    EXPECT_NE(std::find(seen.begin(), seen.end(), WM_PAINT), seen.end());
    EXPECT_FALSE(system.window().hasUpdate());
    system.window().flush();
    system.backend().requestRaise();
    system.pump().peek(m);

    system.window().destroy();
    EXPECT_EQ(seen.back(), WM_DESTROY);
}

// Text on the system clipboard (UTF-8 there) comes back as the same cp1252, the euro sign and a
// dash among it.
TEST(SdlBackend, ClipboardTextRoundTripsThroughUtf8)
{
    ::setenv("SDL_VIDEODRIVER", "dummy", 1);
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    std::string error;
    auto backend = SdlBackend::create(&error);
    ASSERT_TRUE(backend) << error;
    ASSERT_TRUE(backend->setClipboardText("Concei\xE7\xE3o \x80 \x93"));
    EXPECT_EQ(backend->clipboardText(), std::optional<std::string>("Concei\xE7\xE3o \x80 \x93"));
}
