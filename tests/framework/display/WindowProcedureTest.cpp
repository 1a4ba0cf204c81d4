#include "WindowFixture.h"

#include "framework/runtime/Builtins.h"
#include "platform/window/Keys.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

using namespace platform;

// Type, key, modifiers of each event.
using Brief = std::vector<std::tuple<int32_t, int32_t, int32_t>>;

Brief brief(const std::vector<qelEvent>& events)
{
    Brief result;
    for (const qelEvent& e : events)
        result.emplace_back(e.type, e.key, e.modifiers);
    return result;
}

TEST(WindowProcedure, CreationPostsTheStartEventAndPlacesTheWindow)
{
    WindowFixture fixture;
    std::vector<qelEvent> events = fixture.events();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].type, QEL_START_EVENT);
    EXPECT_TRUE(events[0].b.isNil()); // the window was not registered yet
    qelWindowBase* w = fixture.window;
    EXPECT_NE(w->handle, 0u);
    // On a 640 x 480 screen the client area covers the screen from its corner.
    EXPECT_EQ(std::tuple(w->createX, w->createY, w->createWidth, w->createHeight), std::tuple(0, 0, 640, 480));
    EXPECT_EQ(std::tuple(w->mediaLeft, w->mediaTop, w->mediaRight, w->mediaBottom), std::tuple(0, 0, 640, 480));
    EXPECT_EQ(qelWindowFromHandle(w->handle), w);
    EXPECT_FALSE(fixture.headless->windowParams().fullscreen);
}

TEST(WindowProcedure, ClickCountsFollowTheTimeAndDistanceLimits)
{
    WindowFixture fixture;
    fixture.events();
    struct Click {
        uint32_t time;
        int x;
        int y;
        int32_t count;
    };
    // The first click counts 1 even right after the clock starts at the window's corner.
    for (Click c : { Click { 10, 0, 0, 1 }, Click { 1000, 10, 10, 1 }, Click { 1399, 15, 15, 2 },
             Click { 1798, 20, 20, 3 }, Click { 2198, 20, 20, 1 }, Click { 2300, 26, 20, 1 }, Click { 2350, 26, 15, 2 },
             Click { 2400, 26, 21, 1 } }) {
        fixture.mouse(WM_LBUTTONDOWN, c.x, c.y, c.time, MK_LBUTTON);
        fixture.mouse(WM_LBUTTONUP, c.x, c.y, c.time + 1);
        std::vector<qelEvent> events = fixture.events();
        ASSERT_EQ(events.size(), 2u);
        EXPECT_EQ(events[0].type, QEL_MOUSE_DOWN_EVENT);
        EXPECT_EQ(events[0].key, c.count) << c.time;
        EXPECT_EQ(events[0].modifiers, QEL_LEFT_BUTTON);
        EXPECT_EQ(std::tuple(events[0].x, events[0].y, events[0].time), std::tuple(c.x, c.y, int32_t(c.time)));
        EXPECT_EQ(events[0].b, fixture.windowValue);
        EXPECT_EQ(events[1].type, QEL_MOUSE_UP_EVENT);
        EXPECT_EQ(events[1].modifiers, 0);
    }
    // The interval is measured across the clock's wrap.
    fixture.mouse(WM_LBUTTONDOWN, 5, 5, 0xFFFFFF00u, MK_LBUTTON);
    fixture.mouse(WM_LBUTTONUP, 5, 5, 0xFFFFFF01u);
    fixture.mouse(WM_LBUTTONDOWN, 5, 5, 0x20u, MK_LBUTTON);
    std::vector<qelEvent> events = fixture.events();
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].key, 1);
    EXPECT_EQ(events[2].key, 2);
}

