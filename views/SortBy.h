#pragma once

#include <cstdint>
#include <string>

namespace views {

/// One sort level of a view; plain values without side effects.
struct SortBy
{
    /// True when the level is in use.
    bool Apply = false;
    /// `Key` of the column sorted on.
    std::string ColKey;
    /// 0 ascending, 1 descending (stored as "SortOrdner" in the report-definition file).
    std::int32_t SortOrder = 0;
};

} // namespace views
