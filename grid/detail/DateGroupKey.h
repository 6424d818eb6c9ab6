#pragma once

#include "platform/runtime/Date.h"

#include <optional>
#include <string>

/// The keys by which a grouping level puts dates into periodic groups.
namespace grid::detail {

/// What a date interval of a grouping level (`GroupBy.DateGroupBy`) makes of its key column.
struct DateGrouping
{
    /// The key column's data type: 3 for numbered keys, 8 for keys with a name.
    int lDataType = 0;
    /// 1-based character position from which a group caption keeps the key (0: all of it);
    /// it cuts the sort number off the month and weekday keys.
    int lPrefixLength = 0;
};

/// The grouping of interval lDateGroupBy 1 (hour) to 7 (weekday); none for any other value.
std::optional<DateGrouping> DateGroupingOf(long lDateGroupBy);

/// The group key of a date: hour "hh", day "dd", week "ww", month "mm mmmm", quarter 1-4,
/// year "yyyy", weekday "w dddd"; week and weekday follow the locale's first day of week and
/// first week of year; names are the locale's. Any other interval gives none.
std::optional<std::string> DateGroupKey(platform::runtime::Date dtValue, long lDateGroupBy);

} // namespace grid::detail
