#include "Harness.h"

#include "platform/sys/LocalTime.h"

using namespace platform;
using namespace platform::testing;

namespace {

// A procedure that shows a message box on every key-down and records the answers.
struct BoxApp {
    Harness h;
    std::vector<int> answers;
    uint32_t type = MB_YESNO;
    enum { Close, Ask, Ignore } onClose = Close; // Ask: stays open unless the answer is Yes

    explicit BoxApp(HeadlessBackend::Options options = Harness::quiet())
        : h(options)
    {
        h.onMessage = [this](const Message& m) -> int64_t {
            if (m.id == WM_KEYDOWN)
                answers.push_back(h.system.messageBox("Save \"a\xE7\xE3o\"?", "Velarim", type));
            if (m.id == WM_CLOSE) {
                if (onClose == Ignore || (onClose == Ask && h.system.messageBox("Quit?", "Velarim", MB_YESNO) != IDYES))
                    return 0;
                h.window().destroy();
                h.pump().postQuit(0);
            }
            if (m.id == WM_PAINT)
                h.window().validate(nullptr);
            return 0;
        };
        h.open();
    }
};

} // namespace

TEST(Headless, ScriptedAnswersAndTheCloseAtTheEnd)
{
    BoxApp app;
    app.h.headless->setScript(scriptOf("key A\nanswer 7\nwait 100\nkey B\nanswer 6"));
    uint32_t start = app.h.pump().now();
    EXPECT_EQ(app.h.run(), 0);
    EXPECT_EQ(app.answers, (std::vector<int> { IDNO, IDYES }));
    const auto& boxes = app.h.headless->messageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, "Save \"a\xE7\xE3o\"?");
    EXPECT_EQ(boxes[0].caption, "Velarim");
    EXPECT_EQ(boxes[1].answer, IDYES);
    EXPECT_TRUE(app.h.headless->scriptFinished());
    EXPECT_EQ(app.h.only({ WM_CLOSE }).size(), 1u); // the end of the script closed the window
    EXPECT_EQ(app.h.only({ WM_KEYDOWN })[1].time - start, 100u); // the wait took virtual time
}

TEST(Headless, RunsThatCannotGoOnStop)
{
    struct Case {
        const char* script;
        uint32_t type;
        decltype(BoxApp::onClose) onClose;
        const char* why;
    } cases[] = {
        { "key A", MB_OK, BoxApp::Close,
            "a message box has no scripted answer: \"Save \"a\xC3\xA7\xC3\xA3o\"?\" (OK)" },
        { "key A\nanswer 6", MB_OKCANCEL, BoxApp::Close, "line 2: answer 6 is not a button of the message box" },
        { "answer 1", MB_OK, BoxApp::Close, "line 1: answer 1 was never taken: no message box appeared" },
        // The closing at the end of the script asks, and nothing answers.
        { "close\nanswer 7", MB_OK, BoxApp::Ask, "a message box has no scripted answer: \"Quit?\" (Yes, No)" },
        { "", MB_OK, BoxApp::Ignore, "the program waits for input after the script ended" },
    };
    for (const auto& c : cases) {
        BoxApp app;
        app.type = c.type;
        app.onClose = c.onClose;
        app.h.headless->setScript(scriptOf(c.script));
        try {
            app.h.run();
            ADD_FAILURE() << c.script << ": the run ended";
        } catch (const HeadlessStuck& stuck) {
            EXPECT_TRUE(std::string(stuck.what()).starts_with(c.why)) << c.script << " -> " << stuck.what();
        }
    }
}

TEST(Headless, AProgramThatOutlivesItsCloseIsStopped)
{
    // A program that ignores the close and ticks on stops after the quiet limit.
    HeadlessBackend::Options options = Harness::quiet();
    options.quietLimitMs = 5000;
    Harness h(options);
    h.headless->setScript(scriptOf("wait 10"));
    h.onMessage = [&](const Message& m) -> int64_t {
        if (m.id == WM_PAINT)
            h.window().validate(nullptr);
        return 0;
    };
    h.pump().setTimer(h.open(), 1, 250);
    EXPECT_THROW(h.run(), HeadlessStuck);
    EXPECT_GE(h.pump().now(), 5000u);
    EXPECT_LE(h.pump().now(), 5300u);
}

TEST(HeadlessDeathTest, StuckRunsExitWithStatusThree)
{
    EXPECT_EXIT(
        {
            HeadlessBackend::Options options;
            Harness h(options);
            h.headless->setScript(scriptOf("answer 1"));
            h.open();
            h.run();
        },
        ::testing::ExitedWithCode(3), "answer 1 was never taken");
}

TEST(Headless, BusyPollingSeesTimePassAndRaiseRequestsAreCounted)
{
    Harness h;
    h.open();
    uint32_t start = h.pump().now();
    Message m;
    // A loop that only polls, as a wait-free loop in the program might.
    int polls = 0;
    while (h.pump().now() - start < 50) {
        if (h.pump().peek(m))
            h.pump().dispatch(m);
        ASSERT_LT(++polls, 1000);
    }
    h.headless->requestRaise();
    h.headless->requestRaise();
    h.pump().peek(m);
    EXPECT_EQ(h.headless->raiseCount(), 2);
}

TEST(Headless, TheScriptSetsTheCalendarClock)
{
    BoxApp app;
    // The leading date holds from the start; a later one when it is reached; waits move it on.
    app.h.headless->setScript(scriptOf("date 1998-05-05 10:00\nwait 60000\nkey A\nanswer 6\ndate 2000-12-31\nkey B\nanswer 6"));
    auto start = localTime(currentTimeSeconds());
    ASSERT_TRUE(start);
    EXPECT_EQ(start->yearDay, 124);
    EXPECT_EQ(start->hour * 60 + start->minute, 10 * 60);
    std::vector<int> days;
    app.h.onMessage = [&, inner = app.h.onMessage](const Message& m) -> int64_t {
        if (m.id == WM_KEYDOWN) {
            auto now = localTime(currentTimeSeconds());
            days.push_back(now->year * 1000 + now->yearDay);
        }
        return inner(m);
    };
    EXPECT_EQ(app.h.run(), 0);
    EXPECT_EQ(days, (std::vector<int> { 1998124, 2000365 }));
    auto later = localTime(currentTimeSeconds());
    setCalendarClock(std::nullopt);
    ASSERT_TRUE(later);
    EXPECT_EQ(later->year, 2000);
}
