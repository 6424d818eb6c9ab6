#pragma once

#include "dialogs/TemplateEditorServices.h"
#include "platform/forms/Form.h"

#include <memory>
#include <string>

namespace platform::forms {
class CommandButton;
class FlexGrid;
class GridControl;
class Label;
} // namespace platform::forms
namespace views {
class Templates;
class ViewSettings;
} // namespace views

namespace dialogs {

/// The modal template manager: lists the templates by name and lets the user create, copy,
/// edit (through the template editor) and delete templates and pick one. It works on the
/// caller's collection directly; "reports.xml" is written after each confirmed edit.
class frmTemplate : public platform::forms::Form
{
public:
    /// Edits through the report window and the actions' own pickers.
    frmTemplate();
    /// Edits through the given services.
    explicit frmTemplate(TemplateEditorServices oServices);
    ~frmTemplate() override;

    /// Runs the dialog and returns the template picked with Select (the collection's own
    /// object), or null after Close or a failure. The row of `CurrentSelection` (letter case
    /// ignored) is selected first, else the first row.
    std::shared_ptr<views::ViewSettings>
    ShowForm(const std::shared_ptr<views::Templates>& oTemplates, Form* ParentForm,
             const std::string& CurrentSelection);

    /// True after Select.
    bool Confirmed = false;

    platform::forms::FlexGrid& fg() const;
    platform::forms::CommandButton& cmdNew() const { return *m_cmdNew; }
    platform::forms::CommandButton& cmdEdit() const { return *m_cmdEdit; }
    platform::forms::CommandButton& cmdCopy() const { return *m_cmdCopy; }
    platform::forms::CommandButton& cmdRemove() const { return *m_cmdRemove; }
    platform::forms::CommandButton& cmdOK() const { return *m_cmdOK; }
    platform::forms::CommandButton& cmdClose() const { return *m_cmdClose; }

protected:
    void Form_KeyDown(int& KeyCode, int Shift) override;

private:
    /// Gives the controls their places and the form its size, in twips.
    void PlaceControls();
    void FitNames();
    void ShowItems(const std::string& CurrentSelection);
    void ShowDetails(const std::shared_ptr<views::ViewSettings>& oView, bool bNew);
    void EnableButtons();
    void SelectRow(int lRow);
    int FindRow(const std::string& sName) const;
    std::shared_ptr<views::ViewSettings> TemplateOfRow(int lRow) const;
    void cmdNew_Click();
    void cmdCopy_Click();
    void cmdEdit_Click();
    void cmdRemove_Click();
    void cmdOK_Click();
    void cmdClose_Click();
    void fg_DblClick();

    TemplateEditorServices m_oServices;
    std::shared_ptr<views::Templates> m_oTemplates;
    std::shared_ptr<platform::forms::Label> m_lbl;
    std::shared_ptr<platform::forms::GridControl> m_fg;
    std::shared_ptr<platform::forms::CommandButton> m_cmdNew;
    std::shared_ptr<platform::forms::CommandButton> m_cmdEdit;
    std::shared_ptr<platform::forms::CommandButton> m_cmdCopy;
    std::shared_ptr<platform::forms::CommandButton> m_cmdRemove;
    std::shared_ptr<platform::forms::CommandButton> m_cmdOK;
    std::shared_ptr<platform::forms::CommandButton> m_cmdClose;
};

} // namespace dialogs
