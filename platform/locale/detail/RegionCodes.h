#pragma once

#include <string_view>

namespace platform::locale::detail {

/// The international calling code of a region ("DE" gives 49); 0 for an unknown region.
int CallingCode(std::string_view region);

/// The system's OEM code page for a language, its script and region ("de", "Latn", "DE"
/// gives 850); 1 for a locale that has none (its text is Unicode only).
int OemCodePage(std::string_view language, std::string_view script, std::string_view region);

} // namespace platform::locale::detail
