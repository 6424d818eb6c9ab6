#include "platform/runtime/Date.h"

#include "RuntimeFixture.h"

#include <gtest/gtest.h>

namespace rt = platform::runtime;

namespace {

class DateArithmeticTest : public RuntimeFixture
{
};

rt::Date At(int y, int m, int d, int h = 0, int n = 0, int s = 0)
{
    return rt::Date::FromLinear(rt::DateSerial(y, m, d).Serial() +
                                rt::TimeSerial(h, n, s).Serial());
}

constexpr auto Sun = rt::DayOfWeek::Sunday;
constexpr auto Mon = rt::DayOfWeek::Monday;

} // namespace

TEST_F(DateArithmeticTest, DateAddClampsMonthEndsAndKnowsLeapYears)
{
    const struct
    {
        const char* interval;
        double number;
        rt::Date from;
        rt::Date expected;
    } cases[] = {
        {"m", 1, At(2023, 1, 31), At(2023, 2, 28)},
        {"m", 1, At(2024, 1, 31), At(2024, 2, 29)},
        {"m", 1, At(1900, 1, 31), At(1900, 2, 28)},
        {"m", 1, At(2000, 1, 31), At(2000, 2, 29)},
        {"m", 1, At(2100, 1, 31), At(2100, 2, 28)},
        {"m", -1, At(2023, 3, 31), At(2023, 2, 28)},
        {"m", 13, At(2023, 12, 15), At(2025, 1, 15)},
        {"M", 1, At(2024, 1, 31, 12, 30), At(2024, 2, 29, 12, 30)},
        {"yyyy", 1, At(2024, 2, 29), At(2025, 2, 28)},
        {"yyyy", 4, At(2024, 2, 29), At(2028, 2, 29)},
        {"yyyy", 100, At(2000, 2, 29), At(2100, 2, 28)},
        {"q", 1, At(2023, 11, 30), At(2024, 2, 29)},
        {"d", 1, At(2024, 2, 28), At(2024, 2, 29)},
        {"d", 1, At(2100, 2, 28), At(2100, 3, 1)},
        {"d", 1, At(1900, 2, 28), At(1900, 3, 1)},
        {"d", 1.9, At(2024, 1, 1), At(2024, 1, 2)},
        {"y", 366, At(2024, 1, 1), At(2025, 1, 1)},
        {"w", 1, At(2023, 12, 31), At(2024, 1, 1)},
        {"ww", 2, At(2024, 2, 20), At(2024, 3, 5)},
        {"h", 25, At(2024, 2, 28), At(2024, 2, 29, 1)},
        {"n", -1, At(2024, 3, 1), At(2024, 2, 29, 23, 59)},
        {"s", 86400, At(2024, 2, 29, 8), At(2024, 3, 1, 8)},
        {"h", 1, rt::Date(-1.25), At(1899, 12, 29, 7)},
        {"d", -1, At(1899, 12, 30, 6), At(1899, 12, 29, 6)},
    };
    for (const auto& c : cases) {
        const rt::Date result = rt::DateAdd(c.interval, c.number, c.from);
        EXPECT_NEAR(result.Linear(), c.expected.Linear(), 1e-9)
            << c.interval << " " << c.number << " from " << c.from.Serial();
    }
}

TEST_F(DateArithmeticTest, DateAddRejectsUnknownIntervalsAndLeavingTheRange)
{
    EXPECT_EQ(RaisedNumber([] { return rt::DateAdd("x", 1, At(2024, 1, 1)); }), 5);
    EXPECT_EQ(RaisedNumber([] { return rt::DateAdd("yyyy", 1, At(9999, 12, 31)); }), 5);
    EXPECT_EQ(RaisedNumber([] { return rt::DateAdd("d", -1, At(100, 1, 1)); }), 5);
}