TEST(WindowProcedure, MovesPostOnlyChangesAndButtonsMakeDrags)
{
    WindowFixture fixture;
    fixture.events();
    fixture.mouse(WM_MOUSEMOVE, 30, 40);
    fixture.mouse(WM_MOUSEMOVE, 30, 40);
    fixture.mouse(WM_LBUTTONDOWN, 50, 60, 100, MK_LBUTTON);
    fixture.mouse(WM_MOUSEMOVE, 50, 60, 0, MK_LBUTTON);
    fixture.mouse(WM_MOUSEMOVE, 55, 60, 0, MK_LBUTTON);
    fixture.mouse(WM_LBUTTONUP, 55, 61);
    EXPECT_EQ(brief(fixture.events()),
        (Brief { { QEL_MOUSE_MOVE_EVENT, 0, 0 }, { QEL_MOUSE_DOWN_EVENT, 1, QEL_LEFT_BUTTON },
            { QEL_DRAG_EVENT, 0, QEL_LEFT_BUTTON }, { QEL_MOUSE_UP_EVENT, 0, 0 } }));
    fixture.mouse(WM_MOUSEMOVE, 70, 60, 0, MK_RBUTTON);
    EXPECT_EQ(brief(fixture.events()), (Brief { { QEL_DRAG_EVENT, 0, 0 } }));
    // A right-button drag sets the dragging flag too, so a left release then posts a mouse-up.
    fixture.mouse(WM_LBUTTONUP, 70, 60);
    EXPECT_EQ(fixture.events().size(), 1u);
}

TEST(WindowProcedure, ButtonUpWithoutButtonDownPostsNothing)
{
    WindowFixture fixture;
    fixture.events();
    fixture.mouse(WM_LBUTTONUP, 10, 10);
    EXPECT_TRUE(fixture.events().empty());
    // Negative coordinates (a captured pointer outside the window) are read as signed.
    fixture.mouse(WM_MOUSEMOVE, -3, -4);
    std::vector<qelEvent> events = fixture.events();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(std::tuple(events[0].x, events[0].y), std::tuple(-3, -4));
}

TEST(WindowProcedure, AltAloneAndAltF4)
{
    WindowFixture fixture;
    fixture.events();
    fixture.send(WM_SYSKEYDOWN, VK_MENU);
    fixture.send(WM_SYSKEYUP, VK_MENU);
    EXPECT_EQ(brief(fixture.events()), (Brief { { QEL_KEY_UP_EVENT, 0x180000, 0 } }));

    fixture.send(WM_SYSKEYDOWN, VK_MENU);
    fixture.send(WM_SYSKEYDOWN, VK_F1 + 3);
    fixture.send(WM_SYSKEYUP, VK_F1 + 3);
    fixture.send(WM_SYSKEYUP, VK_MENU);
    EXPECT_EQ(brief(fixture.events()),
        (Brief { { QEL_KEY_DOWN_EVENT, 0x40000, QEL_ALT_KEY }, { QEL_KEY_UP_EVENT, 0x40000, QEL_ALT_KEY } }));
    // The window is not closed by the platform: the application decides.
    EXPECT_TRUE(fixture.system->window().isOpen());
}

TEST(WindowProcedure, ControlLetterPostsTheLetterThenItsCharacter)
{
    WindowFixture fixture;
    fixture.events();
    fixture.send(WM_KEYDOWN, VK_CONTROL);
    fixture.send(WM_KEYDOWN, 'A');
    fixture.send(WM_CHAR, 1);
    fixture.send(WM_KEYUP, 'A');
    fixture.send(WM_KEYUP, VK_CONTROL);
    EXPECT_EQ(brief(fixture.events()),
        (Brief { { QEL_KEY_DOWN_EVENT, 0x41, QEL_CONTROL_KEY }, { QEL_KEY_DOWN_EVENT, 1, QEL_CONTROL_KEY },
            { QEL_KEY_UP_EVENT, 1, QEL_CONTROL_KEY } }));
}

