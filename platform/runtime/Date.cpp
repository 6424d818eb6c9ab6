#include "platform/runtime/Date.h"

#include "platform/locale/Locale.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/TimeZone.h"
#include "platform/runtime/detail/Calendar.h"

#include <cmath>
#include <ctime>
#include <mutex>
#include <utility>

namespace platform::runtime {

namespace {

// Just below the next midnight, so that 9999-12-31 23:59:59 stays valid.
constexpr double kMaxSerial = Date::MaxDaySerial + 1.0;

double LinearOf(double serial)
{
    if (serial >= 0.0) {
        return serial;
    }
    const double day = std::trunc(serial);
    return day + (day - serial);
}

bool InRange(double serial)
{
    const double linear = LinearOf(serial);
    return linear >= Date::MinSerial && linear < kMaxSerial; // false for NaN
}

std::mutex& ClockMutex()
{
    static std::mutex mutex;
    return mutex;
}

Clock& ClockSlot()
{
    static Clock clock;
    return clock;
}

Date SystemNow()
{
    // On the process's clock, as every stored time is shown.
    const std::int64_t local = ProcessZone().WallClockOf(std::time(nullptr));
    const double day =
        static_cast<double>(detail::FloorDiv(local, 86400) + detail::DaysFromCivil(1970, 1, 1));
    const double seconds = static_cast<double>(detail::FloorMod(local, 86400));
    return Date::FromLinear(day + seconds / 86400.0);
}

} // namespace

Date::Date(double serial) : serial_(serial)
{
    if (!InRange(serial)) {
        Raise(errors::Overflow);
    }
}

double Date::Linear() const noexcept
{
    return LinearOf(serial_);
}

Date Date::FromLinear(double linear)
{
    if (std::isnan(linear)) {
        Raise(errors::Overflow);
    }
    if (linear >= 0.0) {
        return Date(linear);
    }
    const double day = std::floor(linear);
    const double time = linear - day;
    return Date(time == 0.0 ? day : day - time);
}

std::int64_t Date::DayNumber() const noexcept
{
    return static_cast<std::int64_t>(std::floor(Linear()));
}

double Date::TimeOfDay() const noexcept
{
    const double linear = Linear();
    return linear - std::floor(linear);
}

DateFields Fields(Date date)
{
    const double linear = date.Linear();
    auto day = static_cast<std::int64_t>(std::floor(linear));
    // The runtime shows times to the second, rounding the fraction.
    auto seconds = static_cast<std::int64_t>(std::llround((linear - std::floor(linear)) * 86400.0));
    if (seconds >= 86400) {
        ++day;
        seconds -= 86400;
    }
    DateFields fields;
    detail::CivilFromDays(day, fields.year, fields.month, fields.day);
    fields.hour = static_cast<int>(seconds / 3600);
    fields.minute = static_cast<int>(seconds / 60 % 60);
    fields.second = static_cast<int>(seconds % 60);
    return fields;
}

Date DateSerial(int year, int month, int day)
{
    std::int64_t y = year;
    if (y >= 0 && y <= 29) {
        y += 2000;
    } else if (y >= 30 && y <= 99) {
        y += 1900;
    }
    // Months outside 1..12 move whole years first; the day then counts from the 1st.
    const std::int64_t monthIndex = static_cast<std::int64_t>(month) - 1;
    y += detail::FloorDiv(monthIndex, 12);
    const int m = static_cast<int>(detail::FloorMod(monthIndex, 12)) + 1;
    if (y < 100 || y > 9999) {
        Raise(errors::InvalidProcedureCall);
    }
    const std::int64_t serial = detail::DaysFromCivil(static_cast<int>(y), m, 1) + day - 1;
    if (serial < Date::MinSerial || serial > Date::MaxDaySerial) {
        Raise(errors::InvalidProcedureCall);
    }
    return Date(static_cast<double>(serial));
}

Date TimeSerial(int hour, int minute, int second)
{
    const std::int64_t total =
        static_cast<std::int64_t>(hour) * 3600 + static_cast<std::int64_t>(minute) * 60 + second;
    return Date::FromLinear(static_cast<double>(total) / 86400.0);
}

int Year(Date date)
{
    return Fields(date).year;
}
int Month(Date date)
{
    return Fields(date).month;
}
int Day(Date date)
{
    return Fields(date).day;
}
int Hour(Date date)
{
    return Fields(date).hour;
}
int Minute(Date date)
{
    return Fields(date).minute;
}
int Second(Date date)
{
    return Fields(date).second;
}

DayOfWeek ResolveFirstDay(DayOfWeek firstDay)
{
    if (firstDay != DayOfWeek::System) {
        return firstDay;
    }
    return static_cast<DayOfWeek>(platform::locale::FirstDayOfWeek());
}

FirstWeekOfYear ResolveFirstWeek(FirstWeekOfYear firstWeek)
{
    if (firstWeek != FirstWeekOfYear::System) {
        return firstWeek;
    }
    return static_cast<FirstWeekOfYear>(platform::locale::FirstWeekOfYear());
}

int Weekday(Date date, DayOfWeek firstDay)
{
    const int first = static_cast<int>(ResolveFirstDay(firstDay));
    if (first < 1 || first > 7) {
        Raise(errors::InvalidProcedureCall);
    }
    // Rounding to the second can carry 23:59:59.6 into the next day, as the runtime shows it.
    const DateFields f = Fields(date);
    const int sundayBased =
        detail::WeekdaySundayBased(detail::DaysFromCivil(f.year, f.month, f.day));
    return static_cast<int>(detail::FloorMod(sundayBased - first, 7)) + 1;
}

void SetClock(Clock clock)
{
    std::lock_guard lock(ClockMutex());
    ClockSlot() = std::move(clock);
}

Date Now()
{
    Clock clock;
    {
        std::lock_guard lock(ClockMutex());
        clock = ClockSlot();
    }
    return clock ? clock() : SystemNow();
}

Date Today()
{
    return Date(static_cast<double>(Now().DayNumber()));
}

Date TimeNow()
{
    const DateFields f = Fields(Now());
    return TimeSerial(f.hour, f.minute, f.second);
}

} // namespace platform::runtime
