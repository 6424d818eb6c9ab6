#pragma once

#include "platform/store/PropValue.h"

#include <compare>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace platform::store {

/// Property sets as GUID text in the store's canonical form (braces, upper case).
inline constexpr std::string_view PSETID_Appointment = "{00062002-0000-0000-C000-000000000046}";
inline constexpr std::string_view PSETID_Task = "{00062003-0000-0000-C000-000000000046}";
inline constexpr std::string_view PSETID_Address = "{00062004-0000-0000-C000-000000000046}";
inline constexpr std::string_view PSETID_Common = "{00062008-0000-0000-C000-000000000046}";
inline constexpr std::string_view PSETID_Log = "{0006200A-0000-0000-C000-000000000046}";
inline constexpr std::string_view PS_PUBLIC_STRINGS = "{00020329-0000-0000-C000-000000000046}";
/// The set that stands for tagged (not named) properties in field keys.
inline constexpr std::string_view PS_MAPI = "{00020328-0000-0000-C000-000000000046}";

/// A named property: a property set and either a numeric LID or a string name.
/// The store maps each distinct name to an id from 0x8000 up, per store.
struct NamedProperty
{
    std::string propertySet;                     ///< canonical GUID text
    std::variant<std::uint32_t, std::string> id; ///< LID or string name

    /// A LID-named property. The set is canonicalised (see CanonicalGuid); a negative LID,
    /// as the callers pass 16-bit LIDs signed (0x8506 as -31482), is taken as its low 16 bits.
    static NamedProperty Lid(std::string_view set, std::int64_t lid);
    /// A string-named property such as "Keywords" in PS_PUBLIC_STRINGS. Names compare exactly.
    static NamedProperty Name(std::string_view set, std::string_view name);

    auto operator<=>(const NamedProperty&) const = default;
};

/// The canonical text of a GUID: "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" in upper case.
/// Accepts the text with or without braces, in any case. Throws StoreError (InvalidArgument)
/// for anything else.
std::string CanonicalGuid(std::string_view text);

} // namespace platform::store
