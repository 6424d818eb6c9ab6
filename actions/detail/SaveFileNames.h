#pragma once

#include "actions/ReportFormats.h"
#include "platform/forms/CommonDialogs.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform::win {
class FileComponent;
}

/// File names and formats of the save action: the extension of each report format, the
/// format of a chosen file's extension, the dialogs' filter lists and the names the
/// existing-file rules make.
namespace actions::detail {

using enum actions::ReportFormats;

/// ".csv", ".html", ".xls", ".pdf", ".xlsx" or ".xlsm"; "" for an unknown format.
std::string ExtensionOf(std::int32_t lFormat);
/// The format of a file extension without dot, in any case ("htm" and "html" are HTML);
/// nothing for an extension no writer takes.
std::optional<std::int32_t> FormatOfExtension(const std::string& sExtension);
/// Whether a template's extension (without dot, any case) fits the format: HTML files for
/// HTML, workbooks and workbook templates for the three workbook formats.
bool TemplateFits(std::int32_t lFormat, const std::string& sExtension);

/// The save dialog's filters for a format, the format's own entry first; none for PDF.
/// Clients before version 12 know only the 97-2003 workbook.
std::vector<platform::forms::FileFilter> SaveFilters(std::int32_t lFormat,
                                                     std::int32_t lClientVersion);
/// The template picker's filters for a format; none for delimited text and PDF.
std::vector<platform::forms::FileFilter> TemplateFilters(std::int32_t lFormat,
                                                         std::int32_t lClientVersion);

/// The running-number name for sFileName in sFolder (ending with "/"): "<base> (<n>).<ext>"
/// with the extension in lower case and n one above the largest number of the existing
/// "<base> (<n>).<ext>" files, 1 when there is none. Names are matched by their literal
/// prefix, so blanks, brackets and asterisks in a report name are plain characters; when the
/// candidate exists all the same (another letter case, a number the listing did not read),
/// the number goes up until it does not.
std::string GetNextFileName(const platform::win::FileComponent& oFiles,
                            const std::string& sFileName, const std::string& sFolder);
/// "<base>_<yyyymmddhhnnss>.<ext>" for sFileName at the current time, the extension kept.
std::string TimeStampedName(const std::string& sFileName);

} // namespace actions::detail
