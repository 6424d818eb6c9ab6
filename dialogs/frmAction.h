#pragma once

#include "common/IChild.h"
#include "dialogs/ActionPickers.h"
#include "platform/forms/Form.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace actions {
class Action;
class ActionDelete;
class ActionOpen;
class ActionPrint;
class ActionSave;
class ActionSend;
} // namespace actions
namespace common {
class IControlResource;
}
namespace platform::forms {
class CheckBox;
class ComboBox;
class CommandButton;
class Control;
class Frame;
class Label;
class OptionButton;
class TextBox;
} // namespace platform::forms
namespace views {
class ViewSettings;
}

namespace dialogs {

class frmTemplateDetail;

/// The modal dialog in which the user sets up the five report-file actions of the view that
/// the template editor edits (save, open, send, print, delete). It works on a copy of that
/// view made at load and copies the copy back only on OK; Cancel drops it.
///
/// The opener links it through `AsIChild().Init` with itself and shows it modally.
class frmAction : public platform::forms::Form, public common::IChild
{
public:
    /// Picks through the actions' own pickers.
    frmAction();
    /// Picks through the given pickers.
    explicit frmAction(ActionPickers oPickers);
    ~frmAction() override;

    /// The opening template editor, or null.
    frmTemplateDetail* Parent() const;
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

    /// The working copy while loaded (null before the load).
    const std::shared_ptr<views::ViewSettings>& WorkingCopy() const { return m_oWork; }

    /// The named control of this form (as a person finds it, e.g. "chkAutoExecute(2)");
    /// error 5 when the form has no such control, std::bad_cast when it is of another kind.
    template <class T> T& Ctl(const std::string& sName) const
    {
        return dynamic_cast<T&>(ControlNamed(sName));
    }

protected:
    void Form_Load() override;
    void Form_KeyDown(int& KeyCode, int Shift) override;

private:
    /// Gives the controls their places and the form its size, in twips.
    void PlaceControls();
    void CreateControls();
    void WireEvents();
    platform::forms::Control& ControlNamed(const std::string& sName) const;

    // The working copy's actions; raises "object not set" when the load made no copy.
    actions::Action& WorkActions() const;
    actions::ActionSave& Save() const;
    actions::ActionOpen& Open() const;
    actions::ActionSend& Send() const;
    actions::ActionPrint& Print() const;
    actions::ActionDelete& Delete() const;

    void LoadSaveSettings();
    void ShowSaveFormatSettings();
    void LoadOpenSettings();
    void LoadSendSettings();
    void LoadPrintSettings();
    void LoadDeleteSettings();
    void StoreSaveSettings();
    void StoreSaveTemplate();
    void StoreOpenSettings();
    void StoreSendSettings();
    void StoreSendTemplate();
    void StorePrintSettings();
    void StoreDeleteSettings();
    std::int32_t GetReportFormatByListindex(int lIndex) const;
    int GetListindexByReportFormat(std::int32_t lFormat) const;
    void EnableControls();
    void EnableFormatControls(std::int32_t lFormat);
    void EnableAutomaticActions();
    void FillOpenWithList();
    int GetListindexByEditor(std::int32_t lEditor) const;
    void ShowPrinterName();

    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdDeleteAll_Click();
    void cboFormat_Click();
    void chkAutoExecute_Click(int Index);
    void optAutoSave_Click(int Index);
    void chkPrintTotal_Click();
    void chkExportTotalsOnly_Click();
    void cmdAddPlaceholder_Click();
    void cmdHeaderFooter_Click();
    void cmdSavePath_Click();
    void cmdReportTemplate_Click();
    void cmdMailTemplate_Click();
    void cmdPrinter_Click();
    /// Runs a button's work as a handler that shows its failure.
    template <class Body> void Handler(const char* pProcedure, Body&& body);

    ActionPickers m_oPickers;
    platform::runtime::Object* m_pParent = nullptr;
    std::unique_ptr<common::IControlResource> m_oResources;
    std::shared_ptr<views::ViewSettings> m_oWork;
    bool m_bLoading = false;
    // Where the focus goes when the store step under way fails.
    platform::forms::TextBox* m_pFocusTarget = nullptr;

    std::array<std::shared_ptr<platform::forms::CheckBox>, 5> m_chkAutoExecute;
    std::array<std::shared_ptr<platform::forms::OptionButton>, 2> m_optAutoSave;
    std::array<std::shared_ptr<platform::forms::OptionButton>, 2> m_optMail;
    std::array<std::shared_ptr<platform::forms::OptionButton>, 2> m_optPrint;
    std::shared_ptr<platform::forms::Frame> m_fraExcel;
    std::shared_ptr<platform::forms::TextBox> m_txtSavePath;
    std::shared_ptr<platform::forms::TextBox> m_txtFileName;
    std::shared_ptr<platform::forms::TextBox> m_txtReportTemplate;
    std::shared_ptr<platform::forms::TextBox> m_txtFirstExcelCell;
    std::shared_ptr<platform::forms::TextBox> m_txtMailTemplate;
    std::shared_ptr<platform::forms::ComboBox> m_cboFormat;
    std::shared_ptr<platform::forms::ComboBox> m_cboPlaceholder;
    std::shared_ptr<platform::forms::ComboBox> m_cboFileExist;
    std::shared_ptr<platform::forms::ComboBox> m_cboOpenWithApp;
    std::shared_ptr<platform::forms::CheckBox> m_chkPrintHeader;
    std::shared_ptr<platform::forms::CheckBox> m_chkPrintTotal;
    std::shared_ptr<platform::forms::CheckBox> m_chkExportTotalsOnly;
    std::shared_ptr<platform::forms::Label> m_lblExcelCell;
    std::shared_ptr<platform::forms::Label> m_lblPrinter;
    std::shared_ptr<platform::forms::CommandButton> m_cmdSavePath;
    std::shared_ptr<platform::forms::CommandButton> m_cmdReportTemplate;
    std::shared_ptr<platform::forms::CommandButton> m_cmdAddPlaceholder;
    std::shared_ptr<platform::forms::CommandButton> m_cmdHeaderFooter;
    std::shared_ptr<platform::forms::CommandButton> m_cmdMailTemplate;
    std::shared_ptr<platform::forms::CommandButton> m_cmdPrinter;
    std::shared_ptr<platform::forms::CommandButton> m_cmdOK;
    std::shared_ptr<platform::forms::CommandButton> m_cmdCancel;
    std::shared_ptr<platform::forms::CommandButton> m_cmdDeleteAll;
};

} // namespace dialogs
