#pragma once

#include "platform/win/Shell.h"

#include <filesystem>
#include <string_view>

namespace platform::win {

/// The page an empty topic shows: the help's start page.
inline constexpr std::string_view kHelpStartTopic = "index.html";

/// Shows a help topic: help is a folder of HTML pages, and a topic is a page in it ("view.html",
/// "filter.html"), shown in the user's browser through the current shell's "open" verb. An
/// empty topic shows the start page. A topic that leaves the folder (absolute, or with "..")
/// fails with EINVAL, a page that does not exist with ENOENT; nothing is opened then.
ShellResult showHelpTopic(const std::filesystem::path& helpFolder, std::string_view topic);

} // namespace platform::win
