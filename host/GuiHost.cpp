#include "host/GuiHost.h"

#include "common/ILanguage.h"
#include "gui/ClientWindow.h"
#include "gui/DesktopAnswers.h"
#include "gui/DesktopWindows.h"
#include "gui/EventLoop.h"
#include "gui/FormView.h"
#include "gui/InspectorView.h"
#include "gui/QtTranslations.h"
#include "gui/Units.h"
#include "host/AddInLibrary.h"
#include "host/ExitCodes.h"
#include "host/HostSession.h"
#include "host/HostTexts.h"
#include "host/ItemWindow.h"
#include "host/ProfileSetup.h"
#include "host/RunEnd.h"
#include "host/RunFolders.h"
#include "host/UnreadFolders.h"
#include "platform/forms/Driver.h"
#include "platform/forms/Form.h"
#include "platform/locale/Locale.h"
#include "platform/mapi/CurrentProfile.h"
#include "platform/mapi/Folder.h"
#include "platform/mapi/Items.h"
#include "platform/mapi/Message.h"
#include "platform/outlook/AddIn.h"
#include "platform/outlook/Application.h"
#include "platform/outlook/CommandBars.h"
#include "platform/outlook/Explorers.h"
#include "platform/outlook/Folders.h"
#include "platform/outlook/Inspector.h"
#include "platform/outlook/ItemBase.h"
#include "platform/outlook/LanguageSettings.h"
#include "platform/outlook/MAPIFolder.h"
#include "platform/outlook/NameSpace.h"
#include "platform/runtime/Notices.h"
#include "platform/runtime/Variant.h"
#include "platform/win/Desktop.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QScreen>
#include <QTimer>

#include <dlfcn.h>

#include <clocale>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <optional>
#include <ostream>
#include <stdexcept>

