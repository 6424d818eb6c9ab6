#include "platform/store/RecurrencePattern.h"

#include "platform/store/StoreError.h"

#include <algorithm>
#include <bit>

namespace platform::store {

namespace {

// A month counted from year 0: year * 12 + (month - 1).
using MonthIndex = std::int64_t;

MonthIndex MonthIndexOfDay(std::int32_t day)
{
    const CivilDate d = CivilFromDay(day);
    return static_cast<MonthIndex>(d.year) * 12 + (d.month - 1);
}

int YearOf(MonthIndex m)
{
    return static_cast<int>(m >= 0 ? m / 12 : (m - 11) / 12);
}
int MonthOf(MonthIndex m)
{
    return static_cast<int>(m - static_cast<MonthIndex>(YearOf(m)) * 12) + 1;
}

std::int64_t CeilDiv(std::int64_t a, std::int64_t b)
{
    return a <= 0 ? 0 : (a + b - 1) / b;
}

bool HasWeekday(int mask, std::int32_t day)
{
    return (mask >> WeekdayOfDay(day)) & 1;
}

// The instance-th day of a month whose weekday bit is in the mask; 5 (or more) the last one.
std::int32_t NthSelectedDay(MonthIndex m, int mask, int instance)
{
    const int year = YearOf(m), month = MonthOf(m);
    const std::int32_t first = DayFromCivil({year, month, 1});
    const std::int32_t last = first + DaysInMonth(year, month) - 1;
    if (instance >= 5) {
        std::int32_t d = last;
        while (!HasWeekday(mask, d))
            --d;
        return d;
    }
    int seen = 0;
    for (std::int32_t d = first;; ++d) {
        if (HasWeekday(mask, d) && ++seen == instance)
            return d;
    }
}

std::string Describe(const std::string& field, long long value)
{
    return "invalid recurrence pattern: " + field + " " + std::to_string(value);
}

// The client's calendar runs from 1601 to 4500; bounding patterns to it (and their intervals
// and counts to what the client offers) keeps every day number well inside 32 bits.
std::int32_t FirstCalendarDay()
{
    return DayFromCivil({1601, 1, 1});
}
std::int32_t LastCalendarDay()
{
    return DayFromCivil({4500, 12, 31});
}
constexpr int kMaxOccurrences = 9999;
int MaxInterval(RecurrenceType type)
{
    return type == RecurrenceType::Yearly || type == RecurrenceType::YearNth ? 99 * 12 : 999;
}

// Occurrence arithmetic of one pattern, without its end.
class Calendar
{
public:
    explicit Calendar(const RecurrencePattern& p) : p_(p) {}

    bool Usable() const
    {
        if (p_.interval < 1 || p_.interval > MaxInterval(p_.type) ||
            p_.patternStartDay < FirstCalendarDay() || p_.patternStartDay > LastCalendarDay() ||
            (p_.end == RecurrenceEnd::ByCount &&
             (p_.occurrenceCount < 1 || p_.occurrenceCount > kMaxOccurrences)))
            return false;
        switch (p_.type) {
        case RecurrenceType::Daily:
            return true;
        case RecurrenceType::Weekly:
        case RecurrenceType::MonthNth:
        case RecurrenceType::YearNth:
            return (p_.dayOfWeekMask & 127) != 0 &&
                   (p_.type == RecurrenceType::Weekly || (p_.instance >= 1 && p_.instance <= 5)) &&
                   (p_.type != RecurrenceType::YearNth ||
                    (p_.monthOfYear >= 1 && p_.monthOfYear <= 12));
        case RecurrenceType::Monthly:
            return p_.dayOfMonth >= 1 && p_.dayOfMonth <= 31;
        case RecurrenceType::Yearly:
            return p_.dayOfMonth >= 1 && p_.dayOfMonth <= 31 && p_.monthOfYear >= 1 &&
                   p_.monthOfYear <= 12;
        }
        return false;
    }

