#pragma once

#include "platform/locale/Locale.h"
#include "platform/runtime/Date.h"

#include <optional>
#include <string>
#include <string_view>

namespace platform::runtime::detail {

/// Renders a date with a regional-settings picture ("dd.MM.yyyy", "dddd, MMMM d, yyyy",
/// "h:mm:ss tt"): d dd ddd dddd, M MM MMM MMMM, y yy yyyy, h hh (12 hours), H HH, m mm, s ss,
/// t tt; text in single quotes is literal.
std::string RenderPicture(Date date, std::string_view picture, const platform::locale::Settings& s);

/// The runtime's display of a date (CStr): the short date, the long time, or both when the
/// date has a day and a time; serial 0 shows as the time alone.
std::string GeneralDate(Date date, const platform::locale::Settings& s);

/// Reads a date written the locale's way ("31.12.2023", "12/31/2023 10:00 PM", "31. Dezember
/// 2023"), as ISO "yyyy-mm-dd[ hh:nn[:ss]]" or as a time alone. Two-digit years mean
/// 1930-2029; a missing year is the current one. Nothing when the text is no valid date.
std::optional<Date> ParseDate(std::string_view text, const platform::locale::Settings& s);

} // namespace platform::runtime::detail
