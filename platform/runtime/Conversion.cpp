#include "platform/runtime/Conversion.h"

#include "platform/locale/Locale.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/Strings.h"
#include "platform/runtime/detail/DateText.h"
#include "platform/runtime/detail/NumberText.h"

#include <cfloat>
#include <cmath>
#include <cstdio>

namespace platform::runtime {

namespace {

template <class... F> struct Overloaded : F...
{
    using F::operator()...;
};
template <class... F> Overloaded(F...) -> Overloaded<F...>;

std::string CurrencyText(Currency value, std::string_view decimalSeparator)
{
    const std::int64_t scaled = value.Scaled();
    // The magnitude of INT64_MIN does not fit; work with unsigned.
    const std::uint64_t magnitude =
        scaled < 0 ? 0 - static_cast<std::uint64_t>(scaled) : static_cast<std::uint64_t>(scaled);
    std::string text = (scaled < 0 ? "-" : "") + std::to_string(magnitude / 10000);
    std::uint64_t fraction = magnitude % 10000;
    if (fraction != 0) {
        char digits[8];
        std::snprintf(digits, sizeof digits, "%04u", static_cast<unsigned>(fraction));
        std::string decimals(digits);
        decimals.erase(decimals.find_last_not_of('0') + 1);
        text += std::string(decimalSeparator) + decimals;
    }
    return text;
}

double RoundHalfEven(double value)
{
    return std::nearbyint(value);
}

template <class T> T RoundedInteger(const Variant& value)
{
    if (const Currency* c = value.Get<Currency>()) {
        // Exact: half-to-even on the scaled integer.
        const std::int64_t scaled = c->Scaled();
        std::int64_t whole = scaled / 10000;
        const std::int64_t rest = scaled % 10000;
        if (rest > 5000 || (rest == 5000 && whole % 2 != 0)) {
            ++whole;
        } else if (rest < -5000 || (rest == -5000 && whole % 2 != 0)) {
            --whole;
        }
        if (!std::in_range<T>(whole)) {
            Raise(errors::Overflow);
        }
        return static_cast<T>(whole);
    }
    const double rounded = RoundHalfEven(CDbl(value));
    if (!(rounded >= static_cast<double>(std::numeric_limits<T>::min()) &&
          rounded <= static_cast<double>(std::numeric_limits<T>::max()))) {
        Raise(errors::Overflow);
    }
    return static_cast<T>(rounded);
}

double NumberFromText(const std::string& text)
{
    const std::optional<double> number = detail::ParseNumber(text, platform::locale::Current());
    if (!number) {
        Raise(errors::TypeMismatch);
    }
    return *number;
}

} // namespace

double Val(std::string_view text)
{
    return detail::Val(text);
}

std::string CStr(const Variant& value)
{
    const platform::locale::Settings& s = platform::locale::Current();
    return std::visit(
        Overloaded{
            [](std::monostate) -> std::string { return {}; },
            [](Null) -> std::string { Raise(errors::InvalidUseOfNull); },
            [](std::int16_t v) { return std::to_string(v); },
            [](std::int32_t v) { return std::to_string(v); },
            [&](float v) { return detail::GeneralNumber(v, 7, s.decimalSeparator); },
            [&](double v) { return detail::GeneralNumber(v, 15, s.decimalSeparator); },
            [&](Currency v) { return CurrencyText(v, s.decimalSeparator); },
            [&](Date v) { return detail::GeneralDate(v, s); },
            [](const std::string& v) { return v; },
            [](const std::shared_ptr<Object>&) -> std::string { Raise(errors::TypeMismatch); },
            [](ErrorValue v) { return "Error " + std::to_string(v.number); },
            [](bool v) -> std::string { return v ? "True" : "False"; },
            [](std::uint8_t v) { return std::to_string(v); },
            [](const Array&) -> std::string { Raise(errors::TypeMismatch); },
        },
        value.Value());
}

double CDbl(const Variant& value)
{
    return std::visit(
        Overloaded{
            [](std::monostate) { return 0.0; },
            [](Null) -> double { Raise(errors::InvalidUseOfNull); },
            [](std::int16_t v) { return static_cast<double>(v); },
            [](std::int32_t v) { return static_cast<double>(v); },
            [](float v) { return static_cast<double>(v); },
            [](double v) { return v; },
            [](Currency v) { return v.ToDouble(); },
            [](Date v) { return v.Serial(); },
            [](const std::string& v) { return NumberFromText(v); },
            [](const std::shared_ptr<Object>&) -> double { Raise(errors::TypeMismatch); },
            [](ErrorValue) -> double { Raise(errors::TypeMismatch); },
            [](bool v) { return v ? -1.0 : 0.0; },
            [](std::uint8_t v) { return static_cast<double>(v); },
            [](const Array&) -> double { Raise(errors::TypeMismatch); },
        },
        value.Value());
}

float CSng(const Variant& value)
{
    const double v = CDbl(value);
    if (std::isfinite(v) && std::fabs(v) > FLT_MAX) {
        Raise(errors::Overflow);
    }
    return static_cast<float>(v);
}

std::int32_t CLng(const Variant& value)
{
    return RoundedInteger<std::int32_t>(value);
}

std::int16_t CInt(const Variant& value)
{
    return RoundedInteger<std::int16_t>(value);
}

std::uint8_t CByte(const Variant& value)
{
    return RoundedInteger<std::uint8_t>(value);
}

Currency CCur(const Variant& value)
{
    if (const Currency* c = value.Get<Currency>()) {
        return *c;
    }
    return Currency::FromDouble(CDbl(value));
}

bool CBool(const Variant& value)
{
    if (const std::string* text = value.Get<std::string>()) {
        const std::string trimmed = Trim(*text);
        if (TextEquals(trimmed, "True")) {
            return true;
        }
        if (TextEquals(trimmed, "False")) {
            return false;
        }
        return NumberFromText(trimmed) != 0.0;
    }
    if (const bool* b = value.Get<bool>()) {
        return *b;
    }
    return CDbl(value) != 0.0;
}

Date CDate(const Variant& value)
{
    if (const Date* d = value.Get<Date>()) {
        return *d;
    }
    if (const std::string* text = value.Get<std::string>()) {
        const std::optional<Date> date = detail::ParseDate(*text, platform::locale::Current());
        if (!date) {
            Raise(errors::TypeMismatch);
        }
        return *date;
    }
    return Date(CDbl(value));
}

Date DateValue(const Variant& value)
{
    return Date(static_cast<double>(CDate(value).DayNumber()));
}

Date TimeValue(const Variant& value)
{
    // From the fields, rounded to the second, rather than from the fraction, which carries
    // the rounding noise of the day serial.
    const DateFields f = Fields(CDate(value));
    return TimeSerial(f.hour, f.minute, f.second);
}

Variant CVar(const Variant& value, VarType type)
{
    switch (type) {
    case VarType::Empty:
        return Variant();
    case VarType::Null:
        return Variant(Null{});
    case VarType::Integer:
        return Variant(CInt(value));
    case VarType::Long:
        return Variant(CLng(value));
    case VarType::Single:
        return Variant(CSng(value));
    case VarType::Double:
        return Variant(CDbl(value));
    case VarType::Currency:
        return Variant(CCur(value));
    case VarType::Date:
        return Variant(CDate(value));
    case VarType::String:
        return Variant(CStr(value));
    case VarType::Boolean:
        return Variant(CBool(value));
    case VarType::Byte:
        return Variant(CByte(value));
    case VarType::Variant:
        return value;
    default:
        Raise(errors::TypeMismatch);
    }
}

bool IsDate(const Variant& value)
{
    if (value.IsDate()) {
        return true;
    }
    const std::string* text = value.Get<std::string>();
    return text && detail::ParseDate(*text, platform::locale::Current()).has_value();
}

bool IsNumeric(const Variant& value)
{
    if (value.IsEmpty() || value.IsNumber() || value.Get<bool>()) {
        return true;
    }
    const std::string* text = value.Get<std::string>();
    if (!text) {
        return false;
    }
    try {
        return detail::ParseNumber(*text, platform::locale::Current()).has_value();
    } catch (const Error&) {
        return true; // a number too large for a Double is still numeric text
    }
}

int Compare(const Variant& a, const Variant& b, CompareMethod compare)
{
    for (const Variant* v : {&a, &b}) {
        if (v->IsNull()) {
            Raise(errors::InvalidUseOfNull);
        }
        if (v->IsObject() || v->IsArray() || v->IsError()) {
            Raise(errors::TypeMismatch);
        }
    }
    if (a.IsEmpty() && b.IsEmpty()) {
        return 0;
    }
    if (a.IsString() && (b.IsString() || b.IsEmpty())) {
        return StrComp(*a.Get<std::string>(), b.IsEmpty() ? "" : *b.Get<std::string>(), compare);
    }
    if (b.IsString() && a.IsEmpty()) {
        return StrComp("", *b.Get<std::string>(), compare);
    }
    if (a.IsString() || b.IsString()) {
        const Variant& text = a.IsString() ? a : b;
        if (!IsNumeric(text)) {
            // Numbers sort before texts that are no numbers.
            return a.IsString() ? 1 : -1;
        }
    }
    if (const Currency* x = a.Get<Currency>()) {
        if (const Currency* y = b.Get<Currency>()) {
            return *x < *y ? -1 : (*y < *x ? 1 : 0);
        }
    }
    // Both are numbers, Booleans, dates, Empty or numeric text by now.
    const double x = CDbl(a);
    const double y = CDbl(b);
    return x < y ? -1 : (x > y ? 1 : 0);
}

double Round(double value, int decimals)
{
    if (decimals < 0) {
        Raise(errors::InvalidProcedureCall);
    }
    if (decimals == 0) {
        return RoundHalfEven(value);
    }
    const double scale = std::pow(10.0, decimals);
    const double scaled = value * scale;
    if (!std::isfinite(scaled) || std::fabs(scaled) > 1e15) {
        return value; // no digits left to round
    }
    // Snap away the binary noise of the scaling first, so that 2.675 counts as a tie.
    return RoundHalfEven(std::round(scaled * 1e6) / 1e6) / scale;
}

double Fix(double value)
{
    return std::trunc(value);
}

double Int(double value)
{
    return std::floor(value);
}

} // namespace platform::runtime
