#pragma once

#include "platform/runtime/Array.h"
#include "platform/runtime/Currency.h"
#include "platform/runtime/Date.h"
#include "platform/runtime/Object.h"
#include "platform/runtime/VarType.h"

#include <concepts>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <variant>

namespace platform::runtime {

/// The runtime's Null value (a Variant that holds "no valid data").
struct Null
{
    friend bool operator==(Null, Null) = default;
};

/// A Variant of subtype Error (CVErr): an error number held as a value, not raised.
struct ErrorValue
{
    std::int32_t number = 0;
    friend bool operator==(ErrorValue, ErrorValue) = default;
};

/// The runtime's Variant: Empty, Null, Integer (16 bit), Long (32 bit), Single, Double,
/// Currency, Date, String (UTF-8), Object (shared), Error, Boolean, Byte or an Array.
/// Conversions between the subtypes are in Conversion.h (CStr, CLng, CDbl, ...).
class Variant
{
public:
    /// The stored alternatives, in the order of Kind.
    using Storage = std::variant<std::monostate, Null, std::int16_t, std::int32_t, float, double,
                                 Currency, Date, std::string, std::shared_ptr<Object>, ErrorValue,
                                 bool, std::uint8_t, Array>;

    /// Empty.
    Variant() = default;
    Variant(Null) : value_(Null{}) {}
    Variant(bool value) : value_(value) {}
    Variant(std::uint8_t value) : value_(value) {}
    Variant(std::int16_t value) : value_(value) {}
    Variant(std::int32_t value) : value_(value) {}
    /// Other integers become Long when they fit and Double otherwise, as the runtime types
    /// numeric literals.
    template <std::integral T>
    requires(!std::same_as<T, bool> && !std::same_as<T, std::uint8_t> &&
             !std::same_as<T, std::int16_t> && !std::same_as<T, std::int32_t> &&
             !std::same_as<T, char>) Variant(T value)
    {
        if (std::in_range<std::int32_t>(value)) {
            value_ = static_cast<std::int32_t>(value);
        } else {
            value_ = static_cast<double>(value);
        }
    }
    Variant(float value) : value_(value) {}
    Variant(double value) : value_(value) {}
    Variant(Currency value) : value_(value) {}
    Variant(Date value) : value_(value) {}
    Variant(std::string value) : value_(std::move(value)) {}
    Variant(std::string_view value) : value_(std::string(value)) {}
    Variant(const char* value) : value_(std::string(value)) {}
    /// An object reference; a null pointer is the runtime's Nothing (still of type Object).
    template <class T>
    requires std::derived_from<T, Object> Variant(std::shared_ptr<T> object)
        : value_(std::shared_ptr<Object>(std::move(object)))
    {
    }
    Variant(std::nullptr_t) : value_(std::shared_ptr<Object>()) {}
    Variant(ErrorValue value) : value_(value) {}
    Variant(Array value) : value_(std::move(value)) {}

    /// The subtype (VarType::Array for any array; see ElementType).
    VarType Type() const noexcept;
    /// The runtime's VarType number: the subtype, or 8192 + element type for arrays.
    int VarTypeCode() const noexcept;
    /// The runtime's TypeName: "Empty", "Long", "String", "Nothing", the object's class name,
    /// "Variant()" for an array of variants, ...
    std::string TypeName() const;

    bool IsEmpty() const noexcept { return value_.index() == 0; }
    bool IsNull() const noexcept { return std::holds_alternative<Null>(value_); }
    bool IsObject() const noexcept
    {
        return std::holds_alternative<std::shared_ptr<Object>>(value_);
    }
    /// True for an object reference that is Nothing.
    bool IsNothing() const noexcept;
    bool IsArray() const noexcept { return std::holds_alternative<Array>(value_); }
    bool IsString() const noexcept { return std::holds_alternative<std::string>(value_); }
    bool IsDate() const noexcept { return std::holds_alternative<Date>(value_); }
    bool IsError() const noexcept { return std::holds_alternative<ErrorValue>(value_); }
    /// True for Integer, Long, Single, Double, Currency, Byte (not Boolean or Date).
    bool IsNumber() const noexcept;

    /// The stored value when it is a T, else nullptr.
    template <class T> const T* Get() const noexcept { return std::get_if<T>(&value_); }
    /// The stored value when it is a T, else nullptr.
    template <class T> T* Get() noexcept { return std::get_if<T>(&value_); }

    /// The stored object, or Error 424 (object required) when not an object; may be Nothing.
    const std::shared_ptr<Object>& AsObject() const;
    /// The stored array, or Error 13 (type mismatch) when not an array.
    const Array& AsArray() const;
    /// The stored array, or Error 13 (type mismatch) when not an array.
    Array& AsArray();

    /// The underlying storage, for visitors.
    const Storage& Value() const noexcept { return value_; }

    /// Same subtype and equal value (objects: same instance). This is not the runtime's "="
    /// with its conversions; see Compare in Conversion.h for that.
    friend bool operator==(const Variant& a, const Variant& b);

private:
    Storage value_;
};

} // namespace platform::runtime
