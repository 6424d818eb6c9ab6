#pragma once

#include <cstdint>
#include <memory>

namespace engine {
class Filter;
}
namespace views {
class GridFields;
class GroupBy;
struct SortBy;
} // namespace views

namespace grid::detail {

/// What the grid engine reads of a view. The add-in passes its `ViewSettings` through
/// `ViewSettingsView`; tests pass views they assemble from columns and levels directly.
class IReportView
{
public:
    virtual ~IReportView() = default;
    /// The columns in column order.
    virtual std::shared_ptr<views::GridFields> Fields() = 0;
    /// Grouping level 0 to 2; null for any other index.
    virtual views::GroupBy* GroupByLevel(std::int32_t lIndex) = 0;
    /// Sort level 0 to 2; null for any other index.
    virtual views::SortBy* SortByLevel(std::int32_t lIndex) = 0;
    virtual bool DontShowTime() = 0;
    virtual bool DisplayResultsOnly() = 0;
    virtual bool DisplayFunctionName() = 0;
    virtual bool CalculateItemsCount() = 0;
    /// Number of columns whose `Calculation` is not 0.
    virtual std::int32_t CalculatedFieldsCount() = 0;
    /// The view's filter (its list conditions choose the keyword values a record shows).
    virtual std::shared_ptr<engine::Filter> Filter() = 0;
};

} // namespace grid::detail
