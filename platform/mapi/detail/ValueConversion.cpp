#include "platform/mapi/detail/ValueConversion.h"

#include "platform/runtime/CNotation.h"
#include "platform/runtime/Error.h"

#include <cmath>
#include <cstdlib>

namespace platform::mapi::detail {

namespace {

constexpr double kUnixEpochSerial = 25569.0; // 1970-01-01 as a day serial
constexpr double kSecondsPerDay = 86400.0;

[[noreturn]] void Mismatch(const char* what)
{
    runtime::Raise(runtime::errors::TypeMismatch, "ardex", what);
}

std::optional<store::MultiString> ToList(const runtime::Array& array)
{
    if (array.Dimensions() != 1)
        return std::nullopt;
    store::MultiString list;
    for (std::int32_t i = array.LBound(); i <= array.UBound(); ++i) {
        const auto* text = array(i).Get<std::string>();
        if (!text)
            return std::nullopt;
        list.push_back(*text);
    }
    return list;
}

std::optional<double> NumberOf(const runtime::Variant& v)
{
    if (const auto* x = v.Get<std::int16_t>())
        return *x;
    if (const auto* x = v.Get<std::int32_t>())
        return *x;
    if (const auto* x = v.Get<std::uint8_t>())
        return *x;
    if (const auto* x = v.Get<float>())
        return *x;
    if (const auto* x = v.Get<double>())
        return *x;
    if (const auto* x = v.Get<runtime::Currency>())
        return x->ToDouble();
    if (const auto* x = v.Get<bool>())
        return *x ? -1.0 : 0.0;
    if (const auto* x = v.Get<runtime::Date>())
        return x->Serial();
    if (const auto* x = v.Get<std::string>())
        return runtime::ParseNotation(*x);
    return std::nullopt;
}

// Whole days and the time of day apart, as DateSerial + TimeSerial build a date, so that
// equal moments give equal serials.
double LinearOf(std::int64_t seconds)
{
    auto days = seconds / 86400;
    if (seconds % 86400 < 0)
        --days;
    const auto secondOfDay = seconds - days * 86400;
    return static_cast<double>(days) + kUnixEpochSerial +
           static_cast<double>(secondOfDay) / kSecondsPerDay;
}

} // namespace

runtime::Date ToDate(store::SysTime time)
{
    return runtime::Date::FromLinear(LinearOf(time.seconds));
}

store::SysTime ToSysTime(runtime::Date date)
{
    return store::SysTime{static_cast<std::int64_t>(
        std::llround((date.Linear() - kUnixEpochSerial) * kSecondsPerDay))};
}

runtime::Date ToDate(std::int64_t localSeconds)
{
    return ToDate(store::SysTime{localSeconds});
}

std::optional<runtime::Date> TryToDate(std::int64_t localSeconds)
{
    const double linear = LinearOf(localSeconds);
    if (linear < runtime::Date::MinSerial || linear >= runtime::Date::MaxDaySerial + 1.0)
        return std::nullopt;
    return runtime::Date::FromLinear(linear);
}

runtime::Date ToDateWithinCalendar(std::int64_t localSeconds)
{
    if (const auto date = TryToDate(localSeconds))
        return *date;
    return runtime::Date::FromLinear(localSeconds < 0
                                         ? runtime::Date::MinSerial
                                         : runtime::Date::MaxDaySerial + 86399.0 / kSecondsPerDay);
}

std::int64_t ToLocalSeconds(runtime::Date date)
{
    return ToSysTime(date).seconds;
}

std::string ToHex(const std::vector<std::uint8_t>& bytes)
{
    static const char* digits = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (auto b : bytes) {
        out.push_back(digits[b >> 4]);
        out.push_back(digits[b & 0xF]);
    }
    return out;
}

std::vector<std::uint8_t> FromHex(const std::string& text)
{
    auto nibble = [&](char c) -> int {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        runtime::Raise(runtime::errors::InvalidProcedureCall, "ardex",
                       "Not a hexadecimal identifier: " + text);
    };
    if (text.size() % 2 != 0)
        runtime::Raise(runtime::errors::InvalidProcedureCall, "ardex",
                       "Not a hexadecimal identifier: " + text);
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < text.size(); i += 2)
        bytes.push_back(static_cast<std::uint8_t>(nibble(text[i]) * 16 + nibble(text[i + 1])));
    return bytes;
}

