#include "platform/locale/Locale.h"

#include "platform/locale/detail/IcuSettings.h"
#include "platform/runtime/Error.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace loc = platform::locale;

TEST(LocaleTest, GermanSettings)
{
    const loc::Settings& s = loc::Get("de-DE");
    EXPECT_EQ(s.name, "de-DE");
    EXPECT_EQ(s.decimalSeparator, ",");
    EXPECT_EQ(s.groupingSeparator, ".");
    EXPECT_EQ(s.shortDatePattern, "dd.MM.yyyy");
    EXPECT_EQ(s.longDatePattern, "dddd, d. MMMM yyyy");
    EXPECT_EQ(s.shortTimePattern, "HH:mm");
    EXPECT_EQ(s.longTimePattern, "HH:mm:ss");
    EXPECT_EQ(s.dateSeparator, ".");
    EXPECT_EQ(s.timeSeparator, ":");
    EXPECT_EQ(s.monthNames[2], "März");
    EXPECT_EQ(s.monthAbbreviations[11], "Dez");
    EXPECT_EQ(s.dayNames[0], "Sonntag");
    EXPECT_EQ(s.dayAbbreviations[1], "Mo");
    EXPECT_EQ(s.firstDayOfWeek, 2);
    EXPECT_EQ(s.firstWeekOfYear, 2);
    EXPECT_EQ(s.languageName, "Deutsch");
    EXPECT_EQ(s.englishLanguageName, "German");
    EXPECT_EQ(s.countryName, "Deutschland");
    EXPECT_EQ(s.currencySymbol, "€");
    EXPECT_FALSE(s.currencySymbolFirst);
    EXPECT_TRUE(s.currencySymbolSpaced);
    EXPECT_EQ(s.currencyCode, "EUR");
    EXPECT_EQ(s.currencyDigits, 2);
    EXPECT_EQ(s.plusSign, "+");
    EXPECT_EQ(s.nativeDigits, "0123456789");
    EXPECT_TRUE(s.metric);
    EXPECT_EQ(s.languageCode3, "deu");
    EXPECT_EQ(s.countryCode3, "DEU");
}

TEST(LocaleTest, UsSettings)
{
    const loc::Settings& s = loc::Get("en_US.UTF-8");
    EXPECT_EQ(s.name, "en-US");
    EXPECT_EQ(s.decimalSeparator, ".");
    EXPECT_EQ(s.groupingSeparator, ",");
    EXPECT_EQ(s.shortDatePattern, "M/d/yyyy");
    EXPECT_EQ(s.longDatePattern, "dddd, MMMM d, yyyy");
    EXPECT_EQ(s.shortTimePattern, "h:mm tt");
    EXPECT_EQ(s.longTimePattern, "h:mm:ss tt");
    EXPECT_EQ(s.monthNames[0], "January");
    EXPECT_EQ(s.dayAbbreviations[6], "Sat");
    EXPECT_EQ(s.amDesignator, "AM");
    EXPECT_EQ(s.firstDayOfWeek, 1);
    EXPECT_EQ(s.firstWeekOfYear, 1);
    EXPECT_EQ(s.countryName, "United States");
    EXPECT_EQ(s.currencySymbol, "$");
    EXPECT_TRUE(s.currencySymbolFirst);
    EXPECT_FALSE(s.currencySymbolSpaced);
    EXPECT_EQ(s.currencyCode, "USD");
    EXPECT_FALSE(s.metric);
    EXPECT_EQ(s.englishLanguageName, "English");
    EXPECT_EQ(s.englishCountryName, "United States");
    EXPECT_EQ(s.pmDesignator, "PM");
}

TEST(LocaleTest, NamesAreNormalised)
{
    const struct
    {
        const char* given;
        const char* canonical;
    } cases[] = {
        {"de_DE.UTF-8", "de-DE"},
        {"de_DE.UTF-8@euro", "de-DE"},
        {"de", "de-DE"},
        {"en_US", "en-US"},
        {"C", "en-US"},
        {"POSIX.UTF-8", "en-US"},
        {"de-AT", "de-AT"},
        {"xx_YY", ""},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(loc::detail::CanonicalName(c.given), c.canonical) << c.given;
    }
}

