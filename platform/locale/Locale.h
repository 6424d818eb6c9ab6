#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

/// Regional settings of the process, read from ICU's locale data. The current locale is taken
/// from LC_ALL, LC_MESSAGES or LANG (the first that is set, "de_DE.UTF-8" style) and can be
/// replaced for the whole process with SetCurrent, which is what tests do.
namespace platform::locale {

/// The regional settings of one locale. Date and time patterns use the runtime's picture tokens
/// ("dd.MM.yyyy", "dddd", "MMMM", "HH:mm:ss", "h:mm:ss tt"); text in single quotes is literal.
struct Settings
{
    std::string name;                               ///< BCP 47 name, "de-DE"
    std::string languageCode;                       ///< "de"
    std::string countryCode;                        ///< "DE"
    std::string languageName;                       ///< in the locale's own language, "Deutsch"
    std::string englishLanguageName;                ///< "German"
    std::string countryName;                        ///< in the locale's own language, "Deutschland"
    std::string englishCountryName;                 ///< "Germany"
    std::string decimalSeparator;                   ///< "," for de-DE
    std::string groupingSeparator;                  ///< "." for de-DE
    std::string percentSymbol;                      ///< "%"
    std::string minusSign;                          ///< "-"
    std::string plusSign;                           ///< "+"
    std::string nativeDigits;                       ///< the ten digits, "0123456789"
    bool metric = true;                             ///< false for the US measurement system
    std::string languageCode3;                      ///< ISO 639-2, "deu"
    std::string countryCode3;                       ///< ISO 3166 alpha-3, "DEU"
    std::string currencyCode;                       ///< ISO 4217, "EUR"
    std::string currencySymbol;                     ///< "€" for de-DE, "$" for en-US
    bool currencySymbolFirst = false;               ///< "$1.00" rather than "1,00 €"
    bool currencySymbolSpaced = false;              ///< a space between the amount and the symbol
    int currencyDigits = 2;                         ///< decimals of the Currency format
    std::string shortDatePattern;                   ///< "dd.MM.yyyy", "M/d/yyyy"
    std::string longDatePattern;                    ///< "dddd, d. MMMM yyyy", "dddd, MMMM d, yyyy"
    std::string shortTimePattern;                   ///< "HH:mm", "h:mm tt"
    std::string longTimePattern;                    ///< "HH:mm:ss", "h:mm:ss tt"
    std::string dateSeparator;                      ///< "." for de-DE, "/" for en-US
    std::string timeSeparator;                      ///< ":"
    std::string amDesignator;                       ///< "AM"
    std::string pmDesignator;                       ///< "PM"
    std::array<std::string, 12> monthNames;         ///< January first
    std::array<std::string, 12> monthAbbreviations; ///< "Jan", ...
    std::array<std::string, 7> dayNames;            ///< Sunday first
    std::array<std::string, 7> dayAbbreviations;    ///< Sunday first, "So" / "Sun"
    int firstDayOfWeek = 1;                         ///< 1 = Sunday .. 7 = Saturday
    int firstWeekOfYear = 1; ///< 1 week of Jan 1, 2 first four-day week, 3 first full week
    /// Digit grouping of numbers as group sizes from the decimal separator on, the last
    /// repeating: "3;0" (groups of three), "3;2;0" (three, then twos), "0" (no grouping).
    std::string digitGrouping = "3;0";
    std::string currencyGrouping = "3;0"; ///< the same for currency amounts
    int fractionDigits = 2;               ///< decimals of the locale's number format
    bool leadingZero = true;              ///< "0.5" rather than ".5"
    /// Where the sign of a currency amount stands: 0 parentheses around amount and symbol,
    /// 1 before amount and symbol, 2 after both, 3 right before the symbol, 4 right after it.
    int positiveSignPosition = 1;
    int negativeSignPosition = 1;
    std::uint32_t languageId = 0;          ///< the system's locale identifier, 0x0407 for de-DE
    int countryCallingCode = 0;            ///< international calling code of the country, 49
    int oemCodePage = 1;                   ///< the system's OEM code page; 1 where it has none
    std::string monetaryDecimalSeparator;  ///< of currency amounts: "." for fr-CH
    std::string monetaryGroupingSeparator; ///< of currency amounts: "." for de-AT
    /// The layout of a negative currency amount, numbered as the system numbers it: 0 "($1.1)",
    /// 1 "-$1.1", 2 "$-1.1", 3 "$1.1-", 4 "(1.1$)", 5 "-1.1$", 6 "1.1-$", 7 "1.1$-",
    /// 8 "-1.1 $", 9 "-$ 1.1", 10 "1.1 $-", 11 "$ 1.1-", 12 "$ -1.1", 13 "1.1- $",
    /// 14 "($ 1.1)", 15 "(1.1 $)".
    int negativeCurrencyMode = 1;
};

/// The settings of the current locale.
const Settings& Current();

/// The settings of a named locale ("de-DE", "de_DE.UTF-8", "en"); computed once and kept.
/// Throws platform::runtime::Error 5 when ICU knows no such locale.
const Settings& Get(std::string_view name);

/// Of two wordings of a text, the one in the current locale's language: German where it speaks
/// German, English otherwise. For the reasons the platform's layers give, which reach the
/// person inside the messages of the layers above.
inline std::string InCurrentLanguage(std::string german, std::string english)
{
    return Current().languageCode == "de" ? std::move(german) : std::move(english);
}

/// Makes `name` the current locale of the process ("de-DE", "en_US.UTF-8").
/// Throws platform::runtime::Error 5 when ICU knows no such locale.
void SetCurrent(std::string_view name);

/// Chooses the current locale again from LC_ALL, LC_MESSAGES and LANG; "C", "POSIX", unset or
/// unknown locales give en-US.
void ResetFromEnvironment();

/// The locale that the environment names, as a BCP 47 name ("de-DE"); en-US when none.
std::string LocaleNameFromEnvironment();

/// The current locale's name, "de-DE".
std::string CurrentName();
/// The current decimal separator.
std::string DecimalSeparator();
/// The current digit-grouping separator.
std::string GroupingSeparator();
/// The current short date pattern in picture tokens ("dd.MM.yyyy").
std::string ShortDatePattern();
/// The current long date pattern in picture tokens.
std::string LongDatePattern();
/// The current short time pattern in picture tokens.
std::string ShortTimePattern();
/// The current long time pattern in picture tokens.
std::string LongTimePattern();
/// The name of a month 1-12 in the current locale; abbreviated when `abbreviated`.
std::string MonthName(int month, bool abbreviated = false);
/// The name of a weekday 1 (Sunday) .. 7 (Saturday); abbreviated when `abbreviated`.
std::string DayName(int sundayBasedDay, bool abbreviated = false);
/// The current first day of week, 1 = Sunday .. 7 = Saturday.
int FirstDayOfWeek();
/// The current first-week-of-year rule, 1 Jan 1, 2 first four-day week, 3 first full week.
int FirstWeekOfYear();
/// The current language name in its own language ("Deutsch").
std::string LanguageName();
/// The current country name in its own language ("Deutschland").
std::string CountryName();

} // namespace platform::locale
