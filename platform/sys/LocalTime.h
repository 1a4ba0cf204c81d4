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

// Seconds since 1970-01-01 00:00 UTC.
int64_t currentTimeSeconds();

// Nothing when the moment cannot be converted.
std::optional<LocalTime> localTime(int64_t seconds);

} // namespace platform