namespace host {

namespace ol = platform::outlook;
namespace pf = platform::forms;
namespace rt = platform::runtime;

namespace {

// The add-in starts its second stage one second after connection; the host waits a little
// longer, so that the add-in's timer comes first.
constexpr std::chrono::milliseconds kStartupWait{1200};
// How often the client looks whether a print failed after it was sent.
constexpr std::chrono::milliseconds kPrintNewsInterval{500};
// The client's user-interface language kind in its language settings.
constexpr long kUiLanguage = 2;

std::vector<gui::FolderNode> FolderTree(const std::shared_ptr<ol::Folders>& oFolders)
{
    std::vector<gui::FolderNode> nodes;
    if (!oFolders)
        return nodes;
    for (const auto& oFolder : *oFolders)
        nodes.push_back({oFolder->Name(), FolderTree(oFolder->Folders())});
    return nodes;
}

} // namespace

GuiHost::GuiHost(HostOptions oOptions, std::string sAddInPath, std::ostream& out)
    : m_oOptions(std::move(oOptions)), m_sAddInPath(std::move(sAddInPath)), m_out(out)
{
    // The QApplication set the process locale from the environment. The run's regional
    // settings come from platform::locale; the C library's numbers (printf, strtod, and the
    // workbook library's numbers through them) stay in the C notation that file formats need.
    std::setlocale(LC_NUMERIC, "C");
}

GuiHost::~GuiHost()
{
    Stop();
}

void GuiHost::Start()
{
    platform::locale::SetCurrent(LocaleOf(m_oOptions.sLanguage));
    SetTextLanguage(m_oOptions.sLanguage);
    MakeSettingsFolder();
    const std::string sProfile = OpenProfile(m_oOptions, m_sAddInPath, m_out);
    m_lock = std::make_unique<ProfileLock>(sProfile);
    CheckProfileOpens(sProfile);
    platform::mapi::SetCurrentProfile(sProfile);
    RemoveSettingsLeftovers(m_out);
    RunFolders::Recover(SettingsFolder() / "reports.xml", m_out);
    m_out << Say(HostText::ProfileLine, {sProfile}) << "\n";
    // The add-in keeps its windows on the screen by the desktop's size: the one they show on.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        platform::win::Desktop::current().setScreenSize(area.x() + area.width(),
                                                        area.y() + area.height());
    }
    m_translations = std::make_unique<gui::QtTranslations>();
    m_loop = std::make_unique<gui::EventLoop>();
    m_answers = std::make_unique<gui::DesktopAnswers>();
    m_helpFailures = std::make_unique<HelpFailureMessages>();
    m_unread = std::make_unique<UnreadFolders>();
    rt::SetNoticeListener([this](const rt::Notice& oNotice) {
        m_unread->Note(oNotice);
        if (oNotice.kind == rt::Notice::Kind::ReadEnded)
            ShowUnreadFolders();
        // The add-in's message box says why; the run's code says it too.
        if (oNotice.kind == rt::Notice::Kind::NotDone)
            m_bNotDone = true;
        else if (oNotice.kind == rt::Notice::Kind::NotRead)
            m_bDefinitionsNotRead = true;
        else if (oNotice.kind == rt::Notice::Kind::NotWritten)
            TellIfNotToldWhy(oNotice.subject, oNotice.detail);
    });
    pf::Form::SetShowObserver([this](pf::Form& oForm) { OnFormShown(oForm); });

    m_oClient = std::make_shared<ol::Application>(m_oOptions.sClientVersion);
    m_oClient->LanguageSettings()->SetLanguageID(kUiLanguage, LanguageIdOf(m_oOptions.sLanguage));
    m_library = std::make_unique<AddInLibrary>(AddInCandidates(m_sAddInPath));
    m_oAddIn = m_library->CreateAddIn();
    rt::Variant custom;
    m_oAddIn->OnConnection(m_oClient, 0, rt::Variant(), custom);
    if (auto* pLanguage = m_library->Language())
        pLanguage->SetLanguageID(LanguageIdOf(m_oOptions.sLanguage));
    m_out << Say(HostText::AddInConnected, {m_library->Path()}) << "\n";
    m_oClient->Explorers()->Add();
    gui::EventLoop::RunFor(kStartupWait);

    const std::string sTitle = "Tallyman - " + sProfile;
    const auto vFolders = FolderTree(m_oClient->GetNamespace("MAPI")->Folders());
    if (HasRibbon(m_oOptions.sClientVersion)) {
        const std::string sXml = m_oAddIn->GetCustomUI("Microsoft.Outlook.Explorer");
        if (sXml.empty())
            throw std::runtime_error("the add-in gave no ribbon for the explorer window");
        m_oAddIn->InvokeCallback("OnLoad", std::make_shared<ol::IRibbonUI>());
        m_window = std::make_unique<gui::ClientWindow>(
            sTitle, RibbonAttribute(sXml, "<tab ", "label"),
            RibbonAttribute(sXml, "<button ", "label"), vFolders);
    } else {
        // A client before ribbons: the add-in put its toolbar into the explorer window.
        auto [sBar, oButton] = FindToolbarButton(*m_oClient->Explorers()->Item(1));
        m_oToolbarButton = oButton;
        m_window = std::make_unique<gui::ClientWindow>(sTitle, sBar, oButton->Caption, vFolders,
                                                       gui::ButtonPlace::Toolbar);
    }
    m_window->OnRibbonButton = [this] { ClickReportButton(); };
    m_window->SetItemHeaders(ItemWindowWord("Subject"), ItemWindowWord("Date"),
                             ItemWindowWord("To"));
    m_window->OnFolderOpened = [this](const std::vector<int>& vPlace) { OpenFolder(vPlace); };
    m_window->OnItemOpened = [this](int nIndex) { OpenListedItem(nIndex); };
    platform::mapi::SetDisplayHandler([this](const auto& oItem) {
        ShowInspector(std::make_shared<ol::Inspector>(ol::WrapItem(oItem)));
    });
    m_window->show();
    // A print fails, if at all, after the add-in was told it is on its way.
    m_printNews = std::make_unique<QTimer>();
    m_printNews->setInterval(kPrintNewsInterval);
    QObject::connect(m_printNews.get(), &QTimer::timeout, [this] { TellPrintFailures(); });
    m_printNews->start();
}

void GuiHost::TellPrintFailures()
{
    const std::string sText = PrintFailureText();
    if (sText.empty())
        return;
    // The message box shows the failures in the windows; its own turn of the loop may find
    // more, which wait for the next look.
    m_printNews->stop();
    constexpr int kWarning = 48;
    pf::MsgBox(sText.substr(0, sText.size() - 1), kWarning);
    if (m_printNews)
        m_printNews->start();
}

