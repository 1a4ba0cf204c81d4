#pragma once

// The local calendar time of a moment, broken down.

#include <cstdint>
#include <optional>

namespace platform {

struct LocalTime {
    int second = 0; // 0-60
    int minute = 0;
    int hour = 0;
    int day = 1; // 1-31
    int month = 0; // 0-11
    int year = 1970; // full year
    int weekDay = 0; // 0-6, Sunday 0
    int yearDay = 0; // 0-365
    std::optional<bool> daylightSaving; // nothing when the conversion does not know
};

// Seconds since 1970-01-01 00:00 UTC: the machine's clock, or the set calendar clock.
int64_t currentTimeSeconds();

// Sets the calendar clock (tests and scripted runs): from now on currentTimeSeconds answers
// `seconds` plus whatever advanceCalendarClock adds; nothing gives the machine's clock back.
void setCalendarClock(std::optional<int64_t> seconds);
// Moves a set calendar clock on by milliseconds (the headless back end's virtual time); nothing
// when the machine's clock is in use.
void advanceCalendarClock(uint32_t milliseconds);
// The moment of a local date and time, or nothing when it is no date (month 0-11).
std::optional<int64_t> localMoment(int year, int month, int day, int hour, int minute);

// Nothing when the moment cannot be converted.
std::optional<LocalTime> localTime(int64_t seconds);

} // namespace platform
