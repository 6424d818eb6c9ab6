#pragma once

#include "platform/runtime/Collection.h"
#include "platform/runtime/Variant.h"

#include <cstdint>
#include <memory>
#include <string>

namespace platform::forms {
class FlexGrid;
}
namespace engine {
class Records;
}
namespace views {
class ViewSettings;
class GridField;
class GroupBy;
} // namespace views

/// The words of the report grid's group and total rows, the names of the total functions,
/// and small procedures on a grid: expand or collapse its outline, sort it, size it.
namespace grid::Flexgrid2 {

/// Loads the grid's words and rebuilds the list of total-function names in the current UI
/// language. A word whose text cannot be loaded keeps its earlier value. Never throws.
void InitGridStrings();

/// The total-function names: item 1 is a blank (no function), items 2 to 7 the names of
/// average, count, maximum, minimum, percent and sum. Empty before `InitGridStrings`.
const platform::runtime::Collection<std::string>& CalcFunctions();

/// "<n> " and the singular word for 1, else the plural word ("1 Eintrag", "0 Einträge").
std::string FormatItemCount(std::int32_t n);

/// sPrefix & sValue when sValue is not empty, else the no-value word alone.
std::string ValueOrNone(const std::string& sPrefix, const std::string& sValue);

/// The caption of a group row: "<caption>: " and the value, behind the hour, day, week or
/// quarter word for those date groupings; a yes/no field (property type 6) shows the yes word
/// for "1" and the no word otherwise; an empty value shows the no-value word.
std::string GetGroupCaption(const std::string& sCaption, std::int32_t lPropertyType,
                            std::int32_t lDateGroupBy, const std::string& sValue);

/// The text of a total cell: "[<function name>] " when bShowFunctionName, then the value:
/// a date column's value (other than a count) as a date; numbers with two decimals ("0" for
/// a count); a percentage with two decimals and " %". vValue is left holding the formatted
/// value. Never throws: a step that fails leaves the value as it was.
std::string FormatTotalCaption(std::int32_t lDataType, std::int32_t lCalculation,
                               platform::runtime::Variant& vValue, bool bShowFunctionName);

/// The grid's subtotal code of a position of the function list (0 to 6); 0 for any other.
std::int32_t CalcIndexToSubtotal(std::int32_t lPosition);
/// The position in the function list of a subtotal code; 0 for any other.
std::int32_t SubtotalToCalcIndex(std::int32_t lCode);

/// Sets the outline state (0 expanded, 2 collapsed) of every subtotal row whose outline
/// level is at least iLevel. Never throws.
void CollapseGridToLevel(platform::forms::FlexGrid& fg, std::int32_t lState, std::int16_t iLevel);

/// Sorts every data row ascending by the first column, ties by the next, and so on. Never
/// throws.
void SortGridAscending(platform::forms::FlexGrid& fg);

/// Sizes every column of the grid to its contents. Never throws.
void AutoSizeGrid(platform::forms::FlexGrid& fg);

/// `GetGroupCaption` of a view column grouped by a level: its caption and property type, the
/// level's date grouping.
std::string GetGroupCaption(const views::GridField& oField, const std::string& sValue,
                            const views::GroupBy& oGroupBy);

/// `FormatTotalCaption` of a view column: its data type and total function.
std::string FormatTotalCaption(const views::GridField& oField, platform::runtime::Variant& vValue,
                               bool bShowFunctionName);

/// Fills the grid from the records (may be null) by the view with a fresh grid engine.
void CreateGrid(platform::forms::FlexGrid& fg, std::shared_ptr<engine::Records> oRecords,
                views::ViewSettings& oView);

} // namespace grid::Flexgrid2
