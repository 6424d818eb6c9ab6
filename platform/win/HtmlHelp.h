#pragma once

#include "platform/win/Shell.h"

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace platform::win {

/// The page an empty topic shows: the help's start page.
inline constexpr std::string_view kHelpStartTopic = "index.html";

/// Shows a help topic: help is a folder of HTML pages, and a topic is a page in it ("view.html",
/// "filter.html"), shown in the user's browser through the current shell's "open" verb. An
/// empty topic shows the start page. A topic that leaves the folder (absolute, or with "..")
/// fails with EINVAL, a page that does not exist with ENOENT; nothing is opened then.
/// A failure is also told to the help failure reporter, when one is set.
ShellResult showHelpTopic(const std::filesystem::path& helpFolder, std::string_view topic);

/// Who tells the person that a help page could not be shown (no browser to show it, no such
/// page), as the desktop's help viewer does itself: the caller of showHelpTopic reports nothing.
/// Called with the page and the failure.
using HelpFailureReporter = std::function<void(const std::string& page, const ShellResult& failure)>;
/// Sets the reporter for the process (the host's); empty for none, the default.
void setHelpFailureReporter(HelpFailureReporter reporter);

} // namespace platform::win
