#pragma once

#include "platform/forms/FlexGrid.h"
#include "tests/platform/runtime/RuntimeFixture.h"

#include <initializer_list>
#include <string>
#include <vector>

// The grid reads numbers and dates in the locale's form: the runtime's fixture pins the locale
// (de-DE) and the time zone.
using FlexGridFixture = RuntimeFixture;

namespace gridtest {

using platform::forms::FlexGrid;

// Fills a grid with one header row and the given data rows; column 0 is the outline column
// and stays empty, the row texts fill columns 1 on. Each data row's row data is its number
// (1 for the first data row), so that tests can follow rows through sorts.
inline void Fill(FlexGrid& grid, const std::vector<std::string>& header,
                 const std::vector<std::vector<std::string>>& rows)
{
    grid.SetCols(int(header.size()) + 1);
    grid.SetFixedRows(1);
    grid.SetRows(int(rows.size()) + 1);
    for (size_t c = 0; c < header.size(); ++c) {
        grid.SetTextMatrix(0, int(c) + 1, header[c]);
        grid.SetColKey(int(c) + 1, header[c]);
    }
    for (size_t r = 0; r < rows.size(); ++r) {
        for (size_t c = 0; c < rows[r].size(); ++c) {
            grid.SetTextMatrix(int(r) + 1, int(c) + 1, rows[r][c]);
        }
        grid.SetRowData(int(r) + 1, std::int32_t(r + 1));
    }
}

// The data part of a grid as lines: "T<level> " and the cells of the columns for subtotal
// rows, "D " and the cells for data rows; cells joined by "|".
inline std::vector<std::string> Dump(const FlexGrid& grid, std::initializer_list<int> cols)
{
    std::vector<std::string> lines;
    for (int r = grid.FixedRows(); r < grid.Rows(); ++r) {
        std::string line = grid.IsSubtotal(r) ? "T" + std::to_string(grid.RowOutlineLevel(r)) + " "
                                              : std::string("D ");
        bool first = true;
        for (int c : cols) {
            line += (first ? "" : "|") + grid.TextMatrix(r, c);
            first = false;
        }
        lines.push_back(line);
    }
    return lines;
}

// The texts of a column in the subtotal rows, top to bottom.
inline std::vector<std::string> SubtotalTexts(const FlexGrid& grid, int col)
{
    std::vector<std::string> texts;
    for (int r = grid.FixedRows(); r < grid.Rows(); ++r) {
        if (grid.IsSubtotal(r)) {
            texts.push_back(grid.TextMatrix(r, col));
        }
    }
    return texts;
}

// The data rows that show, by the number their row data carries; 0 stands for a subtotal row.
inline std::vector<int> VisibleRows(const FlexGrid& grid)
{
    std::vector<int> shown;
    for (int r = grid.FixedRows(); r < grid.Rows(); ++r) {
        if (grid.RowIsVisible(r)) {
            const auto* key = grid.RowData(r).Get<std::int32_t>();
            shown.push_back(key != nullptr ? *key : 0);
        }
    }
    return shown;
}

using ::RaisedNumber;

} // namespace gridtest
