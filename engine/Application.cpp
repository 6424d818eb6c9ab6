#include "engine/Application.h"
#include "engine/detail/modMasterlist.h"

#include "common/ErrorHandling.h"
#include "common/modMain.h"
#include "common/modRedemption.h"
#include "engine/detail/EngineState.h"
#include "engine/detail/Options.h"
#include "engine/detail/cFolder.h"

#include "platform/mapi/Session.h"
#include "platform/outlook/Application.h"
#include "platform/outlook/NameSpace.h"
#include "platform/runtime/Conversion.h"
#include "platform/runtime/DoEvents.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/ResumeNext.h"

namespace rt = platform::runtime;

namespace engine {

Application::Application() = default;

Application::~Application()
{
    Terminate();
}

void Application::Initialize(std::shared_ptr<platform::outlook::Application> olApp)
{
    common::Rethrowing("Application", "Initialize", [&](int& nLine) {
        nLine = 1;
        detail::State().pCurrentRoot = this;
        nLine = 2;
        if (!olApp)
            throw rt::Error(rt::errors::ObjectNotSet);
        nLine = 3;
        DisconnectQuit();
        m_oOutlookApp = std::move(olApp);
        m_nQuitHandler = m_oOutlookApp->OnQuit([this] { OnOutlookQuit(); });
        m_wQuitSource = m_oOutlookApp;
        common::modMain::G().g_oOutlookApp = m_oOutlookApp;
        nLine = 4;
        common::modMain::G().g_oNameSpace = m_oOutlookApp->GetNamespace("MAPI");
        nLine = 5;
        m_oCache = std::make_unique<detail::KeyedList<std::shared_ptr<rt::Object>>>();
        nLine = 6;
        m_oRecords = std::make_shared<engine::Records>();
        m_oRecords->ToIChild().Init(this, {});
        nLine = 7;
        m_oOptions = std::make_shared<detail::Options>();
        m_oOptions->ReadSettings();
        nLine = 8;
        m_oFolder = std::make_shared<detail::cFolder>();
        m_oFolder->Init(this, {});
    });
}

void Application::ReadRecords(FolderDataList& FolderDataList)
{
    common::Rethrowing("Application", "ReadRecords", [&] {
        if (m_oFolder)
            m_oFolder->ReadItems(FolderDataList, m_oRecords);
    });
}

void Application::Terminate()
{
    rt::ResumeNext ignore;
    ignore([&] { m_oCache.reset(); });
    ignore([&] {
        if (m_oFolder)
            m_oFolder->ResetParentPtr();
    });
    ignore([&] {
        if (m_oRecords)
            m_oRecords->ResetParentPtr();
    });
    // The current root ends the engine's session and drops it, rather than opening one only
    // to ask whether it is open; a session taken over from the client is never logged off.
    ignore([&] {
        if (detail::State().pCurrentRoot == this)
            common::modRedemption::ReleaseSession(true);
    });
    ignore([&] { DisconnectQuit(); });
    ignore([&] { ReleaseOutlookApp(); });
    ignore([&] {
        if (detail::State().pCurrentRoot == this)
            detail::State().pCurrentRoot = nullptr;
    });
}

void Application::Advise(const std::shared_ptr<ApplicationEvents>& oListener)
{
    if (oListener)
        m_listeners.push_back(oListener);
}

void Application::Unadvise(const std::shared_ptr<ApplicationEvents>& oListener)
{
    std::erase_if(m_listeners, [&](const std::weak_ptr<ApplicationEvents>& w) {
        const auto p = w.lock();
        return !p || p == oListener;
    });
}

void Application::CacheObject(const std::shared_ptr<rt::Object>& oObject, const std::string& sKey)
{
    rt::ResumeNext()([&] {
        if (m_oCache)
            m_oCache->Add(oObject, sKey);
    });
}

void Application::RaiseProgress(long lValue, long lMax, bool& bCancel)
{
    // A copy: a listener may connect or disconnect others while it runs.
    const auto listeners = m_listeners;
    for (const auto& w : listeners) {
        if (const auto oListener = w.lock())
            rt::ResumeNext()([&] { oListener->Progress(lValue, lMax, bCancel); });
    }
    rt::ResumeNext()([] { rt::DoEvents(); });
}

void Application::DisconnectQuit()
{
    if (const auto oSource = m_wQuitSource.lock())
        oSource->DisconnectQuit(m_nQuitHandler);
    m_wQuitSource.reset();
}

void Application::OnOutlookQuit()
{
    rt::ResumeNext()([&] { ReleaseOutlookApp(); });
}

void Application::ReleaseOutlookApp()
{
    // The library's client global is this root's only while this root put it there.
    auto& oGlobal = common::modMain::G().g_oOutlookApp;
    if (oGlobal == m_oOutlookApp)
        oGlobal.reset();
    m_oOutlookApp.reset();
}

std::string Application::GetMasterlist()
{
    return detail::modMasterlist::GetMasterlist();
}

} // namespace engine