TEST(WindowProcedure, KeysBecomeFrameworkCodes)
{
    struct Case {
        uint8_t vk;
        int32_t code;
    };
    WindowFixture fixture;
    fixture.events();
    for (Case c : { Case { VK_F1, 0x10000 }, Case { VK_F12, 0xC0000 }, Case { VK_INSERT, 0xD0000 },
             Case { VK_DELETE, 0xE0000 }, Case { VK_HOME, 0xF0000 }, Case { VK_END, 0x100000 },
             Case { VK_PRIOR, 0x120000 }, Case { VK_NEXT, 0x130000 }, Case { VK_LEFT, 0x140000 },
             Case { VK_RIGHT, 0x150000 }, Case { VK_UP, 0x160000 }, Case { VK_DOWN, 0x170000 } }) {
        fixture.send(WM_KEYDOWN, c.vk);
        fixture.send(WM_KEYUP, c.vk);
        EXPECT_EQ(
            brief(fixture.events()), (Brief { { QEL_KEY_DOWN_EVENT, c.code, 0 }, { QEL_KEY_UP_EVENT, c.code, 0 } }))
            << int(c.vk);
    }
    // Letters, Enter, Escape and Tab arrive as characters only; the character's release is posted.
    fixture.send(WM_KEYDOWN, 'A');
    fixture.send(WM_CHAR, 'a');
    fixture.send(WM_KEYUP, 'A');
    fixture.send(WM_KEYDOWN, VK_ESCAPE);
    fixture.send(WM_CHAR, 27);
    fixture.send(WM_KEYUP, VK_ESCAPE);
    fixture.send(WM_CHAR, 0xE7); // a typed cedilla, cp1252
    EXPECT_EQ(brief(fixture.events()),
        (Brief { { QEL_KEY_DOWN_EVENT, 'a', 0 }, { QEL_KEY_UP_EVENT, 'a', 0 }, { QEL_KEY_DOWN_EVENT, 27, 0 },
            { QEL_KEY_UP_EVENT, 27, 0 }, { QEL_KEY_DOWN_EVENT, 0xE7, 0 } }));
}

TEST(WindowProcedure, MaximizedMediaRectangleIsCentredAndPositionsAreRelativeToIt)
{
    WindowFixture fixture({ 800, 600 }, true);
    qelWindowBase* w = fixture.window;
    EXPECT_EQ(std::tuple(w->mediaLeft, w->mediaTop, w->mediaRight, w->mediaBottom), std::tuple(80, 60, 720, 540));
    EXPECT_TRUE(fixture.headless->windowParams().fullscreen);
    EXPECT_EQ(fixture.headless->windowParams().width, 800);
    fixture.events();
    fixture.mouse(WM_MOUSEMOVE, 100, 70);
    std::vector<qelEvent> events = fixture.events();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(std::tuple(events[0].x, events[0].y), std::tuple(20, 10));
}

TEST(WindowProcedure, WindowedPlacementCentresOnALargerScreen)
{
    WindowFixture fixture({ 1024, 768 });
    qelWindowBase* w = fixture.window;
    EXPECT_EQ(std::tuple(w->createX, w->createY, w->createWidth, w->createHeight), std::tuple(192, 144, 640, 480));
    EXPECT_EQ(std::tuple(w->mediaLeft, w->mediaTop), std::tuple(0, 0));
}

