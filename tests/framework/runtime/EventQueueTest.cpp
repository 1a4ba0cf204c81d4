#include "HeadlessFixture.h"

#include "framework/runtime/List.h"
#include "platform/window/Messages.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

qelEvent eventOf(int32_t type, int32_t time = 0, int32_t key = 0)
{
    qelEvent event;
    event.type = type;
    event.time = time;
    event.key = key;
    return event;
}

// Takes every queued event (time-out 0) and answers their types and times.
std::vector<std::pair<int32_t, int32_t>> drain()
{
    std::vector<std::pair<int32_t, int32_t>> taken;
    while (true) {
        qelEvent event;
        qelGetEvent(event, QEL_ALL_EVENTS, 0);
        if (event.type == 0)
            return taken;
        taken.emplace_back(event.type, event.time);
    }
}

using Taken = std::vector<std::pair<int32_t, int32_t>>;

// Opens the platform window with a procedure that turns timer messages into tick events.
void openTickWindow(HeadlessFixture& fixture)
{
    platform::WindowParams params { "t", 64, 48, false };
    platform::WindowSystem* system = fixture.system.get();
    system->window().create(params, [system](platform::WindowHandle, uint32_t id, uint64_t, int64_t) -> int64_t {
        if (id == platform::WM_TIMER)
            qelPostEvent(eventOf(QEL_TICK_EVENT, int32_t(system->pump().messageTime())));
        return 0;
    });
}

TEST(EventQueue, PoolLimitRefusesDistinctEventsAndMergesMoves)
{
    HeadlessFixture fixture;
    fixture.setting("EventLimit", "2");
    EXPECT_EQ(qelPostEvent(eventOf(QEL_KEY_DOWN_EVENT, 1)), 1);
    EXPECT_EQ(qelPostEvent(eventOf(QEL_MOUSE_MOVE_EVENT, 2)), 1);
    EXPECT_EQ(qelEventPoolSize(), 2);
    EXPECT_EQ(qelPostEvent(eventOf(QEL_KEY_DOWN_EVENT, 3)), 0);
    EXPECT_EQ(qelPostEvent(eventOf(QEL_MOUSE_MOVE_EVENT, 4)), 1);
    EXPECT_EQ(drain(), (Taken { { QEL_KEY_DOWN_EVENT, 1 }, { QEL_MOUSE_MOVE_EVENT, 4 } }));
}

TEST(EventQueue, EventLimitIsBroughtIntoASaneRange)
{
    struct Case {
        const char* value;
        int32_t pool;
    };
    for (Case c : { Case { "0", 2 }, Case { "-7", 2 }, Case { "80", 80 }, Case { "99999999", 10000 } }) {
        HeadlessFixture fixture;
        fixture.setting("EventLimit", c.value);
        // The start event is never lost, whatever the setting says.
        EXPECT_EQ(qelPostEvent(eventOf(QEL_START_EVENT)), 1) << c.value;
        EXPECT_EQ(qelEventPoolSize(), c.pool) << c.value;
    }
    HeadlessFixture fixture;
    qelPostEvent(eventOf(QEL_START_EVENT));
    EXPECT_EQ(qelEventPoolSize(), 50);
}

TEST(EventQueue, MovesDragsTicksAndQuitsReplaceTheQueuedOneInItsPlace)
{
    for (int32_t type : { QEL_MOUSE_MOVE_EVENT, QEL_DRAG_EVENT, QEL_TICK_EVENT, QEL_QUIT_EVENT }) {
        HeadlessFixture fixture;
        qelPostEvent(eventOf(QEL_KEY_DOWN_EVENT, 1));
        qelPostEvent(eventOf(type, 2));
        qelPostEvent(eventOf(QEL_MOUSE_DOWN_EVENT, 3));
        EXPECT_EQ(qelPostEvent(eventOf(type, 4)), 1);
        EXPECT_EQ(drain(), (Taken { { QEL_KEY_DOWN_EVENT, 1 }, { type, 4 }, { QEL_MOUSE_DOWN_EVENT, 3 } })) << type;
    }
    // Other kinds pile up.
    HeadlessFixture fixture;
    qelPostEvent(eventOf(QEL_KEY_DOWN_EVENT, 1));
    qelPostEvent(eventOf(QEL_KEY_DOWN_EVENT, 2));
    EXPECT_EQ(drain(), (Taken { { QEL_KEY_DOWN_EVENT, 1 }, { QEL_KEY_DOWN_EVENT, 2 } }));
}

