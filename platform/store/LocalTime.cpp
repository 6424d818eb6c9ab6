#include "platform/store/LocalTime.h"

#include "platform/locale/Locale.h"
#include "platform/runtime/TimeZone.h"
#include "platform/store/StoreError.h"

#include <cmath>
#include <limits>
#include <string>

namespace platform::store {

namespace {

std::int64_t FloorDiv(std::int64_t a, std::int64_t b)
{
    const auto q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

// Days from 1970-01-01 to 1899-12-30, the origin of the day serial.
constexpr std::int64_t kSerialEpochOffset = 25569;

// The times a day number can hold (about 5.8 million years either side of 1970), less a day
// for the zone's offset.
constexpr std::int64_t kLimit =
    (std::int64_t{std::numeric_limits<std::int32_t>::max()} - 1) * kSecondsPerDay;

// A time no calendar date holds, said in the run's language.
void RefuseOutOfRange(std::int64_t seconds, bool utc)
{
    const bool german = platform::locale::Current().languageCode == "de";
    const std::string n = std::to_string(seconds);
    throw StoreError(StoreErrorKind::InvalidArgument,
                     german ? (utc ? "die UTC-Zeit " : "die Ortszeit ") + n +
                                  " Sekunden nach 1970 liegt außerhalb des Kalenders"
                            : (utc ? "the UTC time " : "the local time ") + n +
                                  " seconds after 1970 lies outside the calendar");
}

} // namespace

bool IsLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month)
{
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month == 2 && IsLeapYear(year))
        return 29;
    return kDays[month - 1];
}

// The era-based conversion keeps every step in whole numbers and works for any year.
std::int32_t DayFromCivil(const CivilDate& date)
{
    const std::int64_t y = static_cast<std::int64_t>(date.year) - (date.month <= 2 ? 1 : 0);
    const std::int64_t era = FloorDiv(y, 400);
    const std::int64_t yoe = y - era * 400;
    const std::int64_t mp = (date.month + 9) % 12;
    const std::int64_t doy = (153 * mp + 2) / 5 + date.day - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return static_cast<std::int32_t>(era * 146097 + doe - 719468);
}

CivilDate CivilFromDay(std::int32_t day)
{
    const std::int64_t z = static_cast<std::int64_t>(day) + 719468;
    const std::int64_t era = FloorDiv(z, 146097);
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const int y = static_cast<int>(yoe + era * 400 + (m <= 2 ? 1 : 0));
    return {y, m, d};
}

int WeekdayOfDay(std::int32_t day)
{
    // 1970-01-01 was a Thursday (4).
    return static_cast<int>(((static_cast<std::int64_t>(day) % 7) + 11) % 7);
}

LocalTime MakeLocalTime(int year, int month, int day, int hour, int minute, int second)
{
    if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) || hour < 0 ||
        hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59)
        throw StoreError(StoreErrorKind::InvalidArgument,
                         "invalid local date or time " + std::to_string(year) + "-" +
                             std::to_string(month) + "-" + std::to_string(day) + " " +
                             std::to_string(hour) + ":" + std::to_string(minute));
    return {static_cast<std::int64_t>(DayFromCivil({year, month, day})) * kSecondsPerDay +
            hour * 3600 + minute * 60 + second};
}

std::int32_t DayOf(LocalTime t)
{
    return static_cast<std::int32_t>(FloorDiv(t.seconds, kSecondsPerDay));
}

std::int32_t SecondOfDay(LocalTime t)
{
    return static_cast<std::int32_t>(t.seconds -
                                     static_cast<std::int64_t>(DayOf(t)) * kSecondsPerDay);
}

LocalTime StartOfDay(std::int32_t day)
{
    return {static_cast<std::int64_t>(day) * kSecondsPerDay};
}

SysTime LocalToUtc(LocalTime t)
{
    if (t.seconds < -kLimit || t.seconds > kLimit)
        RefuseOutOfRange(t.seconds, false);
    return {runtime::ProcessZone().UtcOf(t.seconds)};
}

LocalTime UtcToLocal(SysTime t)
{
    if (t.seconds < -kLimit || t.seconds > kLimit)
        RefuseOutOfRange(t.seconds, true);
    return {runtime::ProcessZone().WallClockOf(t.seconds)};
}

double ToDaySerial(LocalTime t)
{
    return static_cast<double>(t.seconds) / static_cast<double>(kSecondsPerDay) +
           static_cast<double>(kSerialEpochOffset);
}

LocalTime FromDaySerial(double serial)
{
    const double seconds =
        (serial - static_cast<double>(kSerialEpochOffset)) * static_cast<double>(kSecondsPerDay);
    return {static_cast<std::int64_t>(std::llround(seconds))};
}

} // namespace platform::store
