#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::excel::detail {

/// One cell: its value and whether it was set in bold.
struct Cell
{
    enum class Kind : std::uint8_t
    {
        Empty,
        Number,
        Text,
        Boolean,
        Date
    };

    Kind kind = Kind::Empty;
    bool bold = false;
    bool written = false; ///< a value was assigned (an empty one clears a template's cell)
    double number = 0;    ///< number, day serial of a date, 1/0 of a Boolean
    /// A text kept by the sheet (Sheet::StoreText), followed by a NUL in memory.
    std::string_view text;
};

/// Width and bold font of a whole column.
struct ColumnInfo
{
    std::optional<double> width; ///< in characters of the standard font; unset: default
    bool bold = false;
};

/// The three parts of a page header or footer, each with the spreadsheet's own codes.
struct HeaderFooterParts
{
    std::string left;
    std::string center;
    std::string right;
};

/// The contents of one worksheet as the writers need them.
class Sheet
{
public:
    explicit Sheet(std::string name) : name_(std::move(name)) {}

    const std::string& Name() const noexcept { return name_; }

    /// The cell at (row, column), 1-based, created when absent.
    Cell& At(long row, long column);
    /// Makes room for cells up to lastColumn in the rows firstRow..lastRow, so that
    /// filling a block costs no growth step per cell.
    void Reserve(long firstRow, long lastRow, long lastColumn);
    /// The cell at (row, column) or nullptr.
    const Cell* Find(long row, long column) const;

    /// Highest row holding any cell; 0 for an empty sheet.
    long LastRow() const noexcept { return static_cast<long>(rows_.size()); }
    /// Highest column holding any cell; 0 for an empty sheet.
    long LastColumn() const noexcept { return lastColumn_; }
    /// The cells of a row (index = column - 1), possibly shorter than LastColumn().
    const std::vector<Cell>& Row(long row) const
    {
        return rows_[static_cast<std::size_t>(row - 1)];
    }

    /// A copy of `text` that lives as long as the sheet, followed by a NUL in memory. Texts
    /// are kept in large blocks: a cell's text costs no allocation of its own.
    std::string_view StoreText(std::string_view text);

    /// Whether a cell shows bold (its own font or its column's).
    bool IsBold(long row, long column, const Cell& cell) const;

    std::map<long, ColumnInfo>& Columns() noexcept { return columns_; }
    const std::map<long, ColumnInfo>& Columns() const noexcept { return columns_; }

    HeaderFooterParts header;
    HeaderFooterParts footer;

private:
    std::string name_;
    std::vector<std::vector<Cell>> rows_;
    long lastColumn_ = 0;
    std::map<long, ColumnInfo> columns_;
    std::vector<std::unique_ptr<char[]>> textBlocks_;
    std::size_t textUsed_ = 0; ///< bytes used in the last block
    std::size_t textSize_ = 0; ///< size of the last block
};

/// How a date cell (a runtime day serial, 0 = 30 December 1899) is stored in a workbook of
/// the 1900 date system, whose day 1 is 1 January 1900 and which counts a 29 February 1900
/// that never was (day 60): from 1 March 1900 on the two counts agree, before it the
/// workbook's is one less. A time of day alone (a serial below one day) stays a time; a date
/// before 1 January 1900 has no workbook day and goes in as its text.
struct WorkbookDate
{
    enum class Form : std::uint8_t
    {
        Date,     ///< a whole day
        DateTime, ///< a day with a time of day
        Time,     ///< a time of day (or duration) below one day
        Text      ///< no workbook day: DateText
    };
    Form form = Form::Date;
    double serial = 0; ///< the workbook's day count (not for Text)
};

/// The workbook form of a runtime day serial.
WorkbookDate ToWorkbookDate(double runtimeSerial) noexcept;

/// The text of a date the workbook cannot count: the runtime's own text of the date.
std::string DateText(double runtimeSerial);

/// Estimated width in characters that shows every value of `column` whole.
std::optional<double> EstimateColumnWidth(const Sheet& sheet, long column);

/// The number of characters the spreadsheet shows for a cell in the general format.
std::size_t DisplayLength(const Cell& cell);

} // namespace platform::excel::detail
