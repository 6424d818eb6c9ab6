// The report window's menu bar, grid context menu and toolbar, and the command states.
#include "shell/frmMain.h"

#include "common/modLabelControls.h"
#include "common/modOLVersion.h"
#include "platform/forms/ImageList.h"
#include "platform/forms/MenuBar.h"
#include "platform/forms/ToolBar.h"

#include <array>

namespace shell {

namespace pf = platform::forms;
namespace rt = platform::runtime;

namespace {

struct MenuEntry
{
    const char* sKey; // empty: a separator
    long lText;
    bool bPicture;
};

struct Menu
{
    const char* sKey;
    long lText;
    std::vector<MenuEntry> aItems;
};

const std::vector<Menu>& Menus()
{
    static const std::vector<Menu> aMenus = {
        {"mnuFile",
         2043,
         {{"select", 2044, true},
          {"remove_folder", 2244, false},
          {"", 0, false},
          {"saveas", 2046, true},
          {"openreport", 2212, true},
          {"sendreport", 2211, true},
          {"print", 2045, true},
          {"", 0, false},
          {"deletereport", 2213, false},
          {"", 0, false},
          {"exit", 2047, false}}},
        {"mnuView",
         2049,
         {{"setview", 2097, true},
          {"", 0, false},
          {"expand", 2099, false},
          {"collapse", 2098, false},
          {"", 0, false},
          {"refresh", 2117, true}}},
        {"mnuTools", 2048, {{"templates", 2050, false}}},
        {"mnuHelp", 2100, {{"info", 2101, true}, {"helpbtn", 2102, true}, {"support", 2104, true}}},
    };
    return aMenus;
}

const std::vector<MenuEntry>& ContextItems()
{
    static const std::vector<MenuEntry> aItems = {
        {"openitem_context", 2181, false}, {"", 0, false}, {"expand_context", 2099, false},
        {"collapse_context", 2098, false}, {"", 0, false}, {"cancel", 2182, false},
    };
    return aItems;
}

// The toolbar: key and tooltip; an empty key is a separator.
const std::vector<MenuEntry>& ToolbarButtons()
{
    static const std::vector<MenuEntry> aButtons = {
        {"select", 2223, true},
        {"", 0, false},
        {"saveas", 2224, true},
        {"openreport", 2225, true},
        {"sendreport", 2226, true},
        {"print", 2227, true},
        {"", 0, false},
        {"setview", 2228, true},
        {"", 0, false},
        {"refresh", 2229, true},
    };
    return aButtons;
}

bool IsOldClient()
{
    const auto lVersion = common::modOLVersion::GetOutlookVersion();
    return lVersion == 9 || lVersion == 10;
}

} // namespace

void frmMain::CreateImages()
{
    for (const char* sKey : {"select", "saveas", "sendreport", "print", "setview", "refresh",
                             "info", "helpbtn", "support", "openreport"})
        m_imlBars->Add(sKey);
}

void frmMain::CreateMenubar()
{
    auto& oItems = m_MenuBar1->Items();
    m_MenuBar1->SetImageList(m_imlBars);
    m_MenuBar1->SetStyle(IsOldClient() ? 1 : 2);
    std::vector<std::shared_ptr<pf::MenuItem>> aTop;
    for (const auto& oMenu : Menus())
        aTop.push_back(oItems.Add(common::modLabelControls::GetResText(oMenu.lText), oMenu.sKey));
    m_oContextMenu = oItems.CreatePopupMenu("ContextOlItems");
    const auto addItem = [&](const MenuEntry& e, const std::shared_ptr<pf::MenuItem>& oParent) {
        if (!*e.sKey) {
            oItems.Add("-", "", oParent);
            return;
        }
        oItems.Add(common::modLabelControls::GetResText(e.lText), e.sKey, oParent,
                   e.bPicture ? m_imlBars->Item(e.sKey) : nullptr);
    };
    for (std::size_t i = 0; i < Menus().size(); ++i)
        for (const auto& e : Menus()[i].aItems)
            addItem(e, aTop[i]);
    for (const auto& e : ContextItems())
        addItem(e, m_oContextMenu);
    m_MenuBar1->OnItemClick = [this](pf::MenuItem& oItem) { MenuBar1_ItemClick(oItem); };
}

void frmMain::CreateToolbar()
{
    m_Coolbar1->SetImageList(m_imlBars);
    m_Coolbar1->SetStyle(IsOldClient() ? 2 : 3);
    for (const auto& e : ToolbarButtons()) {
        if (!*e.sKey)
            m_Coolbar1->AddSeparator();
        else
            m_Coolbar1->AddButton(e.sKey, m_imlBars->Item(e.sKey),
                                  common::modLabelControls::GetResText(e.lText));
    }
    m_Coolbar1->OnButtonClick = [this](const std::string& sKey) { CommandbarClick(sKey); };
}

void frmMain::MenuBar1_ItemClick(pf::MenuItem& oItem)
{
    CommandbarClick(oItem.Key());
}

} // namespace shell
