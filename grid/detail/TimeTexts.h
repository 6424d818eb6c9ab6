#pragma once

#include "platform/runtime/Variant.h"

#include <cstdint>
#include <string>

/// The texts the report grid shows for dates and durations.
namespace grid::detail {

/// Whole minutes as hours and minutes, each at least two digits: 75 gives "01:15", 6000
/// gives "100:00"; negative minutes keep their sign in both parts' arithmetic.
std::string FormatMinutes(std::int32_t lMinutes);

/// The text of a date cell: empty for a value that is no date, the zero date or a date after
/// the year 4000 (the store's mark for "no date"); with sFormat, the date in that format
/// (week numbers by the locale's first day of week and first week of year); else the short
/// date, and with bShowTime a blank, hours:minutes and the day-period designator of the
/// locale's long time when it has one. Throws the runtime's errors of a bad format.
std::string FormattedTime(const platform::runtime::Variant& vValue, bool bShowTime,
                          const std::string& sFormat);

} // namespace grid::detail
