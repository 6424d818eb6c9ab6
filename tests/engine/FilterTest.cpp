#include "EngineFixture.h"

#include "engine/Filter.h"

#include "platform/runtime/Date.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace engine::test {

namespace {

struct PresetCase
{
    const char* name;
    int today[3];
    long firstDayOfWeek; // 0 Sunday, 1 Monday
    trTimeFilter preset;
    int from[3]; // {0,0,0}: the zero date
    int to[3];
};

std::ostream& operator<<(std::ostream& os, const PresetCase& c)
{
    return os << c.name;
}

rt::Date DayOrZero(const int ymd[3])
{
    return ymd[0] == 0 ? rt::Date() : rt::DateSerial(ymd[0], ymd[1], ymd[2]);
}

class FilterPresetTest : public EngineFixture, public ::testing::WithParamInterface<PresetCase>
{
};

} // namespace

TEST_P(FilterPresetTest, WindowOfPresetForPinnedToday)
{
    const PresetCase& c = GetParam();
    PinToday(c.today[0], c.today[1], c.today[2]);
    SetFirstDayOfWeek(c.firstDayOfWeek);
    Filter oFilter;
    oFilter.SetTimeCondition(trStartDate, c.preset);

    EXPECT_EQ(oFilter.RestrictTime(), c.preset);
    EXPECT_EQ(oFilter.FilterOnField(), trStartDate);
    const rt::Date from = DayOrZero(c.from);
    const rt::Date to = DayOrZero(c.to);
    EXPECT_EQ(oFilter.FromDate(), c.from[0] == 0 ? from : At(c.from[0], c.from[1], c.from[2]));
    EXPECT_EQ(oFilter.ToDate(), c.to[0] == 0 ? to : At(c.to[0], c.to[1], c.to[2], 23, 59, 59));
}