void GuiHost::Stop()
{
    if (!m_oAddIn)
        return;
    m_printNews.reset();
    // A save the add-in made as its windows closed with the client is told before it goes.
    if (!m_vUntold.empty())
        TellUntold(true);
    pf::Form::SetShowObserver({});
    rt::SetNoticeListener({});
    platform::mapi::SetDisplayHandler({});
    for (auto& view : m_itemWindows)
        delete view.data();
    m_itemWindows.clear();
    for (auto& [pForm, view] : m_views)
        delete view.data();
    m_views.clear();
    m_window.reset();
    m_oToolbarButton.reset();
    rt::Variant custom;
    m_oAddIn->OnDisconnection(0, custom);
    m_oAddIn.reset();
    m_out << Say(HostText::AddInDisconnected) << "\n";
    m_library.reset();
    m_helpFailures.reset();
    m_answers.reset();
    m_loop.reset();
    m_translations.reset();
}

gui::InspectorView* GuiHost::ShowInspector(std::shared_ptr<ol::Inspector> oInspector)
{
    auto oItem = oInspector->CurrentItem();
    const auto message = [oItem] { return oItem ? oItem->MapiMessage() : nullptr; };
    auto* view = new gui::InspectorView(
        std::move(oInspector),
        [message] {
            const auto oMessage = message();
            return oMessage ? ItemWindowContentOf(*oMessage) : ItemWindowContent{};
        },
        [message](const MailEdits& oEdits) {
            if (const auto oMessage = message())
                SendFromItemWindow(*oMessage, oEdits);
        },
        [](const std::string& sEnglish) { return ItemWindowWord(sEnglish); });
    view->OnSave = [message](const MailEdits& oEdits) {
        if (const auto oMessage = message())
            SaveFromItemWindow(*oMessage, oEdits);
    };
    view->setAttribute(Qt::WA_DeleteOnClose);
    // A mail sent or saved from its window moves or changes: the list shows it as it is now.
    QObject::connect(view, &QObject::destroyed, m_window.get(), [this] {
        if (!m_vOpenFolder.empty())
            OpenFolder(m_vOpenFolder);
    });
    m_itemWindows.emplace_back(view);
    view->show();
    view->raise();
    return view;
}

std::vector<gui::InspectorView*> GuiHost::ItemWindows() const
{
    std::vector<gui::InspectorView*> views;
    for (const auto& view : m_itemWindows)
        if (view)
            views.push_back(view.data());
    return views;
}

gui::FormView* GuiHost::ReportView() const
{
    auto* pWindow = m_library ? m_library->ReportWindow() : nullptr;
    const auto found = m_views.find(pWindow);
    return found != m_views.end() ? found->second.data() : nullptr;
}

void GuiHost::OpenFolder(const std::vector<int>& vPlace)
{
    std::shared_ptr<ol::MAPIFolder> oFolder;
    auto oFolders = m_oClient->GetNamespace("MAPI")->Folders();
    for (const int nIndex : vPlace) {
        if (!oFolders || nIndex < 0 || nIndex >= oFolders->Count())
            return;
        oFolder = oFolders->Item(rt::Variant(static_cast<long>(nIndex) + 1));
        oFolders = oFolder->Folders();
    }
    if (!oFolder)
        return;
    m_vOpenFolder = vPlace;
    m_vListed.clear();
    std::vector<gui::ItemRow> vRows;
    try {
        auto oItems = oFolder->MapiFolder()->GetItems();
        const long nCount = oItems->Count();
        for (long i = 1; i <= nCount; ++i) {
            auto oItem = oItems->Item(i);
            vRows.push_back(ItemRowOf(*oItem));
            m_vListed.push_back(std::move(oItem));
        }
    } catch (const std::exception& e) {
        // A folder that cannot be read shows why in its list rather than ending the client.
        vRows.assign(1, gui::ItemRow{e.what(), "", ""});
        m_vListed.clear();
    }
    m_window->ShowItems(vRows);
}

void GuiHost::OpenListedItem(int nIndex)
{
    if (nIndex < 0 || static_cast<std::size_t>(nIndex) >= m_vListed.size())
        return;
    ShowInspector(std::make_shared<ol::Inspector>(ol::WrapItem(m_vListed[nIndex])));
}

void GuiHost::ClickReportButton()
{
    // The person's click: an error the add-in lets out is shown to them.
    gui::CallModel([this] {
        if (m_oToolbarButton)
            m_oToolbarButton->Click();
        else
            m_oAddIn->InvokeCallback("RibbonButtonClick",
                                     std::make_shared<ol::IRibbonControl>("ShowReport"));
    });
    // The add-in's message box said why; the run ends with the code of a run that could not go
    // on.
    const auto* pWindow = m_library->ReportWindow();
    if ((!pWindow || !pWindow->IsLoaded()) && (DefinitionsUnreadable() || m_bDefinitionsNotRead))
        m_bDefinitionsUnreadable = true;
}

