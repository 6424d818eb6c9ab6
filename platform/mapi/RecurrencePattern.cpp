#include "platform/mapi/RecurrencePattern.h"

#include "platform/mapi/Message.h"
#include "platform/mapi/RecurrenceException.h"
#include "platform/mapi/RecurrenceExceptions.h"
#include "platform/mapi/detail/Context.h"
#include "platform/mapi/detail/MessageData.h"
#include "platform/mapi/detail/ValueConversion.h"
#include "platform/runtime/Error.h"
#include "platform/store/RecurrencePattern.h"
#include "platform/store/SeriesClock.h"

namespace platform::mapi {

struct RecurrencePattern::Impl
{
    store::RecurrencePattern pattern;
    store::SeriesClock clock;
};

RecurrencePattern::RecurrencePattern(std::shared_ptr<detail::MessageData> master)
    : m_master(std::move(master)), m_impl(std::make_unique<Impl>())
{
    const auto* pattern = m_master->Recurrence();
    if (!pattern)
        runtime::Raise(runtime::errors::NotSupported, "RecurrencePattern",
                       "The item does not recur.");
    m_impl->pattern = *pattern;
    m_impl->clock = store::SeriesClock(pattern->timeZone);
}

RecurrencePattern::~RecurrencePattern() = default;

long RecurrencePattern::RecurrenceType() const
{
    return static_cast<long>(m_impl->pattern.type);
}

long RecurrencePattern::Interval() const
{
    return m_impl->pattern.interval;
}

long RecurrencePattern::DayOfWeekMask() const
{
    return m_impl->pattern.dayOfWeekMask;
}

long RecurrencePattern::DayOfMonth() const
{
    return m_impl->pattern.dayOfMonth;
}

long RecurrencePattern::MonthOfYear() const
{
    return m_impl->pattern.monthOfYear;
}

long RecurrencePattern::Instance() const
{
    return m_impl->pattern.instance;
}

runtime::Date RecurrencePattern::StartTime() const
{
    return detail::ToDate(m_impl->pattern.StartTime().seconds);
}

runtime::Date RecurrencePattern::EndTime() const
{
    return detail::ToDate(m_impl->pattern.EndTime().seconds);
}

long RecurrencePattern::Duration() const
{
    return m_impl->pattern.durationMinutes;
}

runtime::Date RecurrencePattern::PatternStartDate() const
{
    return detail::ToDate(m_impl->pattern.PatternStartDate().seconds);
}

runtime::Date RecurrencePattern::PatternEndDate() const
{
    return detail::ToDate(m_impl->pattern.PatternEndDate().seconds);
}

bool RecurrencePattern::NoEndDate() const
{
    return m_impl->pattern.NoEndDate();
}

long RecurrencePattern::Occurrences() const
{
    return m_impl->pattern.Occurrences();
}

std::shared_ptr<RecurrenceExceptions> RecurrencePattern::Exceptions()
{
    std::vector<std::shared_ptr<RecurrenceException>> items;
    for (const auto& e : m_impl->pattern.exceptions) {
        const auto originalStart =
            store::StartOfDay(e.originalDay).seconds + m_impl->pattern.startMinute * 60;
        std::shared_ptr<Message> item;
        if (!e.deleted) {
            store::Occurrence o;
            o.originalDay = e.originalDay;
            o.originalStart = store::LocalTime{originalStart};
            o.start = e.start;
            o.end = e.end;
            o.durationMinutes = e.Minutes();
            o.state = store::RecurrenceState::Exception;
            o.itemEntryId = e.itemEntryId;
            item = std::make_shared<Message>(m_master->OccurrenceView(m_impl->clock.ToLocal(o)));
        }
        const auto original = m_impl->clock.ToLocal(store::LocalTime{originalStart});
        items.push_back(std::make_shared<RecurrenceException>(detail::ToDate(original.seconds),
                                                              e.deleted, std::move(item)));
    }
    return std::make_shared<RecurrenceExceptions>(std::move(items));
}

std::shared_ptr<Message> RecurrencePattern::GetOccurrence(runtime::Date date)
{
    auto occurrence = TryGetOccurrence(date);
    if (!occurrence)
        runtime::Raise(detail::DISP_E_EXCEPTION, "RecurrencePattern.GetOccurrence",
                       "The recurrence has no occurrence on this date.");
    return occurrence;
}

std::shared_ptr<Message> RecurrencePattern::TryGetOccurrence(runtime::Date date)
{
    auto occurrence = m_impl->pattern.GetOccurrence(store::LocalTime{detail::ToLocalSeconds(date)});
    if (!occurrence)
        return nullptr;
    // Through the occurrence's instant also on the process's own clock: a time the zone
    // skips shows as the time it has.
    *occurrence = m_impl->clock.ToLocal(std::move(*occurrence));
    return std::make_shared<Message>(m_master->OccurrenceView(*occurrence));
}

runtime::Date RecurrencePattern::ToPatternTime(runtime::Date localTime) const
{
    if (m_impl->clock.IsLocal())
        return localTime;
    return detail::ToDate(
        m_impl->clock.ToSeries(store::LocalTime{detail::ToLocalSeconds(localTime)}).seconds);
}

runtime::Date RecurrencePattern::ToLocalTime(runtime::Date patternTime) const
{
    return detail::ToDate(
        m_impl->clock.ToLocal(store::LocalTime{detail::ToLocalSeconds(patternTime)}).seconds);
}

std::optional<runtime::Date> RecurrencePattern::TryToPatternTime(runtime::Date localTime) const
{
    if (m_impl->clock.IsLocal())
        return localTime;
    return detail::TryToDate(
        m_impl->clock.ToSeries(store::LocalTime{detail::ToLocalSeconds(localTime)}).seconds);
}

std::optional<runtime::Date> RecurrencePattern::TryToLocalTime(runtime::Date patternTime) const
{
    return detail::TryToDate(
        m_impl->clock.ToLocal(store::LocalTime{detail::ToLocalSeconds(patternTime)}).seconds);
}

std::optional<runtime::Date> RecurrencePattern::TryToLocalTime(runtime::Date patternTime,
                                                               long minutesLater) const
{
    // In seconds: the later time may lie past the calendar's end on the pattern's clock and
    // still inside it here (a series made east of this zone, late on 31 December 9999).
    const store::LocalTime later{detail::ToLocalSeconds(patternTime) +
                                 static_cast<std::int64_t>(minutesLater) * 60};
    return detail::TryToDate(m_impl->clock.ToLocal(later).seconds);
}

} // namespace platform::mapi