TEST(LocaleTest, IcuPatternsBecomePictureTokens)
{
    EXPECT_EQ(loc::detail::PictureFromIcuPattern("EEE, d.M.yy 'um' H:mm a"),
              "ddd, d.M.yy 'um' H:mm tt");
    EXPECT_EQ(loc::detail::PictureFromIcuPattern("LLLL y G"), "MMMM yyyy ");
    EXPECT_EQ(loc::detail::PictureFromIcuPattern("h:mm\xE2\x80\xAF"
                                                 "a"),
              "h:mm tt");
}

TEST(LocaleTest, EveryNegativeCurrencyLayoutHasItsNumber)
{
    const struct
    {
        const char* amount;
        const char* symbol;
        std::optional<int> mode;
    } cases[] = {
        {"($1.10)", "$", 0},
        {"-$1.10", "$", 1},
        {"$-1.10", "$", 2},
        {"$1.10-", "$", 3},
        {"(1,10€)", "€", 4},
        {"-1,10€", "€", 5},
        {"1,10-€", "€", 6},
        {"1,10€-", "€", 7},
        {"-1,10 €", "€", 8},
        {"-$ 1.10", "$", 9},
        {"1,10 €-", "€", 10},
        {"€ 1,10-", "€", 11},
        {"€ -1,10", "€", 12},
        {"1,10- €", "€", 13},
        {"($ 1.10)", "$", 14},
        {"(1,10 €)", "€", 15},
        {"-1\u00A0234,50\u00A0€", "€", 8}, // spaces that do not break
        {"\u200E-\u200E$1.10", "$", 1},    // direction marks
        {"CHF-1’234.50", "CHF", 2},
        {"-1$50 ", "", std::nullopt},   // no symbol
        {"1,10 €", "€", std::nullopt},  // no sign
        {"-€x1,10", "€", std::nullopt}, // something else beside the symbol
    };
    for (const auto& c : cases)
        EXPECT_EQ(loc::detail::NegativeCurrencyMode(c.amount, "-", c.symbol), c.mode) << c.amount;
}

TEST(LocaleTest, CurrentFollowsSetCurrentAndTheEnvironment)
{
    loc::SetCurrent("en-US");
    EXPECT_EQ(loc::CurrentName(), "en-US");
    EXPECT_EQ(loc::DecimalSeparator(), ".");
    EXPECT_EQ(loc::MonthName(5), "May");
    loc::SetCurrent("de_DE.UTF-8");
    EXPECT_EQ(loc::DecimalSeparator(), ",");
    EXPECT_EQ(loc::DayName(2, true), "Mo");

    setenv("LC_ALL", "", 1);
    setenv("LC_MESSAGES", "en_US.UTF-8", 1);
    setenv("LANG", "de_DE.UTF-8", 1);
    loc::ResetFromEnvironment();
    EXPECT_EQ(loc::CurrentName(), "en-US");
    setenv("LC_ALL", "de_DE.UTF-8", 1);
    loc::ResetFromEnvironment();
    EXPECT_EQ(loc::CurrentName(), "de-DE");
    unsetenv("LC_ALL");
    unsetenv("LC_MESSAGES");
    unsetenv("LANG");
    EXPECT_EQ(loc::LocaleNameFromEnvironment(), "en-US");
}

TEST(LocaleTest, UnknownLocalesAndBadIndexesRaiseError5)
{
    try {
        loc::SetCurrent("xx-YY");
        FAIL() << "accepted an unknown locale";
    } catch (const platform::runtime::Error& e) {
        EXPECT_EQ(e.Number(), 5);
    }
    EXPECT_THROW(loc::MonthName(13), platform::runtime::Error);
    EXPECT_THROW(loc::DayName(0), platform::runtime::Error);
}
