#include "platform/locale/detail/IcuSettings.h"

#include "platform/locale/detail/RegionCodes.h"

#include <unicode/calendar.h>
#include <unicode/datefmt.h>
#include <unicode/dcfmtsym.h>
#include <unicode/decimfmt.h>
#include <unicode/dtfmtsym.h>
#include <unicode/locid.h>
#include <unicode/numberformatter.h>
#include <unicode/numfmt.h>
#include <unicode/smpdtfmt.h>
#include <unicode/uchar.h>
#include <unicode/uloc.h>
#include <unicode/ulocdata.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace platform::locale::detail {

namespace {

std::string Utf8(const icu::UnicodeString& text)
{
    std::string out;
    text.toUTF8String(out);
    return out;
}

bool KnownLanguage(const icu::Locale& locale)
{
    int32_t count = 0;
    const icu::Locale* available = icu::Locale::getAvailableLocales(count);
    for (int32_t i = 0; i < count; ++i) {
        if (std::string_view(available[i].getLanguage()) == locale.getLanguage()) {
            return true;
        }
    }
    return false;
}

// Runs of one pattern letter, as ICU and the runtime both write them.
std::size_t RunLength(std::string_view s, std::size_t i)
{
    std::size_t n = 1;
    while (i + n < s.size() && s[i + n] == s[i]) {
        ++n;
    }
    return n;
}

std::string PictureRun(char letter, std::size_t count)
{
    switch (letter) {
    case 'y':
    case 'u':
        return count == 2 ? "yy" : "yyyy";
    case 'M':
    case 'L':
        return std::string(count > 4 ? 3 : count, 'M');
    case 'E':
    case 'c':
    case 'e':
        return count >= 4 ? "dddd" : "ddd";
    case 'a':
    case 'b':
    case 'B':
        return "tt";
    case 'd':
    case 'H':
    case 'h':
    case 'm':
    case 's':
        return std::string(count, letter);
    case 'G':
        return ""; // era names are not part of the runtime's pictures
    default:
        return std::string(count, letter);
    }
}

std::string PatternOf(const icu::DateFormat* format)
{
    auto* simple = dynamic_cast<const icu::SimpleDateFormat*>(format);
    if (!simple) {
        return {};
    }
    icu::UnicodeString pattern;
    simple->toPattern(pattern);
    return PictureFromIcuPattern(Utf8(pattern));
}

std::string FirstSeparator(const std::string& picture, std::string_view letters)
{
    std::size_t i = 0;
    while (i < picture.size() && letters.find(picture[i]) == std::string_view::npos) {
        ++i;
    }
    while (i < picture.size() && letters.find(picture[i]) != std::string_view::npos) {
        ++i;
    }
    std::size_t end = i;
    while (end < picture.size() && letters.find(picture[end]) == std::string_view::npos &&
           picture[end] != '\'') {
        ++end;
    }
    return picture.substr(i, end - i);
}

void ReadNames(const icu::Locale& locale, Settings& s)
{
    UErrorCode status = U_ZERO_ERROR;
    icu::DateFormatSymbols symbols(locale, status);
    if (U_FAILURE(status)) {
        return;
    }
    int32_t count = 0;
    using S = icu::DateFormatSymbols;
    const icu::UnicodeString* months = symbols.getMonths(count, S::FORMAT, S::WIDE);
    for (int32_t i = 0; i < count && i < 12; ++i) {
        s.monthNames[i] = Utf8(months[i]);
    }
    months = symbols.getMonths(count, S::STANDALONE, S::ABBREVIATED);
    for (int32_t i = 0; i < count && i < 12; ++i) {
        s.monthAbbreviations[i] = Utf8(months[i]);
    }
    // ICU numbers the weekdays from index 1 (Sunday).
    const icu::UnicodeString* days = symbols.getWeekdays(count, S::FORMAT, S::WIDE);
    for (int32_t i = 1; i < count && i <= 7; ++i) {
        s.dayNames[i - 1] = Utf8(days[i]);
    }
    days = symbols.getWeekdays(count, S::STANDALONE, S::ABBREVIATED);
    for (int32_t i = 1; i < count && i <= 7; ++i) {
        s.dayAbbreviations[i - 1] = Utf8(days[i]);
    }
    const icu::UnicodeString* ampm = symbols.getAmPmStrings(count);
    if (count >= 2) {
        s.amDesignator = Utf8(ampm[0]);
        s.pmDesignator = Utf8(ampm[1]);
    }
}

// The system's numbers of the layouts of a negative currency amount by the order of sign
// (S), symbol (C) and number (N), without and with a space beside the symbol.
struct NegativeLayout
{
    const char* order;
    int plain;
    int spaced;
};
constexpr NegativeLayout kNegativeLayouts[] = {
    {"SCN", 1, 9},  {"CSN", 2, 12}, {"CNS", 3, 11}, {"SNC", 5, 8},
    {"NSC", 6, 13}, {"NCS", 7, 10}, {"CN", 0, 14},  {"NC", 4, 15}, // the last two bracketed
};

bool IsSpace(UChar32 c)
{
    return u_isspace(c) || c == 0x00A0 || c == 0x202F;
}

// The mode of the symbol's place alone, for layouts that have no number of their own.
int FallbackNegativeCurrencyMode(const Settings& s)
{
    if (s.currencySymbolFirst)
        return s.currencySymbolSpaced ? 9 : 1;
    return s.currencySymbolSpaced ? 8 : 5;
}

void ReadNumbers(const icu::Locale& locale, Settings& s)
{
    UErrorCode status = U_ZERO_ERROR;
    icu::DecimalFormatSymbols symbols(locale, status);
    if (U_SUCCESS(status)) {
        using D = icu::DecimalFormatSymbols;
        s.decimalSeparator = Utf8(symbols.getSymbol(D::kDecimalSeparatorSymbol));
        s.groupingSeparator = Utf8(symbols.getSymbol(D::kGroupingSeparatorSymbol));
        s.percentSymbol = Utf8(symbols.getSymbol(D::kPercentSymbol));
        s.minusSign = Utf8(symbols.getSymbol(D::kMinusSignSymbol));
        s.plusSign = Utf8(symbols.getSymbol(D::kPlusSignSymbol));
        s.currencyCode = Utf8(symbols.getSymbol(D::kIntlCurrencySymbol));
        s.nativeDigits.clear();
        for (int d = 0; d < 10; ++d) {
            s.nativeDigits += Utf8(symbols.getConstDigitSymbol(d));
        }
        s.currencySymbol = Utf8(symbols.getSymbol(D::kCurrencySymbol));
        s.monetaryDecimalSeparator = Utf8(symbols.getSymbol(D::kMonetarySeparatorSymbol));
        s.monetaryGroupingSeparator = Utf8(symbols.getSymbol(D::kMonetaryGroupingSeparatorSymbol));
    }
    status = U_ZERO_ERROR;
    std::unique_ptr<icu::NumberFormat> currency(
        icu::NumberFormat::createCurrencyInstance(locale, status));
    auto* decimal = dynamic_cast<icu::DecimalFormat*>(currency.get());
    if (U_FAILURE(status) || !decimal) {
        return;
    }
    s.currencyDigits = decimal->getMaximumFractionDigits();
    icu::UnicodeString pattern;
    decimal->toPattern(pattern);
    const int32_t sign = pattern.indexOf(static_cast<char16_t>(0x00A4));
    const int32_t digit = pattern.indexOf(static_cast<char16_t>('0'));
    s.currencySymbolFirst = sign >= 0 && sign < digit;
    if (sign >= 0) {
        const int32_t neighbour = s.currencySymbolFirst ? sign + 1 : sign - 1;
        const char16_t c = neighbour >= 0 && neighbour < pattern.length() ? pattern[neighbour] : 0;
        s.currencySymbolSpaced = c == ' ' || c == 0x00A0 || c == 0x202F;
    }
    icu::UnicodeString negative;
    decimal->format(-1234.5, negative);
    // A layout the system has no number for keeps the one that the symbol's place gives.
    s.negativeCurrencyMode = NegativeCurrencyMode(Utf8(negative), s.minusSign, s.currencySymbol)
                                 .value_or(FallbackNegativeCurrencyMode(s));
}

// Group sizes as the system writes them: the primary size, the secondary one when it
// differs, and a closing 0 for "the last size repeats".
std::string Grouping(const icu::DecimalFormat& format)
{
    if (!format.isGroupingUsed() || format.getGroupingSize() <= 0) {
        return "0";
    }
    const int32_t primary = format.getGroupingSize();
    const int32_t secondary = format.getSecondaryGroupingSize();
    std::string text = std::to_string(primary) + ";";
    if (secondary > 0 && secondary != primary) {
        text += std::to_string(secondary) + ";";
    }
    return text + "0";
}

// Where the sign stands in a formatted currency amount (see Settings::positiveSignPosition).
int SignPosition(const icu::UnicodeString& amount, const icu::UnicodeString& sign,
                 const icu::UnicodeString& symbol)
{
    if (amount.indexOf(static_cast<char16_t>('(')) >= 0) {
        return 0;
    }
    const int32_t signAt = amount.indexOf(sign);
    const int32_t symbolAt = amount.indexOf(symbol);
    if (signAt < 0 || symbolAt < 0 || sign.isEmpty() || symbol.isEmpty()) {
        return 1;
    }
    int32_t firstDigit = -1;
    int32_t lastDigit = -1;
    for (int32_t i = 0; i < amount.length(); ++i) {
        if (u_isdigit(amount.char32At(i))) {
            firstDigit = firstDigit < 0 ? i : firstDigit;
            lastDigit = i;
        }
    }
    const auto isSpace = [&](int32_t i) { return u_isspace(amount[i]) || amount[i] == 0x00A0; };
    // Adjacent when only spaces stand between the two.
    const auto adjacent = [&](int32_t from, int32_t to) {
        for (int32_t i = from; i < to; ++i) {
            if (!isSpace(i)) {
                return false;
            }
        }
        return true;
    };
    const int32_t signEnd = signAt + sign.length();
    const int32_t symbolEnd = symbolAt + symbol.length();
    if (signAt < symbolAt && signAt < firstDigit) {
        return 1;
    }
    if (signAt > symbolAt && signAt > lastDigit) {
        return 2;
    }
    if (signEnd <= symbolAt && adjacent(signEnd, symbolAt)) {
        return 3;
    }
    if (symbolEnd <= signAt && adjacent(symbolEnd, signAt)) {
        return 4;
    }
    return 1;
}

void ReadNumberLayout(const icu::Locale& locale, Settings& s)
{
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::NumberFormat> number(icu::NumberFormat::createInstance(locale, status));
    if (auto* decimal = dynamic_cast<icu::DecimalFormat*>(number.get());
        U_SUCCESS(status) && decimal) {
        s.digitGrouping = Grouping(*decimal);
        s.fractionDigits = decimal->getMaximumFractionDigits();
        s.leadingZero = decimal->getMinimumIntegerDigits() > 0;
    }
    status = U_ZERO_ERROR;
    std::unique_ptr<icu::NumberFormat> currency(
        icu::NumberFormat::createCurrencyInstance(locale, status));
    if (auto* decimal = dynamic_cast<icu::DecimalFormat*>(currency.get());
        U_SUCCESS(status) && decimal) {
        s.currencyGrouping = Grouping(*decimal);
    }
    status = U_ZERO_ERROR;
    icu::UnicodeString code = icu::UnicodeString::fromUTF8(s.currencyCode);
    const icu::CurrencyUnit unit(code.getTerminatedBuffer(), status);
    if (U_FAILURE(status)) {
        return;
    }
    const auto formatter =
        icu::number::NumberFormatter::withLocale(locale).unit(unit).sign(UNUM_SIGN_ALWAYS);
    const icu::UnicodeString symbol = icu::UnicodeString::fromUTF8(s.currencySymbol);
    status = U_ZERO_ERROR;
    const icu::UnicodeString positive = formatter.formatDouble(1, status).toString(status);
    const icu::UnicodeString negative = formatter.formatDouble(-1, status).toString(status);
    if (U_FAILURE(status)) {
        return;
    }
    s.positiveSignPosition =
        SignPosition(positive, icu::UnicodeString::fromUTF8(s.plusSign), symbol);
    s.negativeSignPosition =
        SignPosition(negative, icu::UnicodeString::fromUTF8(s.minusSign), symbol);
}

void ReadCodes(const icu::Locale& locale, Settings& s)
{
    s.languageId = uloc_getLCID(locale.getName());
    s.countryCallingCode = CallingCode(locale.getCountry());
    icu::Locale likely(locale);
    UErrorCode status = U_ZERO_ERROR;
    likely.addLikelySubtags(status);
    std::string script = U_SUCCESS(status) ? likely.getScript() : "";
    // Japanese and Chinese name their system scripts by language and region.
    if (s.languageCode == "ja") {
        script = "Jpan";
    } else if (s.languageCode == "ko") {
        script = "Kore";
    }
    s.oemCodePage = OemCodePage(s.languageCode, script, s.countryCode);
}

void ReadPatterns(const icu::Locale& locale, Settings& s)
{
    using F = icu::DateFormat;
    std::unique_ptr<F> shortDate(F::createDateInstance(F::kShort, locale));
    std::unique_ptr<F> longDate(F::createDateInstance(F::kFull, locale));
    std::unique_ptr<F> shortTime(F::createTimeInstance(F::kShort, locale));
    std::unique_ptr<F> longTime(F::createTimeInstance(F::kMedium, locale));
    // The runtime's regional settings show four-digit years in the short date as well.
    s.shortDatePattern = PatternOf(shortDate.get());
    if (s.shortDatePattern.find("yyyy") == std::string::npos) {
        if (const std::size_t at = s.shortDatePattern.find("yy"); at != std::string::npos) {
            s.shortDatePattern.replace(at, 2, "yyyy");
        }
    }
    s.longDatePattern = PatternOf(longDate.get());
    s.shortTimePattern = PatternOf(shortTime.get());
    s.longTimePattern = PatternOf(longTime.get());
    s.dateSeparator = FirstSeparator(s.shortDatePattern, "yMd");
    s.timeSeparator = FirstSeparator(s.longTimePattern, "Hhms");

    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Calendar> calendar(icu::Calendar::createInstance(locale, status));
    if (U_SUCCESS(status)) {
        s.firstDayOfWeek = static_cast<int>(calendar->getFirstDayOfWeek(status)); // Sunday = 1
        switch (calendar->getMinimalDaysInFirstWeek()) {
        case 4:
            s.firstWeekOfYear = 2;
            break;
        case 7:
            s.firstWeekOfYear = 3;
            break;
        default:
            s.firstWeekOfYear = 1;
        }
    }
}

} // namespace

