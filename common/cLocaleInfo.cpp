#include "common/cLocaleInfo.h"

#include "platform/locale/Locale.h"
#include "platform/runtime/Conversion.h"

#include <cstdio>

namespace common {
namespace {

namespace loc = platform::locale;
namespace rt = platform::runtime;

const loc::Settings& Selected(std::int32_t LCID)
{
    return LCID == 1 ? loc::Current() : loc::Get(loc::LocaleNameFromEnvironment());
}

// Which of day (d), month (M) and year (y) comes first in a pattern: 0 M-D-Y, 1 D-M-Y,
// 2 Y-M-D; empty when the pattern has none of them.
std::string Ordering(const std::string& sPattern)
{
    const auto nFirst = sPattern.find_first_of("dMy");
    if (nFirst == std::string::npos)
        return {};
    // Skip day names ("dddd, ...") as the long date format starts with them.
    auto nPos = nFirst;
    while (nPos != std::string::npos && sPattern.compare(nPos, 3, "ddd") == 0)
        nPos = sPattern.find_first_of("dMy", sPattern.find_first_not_of('d', nPos));
    if (nPos == std::string::npos)
        return {};
    switch (sPattern[nPos]) {
    case 'M':
        return "0";
    case 'd':
        return "1";
    default:
        return "2";
    }
}

// The system writes its locale identifiers as four hex digits.
std::string HexId(std::uint32_t lId)
{
    if (lId == 0)
        return {};
    char sBuffer[16];
    std::snprintf(sBuffer, sizeof sBuffer, "%04x", lId);
    return sBuffer;
}

std::string NonZero(int n)
{
    return n == 0 ? std::string() : std::to_string(n);
}

std::string PositiveCurrencyMode(const loc::Settings& s)
{
    return std::to_string((s.currencySymbolFirst ? 0 : 1) + (s.currencySymbolSpaced ? 2 : 0));
}

std::string Answer(std::uint32_t lType, const loc::Settings& s)
{
    if (lType >= 56 && lType <= 67)
        return s.monthNames[lType - 56];
    if (lType >= 68 && lType <= 79)
        return s.monthAbbreviations[lType - 68];
    if (lType >= 42 && lType <= 48) // Monday first
        return s.dayNames[(lType - 42 + 1) % 7];
    if (lType >= 49 && lType <= 55)
        return s.dayAbbreviations[(lType - 49 + 1) % 7];
    switch (lType) {
    case 1:
    case 9:
        return HexId(s.languageId);
    case 2:
        return s.languageName + " (" + s.countryName + ")";
    case 3:
        return rt::UCase(s.languageCode3);
    case 4:
        return s.languageName;
    case 5:
    case 10:
        return NonZero(s.countryCallingCode);
    case 6:
    case 8:
        return s.countryName;
    case 7:
        return rt::UCase(s.countryCode3);
    case 11:
        return std::to_string(s.oemCodePage);
    case 13:
        return s.metric ? "0" : "1";
    case 14:
        return s.decimalSeparator;
    case 22:
        return s.monetaryDecimalSeparator;
    case 15:
        return s.groupingSeparator;
    case 23:
        return s.monetaryGroupingSeparator;
    case 16:
        return s.digitGrouping;
    case 24:
        return s.currencyGrouping;
    case 17:
        return std::to_string(s.fractionDigits);
    case 18:
        return s.leadingZero ? "1" : "0";
    case 19:
        return s.nativeDigits;
    case 20:
        return s.currencySymbol;
    case 21:
        return s.currencyCode;
    case 25:
    case 26:
        return std::to_string(s.currencyDigits);
    case 27:
        return PositiveCurrencyMode(s);
    case 28:
        return std::to_string(s.negativeCurrencyMode);
    case 29:
        return s.dateSeparator;
    case 30:
        return s.timeSeparator;
    case 31:
        return s.shortDatePattern;
    case 32:
        return s.longDatePattern;
    case 33:
        return Ordering(s.shortDatePattern);
    case 34:
        return Ordering(s.longDatePattern);
    case 35:
        return s.longTimePattern.find('H') != std::string::npos ? "1" : "0";
    case 36:
        return s.shortDatePattern.find("yyyy") != std::string::npos ? "1" : "0";
    case 38:
        return s.shortDatePattern.find("dd") != std::string::npos ? "1" : "0";
    case 40:
        return s.amDesignator;
    case 41:
        return s.pmDesignator;
    case 80:
        return s.plusSign;
    case 81:
        return s.minusSign;
    case 82:
        return std::to_string(s.positiveSignPosition);
    case 83:
        return std::to_string(s.negativeSignPosition);
    case 0x1001:
        return s.englishLanguageName;
    case 0x1002:
        return s.englishCountryName;
    case 0x1003:
        return s.longTimePattern;
    default:
        return {};
    }
}

} // namespace

std::string cLocaleInfo::Query(std::uint32_t lType, std::int32_t LCID)
{
    return ClipNullChar(Answer(lType, Selected(LCID)));
}

std::string cLocaleInfo::ClipNullChar(const std::string& Text)
{
    return Text.substr(0, Text.find('\0'));
}

rt::Variant cLocaleInfo::GetDoNotUseUserOverwrites(std::int32_t LCID) const
{
    // The flag alone names no setting: the query answers nothing.
    return rt::Variant(Query(0, LCID));
}

std::string cLocaleInfo::GetPositiveSign(std::int32_t LCID) const
{
    return Query(80, LCID);
}
std::string cLocaleInfo::GetPositiveSignPosition(std::int32_t LCID) const
{
    return Query(82, LCID);
}
std::string cLocaleInfo::GetNegativeSign(std::int32_t LCID) const
{
    return Query(81, LCID);
}
std::string cLocaleInfo::GetNegativeSignPosition(std::int32_t LCID) const
{
    return Query(83, LCID);
}
std::string cLocaleInfo::GetMeasure(std::int32_t LCID) const
{
    return Query(13, LCID);
}
std::string cLocaleInfo::GetLeadingZerosForDecimal(std::int32_t LCID) const
{
    return Query(18, LCID);
}
std::string cLocaleInfo::GetNativeASCII0to9(std::int32_t LCID) const
{
    return Query(19, LCID);
}
std::string cLocaleInfo::GetNumerOfFractionalDigits(std::int32_t LCID) const
{
    return Query(17, LCID);
}
std::string cLocaleInfo::GetDecimalseparator(std::int32_t LCID) const
{
    return Query(14, LCID);
}
rt::Variant cLocaleInfo::GetThousandSeparator(std::int32_t LCID) const
{
    return rt::Variant(Query(15, LCID));
}
std::string cLocaleInfo::GetDigitGrouping(std::int32_t LCID) const
{
    return Query(16, LCID);
}
std::string cLocaleInfo::GetMonetaryDecimalseparator(std::int32_t LCID) const
{
    return Query(22, LCID);
}
std::string cLocaleInfo::GetMonetaryThousandSeparator(std::int32_t LCID) const
{
    return Query(23, LCID);
}
std::string cLocaleInfo::GetLocalMonetarySymbol(std::int32_t LCID) const
{
    return Query(20, LCID);
}
std::string cLocaleInfo::GetInternationalMonetarySymbol(std::int32_t LCID) const
{
    return Query(21, LCID);
}
std::string cLocaleInfo::GetInternationalMonetaryDigits(std::int32_t LCID) const
{
    return Query(26, LCID);
}
std::string cLocaleInfo::GetLocalMonetaryDigits(std::int32_t LCID) const
{
    return Query(25, LCID);
}
std::string cLocaleInfo::GetMonetaryGrouping(std::int32_t LCID) const
{
    return Query(24, LCID);
}
std::string cLocaleInfo::GetPositiveCurrencyMode(std::int32_t LCID) const
{
    return Query(27, LCID);
}
std::string cLocaleInfo::GetNegativeCurrencyMode(std::int32_t LCID) const
{
    return Query(28, LCID);
}
std::string cLocaleInfo::GetShortDateFormat(std::int32_t LCID) const
{
    return Query(31, LCID);
}
std::string cLocaleInfo::GetLongDateFormat(std::int32_t LCID) const
{
    return Query(32, LCID);
}
std::string cLocaleInfo::GetShortDateOrdering(std::int32_t LCID) const
{
    return Query(33, LCID);
}
std::string cLocaleInfo::GetCenturyFormat(std::int32_t LCID) const
{
    return Query(36, LCID);
}
std::string cLocaleInfo::GetTimeSeparator(std::int32_t LCID) const
{
    return Query(30, LCID);
}
std::string cLocaleInfo::GetTimeFormatSpecifier(std::int32_t LCID) const
{
    return Query(35, LCID);
}
std::string cLocaleInfo::GetTimeFormatString(std::int32_t LCID) const
{
    return Query(0x1003, LCID);
}
std::string cLocaleInfo::GetAMDesignator(std::int32_t LCID) const
{
    return Query(40, LCID);
}
std::string cLocaleInfo::GetPMDesignator(std::int32_t LCID) const
{
    return Query(41, LCID);
}
std::string cLocaleInfo::GetDateSeparator(std::int32_t LCID) const
{
    return Query(29, LCID);
}
std::string cLocaleInfo::GetLongDateFormatOrderingNumber(std::int32_t LCID) const
{
    return Query(34, LCID);
}

std::string cLocaleInfo::GetLongDateFormatOrderingText(std::int32_t LCID) const
{
    switch (rt::CLng(rt::Variant(Query(34, LCID)))) {
    case 0:
        return "Month-Day-Year";
    case 1:
        return "Day-Month-Year";
    case 2:
        return "Year-Month-Day";
    default:
        return {};
    }
}

std::string cLocaleInfo::GetLeadingZerosInDayField(std::int32_t LCID) const
{
    return Query(38, LCID);
}
std::string cLocaleInfo::GetCountryCode(std::int32_t LCID) const
{
    return Query(5, LCID);
}
std::string cLocaleInfo::GetDefaultCountryCode(std::int32_t LCID) const
{
    return Query(10, LCID);
}
std::string cLocaleInfo::GetDefaultCodePage(std::int32_t LCID) const
{
    return Query(11, LCID);
}
std::string cLocaleInfo::GetDefaultLanguageID(std::int32_t LCID) const
{
    return Query(9, LCID);
}
std::string cLocaleInfo::GetLanguageID(std::int32_t LCID) const
{
    return Query(1, LCID);
}

std::string cLocaleInfo::GetMonthName(std::int16_t Month, bool Abbreviated, std::int32_t LCID) const
{
    if (Month < 1 || Month > 12)
        return {};
    return Query(static_cast<std::uint32_t>((Abbreviated ? 67 : 55) + Month), LCID);
}

std::string cLocaleInfo::GetDayName(std::int16_t Day, bool Abbreviated, std::int32_t LCID) const
{
    if (Day < 1 || Day > 7)
        return {};
    return Query(static_cast<std::uint32_t>((Abbreviated ? 48 : 41) + Day), LCID);
}

std::string cLocaleInfo::GetLanguage(std::int32_t NameType, std::int32_t LCID) const
{
    static constexpr std::uint32_t kTypes[] = {2, 3, 4, 0x1001};
    if (static_cast<std::uint32_t>(NameType) > 3)
        return {};
    return Query(kTypes[NameType], LCID);
}

std::string cLocaleInfo::GetCountryName(std::int32_t NameType, std::int32_t LCID) const
{
    static constexpr std::uint32_t kTypes[] = {6, 7, 8, 0x1002};
    if (static_cast<std::uint32_t>(NameType) > 3)
        return {};
    return Query(kTypes[NameType], LCID);
}

} // namespace common
