#pragma once

// The agenda's calendar: a one-year agenda without a year number. A day is its day of the year
// counted from 0 (1 January is 0) in the clock's year; months run 0 = January to 11, weekdays
// 0 = Sunday to 6. The clock's year decides February's length (the Gregorian rule: every fourth
// year, but not the centuries that 400 does not divide) and the weekday of 1 January, and every
// view steps through the same month lengths, so a date has one day of the year however it is
// reached.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

// "Jan" .. "Dez" and "Dom" .. "Sab" (no accent): the abbreviations of dates and history entries.
extern const std::array<const char*, 12> agendaMonthAbbrev;
extern const std::array<const char*, 7> agendaWeekdayAbbrev;

bool agendaIsLeapYear(int32_t year);

struct AgendaDate {
    int32_t day = 0; // 1 .. 31
    int32_t month = 0; // 0 .. 11
    int32_t weekday = 0; // 0 = Sunday .. 6
    int32_t dayOfYear = 0; // from 0
};

// The year the clock gives: its month lengths and the weekday each month begins on.
struct AgendaYear {
    std::array<int32_t, 12> monthLength {};
    std::array<int32_t, 12> firstWeekday {};

    // The year of a clock date: February from the year, the first weekdays from the clock's
    // weekday and day of the year.
    static AgendaYear fromClock(int32_t year, int32_t weekday, int32_t dayOfYear);

    int32_t length() const { return monthLength[1] == 29 ? 366 : 365; }
    // The day of the year of day `day` of `month` (both taken as they are).
    int32_t dayOfYear(int32_t month, int32_t day) const;
    int32_t weekdayOf(int32_t month, int32_t day) const;
    // The date of a month and day: the day clamped to 1 .. the month's length.
    AgendaDate date(int32_t month, int32_t day) const;
    // The date of a day of the year (taken into 0 .. length - 1).
    AgendaDate dateOfDay(int32_t dayOfYear) const;
    // The date `days` days on (or back, when negative), round the year's end.
    AgendaDate step(const AgendaDate& from, int32_t days) const;
};

// The date of a text "Ter, 05 Mai 1998": the day from the two characters at 5, the month from the
// abbreviation at 8; nothing when the text has no such day and month. The year and weekday
// written in the text are not used: the date lies in the clock's year.
std::optional<AgendaDate> agendaDateOfText(std::string_view text, const AgendaYear& year);

// The perpetual calendar: the weekday (0 = Sunday) of a date typed as "dd/mm/yyyy" (exactly ten
// characters, two slashes, digits only, year 1 .. 2999, a day the month has under the
// Gregorian rule); nothing for anything else.
std::optional<int32_t> calendarWeekdayOf(std::string_view typed);
