#include "host/HostSession.h"

#include "common/ILanguage.h"
#include "host/AddInLibrary.h"
#include "host/AnswerSource.h"
#include "host/DefinitionsWatch.h"
#include "host/ExitCodes.h"
#include "host/FolderPaths.h"
#include "host/FormRunner.h"
#include "host/GridText.h"
#include "host/HostTexts.h"
#include "host/Interactive.h"
#include "host/ItemWindows.h"
#include "host/ProfileLock.h"
#include "host/ProfileSetup.h"
#include "host/RunEnd.h"
#include "host/RunFolders.h"
#include "host/TerminalOutput.h"
#include "host/TextFit.h"
#include "host/UnreadFolders.h"
#include "platform/forms/Driver.h"
#include "platform/forms/FlexGrid.h"
#include "platform/forms/Form.h"
#include "platform/forms/StandardControls.h"
#include "platform/locale/Locale.h"
#include "platform/mapi/CurrentProfile.h"
#include "platform/mapi/Message.h"
#include "platform/outlook/AddIn.h"
#include "platform/outlook/Application.h"
#include "platform/outlook/CommandBars.h"
#include "platform/outlook/Explorers.h"
#include "platform/outlook/LanguageSettings.h"
#include "platform/printing/Spooler.h"
#include "platform/runtime/FileFailure.h"
#include "platform/runtime/Leftovers.h"
#include "platform/runtime/Notices.h"
#include "platform/runtime/Variant.h"
#include "platform/store/Profile.h"
#include "platform/store/Store.h"
#include "platform/win/HtmlHelp.h"
#include "platform/win/MessageLoop.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <unistd.h>
#include <utility>

