#include "platform/runtime/Date.h"

#include "platform/runtime/Error.h"
#include "platform/runtime/detail/Calendar.h"

#include <cctype>
#include <cmath>
#include <string>

namespace platform::runtime {

namespace {

enum class Interval
{
    Year,
    Quarter,
    Month,
    DayOfYear,
    Day,
    Weekday,
    Week,
    Hour,
    Minute,
    Second
};

Interval ParseInterval(std::string_view text)
{
    std::string lower;
    for (char c : text) {
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    static constexpr struct
    {
        std::string_view name;
        Interval interval;
    } kIntervals[] = {
        {"yyyy", Interval::Year},   {"q", Interval::Quarter}, {"m", Interval::Month},
        {"y", Interval::DayOfYear}, {"d", Interval::Day},     {"w", Interval::Weekday},
        {"ww", Interval::Week},     {"h", Interval::Hour},    {"n", Interval::Minute},
        {"s", Interval::Second},
    };
    for (const auto& entry : kIntervals) {
        if (entry.name == lower) {
            return entry.interval;
        }
    }
    Raise(errors::InvalidProcedureCall);
}

// Seconds since 1899-12-30 00:00 on the time line, rounded as the runtime shows times.
std::int64_t AbsoluteSeconds(Date date)
{
    const DateFields f = Fields(date);
    return detail::DaysFromCivil(f.year, f.month, f.day) * 86400 + f.hour * 3600 + f.minute * 60 +
           f.second;
}

Date AddMonths(Date date, std::int64_t months)
{
    const DateFields f = Fields(date);
    const std::int64_t index = static_cast<std::int64_t>(f.year) * 12 + (f.month - 1) + months;
    const std::int64_t year = detail::FloorDiv(index, 12);
    if (year < 100 || year > 9999) {
        Raise(errors::InvalidProcedureCall);
    }
    const int month = static_cast<int>(detail::FloorMod(index, 12)) + 1;
    const int day = std::min(f.day, detail::DaysInMonth(static_cast<int>(year), month));
    const double serial =
        static_cast<double>(detail::DaysFromCivil(static_cast<int>(year), month, day));
    return Date::FromLinear(serial + date.TimeOfDay());
}

Date AddSeconds(Date date, double seconds)
{
    const double linear = date.Linear() + seconds / 86400.0;
    if (!(linear >= Date::MinSerial && linear < Date::MaxDaySerial + 1.0)) {
        Raise(errors::InvalidProcedureCall);
    }
    return Date::FromLinear(linear);
}

// The day serial of the first day of the week holding `day`.
std::int64_t WeekStart(std::int64_t day, int firstDay)
{
    const int weekday = detail::WeekdaySundayBased(day);
    return day - detail::FloorMod(weekday - firstDay, 7);
}

std::int64_t FirstWeekStart(int year, int firstDay, FirstWeekOfYear rule)
{
    const std::int64_t jan1 = detail::DaysFromCivil(year, 1, 1);
    std::int64_t start = WeekStart(jan1, firstDay);
    const std::int64_t daysInOldYear = jan1 - start;
    if ((rule == FirstWeekOfYear::FirstFourDays && daysInOldYear > 3) ||
        (rule == FirstWeekOfYear::FirstFullWeek && daysInOldYear > 0)) {
        start += 7;
    }
    return start;
}

int WeekOfYear(Date date, DayOfWeek firstDayOfWeek, FirstWeekOfYear firstWeek)
{
    const int firstDay = static_cast<int>(ResolveFirstDay(firstDayOfWeek));
    const FirstWeekOfYear rule = ResolveFirstWeek(firstWeek);
    if (firstDay < 1 || firstDay > 7 || rule < FirstWeekOfYear::Jan1 ||
        rule > FirstWeekOfYear::FirstFullWeek) {
        Raise(errors::InvalidProcedureCall);
    }
    const DateFields f = Fields(date);
    const std::int64_t day = detail::DaysFromCivil(f.year, f.month, f.day);
    const std::int64_t start = WeekStart(day, firstDay);
    if (rule == FirstWeekOfYear::FirstFourDays && f.year < 9999 &&
        start >= FirstWeekStart(f.year + 1, firstDay, rule)) {
        return 1;
    }
    std::int64_t first = FirstWeekStart(f.year, firstDay, rule);
    if (start < first) {
        first = FirstWeekStart(f.year - 1, firstDay, rule);
    }
    return static_cast<int>((start - first) / 7 + 1);
}

} // namespace

Date DateAdd(std::string_view interval, double number, Date date)
{
    const Interval kind = ParseInterval(interval);
    if (std::isnan(number) || std::fabs(number) > 1e10) {
        Raise(errors::InvalidProcedureCall);
    }
    const auto n = static_cast<std::int64_t>(std::trunc(number));
    switch (kind) {
    case Interval::Year:
        return AddMonths(date, n * 12);
    case Interval::Quarter:
        return AddMonths(date, n * 3);
    case Interval::Month:
        return AddMonths(date, n);
    case Interval::DayOfYear:
    case Interval::Day:
    case Interval::Weekday:
        return AddSeconds(date, static_cast<double>(n) * 86400.0);
    case Interval::Week:
        return AddSeconds(date, static_cast<double>(n) * 7.0 * 86400.0);
    case Interval::Hour:
        return AddSeconds(date, static_cast<double>(n) * 3600.0);
    case Interval::Minute:
        return AddSeconds(date, static_cast<double>(n) * 60.0);
    case Interval::Second:
        return AddSeconds(date, static_cast<double>(n));
    }
    Raise(errors::InvalidProcedureCall);
}

std::int64_t DateDiff(std::string_view interval, Date date1, Date date2, DayOfWeek firstDay,
                      FirstWeekOfYear)
{
    const Interval kind = ParseInterval(interval);
    const DateFields a = Fields(date1);
    const DateFields b = Fields(date2);
    const std::int64_t seconds1 = AbsoluteSeconds(date1);
    const std::int64_t seconds2 = AbsoluteSeconds(date2);
    const std::int64_t day1 = detail::FloorDiv(seconds1, 86400);
    const std::int64_t day2 = detail::FloorDiv(seconds2, 86400);
    switch (kind) {
    case Interval::Year:
        return b.year - a.year;
    case Interval::Quarter:
        return (b.year * 4 + (b.month - 1) / 3) - (a.year * 4 + (a.month - 1) / 3);
    case Interval::Month:
        return (b.year * 12 + b.month) - (a.year * 12 + a.month);
    case Interval::DayOfYear:
    case Interval::Day:
        return day2 - day1;
    case Interval::Weekday:
        return (day2 - day1) / 7; // whole spans, truncated towards zero
    case Interval::Week: {
        const int first = static_cast<int>(ResolveFirstDay(firstDay));
        if (first < 1 || first > 7) {
            Raise(errors::InvalidProcedureCall);
        }
        return (WeekStart(day2, first) - WeekStart(day1, first)) / 7;
    }
    case Interval::Hour:
        return detail::FloorDiv(seconds2, 3600) - detail::FloorDiv(seconds1, 3600);
    case Interval::Minute:
        return detail::FloorDiv(seconds2, 60) - detail::FloorDiv(seconds1, 60);
    case Interval::Second:
        return seconds2 - seconds1;
    }
    Raise(errors::InvalidProcedureCall);
}

int DatePart(std::string_view interval, Date date, DayOfWeek firstDay, FirstWeekOfYear firstWeek)
{
    const Interval kind = ParseInterval(interval);
    const DateFields f = Fields(date);
    switch (kind) {
    case Interval::Year:
        return f.year;
    case Interval::Quarter:
        return (f.month - 1) / 3 + 1;
    case Interval::Month:
        return f.month;
    case Interval::DayOfYear:
        return static_cast<int>(detail::DaysFromCivil(f.year, f.month, f.day) -
                                detail::DaysFromCivil(f.year, 1, 1)) +
               1;
    case Interval::Day:
        return f.day;
    case Interval::Weekday:
        return Weekday(date, firstDay);
    case Interval::Week:
        return WeekOfYear(date, firstDay, firstWeek);
    case Interval::Hour:
        return f.hour;
    case Interval::Minute:
        return f.minute;
    case Interval::Second:
        return f.second;
    }
    Raise(errors::InvalidProcedureCall);
}

} // namespace platform::runtime
