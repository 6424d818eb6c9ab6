#pragma once

#include <filesystem>
#include <string>

namespace host {

/// The folder of the host's and the add-in's settings (reports.xml, settings.ini, the engine's
/// log, the sample profile), one for the whole process: "Kestrova/Tallyman" in the platform's
/// per-user application-data folder ($XDG_CONFIG_HOME, else $HOME/.config, else the account's
/// home from the password database), never a shared temporary folder. Throws
/// std::runtime_error in the host's language when there is none.
std::filesystem::path SettingsFolder();

/// The folder of the sample profile: SettingsFolder()/SampleProfile.
std::filesystem::path SampleProfileFolder();

/// Makes the settings folder where it is missing. Throws std::runtime_error in the host's
/// language, naming the folder and why, when it cannot be made or written.
void MakeSettingsFolder();

/// Makes sure the sample profile exists in the folder, generating it (anchored on today)
/// when it does not. It is generated beside the folder and renamed into place, so that an
/// interrupted generation leaves no half profile behind. Answers true when it was made now.
/// With a data folder and report definitions, the generation also writes them as the
/// add-in's "reports.xml" there (never over an existing file), with the names and captions
/// of sLanguage ("de" or "en"). The profile also carries a mail template for report mails
/// (SampleMailTemplate): a subject, a body with the report's placeholder and a recipient.
/// Half-made profiles that ended processes left beside the folder are removed first; when
/// another process puts its profile into place first, that one is kept (false). A failure of
/// the file system is raised as a sentence in the user's language naming the file.
bool EnsureSampleProfile(const std::filesystem::path& oFolder,
                         const std::filesystem::path& oDataFolder = {},
                         const std::string& sReportsXml = {}, const std::string& sLanguage = "de");

/// A failure of the file system as a sentence in the user's language, naming the file.
std::string FileSystemFailureText(const std::filesystem::filesystem_error& e);

/// Opens the profile in oFolder and each of its stores once, as the add-in will. Throws
/// std::runtime_error in the host's language naming the profile, the file that fails and why
/// (missing or unreadable, empty, damaged or no store, disk full).
void CheckProfileOpens(const std::filesystem::path& oFolder);

/// The sample profile's mail template file in a profile folder ("Report.oft").
std::filesystem::path SampleMailTemplate(const std::filesystem::path& oProfile);

} // namespace host