namespace host {

namespace ol = platform::outlook;
namespace pf = platform::forms;
namespace rt = platform::runtime;

namespace {

// The add-in starts its second stage one second after connection; the host waits a little
// longer, so that the add-in's timer comes first.
constexpr std::chrono::milliseconds kStartupWait{1200};
// The client's user-interface language kind in its language settings.
constexpr long kUiLanguage = 2;
// From this client version on the report button sits on the ribbon.
constexpr int kRibbonVersion = 14;
// The name the add-in's explorer toolbars begin with.
constexpr const char* kToolbarName = "Reporting Tools";

// The report definitions the build ships beside the add-in library, or empty text.
std::string SampleReports(const std::string& sAddInPath)
{
    for (const auto& sCandidate : AddInCandidates(sAddInPath)) {
        const auto oFile =
            std::filesystem::path(sCandidate).parent_path() / "samples" / "reports.xml";
        std::ifstream oIn(oFile, std::ios::binary);
        if (oIn)
            return {std::istreambuf_iterator<char>(oIn), std::istreambuf_iterator<char>()};
    }
    return {};
}

void RunUntilStarted()
{
    auto& oLoop = platform::win::MessageLoop::main();
    oLoop.setTimer(kStartupWait, [&oLoop](platform::win::TimerId id) {
        oLoop.killTimer(id);
        oLoop.quit();
    });
    oLoop.run();
}

platform::forms::ComboBox* TemplateList(platform::forms::Form& oWindow)
{
    return dynamic_cast<platform::forms::ComboBox*>(oWindow.FindControl("cboTemplate").get());
}

} // namespace

std::string OpenProfile(const HostOptions& oOptions, const std::string& sAddInPath,
                        std::ostream& out)
{
    if (!oOptions.sProfile.empty()) {
        if (!platform::store::Profile::Exists(oOptions.sProfile))
            throw std::runtime_error(Say(HostText::NoProfileIn, {oOptions.sProfile}));
        return oOptions.sProfile;
    }
    const auto oFolder = SampleProfileFolder();
    if (EnsureSampleProfile(oFolder, oFolder.parent_path(), SampleReports(sAddInPath),
                            oOptions.sLanguage))
        out << Say(HostText::SampleGenerated, {oFolder.string()}) << "\n";
    return oFolder.string();
}

namespace {

// The add-in's report definitions, beside the sample profile in the user's data folder.
std::filesystem::path ReportsFile()
{
    return SettingsFolder() / "reports.xml";
}

} // namespace

bool DefinitionsUnreadable()
{
    namespace fs = std::filesystem;
    const fs::path oFile = ReportsFile();
    std::error_code ec;
    const fs::file_status oStatus = fs::status(oFile, ec);
    // A missing file is no failure: the add-in starts with its default template. A pipe or a
    // device is not opened to find out (a pipe would hold the start until something writes).
    if (!fs::exists(oStatus))
        return false;
    return !fs::is_regular_file(oStatus) || !std::ifstream(oFile, std::ios::binary);
}

void RemoveSettingsLeftovers(std::ostream& out)
{
    // A run killed while it wrote the settings or a report left its temporary files there.
    std::vector<std::string> vFolders{ReportsFile().parent_path().string()};
    for (const auto& sFolder : TemplateSaveFolders(ReportsFile()))
        vFolders.push_back(sFolder);
    for (const auto& sFolder : vFolders)
        if (const int nRemoved = platform::runtime::RemoveLeftoverTemporaries(sFolder))
            out << Say(HostText::LeftoversRemoved, {std::to_string(nRemoved), sFolder}) << "\n";
}

std::string RibbonAttribute(const std::string& sXml, const std::string& sAfter,
                            const std::string& sName)
{
    const auto at = sXml.find(sAfter);
    if (at == std::string::npos)
        return {};
    const std::string sKey = sName + "='";
    const auto start = sXml.find(sKey, at);
    if (start == std::string::npos)
        return {};
    const auto end = sXml.find('\'', start + sKey.size());
    return sXml.substr(start + sKey.size(), end - start - sKey.size());
}

namespace {

// The report button on the explorer's ribbon: the add-in's ribbon is loaded and shown.
std::function<void()> RibbonButton(ol::IAddIn& oAddIn, std::ostream& out)
{
    const std::string sXml = oAddIn.GetCustomUI("Microsoft.Outlook.Explorer");
    if (sXml.empty())
        throw std::runtime_error("the add-in gave no ribbon for the explorer window");
    out << Say(HostText::RibbonLine, {RibbonAttribute(sXml, "<tab ", "label"),
                                      RibbonAttribute(sXml, "<button ", "label")})
        << "\n";
    oAddIn.InvokeCallback("OnLoad", std::make_shared<ol::IRibbonUI>());
    return [&oAddIn] {
        oAddIn.InvokeCallback("RibbonButtonClick",
                              std::make_shared<ol::IRibbonControl>("ShowReport"));
    };
}

// The report button on the toolbar the add-in put into an explorer window of a client
// without a ribbon.
std::function<void()> ToolbarButton(ol::Explorer& oExplorer, std::ostream& out)
{
    auto [sBar, oButton] = FindToolbarButton(oExplorer);
    out << Say(HostText::ToolbarButtonLine, {sBar, oButton->Caption}) << "\n";
    return [oButton] { oButton->Click(); };
}

} // namespace

HelpFailureMessages::HelpFailureMessages()
{
    // The message box style of a warning with an OK button.
    constexpr int kWarning = 48;
    platform::win::setHelpFailureReporter(
        [](const std::string& sPage, const platform::win::ShellResult& failure) {
            pf::MsgBox(Say(HostText::HelpNotShown, {sPage, failure.detail}), kWarning);
        });
}

HelpFailureMessages::~HelpFailureMessages()
{
    platform::win::setHelpFailureReporter({});
}

bool HasRibbon(const std::string& sClientVersion)
{
    return MajorVersionOf(sClientVersion) >= kRibbonVersion;
}

std::pair<std::string, std::shared_ptr<ol::CommandBarButton>>
FindToolbarButton(ol::Explorer& oExplorer)
{
    for (const auto& oBar : oExplorer.CommandBars()->Bars()) {
        if (oBar->Name().rfind(kToolbarName, 0) != 0 || oBar->Controls().Count() == 0)
            continue;
        return {oBar->Name(), oBar->Controls().Item(1)};
    }
    throw std::runtime_error("the add-in put no toolbar into the explorer window");
}

std::string CurrentTemplate(const AddInLibrary& oLibrary)
{
    auto* pWindow = oLibrary.ReportWindow();
    auto* pList = pWindow ? TemplateList(*pWindow) : nullptr;
    return pList && pList->ListIndex() >= 0 ? pList->List(pList->ListIndex()) : std::string();
}

namespace {

// A folder of the current profile as the folder picker and --folder name it: the first store's
// calendar, or a pattern when the profile has none.
std::string ExampleFolder()
{
    try {
        auto oProfile = platform::store::Profile::Open(platform::mapi::CurrentProfile());
        for (const auto& oInfo : oProfile->Stores()) {
            auto oStore = oProfile->OpenStore(oInfo.entryId);
            if (const auto oCalendar = oStore->DefaultFolder(platform::store::FolderRole::Calendar))
                return oInfo.name + "/" + oCalendar->name;
        }
    } catch (const std::exception&) {
        // An example is a help, not a need.
    }
    return "Store/Folder";
}

} // namespace

void NotDoneWork::Note(const std::string& sWhy)
{
    ++m_nCount;
    m_sLastWhy = sWhy;
}

std::string NotDoneWork::TakeWhy()
{
    return std::exchange(m_sLastWhy, {});
}

namespace {

// Tells the person at the terminal what the add-in did without a window: automatic saves and
// deletes, mails sent, print jobs, and a read's progress while the output is a terminal.
class NoticePrinter
{
public:
    NoticePrinter(std::ostream& out, int nWidth, bool bTerminal, DefinitionsWatch& oWatch,
                  UnreadFolders& oUnread, NotDoneWork& oNotDone)
        : m_out(out), m_nWidth(nWidth), m_bTerminal(bTerminal), m_oWatch(oWatch),
          m_oUnread(oUnread), m_oNotDone(oNotDone)
    {
        platform::runtime::SetNoticeListener(
            [this](const platform::runtime::Notice& oNotice) { Show(oNotice); });
    }
    ~NoticePrinter() { platform::runtime::SetNoticeListener({}); }
    NoticePrinter(const NoticePrinter&) = delete;
    NoticePrinter& operator=(const NoticePrinter&) = delete;

private:
    using Kind = platform::runtime::Notice::Kind;
    static constexpr std::chrono::milliseconds kProgressStep{100};