    // First occurrence on or after `day` (never before the pattern start); no end applied.
    std::int32_t FirstOnOrAfter(std::int32_t day) const
    {
        const std::int32_t from = std::max(day, p_.patternStartDay);
        switch (p_.type) {
        case RecurrenceType::Daily:
            return static_cast<std::int32_t>(
                p_.patternStartDay + CeilDiv(from - p_.patternStartDay, p_.interval) * p_.interval);
        case RecurrenceType::Weekly:
            return WeeklyFirst(from);
        default:
            return MonthlyFirst(from);
        }
    }

    // Last occurrence on or before `day`; nullopt before the first one. No end applied.
    std::optional<std::int32_t> LastOnOrBefore(std::int32_t day) const
    {
        // One step of the pattern spans at most this many days, so the last occurrence lies
        // within it.
        const std::int64_t span = p_.type == RecurrenceType::Daily    ? p_.interval
                                  : p_.type == RecurrenceType::Weekly ? 7LL * p_.interval
                                                                      : 31LL * (p_.interval + 1);
        std::optional<std::int32_t> last;
        for (std::int32_t d = FirstOnOrAfter(static_cast<std::int32_t>(day - span)); d <= day;
             d = FirstOnOrAfter(d + 1))
            last = d;
        return last;
    }

    // The n-th occurrence (1-based); no end applied.
    std::int32_t Nth(int n) const
    {
        const std::int32_t first = FirstOnOrAfter(p_.patternStartDay);
        switch (p_.type) {
        case RecurrenceType::Daily:
            return first + (n - 1) * p_.interval;
        case RecurrenceType::Weekly: {
            // Days of the first week on or after the first occurrence, then full weeks.
            const std::int32_t week0 = WeekStart(first);
            int inFirst = 0;
            for (std::int32_t d = first; d < week0 + 7; ++d)
                inFirst += HasWeekday(p_.dayOfWeekMask, d);
            if (n <= inFirst)
                return NthFrom(first, n);
            const int perWeek = std::popcount(static_cast<unsigned>(p_.dayOfWeekMask & 127));
            const int rest = n - inFirst - 1;
            const std::int32_t week = week0 + (1 + rest / perWeek) * 7 * p_.interval;
            return NthFrom(week, rest % perWeek + 1);
        }
        default: {
            // Every step of the month arithmetic holds exactly one occurrence.
            const MonthIndex step0 = FirstStepMonth(first);
            return DayInMonth(step0 + static_cast<MonthIndex>(n - 1) * p_.interval);
        }
        }
    }

private:
    std::int32_t WeekStart(std::int32_t day) const { return day - WeekdayOfDay(day); }

    std::int32_t NthFrom(std::int32_t from, int n) const
    {
        for (std::int32_t d = from;; ++d)
            if (HasWeekday(p_.dayOfWeekMask, d) && --n == 0)
                return d;
    }

    std::int32_t WeeklyFirst(std::int32_t from) const
    {
        const std::int32_t week0 = WeekStart(p_.patternStartDay);
        const std::int64_t weeks = (WeekStart(from) - week0) / 7;
        std::int64_t k = CeilDiv(weeks, p_.interval) * p_.interval;
        std::int32_t d = k == weeks ? from : static_cast<std::int32_t>(week0 + 7 * k);
        for (;;) {
            const std::int32_t weekEnd = static_cast<std::int32_t>(week0 + 7 * k + 6);
            for (; d <= weekEnd; ++d)
                if (HasWeekday(p_.dayOfWeekMask, d))
                    return d;
            k += p_.interval;
            d = static_cast<std::int32_t>(week0 + 7 * k);
        }
    }

    // Month of step 0: the pattern start's month; for yearly types the first month of the
    // pattern's MonthOfYear on or after it.
    MonthIndex AnchorMonth() const
    {
        MonthIndex m = MonthIndexOfDay(p_.patternStartDay);
        if (p_.type == RecurrenceType::Yearly || p_.type == RecurrenceType::YearNth)
            while (MonthOf(m) != p_.monthOfYear)
                ++m;
        return m;
    }

    std::int32_t DayInMonth(MonthIndex m) const
    {
        if (p_.type == RecurrenceType::MonthNth || p_.type == RecurrenceType::YearNth)
            return NthSelectedDay(m, p_.dayOfWeekMask, p_.instance);
        const int year = YearOf(m), month = MonthOf(m);
        return DayFromCivil({year, month, std::min(p_.dayOfMonth, DaysInMonth(year, month))});
    }

