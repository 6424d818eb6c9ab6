#pragma once

#include "platform/runtime/Variant.h"

#include <optional>

namespace platform::mapi::detail {

/// A caller's whole-number argument (Integer, Long, Byte or a whole Double), or nullopt for
/// any other value.
std::optional<long> WholeNumberOf(const runtime::Variant& value);

} // namespace platform::mapi::detail
