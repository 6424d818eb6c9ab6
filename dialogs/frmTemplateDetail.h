#pragma once

#include "dialogs/TemplateEditorServices.h"
#include "platform/forms/Form.h"

#include <memory>
#include <string>

namespace platform::forms {
class CommandButton;
class Label;
class TextBox;
} // namespace platform::forms
namespace views {
class Templates;
class ViewSettings;
} // namespace views

namespace dialogs {

/// The modal editor of one template: its name, and buttons for its view, its folders and its
/// report actions. The three buttons change the view at once; OK files the view in the
/// template collection under the typed name (a new one at the end, an existing one moved to
/// the end), refusing a name another template has in any letter case.
class frmTemplateDetail : public platform::forms::Form
{
public:
    /// Works through the report window and the actions' own pickers.
    frmTemplateDetail();
    /// Works through the given services.
    explicit frmTemplateDetail(TemplateEditorServices oServices);
    ~frmTemplateDetail() override;

    /// Runs the dialog modally on the view (the template's own object, or a new view not yet
    /// in the collection); returns when it has closed. Read `Confirmed` afterwards.
    void ShowForm(const std::shared_ptr<views::Templates>& oTemplates,
                  const std::shared_ptr<views::ViewSettings>& oVs, Form* ParentForm = nullptr);

    /// True only after a successful OK.
    bool Confirmed = false;
    /// The edited view (null before `ShowForm`).
    const std::shared_ptr<views::ViewSettings>& Vs() const { return m_oVs; }

    platform::forms::TextBox& txtNew() const { return *m_txtNew; }
    platform::forms::CommandButton& cmdFolder() const { return *m_cmdFolder; }
    platform::forms::CommandButton& cmdView() const { return *m_cmdView; }
    platform::forms::CommandButton& cmdAutoAction() const { return *m_cmdAutoAction; }
    platform::forms::CommandButton& cmdOK() const { return *m_cmdOK; }
    platform::forms::CommandButton& cmdCancel() const { return *m_cmdCancel; }

protected:
    void Form_Load() override;
    void Form_KeyDown(int& KeyCode, int Shift) override;

private:
    /// Gives the controls their places and the form its size, in twips.
    void PlaceControls();
    void txtNew_Change();
    void txtNew_GotFocus();
    void cmdView_Click();
    void cmdFolder_Click();
    void cmdAutoAction_Click();
    void cmdOK_Click();
    void cmdCancel_Click();
    void FileUnderName(const std::string& sNew);
    void ReFile(const std::string& sNew);

    TemplateEditorServices m_oServices;
    std::shared_ptr<views::Templates> m_oTemplates;
    std::shared_ptr<views::ViewSettings> m_oVs;
    std::shared_ptr<platform::forms::Label> m_lbl;
    std::shared_ptr<platform::forms::TextBox> m_txtNew;
    std::shared_ptr<platform::forms::CommandButton> m_cmdFolder;
    std::shared_ptr<platform::forms::CommandButton> m_cmdView;
    std::shared_ptr<platform::forms::CommandButton> m_cmdAutoAction;
    std::shared_ptr<platform::forms::CommandButton> m_cmdOK;
    std::shared_ptr<platform::forms::CommandButton> m_cmdCancel;
};

} // namespace dialogs
