#include "platform/runtime/Conversion.h"

#include "RuntimeFixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>

namespace rt = platform::runtime;

namespace {

class ConversionTest : public RuntimeFixture
{
};

rt::Date At(int y, int m, int d, int h = 0, int n = 0, int s = 0)
{
    return rt::Date::FromLinear(rt::DateSerial(y, m, d).Serial() +
                                rt::TimeSerial(h, n, s).Serial());
}

} // namespace

TEST_F(ConversionTest, ValReadsTheLeadingNumber)
{
    const struct
    {
        const char* text;
        double expected;
    } cases[] = {
        {"  1 2 3", 123}, {"12abc", 12},      {"&HFF", 255},      {"&hff", 255},
        {"&HFFFF", -1},   {"&H10000", 65536}, {"&HFFFFFFFF", -1}, {"&O17", 15},
        {"&17", 15},      {"&H", 0},          {"abc", 0},         {"", 0},
        {".5", 0.5},      {"-3.5e2x", -350},  {"1e", 1},          {"1,5", 1},
        {"1.2.3", 1.2},   {" - 4", -4},       {"+7", 7},          {"1 e 2", 100},
        {"\t12\n3", 123}, {"1D2", 100},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(rt::Val(c.text), c.expected) << '"' << c.text << '"';
    }
    EXPECT_EQ(RaisedNumber([] { return rt::Val("&H123456789"); }), 6);
}

TEST_F(ConversionTest, CLngRoundsHalfToEvenAndOverflows)
{
    const struct
    {
        rt::Variant value;
        std::int32_t expected;
    } cases[] = {
        {2.5, 2},
        {3.5, 4},
        {-2.5, -2},
        {-3.5, -4},
        {0.5, 0},
        {1.5, 2},
        {2.50001, 3},
        {2147483647.4, 2147483647},
        {-2147483648.5, -2147483647 - 1},
        {"2,5", 2},
        {"1.234", 1234}, // "." groups digits in German
        {" -7 ", -7},
        {true, -1},
        {rt::Variant(), 0},
        {rt::Currency::FromScaled(25000), 2},
        {rt::Currency::FromScaled(35000), 4},
        {rt::Currency::FromScaled(-25000), -2},
        {At(2024, 1, 1, 12), 45292}, // 45292.5 rounds to even
    };
    for (const auto& c : cases) {
        EXPECT_EQ(rt::CLng(c.value), c.expected) << rt::CStr(c.value);
    }
    const struct
    {
        rt::Variant value;
        std::int32_t error;
    } failures[] = {
        {2147483647.5, 6}, {-2147483649.0, 6}, {1e300, 6},    {"abc", 13},
        {"", 13},          {rt::Null{}, 94},   {nullptr, 13}, {rt::ErrorValue{5}, 13},
    };
    for (const auto& f : failures) {
        EXPECT_EQ(RaisedNumber([&] { return rt::CLng(f.value); }), f.error) << f.value.TypeName();
    }
}

TEST_F(ConversionTest, CIntAndCByteHaveTheirRanges)
{
    EXPECT_EQ(rt::CInt(32766.5), 32766);
    EXPECT_EQ(rt::CInt(-32768.5), -32768);
    EXPECT_EQ(RaisedNumber([] { return rt::CInt(32767.5); }), 6);
    EXPECT_EQ(rt::CByte(254.5), 254);
    EXPECT_EQ(RaisedNumber([] { return rt::CByte(-0.6); }), 6);
    EXPECT_EQ(RaisedNumber([] { return rt::CByte(255.5); }), 6);
}

