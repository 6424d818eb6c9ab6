#pragma once

#include <optional>
#include <string>
#include <string_view>

/// Numbers in the C notation that file formats, style sheets and other programs' arguments
/// take ("-12.5", "1e-05": "." for the point, no grouping), whatever locale the process runs
/// under. The C library's own number texts and parsing (printf, strtod) follow the process
/// locale's numeric category, which a desktop's regional settings can set to a decimal comma.
namespace platform::runtime {

/// The value with exactly `decimals` decimals, rounded as printf's "%.*f" rounds ("12.3" for
/// 12.25 at one decimal: the binary value lies below the tie).
std::string FixedNotation(double value, int decimals);

/// The value as printf's "%.*e" writes it with `decimals` decimals ("7.089500e+03").
std::string ScientificNotation(double value, int decimals);

/// The number of the whole text, read as strtod reads it in the C locale: blanks before it, a
/// sign, digits with at most one point, an exponent. Beyond the range of a double it is
/// infinite (with its sign), below it zero. Nothing when the text is no such number (blanks
/// after it included).
std::optional<double> ParseNotation(std::string_view text);

} // namespace platform::runtime
