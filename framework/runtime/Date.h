#pragma once

// Dates (type 29): a calendar date and a time of day packed into two 32-bit words.
//
//   date word  bits 0-3 month, 4-8 day, 9-13 hour, 14-31 year
//   time word  bits 0-5 minute, 6-11 second, 12-21 millisecond, 22-31 microsecond
// An absent component (-1) is stored as: month and day 0, hour 31; minute, second and
// millisecond set ten bits from their position, the microsecond bits 22 to 31.

#include "framework/runtime/Value.h"

#include <cstdint>

class qelDateObject : public qelObject {
public:
    qelDateObject(uint32_t date, uint32_t time)
        : dateWord(date)
        , timeWord(time)
    {
    }

    uint32_t dateWord = 0;
    uint32_t timeWord = 0;
};

qelValue qelMakeDate(int32_t year, int32_t month, int32_t day, int32_t hour, int32_t minute, int32_t second,
    int32_t millisecond, int32_t microsecond);
// A date value holding the two words as they are (for the decoders).
qelValue qelMakeDateFromWords(uint32_t date, uint32_t time);
// Reads "Year", "Month", "Day", "Hour", "Minute", "Second", "Millisecond" and "Microsecond" from
// a table in that order, each only while the previous one was present; the first missing one and
// all after it count as absent.
qelValue qelDateFromTable(const qelValue& table);

// The date object of a date value, or null.
qelDateObject* qelDateOf(const qelValue& value);