TEST(WindowProcedure, OtherMessagesTable)
{
    WindowFixture fixture;
    fixture.events();
    uint32_t handle = fixture.window->handle;
    EXPECT_EQ(fixture.send(WM_CLOSE), 0);
    fixture.send(WM_SETFOCUS, 0, 0, 5);
    fixture.send(WM_KILLFOCUS, 0, 0, 6);
    fixture.send(WM_TIMER, 1, 0, 7);
    fixture.send(QEL_USER_WINDOW_MESSAGE, 9, 42, 8);
    fixture.send(WM_COMMAND, 3, 4, 9);
    EXPECT_EQ(fixture.send(WM_DRAWITEM, 11, 12), 1);
    EXPECT_EQ(fixture.send(WM_CTLCOLORSTATIC, 13, 14), -1);
    EXPECT_EQ(fixture.send(WM_MEASUREITEM), -1);

    std::vector<qelEvent> events = fixture.events();
    ASSERT_EQ(events.size(), 6u);
    EXPECT_EQ(events[0].type, QEL_QUIT_EVENT);
    EXPECT_TRUE(fixture.system->window().isOpen()); // closing only asks
    EXPECT_EQ(std::tuple(events[1].type, events[1].time), std::tuple(QEL_FOCUS_GAINED_EVENT, 5));
    EXPECT_EQ(fixture.window->hasFocus, 0);
    EXPECT_EQ(events[2].type, QEL_FOCUS_LOST_EVENT);
    EXPECT_EQ(std::tuple(events[3].type, events[3].time), std::tuple(QEL_TICK_EVENT, 7));
    EXPECT_EQ(std::tuple(events[4].type, events[4].key), std::tuple(QEL_USER_MESSAGE_EVENT, 9));
    EXPECT_EQ(events[4].a, 42);
    EXPECT_EQ(events[5].type, QEL_COMMAND_EVENT);
    EXPECT_EQ(qelCount(events[5].a), 4);
    EXPECT_EQ(qelGet(events[5].a, 0), int32_t(handle));
    EXPECT_EQ(qelGet(events[5].a, 1), int32_t(WM_COMMAND));
    EXPECT_EQ(qelGet(events[5].a, 2), 3);
    EXPECT_EQ(qelGet(events[5].a, 3), 4);

    // Owner-drawn and control-colour messages reach the dispatcher at once.
    auto& dispatched = fixture.environment.dispatched;
    ASSERT_EQ(dispatched.size(), 3u);
    EXPECT_EQ(qelGet(dispatched[0].a, 1), int32_t(WM_DRAWITEM));
    EXPECT_EQ(qelGet(dispatched[1].a, 1), int32_t(WM_CTLCOLORSTATIC));
}

TEST(WindowProcedure, DestroyingForgetsTheHandleAndEndsTheMessageLoop)
{
    WindowFixture fixture;
    uint32_t handle = fixture.window->handle;
    qelDestroyMainWindow(fixture.windowValue);
    EXPECT_EQ(fixture.window->handle, 0u);
    EXPECT_EQ(qelWindowFromHandle(handle), nullptr);
    Message message;
    ASSERT_TRUE(fixture.system->pump().peek(message, true));
    EXPECT_EQ(message.id, WM_QUIT);
}

TEST(WindowProcedure, ScriptedInputArrivesThroughTheQueue)
{
    // The whole path: script, platform translation, pump, procedure, queue.
    WindowFixture fixture({ 640, 480 }, false, "key alt+F4\ndblclick 10 20\n");
    qelPlaceMainWindow(fixture.windowValue);
    Brief seen;
    while (true) {
        qelEvent event;
        qelGetEvent(event, QEL_ALL_EVENTS, 5000);
        if (event.type == 0 || event.type == QEL_QUIT_EVENT)
            break;
        if (event.type & (QEL_KEY_DOWN_EVENT | QEL_KEY_UP_EVENT | QEL_MOUSE_DOWN_EVENT))
            seen.emplace_back(event.type, event.key, event.modifiers);
    }
    EXPECT_EQ(seen,
        (Brief { { QEL_KEY_DOWN_EVENT, 0x40000, QEL_ALT_KEY }, { QEL_KEY_UP_EVENT, 0x40000, QEL_ALT_KEY },
            { QEL_MOUSE_DOWN_EVENT, 1, QEL_LEFT_BUTTON }, { QEL_MOUSE_DOWN_EVENT, 2, QEL_LEFT_BUTTON } }));
}

} // namespace
