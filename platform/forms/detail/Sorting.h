#pragma once

#include "platform/forms/detail/GridModel.h"

#include <cstdint>
#include <vector>

namespace platform::forms::detail {

/// One column of a sort and its direction.
struct SortColumn
{
    int col;
    bool descending;
};

/// The columns col1 to col2, left to right, with their directions under setting: the
/// generic settings give every column their direction, UseColSort each column its ColSort
/// (columns without one take no part). Other settings raise "not supported".
std::vector<SortColumn> SortColumns(const FlexGrid::Impl& impl, SortSetting setting, int col1,
                                    int col2);

/// One past the last row that the node row owns, at most end.
int SubtreeEnd(const FlexGrid::Impl& impl, int nodeRow, int end);

/// Sorts the rows first to end - 1 by the columns. Data rows move only among the data rows
/// of their innermost group; a group moves with its node row and everything it owns, ordered
/// among its sibling groups by the columns whose texts define it.
void SortRows(FlexGrid::Impl& impl, int first, int end, const std::vector<SortColumn>& columns);

/// Sorts the rows first to end - 1, which have no outline, by the columns in turn; rows that
/// tie on every column keep their order.
void SortFlatRows(FlexGrid::Impl& impl, int first, int end, const std::vector<SortColumn>& columns);

/// Memory a sort reuses: the packed keys and the order.
struct SortScratch
{
    std::vector<std::uint64_t> packed;
    std::vector<int> order;
};

/// The ranks of a later sort's columns for rows from `first` on, in the rows' order: per row
/// `stride` ints of which `width` from `offset` on are the columns' ranks; per column the
/// number of ranks; and the memory of the sort that made them, for the next.
struct InnerRanks
{
    int first = 0;
    size_t width = 0;
    size_t stride = 0;
    size_t offset = 0;
    std::vector<int> keys;
    std::vector<int> ranks;
    SortScratch scratch;
    /// The group order not yet given to the rows (row first + i belongs where row
    /// first + placement[i] stands); empty when the rows stand in it.
    std::vector<int> placement;
};

/// SortFlatRows by columns; gives the ranks of the rows in innerColumns, in the rows' new
/// order, read in the same pass over the rows. Without place the rows stay where they are and
/// the order is kept as the result's placement.
InnerRanks SortFlatRowsKeepingRanks(FlexGrid::Impl& impl, int first, int end,
                                    const std::vector<SortColumn>& columns,
                                    const std::vector<SortColumn>& innerColumns, bool place);

/// Puts the rows from first on in an order: row first + i gets the row that stood at
/// first + order[i] - base. Follows the permutation's cycles, so that it needs no second copy
/// of the rows.
void PlaceRows(FlexGrid::Impl& impl, int first, const std::vector<int>& order, int base);

/// Sorts the rows from starts.front() to the last row, which have no outline, by the columns,
/// each only among the rows of its run (from one start to the next). The columns' ranks come
/// from `given` when it holds them for these rows (nothing has changed their texts since); its
/// memory is reused. A placement in `given` is applied with the sort, in one move of the rows.
void SortInsideRuns(FlexGrid::Impl& impl, const std::vector<int>& starts,
                    const std::vector<SortColumn>& columns, InnerRanks* given = nullptr);

} // namespace platform::forms::detail
