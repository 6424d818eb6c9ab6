#pragma once

#include "host/HostOptions.h"
#include "host/ProfileLock.h"

#include <QPointer>
#include <QTimer>

#include <iosfwd>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform::forms {
class Form;
}
namespace platform::mapi {
class Message;
}
namespace platform::outlook {
class Application;
class CommandBarButton;
class IAddIn;
class Inspector;
} // namespace platform::outlook
namespace gui {
class ClientWindow;
class DesktopAnswers;
class EventLoop;
class FormView;
class InspectorView;
class QtTranslations;
} // namespace gui

namespace host {

class AddInLibrary;
class HelpFailureMessages;
class UnreadFolders;

/// The client with windows: the same connection, start-up and ribbon as the text run, then a
/// client window with the profile's folders and the add-in's ribbon button, and a window for
/// every form the add-in shows (the report window with its grid). Needs a QApplication.
class GuiHost
{
public:
    GuiHost(HostOptions oOptions, std::string sAddInPath, std::ostream& out);
    ~GuiHost();
    GuiHost(const GuiHost&) = delete;
    GuiHost& operator=(const GuiHost&) = delete;

    /// Opens the profile, connects the add-in, lets it start, and shows the client window.
    /// Throws std::exception with a message for the person when any of it fails.
    void Start();
    /// Closes the windows and disconnects the add-in; nothing when not started.
    void Stop();

    /// The client window (null before Start).
    gui::ClientWindow* Client() const { return m_window.get(); }
    /// The report window's view, or null while the add-in has not shown it.
    gui::FormView* ReportView() const;
    /// The item windows opened that are still there, oldest first.
    std::vector<gui::InspectorView*> ItemWindows() const;
    /// Opens an item window over the inspector, on top of the others: how the client shows an
    /// item the add-in or the person displays.
    gui::InspectorView* ShowInspector(std::shared_ptr<platform::outlook::Inspector> oInspector);
    /// The loaded add-in library (null before Start).
    const AddInLibrary* Library() const { return m_library.get(); }
    /// The run's exit code as it stands: 1 when the report window could not open because the
    /// report definitions cannot be read, 5 when a read left a folder unread, else 0.
    int RunExitCode() const;

private:
    void ClickReportButton();
    void ShowUnreadFolders();
    void OnFormShown(platform::forms::Form& oForm);
    void OpenFolder(const std::vector<int>& vPlace);
    void OpenListedItem(int nIndex);
    void TellPrintFailures();
    /// A settings file the add-in could not write: told in a message box unless the add-in
    /// showed one meanwhile.
    void TellIfNotToldWhy(const std::string& sFile, const std::string& sWhy);
    /// Tells the failed saves the add-in did not, once no modal window is open (bAtEnd: now).
    void TellUntold(bool bAtEnd);

    HostOptions m_oOptions;
    std::string m_sAddInPath;
    std::ostream& m_out;
    // Held from the profile's opening until the host is gone.
    std::unique_ptr<ProfileLock> m_lock;
    std::unique_ptr<gui::QtTranslations> m_translations;
    std::unique_ptr<gui::EventLoop> m_loop;
    std::unique_ptr<gui::DesktopAnswers> m_answers;
    std::unique_ptr<HelpFailureMessages> m_helpFailures; // help pages that cannot be shown
    std::unique_ptr<UnreadFolders> m_unread;             // folders the reads could not read
    bool m_bDefinitionsUnreadable = false;
    // A save, mail or print the person asked for failed (the add-in's message said why).
    bool m_bNotDone = false;
    // The add-in told that reports.xml could not be read whole.
    bool m_bDefinitionsNotRead = false;
    // Looks for prints that failed after they were sent, to tell the person in a message.
    std::unique_ptr<QTimer> m_printNews;
    std::shared_ptr<platform::outlook::Application> m_oClient;
    std::unique_ptr<AddInLibrary> m_library;
    std::unique_ptr<platform::outlook::IAddIn> m_oAddIn;
    std::unique_ptr<gui::ClientWindow> m_window;
    /// The report button on the add-in's toolbar (clients before ribbons), else null.
    std::shared_ptr<platform::outlook::CommandBarButton> m_oToolbarButton;
    std::map<platform::forms::Form*, QPointer<gui::FormView>> m_views;
    std::vector<QPointer<gui::InspectorView>> m_itemWindows;
    // The folder the client window lists, and its items in the list's order.
    std::vector<int> m_vOpenFolder;
    std::vector<std::shared_ptr<platform::mapi::Message>> m_vListed;
    // Failed saves not told yet, with the number of message boxes shown before each.
    struct Untold
    {
        std::string sFile;
        std::string sWhy;
        std::size_t nBoxesBefore = 0;
    };
    std::vector<Untold> m_vUntold;
};

/// Why no windows can be shown here (no display named, no X server answering, no Wayland
/// compositor or no Qt platform for it), or nothing when they can: a Qt platform the person
/// named (offscreen, ...) is taken as it is.
std::optional<std::string> DisplayProblem();

/// The client with windows in the running QApplication, until the person closes the client
/// window: answers the run's exit code. A start that fails (a damaged profile, a text the host
/// refuses) is told on `err`, and in a message box when bTellInWindow, and answers 1.
int RunGuiClient(const HostOptions& oOptions, const std::string& sAddInPath, std::ostream& out,
                 std::ostream& err, bool bTellInWindow);

/// `tallyman --gui`: runs the client with windows until the person closes the client window.
/// Without a display that opens it says so in one line, points to the text mode and answers 1
/// (never aborting as Qt does). Answers the exit code.
int RunGuiHost(const HostOptions& oOptions, const std::string& sAddInPath, std::ostream& out,
               std::ostream& err);

} // namespace host