TEST(EventQueue, MasksAndFlushesLeaveOtherEventsQueuedInOrder)
{
    HeadlessFixture fixture;
    qelPostEvent(eventOf(QEL_KEY_DOWN_EVENT, 1));
    qelPostEvent(eventOf(QEL_TICK_EVENT, 2));
    qelPostEvent(eventOf(QEL_MOUSE_UP_EVENT, 3));
    qelPostEvent(eventOf(QEL_KEY_UP_EVENT, 4));
    qelPostEvent(eventOf(QEL_MOUSE_UP_EVENT, 5));

    qelEvent event;
    qelGetEvent(event, QEL_MOUSE_UP_EVENT, -1);
    EXPECT_EQ(event.time, 3);
    qelFlushEvents(QEL_TICK_EVENT);
    qelGetEvent(event, QEL_KEY_UP_EVENT | QEL_MOUSE_UP_EVENT, -1);
    EXPECT_EQ(event.time, 4);
    EXPECT_EQ(drain(), (Taken { { QEL_KEY_DOWN_EVENT, 1 }, { QEL_MOUSE_UP_EVENT, 5 } }));
}

TEST(EventQueue, FirstTakeMakesThePoolAndPeekMakesNone)
{
    HeadlessFixture fixture;
    qelEvent event = eventOf(QEL_KEY_DOWN_EVENT);
    qelPeekEvent(event, QEL_ALL_EVENTS, -1);
    EXPECT_EQ(event.type, 0);
    EXPECT_EQ(qelEventPoolSize(), 0);
    event = eventOf(QEL_KEY_DOWN_EVENT);
    qelGetEvent(event, QEL_ALL_EVENTS, -1);
    EXPECT_EQ(event.type, 0);
    EXPECT_EQ(event.time, 1000);
    EXPECT_EQ(qelEventPoolSize(), 50);
}

TEST(EventQueue, TimeOutZeroReturnsTheEmptyEventAtOnce)
{
    HeadlessFixture fixture;
    qelPostEvent(eventOf(QEL_KEY_DOWN_EVENT, 7));
    uint32_t start = qelClockNow();
    qelEvent event;
    qelGetEvent(event, QEL_MOUSE_DOWN_EVENT, 0);
    EXPECT_EQ(event.type, 0);
    EXPECT_EQ(uint32_t(event.time), start);
    EXPECT_EQ(qelClockNow(), start);
    EXPECT_EQ(drain(), (Taken { { QEL_KEY_DOWN_EVENT, 7 } }));
}

// A key still in the window's queue, not yet turned into an event: a look with no time to
// wait must pass it on and find it, as a wait of 1 ms would.
TEST(EventQueue, TimeOutZeroSeesAKeyStillInTheWindowsQueue)
{
    for (bool remove : { false, true }) {
        HeadlessFixture fixture;
        qelEvent event;
        qelGetEvent(event, QEL_ALL_EVENTS, 0); // makes the pool
        platform::WindowParams params { "t", 64, 48, false };
        platform::WindowHandle window = fixture.system->window().create(params,
            [](platform::WindowHandle, uint32_t id, uint64_t wParam, int64_t) -> int64_t {
                if (id == platform::WM_KEYDOWN)
                    qelPostEvent(eventOf(QEL_KEY_DOWN_EVENT, 9, int32_t(wParam)));
                return 0;
            });
        fixture.system->pump().post(window, platform::WM_KEYDOWN, 'A', 0);
        uint32_t start = qelClockNow();
        if (remove)
            qelGetEvent(event, QEL_KEY_DOWN_EVENT, 0);
        else
            qelPeekEvent(event, QEL_KEY_DOWN_EVENT, 0);
        EXPECT_EQ(event.type, QEL_KEY_DOWN_EVENT) << remove;
        EXPECT_EQ(event.key, 'A') << remove;
        EXPECT_EQ(qelClockNow(), start) << remove;
        EXPECT_EQ(drain().size(), remove ? 0u : 1u);
    }
}

TEST(EventQueue, PeekCopiesAndLeavesTheQueuedEventWhole)
{
    HeadlessFixture fixture;
    qelEvent down = eventOf(QEL_MOUSE_DOWN_EVENT, 5, 2);
    down.a = qelListOf({ 1, 2 });
    down.b = "window";
    qelPostEvent(down);

    qelEvent peeked;
    qelPeekEvent(peeked, QEL_MOUSE_DOWN_EVENT, 100);
    EXPECT_EQ(peeked.type, QEL_MOUSE_DOWN_EVENT);
    EXPECT_EQ(peeked.key, 2);
    EXPECT_EQ(peeked.a, down.a);

    qelEvent taken;
    qelGetEvent(taken, QEL_MOUSE_DOWN_EVENT, 0);
    EXPECT_EQ(taken.type, QEL_MOUSE_DOWN_EVENT);
    EXPECT_EQ(taken.a, down.a);
    EXPECT_EQ(taken.b, "window");
}

