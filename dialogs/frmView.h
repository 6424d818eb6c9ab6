#pragma once

#include "common/IChild.h"
#include "dialogs/SectionDialog.h"
#include "platform/forms/Form.h"

#include <array>
#include <functional>
#include <memory>
#include <string>

namespace platform::forms {
class CheckBox;
class CommandButton;
class Label;
} // namespace platform::forms
namespace shell {
class frmMain;
}
namespace views {
class ViewSettings;
}

namespace dialogs {

/// The view dialog: a one-line summary of each of the five sections of a view (columns,
/// grouping, sorting, filter, totals), a button per section that opens the section's dialog,
/// and two check boxes for view flags. It edits the view handed to `ShowForm` (the caller's
/// copy) and reports OK only through `Confirmed`; whether the copy replaces the view it was
/// made from is the caller's decision.
class frmView : public platform::forms::Form, public common::IChild
{
public:
    /// Makes the dialog of a section; a null dialog fails the section's button with error 91.
    using SectionDialogFactory = std::function<std::unique_ptr<SectionDialog>(ViewSection)>;

    /// Opens the section dialogs of `NewSectionDialog`.
    frmView();
    /// Opens the section dialogs the factory makes.
    explicit frmView(SectionDialogFactory fnFactory);
    ~frmView() override;

    /// Keeps Vs as the edited view and shows the dialog modally over ParentForm (may be null);
    /// returns once the dialog is closed. Errors are logged and shown.
    void ShowForm(std::shared_ptr<views::ViewSettings> Vs, platform::forms::Form* ParentForm);

    /// True only after OK.
    bool Confirmed = false;

    /// The report window that opened the dialog, or null while the link is 0.
    shell::frmMain* Parent() const;
    /// The dialog as its parent link.
    common::IChild& AsIChild() { return *this; }
    /// The view being edited; while a section dialog is open, the scratch copy made for that
    /// section, so that what the section writes lands only when it is confirmed. Null before
    /// `ShowForm`.
    const std::shared_ptr<views::ViewSettings>& Vs() const;

    /// Keeps the opener (not owned); the key is not kept.
    void Init(platform::runtime::Object* lParentPtr, const std::string& sKey = {}) override;
    /// Always the empty text.
    std::string Key() const override { return {}; }
    /// Forgets the opener.
    void ResetParentPtr() override { m_pParent = nullptr; }

    platform::forms::CommandButton& cmdFields() const { return *m_cmdFields; }
    platform::forms::CommandButton& cmdGroupBy() const { return *m_cmdGroupBy; }
    platform::forms::CommandButton& cmdSort() const { return *m_cmdSort; }
    platform::forms::CommandButton& cmdFilter() const { return *m_cmdFilter; }
    platform::forms::CommandButton& cmdCalc() const { return *m_cmdCalc; }
    /// The summary labels: 0 columns, 1 grouping, 2 sorting, 3 filter, 4 totals.
    platform::forms::Label& lbl(int Index) const;
    platform::forms::CheckBox& chkShowResult() const { return *m_chkShowResult; }
    platform::forms::CheckBox& chkHideTime() const { return *m_chkHideTime; }
    platform::forms::CommandButton& cmdOK() const { return *m_cmdOK; }
    platform::forms::CommandButton& cmdCancel() const { return *m_cmdCancel; }

protected:
    void Form_Load() override;
    void Form_QueryUnload(int& Cancel, int UnloadMode) override;
    void Form_KeyDown(int& KeyCode, int Shift) override;

private:
    void CreateControls();
    void OpenSection(ViewSection eSection, const char* sProcedure);
    void SectionConfirmed(ViewSection eSection);
    void cmdOK_Click();
    void cmdCancel_Click();
    void UpdateFieldsLabel();
    void UpdateGroupLabel();
    void UpdateSortLabel();
    void UpdateFilterLabel();
    void UpdateCalcLabel();
    void UpdateLevelLabel(int lLabel, bool bGrouping);
    void SetLabelCaption(platform::forms::Label& oLabel, std::string sText);
    void EnableShowResult();

    SectionDialogFactory m_fnFactory;
    platform::runtime::Object* m_pParent = nullptr; // non-owning: the opener outlives the dialog
    std::shared_ptr<views::ViewSettings> m_oVs;
    // The copy a section dialog edits while it is open.
    std::shared_ptr<views::ViewSettings> m_oSectionView;
    bool m_bGroupConfirmed = false;
    bool m_bSortConfirmed = false;

    std::shared_ptr<platform::forms::CommandButton> m_cmdFields;
    std::shared_ptr<platform::forms::CommandButton> m_cmdGroupBy;
    std::shared_ptr<platform::forms::CommandButton> m_cmdSort;
    std::shared_ptr<platform::forms::CommandButton> m_cmdFilter;
    std::shared_ptr<platform::forms::CommandButton> m_cmdCalc;
    std::array<std::shared_ptr<platform::forms::Label>, 5> m_lbl;
    std::shared_ptr<platform::forms::CheckBox> m_chkShowResult;
    std::shared_ptr<platform::forms::CheckBox> m_chkHideTime;
    std::shared_ptr<platform::forms::CommandButton> m_cmdOK;
    std::shared_ptr<platform::forms::CommandButton> m_cmdCancel;
};

} // namespace dialogs
