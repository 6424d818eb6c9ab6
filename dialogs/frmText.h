#pragma once

#include "common/IChild.h"
#include "platform/forms/Form.h"

#include <array>
#include <memory>
#include <string>

namespace actions {
class ActionSave;
}
namespace common {
class IControlResource;
}
namespace platform::forms {
class ComboBox;
class CommandButton;
class Label;
class TextBox;
} // namespace platform::forms

namespace dialogs {

class frmAction;

/// The small modal editor of a save action's report header and footer: line breaks show as
/// lines and are kept as "<br>", placeholders are appended to the box that last had the
/// focus, and for workbooks a text may hold at most two ";" (left, middle and right part).
///
/// The opener sets `SaveAction`, `Header` and `Footer`, shows the form modally, and reads
/// `Header` and `Footer` back when `Confirmed` is true.
class frmText : public platform::forms::Form, public common::IChild
{
public:
    frmText();
    ~frmText() override;

    /// The save action whose format and placeholders the editor uses (not owned; the opener
    /// keeps it alive while the editor is shown).
    actions::ActionSave* SaveAction = nullptr;
    /// In: the header as stored ("<br>" for line breaks); out after OK: the edited header.
    std::string Header;
    /// The same for the footer.
    std::string Footer;
    /// True after a successful OK; false after Cancel or the close box.
    bool Confirmed = false;

    /// The linked action dialog, or null.
    frmAction* Parent() const;
    /// The form as its parent link.
    common::IChild& AsIChild() { return *this; }
    /// The form as a window with its own texts.
    common::IControlResource& AsIControlResource() { return *m_oResources; }

    /// Keeps the parent pointer (the key is ignored).
    void Init(platform::runtime::Object* lParentPtr, const std::string& sKey = {}) override;
    /// Always the empty text.
    std::string Key() const override { return {}; }
    /// Forgets the parent.
    void ResetParentPtr() override { m_pParent = nullptr; }

    /// The header (0) and footer (1) boxes.
    platform::forms::TextBox& txt(int Index) const { return *m_txt.at(Index); }
    platform::forms::ComboBox& cboPlaceholder() const { return *m_cboPlaceholder; }
    platform::forms::CommandButton& cmdAddPlaceholder() const { return *m_cmdAddPlaceholder; }
    platform::forms::CommandButton& cmdOK() const { return *m_cmdOK; }
    platform::forms::CommandButton& cmdCancel() const { return *m_cmdCancel; }
    platform::forms::CommandButton& cmdDeleteAll() const { return *m_cmdDeleteAll; }

protected:
    void Form_Load() override;
    void Form_KeyDown(int& KeyCode, int Shift) override;
    void Form_QueryUnload(int& Cancel, int UnloadMode) override;

private:
    /// Gives the controls their places and the form its size, in twips.
    void PlaceControls();
    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdDeleteAll_Click();
    void cmdAddPlaceholder_Click();
    void txt_GotFocus(int Index);

    platform::runtime::Object* m_pParent = nullptr;
    std::unique_ptr<common::IControlResource> m_oResources;
    platform::forms::TextBox* m_pCurrent = nullptr; // one of m_txt
    std::array<std::shared_ptr<platform::forms::Label>, 2> m_lbl;
    std::array<std::shared_ptr<platform::forms::TextBox>, 2> m_txt;
    std::shared_ptr<platform::forms::Label> m_lblPlaceholder;
    std::shared_ptr<platform::forms::ComboBox> m_cboPlaceholder;
    std::shared_ptr<platform::forms::CommandButton> m_cmdAddPlaceholder;
    std::shared_ptr<platform::forms::CommandButton> m_cmdOK;
    std::shared_ptr<platform::forms::CommandButton> m_cmdCancel;
    std::shared_ptr<platform::forms::CommandButton> m_cmdDeleteAll;
};

} // namespace dialogs
