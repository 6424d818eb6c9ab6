#include "platform/runtime/Date.h"

#include "RuntimeFixture.h"

#include <gtest/gtest.h>

#include <cmath>

namespace rt = platform::runtime;

namespace {

class DateTest : public RuntimeFixture
{
};

void ExpectYmd(rt::Date d, int y, int m, int day)
{
    EXPECT_EQ(rt::Year(d), y);
    EXPECT_EQ(rt::Month(d), m);
    EXPECT_EQ(rt::Day(d), day);
}

} // namespace

TEST_F(DateTest, SerialsCountFromThe30thOfDecember1899)
{
    const struct
    {
        int y, m, d;
        double serial;
    } cases[] = {
        {1899, 12, 30, 0},    {1899, 12, 31, 1},       {1900, 1, 1, 2},     {1900, 2, 28, 60},
        {1900, 3, 1, 61}, // 1900 is no leap year
        {1899, 12, 29, -1},   {2000, 2, 29, 36585},    {2000, 3, 1, 36586}, {2024, 1, 1, 45292},
        {100, 1, 1, -657434}, {9999, 12, 31, 2958465}, {2100, 3, 1, 73110},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(rt::DateSerial(c.y, c.m, c.d).Serial(), c.serial) << c.y << "-" << c.m;
        ExpectYmd(rt::Date(c.serial), c.y, c.m, c.d);
    }
}

TEST_F(DateTest, DateSerialRollsMonthsAndDaysOver)
{
    const struct
    {
        int y, m, d;
        int ey, em, ed;
    } cases[] = {
        {2023, 13, 1, 2024, 1, 1},   {2023, 0, 1, 2022, 12, 1},  {2023, -11, 1, 2022, 1, 1},
        {2023, -12, 1, 2021, 12, 1}, {2024, 3, 0, 2024, 2, 29},  {2023, 3, 0, 2023, 2, 28},
        {2100, 3, 0, 2100, 2, 28},   {1900, 3, 0, 1900, 2, 28},  {2000, 3, 0, 2000, 2, 29},
        {2023, 1, 32, 2023, 2, 1},   {2023, 2, 29, 2023, 3, 1},  {2024, 1, -1, 2023, 12, 30},
        {2023, 25, 400, 2026, 2, 4}, {5, 1, 1, 2005, 1, 1},      {29, 1, 1, 2029, 1, 1},
        {30, 1, 1, 1930, 1, 1},      {99, 12, 31, 1999, 12, 31},
    };
    for (const auto& c : cases) {
        ExpectYmd(rt::DateSerial(c.y, c.m, c.d), c.ey, c.em, c.ed);
    }
    EXPECT_EQ(RaisedNumber([] { return rt::DateSerial(10000, 1, 1); }), 5);
    EXPECT_EQ(RaisedNumber([] { return rt::DateSerial(9999, 12, 32); }), 5);
    EXPECT_EQ(RaisedNumber([] { return rt::DateSerial(100, 1, 0); }), 5);
}

TEST_F(DateTest, NegativeSerialsCountTheTimeForwards)
{
    const rt::Date d(-1.25); // 1899-12-29 06:00
    ExpectYmd(d, 1899, 12, 29);
    EXPECT_EQ(rt::Hour(d), 6);
    EXPECT_DOUBLE_EQ(d.Linear(), -0.75);
    EXPECT_EQ(rt::Date::FromLinear(-0.75).Serial(), -1.25);
    EXPECT_EQ(rt::Date::FromLinear(-0.25).Serial(), -1.75);
    EXPECT_EQ(rt::Date::FromLinear(-2.0).Serial(), -2.0);
    EXPECT_GT(rt::Date(-1.75), rt::Date(-1.25)); // 18:00 and 06:00 of 29 Dec
    EXPECT_GT(rt::Date(-1.75), rt::Date(-2.0));
    EXPECT_EQ(rt::Date(-0.5), rt::Date(0.5));
}

TEST_F(DateTest, SerialsOutsideTheRangeOverflow)
{
    EXPECT_EQ(RaisedNumber([] { return rt::Date(2958466.0); }), 6);
    EXPECT_EQ(RaisedNumber([] { return rt::Date(-657435.0); }), 6);
    EXPECT_EQ(RaisedNumber([] { return rt::Date(std::nan("")); }), 6);
    EXPECT_FALSE(RaisedNumber([] { return rt::Date(2958465.99); }));
    EXPECT_FALSE(RaisedNumber([] { return rt::Date(-657434.5); })); // 100-01-01 12:00
}

TEST_F(DateTest, TimeSerialAndClockFieldsRoundToTheSecond)
{
    const rt::Date t = rt::TimeSerial(13, 45, 30);
    EXPECT_EQ(rt::Hour(t), 13);
    EXPECT_EQ(rt::Minute(t), 45);
    EXPECT_EQ(rt::Second(t), 30);
    ExpectYmd(t, 1899, 12, 30);

    const rt::Date over = rt::TimeSerial(25, 0, 0);
    ExpectYmd(over, 1899, 12, 31);
    EXPECT_EQ(rt::Hour(over), 1);
    const rt::Date under = rt::TimeSerial(-1, 0, 0);
    ExpectYmd(under, 1899, 12, 29);
    EXPECT_EQ(rt::Hour(under), 23);
    EXPECT_EQ(rt::TimeSerial(0, 90, -30).Serial(), rt::TimeSerial(1, 29, 30).Serial());

    // 23:59:59.6 shows as midnight of the next day.
    const rt::Date almost(45292.0 + 86399.6 / 86400.0);
    ExpectYmd(almost, 2024, 1, 2);
    EXPECT_EQ(rt::Hour(almost), 0);
}

TEST_F(DateTest, WeekdayCountsFromTheFirstDayOfWeek)
{
    const rt::Date monday = rt::DateSerial(2024, 1, 1);
    EXPECT_EQ(rt::Weekday(monday), 2);
    EXPECT_EQ(rt::Weekday(monday, rt::DayOfWeek::Monday), 1);
    EXPECT_EQ(rt::Weekday(monday, rt::DayOfWeek::Tuesday), 7);
    EXPECT_EQ(rt::Weekday(rt::Date(0.0)), 7); // 1899-12-30 was a Saturday
    EXPECT_EQ(rt::Weekday(rt::Date(-1.0)), 6);
    EXPECT_EQ(rt::Weekday(rt::DateSerial(2024, 1, 7), rt::DayOfWeek::Monday), 7);
    // The German locale starts weeks on Monday, the US one on Sunday.
    EXPECT_EQ(rt::Weekday(monday, rt::DayOfWeek::System), 1);
    platform::locale::SetCurrent("en-US");
    EXPECT_EQ(rt::Weekday(monday, rt::DayOfWeek::System), 2);
}

TEST_F(DateTest, NowAndTodayFollowTheInjectedClock)
{
    const rt::Date pinned = rt::Date(rt::DateSerial(2024, 2, 29).Serial() + 0.75);
    rt::SetClock([pinned] { return pinned; });
    EXPECT_EQ(rt::Now(), pinned);
    EXPECT_EQ(rt::Today(), rt::DateSerial(2024, 2, 29));
    EXPECT_EQ(rt::Hour(rt::TimeNow()), 18);
    rt::SetClock({});
    EXPECT_GT(rt::Now(), rt::DateSerial(2020, 1, 1));
}
