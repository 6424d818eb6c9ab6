#include "shell/cExplorer.h"

#include "common/ErrorHandling.h"
#include "common/IChild.h"
#include "common/Options.h"
#include "common/modMain.h"
#include "common/modOLVersion.h"
#include "platform/outlook/Application.h"
#include "platform/outlook/CommandBars.h"
#include "platform/outlook/Explorers.h"
#include "platform/runtime/ResumeNext.h"
#include "shell/Application.h"
#include "shell/IExplorerToolbar.h"
#include "shell/cExplorers.h"

namespace shell {

namespace rt = platform::runtime;

namespace {
// From version 14 on the ribbon carries the report button and no toolbar is made.
constexpr std::int32_t kRibbonVersion = 14;

bool BeforeRibbon()
{
    return common::modOLVersion::GetOutlookVersion() < kRibbonVersion;
}
} // namespace

cExplorer::~cExplorer()
{
    ReleaseExplorer();
    if (m_CommandBars && m_iUpdateId)
        m_CommandBars->DisconnectUpdate(m_iUpdateId);
}

void cExplorer::Init(rt::Object* lParentPtr, const std::string&)
{
    m_pParent = dynamic_cast<cExplorers*>(lParentPtr);
}

std::string cExplorer::Key() const
{
    return std::to_string(m_lKey);
}

void cExplorer::ResetParentPtr()
{
    ReleaseExplorer();
    m_pParent = nullptr;
}

void cExplorer::Init(const std::shared_ptr<platform::outlook::Explorer>& oExplorer,
                     std::int32_t lKey)
{
    common::Logging("cExplorer", "Init", [&](int& nLine) {
        if (!oExplorer)
            return;
        nLine = 1;
        m_oExplorer = oExplorer;
        // The handlers hold the wrapper weakly: the explorer must not keep its wrapper alive.
        std::weak_ptr<cExplorer> oSelf = weak_from_this();
        m_iActivateId = m_oExplorer->OnActivate([oSelf] {
            if (auto o = oSelf.lock())
                o->Explorer_Activate();
        });
        m_iCloseId = m_oExplorer->OnClose([oSelf] {
            if (auto o = oSelf.lock())
                o->Explorer_Close();
        });
        nLine = 2;
        m_lKey = lKey;
        nLine = 3;
        if (BeforeRibbon())
            BuildToolbar();
    });
}

bool cExplorer::ToolbarBuilt() const
{
    return !BeforeRibbon() || m_bToolbarBuilt;
}

void cExplorer::BuildToolbar()
{
    rt::ResumeNext ignore;
    bool bBuilt = false;
    ignore([&] { bBuilt = ToolbarBuilt(); });
    if (bBuilt)
        return;
    ignore([&] {
        m_oToolbar = MakeExplorerToolbar();
        if (m_oToolbar)
            m_oToolbar->AsIChild().Init(this, {});
    });
    std::shared_ptr<platform::outlook::CommandBar> oBar;
    ignore([&] {
        if (m_oToolbar && m_oExplorer)
            oBar = m_oToolbar->CreateBar(m_oExplorer->CommandBars());
    });
    ignore([&] {
        if (!oBar)
            return;
        m_bToolbarBuilt = true;
        if (m_CommandBars && m_iUpdateId)
            m_CommandBars->DisconnectUpdate(m_iUpdateId);
        m_CommandBars = m_oExplorer->CommandBars();
        std::weak_ptr<cExplorer> oSelf = weak_from_this();
        m_iUpdateId = m_CommandBars->OnUpdate([oSelf] {
            if (auto o = oSelf.lock())
                o->CommandBars_OnUpdate();
        });
    });
}

void cExplorer::Explorer_Activate()
{
    rt::ResumeNext ignore;
    ignore([&] {
        if (!m_bFirstActivate)
            return;
        m_bFirstActivate = false;
        if (BeforeRibbon())
            BuildToolbar();
    });
}

void cExplorer::CommandBars_OnUpdate()
{
    rt::ResumeNext ignore;
    ignore([&] {
        Application* oApp = common::modMain::G().g_oApplication;
        if (!m_oToolbar || !m_oToolbar->Bar() || !oApp || !oApp->AddinOptions())
            return;
        const bool bVisible = m_oToolbar->Bar()->Visible;
        auto& oOptions = *oApp->AddinOptions();
        if (bVisible != oOptions.ShowExplorerCommandbar()) {
            oOptions.SetShowExplorerCommandbar(bVisible);
            oOptions.Save();
        }
    });
}

void cExplorer::Explorer_Close()
{
    rt::ResumeNext ignore;
    ignore([&] {
        cExplorers* oParent = Parent();
        if (!oParent)
            return;
        // Keep this wrapper and its collection alive until the handler returns: the removal
        // may shut the add-in down and drop the last other reference to either.
        auto oSelf = shared_from_this();
        auto oCollection = oParent->shared_from_this();
        oParent->Remove(m_lKey, oSelf);
    });
}

void cExplorer::StopListening()
{
    if (!m_oExplorer)
        return;
    m_oExplorer->Disconnect(m_iActivateId);
    m_oExplorer->Disconnect(m_iCloseId);
    m_iActivateId = m_iCloseId = 0;
    m_oExplorer.reset();
}

void cExplorer::ReleaseExplorer()
{
    rt::ResumeNext ignore;
    ignore([&] { RemoveToolbar(); });
    ignore([&] { StopListening(); });
    ignore([&] {
        Application* oApp = common::modMain::G().g_oApplication;
        if (!oApp || !oApp->OutlookApp())
            return;
        auto oExplorers = oApp->OutlookApp()->Explorers();
        if (oExplorers && oExplorers->Count() == 0)
            oApp->ShutdownApplication(0);
    });
}

void cExplorer::RemoveToolbar()
{
    rt::ResumeNext ignore;
    std::shared_ptr<platform::outlook::CommandBars> oBars;
    ignore([&] {
        if (m_oExplorer)
            oBars = m_oExplorer->CommandBars();
    });
    if (!m_oToolbar)
        return;
    ignore([&] { m_oToolbar->Close(oBars); });
    ignore([&] { m_oToolbar->AsIChild().ResetParentPtr(); });
    m_oToolbar.reset();
}

} // namespace shell
