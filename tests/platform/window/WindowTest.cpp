#include "Harness.h"
#include "platform/gfx/Png.h"
#include "platform/window/Keys.h"

#include <filesystem>

using namespace platform;
using namespace platform::testing;

TEST(Window, CreateSendsCreateWithTheHandleAndDestroySendsDestroy)
{
    Harness h;
    WindowHandle seenAtCreate = 0;
    h.onMessage = [&](const Message& m) -> int64_t {
        if (m.id == WM_CREATE)
            seenAtCreate = h.window().handle();
        return 0;
    };
    WindowHandle w = h.window().create({ "T\xE9tulo", 40, 30, false },
        [&](WindowHandle a, uint32_t b, uint64_t c, int64_t d) { return h.proc(a, b, c, d); });
    ASSERT_NE(w, 0u);
    EXPECT_EQ(seenAtCreate, w);
    EXPECT_EQ(h.log.front().window, w);
    EXPECT_EQ(h.headless->windowParams().title, "T\xE9tulo");
    EXPECT_EQ(h.window().clientSize(), (gfx::Size { 40, 30 }));
    h.pump().setTimer(w, 1, 10);
    h.pump().post(w, WM_USER, 0, 0);
    h.window().destroy();
    EXPECT_EQ(h.log.back().id, WM_DESTROY);
    EXPECT_FALSE(h.headless->windowOpen());
    // Its timers and posted messages went with it.
    Message m;
    EXPECT_EQ(h.pump().wait(m, 100), -1);

    // A procedure that refuses creation; a size the surface cannot take.
    h.onMessage = [](const Message& m) -> int64_t { return m.id == WM_CREATE ? -1 : 0; };
    EXPECT_EQ(h.window().create({ "x", 10, 10, false },
                  [&](WindowHandle a, uint32_t b, uint64_t c, int64_t d) { return h.proc(a, b, c, d); }),
        0u);
    EXPECT_FALSE(h.window().isOpen());
    EXPECT_EQ(h.window().create({ "x", 0, 10, false }, {}), 0u);
    EXPECT_EQ(h.window().create({ "x", 10, 20000, false }, {}), 0u);
    // A full-screen window takes the screen's size.
    EXPECT_NE(h.window().create({ "x", 1, 1, true }, {}), 0u);
    EXPECT_EQ(h.window().clientSize(), (gfx::Size { 640, 480 }));
}

TEST(Window, PaintCoversTheUpdateRegionAndErasesWhenAsked)
{
    Harness h;
    h.open(64, 48);
    Message m;
    // Showing invalidates everything with erasing; the default erase paints black.
    ASSERT_TRUE(h.pump().peek(m)); // focus
    h.pump().dispatch(m);
    ASSERT_TRUE(h.pump().peek(m));
    ASSERT_EQ(m.id, WM_PAINT);
    h.fill = 0x112233;
    h.pump().dispatch(m);
    EXPECT_EQ(h.log[h.log.size() - 2].id, WM_PAINT);
    EXPECT_EQ(h.log.back().id, WM_ERASEBKGND);
    EXPECT_FALSE(h.pump().peek(m)); // validated: no more paint

    // Two rectangles paint as their bounding box, once, without erasing.
    gfx::Rect a { 2, 3, 5, 6 };
    gfx::Rect b { 10, 1, 12, 4 };
    h.window().invalidate(&a, false);
    h.window().invalidate(&b, false);
    EXPECT_EQ(h.window().updateRect(), (gfx::Rect { 2, 1, 12, 6 }));
    size_t before = h.log.size();
    h.fill = 0xABCDEF;
    h.window().update(); // paints at once
    EXPECT_EQ(h.log.size(), before + 1);
    EXPECT_EQ(h.window().front().pixel(11, 1), 0xABCDEFu);
    EXPECT_EQ(h.window().front().pixel(12, 1), 0x112233u);
    EXPECT_FALSE(h.window().hasUpdate());

    // Rectangles outside the window are clipped away; a paint that never validates repeats.
    gfx::Rect outside { 100, 100, 120, 120 };
    h.window().invalidate(&outside, true);
    EXPECT_FALSE(h.window().hasUpdate());
    h.onMessage = [](const Message&) -> int64_t { return 0; };
    h.window().invalidate(nullptr, false);
    ASSERT_TRUE(h.pump().peek(m));
    EXPECT_EQ(m.id, WM_PAINT);
    h.pump().dispatch(m);
    ASSERT_TRUE(h.pump().peek(m));
    EXPECT_EQ(m.id, WM_PAINT);
}

