#pragma once

#include "platform/runtime/Date.h"

#include <cstdint>

namespace engine::detail {

/// What an item reader hands the restriction builder and keeps for its rows: whether
/// recurring items are expanded, the tags of the recurrence and date properties in the
/// folder's store, and the read window in UTC (for the restriction) and local time (for the
/// expansion).
struct ReadContext
{
    bool ExpandRecurrences = false;
    std::int32_t RecurringTag = 0;
    std::int32_t StartTag = 0;
    std::int32_t EndTag = 0;
    std::int32_t ClipStartTag = 0;
    std::int32_t ClipEndTag = 0;
    platform::runtime::Date WindowStart;
    platform::runtime::Date WindowEnd;
    platform::runtime::Date WindowStartLocal;
    platform::runtime::Date WindowEndLocal;
};

} // namespace engine::detail
