#pragma once

#include <cstdint>
#include <string>

/// Opening, running and printing documents through the shell.
namespace common::modShell {

/// The "open" verb on a file, shown normally. True only when a program was started for it.
bool ShellOpenDocument(const std::string& sFile);

/// The default verb on a file with parameters, shown normally; nothing is reported.
void ShellRun(const std::string& sFile, const std::string& sParameters);

/// The "print" verb on a file, hidden; nothing is reported.
void ShellPrintDocument(const std::string& sFile, std::int64_t lOwnerHwnd = 0);

} // namespace common::modShell
