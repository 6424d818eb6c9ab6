#include "platform/excel/Range.h"

#include "platform/excel/Font.h"
#include "platform/excel/Worksheet.h"
#include "platform/excel/detail/Address.h"
#include "platform/excel/detail/Raise.h"
#include "platform/excel/detail/Sheet.h"
#include "platform/runtime/Utf8.h"

#include <cmath>
#include <vector>

namespace platform::excel {
namespace rt = platform::runtime;
namespace {

constexpr std::size_t kMaxCellText = 32767;
constexpr double kDefaultWidth = 8.43;

std::size_t Utf16Length(std::string_view text)
{
    std::size_t n = 0;
    for (char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if ((b & 0xC0) != 0x80) {
            n += b >= 0xF0 ? 2 : 1;
        }
    }
    return n;
}

// Raises the error a value would give in a cell, so that a bad element is found before any
// cell changes.
void CheckCell(const rt::Variant& value)
{
    const auto& v = value.Value();
    if (const auto* s = std::get_if<std::string>(&v)) {
        // A text has at most as many UTF-16 units as bytes, also after bytes that are no
        // UTF-8 become U+FFFD; only a longer one needs counting.
        if (s->size() > kMaxCellText) {
            std::string text = *s;
            rt::MakeValidUtf8(text);
            if (Utf16Length(text) > kMaxCellText) {
                detail::Raise(detail::kMethodFailed,
                              detail::Say("a cell holds at most 32,767 characters; nothing was "
                                          "written",
                                          "Eine Zelle fasst höchstens 32.767 Zeichen; es wurde "
                                          "nichts geschrieben"));
            }
        }
    } else if (value.IsNumber()) {
        double number = 0;
        if (const auto* c = std::get_if<rt::Currency>(&v)) {
            number = c->ToDouble();
        } else {
            std::visit(
                [&](const auto& x) {
                    if constexpr (std::is_arithmetic_v<std::decay_t<decltype(x)>>) {
                        number = static_cast<double>(x);
                    }
                },
                v);
        }
        if (!std::isfinite(number)) {
            detail::Raise(detail::kMethodFailed,
                          detail::Say("a cell value is not a finite number",
                                      "Ein Zellwert ist keine endliche Zahl"));
        }
    } else if (!value.IsEmpty() && !value.IsNull() && !value.IsDate() &&
               !std::holds_alternative<bool>(v)) {
        detail::Raise(13, detail::Say("a cell takes numbers, dates, Booleans and texts only, not ",
                                      "Eine Zelle nimmt nur Zahlen, Datumswerte, Wahrheitswerte "
                                      "und Texte auf, nicht ") +
                              value.TypeName());
    }
}

// Puts a checked value into a cell; its bold stays. A text goes into the cell's own string,
// whose room is reused.
void FillCell(detail::Sheet& sheet, detail::Cell& cell, const rt::Variant& value)
{
    cell.written = true;
    cell.kind = detail::Cell::Kind::Empty;
    cell.number = 0;
    const auto& v = value.Value();
    if (const auto* s = std::get_if<std::string>(&v)) {
        cell.text = {};
        if (s->empty()) {
            return; // an empty text leaves the cell empty, as typing nothing does
        }
        // Bytes that are no UTF-8 become U+FFFD here, so that no writer makes a file that
        // readers refuse or loses the characters after them.
        if (rt::IsValidUtf8(*s)) {
            cell.text = sheet.StoreText(*s);
        } else {
            std::string repaired = *s;
            rt::MakeValidUtf8(repaired);
            cell.text = sheet.StoreText(repaired);
        }
        cell.kind = detail::Cell::Kind::Text;
        return;
    }
    cell.text = {};
    if (const auto* b = std::get_if<bool>(&v)) {
        cell.kind = detail::Cell::Kind::Boolean;
        cell.number = *b ? 1 : 0;
    } else if (const auto* d = std::get_if<rt::Date>(&v)) {
        cell.kind = detail::Cell::Kind::Date;
        cell.number = d->Serial();
    } else if (const auto* c = std::get_if<rt::Currency>(&v)) {
        cell.kind = detail::Cell::Kind::Number;
        cell.number = c->ToDouble();
    } else if (value.IsNumber()) {
        cell.kind = detail::Cell::Kind::Number;
        std::visit(
            [&](const auto& x) {
                if constexpr (std::is_arithmetic_v<std::decay_t<decltype(x)>>) {
                    cell.number = static_cast<double>(x);
                }
            },
            v);
    }
}

rt::Variant FromCell(const detail::Cell* cell)
{
    if (cell == nullptr) {
        return {};
    }
    switch (cell->kind) {
    case detail::Cell::Kind::Number:
        return cell->number;
    case detail::Cell::Kind::Text:
        return std::string(cell->text);
    case detail::Cell::Kind::Boolean:
        return cell->number != 0;
    case detail::Cell::Kind::Date:
        return rt::Date(cell->number);
    case detail::Cell::Kind::Empty:
        break;
    }
    return {};
}

void RequireOwnFormatting(const Worksheet& sheet)
{
    if (sheet.FromTemplate()) {
        detail::Raise(detail::kNotSupported,
                      detail::Say("a template's formatting cannot be changed",
                                  "Die Formatierung einer Vorlage kann nicht geändert werden"));
    }
}

} // namespace

Range::Range(std::shared_ptr<excel::Worksheet> sheet, long firstRow, long firstColumn, long lastRow,
             long lastColumn, bool entireColumns)
    : sheet_(std::move(sheet)), firstRow_(firstRow), firstColumn_(firstColumn), lastRow_(lastRow),
      lastColumn_(lastColumn), entireColumns_(entireColumns)
{
}

std::string Range::Address() const
{
    if (entireColumns_) {
        return "$" + detail::ColumnName(firstColumn_) + ":$" + detail::ColumnName(lastColumn_);
    }
    const auto cell = [](long row, long column) {
        return "$" + detail::ColumnName(column) + "$" + std::to_string(row);
    };
    std::string address = cell(firstRow_, firstColumn_);
    if (lastRow_ != firstRow_ || lastColumn_ != firstColumn_) {
        address += ":" + cell(lastRow_, lastColumn_);
    }
    return address;
}

std::shared_ptr<Range> Range::Offset(long rows, long columns) const
{
    const long r1 = firstRow_ + (entireColumns_ ? 0 : rows);
    const long c1 = firstColumn_ + columns;
    const long r2 = lastRow_ + (entireColumns_ ? 0 : rows);
    const long c2 = lastColumn_ + columns;
    if (r1 < 1 || c1 < 1 || r2 > detail::kMaxRows || c2 > detail::kMaxColumns) {
        detail::Raise(detail::kMethodFailed,
                      detail::Say("the offset range lies outside the worksheet",
                                  "Der verschobene Bereich liegt außerhalb des Arbeitsblatts"));
    }
    return std::make_shared<Range>(sheet_, r1, c1, r2, c2, entireColumns_);
}

std::shared_ptr<Range> Range::Resize(long rows, long columns) const
{
    if (rows < 1 || columns < 1 || firstRow_ + rows - 1 > detail::kMaxRows ||
        firstColumn_ + columns - 1 > detail::kMaxColumns) {
        detail::Raise(detail::kMethodFailed,
                      detail::Say("the resized range lies outside the worksheet",
                                  "Der Bereich in neuer Größe liegt außerhalb des Arbeitsblatts"));
    }
    return std::make_shared<Range>(sheet_, firstRow_, firstColumn_, firstRow_ + rows - 1,
                                   firstColumn_ + columns - 1);
}

std::shared_ptr<Range> Range::EntireColumn() const
{
    return std::make_shared<Range>(sheet_, 1, firstColumn_, detail::kMaxRows, lastColumn_, true);
}

rt::Variant Range::Value() const
{
    const detail::Sheet& sheet = *sheet_->Contents();
    const long lastRow = entireColumns_ ? std::max(1L, sheet.LastRow()) : lastRow_;
    if (firstRow_ == lastRow && firstColumn_ == lastColumn_) {
        return FromCell(sheet.Find(firstRow_, firstColumn_));
    }
    rt::Array values(rt::VarType::Variant, {{1, static_cast<std::int32_t>(lastRow - firstRow_ + 1)},
                                            {1, static_cast<std::int32_t>(ColumnCount())}});
    for (long row = firstRow_; row <= lastRow; ++row) {
        for (long column = firstColumn_; column <= lastColumn_; ++column) {
            values(static_cast<std::int32_t>(row - firstRow_ + 1),
                   static_cast<std::int32_t>(column - firstColumn_ + 1)) =
                FromCell(sheet.Find(row, column));
        }
    }
    return values;
}

void Range::SetValue(const rt::Variant& value)
{
    if (value.IsArray()) {
        SetValue(value.AsArray());
        return;
    }
    if (entireColumns_) {
        detail::Raise(detail::kNotSupported,
                      detail::Say("whole columns cannot be filled with one value",
                                  "Ganze Spalten können nicht mit einem Wert gefüllt werden"));
    }
    CheckCell(value);
    detail::Sheet& sheet = *sheet_->Contents();
    sheet.Reserve(firstRow_, lastRow_, lastColumn_);
    for (long row = firstRow_; row <= lastRow_; ++row) {
        for (long column = firstColumn_; column <= lastColumn_; ++column) {
            FillCell(sheet, sheet.At(row, column), value);
        }
    }
}

void Range::SetValue(const rt::Array& array)
{
    detail::Sheet& sheet = *sheet_->Contents();
    const bool twoD = array.Dimensions() == 2;
    const long arrayRows = twoD ? array.UBound(1) - array.LBound(1) + 1 : 1;
    const long arrayColumns =
        twoD ? array.UBound(2) - array.LBound(2) + 1 : array.UBound(1) - array.LBound(1) + 1;
    const long rows = std::min(arrayRows, lastRow_ - firstRow_ + 1);
    const long columns = std::min(arrayColumns, ColumnCount());
    const auto element = [&](long r, long c) -> const rt::Variant& {
        return twoD ? array(static_cast<std::int32_t>(array.LBound(1) + r),
                            static_cast<std::int32_t>(array.LBound(2) + c))
                    : array(static_cast<std::int32_t>(array.LBound(1) + c));
    };
    // Checked first, so that a bad element leaves the worksheet as it was; then each value
    // goes straight from the caller's array into its cell.
    for (long r = 0; r < rows; ++r) {
        for (long c = 0; c < columns; ++c) {
            CheckCell(element(r, c));
        }
    }
    if (rows <= 0 || columns <= 0) {
        return;
    }
    sheet.Reserve(firstRow_, firstRow_ + rows - 1, firstColumn_ + columns - 1);
    for (long r = 0; r < rows; ++r) {
        for (long c = 0; c < columns; ++c) {
            FillCell(sheet, sheet.At(firstRow_ + r, firstColumn_ + c), element(r, c));
        }
    }
}

std::shared_ptr<excel::Font> Range::Font() const
{
    return std::make_shared<excel::Font>(shared_from_this());
}

double Range::ColumnWidth() const
{
    const auto& columns = sheet_->Contents()->Columns();
    const auto it = columns.find(firstColumn_);
    return it != columns.end() && it->second.width ? *it->second.width : kDefaultWidth;
}

void Range::SetColumnWidth(double width)
{
    RequireOwnFormatting(*sheet_);
    if (!(width >= 0 && width <= 255)) {
        detail::Raise(detail::kMethodFailed,
                      detail::Say("a column width lies between 0 and 255",
                                  "Eine Spaltenbreite liegt zwischen 0 und 255"));
    }
    for (long column = firstColumn_; column <= lastColumn_; ++column) {
        sheet_->Contents()->Columns()[column].width = width;
    }
}

void Range::AutoFit()
{
    RequireOwnFormatting(*sheet_);
    if (!entireColumns_) {
        detail::Raise(detail::kMethodFailed,
                      detail::Say("only whole columns can be fitted",
                                  "Nur ganze Spalten können angepasst werden"));
    }
    detail::Sheet& sheet = *sheet_->Contents();
    for (long column = firstColumn_; column <= lastColumn_; ++column) {
        if (const auto width = detail::EstimateColumnWidth(sheet, column)) {
            sheet.Columns()[column].width = *width;
        }
    }
}

} // namespace platform::excel
