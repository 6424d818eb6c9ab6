#pragma once

#include "platform/locale/Locale.h"

#include <optional>
#include <string>
#include <string_view>

namespace platform::runtime::detail {

/// The runtime's display of a number: at most `digits` significant digits, no trailing zeros,
/// exponent form ("1E+20", "1E-05") outside the fixed range, `decimalSeparator` for the point.
std::string GeneralNumber(double value, int digits, std::string_view decimalSeparator);

/// A number in the locale's notation: blanks around it, a sign before or after it or
/// parentheses, the currency symbol, grouping separators in the integer part, the decimal
/// separator, an exponent (E or D), or "&H" hex / "&O" octal. Nothing when the text is not
/// a number.
std::optional<double> ParseNumber(std::string_view text, const platform::locale::Settings& s);

/// The runtime's Val: the leading number of the text, skipping blanks anywhere, with "." as
/// the point, "&H" hex and "&O" octal; 0 when there is none. Throws Error 6 for hex or octal
/// beyond 32 bits.
double Val(std::string_view text);

/// Hex or octal digits after "&H" / "&O" (or "&"): 16-bit values when they fit in four hex
/// digits, else 32-bit, as signed numbers (&HFFFF is -1). Nothing for no digits; Error 6 when
/// beyond 32 bits. `used` receives the number of characters consumed after the prefix.
std::optional<double> ParseRadix(std::string_view digits, int radix, std::size_t* used = nullptr);

} // namespace platform::runtime::detail