TEST(Window, ShownImageFollowsPresentationAndShotsWriteIt)
{
    auto folder = std::filesystem::temp_directory_path()
        / ("window-shots-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    std::filesystem::create_directories(folder);
    HeadlessBackend::Options options = Harness::quiet();
    options.screensFolder = folder.string();
    Harness h(options);
    h.headless->setScript(scriptOf("shot first\nkey Enter\nshot second\n"));
    h.onMessage = [&](const Message& m) -> int64_t {
        switch (m.id) {
        case WM_PAINT: {
            auto paint = h.window().beginPaint();
            h.window().front().fill(paint.rect, h.fill);
            h.window().endPaint(paint);
            return 0;
        }
        case WM_KEYDOWN: {
            // Drawn on the front buffer, but only the second square is reported as changed.
            h.window().front().fill({ 0, 0, 4, 4 }, 0xFF0000);
            h.window().front().fill({ 4, 4, 8, 8 }, 0x00FF00);
            gfx::Rect changed { 4, 4, 8, 8 };
            h.window().frontChanged(changed);
            EXPECT_EQ(h.headless->shown().pixel(5, 5), 0x336699u); // not shown before presentation
            return 0;
        }
        case WM_CLOSE:
            h.window().destroy();
            h.pump().postQuit(0);
            return 0;
        default:
            return 0;
        }
    };
    h.open(16, 12);
    EXPECT_EQ(h.run(), 0);
    EXPECT_EQ(h.headless->shots(), (std::vector<std::string> { "first", "second" }));
    auto first = gfx::readPng((folder / "first.png").string());
    auto second = gfx::readPng((folder / "second.png").string());
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->pixel(5, 5), 0x336699u);
    EXPECT_EQ(second->pixel(5, 5), 0x00FF00u);
    EXPECT_EQ(second->pixel(1, 1), 0x336699u); // changed but never reported
    std::filesystem::remove_all(folder);
}

TEST(Window, CaretCaptureAndDefaultClose)
{
    Harness h;
    h.open(32, 32);
    Window& w = h.window();
    w.showCaret(); // no caret yet
    EXPECT_FALSE(h.headless->caretVisible());
    w.createCaret(2, 10);
    w.setCaretPos(5, 6);
    EXPECT_FALSE(w.caretVisible()); // a new caret starts hidden
    w.showCaret();
    EXPECT_TRUE(h.headless->caretVisible());
    EXPECT_EQ(h.headless->caretRect(), (gfx::Rect { 5, 6, 7, 16 }));
    w.setCaretPos(1, 2);
    EXPECT_EQ(h.headless->caretRect(), (gfx::Rect { 1, 2, 3, 12 }));
    w.hideCaret();
    EXPECT_FALSE(h.headless->caretVisible());
    w.showCaret();
    w.destroyCaret();
    EXPECT_FALSE(h.headless->caretVisible());

    w.setCapture();
    EXPECT_TRUE(h.headless->captured());
    w.releaseCapture();
    EXPECT_FALSE(h.headless->captured());

    // Alt+F4 left to the default closes the window through WM_CLOSE.
    h.onMessage = [&](const Message& m) { return w.defaultProc(m.id, m.wParam, m.lParam); };
    h.pump().send(w.handle(), WM_SYSKEYDOWN, VK_F1 + 3, int64_t(1) << 29);
    EXPECT_FALSE(w.isOpen());
    EXPECT_EQ(h.log[h.log.size() - 2].id, WM_CLOSE);
    EXPECT_EQ(h.log.back().id, WM_DESTROY);
}

TEST(Window, AProcedureMayDestroyItsWindow)
{
    Harness h;
    std::string a(100, 'a'), b(100, 'b'); // captures large enough to live outside the function object
    std::vector<uint32_t> after;
    h.window().create({ "x", 8, 8, false }, [&, a, b](WindowHandle, uint32_t id, uint64_t wp, int64_t lp) -> int64_t {
        if (id == WM_CLOSE)
            h.window().destroy();
        after.push_back(id + uint32_t(a.size() + b.size()) - 200); // uses the captures after destroy()
        return 0;
    });
    h.pump().send(h.window().handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(after, (std::vector<uint32_t> { WM_CREATE, WM_DESTROY, WM_CLOSE }));
    EXPECT_FALSE(h.window().isOpen());
}
