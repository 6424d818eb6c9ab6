#include "platform/mapi/detail/Arguments.h"

#include <cmath>

namespace platform::mapi::detail {

std::optional<long> WholeNumberOf(const runtime::Variant& value)
{
    if (const auto* i = value.Get<std::int16_t>())
        return *i;
    if (const auto* l = value.Get<std::int32_t>())
        return *l;
    if (const auto* b = value.Get<std::uint8_t>())
        return *b;
    if (const auto* d = value.Get<double>(); d && std::trunc(*d) == *d && std::abs(*d) < 4.3e9)
        return static_cast<long>(*d);
    return std::nullopt;
}

} // namespace platform::mapi::detail
