#pragma once

#include "platform/locale/Locale.h"

#include <optional>
#include <string>
#include <string_view>

namespace platform::locale::detail {

/// The BCP 47 name ("de-DE") for a POSIX or BCP 47 locale name ("de_DE.UTF-8@euro", "de");
/// "C" and "POSIX" give "en-US". Empty when ICU has no data for the language.
std::string CanonicalName(std::string_view name);

/// Reads the regional settings of a canonical locale name from ICU.
Settings ReadSettings(const std::string& canonicalName);

/// The system's number (0 to 15, see Settings::negativeCurrencyMode) of the layout of a
/// formatted negative currency amount ("-1.234,50 €" gives 8), given the minus sign and the
/// currency symbol it uses; nullopt for a layout the system has no number for.
std::optional<int> NegativeCurrencyMode(std::string_view amount, std::string_view minusSign,
                                        std::string_view currencySymbol);

/// Converts an ICU date/time pattern ("EEEE, d. MMMM y", "h:mm a") to the runtime's picture
/// tokens ("dddd, d. MMMM yyyy", "h:mm tt").
std::string PictureFromIcuPattern(std::string_view icuPattern);

} // namespace platform::locale::detail