// Expected windows are worked out by hand from a calendar.
INSTANTIATE_TEST_SUITE_P(
    Presets, FilterPresetTest,
    ::testing::Values(
        PresetCase{
            "ThisWeekMonday", {2024, 5, 15}, 1, trTimeThisWeek, {2024, 5, 13}, {2024, 5, 19}},
        PresetCase{"LastWeekMonday", {2024, 5, 15}, 1, trTimeLastWeek, {2024, 5, 6}, {2024, 5, 12}},
        PresetCase{
            "NextWeekMonday", {2024, 5, 15}, 1, trTimeNextWeek, {2024, 5, 20}, {2024, 5, 26}},
        PresetCase{
            "ThisWeekSunday", {2024, 5, 15}, 0, trTimeThisWeek, {2024, 5, 12}, {2024, 5, 18}},
        PresetCase{"LastWeekSunday", {2024, 5, 15}, 0, trTimeLastWeek, {2024, 5, 5}, {2024, 5, 11}},
        PresetCase{
            "NextWeekSunday", {2024, 5, 15}, 0, trTimeNextWeek, {2024, 5, 19}, {2024, 5, 25}},
        PresetCase{
            "ThisWeekOnSunday", {2024, 5, 19}, 0, trTimeThisWeek, {2024, 5, 19}, {2024, 5, 25}},
        PresetCase{"ThisWeekSundayMondayStart",
                   {2024, 5, 19},
                   1,
                   trTimeThisWeek,
                   {2024, 5, 13},
                   {2024, 5, 19}},
        PresetCase{
            "ThisWeekAcrossYear", {2024, 12, 31}, 1, trTimeThisWeek, {2024, 12, 30}, {2025, 1, 5}},
        PresetCase{
            "LastWeekAcrossYear", {2025, 1, 2}, 0, trTimeLastWeek, {2024, 12, 22}, {2024, 12, 28}},
        PresetCase{"LastMonthLeap", {2024, 3, 31}, 1, trTimeLastMonth, {2024, 2, 1}, {2024, 2, 29}},
        PresetCase{
            "LastMonthNonLeap", {2023, 3, 31}, 1, trTimeLastMonth, {2023, 2, 1}, {2023, 2, 28}},
        PresetCase{
            "NextMonthFromMarch31", {2024, 3, 31}, 1, trTimeNextMonth, {2024, 4, 1}, {2024, 4, 30}},
        PresetCase{
            "ThisMonthFebLeap", {2024, 2, 29}, 1, trTimeThisMonth, {2024, 2, 1}, {2024, 2, 29}},
        PresetCase{
            "ThisMonthFebCentury", {2100, 2, 10}, 1, trTimeThisMonth, {2100, 2, 1}, {2100, 2, 28}},
        PresetCase{"ThisMonth2000", {2000, 2, 10}, 1, trTimeThisMonth, {2000, 2, 1}, {2000, 2, 29}},
        PresetCase{
            "NextMonthAcrossYear", {2024, 12, 31}, 1, trTimeNextMonth, {2025, 1, 1}, {2025, 1, 31}},
        PresetCase{"LastMonthAcrossYear",
                   {2024, 1, 31},
                   1,
                   trTimeLastMonth,
                   {2023, 12, 1},
                   {2023, 12, 31}},
        PresetCase{"LastSevenDaysNewYear",
                   {2024, 1, 1},
                   1,
                   trTimeLastSevenDays,
                   {2023, 12, 25},
                   {2023, 12, 31}},
        PresetCase{"NextSevenDaysLeap",
                   {2024, 2, 25},
                   1,
                   trTimeNextSevenDays,
                   {2024, 2, 26},
                   {2024, 3, 3}},
        PresetCase{
            "YesterdayNewYear", {2024, 1, 1}, 1, trTimeYesterday, {2023, 12, 31}, {2023, 12, 31}},
        PresetCase{"TodayLeapDay", {2024, 2, 29}, 1, trTimeToday, {2024, 2, 29}, {2024, 2, 29}},
        PresetCase{
            "TomorrowLeapDay", {2024, 2, 28}, 1, trTimeTomorrow, {2024, 2, 29}, {2024, 2, 29}},
        PresetCase{
            "TomorrowYearEnd", {2023, 12, 31}, 1, trTimeTomorrow, {2024, 1, 1}, {2024, 1, 1}},
        PresetCase{"LastYear", {2024, 1, 1}, 1, trTimeLastYear, {2023, 1, 1}, {2023, 12, 31}},
        PresetCase{"ThisYearLeap", {2024, 2, 29}, 1, trTimeThisYear, {2024, 1, 1}, {2024, 12, 31}},
        PresetCase{
            "NextYearFromLeapDay", {2024, 2, 29}, 1, trTimeNextYear, {2025, 1, 1}, {2025, 12, 31}},
        PresetCase{"FromToday", {2024, 5, 15}, 1, trTimeFromToday, {2024, 5, 15}, {0, 0, 0}},
        PresetCase{"ToToday", {2024, 5, 15}, 1, trTimeToToday, {0, 0, 0}, {2024, 5, 15}}),
    [](const ::testing::TestParamInfo<PresetCase>& info) { return std::string(info.param.name); });

TEST_F(EngineFixture, UnknownFirstDayOfWeekUsesTheLocale)
{
    SetFirstDayOfWeek(-1);
    struct
    {
        const char* locale;
        int firstDay;
    } cases[] = {{"de-DE", 13}, {"en-US", 12}};
    for (const auto& c : cases) {
        platform::locale::SetCurrent(c.locale);
        Filter oFilter;
        oFilter.SetTimeCondition(trStartDate, trTimeThisWeek);
        EXPECT_EQ(oFilter.FromDate(), At(2024, 5, c.firstDay)) << c.locale;
        EXPECT_EQ(oFilter.ToDate(), At(2024, 5, c.firstDay + 6, 23, 59, 59)) << c.locale;
    }
}

