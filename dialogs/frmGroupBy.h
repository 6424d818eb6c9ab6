#pragma once

#include "dialogs/LevelDialog.h"

#include <array>
#include <memory>

namespace platform::forms {
class ComboBox;
class Label;
} // namespace platform::forms

namespace dialogs {

/// The grouping dialog: the view's three grouping levels, each with field, order, "show
/// field" and, for date fields, the time interval grouped by. OK refuses the same multi-value
/// field on two levels.
class frmGroupBy : public LevelDialog
{
public:
    frmGroupBy();

    platform::forms::ComboBox& cboDateGroup(int i) const { return *m_acboDateGroup.at(i); }

private:
    bool LevelApply(views::ViewSettings& oView, int i) const override;
    void SetLevelApply(views::ViewSettings& oView, int i, bool bApply) const override;
    std::string& LevelColKey(views::ViewSettings& oView, int i) const override;
    std::int32_t& LevelSortOrder(views::ViewSettings& oView, int i) const override;
    void StoreLevelExtras(views::ViewSettings& oView, int i) override;
    void LoadExtras() override;
    void cbo_Click(int Index) override;
    void cmdDeleteAll_Click() override;
    void cmdOK_Click() override;
    void ApplyDateGrouping(int i);
    void ValidateSettings();

    std::array<std::shared_ptr<platform::forms::ComboBox>, kLevels> m_acboDateGroup;
    std::array<std::shared_ptr<platform::forms::Label>, kLevels> m_albl;
};

} // namespace dialogs