TEST_F(DateArithmeticTest, DateDiffCountsBoundaries)
{
    const struct
    {
        const char* interval;
        rt::Date from;
        rt::Date to;
        rt::DayOfWeek firstDay;
        std::int64_t expected;
    } cases[] = {
        {"d", At(2024, 2, 28, 23), At(2024, 3, 1, 1), Sun, 2},
        {"d", At(2024, 3, 1), At(2024, 2, 28), Sun, -2},
        {"y", At(2100, 2, 28), At(2100, 3, 1), Sun, 1},
        {"m", At(2023, 12, 31), At(2024, 1, 1), Sun, 1},
        {"m", At(2024, 1, 1), At(2023, 12, 31), Sun, -1},
        {"yyyy", At(2023, 12, 31), At(2024, 1, 1), Sun, 1},
        {"q", At(2023, 3, 31), At(2023, 4, 1), Sun, 1},
        {"h", At(2024, 1, 1, 1, 59), At(2024, 1, 1, 2, 1), Sun, 1},
        {"n", At(2024, 1, 1, 10, 0, 59), At(2024, 1, 1, 10, 1, 0), Sun, 1},
        {"s", At(2024, 1, 1), At(2024, 1, 2), Sun, 86400},
        {"s", rt::Date(-1.25), rt::Date(-1.75), Sun, 43200},
        // "w": whole seven-day spans, regardless of the first day of week.
        {"w", At(2024, 1, 1), At(2024, 1, 14), Sun, 1},
        {"w", At(2024, 1, 1), At(2024, 1, 15), Mon, 2},
        {"w", At(2024, 1, 14), At(2024, 1, 1), Sun, -1},
        // "ww": first days of week after date1 up to and including date2.
        {"ww", At(2024, 1, 6), At(2024, 1, 7), Sun, 1},
        {"ww", At(2024, 1, 6), At(2024, 1, 7), Mon, 0},
        {"ww", At(2024, 1, 7), At(2024, 1, 8), Sun, 0},
        {"ww", At(2024, 1, 7), At(2024, 1, 8), Mon, 1},
        {"ww", At(2024, 1, 7), At(2024, 1, 14), Sun, 1},
        {"ww", At(2023, 12, 31), At(2024, 1, 7), Mon, 1},
        {"ww", At(2024, 1, 8), At(2024, 1, 1), Mon, -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(rt::DateDiff(c.interval, c.from, c.to, c.firstDay), c.expected)
            << c.interval << " " << c.from.Serial() << " -> " << c.to.Serial();
    }
}

TEST_F(DateArithmeticTest, DatePartWeeksFollowFirstDayAndFirstWeek)
{
    using W = rt::FirstWeekOfYear;
    const struct
    {
        rt::Date date;
        rt::DayOfWeek firstDay;
        W firstWeek;
        int expected;
    } cases[] = {
        {At(2024, 1, 1), Sun, W::Jan1, 1},
        {At(2023, 12, 31), Sun, W::Jan1, 53},
        {At(2023, 12, 31), Mon, W::Jan1, 53},
        {At(2024, 1, 7), Sun, W::Jan1, 2},
        {At(2024, 1, 7), Mon, W::Jan1, 1},
        {At(2021, 1, 1), Mon, W::FirstFourDays, 53},
        {At(2020, 12, 31), Mon, W::FirstFourDays, 53},
        {At(2024, 12, 30), Mon, W::FirstFourDays, 1},
        {At(2026, 1, 1), Mon, W::FirstFourDays, 1},
        {At(2027, 1, 1), Mon, W::FirstFourDays, 53},
        {At(2024, 1, 1), Mon, W::FirstFullWeek, 1},
        {At(2023, 1, 1), Mon, W::FirstFullWeek, 52},
        {At(2023, 1, 2), Mon, W::FirstFullWeek, 1},
        {At(2021, 1, 1), rt::DayOfWeek::System, W::System, 53}, // de-DE: ISO weeks
    };
    for (const auto& c : cases) {
        EXPECT_EQ(rt::DatePart("ww", c.date, c.firstDay, c.firstWeek), c.expected)
            << c.date.Serial() << " first day " << static_cast<int>(c.firstDay);
    }
    platform::locale::SetCurrent("en-US");
    EXPECT_EQ(rt::DatePart("ww", At(2021, 1, 1), rt::DayOfWeek::System, W::System), 1);
}

TEST_F(DateArithmeticTest, DatePartFields)
{
    const rt::Date d = At(2024, 11, 30, 17, 5, 9);
    const struct
    {
        const char* interval;
        int expected;
    } cases[] = {
        {"yyyy", 2024}, {"q", 4},  {"m", 11}, {"y", 335}, {"d", 30},
        {"w", 7},       {"h", 17}, {"n", 5},  {"s", 9},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(rt::DatePart(c.interval, d), c.expected) << c.interval;
    }
    EXPECT_EQ(rt::DatePart("y", At(2024, 12, 31)), 366);
    EXPECT_EQ(rt::DatePart("y", At(1900, 12, 31)), 365);
    EXPECT_EQ(rt::DatePart("y", At(2100, 3, 1)), 60);
    EXPECT_EQ(rt::DatePart("w", d, Mon), 6);
    EXPECT_EQ(RaisedNumber([&] { return rt::DatePart("z", d); }), 5);
}
