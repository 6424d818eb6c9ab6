#pragma once

#include "host/HostOptions.h"

#include <iosfwd>
#include <memory>
#include <string>
#include <utility>

namespace platform::outlook {
class CommandBarButton;
class Explorer;
} // namespace platform::outlook

namespace host {

/// One run of the client: profile, add-in connection, explorer, start-up, ribbon, the report
/// button, the report window as text, disconnection. Answers the process exit code.
/// An interactive run reads the person's commands from `in` or the answers file; whatever the
/// add-in shows modally is shown as text and answered by the same commands.
int RunHost(const HostOptions& oOptions, const std::string& sAddInPath, std::istream& in,
            std::ostream& out, std::ostream& err);

/// Opens the profile the options name, or the sample profile (made on first use, with the
/// report definitions shipped beside the add-in); says so on out. Throws std::runtime_error
/// when the named profile does not exist.
std::string OpenProfile(const HostOptions& oOptions, const std::string& sAddInPath,
                        std::ostream& out);
/// Whether the report definitions file of the settings folder is there but cannot be read as a
/// file (a folder, no read permission): the report window then cannot open.
bool DefinitionsUnreadable();
/// Removes the temporary files a killed run left in the settings folder and in the folders
/// the templates save their reports into (their writer is gone) and says on out how many went.
void RemoveSettingsLeftovers(std::ostream& out);
/// The value of attribute sName of the first element after the first occurrence of sAfter
/// in ribbon XML ("" when there is none).
std::string RibbonAttribute(const std::string& sXml, const std::string& sAfter,
                            const std::string& sName);

/// Whether a client of that version shows the add-in's ribbon (version 14 on); older clients
/// carry the toolbar the add-in puts into each explorer window instead.
bool HasRibbon(const std::string& sClientVersion);
/// The add-in's toolbar in an explorer window of a client without a ribbon: its name and its
/// report button. Throws std::runtime_error when the add-in put none there.
std::pair<std::string, std::shared_ptr<platform::outlook::CommandBarButton>> FindToolbarButton(
    platform::outlook::Explorer& oExplorer);

/// While it lives, a help page that cannot be shown (no browser, no such page) is told to the
/// person in a message box in the host's language, as the desktop's help viewer does itself.
class HelpFailureMessages
{
public:
    HelpFailureMessages();
    ~HelpFailureMessages();
    HelpFailureMessages(const HelpFailureMessages&) = delete;
    HelpFailureMessages& operator=(const HelpFailureMessages&) = delete;
};

/// The saves, mails and prints the person asked for (by a command or as an automatic action)
/// that failed in a run: any of them ends the run with ExitCode::NotKept.
class NotDoneWork
{
public:
    /// Notes one that failed, and why.
    void Note(const std::string& sWhy);
    bool Any() const { return m_nCount > 0; }
    /// Why the last one noted failed; empty when none was noted since the last call.
    std::string TakeWhy();

private:
    int m_nCount = 0;
    std::string m_sLastWhy;
};

class AddInLibrary;
/// Prints the report window as the user would see it: caption, templates (the current one in
/// brackets), the last read's progress and the grid; a line saying so when it is not open.
/// Lines are cut to `nWidth` columns.
void PrintReportWindow(const AddInLibrary& oLibrary, std::ostream& out, int nWidth = 120);
/// Saves the window's report into sFile (relative to the current folder), in the format of its
/// extension, through the report window's save dialog; says so on out. Throws
/// std::runtime_error when no file was written (the window showed why), and without trying
/// when the report has no rows, saying so.
void ExportReport(const AddInLibrary& oLibrary, const std::string& sFile, std::ostream& out);
/// The name of the template the window shows ("" when it is not open).
std::string CurrentTemplate(const AddInLibrary& oLibrary);
/// Chooses a template in the window's list as the user picks it (the window reads it).
/// Throws std::runtime_error when the window is not open or has no such template.
void SelectTemplate(const AddInLibrary& oLibrary, const std::string& sName);

} // namespace host
