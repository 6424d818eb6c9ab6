#pragma once

#include "platform/locale/Locale.h"

#include <string>
#include <string_view>

namespace platform::locale::detail {

/// The BCP 47 name ("de-DE") for a POSIX or BCP 47 locale name ("de_DE.UTF-8@euro", "de");
/// "C" and "POSIX" give "en-US". Empty when ICU has no data for the language.
std::string CanonicalName(std::string_view name);

/// Reads the regional settings of a canonical locale name from ICU.
Settings ReadSettings(const std::string& canonicalName);

/// Converts an ICU date/time pattern ("EEEE, d. MMMM y", "h:mm a") to the runtime's picture
/// tokens ("dddd, d. MMMM yyyy", "h:mm tt").
std::string PictureFromIcuPattern(std::string_view icuPattern);

} // namespace platform::locale::detail
