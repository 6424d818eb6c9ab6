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
    /// "de" or "en": the add-in's UI language and the locale (de-DE, en-US); by default the
    /// language of the user's locale (see LanguageOfEnvironment).
    std::string sLanguage = "en";
    /// The template to show; empty: the one the report window opens with.
    std::string sTemplate;
    /// The version the client reports, such as "16.0.0.0"; below 14 the client has no ribbon
    /// and the add-in puts a toolbar into each explorer window instead.
    std::string sClientVersion = "16.0.0.0";
    /// Folder paths "Store/Folder/Subfolder" to pick for the template ("\/" a slash and "\\" a
    /// backslash inside a name); empty: the template's own folders.
    std::vector<std::string> vFolders;
    /// Saves the report once after the read into this file, in the format of its extension
    /// (.csv .html .xls .xlsx .xlsm); empty: no save.
    std::string sExport;
    bool bInteractive = false;
    /// The answers file whose lines are the person's commands; empty: the terminal.
    std::string sAnswers;
    /// The print queue that is the default printer for this run (a template that names its
    /// own printer prints there); empty: the user's default printer.
    std::string sPrinter;
    /// Windows on the desktop instead of text in the terminal.
    bool bGui = false;
    bool bHelp = false;
};

/// Reads the arguments (without the program name); the language is sDefaultLanguage unless
/// --lang names one. Throws std::invalid_argument with a message for the user on an unknown
/// option, a missing value, a value that is not UTF-8 or holds a control character (see
/// TextRefusal; whichever option it follows), a language other than de and en or an --export
/// file of a format the save does not know (the message in the language of the host's texts).
HostOptions ParseOptions(const std::vector<std::string>& vArgs,
                         const std::string& sDefaultLanguage = "en");

/// The language of a locale name as the environment gives it ("de_DE.UTF-8" → "de"): German
/// for names starting with "de", English for any other.
std::string LanguageOfLocale(const std::string& sLocale);
/// The language of the user's locale: the first of LC_ALL, LC_MESSAGES and LANG that is set
/// and not empty decides, as it does for every program of the platform; "en" without one.
std::string LanguageOfEnvironment();

/// The major number of a client version text ("12.0.0.0" → 12); 0 when it has none.
int MajorVersionOf(const std::string& sVersion);

/// The usage text, in the language of the host's texts.
std::string Usage();

/// The language the command line asks for with a valid --lang (the last one), else
/// sDefaultLanguage: what the messages about the command line itself are said in.
std::string LanguageOfArguments(const std::vector<std::string>& vArgs,
                                const std::string& sDefaultLanguage);

/// The locale name of a language option ("de" → "de-DE", "en" → "en-US").
std::string LocaleOf(const std::string& sLanguage);
/// The language id of a language option (1031 or 1033).
long LanguageIdOf(const std::string& sLanguage);

} // namespace host