TEST_F(ConversionTest, CStrFollowsTheLocale)
{
    const struct
    {
        rt::Variant value;
        const char* german;
        const char* english;
    } cases[] = {
        {1.5, "1,5", "1.5"},
        {0.1 + 0.2, "0,3", "0.3"},
        {1.0 / 3.0, "0,333333333333333", "0.333333333333333"},
        {1e20, "1E+20", "1E+20"},
        {-1234567.0, "-1234567", "-1234567"},
        {1.1f, "1,1", "1.1"},
        {std::int16_t{-3}, "-3", "-3"},
        {rt::Currency::FromScaled(125000), "12,5", "12.5"},
        {rt::Currency::FromScaled(-1), "-0,0001", "-0.0001"},
        {true, "True", "True"},
        {false, "False", "False"},
        {rt::Variant(), "", ""},
        {rt::ErrorValue{5}, "Error 5", "Error 5"},
        {"Text", "Text", "Text"},
        {At(2024, 2, 29), "29.02.2024", "2/29/2024"},
        {At(2024, 2, 29, 13, 5, 9), "29.02.2024 13:05:09", "2/29/2024 1:05:09 PM"},
        {rt::TimeSerial(13, 5, 9), "13:05:09", "1:05:09 PM"},
        {rt::Date(), "00:00:00", "12:00:00 AM"},
        // numbers at the edges of the fixed and exponent forms
        {0.0, "0", "0"},
        {-0.0, "0", "0"},
        {-1.0, "-1", "-1"},
        {-0.5, "-0,5", "-0.5"},
        {123456789012345.0, "123456789012345", "123456789012345"},
        {1234567890123456.0, "1,23456789012346E+15", "1.23456789012346E+15"},
        {999999999999999.9, "1E+15", "1E+15"},
        {1e15, "1E+15", "1E+15"},
        {1e-4, "0,0001", "0.0001"},
        {1e-5, "1E-05", "1E-05"},
        {-1.5e-7, "-1,5E-07", "-1.5E-07"},
        {1.7976931348623157e308, "1,79769313486232E+308", "1.79769313486232E+308"},
        {5e-324, "4,94065645841247E-324", "4.94065645841247E-324"},
        {0.1, "0,1", "0.1"},
        {2.675, "2,675", "2.675"},
        {12.25, "12,25", "12.25"},
        {-1234.5678, "-1234,5678", "-1234.5678"},
        {1.0 / 3.0 * 1e10, "3333333333,33333", "3333333333.33333"},
        {std::numeric_limits<double>::infinity(), "INF", "INF"},
        {-std::numeric_limits<double>::infinity(), "-INF", "-INF"},
        {1234567.0f, "1234567", "1234567"},
        {12345678.0f, "1,234568E+07", "1.234568E+07"},
        {-0.1f, "-0,1", "-0.1"},
        {3.4028235e38f, "3,402823E+38", "3.402823E+38"},
    };
    for (const auto& c : cases) {
        platform::locale::SetCurrent("de-DE");
        EXPECT_EQ(rt::CStr(c.value), c.german);
        platform::locale::SetCurrent("en-US");
        EXPECT_EQ(rt::CStr(c.value), c.english);
    }
    EXPECT_EQ(RaisedNumber([] { return rt::CStr(rt::Null{}); }), 94);
}

TEST_F(ConversionTest, CDblReadsTheLocalesNotation)
{
    const struct
    {
        const char* text;
        double expected;
    } german[] = {
        {"1.234,5", 1234.5}, {"(5)", -5}, {"5-", -5},    {"1,5E3", 1500},
        {" 7 ", 7},          {"3 €", 3},  {"&HFF", 255}, {"-0,25", -0.25},
    };
    for (const auto& c : german) {
        EXPECT_DOUBLE_EQ(rt::CDbl(c.text), c.expected) << c.text;
    }
    platform::locale::SetCurrent("en-US");
    EXPECT_DOUBLE_EQ(rt::CDbl("1,234.5"), 1234.5);
    EXPECT_DOUBLE_EQ(rt::CDbl("$3.25"), 3.25);
    platform::locale::SetCurrent("de-DE");
    for (const char* bad : {"", "1,2,3", "1.2,3,", "e5", "1e", "12abc", "--1", "1,5 $"}) {
        EXPECT_EQ(RaisedNumber([&] { return rt::CDbl(bad); }), 13) << bad;
    }
}