void GuiHost::ShowUnreadFolders()
{
    const auto vLines = m_unread->TakeNew();
    if (vLines.empty())
        return;
    // Told once the read is over and its progress window gone, over the report window.
    constexpr int kWarning = 48;
    const std::string sText = UnreadFoldersText(vLines, EngineLogFile(SettingsFolder()));
    QTimer::singleShot(0, m_window.get(), [this, sText] {
        pf::MsgBox(sText, kWarning, QApplication::applicationName().toStdString());
        // The box belongs to no window: closed, it would leave the client window in front of
        // the report the person was reading.
        if (gui::FormView* pView = ReportView(); pView && pView->isVisible()) {
            pView->raise();
            pView->activateWindow();
        }
    });
}

void GuiHost::TellIfNotToldWhy(const std::string& sFile, const std::string& sWhy)
{
    // The add-in tells a failed save where a person asked for it (the editor's OK) and keeps
    // silent where it saves on its own (the report window's close): the person hears of each
    // one once, once the add-in's step is over.
    const std::size_t nBoxesBefore = pf::Driver::current().MessageBoxes().size();
    m_vUntold.push_back({sFile, sWhy, nBoxesBefore});
    // Before the client window and after it, Stop tells what is left.
    if (m_window)
        QTimer::singleShot(0, m_window.get(), [this] { TellUntold(false); });
}

void GuiHost::TellUntold(bool bAtEnd)
{
    // The add-in's own message may still be open (a modal loop runs this timer as well): it
    // is counted once it is answered, so the look waits for the modal windows to close.
    if (!bAtEnd && QApplication::activeModalWidget()) {
        constexpr int kLookAgainMilliseconds = 50;
        QTimer::singleShot(kLookAgainMilliseconds, m_window.get(), [this] { TellUntold(false); });
        return;
    }
    auto vUntold = std::move(m_vUntold);
    m_vUntold.clear();
    for (const auto& oUntold : vUntold) {
        if (pf::Driver::current().MessageBoxes().size() > oUntold.nBoxesBefore)
            continue;
        constexpr int kWarning = 48;
        std::string sWhy = oUntold.sWhy;
        while (!sWhy.empty() && (sWhy.back() == '.' || sWhy.back() == ' '))
            sWhy.pop_back();
        pf::MsgBox(
            Say(HostText::SettingsNotKept,
                {Say(HostText::FileNotWritten,
                     {oUntold.sFile, sWhy.empty() ? Say(HostText::NotWrittenReason) : sWhy})}),
            kWarning, QApplication::applicationName().toStdString());
    }
}

int GuiHost::RunExitCode() const
{
    if (m_bDefinitionsUnreadable)
        return ToInt(ExitCode::CannotStart);
    int nCode = ToInt(ExitCode::Ok);
    if (m_unread && m_unread->Any())
        nCode = ToInt(ExitCode::FolderUnread);
    if (m_bNotDone)
        nCode = RunEnd::MorePressing(nCode, ToInt(ExitCode::NotKept));
    return nCode;
}

void GuiHost::OnFormShown(pf::Form& oForm)
{
    auto& view = m_views[&oForm];
    if (view) {
        view->Pull();
        view->raise();
        view->activateWindow();
        return;
    }
    view = new gui::FormView(oForm);
    view->Pull();
}

