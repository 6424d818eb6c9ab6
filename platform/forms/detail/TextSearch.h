#pragma once

#include "platform/forms/detail/GridModel.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform::forms::detail {

/// A grid's texts case-folded, column by column, for searches that ignore case.
///
/// A find in the report window searches every row of a large grid once per column. The rows'
/// text blocks lie scattered over the heap once the rows are sorted, so that a walk over the
/// rows waits on memory for nearly every cell; here each column's texts lie in one run of
/// characters, searched at memory speed. Built on the first such search after a change (the
/// shown columns at once, a hidden one when it is searched) and dropped by the next change of
/// the grid's rows, columns or cells.
class FoldedColumns
{
public:
    /// An index of a grid of `cols` columns that holds none of them yet.
    explicit FoldedColumns(int cols);

    /// Whether the column's texts are in the index.
    bool Holds(int col) const;
    /// Takes the texts of the columns named into the index, in one walk over the rows. False
    /// when the index cannot stand for the texts: a cell holds the NUL that separates the cells
    /// here, or a column's characters pass what 32-bit offsets count.
    bool Add(const GridRows& rows, const std::vector<int>& cols);

    /// The first row from `start` on whose cell in `col` (a column the index holds) holds
    /// `folded`, a needle in FoldCase's form (the whole cell when `wholeCell`), or -1. A needle
    /// holding a NUL matches nothing, as no cell holds one.
    int Find(int col, int start, std::string_view folded, bool wholeCell) const;

private:
    struct Column
    {
        bool held = false;
        std::string chars;                 // every cell's folded text, each followed by a NUL
        std::vector<std::uint32_t> starts; // where each row's cell starts in chars
    };
    /// The row whose cell holds the character at `at`.
    static int RowAt(const Column& column, std::size_t at);

    std::vector<Column> m_columns;
};

} // namespace platform::forms::detail
