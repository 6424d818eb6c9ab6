#pragma once

#include "platform/runtime/Variant.h"

#include <cstdint>
#include <string>

namespace common {

/// The regional settings as text, one member per setting, as the system's locale-information
/// call answers them. The last argument of each member selects the locale: 0 (the default)
/// the system's default locale (the one the environment names), 1 the user's (the process's
/// current locale), any other value the system's as well. Numeric settings come back as digit
/// text ("1", "2"). A setting the locale data cannot answer gives empty text.
class cLocaleInfo
{
public:
    platform::runtime::Variant GetDoNotUseUserOverwrites(std::int32_t LCID = 0) const;
    std::string GetPositiveSign(std::int32_t LCID = 0) const;
    std::string GetPositiveSignPosition(std::int32_t LCID = 0) const;
    std::string GetNegativeSign(std::int32_t LCID = 0) const;
    std::string GetNegativeSignPosition(std::int32_t LCID = 0) const;
    std::string GetMeasure(std::int32_t LCID = 0) const;
    std::string GetLeadingZerosForDecimal(std::int32_t LCID = 0) const;
    std::string GetNativeASCII0to9(std::int32_t LCID = 0) const;
    std::string GetNumerOfFractionalDigits(std::int32_t LCID = 0) const;
    std::string GetDecimalseparator(std::int32_t LCID = 0) const;
    platform::runtime::Variant GetThousandSeparator(std::int32_t LCID = 0) const;
    std::string GetDigitGrouping(std::int32_t LCID = 0) const;
    std::string GetMonetaryDecimalseparator(std::int32_t LCID = 0) const;
    std::string GetMonetaryThousandSeparator(std::int32_t LCID = 0) const;
    std::string GetLocalMonetarySymbol(std::int32_t LCID = 0) const;
    std::string GetInternationalMonetarySymbol(std::int32_t LCID = 0) const;
    std::string GetInternationalMonetaryDigits(std::int32_t LCID = 0) const;
    std::string GetLocalMonetaryDigits(std::int32_t LCID = 0) const;
    std::string GetMonetaryGrouping(std::int32_t LCID = 0) const;
    std::string GetPositiveCurrencyMode(std::int32_t LCID = 0) const;
    std::string GetNegativeCurrencyMode(std::int32_t LCID = 0) const;
    std::string GetShortDateFormat(std::int32_t LCID = 0) const;
    std::string GetLongDateFormat(std::int32_t LCID = 0) const;
    std::string GetShortDateOrdering(std::int32_t LCID = 0) const;
    std::string GetCenturyFormat(std::int32_t LCID = 0) const;
    std::string GetTimeSeparator(std::int32_t LCID = 0) const;
    std::string GetTimeFormatSpecifier(std::int32_t LCID = 0) const;
    std::string GetTimeFormatString(std::int32_t LCID = 0) const;
    std::string GetAMDesignator(std::int32_t LCID = 0) const;
    std::string GetPMDesignator(std::int32_t LCID = 0) const;
    std::string GetDateSeparator(std::int32_t LCID = 0) const;
    std::string GetLongDateFormatOrderingNumber(std::int32_t LCID = 0) const;
    /// "Month-Day-Year", "Day-Month-Year" or "Year-Month-Day"; raises error 13 when the
    /// ordering is unknown (empty).
    std::string GetLongDateFormatOrderingText(std::int32_t LCID = 0) const;
    std::string GetLeadingZerosInDayField(std::int32_t LCID = 0) const;
    std::string GetCountryCode(std::int32_t LCID = 0) const;
    std::string GetDefaultCountryCode(std::int32_t LCID = 0) const;
    std::string GetDefaultCodePage(std::int32_t LCID = 0) const;
    std::string GetDefaultLanguageID(std::int32_t LCID = 0) const;
    std::string GetLanguageID(std::int32_t LCID = 0) const;
    /// Month 1 to 12; empty text otherwise.
    std::string GetMonthName(std::int16_t Month, bool Abbreviated = false,
                             std::int32_t LCID = 0) const;
    /// Day 1 (Monday) to 7 (Sunday); empty text otherwise.
    std::string GetDayName(std::int16_t Day, bool Abbreviated = false, std::int32_t LCID = 0) const;
    /// NameType 0 the name in the user's language, 1 the three-letter abbreviation, 2 the
    /// native name, 3 the English name; empty text otherwise.
    std::string GetLanguage(std::int32_t NameType, std::int32_t LCID = 0) const;
    /// The same for the country.
    std::string GetCountryName(std::int32_t NameType, std::int32_t LCID = 0) const;
    /// The text up to its first NUL character.
    static std::string ClipNullChar(const std::string& Text);

    /// The setting of the given information type (the system's numbers: 14 decimal
    /// separator, 56 the first month's name, ...); empty text for an unknown type.
    static std::string Query(std::uint32_t lType, std::int32_t LCID);
};

} // namespace common
