// The agenda's calendar: the year the clock gives (month lengths, first weekdays), dates from
// texts, month changes that clamp the day, steps round the year, and the perpetual calendar.

#include "app/personal/AgendaCalendar.h"

#include <gtest/gtest.h>

#include <array>

namespace {

// The year of a clock date given as year, month (0-11) and day: weekday and day of the year
// worked out independently of the code under test (Zeller-free: days since a known Thursday).
AgendaYear yearOfClock(int32_t year, int32_t weekdayOfJan1, int32_t dayOfYear)
{
    return AgendaYear::fromClock(year, (weekdayOfJan1 + dayOfYear) % 7, dayOfYear);
}

} // namespace

TEST(AgendaCalendar, TheYearFromTheClock)
{
    // 1 January 1998, a Thursday.
    AgendaYear y1998 = yearOfClock(1998, 4, 0);
    EXPECT_EQ(y1998.firstWeekday, (std::array<int32_t, 12> { 4, 0, 0, 3, 5, 1, 3, 6, 2, 4, 0, 2 }));
    EXPECT_EQ(y1998.monthLength[1], 28);
    EXPECT_EQ(y1998.length(), 365);
    // Late in the year the anchor is the same: day 300 of 1998 is a Wednesday.
    EXPECT_EQ(AgendaYear::fromClock(1998, 3, 300).firstWeekday, y1998.firstWeekday);
    // 2000 is a leap year (a century that 400 divides); 1 January 2000 was a Saturday.
    AgendaYear y2000 = yearOfClock(2000, 6, 365);
    EXPECT_EQ(y2000.monthLength[1], 29);
    EXPECT_EQ(y2000.length(), 366);
    EXPECT_EQ(y2000.firstWeekday, (std::array<int32_t, 12> { 6, 2, 3, 6, 1, 4, 6, 2, 5, 0, 3, 5 }));
    // 1900 is not (a century that 400 does not divide): 1 March 1900 was a Thursday.
    AgendaYear y1900 = yearOfClock(1900, 1, 40);
    EXPECT_EQ(y1900.monthLength[1], 28);
    EXPECT_EQ(y1900.firstWeekday[2], 4);
    EXPECT_TRUE(agendaIsLeapYear(1996));
    EXPECT_FALSE(agendaIsLeapYear(2100));
}

TEST(AgendaCalendar, DatesFromTheWordSearchText)
{
    AgendaYear y1998 = yearOfClock(1998, 4, 0);
    auto date = agendaDateOfText("Ter, 05 Mai 1998", y1998);
    ASSERT_TRUE(date);
    EXPECT_EQ(date->day, 5);
    EXPECT_EQ(date->month, 4);
    EXPECT_EQ(date->weekday, 2);
    EXPECT_EQ(date->dayOfYear, 124);
    // The weekday comes from the clock's year, not from the text.
    auto other = agendaDateOfText("Dom, 05 Mai 1996", y1998);
    ASSERT_TRUE(other);
    EXPECT_EQ(other->weekday, 2);
    for (const char* bad : { "Ter, 05 mai 1998", "Ter, 5 Mai 1998", "Ter, 31 Abr 1998", "Ter, 00 Mai 1998", "Ter" })
        EXPECT_FALSE(agendaDateOfText(bad, y1998)) << bad;
}

TEST(AgendaCalendar, MonthChangesClampTheDay)
{
    struct Case {
        AgendaYear year;
        int32_t month;
        int32_t day;
        AgendaDate expected;
    } cases[] = {
        { yearOfClock(1998, 4, 0), 1, 31, { 28, 1, 6, 58 } },
        { yearOfClock(2000, 6, 0), 1, 31, { 29, 1, 2, 59 } },
        { yearOfClock(1998, 4, 0), 3, 31, { 30, 3, 4, 119 } },
        { yearOfClock(1998, 4, 0), 11, 31, { 31, 11, 4, 364 } },
        { yearOfClock(2000, 6, 0), 11, 31, { 31, 11, 0, 365 } },
    };
    for (const auto& c : cases) {
        AgendaDate d = c.year.date(c.month, c.day);
        EXPECT_EQ(d.day, c.expected.day) << c.month;
        EXPECT_EQ(d.month, c.expected.month) << c.month;
        EXPECT_EQ(d.weekday, c.expected.weekday) << c.month;
        EXPECT_EQ(d.dayOfYear, c.expected.dayOfYear) << c.month;
    }
}

TEST(AgendaCalendar, StepsGoRoundTheYear)
{
    AgendaYear y1998 = yearOfClock(1998, 4, 0);
    AgendaYear y2000 = yearOfClock(2000, 6, 0);
    // 31 December 1998 (Thursday) -> 1 January, the weekday one on.
    AgendaDate next = y1998.step(y1998.date(11, 31), 1);
    EXPECT_EQ(next.dayOfYear, 0);
    EXPECT_EQ(next.day, 1);
    EXPECT_EQ(next.month, 0);
    EXPECT_EQ(next.weekday, 4);
    AgendaDate back = y1998.step(y1998.date(0, 1), -1);
    EXPECT_EQ(back.dayOfYear, 364);
    EXPECT_EQ(back.month, 11);
    // In a leap year 28 February goes to 29 February; 1 March keeps one day of the year however
    // it is reached.
    AgendaDate feb29 = y2000.step(y2000.date(1, 28), 1);
    EXPECT_EQ(feb29.day, 29);
    EXPECT_EQ(y2000.step(feb29, 1).dayOfYear, y2000.date(2, 1).dayOfYear);
    EXPECT_EQ(y2000.date(2, 1).dayOfYear, 60);
    EXPECT_EQ(y2000.step(y2000.date(0, 1), -1).dayOfYear, 365);
    EXPECT_EQ(y1998.step(y1998.date(1, 28), 1).dayOfYear, 59);
}

TEST(AgendaCalendar, ThePerpetualCalendar)
{
    struct Case {
        const char* typed;
        int32_t weekday; // -1: refused
    } cases[] = {
        { "01/01/1998", 4 }, { "01/01/2000", 6 }, { "01/01/2001", 1 }, { "01/01/2004", 4 }, { "01/01/2005", 6 },
        { "25/12/1998", 5 }, { "29/02/1996", 4 }, { "29/02/2000", 2 }, { "01/01/1900", 1 }, { "31/12/2999", 2 },
        { "01/01/0001", 1 }, { "29/02/1998", -1 }, { "31/04/1998", -1 }, { "1/2/1998", -1 }, { "01-02-1998", -1 },
        { "00/01/1998", -1 }, { "01/13/1998", -1 }, { "01/01/3000", -1 }, { "29/02/1900", -1 }, { "1a/02/1998", -1 },
        { "01/01/0000", -1 }, { "", -1 },
    };
    for (const auto& c : cases) {
        auto weekday = calendarWeekdayOf(c.typed);
        if (c.weekday < 0)
            EXPECT_FALSE(weekday) << c.typed;
        else
            EXPECT_EQ(weekday.value_or(-1), c.weekday) << c.typed;
    }
}
