#pragma once

#include <compare>
#include <cstdint>
#include <functional>
#include <string_view>

namespace platform::runtime {

/// First day of the week for Weekday/DatePart/DateDiff (the runtime's vbSunday = 1 ...).
/// System takes the current locale's first day.
enum class DayOfWeek
{
    System = 0,
    Sunday,
    Monday,
    Tuesday,
    Wednesday,
    Thursday,
    Friday,
    Saturday
};

/// Which week is week 1 for DatePart "ww" (the runtime's vbFirstJan1 = 1 ...).
/// System takes the current locale's rule.
enum class FirstWeekOfYear
{
    System = 0,
    Jan1,
    FirstFourDays,
    FirstFullWeek
};

/// A point in local time as the runtime's day serial: whole days since 1899-12-30, the time of
/// day as the fraction. Serials below zero keep the runtime's rule: the integer part counts the
/// days backwards, but the fraction still counts the time forwards from midnight, so -1.25 is
/// 1899-12-29 06:00 (and -0.5 is the same time as 0.5). Comparisons follow the time line.
/// Valid dates run from 100-01-01 to 9999-12-31 23:59:59.
class Date
{
public:
    /// Serial 0: 1899-12-30 00:00:00.
    constexpr Date() = default;
    /// The date of this serial. Throws Error 6 (overflow) outside 100-01-01 .. 9999-12-31 or
    /// for NaN.
    explicit Date(double serial);

    /// Smallest serial (100-01-01).
    static constexpr double MinSerial = -657434.0;
    /// Largest whole-day serial (9999-12-31); the time of that day may follow.
    static constexpr double MaxDaySerial = 2958465.0;

    /// The day serial: days since 1899-12-30, the fraction the time of day.
    constexpr double Serial() const noexcept { return serial_; }
    /// The position on a continuous time line in days (equal to the serial for serials >= 0,
    /// -0.75 for serial -1.25). Differences of Linear values are real durations.
    double Linear() const noexcept;
    /// The date at a time-line position (inverse of Linear). Throws Error 6 outside the range.
    static Date FromLinear(double linear);

    /// The day serial of the date's calendar day (floor of Linear).
    std::int64_t DayNumber() const noexcept;
    /// The time of day as a fraction of a day in [0, 1).
    double TimeOfDay() const noexcept;

    friend bool operator==(Date a, Date b) noexcept { return a.Linear() == b.Linear(); }
    friend std::partial_ordering operator<=>(Date a, Date b) noexcept
    {
        return a.Linear() <=> b.Linear();
    }

private:
    double serial_ = 0.0;
};

/// A date's calendar and clock fields, with the time rounded to the second as the runtime
/// shows it.
struct DateFields
{
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

/// Splits a date into its fields.
DateFields Fields(Date date);

/// The date of year/month/day. Month and day outside their range roll over into the
/// neighbouring months and years (month 13 is January of the next year, day 0 the last day of
/// the previous month). Years 0-29 mean 2000-2029, 30-99 mean 1930-1999.
/// Throws Error 5 when the result lies outside 100-01-01 .. 9999-12-31.
Date DateSerial(int year, int month, int day);

/// The time of day hour:minute:second as a date on 1899-12-30; values outside their range roll
/// over (25:00 is 1899-12-31 01:00, -1:00 is 1899-12-29 23:00).
Date TimeSerial(int hour, int minute, int second);

/// The calendar year of a date.
int Year(Date date);
/// The month 1-12.
int Month(Date date);
/// The day of the month 1-31.
int Day(Date date);
/// The hour 0-23.
int Hour(Date date);
/// The minute 0-59.
int Minute(Date date);
/// The second 0-59.
int Second(Date date);

/// The day of the week 1-7, counted from `firstDay` (Sunday = 1 by default).
int Weekday(Date date, DayOfWeek firstDay = DayOfWeek::Sunday);

/// Resolves DayOfWeek::System to the current locale's first day; other values pass through.
DayOfWeek ResolveFirstDay(DayOfWeek firstDay);
/// Resolves FirstWeekOfYear::System to the current locale's rule; other values pass through.
FirstWeekOfYear ResolveFirstWeek(FirstWeekOfYear firstWeek);

/// Adds `number` intervals to a date. Intervals (case-insensitive): "yyyy" years, "q" quarters,
/// "m" months, "y" / "d" / "w" days, "ww" weeks, "h" hours, "n" minutes, "s" seconds. Adding
/// years, quarters or months keeps the day unless the target month is shorter, in which case
/// it becomes that month's last day (Jan 31 + 1 month = Feb 28 or 29). The time of day is kept.
/// Fractions of `number` are dropped. Throws Error 5 for an unknown interval or a result
/// outside the date range.
Date DateAdd(std::string_view interval, double number, Date date);

/// The number of interval boundaries between two dates (negative when `date2` is earlier):
/// "yyyy" / "q" / "m" count year, quarter and month changes, "y" / "d" midnights, "h" / "n" /
/// "s" hour, minute and second changes, "w" whole seven-day spans, and "ww" the `firstDay`s
/// after date1 up to and including date2. `firstWeek` is accepted for symmetry with DatePart
/// and has no effect, as in the runtime. Throws Error 5 for an unknown interval.
std::int64_t DateDiff(std::string_view interval, Date date1, Date date2,
                      DayOfWeek firstDay = DayOfWeek::Sunday,
                      FirstWeekOfYear firstWeek = FirstWeekOfYear::Jan1);

/// One part of a date: "yyyy" year, "q" quarter, "m" month, "y" day of year, "d" day, "w"
/// weekday counted from `firstDay`, "ww" week of year (weeks start on `firstDay`; week 1 is the
/// week of Jan 1, the first week with four days of the new year, or the first full week, as
/// `firstWeek` says; days before week 1 belong to the last week of the previous year and, with
/// FirstFourDays, the last days of December can be week 1 of the next year), "h", "n", "s".
/// Throws Error 5 for an unknown interval.
int DatePart(std::string_view interval, Date date, DayOfWeek firstDay = DayOfWeek::Sunday,
             FirstWeekOfYear firstWeek = FirstWeekOfYear::Jan1);

/// The source of the current time for Now and Today; returns local time.
using Clock = std::function<Date()>;
/// Replaces the clock (tests pin the time); an empty function restores the system clock.
void SetClock(Clock clock);
/// The current local date and time, to the second.
Date Now();
/// The current local date at midnight (the runtime's Date function).
Date Today();
/// The current local time of day as a date on 1899-12-30 (the runtime's Time function).
Date TimeNow();

} // namespace platform::runtime
