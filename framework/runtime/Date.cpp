#include "framework/runtime/Date.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Table.h"

namespace {

// The low ten bits of a component (all ten set for an absent -1), shifted into place.
uint32_t tenBits(int32_t component, int shift)
{
    return (uint32_t(component) & 0x3FF) << shift;
}

} // namespace

qelValue qelMakeDate(int32_t year, int32_t month, int32_t day, int32_t hour, int32_t minute, int32_t second,
    int32_t millisecond, int32_t microsecond)
{
    uint32_t monthBits = month == -1 ? 0 : uint32_t(month) & 0xF;
    uint32_t dayBits = day == -1 ? 0 : uint32_t(day) & 0x1F;
    uint32_t date = monthBits | dayBits << 4 | (uint32_t(hour) & 0x1F) << 9 | uint32_t(year) << 14;
    uint32_t time = tenBits(minute, 0) | tenBits(second, 6) | tenBits(millisecond, 12) | uint32_t(microsecond) << 22;
    return qelMakeDateFromWords(date, time);
}

qelValue qelMakeDateFromWords(uint32_t date, uint32_t time)
{
    // A date that cannot be allocated is a date value without an object.
    return qelMakeObjectValue(QEL_DATE_TYPE, new qelDateObject(date, time));
}

qelValue qelDateFromTable(const qelValue& table)
{
    static const char* const names[]
        = { "Year", "Month", "Day", "Hour", "Minute", "Second", "Millisecond", "Microsecond" };
    int32_t parts[8];
    qelTableObject* object = qelTableOf(table);
    bool present = object != nullptr;
    for (int i = 0; i < 8; ++i) {
        int32_t slot = present ? object->find(qelValue(names[i])) : -1;
        present = slot >= 0;
        parts[i] = present ? qelIntValue(object->values[slot]) : -1;
    }
    return qelMakeDate(parts[0], parts[1], parts[2], parts[3], parts[4], parts[5], parts[6], parts[7]);
}

qelDateObject* qelDateOf(const qelValue& value)
{
    return value.type() == QEL_DATE_TYPE ? value.objectAs<qelDateObject>() : nullptr;
}
