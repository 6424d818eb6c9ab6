#pragma once

#include "common/IChild.h"
#include "platform/runtime/Object.h"
#include "shell/ICommandBarControl.h"

#include <memory>
#include <string>

namespace platform::outlook {
class CommandBarButton;
}

namespace shell {

class cCommandBar;

/// The report button on the add-in's toolbar: finds or adds the client's button on the bar,
/// gives a new one its caption, style and pictures, and opens the report window when it is
/// clicked.
class cbbCatManager : public platform::runtime::Object,
                      public ICommandBarControl,
                      public common::IChild
{
public:
    cbbCatManager() = default;
    ~cbbCatManager() override;
    cbbCatManager(const cbbCatManager&) = delete;
    cbbCatManager& operator=(const cbbCatManager&) = delete;
    std::string TypeName() const override { return "cbbCatManager"; }

    // ICommandBarControl. Enabled and Visible answer False and ignore a set when there is
    // no button; a failure of the button reaches the caller.
    bool Enabled() const override;
    void SetEnabled(bool bEnabled) override;
    bool Visible() const override;
    void SetVisible(bool bVisible) override;
    /// The button's caption; empty when there is no button.
    std::string Caption() const override;
    /// Finds the button by its tag (the bar's name, "_" and the control name) or adds one
    /// with caption, style and pictures, then listens to its Click. Failures are skipped
    /// step by step.
    void Create(const std::shared_ptr<platform::outlook::CommandBar>& oBar) override;
    /// "Grellick".
    std::string Name() const override;

    // IChild: the key is ignored; Key is the empty text.
    void Init(platform::runtime::Object* lParentPtr, const std::string& sKey = {}) override;
    std::string Key() const override { return {}; }
    void ResetParentPtr() override { m_pParent = nullptr; }

    /// The owning toolbar, or null when the link was reset.
    cCommandBar* Parent() const;
    /// The client's button this object drives, or null.
    const std::shared_ptr<platform::outlook::CommandBarButton>& Button() const
    {
        return cbbControl;
    }
    common::IChild& AsIChild() { return *this; }
    ICommandBarControl& AsICommandBarControl() { return *this; }

private:
    void cbbControl_Click();
    void InitNewButton(platform::outlook::CommandBarButton& oButton);
    int ButtonStyle() const;
    void Unbind();

    platform::runtime::Object* m_pParent = nullptr; // non-owning: the toolbar owns this button
    std::string m_sTag;
    std::shared_ptr<platform::outlook::CommandBarButton> cbbControl;
    int m_iClickId = 0;
};

} // namespace shell
