#pragma once

#include "platform/store/PropValue.h"

#include <compare>
#include <cstdint>

namespace platform::store {

/// A wall-clock time in the process's time zone (TZ): whole seconds since 1970-01-01 00:00
/// local, counted as if every day had 86400 seconds. Calendar arithmetic (recurrence patterns,
/// all-day events) happens in this scale; the store keeps PT_SYSTIME values in UTC.
struct LocalTime
{
    std::int64_t seconds = 0;
    auto operator<=>(const LocalTime&) const = default;
};

/// A calendar date (proleptic Gregorian).
struct CivilDate
{
    int year = 1970;
    int month = 1; ///< 1 to 12
    int day = 1;   ///< 1 to 31
    auto operator<=>(const CivilDate&) const = default;
};

/// Seconds in a day of the LocalTime scale.
inline constexpr std::int64_t kSecondsPerDay = 86400;

/// Day number (days since 1970-01-01) of a date; any int year, month and day in range.
std::int32_t DayFromCivil(const CivilDate& date);
/// The date of a day number.
CivilDate CivilFromDay(std::int32_t day);
/// Weekday of a day number: 0 Sunday ... 6 Saturday.
int WeekdayOfDay(std::int32_t day);
/// Number of days in a month (28 to 31).
int DaysInMonth(int year, int month);
/// Whether a year is a leap year of the Gregorian calendar.
bool IsLeapYear(int year);

/// The local time at a date and time of day. Throws StoreError (InvalidArgument) for a month
/// outside 1..12, a day outside the month or a time outside the day.
LocalTime MakeLocalTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);
/// The day number of a local time (its calendar date).
std::int32_t DayOf(LocalTime t);
/// Seconds since local midnight.
std::int32_t SecondOfDay(LocalTime t);
/// Local midnight of a day number.
LocalTime StartOfDay(std::int32_t day);

/// Converts a local wall-clock time to UTC through the process's zone (TZ, read from the
/// system's zone data: platform::runtime::ProcessZone). A time that occurs twice (the hour
/// repeated when daylight saving ends) gives the earlier instant; a time that does not exist
/// (skipped when it starts) is read with the offset from before the change, so 02:30 becomes
/// 03:30 of the new time. The same local time always gives the same instant. Throws
/// StoreError (InvalidArgument, in the run's language) for a time no day number holds.
SysTime LocalToUtc(LocalTime t);
/// Converts UTC to local wall-clock time through the process's zone. Throws StoreError
/// (InvalidArgument, in the run's language) for a time no day number holds.
LocalTime UtcToLocal(SysTime t);

/// The day serial the runtime's dates use (days since 1899-12-30, fraction = time of day).
double ToDaySerial(LocalTime t);
/// A local time from a day serial (rounded to the second; serials before 1899-12-30 as plain
/// negative numbers).
LocalTime FromDaySerial(double serial);

} // namespace platform::store
