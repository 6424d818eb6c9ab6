#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform::excel::detail {

/// Largest row and column of a worksheet (the .xlsx limits; .xls is checked on saving).
inline constexpr long kMaxRows = 1048576;
inline constexpr long kMaxColumns = 16384;

/// A rectangle of cells, 1-based and inclusive.
struct Area
{
    long firstRow = 1;
    long firstColumn = 1;
    long lastRow = 1;
    long lastColumn = 1;

    long Rows() const noexcept { return lastRow - firstRow + 1; }
    long Columns() const noexcept { return lastColumn - firstColumn + 1; }
};

/// Parses "A1", "$B$2", "a1:c3" (either corner first); std::nullopt for anything else or a
/// cell outside the worksheet.
std::optional<Area> ParseAddress(std::string_view text);

/// Column letters of a 1-based column ("A", "AA", "XFD").
std::string ColumnName(long column);

/// "A1" for one cell.
std::string CellName(long row, long column);

} // namespace platform::excel::detail