namespace {

// Whether an X server answers on the display named: connects as Qt's X11 platform would, through
// the X client library, which that platform loads too.
std::optional<std::string> XServerProblem(const std::string& sDisplay)
{
    using Connect = void* (*)(const char*, int*);
    using HasError = int (*)(void*);
    using Disconnect = void (*)(void*);
    void* pLibrary = dlopen("libxcb.so.1", RTLD_NOW | RTLD_LOCAL);
    if (!pLibrary)
        return Say(HostText::NoXcbLibrary);
    const auto connect = reinterpret_cast<Connect>(dlsym(pLibrary, "xcb_connect"));
    const auto hasError = reinterpret_cast<HasError>(dlsym(pLibrary, "xcb_connection_has_error"));
    const auto disconnect = reinterpret_cast<Disconnect>(dlsym(pLibrary, "xcb_disconnect"));
    std::optional<std::string> problem;
    if (!connect || !hasError || !disconnect) {
        problem = Say(HostText::XcbUnusable);
    } else {
        // A failed connection is an error object that must be released as well.
        void* pConnection = connect(sDisplay.c_str(), nullptr);
        if (!pConnection || hasError(pConnection) != 0)
            problem = Say(HostText::NoXServer, {sDisplay});
        if (pConnection)
            disconnect(pConnection);
    }
    dlclose(pLibrary);
    return problem;
}

// Whether a Wayland compositor can be reached on the display named, through Qt's Wayland
// platform.
std::optional<std::string> WaylandProblem(const std::string& sDisplay)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path oPlatforms =
        fs::path(QLibraryInfo::path(QLibraryInfo::PluginsPath).toStdString()) / "platforms";
    bool bPlugin = false;
    for (const auto& oEntry : fs::directory_iterator(oPlatforms, ec))
        bPlugin = bPlugin || oEntry.path().filename().string().rfind("libqwayland", 0) == 0;
    if (!bPlugin)
        return Say(HostText::NoWaylandPlatform, {sDisplay});
    const char* sRuntime = std::getenv("XDG_RUNTIME_DIR");
    const fs::path oSocket = fs::path(sDisplay).is_absolute()
                                 ? fs::path(sDisplay)
                                 : fs::path(sRuntime ? sRuntime : "") / sDisplay;
    if (!fs::exists(oSocket, ec))
        return Say(HostText::NoCompositor, {sDisplay});
    return std::nullopt;
}

std::string Environment(const char* sName)
{
    const char* sValue = std::getenv(sName);
    return sValue ? sValue : "";
}

} // namespace

std::optional<std::string> DisplayProblem()
{
    const std::string sPlatform = Environment("QT_QPA_PLATFORM");
    const std::string sDisplay = Environment("DISPLAY");
    const std::string sWayland = Environment("WAYLAND_DISPLAY");
    // A platform named by the person (offscreen, vnc, ...) is taken at its word, except the
    // two that need a display server.
    if (!sPlatform.empty() && sPlatform.rfind("xcb", 0) != 0 && sPlatform.rfind("wayland", 0) != 0)
        return std::nullopt;
    if (sPlatform.rfind("wayland", 0) == 0 || (sDisplay.empty() && !sWayland.empty()))
        return WaylandProblem(sWayland.empty() ? "wayland-0" : sWayland);
    if (sDisplay.empty())
        return Say(HostText::DisplayNotSet);
    return XServerProblem(sDisplay);
}

int RunGuiClient(const HostOptions& oOptions, const std::string& sAddInPath, std::ostream& out,
                 std::ostream& err, bool bTellInWindow)
{
    try {
        GuiHost oHost(oOptions, sAddInPath, out);
        oHost.Start();
        oHost.Client()->OnClose = [] { QApplication::quit(); };
        QApplication::exec();
        oHost.Stop();
        return oHost.RunExitCode();
    } catch (const std::exception& e) {
        err << "tallyman: " << e.what() << "\n";
        // Started from a desktop, nobody may read the terminal: the run's end is told where
        // its windows would have been.
        if (bTellInWindow) {
            constexpr int kCritical = 16;
            gui::ShowMessageBox(e.what(), kCritical, QApplication::applicationName().toStdString());
        }
        return 1;
    }
}

int RunGuiHost(const HostOptions& oOptions, const std::string& sAddInPath, std::ostream& out,
               std::ostream& err)
{
    // Qt aborts the process when it cannot open its platform: the display is tried first.
    SetTextLanguage(oOptions.sLanguage);
    if (const auto sProblem = DisplayProblem()) {
        err << "tallyman: " << Say(HostText::NoDisplay, {*sProblem}) << "\n";
        return 1;
    }
    int argc = 1;
    char sName[] = "tallyman";
    char* argv[] = {sName, nullptr};
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C"); // see GuiHost::GuiHost
    QApplication::setApplicationName(QStringLiteral("Tallyman"));
    QApplication::setQuitOnLastWindowClosed(false);
    // A platform that shows nothing (offscreen, minimal) has nobody to read a message box.
    const QString sPlatform = QGuiApplication::platformName();
    return RunGuiClient(oOptions, sAddInPath, out, err,
                        sPlatform != QLatin1String("offscreen") &&
                            sPlatform != QLatin1String("minimal"));
}

} // namespace host
