#pragma once

#include "dialogs/SectionDialog.h"
#include "dialogs/frmCatList.h"

#include <array>
#include <memory>
#include <string>

namespace platform::forms {
class CheckBox;
class ComboBox;
class CommandButton;
class DTPicker;
class Label;
class TextBox;
} // namespace platform::forms
namespace engine {
class Filter;
}

namespace dialogs {

/// The filter dialog, a section of the view dialog: a date window on one date field of the
/// items (a preset or two dates), conditions on categories, subject, contact, company and
/// location, and a condition on the task status. Presets are computed on a private copy of the
/// view; only OK writes the conditions into the view the view dialog edits.
class frmFilter : public SectionDialog
{
public:
    /// The categories button reads the client's master list through the add-in's root object.
    frmFilter();
    /// The categories button reads the master list through the given reader.
    explicit frmFilter(frmCatList::MasterlistReader oMasterlistReader);
    ~frmFilter() override;

    /// The text boxes of the five text conditions, in the order of `cboCompare`.
    enum TextCondition
    {
        kCategories = 0,
        kSubject = 1,
        kContact = 2,
        kCompany = 3,
        kLocation = 4,
    };

    platform::forms::ComboBox& cboDateField() const { return *m_cboDateField; }
    platform::forms::ComboBox& cboDateRange() const { return *m_cboDateRange; }
    platform::forms::DTPicker& dpFrom() const { return *m_dpFrom; }
    platform::forms::DTPicker& dpTo() const { return *m_dpTo; }
    platform::forms::CommandButton& cmdCategories() const { return *m_cmdCategories; }
    /// The comparison list of a text condition (0 to 4, see `TextCondition`).
    platform::forms::ComboBox& cboCompare(int Index) const;
    /// The text box of a text condition (0 to 4, see `TextCondition`).
    platform::forms::TextBox& txtCondition(int Index) const;
    platform::forms::TextBox& txtCats() const { return txtCondition(kCategories); }
    platform::forms::TextBox& txtSubject() const { return txtCondition(kSubject); }
    platform::forms::TextBox& txtContact() const { return txtCondition(kContact); }
    platform::forms::TextBox& txtCompany() const { return txtCondition(kCompany); }
    platform::forms::TextBox& txtLocation() const { return txtCondition(kLocation); }
    /// The join boxes: 0 categories, 1 contact, 2 company.
    platform::forms::CheckBox& chkJoin(int Index) const;
    /// 0 the task-status comparison, 1 the status compared with.
    platform::forms::ComboBox& cboTaskStatus(int Index) const;
    platform::forms::CommandButton& cmdDeleteAll() const { return *m_cmdDeleteAll; }
    platform::forms::CommandButton& cmdOK() const { return *m_cmdOK; }
    platform::forms::CommandButton& cmdCancel() const { return *m_cmdCancel; }

protected:
    void Form_Load() override;
    void Form_QueryUnload(int& Cancel, int UnloadMode) override;
    void Form_KeyDown(int& KeyCode, int Shift) override;

private:
    void CreateControls();
    void CreateConditionRows(int& lTop);
    void PrepareControls();
    void ShowDefaults();
    void ShowFilter(const engine::Filter& oFilter);
    void ShowListCondition(int Index, int lJoin, bool bAnd, long lCount, const std::string& sJoined,
                           long lCompare);
    void EnableDateControls();
    void cboDateRange_Click();
    /// A picker's date changed (the from picker's when bFromChanged, else the to picker's).
    void Picker_Change(bool bFromChanged);
    void Picker_DropDown(platform::forms::DTPicker& oPicker);
    void cboTaskStatus0_Click();
    void cboCompare_Click(int Index);
    void txtCondition_Change(int Index);
    void cmdCategories_Click();
    void cmdDeleteAll_Click();
    void cmdOK_Click();
    void WriteConditions(engine::Filter& oTarget) const;
    void cmdCancel_Click();

    frmCatList::MasterlistReader m_oMasterlistReader;
    std::shared_ptr<views::ViewSettings> m_oOwnView;
    bool m_bLoading = false;
    bool m_bPickerEntered = false;
    bool m_bRefreshPending = false;

    std::array<std::shared_ptr<platform::forms::Label>, 8> m_lbl;
    std::shared_ptr<platform::forms::ComboBox> m_cboDateField;
    std::shared_ptr<platform::forms::ComboBox> m_cboDateRange;
    std::shared_ptr<platform::forms::DTPicker> m_dpFrom;
    std::shared_ptr<platform::forms::DTPicker> m_dpTo;
    std::shared_ptr<platform::forms::CommandButton> m_cmdCategories;
    std::array<std::shared_ptr<platform::forms::ComboBox>, 5> m_cboCompare;
    std::array<std::shared_ptr<platform::forms::TextBox>, 5> m_txt;
    std::array<std::shared_ptr<platform::forms::CheckBox>, 3> m_chkJoin;
    std::array<std::shared_ptr<platform::forms::ComboBox>, 2> m_cboTaskStatus;
    std::shared_ptr<platform::forms::CommandButton> m_cmdDeleteAll;
    std::shared_ptr<platform::forms::CommandButton> m_cmdOK;
    std::shared_ptr<platform::forms::CommandButton> m_cmdCancel;
};

} // namespace dialogs
