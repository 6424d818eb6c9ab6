#include "platform/excel/detail/Sheet.h"

#include "platform/runtime/Conversion.h"
#include "platform/runtime/Date.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace platform::excel::detail {
namespace {

// The longest line of a text in characters (UTF-8 lead bytes).
std::size_t LongestLine(std::string_view text)
{
    std::size_t longest = 0;
    std::size_t current = 0;
    for (char c : text) {
        if (c == '\n') {
            longest = std::max(longest, current);
            current = 0;
        } else if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
            ++current;
        }
    }
    return std::max(longest, current);
}

} // namespace

Cell& Sheet::At(long row, long column)
{
    if (static_cast<long>(rows_.size()) < row) {
        rows_.resize(static_cast<std::size_t>(row));
    }
    auto& cells = rows_[static_cast<std::size_t>(row - 1)];
    if (static_cast<long>(cells.size()) < column) {
        cells.resize(static_cast<std::size_t>(column));
    }
    lastColumn_ = std::max(lastColumn_, column);
    return cells[static_cast<std::size_t>(column - 1)];
}

void Sheet::Reserve(long firstRow, long lastRow, long lastColumn)
{
    if (static_cast<long>(rows_.size()) < lastRow) {
        rows_.resize(static_cast<std::size_t>(lastRow));
    }
    for (long row = std::max(firstRow, 1L) - 1; row < lastRow; ++row) {
        auto& cells = rows_[static_cast<std::size_t>(row)];
        cells.reserve(static_cast<std::size_t>(lastColumn));
    }
}

std::string_view Sheet::StoreText(std::string_view text)
{
    // Below the size at which the allocator maps fresh pages for every block.
    constexpr std::size_t kBlockSize = 64 * 1024;
    const std::size_t needed = text.size() + 1;
    if (textBlocks_.empty() || textSize_ - textUsed_ < needed) {
        textSize_ = std::max(kBlockSize, needed);
        textBlocks_.push_back(std::make_unique_for_overwrite<char[]>(textSize_));
        textUsed_ = 0;
    }
    char* start = textBlocks_.back().get() + textUsed_;
    std::copy(text.begin(), text.end(), start);
    start[text.size()] = '\0';
    textUsed_ += needed;
    return {start, text.size()};
}

const Cell* Sheet::Find(long row, long column) const
{
    if (row < 1 || row > LastRow()) {
        return nullptr;
    }
    const auto& cells = rows_[static_cast<std::size_t>(row - 1)];
    if (column < 1 || column > static_cast<long>(cells.size())) {
        return nullptr;
    }
    return &cells[static_cast<std::size_t>(column - 1)];
}

bool Sheet::IsBold(long /*row*/, long column, const Cell& cell) const
{
    if (cell.bold) {
        return true;
    }
    const auto it = columns_.find(column);
    return it != columns_.end() && it->second.bold;
}

WorkbookDate ToWorkbookDate(double runtimeSerial) noexcept
{
    // Runtime day 61 is 1 March 1900, the workbook's day 61 as well.
    constexpr double kFirstSharedDay = 61;
    if (runtimeSerial >= 0 && runtimeSerial < 1) {
        return {WorkbookDate::Form::Time, runtimeSerial};
    }
    if (runtimeSerial < 2) {
        return {WorkbookDate::Form::Text, 0}; // before 1 January 1900
    }
    const bool time = runtimeSerial != std::floor(runtimeSerial);
    const double serial = runtimeSerial < kFirstSharedDay ? runtimeSerial - 1 : runtimeSerial;
    return {time ? WorkbookDate::Form::DateTime : WorkbookDate::Form::Date, serial};
}

std::string DateText(double runtimeSerial)
{
    return platform::runtime::CStr(
        platform::runtime::Variant(platform::runtime::Date(runtimeSerial)));
}

std::size_t DisplayLength(const Cell& cell)
{
    switch (cell.kind) {
    case Cell::Kind::Text:
        return LongestLine(cell.text);
    case Cell::Kind::Boolean:
        return cell.number != 0 ? 4 : 5;
    case Cell::Kind::Date: {
        const bool hasTime = cell.number != std::floor(cell.number);
        if (std::fabs(cell.number) < 1 && hasTime) {
            return 8; // hh:mm:ss
        }
        return hasTime ? 16 : 10;
    }
    case Cell::Kind::Number: {
        // The general format shows at most 11 characters.
        char buffer[32];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, cell.number,
                                          std::chars_format::general, 10);
        return std::min<std::size_t>(static_cast<std::size_t>(result.ptr - buffer), 11);
    }
    case Cell::Kind::Empty:
        break;
    }
    return 0;
}

std::optional<double> EstimateColumnWidth(const Sheet& sheet, long column)
{
    double widest = -1;
    for (long row = 1; row <= sheet.LastRow(); ++row) {
        const Cell* cell = sheet.Find(row, column);
        if (cell == nullptr || cell->kind == Cell::Kind::Empty) {
            continue;
        }
        // Bold glyphs run about a tenth wider; one character of padding as the program adds.
        const double factor = sheet.IsBold(row, column, *cell) ? 1.1 : 1.0;
        widest = std::max(widest, static_cast<double>(DisplayLength(*cell)) * factor + 1.0);
    }
    if (widest < 0) {
        return std::nullopt;
    }
    return std::min(255.0, std::round(widest * 100) / 100);
}

} // namespace platform::excel::detail
