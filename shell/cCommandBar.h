#pragma once

#include "common/IChild.h"
#include "platform/runtime/Object.h"
#include "shell/IExplorerToolbar.h"

#include <memory>
#include <string>
#include <vector>

namespace platform::outlook {
class CommandBarButton;
}

namespace shell {

class ICommandBarControl;

/// The add-in's toolbar in one window of a client older than the ribbon: finds or creates the
/// client's command bar, shows it as the settings say, restores and saves its placement in
/// the registry, holds its controls (the report button) and deletes the bar again.
class cCommandBar : public platform::runtime::Object, public IExplorerToolbar, public common::IChild
{
public:
    cCommandBar();
    /// Closes the bar (no bars given); failures are ignored.
    ~cCommandBar() override;
    cCommandBar(const cCommandBar&) = delete;
    cCommandBar& operator=(const cCommandBar&) = delete;
    std::string TypeName() const override { return "cCommandBar"; }

    /// Adopts the first bar whose name begins with "Reporting Tools" (explorer and inspector
    /// windows) or creates a new, numbered one with its stored placement; sets its
    /// visibility and adds the report button. Every failing step is skipped; returns the bar
    /// held, possibly none.
    std::shared_ptr<platform::outlook::CommandBar>
    CreateBar(const std::shared_ptr<platform::outlook::CommandBars>& oBars) override;
    /// Saves the placement, deletes the bar (found by name in oBars, or the one held) with
    /// its controls and drops the controls. Failures are ignored; a second call does nothing.
    void Close(const std::shared_ptr<platform::outlook::CommandBars>& oBars) override;
    /// The bar made or adopted, or null.
    std::shared_ptr<platform::outlook::CommandBar> Bar() const override { return m_oBar; }
    common::IChild& AsIChild() override { return *this; }

    /// The name of the bar made or adopted.
    const std::string& Name() const { return m_sName; }
    /// The control under the key, or null.
    ICommandBarControl* Item(const std::string& sKey) const;
    /// Resets the control's parent link and drops it; nothing when there is none.
    void Remove(const std::string& sKey);
    /// Gives the button its picture and mask (resource ids) when the client's major version
    /// is 10 or more; otherwise nothing.
    void SetPictures(platform::outlook::CommandBarButton& oButton, long lPictureId, long lMaskId);
    /// The owner (the explorer wrapper), or null when the link is 0.
    platform::runtime::Object* Parent() const { return m_pParent; }

    // IChild: the key is ignored; Key is the empty text.
    void Init(platform::runtime::Object* lParentPtr, const std::string& sKey = {}) override;
    std::string Key() const override { return {}; }
    void ResetParentPtr() override { m_pParent = nullptr; }

private:
    /// A control of the bar: the interface the bar works with and the parent link it
    /// resets, both views of one owned object.
    struct Control
    {
        std::shared_ptr<ICommandBarControl> oControl;
        common::IChild* oChild = nullptr;
    };

    void AddControl(const std::shared_ptr<platform::outlook::CommandBar>& oBar, Control oControl);
    void RestorePlacement(platform::outlook::CommandBar& oBar);
    void SavePlacement(const platform::outlook::CommandBar* oBar);
    static void DeleteBar(const std::shared_ptr<platform::outlook::CommandBar>& oBar);
    std::string GetPlacementValueName() const;
    void ResetControls();

    platform::runtime::Object* m_pParent = nullptr; // non-owning: the explorer owns its bar
    std::string m_sName;
    // Keyed by control name without regard to case, in insertion order.
    std::vector<std::pair<std::string, Control>> m_colControls;
    platform::runtime::Object* m_lSelfPtr = nullptr;
    std::string m_sKeyPath;
    std::shared_ptr<platform::outlook::CommandBar> m_oBar;
};

} // namespace shell
