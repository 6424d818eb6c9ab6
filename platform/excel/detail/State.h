#pragma once

#include "platform/excel/detail/Writers.h"

#include <memory>
#include <string>
#include <vector>

namespace platform::excel {
class Workbook;
class Worksheet;
} // namespace platform::excel

namespace platform::excel::detail {

/// What an application object and its collections share.
struct AppState
{
    std::string version;
    bool displayAlerts = true;
    bool visible = false;
    bool quit = false;
    long nextBookNumber = 1;
    std::vector<std::shared_ptr<Workbook>> books;
};

/// Where a workbook came from.
enum class BookSource
{
    New,     ///< added empty
    Package, ///< opened from an .xlsx/.xltx/.xlsm/.xltm file
    Binary,  ///< opened from a 97-2003 file: can be shown, not filled
};

/// A workbook's own state.
struct BookState
{
    std::string name;
    std::string fullName;
    BookSource source = BookSource::New;
    std::string sourcePath;
    std::vector<TemplateSheet> templateSheets;
    std::vector<std::shared_ptr<Worksheet>> sheets;
};

/// The major version of a version text ("16.0" gives 16, "8.0" gives 8, else 0).
long MajorVersion(const std::string& version);

/// Opens a workbook file for the user through the shell. Raises 1004 when that fails.
void ShowFile(const std::string& path);

} // namespace platform::excel::detail
