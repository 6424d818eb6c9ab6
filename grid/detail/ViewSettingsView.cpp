#include "grid/detail/ViewSettingsView.h"

#include "views/ViewSettings.h"

namespace grid::detail {

std::shared_ptr<views::GridFields> ViewSettingsView::Fields()
{
    return m_oView.Fields();
}

views::GroupBy* ViewSettingsView::GroupByLevel(std::int32_t lIndex)
{
    return m_oView.GroupByLevel(lIndex);
}

views::SortBy* ViewSettingsView::SortByLevel(std::int32_t lIndex)
{
    return m_oView.SortByLevel(lIndex);
}

bool ViewSettingsView::DontShowTime()
{
    return m_oView.DontShowTime();
}

bool ViewSettingsView::DisplayResultsOnly()
{
    return m_oView.DisplayResultsOnly();
}

bool ViewSettingsView::DisplayFunctionName()
{
    return m_oView.DisplayFunctionName();
}

bool ViewSettingsView::CalculateItemsCount()
{
    return m_oView.CalculateItemsCount();
}

std::int32_t ViewSettingsView::CalculatedFieldsCount()
{
    return m_oView.CalculatedFieldsCount();
}

std::shared_ptr<engine::Filter> ViewSettingsView::Filter()
{
    return m_oView.Filter();
}

} // namespace grid::detail
