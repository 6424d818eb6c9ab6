#pragma once

#include <string>

namespace folderpicker::detail::modFolderErrors {

/// Inside a catch block: captures the error being handled with sSource, adds a line break and
/// "- Folder name: " and sName to its description, and appends it to the error log. Never
/// throws.
void LogFolderError(const std::string& sSource, const std::string& sName);

} // namespace folderpicker::detail::modFolderErrors