    void Show(const platform::runtime::Notice& oNotice)
    {
        switch (oNotice.kind) {
        case Kind::Saved:
            m_out << WrapText(Say(HostText::AutoSaved, {oNotice.subject}), m_nWidth);
            break;
        case Kind::Mailed:
            m_out << WrapText(Say(HostText::AutoMailed, {oNotice.detail, oNotice.subject}),
                              m_nWidth);
            break;
        case Kind::Printed:
            m_out << WrapText(Say(HostText::AutoPrinted, {oNotice.subject, oNotice.detail}),
                              m_nWidth);
            break;
        case Kind::Deleted:
            m_out << WrapText(Say(HostText::AutoDeleted, {oNotice.subject}), m_nWidth);
            break;
        case Kind::Progress:
            ShowProgress(oNotice.value, oNotice.max);
            break;
        case Kind::ReadEnded:
            ClearProgress();
            ShowUnreadFolders();
            break;
        case Kind::NotWritten:
            // The add-in shows or ignores it; the host says it where the add-in stays silent.
            m_oWatch.NoteNotWritten(oNotice.subject, oNotice.detail);
            break;
        case Kind::NotDone:
            // The add-in's message box says why; the run's code says it too.
            m_oNotDone.Note(oNotice.detail);
            break;
        case Kind::NotRead:
            m_oWatch.NoteNotRead(oNotice.subject);
            break;
        case Kind::FolderUnread:
            // Told with the others once the read is over.
            m_oUnread.Note(oNotice);
            break;
        }
    }
    // One line, written over again as the read goes on; only a terminal shows it so.
    void ShowProgress(long lValue, long lMax)
    {
        const auto tNow = std::chrono::steady_clock::now();
        if (!m_bTerminal || (m_nShown > 0 && tNow - m_tLast < kProgressStep))
            return;
        m_tLast = tNow;
        const std::string sLine = Say(HostText::ReadProgress,
                                      {std::to_string(lValue), std::to_string(lMax)});
        m_out << ReturnCursor << PadText(sLine, m_nShown) << std::flush;
        m_nShown = std::max(m_nShown, TextWidth(sLine));
    }
    // The read went on without the folders it could not read; the person hears which.
    void ShowUnreadFolders()
    {
        if (const auto vLines = m_oUnread.TakeNew(); !vLines.empty())
            m_out << WrapText(UnreadFoldersText(vLines, EngineLogFile(ReportsFile().parent_path())),
                              m_nWidth);
    }
    void ClearProgress()
    {
        if (m_nShown > 0)
            m_out << ReturnCursor << std::string(static_cast<std::size_t>(m_nShown), ' ')
                  << ReturnCursor << std::flush;
        m_nShown = 0;
    }

