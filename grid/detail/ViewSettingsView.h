#pragma once

#include "grid/detail/IReportView.h"

namespace views {
class ViewSettings;
}

namespace grid::detail {

/// A `ViewSettings` as the grid engine reads it.
class ViewSettingsView final : public IReportView
{
public:
    explicit ViewSettingsView(views::ViewSettings& oView) : m_oView(oView) {}
    std::shared_ptr<views::GridFields> Fields() override;
    views::GroupBy* GroupByLevel(std::int32_t lIndex) override;
    views::SortBy* SortByLevel(std::int32_t lIndex) override;
    bool DontShowTime() override;
    bool DisplayResultsOnly() override;
    bool DisplayFunctionName() override;
    bool CalculateItemsCount() override;
    std::int32_t CalculatedFieldsCount() override;
    std::shared_ptr<engine::Filter> Filter() override;

private:
    views::ViewSettings& m_oView;
};

} // namespace grid::detail
