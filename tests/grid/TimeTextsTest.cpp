#include "GridFixture.h"

#include "common/modLanguage.h"
#include "grid/detail/DateGroupKey.h"
#include "grid/detail/TimeTexts.h"
#include "platform/runtime/Conversion.h"
#include "platform/runtime/Date.h"

#include <string>
#include <vector>

namespace rt = platform::runtime;
using grid::detail::DateGroupKey;
using grid::detail::FormatMinutes;
using grid::detail::FormattedTime;

namespace {

class TimeTextsTest : public GridFixture
{
};

TEST_F(TimeTextsTest, MinutesShowAsHoursAndMinutes)
{
    const std::vector<std::pair<int, std::string>> aCases{
        {0, "00:00"}, {59, "00:59"}, {75, "01:15"}, {1500, "25:00"}, {6000, "100:00"}};
    for (const auto& [lMinutes, sText] : aCases) {
        EXPECT_EQ(FormatMinutes(lMinutes), sText);
    }
}

TEST_F(TimeTextsTest, DatesShowInTheLocaleForms)
{
    const rt::Date d = rt::Date(rt::DateSerial(2024, 3, 15).Serial() + 14.5 / 24);
    EXPECT_EQ(FormattedTime(rt::Variant(d), false, ""), "15.03.2024");
    EXPECT_EQ(FormattedTime(rt::Variant(d), true, ""), "15.03.2024 14:30");
    EXPECT_EQ(FormattedTime(rt::Variant(d), true, "yyyy"), "2024");
    EXPECT_EQ(FormattedTime(rt::Variant(d), false, "yyyy"), "2024");
    UseLanguage("en-US", common::modLanguage::LANG_ENGLISH);
    EXPECT_EQ(FormattedTime(rt::Variant(d), false, ""), "3/15/2024");
    EXPECT_EQ(FormattedTime(rt::Variant(d), true, ""), "3/15/2024 14:30 PM");
}

TEST_F(TimeTextsTest, NoDateGivesNoText)
{
    EXPECT_EQ(FormattedTime(rt::Variant(), true, ""), "");
    EXPECT_EQ(FormattedTime(rt::Variant(rt::Date(0.0)), true, ""), "");
    EXPECT_EQ(FormattedTime(rt::Variant(rt::DateSerial(4501, 1, 1)), true, ""), "");
    EXPECT_EQ(FormattedTime(rt::Variant("kein Datum"), true, ""), "");
}

// A fill remembers date texts by value; what it gives must be what formatting gives, for the
// same value asked again under another format or without the time, and for a text value.
TEST_F(TimeTextsTest, RememberedDateTextsAreTheFormattedOnes)
{
    grid::detail::TimeTextCache oCache;
    const double dDay = rt::DateSerial(2027, 1, 4).Serial();
    const std::vector<rt::Variant> aValues = {rt::Variant(rt::Date(dDay + 14.25 / 24)),
                                              rt::Variant(rt::Date(dDay)),
                                              rt::Variant(rt::Date(dDay + 14.25 / 24)),
                                              rt::Variant(rt::Date(dDay - 1.0 / 1440)),
                                              rt::Variant("04.01.2027 09:00"),
                                              rt::Variant(rt::Date(0.0)),
                                              rt::Variant(rt::Date(dDay))};
    for (const char* sFormat : {"", "yyyy-mm-dd hh:nn", ""}) {
        for (const bool bShowTime : {true, false}) {
            for (const auto& v : aValues) {
                EXPECT_EQ(oCache.Text(v, bShowTime, sFormat), FormattedTime(v, bShowTime, sFormat))
                    << sFormat << " " << bShowTime;
            }
        }
    }
    // Cells of several date columns in turn, as a row fills them.
    const std::vector<std::pair<const char*, bool>> aColumns = {
        {"", true}, {"yyyy", false}, {"", false}, {"yyyy", true}, {"dd.mm.", false}};
    for (int lPass = 0; lPass < 2; ++lPass) {
        for (const auto& v : aValues) {
            for (const auto& [sFormat, bShowTime] : aColumns) {
                EXPECT_EQ(oCache.Text(v, bShowTime, sFormat), FormattedTime(v, bShowTime, sFormat))
                    << sFormat << " " << bShowTime;
            }
        }
    }
    // A column asks by the handle of its format, found once; the texts are the same, and a
    // handle stays good while other formats are added.
    std::vector<std::size_t> aHandles;
    for (const auto& [sFormat, bShowTime] : aColumns) {
        aHandles.push_back(oCache.FormatOf(bShowTime, sFormat));
    }
    EXPECT_EQ(oCache.FormatOf(true, ""), aHandles[0]);
    for (const char* sFormat : {"d", "dd", "ddd", "dddd", "m", "mm", "mmm", "hh:nn:ss"}) {
        oCache.FormatOf(true, sFormat);
    }
    for (const auto& v : aValues) {
        for (std::size_t n = 0; n < aColumns.size(); ++n) {
            const auto& [sFormat, bShowTime] = aColumns[n];
            EXPECT_EQ(oCache.Text(aHandles[n], v), FormattedTime(v, bShowTime, sFormat))
                << sFormat << " " << bShowTime;
        }
    }
}

// Many values: the memory grows while texts are handed out, and every value keeps its own
// text, neighbouring moments and the zero date included.
TEST_F(TimeTextsTest, ManyRememberedDateTextsKeepTheirValues)
{
    grid::detail::TimeTextCache oCache;
    const std::size_t nFormat = oCache.FormatOf(true, "");
    const double dDay = rt::DateSerial(2026, 3, 1).Serial();
    std::vector<rt::Variant> aValues{rt::Variant(rt::Date(0.0)), rt::Variant(rt::Date(-0.0))};
    for (int i = 0; i < 1500; ++i) {
        aValues.emplace_back(rt::Date(dDay + i / 7 + (i % 7) / 1440.0));
    }
    std::vector<std::string> aFirst;
    for (const auto& v : aValues) {
        aFirst.push_back(oCache.Text(nFormat, v));
    }
    for (std::size_t i = 0; i < aValues.size(); ++i) {
        EXPECT_EQ(oCache.Text(nFormat, aValues[i]), aFirst[i]) << i;
        if (i % 97 == 0) {
            EXPECT_EQ(aFirst[i], FormattedTime(aValues[i], true, "")) << i;
        }
    }
    EXPECT_EQ(aFirst[0], "");
    EXPECT_EQ(aFirst[2], "01.03.2026 00:00");
    EXPECT_EQ(aFirst[8], "01.03.2026 00:06");
    EXPECT_EQ(aFirst[9], "02.03.2026 00:00");
}

// Texts made from remembered day and time parts equal the whole formatting, in both locales:
// moments of one day, one moment of many days, a second that rounds into the next day, dates
// before the zero date and the time text numbers handed out with them.
TEST_F(TimeTextsTest, TextsFromDayAndTimePartsAreTheFormattedOnes)
{
    const double dDay = rt::DateSerial(2025, 12, 31).Serial();
    std::vector<rt::Variant> aValues;
    for (int i = 0; i < 40; ++i) {
        aValues.emplace_back(rt::Date(dDay + i / 7 + (i % 7) * 3.25 / 24));
    }
    aValues.emplace_back(rt::Date(dDay + (86399.7 / 86400)));
    aValues.emplace_back(rt::Date(-400.75));
    aValues.emplace_back(rt::Date(-400.25));
    aValues.emplace_back(rt::DateSerial(1899, 12, 29));
    for (const char* sLocale : {"de-DE", "en-US"}) {
        UseLanguage(sLocale, sLocale[0] == 'd' ? common::modLanguage::LANG_GERMAN
                                               : common::modLanguage::LANG_ENGLISH);
        grid::detail::TimeTextCache oCache;
        const std::size_t nWithTime = oCache.FormatOf(true, "");
        const std::size_t nDateOnly = oCache.FormatOf(false, "");
        for (int lPass = 0; lPass < 2; ++lPass) {
            for (std::size_t i = 0; i < aValues.size(); ++i) {
                const rt::Variant& v = aValues[i];
                std::uint32_t nId = grid::detail::TimeTextCache::kNoId;
                EXPECT_EQ(oCache.Text(nWithTime, v, nId), FormattedTime(v, true, ""))
                    << sLocale << " " << i;
                // Each value has its own number, the same when it is asked again.
                EXPECT_EQ(nId, i) << sLocale << " " << i;
                EXPECT_EQ(oCache.Text(nDateOnly, v), FormattedTime(v, false, ""))
                    << sLocale << " " << i;
            }
        }
    }
    EXPECT_EQ(FormattedTime(aValues[40], true, ""), "1/1/2026 00:00 AM");
    EXPECT_EQ(FormattedTime(aValues[2], true, ""), "12/31/2025 06:30 AM");
}

// Remembered number texts are the converted ones, for values that share a place in the table
// and in both locales' decimal forms.
TEST_F(TimeTextsTest, RememberedNumberTextsAreTheConvertedOnes)
{
    std::vector<double> aValues{0.0, -0.0, 1.0, 0.25, -17.5, 1e15, 1e16, 123456.789, 1.0 / 3};
    for (int i = 0; i < 3000; ++i) {
        aValues.push_back(i / 8.0);
    }
    for (const char* sLocale : {"de-DE", "en-US"}) {
        UseLanguage(sLocale, sLocale[0] == 'd' ? common::modLanguage::LANG_GERMAN
                                               : common::modLanguage::LANG_ENGLISH);
        grid::detail::NumberTexts oTexts;
        for (int lPass = 0; lPass < 2; ++lPass) {
            for (const double d : aValues) {
                EXPECT_EQ(oTexts.Text(d), rt::CStr(rt::Variant(d))) << sLocale << " " << d;
            }
        }
    }
    EXPECT_EQ(grid::detail::NumberTexts().Text(0.25), "0.25");
}

struct KeyCase
{
    int lDateGroupBy;
    rt::Date dtValue;
    std::string sGerman;
    std::string sEnglish;
};

TEST_F(TimeTextsTest, DateGroupKeysFollowTheLocale)
{
    // 2023-01-01 is a Sunday: week 52 of 2022 where weeks start on Monday with the first
    // four-day week, week 1 where they start on Sunday with the week of 1 January.
    const rt::Date dtSunday(rt::DateSerial(2023, 1, 1).Serial() + 9.5 / 24);
    const rt::Date dtMarch = rt::DateSerial(2024, 3, 5);
    const rt::Date dtNovember = rt::DateSerial(2024, 11, 30);
    const std::vector<KeyCase> aCases{
        {1, dtSunday, "09", "09"},
        {2, dtMarch, "05", "05"},
        {3, dtSunday, "52", "1"},
        {4, dtMarch, "03 März", "03 March"},
        {5, dtMarch, "1", "1"},
        {5, dtNovember, "4", "4"},
        {6, dtMarch, "2024", "2024"},
        {7, dtSunday, "7 Sonntag", "1 Sunday"},
        {7, dtMarch, "2 Dienstag", "3 Tuesday"},
    };
    for (const auto& c : aCases) {
        EXPECT_EQ(DateGroupKey(c.dtValue, c.lDateGroupBy).value_or("-"), c.sGerman)
            << c.lDateGroupBy;
    }
    UseLanguage("en-US", common::modLanguage::LANG_ENGLISH);
    for (const auto& c : aCases) {
        EXPECT_EQ(DateGroupKey(c.dtValue, c.lDateGroupBy).value_or("-"), c.sEnglish)
            << c.lDateGroupBy;
    }
    EXPECT_FALSE(DateGroupKey(dtMarch, 0));
    EXPECT_FALSE(DateGroupKey(dtMarch, 8));
}

TEST_F(TimeTextsTest, DateGroupingTypesAndPrefixes)
{
    for (int i : {1, 2, 3, 5, 6}) {
        EXPECT_EQ(grid::detail::DateGroupingOf(i)->lDataType, 3);
        EXPECT_EQ(grid::detail::DateGroupingOf(i)->lPrefixLength, 0);
    }
    EXPECT_EQ(grid::detail::DateGroupingOf(4)->lPrefixLength, 4);
    EXPECT_EQ(grid::detail::DateGroupingOf(7)->lPrefixLength, 3);
    EXPECT_EQ(grid::detail::DateGroupingOf(7)->lDataType, 8);
    EXPECT_FALSE(grid::detail::DateGroupingOf(0));
}

} // namespace
