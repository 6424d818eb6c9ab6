#pragma once

#include "actions/ActionDelete.h"
#include "actions/ActionOpen.h"
#include "actions/ActionPrint.h"
#include "actions/ActionSave.h"
#include "actions/ActionSend.h"
#include "common/IChild.h"
#include "platform/runtime/Object.h"
#include "views/ISerializeString.h"

#include <memory>
#include <string>

namespace views {
class ViewSettings;
}

namespace actions {

/// The five report-file actions of one view (save, open, print, send, delete). `Init` through
/// `AsIChild` creates them with their initial settings and links each to this container.
class Action : public platform::runtime::Object,
               public common::IChild,
               public views::ISerializeString
{
public:
    Action() = default;
    Action(const Action&) = delete;
    Action& operator=(const Action&) = delete;
    /// Unlinks the five actions.
    ~Action() override;

    std::string TypeName() const override { return "Action"; }

    /// The owning view, or null when not linked.
    views::ViewSettings* Parent() const;
    /// The save action (null before `Init`).
    ActionSave* GetSaveAction() const { return m_oSave.get(); }
    /// The open action (null before `Init`).
    ActionOpen* GetOpenAction() const { return m_oOpen.get(); }
    /// The print action (null before `Init`).
    ActionPrint* GetPrintAction() const { return m_oPrint.get(); }
    /// The send action (null before `Init`).
    ActionSend* GetSendAction() const { return m_oSend.get(); }
    /// The delete action (null before `Init`).
    ActionDelete* GetDeleteAction() const { return m_oDelete.get(); }

    /// Runs the actions marked automatic: the save (unless bSkipSave), then, when it left a
    /// saved file, the open action alone, or else send, print and delete (without a
    /// question) in that order. An error of one action stops the run and is raised again.
    void AutoExecute(bool bSkipSave);

    /// Stores the parent link and creates the five actions (delete, open, print, save, send),
    /// each linked to this container; the key is ignored.
    void Init(platform::runtime::Object* lParentPtr, const std::string& sKey = {}) override;
    /// Always the empty text.
    std::string Key() const override { return {}; }
    /// Clears the parent link.
    void ResetParentPtr() override { m_pParent = nullptr; }
    /// The container as its parent link.
    common::IChild& AsIChild() { return *this; }

    /// The strings of delete, open, print, save and send joined with NUL (39 fields).
    std::string ToString() const override;
    /// Hands 1, 3, 17, 10 and 8 fields to delete, open, print, save and send; raises 9 when
    /// the string runs short (the actions before keep what they got).
    void ToObject(std::string& sData) override;

private:
    platform::runtime::Object* m_pParent = nullptr;
    std::unique_ptr<ActionSave> m_oSave;
    std::unique_ptr<ActionOpen> m_oOpen;
    std::unique_ptr<ActionSend> m_oSend;
    std::unique_ptr<ActionPrint> m_oPrint;
    std::unique_ptr<ActionDelete> m_oDelete;
};

} // namespace actions
