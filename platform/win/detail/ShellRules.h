#pragma once

#include "platform/win/Shell.h"

#include <optional>
#include <string>
#include <vector>

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

/// The programs the system names by their host file names, played here by the user's own:
/// "notepad.exe" is $VISUAL, else $EDITOR (split at blanks), else the desktop's opener
/// (empty vector); "excel.exe" is the desktop's opener. Nothing for other names.
std::optional<std::vector<std::string>> programAlias(const std::string& file);

/// A name in one pair of surrounding double quotes without them (the system quotes file names
/// that it hands to the shell, so that blanks do not split them); other text as it is.
std::string unquoted(const std::string& text);

/// Tells what a shell request's file names.
ShellTarget classifyShellTarget(const std::string& file);

/// The failure every shell gives for a request before it starts anything: a missing file or
/// program, a URL to print, parameters for a document. Nothing when the request may go ahead.
std::optional<ShellResult> refuseShellRequest(ShellVerb verb, const std::string& file,
                                              const std::string& parameters, ShellTarget target);

} // namespace platform::win::detail
