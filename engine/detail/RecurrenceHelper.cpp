#include "engine/detail/RecurrenceHelper.h"

#include "common/ErrorHandling.h"
#include "engine/detail/DateMath.h"
#include "platform/runtime/ResumeNext.h"

#include "platform/mapi/Message.h"
#include "platform/mapi/RecurrenceException.h"
#include "platform/mapi/RecurrenceExceptions.h"
#include "platform/mapi/RecurrencePattern.h"

#include <cmath>
#include <optional>

namespace mapi = platform::mapi;
namespace rt = platform::runtime;

namespace engine::detail {

namespace {

constexpr long kEveryDay = 127;

double Seconds(rt::Date d)
{
    return std::round(d.Linear() * 86400.0);
}

bool HasWeekday(long lMask, int nSundayBasedDay)
{
    return (lMask & (1L << (nSundayBasedDay - 1))) != 0;
}

long MonthIndex(rt::Date d)
{
    return static_cast<long>(rt::Year(d)) * 12 + rt::Month(d) - 1;
}

// The calendar ends on 31 December 9999: a walk whose next step lies beyond it has no more
// candidates, and ends there rather than failing the read.
constexpr long kLastMonthIndex = 9999L * 12 + 11;

std::optional<rt::Date> DaysOn(rt::Date d, long n)
{
    if (static_cast<double>(d.DayNumber()) + static_cast<double>(n) > rt::Date::MaxDaySerial)
        return std::nullopt;
    return AddDays(d, n);
}

std::optional<rt::Date> MonthsOn(rt::Date d, long n)
{
    if (MonthIndex(d) + n > kLastMonthIndex)
        return std::nullopt;
    return AddMonths(d, n);
}

// The time n minutes after d, or nothing past the calendar's end.
std::optional<rt::Date> MinutesOn(rt::Date d, long n)
{
    const double dLinear = (Seconds(d) + static_cast<double>(n) * 60.0) / 86400.0;
    if (dLinear >= rt::Date::MaxDaySerial + 1.0)
        return std::nullopt;
    return rt::Date::FromLinear(dLinear);
}

} // namespace

std::vector<std::shared_ptr<mapi::Message>>
RecurrenceHelper::GetOccurences(rt::Date FromDate, rt::Date ToDate,
                                const std::shared_ptr<mapi::Message>& oMasterItem, long DateField)
{
    return common::Rethrowing("RecurrenceHelper", "GetOccurences", [&](int& nLine) {
        nLine = 1;
        m_result.clear();
        m_oMaster = oMasterItem;
        m_bIsTask = oMasterItem->IsTask();
        nLine = 2;
        m_oPattern = oMasterItem->GetRecurrencePattern();
        nLine = 3;
        m_lDayOfWeekMask = m_oPattern->DayOfWeekMask();
        m_lRecurrenceType = m_oPattern->RecurrenceType();
        m_lDuration = m_oPattern->Duration();
        m_lInterval = m_oPattern->Interval();
        m_bNoEndDate = m_oPattern->NoEndDate();
        m_dtPatternEnd = m_oPattern->PatternEndDate();
        m_dtStartTime = m_oPattern->StartTime();
        nLine = 4;
        m_dtFromDate = FromDate;
        // East of the series' zone a window from 1 January 100 starts before the calendar
        // on the series' clock (west of it, one from 31 December 9999 after it): the walk
        // then skips from the calendar's end.
        m_dtPatternFrom = WithinCalendar(m_oPattern->TryToPatternTime(FromDate), FromDate);
        m_dtWindowEnd = DayAt(ToDate, 23, 59, 59);
        m_lDateField = DateField;
        nLine = 5;
        if (!m_bIsTask) {
            // The walk starts from the pattern's own start, on the pattern's clock: the
            // master's Start is an instant, which in another zone than the pattern's (or for a
            // series whose store records no zone, read anywhere but where it was made) falls
            // on another day or weekday than the pattern's days.
            m_dtItemStart = FirstCandidate();
            switch (m_lRecurrenceType) {
            case 0:
                GetOccurences1();
                break;
            case 1:
                GetOccurences3();
                break;
            case 2:
            case 5:
                GetOccurences4();
                break;
            case 3:
            case 6:
                GetOccurences5();
                break;
            default:
                break;
            }
        }
        nLine = 6;
        GetExceptions();
        nLine = 7;
        m_oPattern.reset();
        m_oMaster.reset();
        return std::move(m_result);
    });
}

int RecurrenceHelper::CandidateState(rt::Date d) const
{
    if (!m_bNoEndDate && d.DayNumber() > m_dtPatternEnd.DayNumber())
        return -1;
    // The candidate is a time of the pattern's clock; the window holds local instants. A
    // candidate that local time cannot show lies beyond the calendar's end here (a series
    // made west of this zone, on its last evening), after every window, or before its start
    // (one made east of it, on its first morning), before every window.
    const auto local = m_oPattern->TryToLocalTime(d);
    if (!local)
        return d.Linear() < 0.0 ? 0 : -1;
    // The occurrence ends Duration minutes after its start on the pattern's clock, which is
    // the End it shows here; across a change of either zone's offset that end is an hour more
    // or less than Duration minutes after the local start.
    std::optional<rt::Date> end;
    if (m_lDateField == 4)
        end = m_oPattern->TryToLocalTime(d, m_lDuration);
    return WindowState(*local, end);
}

int RecurrenceHelper::WindowState(rt::Date start, const std::optional<rt::Date>& end) const
{
    // A candidate after the window's end ends the walk whatever the date field: with a field
    // other than start or end the compare date below never passes the window's end.
    if (Seconds(start) > Seconds(m_dtWindowEnd))
        return -1;
    double dCompare = Seconds(rt::Date());
    if (m_lDateField == 2) {
        dCompare = Seconds(start);
    } else if (m_lDateField == 4) {
        // An end that no date can show lies past the calendar's end (its start is inside it),
        // after every window.
        if (!end)
            return -1;
        dCompare = Seconds(*end);
    }
    if (dCompare > Seconds(m_dtWindowEnd))
        return -1;
    return dCompare >= Seconds(m_dtFromDate) ? 1 : 0;
}

void RecurrenceHelper::Take(rt::Date d)
{
    // Most candidate days of a walk are no occurrence (or a deleted one): the library answers
    // those with no object. A real failure of the library still only skips the day.
    std::shared_ptr<mapi::Message> oOccurrence;
    rt::ResumeNext()([&] { oOccurrence = m_oPattern->TryGetOccurrence(d); });
    if (!oOccurrence)
        return;
    const long lState = oOccurrence->RecurrenceState();
    if (lState == 1 || lState == 2)
        m_result.push_back(std::move(oOccurrence));
}

bool RecurrenceHelper::Visit(rt::Date d)
{
    const int nState = CandidateState(d);
    if (nState == 1)
        Take(d);
    return nState != -1;
}

rt::Date RecurrenceHelper::FirstCandidate() const
{
    const rt::Date start = DayAtTimeOf(m_oPattern->PatternStartDate(), m_dtStartTime);
    switch (m_lRecurrenceType) {
    case 2:
    case 5:
        return OnDayOfMonth(FirstPatternMonth(start));
    case 3:
    case 6:
        // No weekday selected: no day to find (and the walk has none).
        if ((m_lDayOfWeekMask & kEveryDay) == 0)
            return start;
        return NthDayOfMonth(FirstPatternMonth(start));
    default:
        // Daily and weekly walks try every day (every selected weekday of a stepped week) from
        // the pattern's start day; the library rejects those before the first occurrence.
        return start;
    }
}

rt::Date RecurrenceHelper::FirstPatternMonth(rt::Date start) const
{
    // The monthly steps count from the pattern start's month; the yearly ones from the first
    // month of the pattern's MonthOfYear on or after it. A day of the first month before the
    // pattern's start is no occurrence: the library rejects it and the walk steps on.
    rt::Date month = rt::DateSerial(rt::Year(start), rt::Month(start), 1);
    if (m_lRecurrenceType == 5 || m_lRecurrenceType == 6) {
        const long lMonthOfYear = m_oPattern->MonthOfYear();
        for (int i = 0; i < 12 && rt::Month(month) != lMonthOfYear; ++i) {
            const auto next = MonthsOn(month, 1);
            if (!next)
                break;
            month = *next;
        }
    }
    return month;
}

rt::Date RecurrenceHelper::OnDayOfMonth(rt::Date monthDate) const
{
    const int nYear = rt::Year(monthDate);
    const int nMonth = rt::Month(monthDate);
    const int nDay =
        std::min(static_cast<int>(m_oPattern->DayOfMonth()), DaysInMonth(nYear, nMonth));
    return DayAtTimeOf(rt::DateSerial(nYear, nMonth, nDay), m_dtStartTime);
}

long RecurrenceHelper::MonthStepsToSkip(rt::Date d, long lStep) const
{
    // Only candidates that end before the window may be skipped: the month of the window's
    // start less the occurrence length, less two months of margin (an occurrence late in the
    // month before may still end inside the window, and the zones' offsets differ by hours).
    const double dReach = m_dtPatternFrom.Linear() - static_cast<double>(m_lDuration) / 1440.0;
    if (dReach < rt::Date::MinSerial)
        return 0;
    const long lMonths = MonthIndex(rt::Date::FromLinear(dReach)) - MonthIndex(d) - 2;
    return lMonths > 0 ? lMonths / lStep : 0;
}

bool RecurrenceHelper::MaySkipAhead() const
{
    // Candidates before the window start (less the occurrence length) can only be skipped;
    // jumping over them keeps the result and keeps old series as cheap as new ones.
    return m_lDateField == 2 || m_lDateField == 4;
}

void RecurrenceHelper::GetOccurences1()
{
    common::Rethrowing("RecurrenceHelper", "GetOccurences1", [&] {
        rt::Date d = m_dtItemStart;
        if (MaySkipAhead()) {
            const double dGap = m_dtPatternFrom.Linear() - d.Linear() - m_lDuration / 1440.0 - 1.0;
            if (dGap > 1.0)
                d = AddDays(d, static_cast<long>(std::floor(dGap)));
        }
        while (Visit(d)) {
            const auto next = DaysOn(d, 1);
            if (!next)
                return;
            d = *next;
        }
    });
}

void RecurrenceHelper::GetOccurences3()
{
    common::Rethrowing("RecurrenceHelper", "GetOccurences3", [&] {
        const long lStep = m_lInterval;
        if (lStep <= 0 || m_lDayOfWeekMask == 0)
            return;
        rt::Date d = m_dtItemStart;
        if (MaySkipAhead()) {
            const double dGap = m_dtPatternFrom.Linear() - d.Linear() - m_lDuration / 1440.0 - 7.0;
            const long lWeeks = dGap > 0 ? static_cast<long>(std::floor(dGap / (7.0 * lStep))) : 0;
            if (lWeeks > 0)
                d = AddDays(d, lWeeks * 7 * lStep);
        }
        for (;;) {
            // Every selected weekday of the stepped week (Sunday to Saturday) is a candidate,
            // also those before the series' first weekday: Monday-and-Wednesday series that
            // start on a Wednesday have Mondays too.
            const int w = rt::Weekday(d, rt::DayOfWeek::Sunday);
            const rt::Date weekStart = AddDays(d, -(w - 1));
            for (int v = 1; v <= 7; ++v) {
                if (v != w && !HasWeekday(m_lDayOfWeekMask, v))
                    continue;
                const auto day = DaysOn(weekStart, v - 1);
                if (!day || !Visit(*day))
                    return;
            }
            const auto next = DaysOn(d, 7 * lStep);
            if (!next)
                return;
            d = *next;
        }
    });
}

void RecurrenceHelper::GetOccurences4()
{
    common::Rethrowing("RecurrenceHelper", "GetOccurences4", [&] {
        const long lStep = m_lInterval;
        if (lStep <= 0)
            return;
        const int nDom = static_cast<int>(m_oPattern->DayOfMonth());
        rt::Date d = m_dtItemStart;
        if (MaySkipAhead()) {
            if (const long lSteps = MonthStepsToSkip(d, lStep); lSteps > 0)
                d = OnDayOfMonth(AddMonths(d, lSteps * lStep));
        }
        while (Visit(d)) {
            const auto next = MonthsOn(d, lStep);
            if (!next)
                return;
            d = rt::Day(d) < nDom ? OnDayOfMonth(*next) : *next;
        }
    });
}

rt::Date RecurrenceHelper::NthDayOfMonth(rt::Date monthDate) const
{
    const int nYear = rt::Year(monthDate);
    const int nMonth = rt::Month(monthDate);
    const long lInstance = m_oPattern->Instance();
    rt::Date x;
    if (lInstance >= 5) {
        x = rt::DateSerial(nYear, nMonth, DaysInMonth(nYear, nMonth));
        while (!HasWeekday(m_lDayOfWeekMask, rt::Weekday(x)))
            x = AddDays(x, -1);
    } else {
        x = rt::DateSerial(nYear, nMonth, 1);
        while (!HasWeekday(m_lDayOfWeekMask, rt::Weekday(x)))
            x = AddDays(x, 1);
        for (long i = 1; i < lInstance; ++i) {
            x = AddDays(x, 1);
            while (!HasWeekday(m_lDayOfWeekMask, rt::Weekday(x)))
                x = AddDays(x, 1);
        }
    }
    return DayAtTimeOf(x, m_dtStartTime);
}

void RecurrenceHelper::GetOccurences5()
{
    common::Rethrowing("RecurrenceHelper", "GetOccurences5", [&] {
        const long lStep = m_lInterval;
        if (lStep <= 0 || (m_lDayOfWeekMask & kEveryDay) == 0)
            return;
        rt::Date d = m_dtItemStart;
        if (MaySkipAhead() && m_lDayOfWeekMask != kEveryDay) {
            if (const long lSteps = MonthStepsToSkip(d, lStep); lSteps > 0)
                d = NthDayOfMonth(AddMonths(d, lSteps * lStep));
        }
        while (Visit(d)) {
            const auto next = MonthsOn(d, lStep);
            if (!next)
                return;
            if (m_lDayOfWeekMask != kEveryDay) {
                d = NthDayOfMonth(*next);
            } else {
                d = *next;
                if (m_oPattern->Instance() == 5)
                    d = DayAtTimeOf(rt::DateSerial(rt::Year(d), rt::Month(d),
                                                   DaysInMonth(rt::Year(d), rt::Month(d))),
                                    m_dtStartTime);
            }
        }
    });
}

void RecurrenceHelper::GetExceptions()
{
    common::Rethrowing("RecurrenceHelper", "GetExceptions", [&] {
        const auto oExceptions = m_oPattern->Exceptions();
        for (const auto& oException : *oExceptions) {
            if (oException->Deleted())
                continue;
            auto oItem = oException->Item();
            // One moved to a time that local time cannot show (into the year 10000 or 99 in
            // this zone) lies outside every window.
            const auto start = m_bIsTask ? oItem->StartDate() : oItem->TryStart();
            if (!start)
                continue;
            // A moved occurrence counts where it now lies, by its own start or end, also after
            // the pattern's end.
            const auto end = m_bIsTask ? MinutesOn(*start, m_lDuration) : oItem->TryEnd();
            if (WindowState(*start, end) == 1)
                m_result.push_back(std::move(oItem));
        }
    });
}

} // namespace engine::detail
