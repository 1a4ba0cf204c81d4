#include "platform/window/Script.h"
#include "platform/window/Keys.h"
#include "platform/sys/LocalTime.h"

#include <gtest/gtest.h>
#include <variant>

using namespace platform;
using Kind = ScriptAction::Kind;

TEST(Script, ReadsEveryAction)
{
    auto parsed = Script::parse("\xEF\xBB\xBF# a comment line\r\n"
                                "wait 250\r\n"
                                "\r\n"
                                "move 10 -20   # trailing comment\n"
                                "down 1 2\n"
                                "up 3 4\n"
                                "click 5 6\n"
                                "dblclick 7 8\n"
                                "key alt+F4\n"
                                "key Ctrl+Shift+a\n"
                                "key pageup\n"
                                "text \"S\xC3\xA3o # \\\"x\\\" \xE2\x82\xAC\\\\\"\n"
                                "answer 7\n"
                                "shot main-screen_1.v2\n"
                                "close");
    ASSERT_TRUE(std::holds_alternative<Script>(parsed)) << std::get<ScriptError>(parsed).message;
    const auto& a = std::get<Script>(parsed).actions();
    ASSERT_EQ(a.size(), 13u);
    EXPECT_EQ(a[0].kind, Kind::Wait);
    EXPECT_EQ(a[0].milliseconds, 250u);
    EXPECT_EQ(a[0].line, 2);
    EXPECT_EQ(a[1].kind, Kind::Move);
    EXPECT_EQ(a[1].line, 4);
    EXPECT_EQ(a[1].y, -20);
    EXPECT_EQ(a[4].kind, Kind::Click);
    EXPECT_EQ(a[5].kind, Kind::DoubleClick);
    EXPECT_EQ(a[5].x, 7);
    EXPECT_EQ(a[6].vk, VK_F1 + 3);
    EXPECT_TRUE(a[6].alt);
    EXPECT_FALSE(a[6].control);
    EXPECT_EQ(a[7].vk, 'A');
    EXPECT_TRUE(a[7].control && a[7].shift && !a[7].alt);
    EXPECT_EQ(a[8].vk, VK_PRIOR);
    EXPECT_EQ(a[9].text, "S\xE3o # \"x\" \x80\\"); // cp1252, and '#' inside quotes is text
    EXPECT_EQ(a[10].answer, 7);
    EXPECT_EQ(a[11].text, "main-screen_1.v2");
    EXPECT_EQ(a[12].kind, Kind::Close);
}

TEST(Script, ReportsTheFirstBadLine)
{
    struct Case {
        const char* line;
        const char* message;
    } cases[] = {
        { "jump 1 2", "unknown action \"jump\"" },
        { "wait", "wait expects milliseconds" },
        { "wait -5", "wait expects milliseconds" },
        { "wait 86400001", "wait expects milliseconds" },
        { "move 1", "move expects two whole numbers" },
        { "click 1 2.5", "click expects two whole numbers" },
        { "down 40000 1", "down coordinates must lie between" },
        { "key", "unknown key \"\"" },
        { "key F13", "unknown key \"F13\"" },
        { "key F0", "unknown key \"F0\"" },
        { "key meta+A", "unknown modifier \"meta\"" },
        { "key A B", "unexpected text after key" },
        { "text abc", "text expects a quoted string" },
        { "text \"abc", "text has no closing quote" },
        { "text \"\\n\"", "text knows only the escapes" },
        { "text \"\xE4\xB8\xAD\"", "text has a character that cp1252 lacks" },
        { "text \"\xC3\"", "text is not valid UTF-8" },
        { "answer 3", "answer expects 1 (OK), 2 (Cancel), 6 (Yes) or 7 (No)" },
        { "shot ../escape", "shot expects a file name" },
        { "shot a/b", "shot expects a file name" },
        { "shot", "shot expects a file name" },
        { "close now", "unexpected text after close" },
        { "date 1998-5-05", "date expects YYYY-MM-DD" },
        { "date 1998-02-29", "date 1998-02-29 is no calendar date" },
        { "date 1998-13-01", "date 1998-13-01 is no calendar date" },
        { "date 1998-05-05 9:30", "date expects the time as HH:MM" },
        { "date 1998-05-05 24:00", "date 1998-05-05 is no calendar date" },
    };
    for (const auto& c : cases) {
        auto parsed = Script::parse(std::string("wait 1\n# ok\n") + c.line + "\nclose\n");
        ASSERT_TRUE(std::holds_alternative<ScriptError>(parsed)) << c.line;
        const auto& error = std::get<ScriptError>(parsed);
        EXPECT_EQ(error.line, 3) << c.line;
        EXPECT_TRUE(error.message.starts_with(c.message)) << c.line << " -> " << error.message;
    }
}

TEST(Script, DatesAreLocalMoments)
{
    auto parsed = Script::parse("date 2000-02-29\ndate 1998-01-01 07:45\n");
    ASSERT_TRUE(std::holds_alternative<Script>(parsed)) << std::get<ScriptError>(parsed).message;
    const auto& a = std::get<Script>(parsed).actions();
    ASSERT_EQ(a.size(), 2u);
    auto noon = localTime(a[0].moment);
    ASSERT_TRUE(noon);
    EXPECT_EQ(noon->year, 2000);
    EXPECT_EQ(noon->month, 1);
    EXPECT_EQ(noon->day, 29);
    EXPECT_EQ(noon->hour, 12);
    auto morning = localTime(a[1].moment);
    ASSERT_TRUE(morning);
    EXPECT_EQ(morning->yearDay, 0);
    EXPECT_EQ(morning->weekDay, 4);
    EXPECT_EQ(morning->hour * 60 + morning->minute, 7 * 60 + 45);
}
