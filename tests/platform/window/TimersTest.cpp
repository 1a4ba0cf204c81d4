#include "platform/window/Timers.h"
#include "Harness.h"

using namespace platform;
using namespace platform::testing;

TEST(Timers, DeadlinesSurviveTheClockWrapping)
{
    Timers timers;
    uint32_t start = 0xFFFFFF00u;
    timers.set(1, 7, 0x200, false, start);
    EXPECT_FALSE(timers.anyDue(start + 0x1FF));
    EXPECT_EQ(timers.untilNext(start + 0x100), 0x100u);
    auto tick = timers.due(start + 0x200, true); // 0x100 after the wrap
    ASSERT_TRUE(tick);
    EXPECT_EQ(tick->wParam, 7u);
    EXPECT_EQ(tick->window, 1u);
    EXPECT_FALSE(timers.anyDue(start + 0x3FF));
    EXPECT_TRUE(timers.anyDue(start + 0x400));
}

TEST(Timers, PeriodicOneShotKillAndRestart)
{
    Harness h;
    WindowHandle w = h.open();
    Message m;
    while (h.pump().peek(m)) // focus and first paint
        h.pump().dispatch(m);
    uint32_t t0 = h.pump().now();
    ASSERT_TRUE(h.pump().setTimer(w, 1, 250));
    ASSERT_TRUE(h.pump().setTimer(w, 23, 100, true));
    EXPECT_FALSE(h.pump().setTimer(w + 1, 2, 100)); // no such window

    // The one-shot comes first, once; the periodic one every 250 ms of waiting.
    std::vector<std::pair<uint64_t, uint32_t>> ticks;
    while (h.pump().now() - t0 < 1000) {
        h.pump().wait(m, 1000 - int32_t(h.pump().now() - t0));
        if (m.id == WM_TIMER)
            ticks.push_back({ m.wParam, m.time - t0 });
    }
    std::vector<std::pair<uint64_t, uint32_t>> expected
        = { { 23, 100 }, { 1, 250 }, { 1, 500 }, { 1, 750 }, { 1, 1000 } };
    EXPECT_EQ(ticks, expected);

    // Missed periods do not pile up: after a long busy spell one tick is pending, and the
    // next period starts when it is taken.
    uint32_t t1 = h.pump().now();
    h.pump().setTimer(w, 1, 100); // restarts with a new period
    EXPECT_EQ(h.pump().wait(m, 1000), 1);
    EXPECT_EQ(m.time - t1, 100u);
    EXPECT_EQ(h.pump().wait(m, 50), -1); // nothing before the next period
    EXPECT_EQ(h.pump().now() - t1, 150u);

    EXPECT_TRUE(h.pump().killTimer(w, 1));
    EXPECT_FALSE(h.pump().killTimer(w, 1));
    EXPECT_EQ(h.pump().wait(m, 500), -1);
    EXPECT_EQ(h.pump().wait(m, 0), -1); // a zero time-out looks once
}

TEST(Timers, MessagesComeOutPostedThenInputThenPaintThenTimer)
{
    Harness h;
    WindowHandle w = h.open();
    Message m;
    while (h.pump().peek(m)) // focus and first paint
        h.pump().dispatch(m);
    h.pump().setTimer(w, 5, 10);
    h.headless->waitInput(20); // the timer is now due
    h.headless->setScript(scriptOf("key Escape"));
    h.window().invalidate(nullptr, false);
    h.pump().post(w, WM_USER + 1000, 1, 2);

    std::vector<uint32_t> order;
    for (int i = 0; i < 4 && h.pump().peek(m); ++i) {
        order.push_back(m.id);
        h.pump().dispatch(m);
    }
    // The script's key is released only once nothing else is pending.
    EXPECT_EQ(order, (std::vector<uint32_t> { WM_USER + 1000, WM_PAINT, WM_TIMER, WM_KEYDOWN }));
    EXPECT_TRUE(h.pump().peek(m, false));
    EXPECT_EQ(m.id, WM_CHAR);
    EXPECT_TRUE(h.pump().peek(m, true));
    EXPECT_EQ(m.id, WM_CHAR); // peeking without removing left it in place
}

TEST(Timers, QuitIsReportedByWait)
{
    Harness h;
    h.open();
    h.pump().postQuit(5);
    Message m;
    int result;
    while ((result = h.pump().wait(m, -1)) == 1) { }
    EXPECT_EQ(result, 0);
    EXPECT_EQ(m.id, WM_QUIT);
    EXPECT_EQ(m.wParam, 5u);
}
