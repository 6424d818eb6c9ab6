#pragma once

#include "platform/runtime/Date.h"
#include "platform/runtime/Object.h"

#include <memory>
#include <optional>
#include <vector>

namespace platform::mapi {

namespace detail {
class MessageData;
}
class Message;
class RecurrenceExceptions;

/// The recurrence pattern of a recurring appointment or task, as the client reports it. Yearly
/// patterns report their Interval in months (12 per year).
///
/// The pattern's dates and times (StartTime, PatternStartDate, the day GetOccurrence takes) are
/// wall-clock times of the zone the series was made in; its occurrences (their Start and End,
/// the exceptions' items and original dates) are local time of this process, at the instants
/// the pattern gives them; their Duration is their length on the pattern's clock in every zone.
/// ToPatternTime and ToLocalTime convert between the two; in the zone the series was made in
/// (and for series whose store records no zone) they are the same, but for a time that zone
/// skips when daylight saving starts, which ToLocalTime gives as the time its instant has.
class RecurrencePattern : public runtime::Object
{
public:
    /// Internal: made by Message for its master.
    explicit RecurrencePattern(std::shared_ptr<detail::MessageData> master);
    ~RecurrencePattern() override;
    std::string TypeName() const override { return "RecurrencePattern"; }

    /// 0 daily, 1 weekly, 2 monthly, 3 month-nth, 5 yearly, 6 year-nth.
    long RecurrenceType() const;
    long Interval() const;
    /// Weekday bits: Sunday 1, Monday 2 ... Saturday 64.
    long DayOfWeekMask() const;
    long DayOfMonth() const;
    long MonthOfYear() const;
    /// 1 to 4, 5 = last.
    long Instance() const;
    /// Start time of each occurrence, on the pattern start day.
    runtime::Date StartTime() const;
    runtime::Date EndTime() const;
    /// Duration of each occurrence in minutes.
    long Duration() const;
    runtime::Date PatternStartDate() const;
    /// The last occurrence's day; 4500-12-31 when the pattern never ends.
    runtime::Date PatternEndDate() const;
    bool NoEndDate() const;
    /// The number of occurrences (0 when the pattern never ends).
    long Occurrences() const;
    /// The deleted and modified occurrences.
    std::shared_ptr<RecurrenceExceptions> Exceptions();
    /// The occurrence whose pattern date is the calendar day of `date` (its time is not
    /// compared): a plain occurrence (RecurrenceState 2) or a modified one, found at its
    /// original date (RecurrenceState 3). Throws runtime error -2147352567 ("no occurrence")
    /// when the day is no occurrence day or the occurrence was deleted.
    std::shared_ptr<Message> GetOccurrence(runtime::Date date);
    /// As GetOccurrence, but a day without an occurrence (none by the pattern, or deleted)
    /// answers no object instead of raising: for walks over candidate days, where most
    /// misses are expected.
    std::shared_ptr<Message> TryGetOccurrence(runtime::Date date);
    /// A local time of this process on the pattern's wall clock (the same instant).
    runtime::Date ToPatternTime(runtime::Date localTime) const;
    /// A time of the pattern's wall clock as local time of this process (the same instant).
    runtime::Date ToLocalTime(runtime::Date patternTime) const;
    /// As ToPatternTime, but nothing instead of error 6 when the instant lies outside the
    /// calendar (100-01-01 to 9999-12-31 23:59:59) on the pattern's clock.
    std::optional<runtime::Date> TryToPatternTime(runtime::Date localTime) const;
    /// As ToLocalTime, but nothing instead of error 6 when the instant lies outside the
    /// calendar in local time: an occurrence late on 31 December 9999 of a series made west of
    /// this zone, or early on 1 January 100 of one made east of it.
    std::optional<runtime::Date> TryToLocalTime(runtime::Date patternTime) const;
    /// The time minutesLater after patternTime on the pattern's wall clock, as local time of
    /// this process: for an occurrence that starts at patternTime and lasts minutesLater, the
    /// End it shows. Where the two zones' offsets draw apart during the occurrence (a change of
    /// either), that is an hour more or less than minutesLater after its local start. Nothing when
    /// it lies outside the calendar in local time (it may lie past it on the pattern's clock).
    std::optional<runtime::Date> TryToLocalTime(runtime::Date patternTime, long minutesLater) const;

private:
    std::shared_ptr<detail::MessageData> m_master;
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace platform::mapi