TEST_F(EngineFixture, ExplicitDatesBecomeWholeDays)
{
    Filter oFilter;
    oFilter.SetTimeCondition(trEndDate, trTimeBetween, rt::Variant(At(2024, 6, 10, 14, 30)),
                             rt::Variant(At(2024, 6, 12, 8, 0)));
    EXPECT_EQ(oFilter.FromDate(), At(2024, 6, 10));
    EXPECT_EQ(oFilter.ToDate(), At(2024, 6, 12, 23, 59, 59));
    EXPECT_EQ(oFilter.FilterOnField(), trEndDate);

    // A missing from-date keeps the previous one; the open end becomes zero.
    oFilter.SetTimeCondition(trStartDate, trTimeFromDate);
    EXPECT_EQ(oFilter.FromDate(), At(2024, 6, 10));
    EXPECT_EQ(oFilter.ToDate(), rt::Date());

    oFilter.SetTimeCondition(trStartDate, trTimeToDate, {}, rt::Variant(At(2024, 7, 1, 9)));
    EXPECT_EQ(oFilter.FromDate(), rt::Date());
    EXPECT_EQ(oFilter.ToDate(), At(2024, 7, 1, 23, 59, 59));
}

TEST_F(EngineFixture, DateTextsAndDaySerialsAreDates)
{
    Filter oFilter;
    oFilter.SetTimeCondition(trStartDate, trTimeBetween, rt::Variant("10.06.2024 14:30"),
                             rt::Variant(At(2024, 6, 12).Serial() + 0.25));
    EXPECT_EQ(oFilter.FromDate(), At(2024, 6, 10));
    EXPECT_EQ(oFilter.ToDate(), At(2024, 6, 12, 23, 59, 59));
}

TEST_F(EngineFixture, TimeNoneKeepsTheWindowAsWholeDays)
{
    Filter oFilter;
    oFilter.SetTimeCondition(trStartDate, trTimeBetween, rt::Variant(At(2024, 6, 10, 14, 30)),
                             rt::Variant(At(2024, 6, 12, 8, 0)));
    oFilter.SetTimeCondition(trEndDate, trTimeNone, rt::Variant(At(2020, 1, 1)));
    EXPECT_EQ(oFilter.RestrictTime(), trTimeNone);
    EXPECT_EQ(oFilter.FromDate(), At(2024, 6, 10));
    EXPECT_EQ(oFilter.ToDate(), At(2024, 6, 12, 23, 59, 59));
}

TEST_F(EngineFixture, DayBoundsKeepTheCenturyWithTwoDigitYearFormats)
{
    // The American short date writes two-digit years; 2030 must not become 1930.
    platform::locale::SetCurrent("en-US");
    Filter oFilter;
    oFilter.SetTimeCondition(trStartDate, trTimeBetween, rt::Variant(At(2030, 1, 15, 12)),
                             rt::Variant(At(2031, 3, 2, 1)));
    EXPECT_EQ(oFilter.FromDate(), At(2030, 1, 15));
    EXPECT_EQ(oFilter.ToDate(), At(2031, 3, 2, 23, 59, 59));
}

TEST_F(EngineFixture, NonDateArgumentsKeepThePreviousBounds)
{
    Filter oFilter;
    oFilter.SetTimeCondition(trStartDate, trTimeBetween, rt::Variant(At(2024, 6, 10)),
                             rt::Variant(At(2024, 6, 12)));
    oFilter.SetTimeCondition(trStartDate, trTimeBetween, rt::Variant("kein Datum"),
                             rt::Variant(rt::Null{}));
    EXPECT_EQ(oFilter.FromDate(), At(2024, 6, 10));
    EXPECT_EQ(oFilter.ToDate(), At(2024, 6, 12, 23, 59, 59));
}

