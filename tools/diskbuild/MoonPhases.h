#pragma once

// The moon's principal phases by the lunar phase series with its periodic and planetary terms
// (the method of the standard astronomical tables), accurate to about a minute in the years the
// almanac covers.

#include <cstdint>
#include <vector>

enum class MoonPhase { New = 0, FirstQuarter = 1, Full = 2, LastQuarter = 3 };

struct MoonEvent {
    MoonPhase phase;
    // Universal time as a Julian day.
    double julianDay;
};

// The phases whose universal time falls in the Gregorian year, in order.
std::vector<MoonEvent> moonPhasesOfYear(int32_t year);

// The Julian day of a Gregorian date at 0h universal time.
double julianDayOf(int32_t year, int32_t month, int32_t day);
