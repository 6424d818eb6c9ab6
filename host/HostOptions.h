#pragma once

#include <optional>
#include <string>
#include <vector>

/// The host `tallyman`: it plays the mail client for the report add-in.
namespace host {

/// What the command line asks for.
struct HostOptions
{
    /// The profile folder; empty: the sample profile in the user's data folder.
    std::string sProfile;
    /// "de" or "en": the add-in's UI language and the locale (de-DE, en-US).
    std::string sLanguage = "en";
    /// The template to show; empty: the one the report window opens with.
    std::string sTemplate;
    /// Folder paths "Store/Folder/Subfolder" to pick for the template ("\/" a slash and "\\" a
    /// backslash inside a name); empty: the template's own folders.
    std::vector<std::string> vFolders;
    bool bInteractive = false;
    /// Windows on the desktop instead of text in the terminal.
    bool bGui = false;
    bool bHelp = false;
};

/// Reads the arguments (without the program name). Throws std::invalid_argument with a
/// message for the user on an unknown option, a missing value or a language other than de
/// and en.
HostOptions ParseOptions(const std::vector<std::string>& vArgs);

/// The usage text.
std::string Usage();

/// The locale name of a language option ("de" → "de-DE", "en" → "en-US").
std::string LocaleOf(const std::string& sLanguage);
/// The language id of a language option (1031 or 1033).
long LanguageIdOf(const std::string& sLanguage);

} // namespace host
