#pragma once

#include "platform/runtime/Variant.h"
#include "platform/store/NamedProperty.h"

#include <string>

namespace platform::mapi::detail {

/// The named property a caller names by property-set GUID text and a LID (whole number; a
/// negative 16-bit value stands for 0x8000 and up) or a name (text). Throws runtime error 5
/// for a malformed GUID and 13 for an id of another kind.
store::NamedProperty ToNamedProperty(const std::string& guid, const runtime::Variant& id,
                                     const char* source);

} // namespace platform::mapi::detail
