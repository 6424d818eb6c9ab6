#pragma once

#include "platform/win/Shell.h"

#include <optional>
#include <string>

namespace platform::win::detail {

/// What a shell request names.
enum class ShellTarget
{
    Missing,  ///< no such file, program or URL
    Program,  ///< an executable file, or a program name found on PATH
    Document, ///< an existing file or folder that is not an executable file
    Url,      ///< a text with a URL scheme ("https:", "mailto:") that is no existing file
};

/// The shell's verbs.
enum class ShellVerb
{
    Open,
    Print,
    Run
};

/// Tells what a shell request's file names.
ShellTarget classifyShellTarget(const std::string& file);

/// The failure every shell gives for a request before it starts anything: a missing file or
/// program, a URL to print, parameters for a document. Nothing when the request may go ahead.
std::optional<ShellResult> refuseShellRequest(ShellVerb verb, const std::string& file,
                                              const std::string& parameters, ShellTarget target);

} // namespace platform::win::detail
