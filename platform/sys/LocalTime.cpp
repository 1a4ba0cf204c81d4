#include "platform/sys/LocalTime.h"

#include <ctime>
#include <time.h>

namespace platform {

namespace {

    // The set calendar clock in milliseconds since 1970, when one is set.
    std::optional<int64_t> calendarClockMs;

} // namespace

int64_t currentTimeSeconds()
{
    if (calendarClockMs)
        return *calendarClockMs / 1000;
    return int64_t(std::time(nullptr));
}

void setCalendarClock(std::optional<int64_t> seconds)
{
    calendarClockMs = seconds ? std::optional<int64_t>(*seconds * 1000) : std::nullopt;
}

void advanceCalendarClock(uint32_t milliseconds)
{
    if (calendarClockMs)
        *calendarClockMs += milliseconds;
}

std::optional<int64_t> localMoment(int year, int month, int day, int hour, int minute)
{
    // Why: tm_year is an int counted from 1900 and the answer must stay a real calendar date.
    if (year < 1902 || year > 9999 || month < 0 || month > 11 || day < 1 || day > 31 || hour < 0 || hour > 23
        || minute < 0 || minute > 59)
        return std::nullopt;
    tm parts {};
    parts.tm_year = year - 1900;
    parts.tm_mon = month;
    parts.tm_mday = day;
    parts.tm_hour = hour;
    parts.tm_min = minute;
    parts.tm_isdst = -1;
    time_t t = mktime(&parts);
    // mktime carries an impossible day into the next month: such a date is refused.
    if (t == time_t(-1) || parts.tm_mday != day || parts.tm_mon != month)
        return std::nullopt;
    return int64_t(t);
}

std::optional<LocalTime> localTime(int64_t seconds)
{
    time_t t = time_t(seconds);
    tm parts {};
    if (!localtime_r(&t, &parts))
        return std::nullopt;
    LocalTime result;
    result.second = parts.tm_sec;
    result.minute = parts.tm_min;
    result.hour = parts.tm_hour;
    result.day = parts.tm_mday;
    result.month = parts.tm_mon;
    result.year = parts.tm_year + 1900;
    result.weekDay = parts.tm_wday;
    result.yearDay = parts.tm_yday;
    if (parts.tm_isdst > 0)
        result.daylightSaving = true;
    else if (parts.tm_isdst == 0)
        result.daylightSaving = false;
    return result;
}

} // namespace platform
