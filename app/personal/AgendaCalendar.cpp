#include "app/personal/AgendaCalendar.h"

#include <cstring>

const std::array<const char*, 12> agendaMonthAbbrev
    = { "Jan", "Fev", "Mar", "Abr", "Mai", "Jun", "Jul", "Ago", "Set", "Out", "Nov", "Dez" };
const std::array<const char*, 7> agendaWeekdayAbbrev = { "Dom", "Seg", "Ter", "Qua", "Qui", "Sex", "Sab" };

namespace {

constexpr std::array<int32_t, 12> commonMonthLength = { 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31 };

int32_t modulo(int64_t value, int32_t divisor)
{
    int64_t r = value % divisor;
    return int32_t(r < 0 ? r + divisor : r);
}

std::array<int32_t, 12> monthLengthsOf(int32_t year)
{
    std::array<int32_t, 12> lengths = commonMonthLength;
    if (agendaIsLeapYear(year))
        lengths[1] = 29;
    return lengths;
}

} // namespace

bool agendaIsLeapYear(int32_t year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

AgendaYear AgendaYear::fromClock(int32_t year, int32_t weekday, int32_t dayOfYear)
{
    AgendaYear result;
    result.monthLength = monthLengthsOf(year);
    result.firstWeekday[0] = modulo(int64_t(weekday) - dayOfYear, 7);
    for (int m = 1; m < 12; ++m)
        result.firstWeekday[m] = modulo(int64_t(result.firstWeekday[m - 1]) + result.monthLength[m - 1], 7);
    return result;
}

int32_t AgendaYear::dayOfYear(int32_t month, int32_t day) const
{
    int32_t total = day - 1;
    for (int m = 0; m < month && m < 12; ++m)
        total += monthLength[m];
    return total;
}

int32_t AgendaYear::weekdayOf(int32_t month, int32_t day) const
{
    if (month < 0 || month > 11)
        return 0;
    return modulo(int64_t(firstWeekday[month]) + day - 1, 7);
}

AgendaDate AgendaYear::date(int32_t month, int32_t day) const
{
    AgendaDate d;
    d.month = month < 0 ? 0 : month > 11 ? 11 : month;
    d.day = day < 1 ? 1 : day > monthLength[d.month] ? monthLength[d.month] : day;
    d.dayOfYear = dayOfYear(d.month, d.day);
    d.weekday = weekdayOf(d.month, d.day);
    return d;
}

AgendaDate AgendaYear::dateOfDay(int32_t dayOfYear) const
{
    int32_t rest = modulo(dayOfYear, length());
    int32_t month = 0;
    while (month < 11 && rest >= monthLength[month])
        rest -= monthLength[month++];
    return date(month, rest + 1);
}

AgendaDate AgendaYear::step(const AgendaDate& from, int32_t days) const
{
    return dateOfDay(from.dayOfYear + days);
}

std::optional<AgendaDate> agendaDateOfText(std::string_view text, const AgendaYear& year)
{
    if (text.size() < 11)
        return std::nullopt;
    char a = text[5];
    char b = text[6];
    if (a < '0' || a > '9' || b < '0' || b > '9')
        return std::nullopt;
    int32_t day = (a - '0') * 10 + (b - '0');
    std::string_view abbrev = text.substr(8, 3);
    for (int32_t m = 0; m < 12; ++m) {
        if (abbrev == agendaMonthAbbrev[size_t(m)]) {
            if (day < 1 || day > year.monthLength[size_t(m)])
                return std::nullopt;
            return year.date(m, day);
        }
    }
    return std::nullopt;
}

std::optional<int32_t> calendarWeekdayOf(std::string_view typed)
{
    if (typed.size() != 10 || typed[2] != '/' || typed[5] != '/')
        return std::nullopt;
    auto number = [&](size_t at, size_t n) -> int32_t {
        int32_t value = 0;
        for (size_t i = at; i < at + n; ++i) {
            if (typed[i] < '0' || typed[i] > '9')
                return -1;
            value = value * 10 + (typed[i] - '0');
        }
        return value;
    };
    int32_t day = number(0, 2);
    int32_t month = number(3, 2);
    int32_t year = number(6, 4);
    // Why 2999: the calendar's range of years, as the field's four digits are typed.
    if (year < 1 || year > 2999 || month < 1 || month > 12)
        return std::nullopt;
    std::array<int32_t, 12> lengths = monthLengthsOf(year);
    if (day < 1 || day > lengths[size_t(month - 1)])
        return std::nullopt;
    // Days since 1 January of year 1 (a Monday in the proleptic Gregorian calendar).
    int64_t before = int64_t(year) - 1;
    int64_t days = before * 365 + before / 4 - before / 100 + before / 400;
    for (int32_t m = 0; m < month - 1; ++m)
        days += lengths[size_t(m)];
    days += day - 1;
    return modulo(days + 1, 7);
}
