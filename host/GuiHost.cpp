#include "host/GuiHost.h"

#include "common/ILanguage.h"
#include "gui/ClientWindow.h"
#include "gui/DesktopAnswers.h"
#include "gui/EventLoop.h"
#include "gui/FormView.h"
#include "gui/InspectorView.h"
#include "gui/Units.h"
#include "host/AddInLibrary.h"
#include "host/HostSession.h"
#include "host/ItemWindow.h"
#include "platform/forms/Form.h"
#include "platform/locale/Locale.h"
#include "platform/mapi/CurrentProfile.h"
#include "platform/mapi/Message.h"
#include "platform/outlook/AddIn.h"
#include "platform/outlook/Application.h"
#include "platform/outlook/Explorers.h"
#include "platform/outlook/Folders.h"
#include "platform/outlook/Inspector.h"
#include "platform/outlook/ItemBase.h"
#include "platform/outlook/LanguageSettings.h"
#include "platform/outlook/MAPIFolder.h"
#include "platform/outlook/NameSpace.h"
#include "platform/runtime/Variant.h"

#include <QApplication>

#include <cstdlib>
#include <exception>
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
// The client's user-interface language kind in its language settings.
constexpr long kUiLanguage = 2;
// Wide enough that an item window never cuts a line; the window scrolls instead.
constexpr int kUncut = 100000;

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
}

GuiHost::~GuiHost()
{
    Stop();
}

void GuiHost::Start()
{
    platform::locale::SetCurrent(LocaleOf(m_oOptions.sLanguage));
    const std::string sProfile = OpenProfile(m_oOptions, m_sAddInPath, m_out);
    m_lock = std::make_unique<ProfileLock>(sProfile);
    platform::mapi::SetCurrentProfile(sProfile);
    m_out << "Profile: " << sProfile << "\n";
    m_loop = std::make_unique<gui::EventLoop>();
    m_answers = std::make_unique<gui::DesktopAnswers>();
    pf::Form::SetShowObserver([this](pf::Form& oForm) { OnFormShown(oForm); });

    m_oClient = std::make_shared<ol::Application>("16.0.0.0");
    m_oClient->LanguageSettings()->SetLanguageID(kUiLanguage, LanguageIdOf(m_oOptions.sLanguage));
    m_library = std::make_unique<AddInLibrary>(AddInCandidates(m_sAddInPath));
    m_oAddIn = m_library->CreateAddIn();
    rt::Variant custom;
    m_oAddIn->OnConnection(m_oClient, 0, rt::Variant(), custom);
    if (auto* pLanguage = m_library->Language())
        pLanguage->SetLanguageID(LanguageIdOf(m_oOptions.sLanguage));
    m_out << "Connected the add-in " << m_library->Path() << "\n";
    m_oClient->Explorers()->Add();
    gui::EventLoop::RunFor(kStartupWait);

    const std::string sXml = m_oAddIn->GetCustomUI("Microsoft.Outlook.Explorer");
    if (sXml.empty())
        throw std::runtime_error("the add-in gave no ribbon for the explorer window");
    m_oAddIn->InvokeCallback("OnLoad", std::make_shared<ol::IRibbonUI>());
    m_window = std::make_unique<gui::ClientWindow>(
        "Tallyman - " + sProfile, RibbonAttribute(sXml, "<tab ", "label"),
        RibbonAttribute(sXml, "<button ", "label"),
        FolderTree(m_oClient->GetNamespace("MAPI")->Folders()));
    m_window->OnRibbonButton = [this] { ClickReportButton(); };
    platform::mapi::SetDisplayHandler([this](const auto& oItem) {
        ShowInspector(std::make_shared<ol::Inspector>(ol::WrapItem(oItem)));
    });
    m_window->show();
}

void GuiHost::Stop()
{
    if (!m_oAddIn)
        return;
    pf::Form::SetShowObserver({});
    platform::mapi::SetDisplayHandler({});
    for (auto& view : m_itemWindows)
        delete view.data();
    m_itemWindows.clear();
    for (auto& [pForm, view] : m_views)
        delete view.data();
    m_views.clear();
    m_window.reset();
    rt::Variant custom;
    m_oAddIn->OnDisconnection(0, custom);
    m_oAddIn.reset();
    m_out << "Disconnected the add-in.\n";
    m_library.reset();
    m_answers.reset();
    m_loop.reset();
}

gui::InspectorView* GuiHost::ShowInspector(std::shared_ptr<ol::Inspector> oInspector)
{
    auto oItem = oInspector->CurrentItem();
    auto* view = new gui::InspectorView(std::move(oInspector), [oItem] {
        const auto oMessage = oItem ? oItem->MapiMessage() : nullptr;
        return oMessage ? gui::ToQ(ItemWindowText(*oMessage, kUncut)) : QString();
    });
    view->setAttribute(Qt::WA_DeleteOnClose);
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

void GuiHost::ClickReportButton()
{
    try {
        m_oAddIn->InvokeCallback("RibbonButtonClick",
                                 std::make_shared<ol::IRibbonControl>("ShowReport"));
    } catch (const std::exception& e) {
        m_out << "tallyman: " << e.what() << "\n";
    }
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

bool HasDisplay()
{
    for (const char* sName : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* sValue = std::getenv(sName);
        if (sValue && *sValue)
            return true;
    }
    return false;
}

int RunGuiHost(const HostOptions& oOptions, const std::string& sAddInPath, std::ostream& out,
               std::ostream& err)
{
    if (!HasDisplay()) {
        err << "tallyman: there is no display to open windows on (DISPLAY is not set).\n"
               "Run tallyman without --gui to see the report as text.\n";
        return 1;
    }
    int argc = 1;
    char sName[] = "tallyman";
    char* argv[] = {sName, nullptr};
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tallyman"));
    QApplication::setQuitOnLastWindowClosed(false);
    try {
        GuiHost oHost(oOptions, sAddInPath, out);
        oHost.Start();
        oHost.Client()->OnClose = [] { QApplication::quit(); };
        app.exec();
        oHost.Stop();
        return 0;
    } catch (const std::exception& e) {
        err << "tallyman: " << e.what() << "\n";
        return 1;
    }
}

} // namespace host
