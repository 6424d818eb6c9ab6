#pragma once

#include "dialogs/FieldSectionDialog.h"

#include <memory>
#include <string>

namespace platform::forms {
class CheckBox;
class ComboBox;
class CommandButton;
class FlexGrid;
class GridControl;
class Label;
} // namespace platform::forms

namespace dialogs {

/// The totals dialog: per column of a field set, the function of its group and total rows
/// (none, average, count, maximum, minimum, percent, sum), whether items are counted and
/// whether total rows name their function. Works on a private copy of the opener's view that
/// OK copies back.
class frmCalc : public FieldSectionDialog
{
public:
    frmCalc();

    platform::forms::FlexGrid& fg() const;
    platform::forms::ComboBox& cboFolder() const { return *m_cboFolder; }
    platform::forms::CheckBox& chkCount() const { return *m_chkCount; }
    platform::forms::CheckBox& chkDisplayFunctionName() const { return *m_chkDisplayFunctionName; }
    platform::forms::CommandButton& cmdDeleteAll() const { return *m_cmdDeleteAll; }
    platform::forms::CommandButton& cmdOK() const { return *m_cmdOK; }
    platform::forms::CommandButton& cmdCancel() const { return *m_cmdCancel; }

private:
    void Form_Load() override;
    void cboFolder_Click();
    void FillFieldGrid();
    void fg_BeforeEdit(int Row, int Col, bool& Cancel);
    void fg_AfterEdit(int Row, int Col);
    // Adds the catalogue field of sKey as a column with that total (nothing when the
    // catalogue does not know it).
    void AddTotalColumn(views::ViewSettings& oView, const std::string& sKey, std::int32_t lCode,
                        bool bVisible);
    void chkCount_Click();
    void SetCountItemsCalculation();
    void chkDisplayFunctionName_Click();
    void cmdDeleteAll_Click();
    void cmdOK_Click();
    void cmdCancel_Click();
    views::ViewSettings& ScratchView() const;
    std::string CalcName(std::int32_t lCode) const;

    std::shared_ptr<views::ViewSettings> m_oVs;
    std::shared_ptr<platform::forms::CheckBox> m_chkCount;
    std::shared_ptr<platform::forms::CheckBox> m_chkDisplayFunctionName;
    std::shared_ptr<platform::forms::Label> m_lblGrid;
    std::shared_ptr<platform::forms::GridControl> m_fg;
    std::shared_ptr<platform::forms::Label> m_lblFolder;
    std::shared_ptr<platform::forms::ComboBox> m_cboFolder;
    std::shared_ptr<platform::forms::CommandButton> m_cmdOK;
    std::shared_ptr<platform::forms::CommandButton> m_cmdCancel;
    std::shared_ptr<platform::forms::CommandButton> m_cmdDeleteAll;
};

} // namespace dialogs