TEST_F(ConversionTest, CBoolAcceptsNumbersAndTrueFalseText)
{
    EXPECT_TRUE(rt::CBool("True"));
    EXPECT_FALSE(rt::CBool("false"));
    EXPECT_FALSE(rt::CBool("0"));
    EXPECT_TRUE(rt::CBool("2,5"));
    EXPECT_TRUE(rt::CBool(-1));
    EXPECT_FALSE(rt::CBool(0.0));
    EXPECT_FALSE(rt::CBool(rt::Variant()));
    EXPECT_EQ(RaisedNumber([] { return rt::CBool("yes"); }), 13);
    EXPECT_EQ(RaisedNumber([] { return rt::CBool(rt::Null{}); }), 94);
}

TEST_F(ConversionTest, CDateReadsLocaleAndIsoForms)
{
    rt::SetClock([] { return At(2024, 6, 15, 9); });
    const struct
    {
        const char* locale;
        const char* text;
        rt::Date expected;
    } cases[] = {
        {"de-DE", "31.12.2023", At(2023, 12, 31)},
        {"de-DE", "31.12.23", At(2023, 12, 31)},
        {"de-DE", "1.2.1930", At(1930, 2, 1)},
        {"de-DE", "31.12.2023 10:05", At(2023, 12, 31, 10, 5)},
        {"de-DE", "2023-12-31 23:59:59", At(2023, 12, 31, 23, 59, 59)},
        {"de-DE", "2023-12-31T08:00:00", At(2023, 12, 31, 8)},
        {"de-DE", "29.02.2024", At(2024, 2, 29)},
        {"de-DE", "31.12.", At(2024, 12, 31)},
        {"de-DE", "10:05:30", rt::TimeSerial(10, 5, 30)},
        {"de-DE", "31. Dezember 2023", At(2023, 12, 31)},
        {"de-DE", "Sonntag, 31. Dezember 2023", At(2023, 12, 31)},
        {"de-DE", "3. März 2024", At(2024, 3, 3)},
        {"en-US", "12/31/2023", At(2023, 12, 31)},
        {"en-US", "12/31/2023 10:05:00 PM", At(2023, 12, 31, 22, 5)},
        {"en-US", "12:30 AM", rt::TimeSerial(0, 30, 0)},
        // The report grid's English dates: a 24-hour time with the day-period designator.
        {"en-US", "1/1/2027 14:00 PM", At(2027, 1, 1, 14)},
        {"en-US", "1/1/2027 23:59:59 PM", At(2027, 1, 1, 23, 59, 59)},
        {"en-US", "1/1/2027 00:30 AM", At(2027, 1, 1, 0, 30)},
        {"en-US", "December 31, 2023", At(2023, 12, 31)},
        {"en-US", "Dec 31 2023", At(2023, 12, 31)},
    };
    for (const auto& c : cases) {
        platform::locale::SetCurrent(c.locale);
        EXPECT_EQ(rt::CDate(c.text), c.expected) << c.locale << " " << c.text;
        EXPECT_TRUE(rt::IsDate(c.text)) << c.text;
    }
    platform::locale::SetCurrent("de-DE");
    for (const char* bad : {"32.12.2023", "29.02.2023", "29.02.1900", "abc", "", "31.12.2023 25:00",
                            "13:61", "1.2.3.4", "31.12.2023 24:00 PM", "13 PM", "0 AM", "5"}) {
        EXPECT_EQ(RaisedNumber([&] { return rt::CDate(bad); }), 13) << bad;
        EXPECT_FALSE(rt::IsDate(bad)) << bad;
    }
    EXPECT_EQ(rt::CDate(45292.5), At(2024, 1, 1, 12));
    EXPECT_EQ(rt::DateValue("31.12.2023 10:05"), At(2023, 12, 31));
    EXPECT_EQ(rt::TimeValue("31.12.2023 10:05"), rt::TimeSerial(10, 5, 0));
    EXPECT_EQ(rt::CDate(true), rt::Date(-1.0));
    EXPECT_EQ(RaisedNumber([] { return rt::CDate(3e6); }), 6);
    EXPECT_FALSE(rt::IsDate(45292.0));
    EXPECT_TRUE(rt::IsDate(At(2024, 1, 1)));
}

