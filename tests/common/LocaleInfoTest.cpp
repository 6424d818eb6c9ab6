#include "CommonFixture.h"

#include "common/cLocaleInfo.h"
#include "platform/locale/Locale.h"
#include "platform/runtime/Conversion.h"

namespace {

// The user's locale is German (the fixture's), the system's the environment's: English.
class LocaleInfoTest : public CommonFixture
{
protected:
    void SetUp() override
    {
        CommonFixture::SetUp();
        for (const char* s : {"LC_ALL", "LC_MESSAGES"})
            unsetenv(s);
        setenv("LANG", "en_US.UTF-8", 1);
    }
    common::cLocaleInfo m_oInfo;
};

TEST_F(LocaleInfoTest, SelectorChoosesTheUsersOrTheSystemsLocale)
{
    EXPECT_EQ(m_oInfo.GetDecimalseparator(1), ",");
    EXPECT_EQ(m_oInfo.GetDecimalseparator(), ".");
    EXPECT_EQ(m_oInfo.GetDecimalseparator(7), ".");
    EXPECT_EQ(m_oInfo.GetThousandSeparator(1).TypeName(), "String");
    EXPECT_EQ(platform::runtime::CStr(m_oInfo.GetThousandSeparator(1)), ".");
    EXPECT_EQ(m_oInfo.GetShortDateFormat(1), "dd.MM.yyyy");
    EXPECT_EQ(m_oInfo.GetLocalMonetarySymbol(1), "€");
    EXPECT_EQ(m_oInfo.GetInternationalMonetarySymbol(), "USD");
}

TEST_F(LocaleInfoTest, NamesByNumberAnswerOnlyInsideTheirRange)
{
    EXPECT_EQ(m_oInfo.GetMonthName(1, false, 1), "Januar");
    EXPECT_EQ(m_oInfo.GetMonthName(3, true), "Mar");
    EXPECT_EQ(m_oInfo.GetMonthName(0), "");
    EXPECT_EQ(m_oInfo.GetMonthName(13), "");
    EXPECT_EQ(m_oInfo.GetDayName(1, false, 1), "Montag"); // day 1 is Monday
    EXPECT_EQ(m_oInfo.GetDayName(7), "Sunday");
    EXPECT_EQ(m_oInfo.GetDayName(8), "");
    EXPECT_EQ(m_oInfo.GetLanguage(3, 1), "German");
    EXPECT_EQ(m_oInfo.GetLanguage(2, 1), "Deutsch");
    EXPECT_EQ(m_oInfo.GetLanguage(1, 1), "DEU");
    EXPECT_EQ(m_oInfo.GetLanguage(-1), "");
    EXPECT_EQ(m_oInfo.GetLanguage(4), "");
    EXPECT_EQ(m_oInfo.GetCountryName(3, 1), "Germany");
    EXPECT_EQ(m_oInfo.GetCountryName(0), "United States");
}

TEST_F(LocaleInfoTest, OrderingsAndFlagsFollowThePatterns)
{
    EXPECT_EQ(m_oInfo.GetShortDateOrdering(1), "1");
    EXPECT_EQ(m_oInfo.GetShortDateOrdering(), "0");
    EXPECT_EQ(m_oInfo.GetLongDateFormatOrderingText(1), "Day-Month-Year");
    EXPECT_EQ(m_oInfo.GetLongDateFormatOrderingText(), "Month-Day-Year");
    EXPECT_EQ(m_oInfo.GetTimeFormatSpecifier(1), "1");
    EXPECT_EQ(m_oInfo.GetTimeFormatSpecifier(), "0");
    EXPECT_EQ(m_oInfo.GetMeasure(1), "0");
    EXPECT_EQ(m_oInfo.GetMeasure(), "1");
    EXPECT_EQ(m_oInfo.GetLanguageID(1), "0407");
    EXPECT_EQ(m_oInfo.GetCountryCode(), "1");
    EXPECT_EQ(m_oInfo.GetNegativeCurrencyMode(1), "8");
    EXPECT_EQ(platform::runtime::CStr(m_oInfo.GetDoNotUseUserOverwrites()), "");
}

TEST_F(LocaleInfoTest, NumberLayoutAndCodesComeFromTheLocalesOwnData)
{
    struct Case
    {
        const char* sLocale;
        const char* sGrouping;
        const char* sFractionDigits;
        const char* sLeadingZero;
        const char* sPositiveSign; // position of the sign of a currency amount
        const char* sNegativeSign;
        const char* sLanguageId;
        const char* sCountryCode;
        const char* sCodePage;
    };
    const Case aCases[] = {
        {"de-DE", "3;0", "3", "1", "1", "1", "0407", "49", "850"},
        {"en-US", "3;0", "3", "1", "1", "1", "0409", "1", "437"},
        {"hi-IN", "3;2;0", "3", "1", "1", "1", "0439", "91", "1"},
        {"ja-JP", "3;0", "3", "1", "1", "1", "0411", "81", "932"},
        {"ru-RU", "3;0", "3", "1", "1", "1", "0419", "7", "866"},
        {"pl-PL", "3;0", "3", "1", "1", "1", "0415", "48", "852"},
        {"nl-NL", "3;0", "3", "1", "4", "4", "0413", "31", "850"},
        {"pt-BR", "3;0", "3", "1", "1", "1", "0416", "55", "850"},
    };
    for (const Case& c : aCases) {
        SCOPED_TRACE(c.sLocale);
        platform::locale::SetCurrent(c.sLocale);
        EXPECT_EQ(m_oInfo.GetDigitGrouping(1), c.sGrouping);
        EXPECT_EQ(m_oInfo.GetMonetaryGrouping(1), c.sGrouping);
        EXPECT_EQ(m_oInfo.GetNumerOfFractionalDigits(1), c.sFractionDigits);
        EXPECT_EQ(m_oInfo.GetLeadingZerosForDecimal(1), c.sLeadingZero);
        EXPECT_EQ(m_oInfo.GetPositiveSignPosition(1), c.sPositiveSign);
        EXPECT_EQ(m_oInfo.GetNegativeSignPosition(1), c.sNegativeSign);
        EXPECT_EQ(m_oInfo.GetLanguageID(1), c.sLanguageId);
        EXPECT_EQ(m_oInfo.GetDefaultLanguageID(1), c.sLanguageId);
        EXPECT_EQ(m_oInfo.GetCountryCode(1), c.sCountryCode);
        EXPECT_EQ(m_oInfo.GetDefaultCodePage(1), c.sCodePage);
    }
}

TEST_F(LocaleInfoTest, MonetaryAnswersComeFromTheCurrencyFormat)
{
    struct Case
    {
        const char* sLocale;
        const char* sDecimal;
        const char* sMonetaryDecimal;
        const char* sThousand;
        const char* sMonetaryThousand;
        const char* sNegativeMode;
    };
    const Case aCases[] = {
        {"de-AT", ",", ",", "\u00A0", ".", "9"},      // "-€ 1.234,50"
        {"fr-CH", ",", ".", "\u202F", "\u202F", "8"}, // "-1 234.50 CHF"
        {"fy-NL", ",", ",", ".", ".", "11"},          // "€ 1.234,50-", the sign trailing
        {"nl-NL", ",", ",", ".", ".", "12"},          // "€ -1.234,50"
        {"de-CH", ".", ".", "’", "’", "2"},           // "CHF-1’234.50"
        {"en-US", ".", ".", ",", ",", "1"},           {"de-DE", ",", ",", ".", ".", "8"},
    };
    for (const Case& c : aCases) {
        SCOPED_TRACE(c.sLocale);
        platform::locale::SetCurrent(c.sLocale);
        EXPECT_EQ(m_oInfo.GetDecimalseparator(1), c.sDecimal);
        EXPECT_EQ(m_oInfo.GetMonetaryDecimalseparator(1), c.sMonetaryDecimal);
        EXPECT_EQ(platform::runtime::CStr(m_oInfo.GetThousandSeparator(1)), c.sThousand);
        EXPECT_EQ(m_oInfo.GetMonetaryThousandSeparator(1), c.sMonetaryThousand);
        EXPECT_EQ(m_oInfo.GetNegativeCurrencyMode(1), c.sNegativeMode);
    }
}

TEST_F(LocaleInfoTest, ClipNullCharCutsAtTheFirstNul)
{
    using common::cLocaleInfo;
    EXPECT_EQ(cLocaleInfo::ClipNullChar("abc"), "abc");
    EXPECT_EQ(cLocaleInfo::ClipNullChar(std::string("\0abc", 4)), "");
    EXPECT_EQ(cLocaleInfo::ClipNullChar(std::string("ab\0c", 4)), "ab");
}

} // namespace
