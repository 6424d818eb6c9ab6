#pragma once

#include "platform/locale/Locale.h"
#include "platform/runtime/Date.h"

#include <string>
#include <string_view>

namespace platform::runtime::detail {

/// True when a custom pattern holds date or time tokens (outside quotes and escapes).
bool IsDatePattern(std::string_view pattern);

/// Renders a number with a custom number pattern (sections, 0 # . , % E+).
std::string FormatNumberPattern(double value, std::string_view pattern,
                                const platform::locale::Settings& s);

/// Renders a date with a custom date pattern.
std::string FormatDatePattern(Date date, std::string_view pattern, DayOfWeek firstDay,
                              FirstWeekOfYear firstWeek, const platform::locale::Settings& s);

/// The decimal digits of |value| rounded half away from zero to `decimals` places, from its
/// 15 significant digits: the integer digits without leading zeros ("" for zero) and exactly
/// `decimals` fraction digits.
struct DecimalDigits
{
    std::string integer;
    std::string fraction;
};
DecimalDigits RoundDecimal(double value, int decimals);

/// Groups integer digits by three with `separator` ("1234567" -> "1.234.567").
std::string Group(const std::string& digits, std::string_view separator);

} // namespace platform::runtime::detail
