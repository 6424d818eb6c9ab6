#pragma once

#include <cstdint>
#include <string>

namespace views {

/// One grouping level of a view. A new level is not applied and has no date grouping.
class GroupBy
{
public:
    /// True when the level is in use.
    bool Apply() const { return m_bApply; }
    /// Setting False also resets `DateGroupBy` to 0.
    void SetApply(bool bValue)
    {
        m_bApply = bValue;
        if (!bValue)
            DateGroupBy = 0;
    }

    /// `Key` of the column grouped on.
    std::string ColKey;
    /// 0 ascending, 1 descending (stored as "SortOrdner" in the report-definition file).
    std::int32_t SortOrder = 0;
    /// Date grouping: 0 none, 1 hour, 2 day, 3 week, 4 month, 5 quarter, 6 year, 7 weekday.
    std::int32_t DateGroupBy = 0;

private:
    bool m_bApply = false;
};

} // namespace views