TEST(EventQueue, TimeOutsPassOnTheClockAlsoAcrossItsWrap)
{
    for (uint32_t start : { 1000u, 0xFFFFFFFFu - 100u }) {
        HeadlessFixture fixture(start);
        qelEvent event;
        qelGetEvent(event, QEL_ALL_EVENTS, 0); // makes the pool
        qelGetEvent(event, QEL_KEY_DOWN_EVENT, 500);
        EXPECT_EQ(event.type, 0);
        EXPECT_EQ(uint32_t(event.time) - start, 500u) << start;

        // With a movie open the wait blocks in the platform's wait instead of polling.
        qelSetMediaHooks([] { return true; }, nullptr);
        openTickWindow(fixture);
        uint32_t before = qelClockNow();
        qelGetEvent(event, QEL_KEY_DOWN_EVENT, 300);
        EXPECT_EQ(event.type, 0);
        EXPECT_GE(qelClockNow() - before, 300u) << start;
        EXPECT_LT(qelClockNow() - before, 310u) << start;
    }
}

TEST(EventQueue, FrameworkTimerTicksEvery250MillisecondsAcrossTheWrap)
{
    for (uint32_t start : { 1000u, 0xFFFFFFFFu - 600u }) {
        HeadlessFixture fixture(start);
        openTickWindow(fixture);
        drain(); // makes the pool
        qelStartTimer(250);
        EXPECT_EQ(qelTimerId(), 1);
        uint32_t previous = qelClockNow();
        for (int i = 0; i < 6; ++i) {
            qelEvent tick;
            qelGetEvent(tick, QEL_TICK_EVENT, 2000);
            ASSERT_EQ(tick.type, QEL_TICK_EVENT);
            EXPECT_EQ(uint32_t(tick.time) - previous, 250u) << start << " tick " << i;
            previous = uint32_t(tick.time);
        }
        qelStopTimer();
        EXPECT_EQ(qelTimerId(), 0);
        qelEvent none;
        qelGetEvent(none, QEL_TICK_EVENT, 1000);
        EXPECT_EQ(none.type, 0);
    }
}

// A period of 0 or less does not stop the timer for good: it keeps ticking at the shortest period.
TEST(EventQueue, ATimerOfPeriodZeroOrLessTicksAtTheShortestPeriod)
{
    for (int32_t period : { 0, -5 }) {
        HeadlessFixture fixture;
        openTickWindow(fixture);
        drain(); // makes the pool
        qelStartTimer(period);
        EXPECT_EQ(qelTimerId(), 1) << period;
        EXPECT_EQ(qelTimerPeriod(), 10) << period;
        qelEvent tick;
        qelGetEvent(tick, QEL_TICK_EVENT, 1000);
        EXPECT_EQ(tick.type, QEL_TICK_EVENT) << period;
        qelStopTimer();
    }
}

TEST(EventQueue, TicksPostedBeforeTheLoopRunsArriveAsOneWithTheLaterTime)
{
    HeadlessFixture fixture;
    openTickWindow(fixture);
    qelStartTimer(250);
    // Nothing takes events for a second: the platform keeps at most one timer message, and the
    // queue at most one tick.
    qelWait(1000);
    qelPostEvent(eventOf(QEL_TICK_EVENT, 123456));
    EXPECT_EQ(drain(), (Taken { { QEL_TICK_EVENT, 123456 } }));
}

TEST(EventQueue, QuitOnAFullPoolFlushesTheQueue)
{
    HeadlessFixture fixture;
    fixture.setting("EventLimit", 2);
    qelPostEvent(eventOf(QEL_KEY_DOWN_EVENT, 1));
    qelPostEvent(eventOf(QEL_KEY_UP_EVENT, 2));
    qelPostQuit();
    Taken taken = drain();
    ASSERT_EQ(taken.size(), 1u);
    EXPECT_EQ(taken[0].first, QEL_QUIT_EVENT);
}

TEST(EventQueue, WaitSpendsItsTimeWithoutTakingEvents)
{
    HeadlessFixture fixture;
    qelPostEvent(eventOf(QEL_KEY_DOWN_EVENT, 1));
    uint32_t start = qelClockNow();
    qelWait(700);
    EXPECT_EQ(qelClockNow() - start, 700u);
    EXPECT_EQ(drain(), (Taken { { QEL_KEY_DOWN_EVENT, 1 } }));
}

} // namespace