std::string CanonicalName(std::string_view name)
{
    std::string tag(name.substr(0, name.find_first_of(".@")));
    if (tag == "C" || tag == "POSIX") {
        return "en-US";
    }
    for (char& c : tag) {
        if (c == '_') {
            c = '-';
        }
    }
    UErrorCode status = U_ZERO_ERROR;
    icu::Locale locale = icu::Locale::forLanguageTag(tag, status);
    if (U_FAILURE(status) || locale.isBogus() || *locale.getLanguage() == '\0' ||
        !KnownLanguage(locale)) {
        return {};
    }
    if (*locale.getCountry() == '\0') {
        locale.addLikelySubtags(status);
    }
    const std::string country = locale.getCountry();
    return country.empty() ? std::string(locale.getLanguage())
                           : std::string(locale.getLanguage()) + "-" + country;
}

Settings ReadSettings(const std::string& canonicalName)
{
    UErrorCode status = U_ZERO_ERROR;
    const icu::Locale locale = icu::Locale::forLanguageTag(canonicalName, status);
    Settings s;
    s.name = canonicalName;
    s.languageCode = locale.getLanguage();
    s.countryCode = locale.getCountry();
    icu::UnicodeString text;
    s.languageName = Utf8(locale.getDisplayLanguage(locale, text));
    s.englishLanguageName = Utf8(locale.getDisplayLanguage(icu::Locale::getEnglish(), text));
    s.countryName = Utf8(locale.getDisplayCountry(locale, text));
    s.englishCountryName = Utf8(locale.getDisplayCountry(icu::Locale::getEnglish(), text));
    s.languageCode3 = locale.getISO3Language();
    s.countryCode3 = locale.getISO3Country();
    UErrorCode measureStatus = U_ZERO_ERROR;
    s.metric = ulocdata_getMeasurementSystem(canonicalName.c_str(), &measureStatus) != UMS_US ||
               U_FAILURE(measureStatus);
    ReadNumbers(locale, s);
    ReadNumberLayout(locale, s);
    ReadCodes(locale, s);
    ReadPatterns(locale, s);
    ReadNames(locale, s);
    return s;
}

