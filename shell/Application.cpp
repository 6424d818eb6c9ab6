#include "shell/Application.h"

#include "common/ErrorHandling.h"
#include "common/IChild.h"
#include "common/Options.h"
#include "common/modLanguage.h"
#include "common/modMain.h"
#include "common/modOLVersion.h"
#include "common/modRedemption.h"
#include "engine/Application.h"
#include "grid/Flexgrid2.h"
#include "grid/modEnumStrings.h"
#include "platform/forms/Driver.h"
#include "platform/outlook/Application.h"
#include "platform/outlook/Explorers.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/ResumeNext.h"
#include "shell/RibbonHandler.h"
#include "shell/cExplorers.h"
#include "shell/frmMain.h"
#include "shell/modRibbon.h"
#include "views/cMapiProps.h"

namespace shell {

namespace rt = platform::runtime;
using common::modMain::G;

namespace {
// The start-up timer's delay after connection, in milliseconds.
constexpr std::int32_t kStartDelay = 1000;
// The message box style of entry points: OK button, exclamation icon.
constexpr int kExclamation = 48;
} // namespace

Application::~Application()
{
    rt::ResumeNext ignore;
    ignore([&] { ShutdownApplication(0); });
}

long Application::LanguageID() const
{
    return common::modLanguage::GetLanguageID();
}

void Application::SetLanguageID(long ID)
{
    common::modLanguage::SetLanguageID(ID);
}

void Application::InitHandler(const std::shared_ptr<platform::outlook::Application>& oApp)
{
    common::Logging("Application", "InitHandler", [&](int& nLine) {
        nLine = 1;
        G().g_oApplication = this;
        nLine = 2;
        m_oOutlookApp = oApp;
        G().g_oOutlookApp = oApp;
        // The version is cached per connection: a new client may be another version.
        common::modOLVersion::ResetOutlookVersion();
        nLine = 3;
        if (!oApp)
            throw rt::Error(91, "Application");
        G().g_oNameSpace = oApp->GetNamespace("MAPI");
        nLine = 4;
        modRibbon::SetRibbonHandler(std::make_shared<RibbonHandler>());
        nLine = 5;
        m_oOptions = std::make_shared<common::Options>();
        m_oOptions->SetDefaults();
        m_oOptions->Load();
        G().g_oAddinOptions = m_oOptions;
        nLine = 6;
        if (common::modTimer::StartTimer(shared_from_this(), kStartDelay))
            m_eState = StartupState::TimerPending;
    });
}

void Application::OnStartTimer()
{
    rt::ResumeNext ignore;
    ignore([] { common::modTimer::StopTimer(); });
    ignore([&] { InitHandlerEx(); });
}

void Application::InitHandlerEx()
{
    if (m_eState == StartupState::TornDown)
        return;
    m_eState = StartupState::Running;
    common::Logging("Application", "InitHandlerEx",
                    [] { grid::modEnumStrings::InitEnumStrings(); });
    G().g_lReportFileVersion = -1;
    common::Logging("Application", "InitHandlerEx", [&] {
        m_oMapiProps = std::make_shared<views::cMapiProps>();
        m_oMapiProps->AsIChild().Init(this, {});
        if (m_oOptions)
            m_oMapiProps->SetChunkSize(m_oOptions->ChunkSize());
        views::SetRootMapiProps(m_oMapiProps);
    });
    common::Logging("Application", "InitHandlerEx", [&] {
        m_oExplorers = std::make_shared<cExplorers>();
        m_oExplorers->AsIChild().Init(this, {});
        m_oExplorers->BindExplorers(m_oOutlookApp->Explorers());
    });
    common::Logging("Application", "InitHandlerEx", [&] {
        auto oExplorers = m_oOutlookApp->Explorers();
        if (oExplorers->Count() == 0)
            return;
        G().g_bAddingExplorers = true;
        try {
            for (const auto& oExplorer : oExplorers->All())
                m_oExplorers->Add(oExplorer);
        } catch (...) {
            G().g_bAddingExplorers = false;
            throw;
        }
        G().g_bAddingExplorers = false;
    });
}

void Application::CompleteStartup()
{
    // A click that comes before the start-up timer fired would otherwise open a window
    // without the enumeration texts and explorer wrappers of the second stage.
    if (m_eState != StartupState::TimerPending)
        return;
    common::modTimer::StopTimer();
    InitHandlerEx();
}

void Application::DisplayFMain()
{
    common::Logging(
        "Application", "DisplayFMain",
        [&](int& nLine) {
            nLine = 1;
            CompleteStartup();
            if (!m_bTextsLoaded) {
                m_bTextsLoaded = true;
                grid::Flexgrid2::InitGridStrings();
            }
            nLine = 2;
            if (!m_oFrmMain)
                m_oFrmMain = std::make_shared<frmMain>();
            // The first read runs inside the load; a shutdown arriving meanwhile drops the
            // field, not the window being loaded.
            const auto oWindow = m_oFrmMain;
            nLine = 3;
            if (!oWindow->IsLoaded())
                oWindow->Load();
            nLine = 4;
            oWindow->ShowWindow();
        },
        [&](common::ErrorObject& oError) {
            platform::forms::MsgBox(oError.Description(), kExclamation);
            rt::ResumeNext ignore;
            ignore([&] {
                if (m_oFrmMain)
                    m_oFrmMain->Unload();
            });
        });
}

void Application::ShutdownApplication(std::int32_t lMode)
{
    // A wrapper released while this shutdown drops the explorer collection asks for a nested
    // shutdown; what runs here already releases all of it.
    if (m_bShuttingDown || m_eState == StartupState::TornDown)
        return;
    m_bShuttingDown = true;
    rt::ResumeNext ignore;
    // Unloaded by code: the window saves nothing, but its engine lets the client go.
    ignore([&] {
        if (m_oFrmMain)
            m_oFrmMain->Unload();
    });
    ignore([&] { m_oFrmMain.reset(); });
    ignore([&] {
        if (lMode == 1 && m_oExplorers)
            m_oExplorers->RemoveToolbars();
    });
    ignore([&] {
        if (m_oExplorers) {
            m_oExplorers->UnbindExplorers();
            auto oExplorers = std::move(m_oExplorers);
            oExplorers->AsIChild().ResetParentPtr();
        }
    });
    ignore([&] {
        if (m_oMapiProps)
            m_oMapiProps->AsIChild().ResetParentPtr();
        views::SetRootMapiProps(nullptr);
        m_oMapiProps.reset();
    });
    ignore([] { common::modRedemption::ReleaseSession(true); });
    ignore([] { modRibbon::SetRibbonHandler(nullptr); });
    ignore([&] {
        if (m_eState == StartupState::TimerPending)
            common::modTimer::StopTimer();
    });
    G().g_oNameSpace.reset();
    G().g_oAddinOptions.reset();
    m_oOutlookApp.reset();
    G().g_oOutlookApp.reset();
    if (G().g_oApplication == this)
        G().g_oApplication = nullptr;
    m_eState = StartupState::TornDown;
    m_bShuttingDown = false;
}

std::string Application::GetMasterlist() const
{
    return common::Rethrowing("Application", "GetMasterlist", [&] {
        if (!m_oFrmMain || !m_oFrmMain->Fenwick())
            platform::runtime::Raise(91, "Application.GetMasterlist",
                                     "The report window has no engine object.");
        return m_oFrmMain->Fenwick()->GetMasterlist();
    });
}

} // namespace shell
