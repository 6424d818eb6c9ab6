#pragma once

#include "platform/runtime/Object.h"
#include "platform/runtime/Variant.h"

#include <memory>
#include <string>

namespace platform::excel {

class Font;
class Worksheet;

/// A rectangle of cells of one worksheet, or whole columns.
class Range : public platform::runtime::Object, public std::enable_shared_from_this<Range>
{
public:
    /// Made by the worksheet; rows and columns 1-based and inclusive.
    Range(std::shared_ptr<excel::Worksheet> sheet, long firstRow, long firstColumn, long lastRow,
          long lastColumn, bool entireColumns = false);

    std::string TypeName() const override { return "Range"; }

    /// First row (1-based).
    long Row() const noexcept { return firstRow_; }
    /// First column (1-based).
    long Column() const noexcept { return firstColumn_; }
    /// Number of rows.
    long RowCount() const noexcept { return lastRow_ - firstRow_ + 1; }
    /// Number of columns.
    long ColumnCount() const noexcept { return lastColumn_ - firstColumn_ + 1; }
    /// The absolute address, "$A$1" or "$A$1:$C$3" ("$A:$B" for whole columns).
    std::string Address() const;
    /// The worksheet.
    const std::shared_ptr<excel::Worksheet>& Worksheet() const noexcept { return sheet_; }

    /// The range moved by rows and columns (same size). Raises 1004 when it leaves the
    /// worksheet.
    std::shared_ptr<Range> Offset(long rows, long columns) const;
    /// The range with the same first cell and the given size. Raises 1004 when it leaves the
    /// worksheet or a size is below 1.
    std::shared_ptr<Range> Resize(long rows, long columns) const;
    /// The whole columns of this range.
    std::shared_ptr<Range> EntireColumn() const;

    /// The value of a single cell, or a 2-D array (1-based) of the values of a larger range.
    /// Empty cells give Empty, dates Date, numbers Double, Booleans Boolean, texts String.
    platform::runtime::Variant Value() const;
    /// Assigns values in one step. A 2-D array fills the range from its first cell (rows of
    /// the first dimension, columns of the second, whatever the lower bounds); cells of the
    /// range beyond the array are left as they were, array elements beyond the range are not
    /// written. A 1-D array fills one row; a single value fills every cell.
    /// Elements: Empty, Null and the empty text clear, numbers, Currency and Byte become numbers,
    /// Date a date (shown with a date format), Boolean a Boolean, String a text (at most 32,767
    /// characters). Raises 13 for objects, nested arrays and error values, 1004 for a longer
    /// text or a number that is not finite; nothing is written then.
    void SetValue(const platform::runtime::Variant& value);
    /// Assigns an array as SetValue does, reading the caller's array in place.
    void SetValue(const platform::runtime::Array& values);

    /// The font of the range.
    std::shared_ptr<excel::Font> Font() const;

    /// Width of the first column in characters of the standard font (8.43 when never set).
    double ColumnWidth() const;
    /// Sets the width of every column of the range; 0..255, else 1004. Raises 438 on a
    /// template's sheet.
    void SetColumnWidth(double width);
    /// Fits the width of each column of the range to its contents (estimated from the
    /// texts); a column without values keeps its width. Only whole columns can be fitted
    /// (1004 otherwise); 438 on a template's sheet.
    void AutoFit();

private:
    friend class Font;
    std::shared_ptr<excel::Worksheet> sheet_;
    long firstRow_;
    long firstColumn_;
    long lastRow_;
    long lastColumn_;
    bool entireColumns_;
};

} // namespace platform::excel