std::optional<int> NegativeCurrencyMode(std::string_view amount, std::string_view minusSign,
                                        std::string_view currencySymbol)
{
    // Direction marks say nothing about the layout.
    icu::UnicodeString text;
    const icu::UnicodeString raw = icu::UnicodeString::fromUTF8(amount);
    for (int32_t i = 0; i < raw.length(); i = raw.moveIndex32(i, 1))
        if (u_charType(raw.char32At(i)) != U_FORMAT_CHAR)
            text.append(raw.char32At(i));
    const icu::UnicodeString symbol = icu::UnicodeString::fromUTF8(currencySymbol);
    int32_t firstDigit = -1, lastDigit = -1;
    for (int32_t i = 0; i < text.length(); ++i)
        if (u_isdigit(text.char32At(i))) {
            firstDigit = firstDigit < 0 ? i : firstDigit;
            lastDigit = i;
        }
    if (firstDigit < 0 || symbol.isEmpty())
        return std::nullopt;
    const auto outsideNumber = [&](int32_t at) { return at < firstDigit || at > lastDigit; };
    int32_t symbolAt = text.indexOf(symbol);
    while (symbolAt >= 0 && !outsideNumber(symbolAt))
        symbolAt = text.indexOf(symbol, symbolAt + 1);
    if (symbolAt < 0)
        return std::nullopt;
    const bool bracketed = text.indexOf(u'(') >= 0 && text.indexOf(u')') >= 0;
    int32_t signAt = -1;
    if (!bracketed) {
        for (const icu::UnicodeString& sign :
             {icu::UnicodeString::fromUTF8(minusSign), icu::UnicodeString(u"-"),
              icu::UnicodeString(u"\u2212")}) {
            if (sign.isEmpty())
                continue;
            for (int32_t at = text.indexOf(sign); at >= 0; at = text.indexOf(sign, at + 1))
                if (outsideNumber(at) && (at < symbolAt || at >= symbolAt + symbol.length())) {
                    signAt = at;
                    break;
                }
            if (signAt >= 0)
                break;
        }
        if (signAt < 0)
            return std::nullopt;
    }
    // The parts in their order, each with where it begins and ends.
    struct Part
    {
        char kind;
        int32_t begin, end;
    };
    std::vector<Part> parts = {{'C', symbolAt, symbolAt + symbol.length()},
                               {'N', firstDigit, lastDigit + 1}};
    if (signAt >= 0)
        parts.push_back({'S', signAt, signAt + 1});
    std::sort(parts.begin(), parts.end(),
              [](const Part& a, const Part& b) { return a.begin < b.begin; });
    std::string order;
    std::size_t symbolIndex = 0;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        order += parts[i].kind;
        if (parts[i].kind == 'C')
            symbolIndex = i;
    }
    // The space that counts is the one beside the symbol: towards the number when the symbol
    // stands between sign and number.
    std::size_t neighbour = symbolIndex == 0 ? 1 : symbolIndex - 1;
    if (symbolIndex == 1 && parts.size() == 3)
        neighbour = parts[0].kind == 'N' ? 0 : 2;
    const Part& left = parts[std::min(symbolIndex, neighbour)];
    const Part& right = parts[std::max(symbolIndex, neighbour)];
    if (right.begin < left.end)
        return std::nullopt;
    for (int32_t i = left.end; i < right.begin; ++i)
        if (!IsSpace(text.charAt(i)))
            return std::nullopt;
    const bool spaced = right.begin > left.end;
    for (const NegativeLayout& layout : kNegativeLayouts)
        if (order == layout.order)
            return spaced ? layout.spaced : layout.plain;
    return std::nullopt;
}

std::string PictureFromIcuPattern(std::string_view p)
{
    std::string out;
    std::size_t i = 0;
    while (i < p.size()) {
        const char c = p[i];
        if (c == '\'') {
            // A quoted literal ('' is one quote) stays quoted in the picture.
            std::size_t end = i + 1;
            while (end < p.size() && p[end] != '\'') {
                ++end;
            }
            out.append(p.substr(i, end + 1 - i));
            i = end + 1;
        } else if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
            const std::size_t n = RunLength(p, i);
            out += PictureRun(c, n);
            i += n;
        } else if (p.substr(i, 3) == "\xE2\x80\xAF") { // narrow no-break space
            out += ' ';
            i += 3;
        } else if (p.substr(i, 2) == "\xC2\xA0") { // no-break space
            out += ' ';
            i += 2;
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

} // namespace platform::locale::detail
