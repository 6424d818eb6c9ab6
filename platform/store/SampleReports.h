#pragma once

#include "platform/store/LocalTime.h"
#include "platform/store/Profile.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace platform::store {

/// Fills a report-definition text for a profile: replaces
///   {{store:<store name>}}                   by the store's entry id,
///   {{folder:<store name>/<folder>/<sub>}}   by the folder's entry id (names below the root),
///   {{monthstart:<n>}} and {{monthend:<n>}}  by the first day (00:00:00) and the last day
///                                            (23:59:59) of the month n months after the
///                                            anchor's, as "yyyy-mm-dd hh:nn:ss",
///   {{text:<German>|<English>}}              by the text in `language` ("en" the English
///                                            one, any other the German one).
/// Throws StoreError NotFound for a store or folder the profile lacks, and
/// std::invalid_argument for an unknown or unterminated token.
std::string FillSampleReports(Profile& profile, const CivilDate& anchor, std::string_view text,
                              std::string_view language = "de");

/// Writes FillSampleReports(...) as `dataFolder`/"reports.xml" (the folder is made), through a
/// temporary file and a rename. An existing file is never replaced: the user's templates stay.
/// Returns true when the file was written.
bool WriteSampleReports(Profile& profile, const CivilDate& anchor,
                        const std::filesystem::path& dataFolder, std::string_view text,
                        std::string_view language = "de");

} // namespace platform::store
