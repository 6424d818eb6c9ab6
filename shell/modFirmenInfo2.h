#pragma once

#include <cstdint>
#include <string>

/// The add-in's product information: its title, its version texts and the about box.
namespace shell::modFirmenInfo2 {

/// Shows the about box modally with the product name and versions; Duration > 0 closes it
/// after that many milliseconds. A failure is shown in a message box; nothing is raised.
void ShowInfoDialog(std::int32_t Duration);

/// The add-in's application title, "Tallyman".
std::string GetAppTitleText();

/// Major and minor version, "." between (2.1 for version 2.1.94).
std::string GetVersionShort();

/// Major, minor and revision, "." between (2.1.94).
std::string GetVersionFull();

} // namespace shell::modFirmenInfo2
