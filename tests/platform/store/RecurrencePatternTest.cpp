#include "platform/store/RecurrencePattern.h"
#include "platform/locale/Locale.h"
#include "platform/store/StoreError.h"
#include "tests/platform/store/StoreFixture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <limits>
#include <vector>

namespace platform::store::test {
namespace {

namespace ch = std::chrono;

// The test's own calendar: std::chrono's civil calendar, not the store's arithmetic.
std::int32_t Day(int y, unsigned m, unsigned d)
{
    return ch::sys_days{ch::year{y} / ch::month{m} / ch::day{d}}.time_since_epoch().count();
}
ch::year_month_day Ymd(std::int32_t day)
{
    return ch::year_month_day{ch::sys_days{ch::days{day}}};
}
unsigned Wd(std::int32_t day)
{
    return ch::weekday{ch::sys_days{ch::days{day}}}.c_encoding();
}

std::int32_t LastOfMonth(ch::year_month ym)
{
    return ch::sys_days{ch::year_month_day_last{ym / ch::last}}.time_since_epoch().count();
}

// The instance-th day of a month whose weekday is in the mask (5: the last), by scanning.
std::int32_t NthByScan(ch::year_month ym, int mask, int instance)
{
    std::vector<std::int32_t> days;
    const std::int32_t first = ch::sys_days{ym / ch::day{1}}.time_since_epoch().count();
    for (std::int32_t d = first; d <= LastOfMonth(ym); ++d)
        if (mask & (1 << Wd(d)))
            days.push_back(d);
    return instance == 5 ? days.back() : days.at(static_cast<std::size_t>(instance - 1));
}

// Whether a day is an occurrence by the definition of each type (no end applied).
bool ByDefinition(const RecurrencePattern& p, std::int32_t d)
{
    if (d < p.patternStartDay)
        return false;
    const auto ymd = Ymd(d), start = Ymd(p.patternStartDay);
    const int months = (int(ymd.year()) - int(start.year())) * 12 +
                       (int(unsigned(ymd.month())) - int(unsigned(start.month())));
    const ch::year_month ym{ymd.year(), ymd.month()};
    const std::int32_t clamped = std::min(
        Day(int(ymd.year()), unsigned(ymd.month()), 1) + p.dayOfMonth - 1, LastOfMonth(ym));
    const int anchorYear =
        int(start.year()) + (unsigned(start.month()) <= unsigned(p.monthOfYear) ? 0 : 1);
    switch (p.type) {
    case RecurrenceType::Daily:
        return (d - p.patternStartDay) % p.interval == 0;
    case RecurrenceType::Weekly: {
        const int weeks = ((d - int(Wd(d))) - (p.patternStartDay - int(Wd(p.patternStartDay)))) / 7;
        return (p.dayOfWeekMask & (1 << Wd(d))) && weeks % p.interval == 0;
    }
    case RecurrenceType::Monthly:
        return months % p.interval == 0 && d == clamped;
    case RecurrenceType::MonthNth:
        return months % p.interval == 0 && d == NthByScan(ym, p.dayOfWeekMask, p.instance);
    case RecurrenceType::Yearly:
    case RecurrenceType::YearNth: {
        if (unsigned(ymd.month()) != unsigned(p.monthOfYear) || int(ymd.year()) < anchorYear ||
            (int(ymd.year()) - anchorYear) % (p.interval / 12) != 0)
            return false;
        return d == (p.type == RecurrenceType::Yearly ? clamped
                                                      : NthByScan(ym, p.dayOfWeekMask, p.instance));
    }
    }
    return false;
}

std::vector<std::int32_t> Expected(const RecurrencePattern& p, std::int32_t horizon)
{
    std::vector<std::int32_t> out;
    for (std::int32_t d = p.patternStartDay; d <= horizon; ++d) {
        if (!ByDefinition(p, d))
            continue;
        if (p.end == RecurrenceEnd::ByDate && d > p.patternEndDay)
            break;
        out.push_back(d);
        if (p.end == RecurrenceEnd::ByCount && int(out.size()) == p.occurrenceCount)
            break;
    }
    return out;
}

struct PatternCase
{
    const char* name;
    RecurrencePattern pattern;
};

RecurrencePattern Make(RecurrenceType type, int interval, std::int32_t start, int mask = 0,
                       int dom = 0, int moy = 0, int instance = 0)
{
    RecurrencePattern p;
    p.type = type;
    p.interval = interval;
    p.patternStartDay = start;
    p.dayOfWeekMask = mask;
    p.dayOfMonth = dom;
    p.monthOfYear = moy;
    p.instance = instance;
    p.startMinute = 9 * 60 + 30;
    p.durationMinutes = 90;
    return p;
}

RecurrencePattern EndByCount(RecurrencePattern p, int n)
{
    p.end = RecurrenceEnd::ByCount;
    p.occurrenceCount = n;
    return p;
}

RecurrencePattern EndByDate(RecurrencePattern p, std::int32_t day)
{
    p.end = RecurrenceEnd::ByDate;
    p.patternEndDay = day;
    return p;
}

std::vector<PatternCase> Cases()
{
    using T = RecurrenceType;
    return {
        {"daily", Make(T::Daily, 1, Day(2024, 2, 26))},
        {"every 3 days ending by count", EndByCount(Make(T::Daily, 3, Day(2023, 12, 30)), 40)},
        {"weekly Mon Wed Fri", Make(T::Weekly, 1, Day(2024, 1, 3), kMonday | kWednesday | kFriday)},
        {"every 2 weeks Tue Thu from a Thursday",
         Make(T::Weekly, 2, Day(2024, 2, 29), kTuesday | kThursday)},
        {"every 3 weeks Sat Sun ending by date",
         EndByDate(Make(T::Weekly, 3, Day(2024, 3, 9), kSaturday | kSunday), Day(2025, 1, 5))},
        {"weekly ending by count mid-week",
         EndByCount(Make(T::Weekly, 2, Day(2024, 5, 15), kMonday | kWednesday | kSaturday), 7)},
        {"monthly on day 31", Make(T::Monthly, 1, Day(2024, 1, 31), 0, 31)},
        {"monthly on day 30 from mid-month", Make(T::Monthly, 1, Day(2023, 11, 14), 0, 30)},
        {"monthly on day 29 (February)", Make(T::Monthly, 1, Day(2023, 1, 29), 0, 29)},
        {"every 2 months on 15 ending by count",
         EndByCount(Make(T::Monthly, 2, Day(2024, 1, 20), 0, 15), 9)},
        {"last Friday", Make(T::MonthNth, 1, Day(2024, 1, 1), kFriday, 0, 0, 5)},
        {"second weekday", Make(T::MonthNth, 1, Day(2024, 2, 5), 62, 0, 0, 2)},
        {"first weekend day every 3 months",
         Make(T::MonthNth, 3, Day(2024, 4, 10), kSaturday | kSunday, 0, 0, 1)},
        {"fourth Thursday ending by date",
         EndByDate(Make(T::MonthNth, 1, Day(2024, 1, 1), kThursday, 0, 0, 4), Day(2024, 11, 28))},
        {"yearly 29 February", Make(T::Yearly, 12, Day(2024, 2, 29), 0, 29, 2)},
        {"every 2 years on 31 March from May", Make(T::Yearly, 24, Day(2023, 5, 1), 0, 31, 3)},
        {"yearly last Monday of May", Make(T::YearNth, 12, Day(2024, 1, 1), kMonday, 0, 5, 5)},
        {"yearly fourth Thursday of November ending by count",
         EndByCount(Make(T::YearNth, 12, Day(2024, 12, 1), kThursday, 0, 11, 4), 3)},
    };
}

class RecurrencePatternTest : public StoreFixture
{
};

TEST_F(RecurrencePatternTest, EveryPatternTypeMatchesAnIndependentCalendar)
{
    for (const auto& c : Cases()) {
        SCOPED_TRACE(c.name);
        const auto& p = c.pattern;
        ASSERT_NO_THROW(p.Validate());
        const std::int32_t from = p.patternStartDay - 40;
        const std::int32_t horizon = p.patternStartDay + 6 * 366;
        const auto expected = Expected(p, horizon);
        ASSERT_FALSE(expected.empty());

        std::vector<std::int32_t> byDay;
        for (std::int32_t d = from; d <= horizon; ++d) {
            const auto occ = p.GetOccurrence(LocalTime{StartOfDay(d).seconds + 17 * 3600});
            EXPECT_EQ(p.IsOccurrenceDay(d), occ.has_value());
            if (!occ)
                continue;
            byDay.push_back(d);
            EXPECT_EQ(occ->state, RecurrenceState::Occurrence);
            EXPECT_EQ(occ->start.seconds, StartOfDay(d).seconds + (9 * 60 + 30) * 60);
            EXPECT_EQ(occ->end.seconds - occ->start.seconds, 90 * 60);
        }
        EXPECT_EQ(byDay, expected);

        std::vector<std::int32_t> between;
        for (const auto& o : p.OccurrencesBetween(StartOfDay(from), StartOfDay(horizon + 1)))
            between.push_back(o.originalDay);
        EXPECT_EQ(between, expected);

        // Jumping in from anywhere lands on the next occurrence.
        for (std::int32_t d = from; d <= horizon; d += 37) {
            const auto next = std::lower_bound(expected.begin(), expected.end(), d);
            const auto got = p.FirstOnOrAfter(d);
            if (next != expected.end()) {
                EXPECT_EQ(got, std::optional<std::int32_t>(*next)) << d;
            } else if (p.end != RecurrenceEnd::Never) {
                EXPECT_FALSE(got.has_value()) << d;
            }
        }
        if (p.end != RecurrenceEnd::Never) {
            EXPECT_EQ(p.LastDay(), std::optional<std::int32_t>(expected.back()));
            EXPECT_EQ(
                p.PatternEndDate(),
                StartOfDay(p.end == RecurrenceEnd::ByDate ? p.patternEndDay : expected.back()));
            EXPECT_EQ(p.Occurrences(), static_cast<int>(expected.size()));
            EXPECT_FALSE(p.NoEndDate());
        } else {
            EXPECT_TRUE(p.NoEndDate());
            EXPECT_EQ(p.PatternEndDate(), StartOfDay(Day(4500, 12, 31)));
        }
    }
}

TEST_F(RecurrencePatternTest, MonthEndsAndLeapDaysFallOnTheLastDay)
{
    const auto monthly31 = Make(RecurrenceType::Monthly, 1, Day(2024, 1, 31), 0, 31);
    for (const auto& [y, m, d] : std::vector<std::tuple<int, unsigned, unsigned>>{
             {2024, 2, 29}, {2024, 4, 30}, {2025, 2, 28}, {2024, 12, 31}}) {
        EXPECT_TRUE(monthly31.IsOccurrenceDay(Day(y, m, d))) << y << "-" << m << "-" << d;
        EXPECT_FALSE(monthly31.IsOccurrenceDay(Day(y, m, d) - 1));
    }
    const auto leap = Make(RecurrenceType::Yearly, 12, Day(2024, 2, 29), 0, 29, 2);
    EXPECT_TRUE(leap.IsOccurrenceDay(Day(2025, 2, 28)));
    EXPECT_TRUE(leap.IsOccurrenceDay(Day(2028, 2, 29)));
    EXPECT_FALSE(leap.IsOccurrenceDay(Day(2028, 2, 28)));
    const auto lastFriday = Make(RecurrenceType::MonthNth, 1, Day(2024, 1, 1), kFriday, 0, 0, 5);
    EXPECT_TRUE(lastFriday.IsOccurrenceDay(Day(2024, 2, 23)));
    EXPECT_TRUE(lastFriday.IsOccurrenceDay(Day(2024, 5, 31)));
    EXPECT_FALSE(lastFriday.IsOccurrenceDay(Day(2024, 5, 24)));
}

TEST_F(RecurrencePatternTest, DeletedAndMovedOccurrences)
{
    auto p = Make(RecurrenceType::Weekly, 1, Day(2024, 3, 4), kMonday);
    p.exceptions.push_back({Day(2024, 3, 11), true, {}, {}, {}});
    RecurrenceException moved;
    moved.originalDay = Day(2024, 3, 18);
    moved.start = LocalTime{StartOfDay(Day(2024, 3, 20)).seconds + 14 * 3600};
    moved.end = LocalTime{moved.start.seconds + 3600};
    moved.itemEntryId = "EX1";
    p.exceptions.push_back(moved);
    RecurrenceException outside = moved;
    outside.originalDay = Day(2024, 4, 1);
    outside.start = LocalTime{StartOfDay(Day(2024, 5, 2)).seconds + 8 * 3600};
    outside.end = LocalTime{outside.start.seconds + 1800};
    outside.itemEntryId = "EX2";
    p.exceptions.push_back(outside);
    ASSERT_NO_THROW(p.Validate());

    EXPECT_FALSE(p.GetOccurrence(StartOfDay(Day(2024, 3, 11))));
    const auto m = p.GetOccurrence(StartOfDay(Day(2024, 3, 18)));
    ASSERT_TRUE(m);
    EXPECT_EQ(m->state, RecurrenceState::Exception);
    EXPECT_EQ(m->start, moved.start);
    EXPECT_EQ(m->itemEntryId, "EX1");
    EXPECT_FALSE(p.GetOccurrence(StartOfDay(Day(2024, 3, 20))));
    EXPECT_EQ(p.GetOccurrence(StartOfDay(Day(2024, 3, 25)))->state, RecurrenceState::Occurrence);

    // Window 1 to 31 March: 4 and 25 March plain, the moved one at its new time; the deleted
    // one not; the one moved out to May not.
    const auto march =
        p.OccurrencesBetween(StartOfDay(Day(2024, 3, 1)), StartOfDay(Day(2024, 4, 1) - 1));
    ASSERT_EQ(march.size(), 3u);
    EXPECT_EQ(march[0].originalDay, Day(2024, 3, 4));
    EXPECT_EQ(march[1].start, moved.start);
    EXPECT_EQ(march[2].originalDay, Day(2024, 3, 25));
    const auto may = p.OccurrencesBetween(StartOfDay(Day(2024, 5, 2)), StartOfDay(Day(2024, 5, 3)));
    ASSERT_EQ(may.size(), 1u);
    EXPECT_EQ(may[0].itemEntryId, "EX2");
    EXPECT_EQ(may[0].originalDay, Day(2024, 4, 1));
}

TEST_F(RecurrencePatternTest, EndByCountCountsDeletedOccurrences)
{
    auto p = EndByCount(Make(RecurrenceType::Daily, 2, Day(2024, 3, 1)), 5);
    p.exceptions.push_back({Day(2024, 3, 3), true, {}, {}, {}});
    EXPECT_EQ(p.LastDay(), std::optional<std::int32_t>(Day(2024, 3, 9)));
    EXPECT_EQ(p.OccurrencesBetween(StartOfDay(Day(2024, 1, 1)), StartOfDay(Day(2025, 1, 1))).size(),
              4u);
    EXPECT_FALSE(p.IsOccurrenceDay(Day(2024, 3, 11)));
}

TEST_F(RecurrencePatternTest, OccurrencesBetweenHoldBothBoundsEqualToAStart)
{
    // Each case names one occurrence by its start; the query's bounds are set exactly on it
    // and one second beside it.
    RecurrencePattern moved = Make(RecurrenceType::Weekly, 1, Day(2024, 3, 4), kMonday);
    RecurrenceException change;
    change.originalDay = Day(2024, 3, 18);
    change.start = MakeLocalTime(2024, 3, 20, 0, 0);
    change.end = MakeLocalTime(2024, 3, 20, 1, 0);
    change.itemEntryId = "EX1";
    moved.exceptions.push_back(change);
    RecurrencePattern allDay = Make(RecurrenceType::Daily, 1, Day(2024, 2, 26));
    allDay.startMinute = 0;
    allDay.durationMinutes = 24 * 60;
    RecurrencePattern midnight =
        Make(RecurrenceType::MonthNth, 1, Day(2024, 1, 1), kFriday, 0, 0, 5);
    midnight.startMinute = 0;
    midnight.durationMinutes = 60;
    RecurrencePattern lastMinute = EndByCount(Make(RecurrenceType::Daily, 2, Day(2024, 3, 1)), 5);
    lastMinute.startMinute = 23 * 60 + 59;
    lastMinute.durationMinutes = 0;
    const struct
    {
        const char* name;
        RecurrencePattern pattern;
        LocalTime start;       ///< the occurrence's start
        std::int32_t previous; ///< the original day of the occurrence before it; 0 none
        std::int32_t next;     ///< the original day of the occurrence after it; 0 none
    } cases[] = {
        {"all-day on its first day", allDay, MakeLocalTime(2024, 2, 26), 0, Day(2024, 2, 27)},
        {"all-day later", allDay, MakeLocalTime(2024, 3, 31), Day(2024, 3, 30), Day(2024, 4, 1)},
        {"midnight on the last Friday", midnight, MakeLocalTime(2024, 3, 29), Day(2024, 2, 23),
         Day(2024, 4, 26)},
        {"last minute, last of the count", lastMinute, MakeLocalTime(2024, 3, 9, 23, 59),
         Day(2024, 3, 7), 0},
        {"moved to a midnight", moved, change.start, Day(2024, 3, 11), Day(2024, 3, 25)},
    };
    const auto days = [](const std::vector<Occurrence>& occurrences) {
        std::vector<std::int32_t> out;
        for (const auto& o : occurrences)
            out.push_back(o.originalDay);
        return out;
    };
    const auto second = [](LocalTime t, int delta) { return LocalTime{t.seconds + delta}; };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto& p = c.pattern;
        ASSERT_NO_THROW(p.Validate());
        const auto onStart = p.OccurrencesBetween(c.start, c.start);
        ASSERT_EQ(onStart.size(), 1u);
        EXPECT_EQ(onStart[0].start, c.start);
        const std::int32_t self = onStart[0].originalDay;
        EXPECT_TRUE(p.OccurrencesBetween(second(c.start, 1), second(c.start, 1)).empty());
        EXPECT_TRUE(p.OccurrencesBetween(second(c.start, -1), second(c.start, -1)).empty());

        const LocalTime longBefore = StartOfDay(Day(2023, 1, 1));
        const LocalTime longAfter = StartOfDay(Day(2025, 1, 1));
        auto upTo = days(p.OccurrencesBetween(longBefore, c.start));
        ASSERT_FALSE(upTo.empty());
        EXPECT_EQ(upTo.back(), self);
        upTo = days(p.OccurrencesBetween(longBefore, second(c.start, -1)));
        if (c.previous == 0) {
            EXPECT_TRUE(upTo.empty());
        } else {
            ASSERT_FALSE(upTo.empty());
            EXPECT_EQ(upTo.back(), c.previous);
        }

        auto from = days(p.OccurrencesBetween(c.start, longAfter));
        ASSERT_FALSE(from.empty());
        EXPECT_EQ(from.front(), self);
        from = days(p.OccurrencesBetween(second(c.start, 1), longAfter));
        if (c.next == 0) {
            EXPECT_TRUE(from.empty());
        } else {
            ASSERT_FALSE(from.empty());
            EXPECT_EQ(from.front(), c.next);
        }
    }
}

TEST_F(RecurrencePatternTest, WeeklyCountEndsOnTheEdgeOfTheFirstWeek)
{
    // Weeks run Sunday to Saturday (12 May 2024 is a Sunday). Each count equals, or passes by
    // one, the selected days of the first week from the first occurrence on. A fault here can
    // also search for ever: the test runner's time-out guards this test.
    const struct
    {
        const char* name;
        int interval;
        int mask;
        std::int32_t first;
        int count;
        std::int32_t last;
    } cases[] = {
        {"Wednesday, one", 1, kWednesday, Day(2024, 5, 15), 1, Day(2024, 5, 15)},
        {"Wednesday every 2 weeks, two", 2, kWednesday, Day(2024, 5, 15), 2, Day(2024, 5, 29)},
        {"Saturday every 2 weeks, one", 2, kSaturday, Day(2024, 5, 18), 1, Day(2024, 5, 18)},
        {"Mon Wed Fri from a Wednesday, two", 1, kMonday | kWednesday | kFriday, Day(2024, 5, 15),
         2, Day(2024, 5, 17)},
        {"Mon Wed Fri from a Wednesday, three", 1, kMonday | kWednesday | kFriday, Day(2024, 5, 15),
         3, Day(2024, 5, 20)},
        {"Mon Wed Fri every 2 weeks, three", 2, kMonday | kWednesday | kFriday, Day(2024, 5, 15), 3,
         Day(2024, 5, 27)},
        {"Mon Wed Sat from a Monday, three", 1, kMonday | kWednesday | kSaturday, Day(2024, 5, 13),
         3, Day(2024, 5, 18)},
        {"Mon Wed Sat every 3 weeks, four", 3, kMonday | kWednesday | kSaturday, Day(2024, 5, 13),
         4, Day(2024, 6, 3)},
        {"Sun Tue from a Sunday, two", 1, kSunday | kTuesday, Day(2024, 5, 12), 2,
         Day(2024, 5, 14)},
        {"Sun Tue from a Sunday, three", 1, kSunday | kTuesday, Day(2024, 5, 12), 3,
         Day(2024, 5, 19)},
        {"Sat Sun from a Saturday, one", 1, kSaturday | kSunday, Day(2024, 5, 18), 1,
         Day(2024, 5, 18)},
        {"Sat Sun every 3 weeks from a Saturday, two", 3, kSaturday | kSunday, Day(2024, 5, 18), 2,
         Day(2024, 6, 2)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto p =
            EndByCount(Make(RecurrenceType::Weekly, c.interval, c.first, c.mask), c.count);
        ASSERT_NO_THROW(p.Validate());
        EXPECT_EQ(p.LastDay(), std::optional<std::int32_t>(c.last));
        EXPECT_EQ(p.PatternEndDate(), StartOfDay(c.last));
        const auto all = p.OccurrencesBetween(StartOfDay(c.first - 40), StartOfDay(c.first + 400));
        ASSERT_EQ(all.size(), std::size_t(c.count));
        EXPECT_EQ(all.front().originalDay, c.first);
        EXPECT_EQ(all.back().originalDay, c.last);
        EXPECT_FALSE(p.FirstOnOrAfter(c.last + 1));
    }
}

TEST_F(RecurrencePatternTest, OldSeriesAnswerFarDatesWithoutWalking)
{
    const auto daily = Make(RecurrenceType::Daily, 7, Day(1990, 1, 1));
    const auto weekly = Make(RecurrenceType::Weekly, 5, Day(1990, 1, 1), kTuesday);
    const auto monthly = Make(RecurrenceType::MonthNth, 7, Day(1990, 1, 1), kFriday, 0, 0, 5);
    for (const auto* p : {&daily, &weekly, &monthly}) {
        const auto d = p->FirstOnOrAfter(Day(2400, 6, 1));
        ASSERT_TRUE(d);
        EXPECT_TRUE(ByDefinition(*p, *d));
        EXPECT_LT(*d - Day(2400, 6, 1), 7 * 31 * 2);
    }
}

TEST_F(RecurrencePatternTest, ValidateNamesTheBrokenField)
{
    using T = RecurrenceType;
    struct Bad
    {
        const char* field;
        RecurrencePattern p;
    };
    auto withException = Make(T::Weekly, 1, Day(2024, 3, 4), kMonday);
    withException.exceptions.push_back({Day(2024, 3, 5), true, {}, {}, {}});
    auto twice = Make(T::Daily, 1, Day(2024, 3, 4));
    twice.exceptions.push_back({Day(2024, 3, 5), true, {}, {}, {}});
    twice.exceptions.push_back({Day(2024, 3, 5), true, {}, {}, {}});
    const std::vector<Bad> cases = {
        {"Interval", Make(T::Daily, 0, Day(2024, 1, 1))},
        {"Interval", Make(T::Yearly, 13, Day(2024, 1, 1), 0, 1, 1)},
        {"DayOfWeekMask", Make(T::Weekly, 1, Day(2024, 1, 1), 0)},
        {"DayOfWeekMask", Make(T::MonthNth, 1, Day(2024, 1, 1), 0, 0, 0, 1)},
        {"DayOfMonth", Make(T::Monthly, 1, Day(2024, 1, 1), 0, 32)},
        {"MonthOfYear", Make(T::Yearly, 12, Day(2024, 1, 1), 0, 1, 13)},
        {"Instance", Make(T::MonthNth, 1, Day(2024, 1, 1), kMonday, 0, 0, 6)},
        {"PatternEndDate", EndByDate(Make(T::Daily, 1, Day(2024, 1, 2)), Day(2024, 1, 1))},
        {"Occurrences", EndByCount(Make(T::Daily, 1, Day(2024, 1, 2)), 0)},
        {"Occurrences", EndByCount(Make(T::Weekly, 999, Day(2024, 1, 2), kMonday), 2000000000)},
        {"Interval", Make(T::Monthly, 1000, Day(2024, 1, 1), 0, 1)},
        {"PatternStartDate", Make(T::Daily, 1, Day(1600, 12, 31))},
        {"PatternEndDate", EndByDate(Make(T::Daily, 1, Day(2024, 1, 2)), Day(4501, 1, 1))},
        {"without occurrence", withException},
        {"second exception", twice},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field);
        try {
            c.p.Validate();
            ADD_FAILURE() << "accepted";
        } catch (const StoreError& e) {
            EXPECT_EQ(e.Kind(), StoreErrorKind::InvalidArgument);
            EXPECT_NE(std::string(e.what()).find(c.field), std::string::npos) << e.what();
        }
    }
    // An unusable pattern has no occurrences rather than an endless search or an overflow.
    EXPECT_FALSE(Make(T::Weekly, 1, Day(2024, 1, 1), 0).FirstOnOrAfter(Day(2024, 1, 1)));
    const auto huge = EndByCount(Make(T::Weekly, 999, Day(2024, 1, 2), kMonday), 2000000000);
    EXPECT_FALSE(huge.FirstOnOrAfter(Day(2024, 1, 1)));
    EXPECT_FALSE(huge.LastDay());
    // A series without end stops with the client's calendar.
    const auto daily = Make(T::Daily, 1, Day(2024, 1, 1));
    EXPECT_EQ(daily.FirstOnOrAfter(Day(4500, 12, 31)),
              std::optional<std::int32_t>(Day(4500, 12, 31)));
    EXPECT_FALSE(daily.FirstOnOrAfter(Day(4500, 12, 31) + 1));
    EXPECT_FALSE(daily.FirstOnOrAfter(std::numeric_limits<std::int32_t>::max()));
}

TEST_F(RecurrencePatternTest, LocalTimeCrossesDaylightSavingChanges)
{
    // Berlin: 31 March 2024 02:00 CET became 03:00 CEST; 27 October 03:00 CEST became 02:00.
    const auto winter = LocalToUtc(MakeLocalTime(2024, 3, 30, 9, 30));
    const auto summer = LocalToUtc(MakeLocalTime(2024, 3, 31, 9, 30));
    EXPECT_EQ(summer.seconds - winter.seconds, 23 * 3600);
    const auto autumn = LocalToUtc(MakeLocalTime(2024, 10, 27, 9, 30));
    EXPECT_EQ(autumn.seconds - LocalToUtc(MakeLocalTime(2024, 10, 26, 9, 30)).seconds, 25 * 3600);
    // The repeated hour gives the earlier instant (still summer time), whatever was asked
    // before; the skipped hour moves forward by the gap.
    const auto repeated = MakeLocalTime(2024, 10, 27, 2, 30);
    const auto utcOf = [](int y, unsigned m, unsigned d, int h, int mi) {
        return ch::sys_seconds{ch::sys_days{ch::year{y} / m / d} + ch::hours{h} + ch::minutes{mi}}
            .time_since_epoch()
            .count();
    };
    EXPECT_EQ(LocalToUtc(repeated).seconds, utcOf(2024, 10, 27, 0, 30));
    LocalToUtc(MakeLocalTime(2024, 12, 1, 2, 30));
    EXPECT_EQ(LocalToUtc(repeated).seconds, utcOf(2024, 10, 27, 0, 30));
    EXPECT_EQ(LocalToUtc(MakeLocalTime(2024, 3, 31, 2, 30)).seconds, utcOf(2024, 3, 31, 1, 30));
    EXPECT_EQ(UtcToLocal(LocalToUtc(MakeLocalTime(2024, 3, 31, 2, 30))),
              MakeLocalTime(2024, 3, 31, 3, 30));
    const auto t = MakeLocalTime(2024, 7, 1, 12, 0);
    EXPECT_EQ(UtcToLocal(LocalToUtc(t)), t);
    EXPECT_EQ(LocalToUtc(t).seconds,
              ch::sys_seconds{ch::sys_days{ch::year{2024} / 7 / 1} + ch::hours{10}}
                  .time_since_epoch()
                  .count());
    EXPECT_DOUBLE_EQ(ToDaySerial(MakeLocalTime(1899, 12, 30, 12)), 0.5);
    EXPECT_EQ(FromDaySerial(ToDaySerial(t)), t);
    EXPECT_THROW(MakeLocalTime(2023, 2, 29), StoreError);
}

TEST_F(RecurrencePatternTest, TimesNoDateHoldsAreRefusedInTheRunsLanguage)
{
    // The last day a day number holds is fine; a time past it is refused, in either direction.
    const std::int64_t last = std::int64_t{std::numeric_limits<std::int32_t>::max() - 2} * 86400;
    EXPECT_NO_THROW(UtcToLocal(SysTime{last}));
    EXPECT_NO_THROW(LocalToUtc(LocalTime{-last}));
    const struct
    {
        const char* locale;
        const char* utcWords;
        const char* localWords;
    } cases[] = {
        {"de-DE", "die UTC-Zeit 9223372036854775807 Sekunden nach 1970 liegt außerhalb",
         "die Ortszeit -9223372036854775807 Sekunden nach 1970 liegt außerhalb"},
        {"en-US", "the UTC time 9223372036854775807 seconds after 1970 lies outside",
         "the local time -9223372036854775807 seconds after 1970 lies outside"},
    };
    const std::string before = locale::Current().name;
    const auto message = [](const auto& convert) {
        try {
            convert();
        } catch (const StoreError& e) {
            EXPECT_EQ(e.Kind(), StoreErrorKind::InvalidArgument);
            return std::string(e.what());
        }
        return std::string("no error");
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.locale);
        locale::SetCurrent(c.locale);
        EXPECT_THAT(message([] { UtcToLocal(SysTime{std::numeric_limits<std::int64_t>::max()}); }),
                    ::testing::HasSubstr(c.utcWords));
        EXPECT_THAT(
            message([] { LocalToUtc(LocalTime{-std::numeric_limits<std::int64_t>::max()}); }),
            ::testing::HasSubstr(c.localWords));
        EXPECT_THROW(UtcToLocal(SysTime{last + 2 * 86400}), StoreError);
    }
    locale::SetCurrent(before);
}

} // namespace
} // namespace platform::store::test
