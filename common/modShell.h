#pragma once

#include "platform/win/Shell.h"

#include <cstdint>
#include <string>

/// Opening, running and printing documents through the shell.
namespace common::modShell {

/// The "open" verb on a file, shown normally. True only when a program was started for it.
bool ShellOpenDocument(const std::string& sFile);

/// The default verb on a file with parameters, shown normally. The result tells whether the
/// program was started (and why not); callers that report nothing may ignore it.
platform::win::ShellResult ShellRun(const std::string& sFile, const std::string& sParameters);
/// The "open" verb as ShellOpenDocument, with the shell's whole result (why it failed).
platform::win::ShellResult ShellOpen(const std::string& sFile);

/// The "print" verb on a file, hidden; nothing is reported.
void ShellPrintDocument(const std::string& sFile, std::int64_t lOwnerHwnd = 0);

} // namespace common::modShell
