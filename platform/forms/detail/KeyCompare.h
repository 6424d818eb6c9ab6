#pragma once

#include "platform/runtime/Strings.h"

#include <string_view>

namespace platform::forms::detail {

/// Keys of menu items, buttons and images match without regard to letter case.
inline bool SameKey(std::string_view a, std::string_view b)
{
    return runtime::StrComp(a, b, runtime::CompareMethod::Text) == 0;
}

} // namespace platform::forms::detail