TEST_F(ConversionTest, IsNumericFollowsTheLocale)
{
    const struct
    {
        rt::Variant value;
        bool expected;
    } cases[] = {
        {"1,5", true},         {"1.5", true},          {"1e5", true},       {"&HFF", true},
        {" 12 ", true},        {"12abc", false},       {"", false},         {"abc", false},
        {rt::Variant(), true}, {true, true},           {rt::Null{}, false}, {At(2024, 1, 1), false},
        {2.5, true},           {rt::Currency(), true}, {nullptr, false},    {"1e400", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(rt::IsNumeric(c.value), c.expected) << c.value.TypeName();
    }
}

TEST_F(ConversionTest, RoundIsHalfToEven)
{
    EXPECT_EQ(rt::Round(2.5), 2.0);
    EXPECT_EQ(rt::Round(3.5), 4.0);
    EXPECT_EQ(rt::Round(-2.5), -2.0);
    EXPECT_DOUBLE_EQ(rt::Round(2.675, 2), 2.68);
    EXPECT_DOUBLE_EQ(rt::Round(0.125, 2), 0.12);
    EXPECT_DOUBLE_EQ(rt::Round(1.23456, 3), 1.235);
    EXPECT_EQ(rt::Fix(-2.7), -2.0);
    EXPECT_EQ(rt::Int(-2.7), -3.0);
    EXPECT_EQ(RaisedNumber([] { return rt::Round(1.0, -1); }), 5);
}

TEST_F(ConversionTest, CompareFollowsTheRuntimesRules)
{
    using C = rt::CompareMethod;
    const struct
    {
        rt::Variant a;
        rt::Variant b;
        C compare;
        int expected;
    } cases[] = {
        {2, 10, C::Binary, -1},
        {"2", "10", C::Binary, 1}, // texts compare as texts
        {"10", 9, C::Binary, 1},   // numeric text against a number: by value
        {"abc", 9, C::Binary, 1},  // numbers before other texts
        {9, "abc", C::Binary, -1},
        {"Äpfel", "äpfel", C::Text, 0},
        {"Äpfel", "äpfel", C::Binary, -1},
        {rt::Variant(), 0, C::Binary, 0},
        {rt::Variant(), "", C::Binary, 0},
        {rt::Variant(), "a", C::Binary, -1},
        {true, 0, C::Binary, -1}, // True is -1
        {rt::DateSerial(2024, 1, 2), rt::DateSerial(2024, 1, 1), C::Binary, 1},
        {rt::Currency::FromScaled(10001), 1.0, C::Binary, 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(rt::Compare(c.a, c.b, c.compare), c.expected)
            << c.a.TypeName() << " vs " << c.b.TypeName();
    }
    EXPECT_EQ(RaisedNumber([] { return rt::Compare(rt::Null{}, 1); }), 94);
    EXPECT_EQ(RaisedNumber([] { return rt::Compare(nullptr, 1); }), 13);
}

TEST_F(ConversionTest, CStrOfDoublesMatchesPrintfSignificantDigits)
{
    // The C library's %.15G in the C locale is the reference form of a double's text.
    platform::locale::SetCurrent("en-US");
    std::uint64_t state = 0x9E3779B97F4A7C15u;
    for (int i = 0; i < 20000; ++i) {
        state = state * 6364136223846793005u + 1442695040888963407u;
        const double mantissa = static_cast<double>(state >> 11) / 9007199254740992.0;
        const int exponent = static_cast<int>(state % 61) - 30;
        double value = (i % 2 ? -mantissa : mantissa) * std::pow(10.0, exponent);
        if (i % 3 == 0) {
            value = std::round(value * 100) / 100; // money-like values with two decimals
        }
        if (value == 0) {
            continue;
        }
        char expected[64];
        std::snprintf(expected, sizeof expected, "%.15G", value);
        ASSERT_EQ(rt::CStr(value), expected) << value;
    }
}
