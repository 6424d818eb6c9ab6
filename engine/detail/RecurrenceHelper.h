#pragma once

#include "platform/runtime/Date.h"
#include "platform/runtime/Object.h"

#include <memory>
#include <optional>
#include <vector>

namespace platform::mapi {
class Message;
class RecurrencePattern;
} // namespace platform::mapi

namespace engine::detail {

/// Turns a recurring master into its occurrences inside a window: it walks candidate dates by
/// the pattern's rules and asks the library's pattern for the occurrence on each, so the
/// library decides what is an occurrence; then it adds the modified occurrences whose start
/// lies in the window. Every walk ends: a candidate after the window's end or the pattern's
/// end stops it, and an interval or weekday mask of 0 gives no walk.
///
/// The walk runs wholly on the pattern's wall clock (the zone the series was made in; the
/// reader's for a series whose store records no zone): it starts from the pattern's own start
/// day and time, not from the master's Start instant. Whether a candidate lies in the window
/// is decided by its instant, in local time, as the window is given.
class RecurrenceHelper : public platform::runtime::Object
{
public:
    std::string TypeName() const override { return "RecurrenceHelper"; }

    /// The occurrences of oMasterItem from FromDate to the end of ToDate's day (23:59:59) on
    /// the date field DateField (2 start, 4 end): plain ones in walk order, then the modified
    /// ones in the library's order. A task master gets only its modified occurrences.
    std::vector<std::shared_ptr<platform::mapi::Message>>
    GetOccurences(platform::runtime::Date FromDate, platform::runtime::Date ToDate,
                  const std::shared_ptr<platform::mapi::Message>& oMasterItem, long DateField);

private:
    /// -1 stop, 0 skip, 1 take: the pattern's end, then the window.
    int CandidateState(platform::runtime::Date d) const;
    /// The window part of CandidateState alone, for an occurrence shown from start to end
    /// (local times; no end: one past the calendar's end). The end counts only on the end
    /// date field.
    int WindowState(platform::runtime::Date start,
                    const std::optional<platform::runtime::Date>& end) const;
    void Take(platform::runtime::Date d);
    bool Visit(platform::runtime::Date d);
    bool MaySkipAhead() const;
    long MonthStepsToSkip(platform::runtime::Date d, long lStep) const;
    /// The walk's first candidate: the pattern's first day by its kind, at its start time,
    /// on the pattern's clock (it may lie before the pattern's start, which the library then
    /// rejects).
    platform::runtime::Date FirstCandidate() const;
    /// The first day of the month the pattern's monthly or yearly steps count from.
    platform::runtime::Date FirstPatternMonth(platform::runtime::Date start) const;
    /// The pattern's day of the month (its last day in a shorter month) at its start time.
    platform::runtime::Date OnDayOfMonth(platform::runtime::Date monthDate) const;
    void GetOccurences1();
    void GetOccurences3();
    void GetOccurences4();
    void GetOccurences5();
    void GetExceptions();
    platform::runtime::Date NthDayOfMonth(platform::runtime::Date monthDate) const;

    std::vector<std::shared_ptr<platform::mapi::Message>> m_result;
    std::shared_ptr<platform::mapi::Message> m_oMaster;
    std::shared_ptr<platform::mapi::RecurrencePattern> m_oPattern;
    bool m_bIsTask = false;
    long m_lRecurrenceType = 0;
    long m_lDayOfWeekMask = 0;
    long m_lDuration = 0;
    long m_lInterval = 0;
    bool m_bNoEndDate = true;
    platform::runtime::Date m_dtPatternEnd;
    platform::runtime::Date m_dtStartTime;
    platform::runtime::Date m_dtFromDate;
    platform::runtime::Date m_dtPatternFrom; ///< the window's start on the pattern's clock
    platform::runtime::Date m_dtWindowEnd;
    platform::runtime::Date m_dtItemStart;
    long m_lDateField = 0;
};

} // namespace engine::detail
