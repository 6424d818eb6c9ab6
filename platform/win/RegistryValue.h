#pragma once

#include "platform/runtime/Variant.h"

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace platform::win {

/// One value of the registry stand-in: text, binary data, or an empty value (what the
/// registry's third operation leaves: present, but holding nothing).
class RegistryValue
{
public:
    /// What a value holds.
    enum class Kind
    {
        Text,
        Binary,
        Empty
    };

    /// An empty value.
    RegistryValue() = default;
    /// A text value (UTF-8).
    static RegistryValue text(std::string text);
    /// A binary value.
    static RegistryValue binary(std::vector<std::uint8_t> bytes);
    /// The value a runtime Variant holds: a String becomes text, a one-dimensional Byte array
    /// binary data, Empty an empty value. Throws the runtime's error 13 for anything else.
    static RegistryValue fromVariant(const platform::runtime::Variant& value);

    /// What the value holds.
    Kind kind() const noexcept { return static_cast<Kind>(data_.index()); }

    /// The value as text, the way the runtime turns the data into a String: text as it is;
    /// binary data as UTF-16LE code units (an odd last byte counts as a unit of its own);
    /// an empty value as empty text.
    std::string asText() const;

    /// The value as bytes, the way the runtime turns the data into a Byte array: binary data
    /// as it is; text as its UTF-16LE code units; an empty value as no bytes.
    std::vector<std::uint8_t> asBytes() const;

    /// The value as the runtime's Variant: a String for text, a Byte array (lower bound 0)
    /// for binary data and for an empty value.
    platform::runtime::Variant toVariant() const;

    friend bool operator==(const RegistryValue&, const RegistryValue&) = default;

private:
    // The order matches Kind.
    std::variant<std::string, std::vector<std::uint8_t>, std::monostate> data_{std::monostate{}};
};

} // namespace platform::win
