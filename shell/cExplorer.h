#pragma once

#include "common/IChild.h"
#include "platform/runtime/Object.h"

#include <cstdint>
#include <memory>
#include <string>

namespace platform::outlook {
class CommandBars;
class Explorer;
} // namespace platform::outlook

namespace shell {

class IExplorerToolbar;
class cExplorers;

/// The wrapper of one explorer window of the client: follows its Activate and Close events
/// and, in client versions before 14, gives it the add-in's toolbar and remembers when the
/// user shows or hides it.
class cExplorer : public platform::runtime::Object,
                  public common::IChild,
                  public std::enable_shared_from_this<cExplorer>
{
public:
    cExplorer() = default;
    ~cExplorer() override;
    cExplorer(const cExplorer&) = delete;
    cExplorer& operator=(const cExplorer&) = delete;
    std::string TypeName() const override { return "cExplorer"; }

    // IChild: the key argument is ignored; Key is the decimal text of the wrapper's key;
    // ResetParentPtr releases the explorer first.
    void Init(platform::runtime::Object* lParentPtr, const std::string& sKey = {}) override;
    std::string Key() const override;
    void ResetParentPtr() override;

    /// Wraps the explorer under the key; nothing when no explorer is given. A failure is
    /// logged and the caller carries on.
    void Init(const std::shared_ptr<platform::outlook::Explorer>& oExplorer, std::int32_t lKey);
    /// The wrapped explorer, or null after release.
    const std::shared_ptr<platform::outlook::Explorer>& Item() const { return m_oExplorer; }
    /// The owning collection, or null when the link was reset.
    cExplorers* Parent() const { return m_pParent; }
    /// The toolbar object, or null.
    const std::shared_ptr<IExplorerToolbar>& Toolbar() const { return m_oToolbar; }
    /// Closes and drops the toolbar; errors are ignored.
    void RemoveToolbar();
    common::IChild& AsIChild() { return *this; }

private:
    bool ToolbarBuilt() const;
    void BuildToolbar();
    void ReleaseExplorer();
    void Explorer_Activate();
    void Explorer_Close();
    void CommandBars_OnUpdate();
    void StopListening();

    cExplorers* m_pParent = nullptr; // non-owning: the collection owns this wrapper
    std::shared_ptr<IExplorerToolbar> m_oToolbar;
    std::int32_t m_lKey = 0;
    bool m_bFirstActivate = true;
    bool m_bToolbarBuilt = false;
    std::shared_ptr<platform::outlook::Explorer> m_oExplorer;
    int m_iActivateId = 0;
    int m_iCloseId = 0;
    std::shared_ptr<platform::outlook::CommandBars> m_CommandBars;
    int m_iUpdateId = 0;
};

} // namespace shell
