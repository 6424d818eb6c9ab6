#include "engine/detail/DateMath.h"

#include "platform/runtime/Conversion.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace rt = platform::runtime;

namespace engine::detail {

namespace {

// The serial of a calendar day at a time of day: built from the fields, never through a
// year-less or two-digit-year text.
rt::Date Compose(int nYear, int nMonth, int nDay, double dTimeOfDay)
{
    const rt::Date day = rt::DateSerial(nYear, nMonth, nDay);
    return rt::Date::FromLinear(static_cast<double>(day.DayNumber()) + dTimeOfDay);
}

bool IsLeap(int nYear)
{
    return (nYear % 4 == 0 && nYear % 100 != 0) || nYear % 400 == 0;
}

} // namespace

int DaysInMonth(int nYear, int nMonth)
{
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (nMonth == 2 && IsLeap(nYear))
        return 29;
    return kDays[nMonth - 1];
}

rt::Date AddDays(rt::Date dt, long n)
{
    return rt::Date::FromLinear(dt.Linear() + static_cast<double>(n));
}

rt::Date AddDaysWithinCalendar(rt::Date dt, long n)
{
    const double dDay = static_cast<double>(dt.DayNumber()) + static_cast<double>(n);
    const double dClamped = std::clamp(dDay, rt::Date::MinSerial, rt::Date::MaxDaySerial);
    return rt::Date::FromLinear(dClamped + dt.TimeOfDay());
}

rt::Date CalendarStart()
{
    return rt::Date::FromLinear(rt::Date::MinSerial);
}

rt::Date CalendarEnd()
{
    return rt::Date::FromLinear(rt::Date::MaxDaySerial + 86399.0 / 86400.0);
}

bool IsCalendarEdge(rt::Date dt)
{
    return dt == CalendarStart() || dt == CalendarEnd();
}

rt::Date WithinCalendar(const std::optional<rt::Date>& converted, rt::Date dt)
{
    if (converted)
        return *converted;
    return dt.Linear() < 0.0 ? CalendarStart() : CalendarEnd();
}

rt::Date AddMinutes(rt::Date dt, long n)
{
    const double dSeconds = std::round(dt.Linear() * 86400.0) + static_cast<double>(n) * 60.0;
    return rt::Date::FromLinear(dSeconds / 86400.0);
}

rt::Date AddMonths(rt::Date dt, long n)
{
    const rt::DateFields f = rt::Fields(dt);
    const long lMonthIndex = static_cast<long>(f.year) * 12 + (f.month - 1) + n;
    const int nYear = static_cast<int>(lMonthIndex / 12);
    const int nMonth = static_cast<int>(lMonthIndex % 12) + 1;
    const int nDay = std::min(f.day, DaysInMonth(nYear, nMonth));
    return Compose(nYear, nMonth, nDay, dt.TimeOfDay());
}

rt::Date StartOfDay(rt::Date dt)
{
    return rt::Date::FromLinear(static_cast<double>(dt.DayNumber()));
}

rt::Date DayAt(rt::Date dt, int nHour, int nMinute, int nSecond)
{
    const double dTime = (nHour * 3600.0 + nMinute * 60.0 + nSecond) / 86400.0;
    return rt::Date::FromLinear(static_cast<double>(dt.DayNumber()) + dTime);
}

rt::Date DayAtTimeOf(rt::Date day, rt::Date time)
{
    return rt::Date::FromLinear(static_cast<double>(day.DayNumber()) + time.TimeOfDay());
}

bool IsZeroDate(rt::Date dt)
{
    return dt.Serial() == 0.0;
}

std::optional<rt::Date> ToDate(const rt::Variant& v)
{
    if (const auto* d = v.Get<rt::Date>())
        return *d;
    if (const auto* dbl = v.Get<double>())
        return rt::Date(*dbl);
    if (const auto* l = v.Get<std::int32_t>())
        return rt::Date(static_cast<double>(*l));
    if (const auto* i = v.Get<std::int16_t>())
        return rt::Date(static_cast<double>(*i));
    if (v.IsString() && rt::IsDate(v))
        return rt::CDate(v);
    return std::nullopt;
}

} // namespace engine::detail
