#pragma once

#include "views/ViewSettings.h"

#include <memory>

namespace views {

class cMapiProps;

/// Decides after an edit whether the report must be read anew: the edited view needs a
/// column, sort field or group field the old read did not have, another filter, or another
/// `DisplayFunctionName`. On the way it appends to the edited view, hidden, the columns its
/// sort and group levels need.
class cCompareSettings
{
public:
    /// True when the last `Compare` asked for a new read.
    bool UpdateRecords() const { return m_bUpdateRecords; }
    void SetUpdateRecords(bool bValue) { m_bUpdateRecords = bValue; }
    /// Compares the view as it was with the edited view. Never raises.
    void Compare(ViewSettings& oOldView, ViewSettings& oNewView);

private:
    void CompareColumns();
    void CompareLevel(bool bApply, const std::string& sColKey);
    void CompareSortLevels();
    void CompareGroupLevels();
    void CompareFilter();

    bool m_bUpdateRecords = false;
    ViewSettings* m_oOldView = nullptr;
    ViewSettings* m_oNewView = nullptr;
    std::shared_ptr<GridFields> m_oOldFields;
    std::shared_ptr<GridFields> m_oNewFields;
    std::shared_ptr<cMapiProps> m_oMapiProps;
};

} // namespace views
