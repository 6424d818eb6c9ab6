#pragma once

#include <optional>
#include <string>

namespace platform::printing::detail {

/// The advance of the widest digit of the font this system draws `family` in, as a share of
/// the font's em: the measure a spreadsheet's column widths are counted in. The font is the one
/// fontconfig gives for the family (a metric-compatible stand-in for a font not installed).
/// Empty when no font answers or the font has no digits.
std::optional<double> DigitEmWidth(const std::string& family);

} // namespace platform::printing::detail
