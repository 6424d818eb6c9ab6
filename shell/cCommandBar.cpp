#include "shell/cCommandBar.h"

#include "common/Options.h"
#include "common/modMain.h"
#include "common/modOLVersion.h"
#include "platform/forms/ImageList.h"
#include "platform/outlook/CommandBars.h"
#include "platform/outlook/Explorers.h"
#include "platform/outlook/Inspector.h"
#include "platform/runtime/Conversion.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/ResumeNext.h"
#include "platform/runtime/Strings.h"
#include "platform/runtime/Variant.h"
#include "platform/win/Registry.h"
#include "platform/win/RegistryValue.h"
#include "shell/Application.h"
#include "shell/cExplorer.h"
#include "shell/cbbCatManager.h"

#include <string_view>

namespace shell {

namespace ol = platform::outlook;
namespace rt = platform::runtime;
namespace win = platform::win;

namespace {
constexpr std::string_view kBarName = "Reporting Tools";
constexpr const char* kPlacementValue = "Commandbar";
// Pictures on command-bar buttons exist from client version 10 on.
constexpr std::int32_t kPictureVersion = 10;
constexpr int kPosTop = 1;
constexpr int kPictureSize = 16;

bool IsAddinBar(const std::string& sName)
{
    return sName.compare(0, kBarName.size(), kBarName) == 0;
}

// A bitmap resource of the add-in as a picture object (16 by 16 pixels, keyed by its id).
std::shared_ptr<rt::Object> LoadBitmapResource(long lId)
{
    return std::make_shared<platform::forms::ListImage>(std::to_string(lId), kPictureSize,
                                                        kPictureSize);
}

Application& RootObject()
{
    Application* pApp = common::modMain::G().g_oApplication;
    if (!pApp)
        rt::Raise(rt::errors::ObjectNotSet, "cCommandBar", "The add-in is not connected.");
    return *pApp;
}
} // namespace

cCommandBar::cCommandBar() : m_lSelfPtr(this), m_sKeyPath(common::modMain::GetSettingsKeyPath()) {}

cCommandBar::~cCommandBar()
{
    Close(nullptr);
}

void cCommandBar::Init(rt::Object* lParentPtr, const std::string&)
{
    m_pParent = lParentPtr;
}

std::shared_ptr<ol::CommandBar>
cCommandBar::CreateBar(const std::shared_ptr<ol::CommandBars>& oBars)
{
    rt::ResumeNext ignore;
    std::shared_ptr<common::Options> oOptions;
    rt::Object* oOwner = nullptr;
    ignore([&] { oOptions = RootObject().AddinOptions(); });
    ignore([&] { oOwner = oBars->Parent(); });
    const bool bExplorer = dynamic_cast<ol::Explorer*>(oOwner) != nullptr;
    const bool bWindow = bExplorer || dynamic_cast<ol::Inspector*>(oOwner) != nullptr;

    std::shared_ptr<ol::CommandBar> oBar;
    if (!bWindow) {
        // Another owner: every bar of ours there stays hidden, and so does the new one.
        ignore([&] {
            for (const auto& o : oBars->Bars())
                if (IsAddinBar(o->Name()))
                    o->Visible = false;
        });
    } else {
        ignore([&] {
            for (const auto& o : oBars->Bars())
                if (IsAddinBar(o->Name())) {
                    // A bar of an earlier run is taken over as it stands.
                    m_sName = o->Name();
                    oBar = o;
                    break;
                }
        });
    }
    if (!oBar) {
        ignore([&] {
            m_sName = std::string(kBarName) + std::to_string(common::modMain::NextControlId());
            oBar = oBars->Add(m_sName, kPosTop, false, true);
        });
        ignore([&] { RestorePlacement(*oBar); });
    }
    bool bVisible = false;
    if (bExplorer)
        ignore([&] { bVisible = oOptions->ShowExplorerCommandbar(); });
    m_oBar = oBar;
    ignore([&] { m_oBar->Visible = bVisible; });
    ignore([&] {
        auto oButton = std::make_shared<cbbCatManager>();
        AddControl(m_oBar, {oButton, &oButton->AsIChild()});
    });
    return m_oBar;
}

void cCommandBar::AddControl(const std::shared_ptr<ol::CommandBar>& oBar, Control oControl)
{
    const std::string sKey = oControl.oControl->Name();
    oControl.oChild->Init(m_lSelfPtr, sKey);
    oControl.oControl->Create(oBar);
    if (Item(sKey))
        rt::Raise(rt::errors::DuplicateKey, "cCommandBar");
    m_colControls.emplace_back(sKey, std::move(oControl));
}

ICommandBarControl* cCommandBar::Item(const std::string& sKey) const
{
    for (const auto& [sName, oControl] : m_colControls)
        if (rt::LCase(sName) == rt::LCase(sKey))
            return oControl.oControl.get();
    return nullptr;
}

void cCommandBar::Remove(const std::string& sKey)
{
    rt::ResumeNext ignore;
    for (auto it = m_colControls.begin(); it != m_colControls.end(); ++it)
        if (rt::LCase(it->first) == rt::LCase(sKey)) {
            ignore([&] { it->second.oChild->ResetParentPtr(); });
            m_colControls.erase(it);
            return;
        }
}

void cCommandBar::SetPictures(ol::CommandBarButton& oButton, long lPictureId, long lMaskId)
{
    if (common::modOLVersion::GetOutlookVersion() < kPictureVersion)
        return;
    oButton.Picture = LoadBitmapResource(lPictureId);
    oButton.Mask = LoadBitmapResource(lMaskId);
}

std::string cCommandBar::GetPlacementValueName() const
{
    return (dynamic_cast<cExplorer*>(m_pParent) ? "e_" : "i_") + std::string(kPlacementValue);
}

void cCommandBar::RestorePlacement(ol::CommandBar& oBar)
{
    rt::ResumeNext ignore;
    std::string sText;
    ignore([&] {
        const auto oValue =
            win::Registry().read(win::Hive::CurrentUser, m_sKeyPath, GetPlacementValueName());
        if (oValue)
            sText = oValue->asText();
    });
    if (sText.empty())
        return;
    const auto vParts = rt::Split(sText, std::string_view("\0", 1));
    if (vParts.size() != 3)
        return;
    int* vTargets[] = {&oBar.Position, &oBar.Left, &oBar.RowIndex};
    for (std::size_t i = 0; i < vParts.size(); ++i)
        ignore([&] { *vTargets[i] = rt::CLng(rt::Variant(vParts[i])); });
}

void cCommandBar::SavePlacement(const ol::CommandBar* oBar)
{
    rt::ResumeNext ignore;
    if (!oBar)
        return;
    ignore([&] {
        std::string sText = std::to_string(oBar->Position);
        sText += '\0' + std::to_string(oBar->Left);
        sText += '\0' + std::to_string(oBar->RowIndex);
        win::Registry().write(
            win::Hive::CurrentUser, m_sKeyPath, GetPlacementValueName(),
            win::RegistryValue::binary(win::RegistryValue::text(sText).asBytes()));
    });
}

void cCommandBar::Close(const std::shared_ptr<ol::CommandBars>& oBars)
{
    rt::ResumeNext ignore;
    ignore([&] { SavePlacement(m_oBar.get()); });
    std::shared_ptr<ol::CommandBar> oBar = m_oBar;
    if (oBars) {
        oBar.reset();
        ignore([&] { oBar = oBars->Item(m_sName); });
    }
    ignore([&] { DeleteBar(oBar); });
    ignore([&] { ResetControls(); });
    m_colControls.clear();
    m_oBar.reset();
}

void cCommandBar::ResetControls()
{
    rt::ResumeNext ignore;
    for (auto& [sKey, oControl] : m_colControls)
        ignore([&] { oControl.oChild->ResetParentPtr(); });
}

void cCommandBar::DeleteBar(const std::shared_ptr<ol::CommandBar>& oBar)
{
    rt::ResumeNext ignore;
    if (!oBar)
        return;
    ignore([&] {
        auto& oControls = oBar->Controls();
        for (int i = oControls.Count(); i >= 1; --i)
            ignore([&] { oControls.Item(i)->Delete(false); });
    });
    ignore([&] { oBar->Delete(); });
}

} // namespace shell
