#include "shell/cbbCatManager.h"

#include "common/Deliverable.h"
#include "common/ErrorHandling.h"
#include "common/modLanguage.h"
#include "common/modMain.h"
#include "common/modOLVersion.h"
#include "platform/forms/Driver.h"
#include "platform/outlook/CommandBars.h"
#include "platform/outlook/Inspector.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/ResumeNext.h"
#include "shell/Application.h"
#include "shell/cCommandBar.h"
#include "shell/cExplorer.h"

namespace shell {

namespace ol = platform::outlook;
namespace rt = platform::runtime;

namespace {
constexpr const char* kControlName = "Grellick";
constexpr long kCaptionText = 2007;
constexpr long kPicture = 101;
constexpr long kMask = 102;
constexpr int kButton = 1;
constexpr int kIconOnly = 1;
constexpr int kCaptionOnly = 2;
constexpr int kIconAndCaption = 3;
constexpr int kExclamation = 48;
// Client versions: before 10 buttons show no pictures; 10 and 11 ask the owner window.
constexpr std::int32_t kPictureVersion = 10;
constexpr std::int32_t kOwnerStyleUntil = 11;
} // namespace

cbbCatManager::~cbbCatManager()
{
    Unbind();
}

void cbbCatManager::Init(rt::Object* lParentPtr, const std::string&)
{
    m_pParent = lParentPtr;
}

cCommandBar* cbbCatManager::Parent() const
{
    return dynamic_cast<cCommandBar*>(m_pParent);
}

std::string cbbCatManager::Name() const
{
    return kControlName;
}

std::string cbbCatManager::Caption() const
{
    return cbbControl ? cbbControl->Caption : std::string();
}

bool cbbCatManager::Enabled() const
{
    return cbbControl && cbbControl->Enabled;
}

void cbbCatManager::SetEnabled(bool bEnabled)
{
    if (cbbControl)
        cbbControl->Enabled = bEnabled;
}

bool cbbCatManager::Visible() const
{
    return cbbControl && cbbControl->Visible;
}

void cbbCatManager::SetVisible(bool bVisible)
{
    if (cbbControl)
        cbbControl->Visible = bVisible;
}

void cbbCatManager::Create(const std::shared_ptr<ol::CommandBar>& oBar)
{
    rt::ResumeNext ignore;
    ignore([&] { m_sTag = oBar->Name() + "_" + kControlName; });
    std::shared_ptr<ol::CommandBarButton> oButton;
    ignore([&] { oButton = oBar->FindControl(m_sTag); });
    if (!oButton) {
        ignore([&] { oButton = oBar->Controls().Add(kButton, 0, m_sTag, 0, true); });
        if (oButton)
            InitNewButton(*oButton);
    }
    Unbind();
    cbbControl = oButton;
    if (cbbControl)
        m_iClickId =
            cbbControl->OnClick([this](ol::CommandBarButton&, bool&) { cbbControl_Click(); });
}

void cbbCatManager::InitNewButton(ol::CommandBarButton& oButton)
{
    rt::ResumeNext ignore;
    ignore([&] { oButton.Caption = common::modLanguage::GetResString(kCaptionText); });
    oButton.Tag = m_sTag;
    oButton.TooltipText.clear();
    oButton.BeginGroup = false;
    ignore([&] { oButton.Style = ButtonStyle(); });
    oButton.Visible = true;
    ignore([&] {
        if (oButton.Style == kIconOnly || oButton.Style == kIconAndCaption) {
            if (!Parent())
                rt::Raise(rt::errors::ObjectNotSet, "cbbCatManager");
            Parent()->SetPictures(oButton, kPicture, kMask);
        }
    });
}

int cbbCatManager::ButtonStyle() const
{
    const std::int32_t lVersion = common::modOLVersion::GetOutlookVersion();
    if (lVersion < kPictureVersion)
        return kCaptionOnly;
    if (lVersion > kOwnerStyleUntil)
        return kIconOnly;
    rt::Object* oOwner = Parent() ? Parent()->Parent() : nullptr;
    if (dynamic_cast<cExplorer*>(oOwner))
        return kIconOnly;
    // A mail window that edits with the word processor shows captions only.
    if (auto* oInspector = dynamic_cast<ol::Inspector*>(oOwner))
        return oInspector->IsWordMail() ? kCaptionOnly : kIconOnly;
    rt::Raise(rt::errors::NotSupported, "cbbCatManager");
}

void cbbCatManager::cbbControl_Click()
{
    common::Logging(
        "cbbCatManager", "cbbControl_Click",
        [] {
            Application* pApp = common::modMain::G().g_oApplication;
            if (!pApp)
                rt::Raise(rt::errors::ObjectNotSet, "cbbCatManager",
                          "The add-in is not connected.");
            pApp->DisplayFMain();
        },
        [](common::ErrorObject& oError) {
            platform::forms::MsgBox(oError.Description(), kExclamation,
                                    common::ThisDeliverable().sAppTitle);
        });
}

void cbbCatManager::Unbind()
{
    if (cbbControl && m_iClickId)
        cbbControl->DisconnectClick(m_iClickId);
    m_iClickId = 0;
}

} // namespace shell
