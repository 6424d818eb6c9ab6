#pragma once

#include "platform/runtime/Date.h"
#include "platform/runtime/Variant.h"

#include <optional>

/// Calendar steps of the engine, computed from the date's calendar fields.
namespace engine::detail {

/// The date n days later (earlier for negative n), time of day kept.
platform::runtime::Date AddDays(platform::runtime::Date dt, long n);
/// The date n minutes later.
platform::runtime::Date AddMinutes(platform::runtime::Date dt, long n);
/// The date n calendar months later; a day beyond the target month's end becomes its last day
/// (31 March - 1 month = 28 or 29 February). Time of day kept.
platform::runtime::Date AddMonths(platform::runtime::Date dt, long n);
/// The calendar day of a date at 00:00:00.
platform::runtime::Date StartOfDay(platform::runtime::Date dt);
/// The calendar day of a date at hh:mm:ss.
platform::runtime::Date DayAt(platform::runtime::Date dt, int nHour, int nMinute, int nSecond);
/// The calendar day of `day` at the time of day of `time`.
platform::runtime::Date DayAtTimeOf(platform::runtime::Date day, platform::runtime::Date time);
/// Number of days of a month.
int DaysInMonth(int nYear, int nMonth);
/// Whether a date is the zero date (30 December 1899 00:00).
bool IsZeroDate(platform::runtime::Date dt);
/// A Variant's value as a date: dates, numbers (day serials) and date texts; nullopt for
/// anything else (Empty, Null, objects, texts that are no date).
std::optional<platform::runtime::Date> ToDate(const platform::runtime::Variant& v);

} // namespace engine::detail
