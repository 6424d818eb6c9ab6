#include "platform/runtime/Format.h"

#include "platform/locale/Locale.h"
#include "platform/runtime/Conversion.h"
#include "platform/runtime/Strings.h"
#include "platform/runtime/detail/DateText.h"
#include "platform/runtime/detail/FormatPatterns.h"
#include "platform/runtime/detail/NumberText.h"

#include <optional>

namespace platform::runtime {

namespace {

using platform::locale::Settings;

// The value as a number for a number format, or nothing when it is text that is no number.
std::optional<double> AsNumber(const Variant& value)
{
    if (value.IsString()) {
        return IsNumeric(value) ? std::optional<double>(CDbl(value)) : std::nullopt;
    }
    return CDbl(value);
}

// The value as a date for a date format, or nothing when it is text that is no date.
std::optional<Date> AsDate(const Variant& value)
{
    if (value.IsString()) {
        if (IsDate(value)) {
            return CDate(value);
        }
        return IsNumeric(value) ? std::optional<Date>(Date(CDbl(value))) : std::nullopt;
    }
    return CDate(value);
}

std::string CurrencyFormat(double value, const Settings& s)
{
    const detail::DecimalDigits digits = detail::RoundDecimal(value, s.currencyDigits);
    std::string amount =
        detail::Group(digits.integer.empty() ? "0" : digits.integer, s.groupingSeparator);
    if (!digits.fraction.empty()) {
        amount += s.decimalSeparator + digits.fraction;
    }
    const std::string space = s.currencySymbolSpaced ? " " : "";
    std::string text = s.currencySymbolFirst ? s.currencySymbol + space + amount
                                             : amount + space + s.currencySymbol;
    const bool zero =
        digits.integer.empty() && digits.fraction.find_first_not_of('0') == std::string::npos;
    return value < 0.0 && !zero ? s.minusSign + text : text;
}

std::optional<std::string> NamedNumber(std::string_view name, double value, const Settings& s)
{
    const auto is = [&](std::string_view candidate) { return TextEquals(name, candidate); };
    if (is("General Number")) {
        return detail::GeneralNumber(value, 15, s.decimalSeparator);
    }
    if (is("Currency")) {
        return CurrencyFormat(value, s);
    }
    if (is("Fixed")) {
        return detail::FormatNumberPattern(value, "0.00", s);
    }
    if (is("Standard")) {
        return detail::FormatNumberPattern(value, "#,##0.00", s);
    }
    if (is("Percent")) {
        return detail::FormatNumberPattern(value, "0.00%", s);
    }
    if (is("Scientific")) {
        return detail::FormatNumberPattern(value, "0.00E+00", s);
    }
    if (is("Yes/No")) {
        return std::string(value != 0.0 ? "Yes" : "No");
    }
    if (is("True/False")) {
        return std::string(value != 0.0 ? "True" : "False");
    }
    if (is("On/Off")) {
        return std::string(value != 0.0 ? "On" : "Off");
    }
    return std::nullopt;
}

std::optional<std::string> NamedDate(std::string_view name, Date date, const Settings& s)
{
    const auto is = [&](std::string_view candidate) { return TextEquals(name, candidate); };
    if (is("General Date")) {
        return detail::GeneralDate(date, s);
    }
    const std::string_view picture = is("Long Date")     ? std::string_view(s.longDatePattern)
                                     : is("Medium Date") ? std::string_view("dd-MMM-yy")
                                     : is("Short Date")  ? std::string_view(s.shortDatePattern)
                                     : is("Long Time")   ? std::string_view(s.longTimePattern)
                                     : is("Medium Time") ? std::string_view("hh:mm tt")
                                     : is("Short Time")  ? std::string_view("HH:mm")
                                                         : std::string_view();
    if (picture.empty()) {
        return std::nullopt;
    }
    return detail::RenderPicture(date, picture, s);
}

bool IsOneOf(std::string_view name, std::initializer_list<std::string_view> candidates)
{
    for (std::string_view candidate : candidates) {
        if (TextEquals(name, candidate)) {
            return true;
        }
    }
    return false;
}

bool IsNamedDate(std::string_view name)
{
    return IsOneOf(name, {"General Date", "Long Date", "Medium Date", "Short Date", "Long Time",
                          "Medium Time", "Short Time"});
}

bool IsNamedNumber(std::string_view name)
{
    return IsOneOf(name, {"General Number", "Currency", "Fixed", "Standard", "Percent",
                          "Scientific", "Yes/No", "True/False", "On/Off"});
}

std::string Unchanged(const Variant& value)
{
    return *value.Get<std::string>();
}

} // namespace

std::string Format(const Variant& value, std::string_view format, DayOfWeek firstDay,
                   FirstWeekOfYear firstWeek)
{
    if (value.IsEmpty() || value.IsNull()) {
        return {};
    }
    if (format.empty()) {
        return CStr(value);
    }
    const Settings& s = platform::locale::Current();
    if (IsNamedNumber(format)) {
        const std::optional<double> number = AsNumber(value);
        return number ? *NamedNumber(format, *number, s) : Unchanged(value);
    }
    if (IsNamedDate(format) || detail::IsDatePattern(format)) {
        const std::optional<Date> date = AsDate(value);
        if (!date) {
            return Unchanged(value);
        }
        if (std::optional<std::string> named = NamedDate(format, *date, s)) {
            return *named;
        }
        return detail::FormatDatePattern(*date, format, firstDay, firstWeek, s);
    }
    const std::optional<double> number = AsNumber(value);
    if (!number) {
        return Unchanged(value);
    }
    return detail::FormatNumberPattern(*number, format, s);
}

} // namespace platform::runtime
