#pragma once

#include "dialogs/LevelDialog.h"

namespace dialogs {

/// The sorting dialog: the view's three sort levels, each with field, order and "show field".
class frmSort : public LevelDialog
{
public:
    frmSort();

private:
    bool LevelApply(views::ViewSettings& oView, int i) const override;
    void SetLevelApply(views::ViewSettings& oView, int i, bool bApply) const override;
    std::string& LevelColKey(views::ViewSettings& oView, int i) const override;
    std::int32_t& LevelSortOrder(views::ViewSettings& oView, int i) const override;
    void cbo_Click(int Index) override;
    void cmdOK_Click() override;
};

} // namespace dialogs
