#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace platform::forms {

/// The aggregate of a subtotal operation. The numbers are the codes that views store.
enum class SubtotalFunction
{
    None = 0,    ///< group rows without an aggregate
    Clear = 1,   ///< remove every subtotal row
    Sum = 2,     ///< sum of the numbers of the group
    Percent = 3, ///< the group's sum as a percentage of the column's total over all data rows
    Count = 4,   ///< number of non-empty cells of the group
    Average = 5, ///< average of the numbers of the group
    Max = 6,     ///< greatest value of the group
    Min = 7,     ///< smallest value of the group
};

/// One subtotal operation: the arguments of FlexGrid::Subtotal, for FlexGrid::Subtotals.
struct SubtotalRequest
{
    SubtotalFunction function = SubtotalFunction::None;
    int groupOn = 0;
    std::optional<int> totalOn;
    std::optional<std::string> caption;
    int matchFrom = 0;
};

/// How much of an outline node's group shows.
enum class OutlineState
{
    Expanded = 0,  ///< every row under the node shows (subject to the nodes below it)
    Subtotals = 1, ///< only the node rows under it show: the group shows its totals only
    Collapsed = 2, ///< nothing under the node shows
};

/// The sort applied to the selected rows.
enum class SortSetting
{
    None = 0,
    GenericAscending = 1,  ///< every selected column ascending, left to right
    GenericDescending = 2, ///< every selected column descending, left to right
    UseColSort = 10,       ///< every selected column by its own ColSort, left to right
};

/// The order a column takes in a UseColSort sort.
enum class ColumnSort
{
    None = 0, ///< the column takes no part in the sort
    Ascending = 1,
    Descending = 2,
};

/// A column to sort by and its order, for FlexGrid::SortBy.
struct SortKey
{
    int col = 0;
    ColumnSort order = ColumnSort::Ascending; ///< None: the column takes no part
};

/// Cell and column alignment codes.
enum class Alignment
{
    LeftTop = 0,
    LeftCenter = 1,
    LeftBottom = 2,
    CenterTop = 3,
    CenterCenter = 4,
    CenterBottom = 5,
    RightTop = 6,
    RightCenter = 7,
    RightBottom = 8,
    General = 9,
};

/// Check box of a cell. Two numberings of the same two states exist because the dialogs that
/// use check boxes were written against both (a list and a tree); the grid keeps what it is told.
enum class CheckState
{
    None = 0,         ///< no check box
    Checked = 1,      ///< a ticked box
    Unchecked = 2,    ///< an empty box
    TreeChecked = 3,  ///< a ticked box, tree numbering
    TreeUnchecked = 4 ///< an empty box, tree numbering
};

/// How clicks select rows and cells.
enum class SelectionMode
{
    Free = 0,     ///< a rectangular range of cells
    ByRow = 1,    ///< whole rows, one contiguous range
    ByColumn = 2, ///< whole columns
    ListBox = 3,  ///< whole rows, several and not adjacent (Ctrl and Shift clicks)
};

/// Variant type codes that a column's data type takes; any other code is kept as given and
/// compared as text.
namespace ColumnType {
inline constexpr int Empty = 0;    ///< no type: numbers compare as numbers, the rest as text
inline constexpr int Integer = 2;  ///< 16-bit integer
inline constexpr int Long = 3;     ///< 32-bit integer
inline constexpr int Single = 4;   ///< single-precision number
inline constexpr int Double = 5;   ///< double-precision number
inline constexpr int Currency = 6; ///< currency
inline constexpr int Date = 7;     ///< date and time in the locale's short forms
inline constexpr int String = 8;   ///< text, compared without regard to case
inline constexpr int Boolean = 11; ///< yes/no, compared as a number
inline constexpr int Decimal = 14; ///< decimal number
} // namespace ColumnType

/// The cell properties reached by setting code (FlexGrid::Cell and SetCell).
enum class CellSetting
{
    Text = 0,
    Alignment = 2,
    Picture = 3,
    PictureAlignment = 4,
    Checked = 5,
    BackColor = 6,
    ForeColor = 7,
    FontBold = 13,
};

/// A rectangle of cells; the rows and columns are as given, not put in order.
struct CellRange
{
    int row1 = 0;
    int col1 = 0;
    int row2 = 0;
    int col2 = 0;
};

/// The drag-and-drop effect codes.
enum class DropEffect
{
    None = 0,
    Copy = 1,
    Move = 2,
};

/// Where a drag is relative to the grid under it.
enum class DragState
{
    Enter = 0,
    Leave = 1,
    Over = 2,
};

} // namespace platform::forms
