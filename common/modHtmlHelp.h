#pragma once

#include <string>

/// Opening topics of the help: a folder of HTML pages named after the help file (resource
/// 2103, "Help615.chm", gives the folder "Help615") beside the deliverable, shown in the
/// user's browser. $TV_HELP_FOLDER, when set, names the folder instead (the host and tests).
namespace common::modHtmlHelp {

/// The help file's name, read from resource 2103 on first use and kept.
std::string GetHelpFileName();

/// The folder that holds the help's pages.
std::string GetHelpFolder();

/// Opens the help at a topic ("view.html", "filter.html"); an empty topic opens the start
/// page. A failure shows nothing and reports nothing.
void ShowHelp(const std::string& sTopic);

} // namespace common::modHtmlHelp
