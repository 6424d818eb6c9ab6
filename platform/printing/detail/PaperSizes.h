#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace platform::printing::detail {

/// The host paper-size code for a print server media name ("A4", "iso_a4_210x297mm",
/// "na_letter_8.5x11in_borderless", "Letter", ...), found by the paper's dimensions so that
/// every spelling of a size gives the same code. Empty when the size has no host code.
std::optional<std::int16_t> PaperCodeForMedia(std::string_view media);

/// The print server media name for a host paper-size code ("A4" for 9), or empty when the
/// code names no size the stand-in knows.
std::optional<std::string> MediaForPaperCode(std::int16_t code);

/// The width and the length of the paper of a host paper-size code in hundredths of a
/// millimetre (portrait), or empty when the code names no size the stand-in knows.
std::optional<std::pair<int, int>> PaperDimensionsForCode(std::int16_t code);

} // namespace platform::printing::detail
