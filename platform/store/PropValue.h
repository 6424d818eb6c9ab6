#pragma once

#include <compare>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace platform::store {

/// A property tag: the property id in the high 16 bits, its type code in the low 16 bits.
using PropTag = std::uint32_t;

/// Property type codes of the messaging model (the low word of a tag).
inline constexpr std::uint16_t PT_UNSPECIFIED = 0;
inline constexpr std::uint16_t PT_LONG = 3;
inline constexpr std::uint16_t PT_DOUBLE = 5;
inline constexpr std::uint16_t PT_CURRENCY = 6;
inline constexpr std::uint16_t PT_BOOLEAN = 11;
inline constexpr std::uint16_t PT_OBJECT = 13;
inline constexpr std::uint16_t PT_STRING8 = 30;
inline constexpr std::uint16_t PT_UNICODE = 31;
inline constexpr std::uint16_t PT_SYSTIME = 64;
inline constexpr std::uint16_t PT_BINARY = 258;
inline constexpr std::uint16_t PT_MV_STRING8 = 4126;
inline constexpr std::uint16_t PT_MV_UNICODE = 4127;

/// The type code of a tag.
constexpr std::uint16_t PropTypeOf(PropTag tag)
{
    return static_cast<std::uint16_t>(tag & 0xFFFFu);
}
/// The property id of a tag.
constexpr std::uint16_t PropIdOf(PropTag tag)
{
    return static_cast<std::uint16_t>(tag >> 16);
}
/// Joins a property id and a type code into a tag.
constexpr PropTag MakeTag(std::uint16_t id, std::uint16_t type)
{
    return (static_cast<PropTag>(id) << 16) | type;
}

/// A currency amount in ten-thousandths of the unit (the messaging model's 64-bit currency).
struct Currency
{
    std::int64_t tenThousandths = 0;
    auto operator<=>(const Currency&) const = default;
};

/// A point in time in UTC: whole seconds since 1970-01-01 00:00:00 UTC (unix time).
/// PT_SYSTIME values are always UTC; convert with UtcToLocal / LocalToUtc (LocalTime.h).
struct SysTime
{
    std::int64_t seconds = 0;
    auto operator<=>(const SysTime&) const = default;
};

/// An opaque byte string (PT_BINARY).
struct Binary
{
    std::vector<std::uint8_t> bytes;
    auto operator<=>(const Binary&) const = default;
};

/// A multi-valued text property (PT_MV_STRING8); each value UTF-8.
using MultiString = std::vector<std::string>;

/// A property value. The alternative fixes the type:
/// PT_LONG int32, PT_DOUBLE double, PT_BOOLEAN bool, PT_CURRENCY Currency, PT_SYSTIME SysTime,
/// PT_STRING8/PT_UNICODE std::string (UTF-8 whatever the 8-bit type says), PT_BINARY Binary,
/// PT_MV_STRING8/PT_MV_UNICODE MultiString. PT_OBJECT is no value: attachments and embedded
/// items have their own calls on Store.
using PropValue =
    std::variant<std::int32_t, double, bool, Currency, SysTime, std::string, Binary, MultiString>;

/// The type code that a value naturally carries (text as PT_STRING8, lists as PT_MV_STRING8).
std::uint16_t NaturalType(const PropValue& value);

/// Whether a value may be stored under a tag of the given type (both text types take text,
/// both multi-valued text types take lists).
bool FitsType(const PropValue& value, std::uint16_t type);

/// The store keeps the 8-bit and the Unicode text types as one: this maps PT_UNICODE to
/// PT_STRING8 and PT_MV_UNICODE to PT_MV_STRING8 and leaves other tags alone.
constexpr PropTag NormalizeTag(PropTag tag)
{
    const auto type = PropTypeOf(tag);
    if (type == PT_UNICODE)
        return MakeTag(PropIdOf(tag), PT_STRING8);
    if (type == PT_MV_UNICODE)
        return MakeTag(PropIdOf(tag), PT_MV_STRING8);
    return tag;
}

} // namespace platform::store