runtime::Variant ToVariant(const store::PropValue& value)
{
    return std::visit(
        [](const auto& v) -> runtime::Variant {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, store::Currency>)
                return runtime::Currency::FromScaled(v.tenThousandths);
            else if constexpr (std::is_same_v<T, store::SysTime>)
                return ToDate(v);
            else if constexpr (std::is_same_v<T, store::Binary>)
                return ToHex(v.bytes);
            else if constexpr (std::is_same_v<T, store::MultiString>) {
                runtime::Array array(runtime::VarType::Variant,
                                     {{0, static_cast<std::int32_t>(v.size()) - 1}});
                for (std::size_t i = 0; i < v.size(); ++i)
                    array(static_cast<std::int32_t>(i)) = v[i];
                return array;
            } else
                return runtime::Variant(v);
        },
        value);
}

std::optional<store::PropValue> ToPropValue(const runtime::Variant& value)
{
    if (const auto* x = value.Get<bool>())
        return store::PropValue{*x};
    if (const auto* x = value.Get<std::int16_t>())
        return store::PropValue{static_cast<std::int32_t>(*x)};
    if (const auto* x = value.Get<std::int32_t>())
        return store::PropValue{*x};
    if (const auto* x = value.Get<std::uint8_t>())
        return store::PropValue{static_cast<std::int32_t>(*x)};
    if (const auto* x = value.Get<float>())
        return store::PropValue{static_cast<double>(*x)};
    if (const auto* x = value.Get<double>())
        return store::PropValue{*x};
    if (const auto* x = value.Get<runtime::Currency>())
        return store::PropValue{store::Currency{x->Scaled()}};
    if (const auto* x = value.Get<runtime::Date>())
        return store::PropValue{ToSysTime(*x)};
    if (const auto* x = value.Get<std::string>())
        return store::PropValue{*x};
    if (const auto* x = value.Get<runtime::Array>()) {
        if (auto list = ToList(*x))
            return store::PropValue{std::move(*list)};
    }
    return std::nullopt;
}

store::PropValue ToPropValueOfType(const runtime::Variant& value, std::uint16_t type)
{
    switch (type) {
    case store::PT_LONG: {
        auto n = NumberOf(value);
        if (!n || std::abs(*n) > 2147483647.0)
            Mismatch("The value is no whole number.");
        return static_cast<std::int32_t>(std::nearbyint(*n));
    }
    case store::PT_DOUBLE: {
        auto n = NumberOf(value);
        if (!n)
            Mismatch("The value is no number.");
        return *n;
    }
    case store::PT_CURRENCY: {
        auto n = NumberOf(value);
        if (!n)
            Mismatch("The value is no amount.");
        return store::Currency{runtime::Currency::FromDouble(*n).Scaled()};
    }
    case store::PT_BOOLEAN: {
        auto n = NumberOf(value);
        if (!n)
            Mismatch("The value is no truth value.");
        return *n != 0.0;
    }
    case store::PT_SYSTIME: {
        auto n = NumberOf(value);
        if (!n)
            Mismatch("The value is no date.");
        return ToSysTime(runtime::Date(*n));
    }
    case store::PT_STRING8:
    case store::PT_UNICODE: {
        if (const auto* s = value.Get<std::string>())
            return *s;
        if (auto v = ToPropValue(value); v && !std::holds_alternative<store::MultiString>(*v))
            return std::visit(
                [](const auto& x) -> store::PropValue {
                    using T = std::decay_t<decltype(x)>;
                    if constexpr (std::is_floating_point_v<T>)
                        return runtime::FixedNotation(x, 6);
                    else if constexpr (std::is_arithmetic_v<T>)
                        return std::to_string(x);
                    else
                        return std::string{};
                },
                *v);
        Mismatch("The value is no text.");
    }
    case store::PT_BINARY: {
        if (const auto* s = value.Get<std::string>())
            return store::Binary{FromHex(*s)};
        Mismatch("The value is no binary text.");
    }
    case store::PT_MV_STRING8:
    case store::PT_MV_UNICODE: {
        if (const auto* s = value.Get<std::string>())
            return store::MultiString{*s};
        if (const auto* a = value.Get<runtime::Array>())
            if (auto list = ToList(*a))
                return *list;
        Mismatch("The value is no list of texts.");
    }
    default:
        break;
    }
    if (auto v = ToPropValue(value))
        return *v;
    Mismatch("The value cannot be stored.");
}

} // namespace platform::mapi::detail
