#pragma once

#include <cstdint>

// Proleptic Gregorian calendar arithmetic on day serials (day 0 = 1899-12-30).
namespace platform::runtime::detail {

/// Division rounding towards minus infinity.
constexpr std::int64_t FloorDiv(std::int64_t a, std::int64_t b)
{
    const std::int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

/// Remainder with the sign of the divisor.
constexpr std::int64_t FloorMod(std::int64_t a, std::int64_t b)
{
    return a - FloorDiv(a, b) * b;
}

/// The day serial of a civil date.
constexpr std::int64_t DaysFromCivil(int year, int month, int day)
{
    const std::int64_t y = static_cast<std::int64_t>(year) - (month <= 2 ? 1 : 0);
    const std::int64_t era = FloorDiv(y, 400);
    const std::int64_t yoe = y - era * 400;
    const std::int64_t mp = (month + 9) % 12;
    const std::int64_t doy = (153 * mp + 2) / 5 + day - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    // 719468 moves the epoch from 0000-03-01 to 1970-01-01, 25569 from there to 1899-12-30.
    return era * 146097 + doe - 719468 + 25569;
}

/// The civil date of a day serial.
constexpr void CivilFromDays(std::int64_t serial, int& year, int& month, int& day)
{
    const std::int64_t z = serial - 25569 + 719468;
    const std::int64_t era = FloorDiv(z, 146097);
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

/// The weekday of a day serial, Sunday = 1 .. Saturday = 7 (serial 0 was a Saturday).
constexpr int WeekdaySundayBased(std::int64_t serial)
{
    return static_cast<int>(FloorMod(serial + 6, 7)) + 1;
}

/// True for leap years of the Gregorian calendar.
constexpr bool IsLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

/// The number of days of a month.
constexpr int DaysInMonth(int year, int month)
{
    constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

static_assert(DaysFromCivil(1899, 12, 30) == 0);
static_assert(DaysFromCivil(1900, 3, 1) == 61);

} // namespace platform::runtime::detail
