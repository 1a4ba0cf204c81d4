#include "platform/sys/LocalTime.h"

#include <ctime>
#include <time.h>

namespace platform {

int64_t currentTimeSeconds()
{
    return int64_t(std::time(nullptr));
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
