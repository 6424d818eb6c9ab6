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
/// The date n days later, or the calendar's end that lies nearer (1 January 100, 31 December
/// 9999, time of day kept) when that day lies beyond it.
platform::runtime::Date AddDaysWithinCalendar(platform::runtime::Date dt, long n);
/// The calendar's first instant, 100-01-01 00:00:00.
platform::runtime::Date CalendarStart();
/// The calendar's last instant, 9999-12-31 23:59:59.
platform::runtime::Date CalendarEnd();
/// Whether dt is the calendar's first or last instant.
bool IsCalendarEdge(platform::runtime::Date dt);
/// The answer of a conversion of dt to another clock, or the end of the calendar that the
/// instant passed on that clock when it has none (a zone moves an instant by hours, so it is
/// the end nearer dt).
platform::runtime::Date WithinCalendar(const std::optional<platform::runtime::Date>& converted,
                                       platform::runtime::Date dt);
/// Number of days of a month.
int DaysInMonth(int nYear, int nMonth);
/// Whether a date is the zero date (30 December 1899 00:00).
bool IsZeroDate(platform::runtime::Date dt);
/// A Variant's value as a date: dates, numbers (day serials) and date texts; nullopt for
/// anything else (Empty, Null, objects, texts that are no date).
std::optional<platform::runtime::Date> ToDate(const platform::runtime::Variant& v);

} // namespace engine::detail