    std::ostream& m_out;
    int m_nWidth;
    bool m_bTerminal;
    DefinitionsWatch& m_oWatch;
    UnreadFolders& m_oUnread;
    NotDoneWork& m_oNotDone;
    int m_nShown = 0;
    std::chrono::steady_clock::time_point m_tLast;
};

} // namespace

// The report window as the user would see it: caption, templates, the last read's progress
// and the grid.
void PrintReportWindow(const AddInLibrary& oLibrary, std::ostream& out, int nWidth)
{
    auto* pWindow = oLibrary.ReportWindow();
    if (!pWindow || !pWindow->IsLoaded()) {
        out << Say(HostText::WindowNotOpen) << "\n";
        return;
    }
    out << "\n" << WrapText(pWindow->Caption(), nWidth);
    if (auto* pList = TemplateList(*pWindow)) {
        std::string sLine = Say(HostText::Templates);
        for (int i = 0; i < pList->ListCount(); ++i)
            sLine += (i == pList->ListIndex() ? " [" : " ") + pList->List(i) +
                     (i == pList->ListIndex() ? "]" : "");
        out << WrapText(sLine, nWidth);
    }
    const auto [lValue, lMax] = oLibrary.ReportProgress();
    // The engine counts one past the last row; the window's bar stops at its maximum.
    out << Say(HostText::ReadCount, {std::to_string(std::min(lValue, lMax)), std::to_string(lMax)})
        << "\n";
    long lFolders = 0;
    std::string sUnreadable;
    try {
        lFolders = oLibrary.ReportFolderCount();
    } catch (const std::exception& e) {
        // The template's settings in the file do not load (the window said so); the session
        // goes on with the other templates.
        sUnreadable = e.what();
    }
    if (!sUnreadable.empty())
        out << WrapText(Say(HostText::TemplateUnreadable,
                            {CurrentTemplate(oLibrary), sUnreadable, ReportsFile().string()}),
                        nWidth);
    else if (lMax == 0 && lFolders == 0)
        out << WrapText(Say(HostText::NoFolder, {CurrentTemplate(oLibrary), ExampleFolder()}),
                        nWidth);
    out << "\n";
    if (auto* pGrid = oLibrary.ReportGrid())
        out << GridText(*pGrid, nWidth);
}

// Chooses a template in the window's list, as the user picks it; the window reads it.
void SelectTemplate(const AddInLibrary& oLibrary, const std::string& sName)
{
    auto* pWindow = oLibrary.ReportWindow();
    auto* pList = pWindow ? TemplateList(*pWindow) : nullptr;
    if (!pList)
        throw std::runtime_error(Say(HostText::WindowNotOpen));
    std::string sNames;
    for (int i = 0; i < pList->ListCount(); ++i) {
        if (pList->List(i) == sName) {
            pList->SetText(sName);
            return;
        }
        sNames += (i == 0 ? "\"" : ", \"") + pList->List(i) + "\"";
    }
    throw std::runtime_error(Say(HostText::NoTemplate, {sName, sNames}));
}

namespace {

// The file a save named sPath wrote: sPath itself, or sPath with the extension of the format
// the save added to a name without one; the newest of them changed since tStart.
std::string WrittenFile(const std::string& sPath, std::filesystem::file_time_type tStart)
{
    namespace fs = std::filesystem;
    std::string sWritten = sPath;
    auto tNewest = tStart;
    std::error_code ec;
    for (const char* pExtension : {"", ".xlsx", ".xls", ".xlsm", ".csv", ".html"}) {
        const std::string sCandidate = sPath + pExtension;
        const auto tChanged = fs::last_write_time(sCandidate, ec);
        if (!ec && tChanged >= tNewest && fs::is_regular_file(sCandidate, ec)) {
            tNewest = tChanged;
            sWritten = sCandidate;
        }
    }
    return sWritten;
}

} // namespace

void ExportReport(const AddInLibrary& oLibrary, const std::string& sFile, std::ostream& out)
{
    namespace fs = std::filesystem;
    // The save dialog starts in the report's folder: the file is named from where the user is.
    const fs::path oPath = fs::absolute(sFile).lexically_normal();
    const std::string sPath = oPath.string();
    std::error_code ec;
    if (!fs::is_directory(oPath.parent_path(), ec))
        throw std::runtime_error(
            Say(HostText::ExportFolderMissing, {oPath.parent_path().string()}));
    if (fs::is_directory(oPath, ec))
        throw std::runtime_error(platform::runtime::FileFailureText(
            EISDIR, platform::runtime::FileAction::Write, sPath));
    // The window saves only a report with rows and says nothing otherwise.
    if (const auto* pGrid = oLibrary.ReportGrid();
        oLibrary.ReportProgress().second == 0 || !pGrid || pGrid->Rows() <= pGrid->FixedRows())
        throw std::runtime_error(
            Say(HostText::SaveFailedWhy, {sPath, Say(HostText::NoRowsToSave)}));
    const auto tStart = fs::file_time_type::clock::now() - std::chrono::seconds(1);
    platform::forms::Driver::current().QueueDialogAnswer(sPath);
    if (!oLibrary.SaveReport())
        throw std::runtime_error(Say(HostText::SaveFailed, {sPath}));
    out << Say(HostText::SavedAs, {WrittenFile(sPath, tStart)}) << "\n";
}

// Makes the queue the default printer of this process only, as LPDEST does for the print
// commands; the user's stored default printer stays as it is.
void UsePrinter(const std::string& sQueue, std::ostream& out)
{
    const auto vQueues = platform::printing::Spooler().PrinterNames();
    if (std::find(vQueues.begin(), vQueues.end(), sQueue) == vQueues.end()) {
        std::string sNames;
        for (const auto& sName : vQueues)
            sNames += (sNames.empty() ? "" : ", ") + sName;
        throw std::runtime_error(Say(HostText::NoPrintQueue, {sQueue, sNames}));
    }
    ::setenv("LPDEST", sQueue.c_str(), 1);
    out << Say(HostText::PrinterLine, {sQueue}) << "\n";
}

namespace {

// The report that --export asked for was not saved: the run ends with its own code.
struct ReportNotKept : std::runtime_error
{
    using std::runtime_error::runtime_error;
};

void ExportOrSayNotKept(const AddInLibrary& oLibrary, const std::string& sFile, std::ostream& out,
                        NotDoneWork& oNotDone)
{
    oNotDone.TakeWhy();
    try {
        ExportReport(oLibrary, sFile, out);
    } catch (const std::filesystem::filesystem_error& e) {
        throw ReportNotKept(FileSystemFailureText(e));
    } catch (const std::exception& e) {
        // The save's own failure says why the report was not saved.
        const std::string sWhy = oNotDone.TakeWhy();
        const std::string sPath = std::filesystem::absolute(sFile).lexically_normal().string();
        throw ReportNotKept(sWhy.empty() ? std::string(e.what())
                                         : Say(HostText::SaveFailedWhy, {sPath, sWhy}));
    }
}

} // namespace

int RunHost(const HostOptions& oOptions, const std::string& sAddInPath, std::istream& in,
            std::ostream& out, std::ostream& err)
{
    try {
        platform::locale::SetCurrent(LocaleOf(oOptions.sLanguage));
        SetTextLanguage(oOptions.sLanguage);
        // The add-in and the host keep their settings there; the run cannot go on without.
        MakeSettingsFolder();
        const std::string sProfile = OpenProfile(oOptions, sAddInPath, out);
        const ProfileLock oLock(sProfile);
        CheckProfileOpens(sProfile);
        const HelpFailureMessages oHelpFailures;
        platform::mapi::SetCurrentProfile(sProfile);
        RemoveSettingsLeftovers(out);
        // A run killed while --folder held left the template's own folders in a note.
        RunFolders::Recover(ReportsFile(), out);
        out << Say(HostText::ProfileLine, {sProfile}) << "\n";
        if (!oOptions.sPrinter.empty())
            UsePrinter(oOptions.sPrinter, out);

        // The person answers every modal form, message box and dialog: from the answers
        // file, else from the terminal. A question is never answered on their behalf.
        std::ifstream oAnswersFile;
        if (!oOptions.sAnswers.empty()) {
            std::error_code ec;
            if (std::filesystem::is_directory(oOptions.sAnswers, ec))
                throw std::runtime_error(Say(HostText::AnswersIsFolder, {oOptions.sAnswers}));
            oAnswersFile.open(oOptions.sAnswers);
            if (!oAnswersFile)
                throw std::runtime_error(Say(HostText::AnswersUnreadable, {oOptions.sAnswers}));
        }
        const int nWidth = TerminalWidth();
        AnswerSource oAnswers(oOptions.sAnswers.empty() ? in : oAnswersFile, out, oOptions.sAnswers,
                              ExitWithMessage(out, err), nWidth);
        FormRunner oPerson(oAnswers, out, nWidth);
        DefinitionsWatch oWatch(ReportsFile());
        UnreadFolders oUnread;
        NotDoneWork oNotDone;
        const NoticePrinter oNotices(out, nWidth, ::isatty(STDOUT_FILENO) == 1, oWatch, oUnread,
                                     oNotDone);
        ItemWindows oItemWindows;
        platform::mapi::SetDisplayHandler(
            [&oItemWindows](const auto& oMessage) { oItemWindows.Open(oMessage); });
        // The windows go with this run, also when it fails.
        const struct DisplayHandlerReset
        {
            ~DisplayHandlerReset() { platform::mapi::SetDisplayHandler({}); }
        } oResetDisplay;

        auto oClient = std::make_shared<ol::Application>(oOptions.sClientVersion);
        oClient->LanguageSettings()->SetLanguageID(kUiLanguage, LanguageIdOf(oOptions.sLanguage));

        AddInLibrary oLibrary(AddInCandidates(sAddInPath));
        auto oAddIn = oLibrary.CreateAddIn();
        rt::Variant custom;
        oAddIn->OnConnection(oClient, 0, rt::Variant(), custom);
        if (auto* pLanguage = oLibrary.Language())
            pLanguage->SetLanguageID(LanguageIdOf(oOptions.sLanguage));
        out << Say(HostText::AddInConnected, {oLibrary.Path()}) << "\n";

        oClient->Explorers()->Add();
        RunUntilStarted();

        const bool bRibbon = HasRibbon(oOptions.sClientVersion);
        const auto fnClickReportButton = bRibbon
                                             ? RibbonButton(*oAddIn, out)
                                             : ToolbarButton(*oClient->Explorers()->Item(1), out);
        fnClickReportButton();
        // The person clicks the add-in's toolbar only where the client has no ribbon.
        const std::function<void()> fnClickToolbar =
            bRibbon ? std::function<void()>() : fnClickReportButton;

        // The add-in must be disconnected before its library closes, also when the window
        // cannot do what was asked.
        int nExit = 0;
        // The command line's folders hold for this run: the template gets its own back
        // however the run ends, unless the person picks folders meanwhile.
        RunFolders oRunFolders(ReportsFile());
        RunEnd::Handle oPutBack;
        if (auto* pEnd = RunEnd::Current())
            oPutBack = pEnd->AtEnd([&oRunFolders, &out] { oRunFolders.PutBack(out); });
        oPerson.SetFoldersChosenHook([&oRunFolders] { oRunFolders.Release(); });
        try {
            // The add-in told why in its message box; without the window the run cannot go on.
            if (const auto* pWindow = oLibrary.ReportWindow();
                (!pWindow || !pWindow->IsLoaded()) && (DefinitionsUnreadable() || oWatch.NotRead()))
                throw std::runtime_error(
                    Say(HostText::DefinitionsShutWindow, {ReportsFile().string()}));
            if (!oOptions.sTemplate.empty())
                SelectTemplate(oLibrary, oOptions.sTemplate);
            if (!oOptions.vFolders.empty()) {
                oRunFolders.Keep(CurrentTemplate(oLibrary));
                PickFolders(oLibrary, oOptions.vFolders);
            }
            PrintReportWindow(oLibrary, out, nWidth);
            if (!oOptions.sExport.empty())
                ExportOrSayNotKept(oLibrary, oOptions.sExport, out, oNotDone);
            if (oOptions.bInteractive &&
                !RunInteractive(oLibrary, oAnswers, out, nWidth,
                                {fnClickReportButton, fnClickToolbar,
                                 [&oItemWindows, nWidth] { return oItemWindows.TakeText(nWidth); },
                                 [&oItemWindows](const std::string& sCommand) {
                                     return oItemWindows.RunCommand(sCommand);
                                 },
                                 [&oPerson] { oPerson.NoteFoldersChosen(); },
                                 [&oWatch] { oWatch.Begin(); },
                                 [&oWatch] { return oWatch.ClosedText(); }, PrintFailureText}))
                nExit = ToInt(ExitCode::InputFailed);
        } catch (const ReportNotKept& e) {
            err << "tallyman: " << e.what() << "\n";
            nExit = ToInt(ExitCode::NotKept);
        } catch (const std::filesystem::filesystem_error& e) {
            err << "tallyman: " << FileSystemFailureText(e) << "\n";
            nExit = 1;
        } catch (const std::exception& e) {
            err << "tallyman: " << e.what() << "\n";
            nExit = 1;
        }

        oAddIn->OnDisconnection(0, custom);
        oAddIn.reset();
        out << Say(HostText::AddInDisconnected) << "\n";
        // A print that failed is counted at the process's end, after the wait for the prints.
        if (!oRunFolders.PutBack(out) || !oWatch.Kept() || oNotDone.Any())
            nExit = RunEnd::MorePressing(nExit, ToInt(ExitCode::NotKept));
        platform::mapi::SetDisplayHandler({});
        // A folder left unread is told at its read; the run says so as well unless a more
        // pressing code applies.
        if (oUnread.Any())
            nExit = RunEnd::MorePressing(nExit, ToInt(ExitCode::FolderUnread));
        return nExit;
    } catch (const std::filesystem::filesystem_error& e) {
        err << "tallyman: " << FileSystemFailureText(e) << "\n";
        return 1;
    } catch (const std::exception& e) {
        err << "tallyman: " << e.what() << "\n";
        return 1;
    }
}

} // namespace host