TEST_F(EngineFixture, TaskStatusConditionStoresOnlyEqualityTests)
{
    struct
    {
        long compare;
        long status;
        trCompareValue storedCompare;
        trTaskStatus storedStatus;
    } cases[] = {{trContains, trTaskComplete, trnone, trTaskUnknown},
                 {trEquals, trTaskComplete, trEquals, trTaskComplete},
                 {trEqualsNot, trTaskWaiting, trEqualsNot, trTaskWaiting},
                 {trnone, trTaskDeferred, trnone, trTaskUnknown},
                 {-3, trTaskInProgress, trnone, trTaskUnknown}};
    for (const auto& c : cases) {
        Filter oFilter;
        oFilter.SetTaskStatusCondition(c.compare, c.status);
        EXPECT_EQ(oFilter.TaskStatusCompare(), c.storedCompare) << c.compare;
        EXPECT_EQ(oFilter.TaskStatus(), c.storedStatus) << c.compare;
    }
}

TEST_F(EngineFixture, NewFilterHasNoConditions)
{
    Filter oFilter;
    EXPECT_EQ(oFilter.CategoryCompare(), trnone);
    EXPECT_EQ(oFilter.CategoryCount(), 0);
    EXPECT_EQ(oFilter.CategoryString(), "");
    EXPECT_EQ(oFilter.RestrictTime(), trTimeNone);
    EXPECT_EQ(oFilter.FilterOnField(), 0);
    EXPECT_EQ(oFilter.FromDate(), rt::Date());
    EXPECT_EQ(oFilter.TaskStatusCompare(), trnone);
    EXPECT_EQ(oFilter.Parent(), nullptr);
    EXPECT_EQ(oFilter.Key(), "");
}

TEST_F(EngineFixture, ListConditionsKeepTheirListWhenSwitchedOff)
{
    using Setter = void (Filter::*)(trCompareValue, const std::vector<std::string>&, bool);
    struct
    {
        const char* name;
        Setter set;
        trCompareValue (Filter::*compare)() const;
        std::string (Filter::*joined)() const;
        long (Filter::*count)() const;
        bool (Filter::*all)() const;
    } kinds[] = {
        {"category", &Filter::SetCategoryCondition, &Filter::CategoryCompare,
         &Filter::CategoryString, &Filter::CategoryCount, &Filter::CategoryAND},
        {"company", &Filter::SetCompanyCondition, &Filter::CompanyCompare, &Filter::CompanyString,
         &Filter::CompanyCount, &Filter::CompanyAND},
        {"contact", &Filter::SetContactCondition, &Filter::ContactCompare, &Filter::ContactString,
         &Filter::ContactCount, &Filter::ContactAND},
    };
    for (const auto& k : kinds) {
        Filter oFilter;
        (oFilter.*k.set)(trContains, {"Büro", "Privat"}, true);
        EXPECT_EQ((oFilter.*k.compare)(), trContains) << k.name;
        EXPECT_EQ((oFilter.*k.joined)(), "Büro;Privat") << k.name;
        EXPECT_EQ((oFilter.*k.count)(), 2) << k.name;
        EXPECT_TRUE((oFilter.*k.all)()) << k.name;
        (oFilter.*k.set)(trnone, {"Andere"}, false);
        EXPECT_EQ((oFilter.*k.compare)(), trnone) << k.name;
        EXPECT_EQ((oFilter.*k.joined)(), "Büro;Privat") << k.name;
        EXPECT_TRUE((oFilter.*k.all)()) << k.name;
    }
}

TEST_F(EngineFixture, TextConditionsKeepTheirTextWhenSwitchedOff)
{
    Filter oFilter;
    oFilter.SetSubjectCondition(trEqualsNot, "Jour fixe");
    oFilter.SetLocationCondition(trContains, "Köln");
    oFilter.SetSubjectCondition(trnone, "anders");
    oFilter.SetLocationCondition(trnone, "anders");
    EXPECT_EQ(oFilter.SubjectCompare(), trnone);
    EXPECT_EQ(oFilter.Subject(), "Jour fixe");
    EXPECT_EQ(oFilter.LocationCompare(), trnone);
    EXPECT_EQ(oFilter.Location(), "Köln");
}

TEST_F(EngineFixture, ApplyWithoutAnEngineRootRaises91)
{
    auto oFilter = std::make_shared<Filter>();
    EXPECT_EQ(RaisedNumber([&] { oFilter->Apply(); }), 91);
}

} // namespace engine::test
