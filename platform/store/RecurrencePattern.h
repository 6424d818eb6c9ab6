#pragma once

#include "platform/store/LocalTime.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform::store {

/// Recurrence types, numbered as the client does.
enum class RecurrenceType : int
{
    Daily = 0,
    Weekly = 1,
    Monthly = 2,  ///< on day of month (day 31 falls on a short month's last day)
    MonthNth = 3, ///< on the instance-th selected weekday of the month
    Yearly = 5,   ///< on month and day
    YearNth = 6   ///< on the instance-th selected weekday of a month
};

/// Recurrence state of an item, numbered as the client does.
enum class RecurrenceState : int
{
    NotRecurring = 0,
    Master = 1,
    Occurrence = 2,
    Exception = 3 ///< a modified (moved or changed) occurrence
};

/// How a pattern ends.
enum class RecurrenceEnd
{
    Never,
    ByDate, ///< after the occurrence on patternEndDay
    ByCount ///< after occurrenceCount occurrences (deleted ones count)
};

/// Weekday bits of DayOfWeekMask.
inline constexpr int kSunday = 1, kMonday = 2, kTuesday = 4, kWednesday = 8, kThursday = 16,
                     kFriday = 32, kSaturday = 64;

/// A deleted or modified occurrence.
struct RecurrenceException
{
    std::int32_t originalDay = 0; ///< day number of the occurrence it replaces
    bool deleted = false;
    LocalTime start;         ///< modified occurrence: its own start (may lie on another day)
    LocalTime end;           ///< modified occurrence: its own end
    std::string itemEntryId; ///< modified occurrence: the item with its changed properties

    /// Modified occurrence: its length in minutes on the series' clock (the Duration its item
    /// carries).
    std::int32_t Minutes() const
    {
        return static_cast<std::int32_t>((end.seconds - start.seconds) / 60);
    }
};

/// One occurrence of a series.
struct Occurrence
{
    std::int32_t originalDay = 0; ///< day number the pattern gives it
    LocalTime originalStart;      ///< its start by the pattern
    LocalTime start;              ///< its start (moved when modified)
    LocalTime end;
    /// Its length on the series' clock: the pattern's Duration unless modified. Converted to
    /// another zone, start and end may lie an hour more or less apart; this stays.
    std::int32_t durationMinutes = 0;
    RecurrenceState state = RecurrenceState::Occurrence; ///< Occurrence or Exception
    std::string itemEntryId; ///< the modified occurrence's item; empty for a plain one
};

/// A recurrence pattern as the client describes it, and its occurrences, computed in local
/// wall-clock time (TZ) by the store's own calendar arithmetic.
///
/// Conventions: Interval counts days (daily), weeks (weekly) or months (every other type; the
/// yearly types count 12 per year, as the client reports them). Weeks run Sunday to Saturday.
/// Monthly and yearly steps are counted from the month of the pattern start (yearly: the first
/// MonthOfYear on or after it); the first occurrence is the first one on or after the pattern
/// start. A day of month beyond the month's end falls on its last day. Instance 1 to 4 picks the
/// n-th day of the month whose weekday bit is in DayOfWeekMask, 5 the last such day.
struct RecurrencePattern
{
    RecurrenceType type = RecurrenceType::Daily;
    int interval = 1;
    int dayOfWeekMask = 0;            ///< Sunday 1 ... Saturday 64 (weekly and nth types)
    int dayOfMonth = 0;               ///< 1 to 31 (monthly and yearly)
    int monthOfYear = 0;              ///< 1 to 12 (yearly types)
    int instance = 0;                 ///< 1 to 4, 5 = last (nth types)
    std::int32_t startMinute = 0;     ///< StartTime: minutes after local midnight
    std::int32_t durationMinutes = 0; ///< Duration of each occurrence
    std::int32_t patternStartDay = 0; ///< PatternStartDate as a day number
    RecurrenceEnd end = RecurrenceEnd::Never;
    std::int32_t patternEndDay = 0; ///< last day for RecurrenceEnd::ByDate
    int occurrenceCount = 0;        ///< number of occurrences for RecurrenceEnd::ByCount
    std::vector<RecurrenceException> exceptions;
    /// The IANA name of the time zone whose wall clock the pattern's times (start time,
    /// pattern dates, exceptions) are given in: the zone the series was made in. Empty: the
    /// reader's own zone, as in a store file that records none (see SeriesClock).
    std::string timeZone;

    /// Throws StoreError (InvalidArgument) naming the first field that makes the pattern
    /// unusable: interval outside 1..999 (yearly: 12..1188 in steps of 12), a start or end
    /// outside 1601..4500 (the client's calendar), a count outside 1..9999, empty weekday mask for
    /// weekly and nth types, day of month outside 1..31, month outside 1..12, instance
    /// outside 1..5, times outside the day, negative duration, an end before the start, a count
    /// below 1, an exception not on an occurrence day or two exceptions for one day.
    void Validate() const;

    /// PatternStartDate: local midnight of the pattern start.
    LocalTime PatternStartDate() const { return StartOfDay(patternStartDay); }
    /// PatternEndDate: local midnight of the end date as given (end by date), of the last
    /// occurrence's day (end by count), or of 4500-12-31 when the pattern never ends, as the
    /// client reports it.
    LocalTime PatternEndDate() const;
    /// NoEndDate.
    bool NoEndDate() const { return end == RecurrenceEnd::Never; }
    /// Occurrences: the count (given, or computed for an end by date; 0 when it never ends).
    int Occurrences() const;
    /// StartTime and EndTime on the pattern start day (EndTime = StartTime + Duration).
    LocalTime StartTime() const;
    LocalTime EndTime() const;

    /// The first occurrence day on or after a day, within the pattern's start and end (and the
    /// client's calendar, which ends 4500-12-31); nullopt when there is none, also for a
    /// pattern that Validate would refuse. Costs O(1) whatever the distance from the start.
    std::optional<std::int32_t> FirstOnOrAfter(std::int32_t day) const;
    /// The last occurrence day, nullopt when the pattern never ends (or an end date comes
    /// before the first occurrence).
    std::optional<std::int32_t> LastDay() const;
    /// Whether the pattern puts an occurrence on this day (deleted or modified ones included).
    bool IsOccurrenceDay(std::int32_t day) const;
    /// The exception recorded for an occurrence day, or nullptr.
    const RecurrenceException* FindException(std::int32_t originalDay) const;

    /// The occurrence whose pattern date is the calendar day of `date` (its time is not
    /// compared): a plain one (state Occurrence), a modified one (state Exception, its own start
    /// and end, found at its original date only); nullopt when the day is no occurrence day or
    /// the occurrence was deleted.
    std::optional<Occurrence> GetOccurrence(LocalTime date) const;

    /// Every occurrence whose start lies in [from, to]: plain ones by their pattern start,
    /// modified ones by their own start; deleted ones never. Ordered by start.
    std::vector<Occurrence> OccurrencesBetween(LocalTime from, LocalTime to) const;
};

} // namespace platform::store