    std::int32_t MonthlyFirst(std::int32_t from) const
    {
        const MonthIndex anchor = AnchorMonth();
        std::int64_t k = CeilDiv(MonthIndexOfDay(from) - anchor, p_.interval);
        for (;; ++k) {
            const std::int32_t d = DayInMonth(anchor + k * p_.interval);
            if (d >= from)
                return d;
        }
    }

    MonthIndex FirstStepMonth(std::int32_t firstDay) const { return MonthIndexOfDay(firstDay); }

    const RecurrencePattern& p_;
};

// 4500-12-31, the date the client reports as the end of a pattern without end.
constexpr CivilDate kNoEnd{4500, 12, 31};

} // namespace

void RecurrencePattern::Validate() const
{
    auto fail = [](const std::string& field, long long value) {
        return StoreError(StoreErrorKind::InvalidArgument, Describe(field, value));
    };
    if (interval < 1 || interval > MaxInterval(type))
        throw fail("Interval", interval);
    if (patternStartDay < FirstCalendarDay() || patternStartDay > LastCalendarDay())
        throw fail("PatternStartDate (day number, 1601 to 4500)", patternStartDay);
    if (end == RecurrenceEnd::ByDate && patternEndDay > LastCalendarDay())
        throw fail("PatternEndDate (day number, 1601 to 4500)", patternEndDay);
    const bool yearly = type == RecurrenceType::Yearly || type == RecurrenceType::YearNth;
    if (yearly && interval % 12 != 0)
        throw fail("Interval (months, a multiple of 12 for yearly patterns)", interval);
    const bool nth = type == RecurrenceType::MonthNth || type == RecurrenceType::YearNth;
    if ((type == RecurrenceType::Weekly || nth) && (dayOfWeekMask & 127) == 0)
        throw fail("DayOfWeekMask", dayOfWeekMask);
    if (dayOfWeekMask < 0 || dayOfWeekMask > 127)
        throw fail("DayOfWeekMask", dayOfWeekMask);
    if ((type == RecurrenceType::Monthly || type == RecurrenceType::Yearly) &&
        (dayOfMonth < 1 || dayOfMonth > 31))
        throw fail("DayOfMonth", dayOfMonth);
    if (yearly && (monthOfYear < 1 || monthOfYear > 12))
        throw fail("MonthOfYear", monthOfYear);
    if (nth && (instance < 1 || instance > 5))
        throw fail("Instance", instance);
    switch (type) {
    case RecurrenceType::Daily:
    case RecurrenceType::Weekly:
    case RecurrenceType::Monthly:
    case RecurrenceType::MonthNth:
    case RecurrenceType::Yearly:
    case RecurrenceType::YearNth:
        break;
    default:
        throw fail("RecurrenceType", static_cast<int>(type));
    }
    if (startMinute < 0 || startMinute >= 24 * 60)
        throw fail("StartTime (minutes)", startMinute);
    if (durationMinutes < 0)
        throw fail("Duration", durationMinutes);
    if (end == RecurrenceEnd::ByDate && patternEndDay < patternStartDay)
        throw fail("PatternEndDate (day number)", patternEndDay);
    if (end == RecurrenceEnd::ByCount && (occurrenceCount < 1 || occurrenceCount > kMaxOccurrences))
        throw fail("Occurrences", occurrenceCount);
    for (std::size_t i = 0; i < exceptions.size(); ++i) {
        const auto& e = exceptions[i];
        if (!IsOccurrenceDay(e.originalDay))
            throw fail("exception on a day without occurrence (day number)", e.originalDay);
        for (std::size_t j = 0; j < i; ++j)
            if (exceptions[j].originalDay == e.originalDay)
                throw fail("second exception for day number", e.originalDay);
        if (!e.deleted && e.end < e.start)
            throw fail("exception ending before its start (day number)", e.originalDay);
    }
}

std::optional<std::int32_t> RecurrencePattern::LastDay() const
{
    const Calendar cal(*this);
    if (!cal.Usable())
        return std::nullopt;
    switch (end) {
    case RecurrenceEnd::Never:
        return std::nullopt;
    case RecurrenceEnd::ByDate:
        return cal.LastOnOrBefore(patternEndDay);
    case RecurrenceEnd::ByCount:
        return cal.Nth(std::max(occurrenceCount, 1));
    }
    return std::nullopt;
}

LocalTime RecurrencePattern::PatternEndDate() const
{
    if (end == RecurrenceEnd::Never)
        return StartOfDay(DayFromCivil(kNoEnd));
    if (end == RecurrenceEnd::ByDate)
        return StartOfDay(patternEndDay);
    const auto last = LastDay();
    return StartOfDay(last ? *last : patternStartDay);
}

int RecurrencePattern::Occurrences() const
{
    if (end == RecurrenceEnd::ByCount)
        return occurrenceCount;
    if (end == RecurrenceEnd::Never)
        return 0;
    int count = 0;
    for (auto d = FirstOnOrAfter(patternStartDay); d; d = FirstOnOrAfter(*d + 1))
        ++count;
    return count;
}

LocalTime RecurrencePattern::StartTime() const
{
    return {PatternStartDate().seconds + static_cast<std::int64_t>(startMinute) * 60};
}

LocalTime RecurrencePattern::EndTime() const
{
    return {StartTime().seconds + static_cast<std::int64_t>(durationMinutes) * 60};
}

std::optional<std::int32_t> RecurrencePattern::FirstOnOrAfter(std::int32_t day) const
{
    const Calendar cal(*this);
    if (!cal.Usable() || day > LastCalendarDay())
        return std::nullopt;
    const std::int32_t d = cal.FirstOnOrAfter(std::max(day, FirstCalendarDay()));
    if (d > LastCalendarDay())
        return std::nullopt;
    if (const auto last = LastDay(); last && d > *last)
        return std::nullopt;
    return d;
}

bool RecurrencePattern::IsOccurrenceDay(std::int32_t day) const
{
    const auto d = FirstOnOrAfter(day);
    return d && *d == day;
}

const RecurrenceException* RecurrencePattern::FindException(std::int32_t originalDay) const
{
    for (const auto& e : exceptions)
        if (e.originalDay == originalDay)
            return &e;
    return nullptr;
}

std::optional<Occurrence> RecurrencePattern::GetOccurrence(LocalTime date) const
{
    const std::int32_t day = DayOf(date);
    if (!IsOccurrenceDay(day))
        return std::nullopt;
    Occurrence o;
    o.originalDay = day;
    o.originalStart = {StartOfDay(day).seconds + static_cast<std::int64_t>(startMinute) * 60};
    o.start = o.originalStart;
    o.end = {o.start.seconds + static_cast<std::int64_t>(durationMinutes) * 60};
    o.durationMinutes = durationMinutes;
    if (const auto* e = FindException(day)) {
        if (e->deleted)
            return std::nullopt;
        o.start = e->start;
        o.end = e->end;
        o.durationMinutes = e->Minutes();
        o.state = RecurrenceState::Exception;
        o.itemEntryId = e->itemEntryId;
    }
    return o;
}

std::vector<Occurrence> RecurrencePattern::OccurrencesBetween(LocalTime from, LocalTime to) const
{
    std::vector<Occurrence> out;
    if (to < from)
        return out;
    const std::int32_t lastDay = DayOf(to);
    for (auto d = FirstOnOrAfter(DayOf(from)); d && *d <= lastDay; d = FirstOnOrAfter(*d + 1)) {
        if (FindException(*d) != nullptr)
            continue;
        auto o = GetOccurrence(StartOfDay(*d));
        if (o && o->start >= from && o->start <= to)
            out.push_back(std::move(*o));
    }
    for (const auto& e : exceptions) {
        if (e.deleted || e.start < from || e.start > to)
            continue;
        if (auto o = GetOccurrence(StartOfDay(e.originalDay)))
            out.push_back(std::move(*o));
    }
    std::stable_sort(out.begin(), out.end(), [](const Occurrence& a, const Occurrence& b) {
        return a.start != b.start ? a.start < b.start : a.originalDay < b.originalDay;
    });
    return out;
}

} // namespace platform::store
