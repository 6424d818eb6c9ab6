#include "platform/forms/detail/GridModel.h"

#include "platform/forms/Driver.h"
#include "platform/forms/detail/CellValues.h"
#include "platform/runtime/Error.h"

#include <algorithm>
#include <stdexcept>

namespace platform::forms::detail {
namespace {
constexpr std::int32_t kInvalidIndex = 381; // "Invalid property array index"
constexpr const char* kSource = "FlexGrid";
} // namespace

void RaiseBadIndex(const std::string& description)
{
    platform::runtime::Raise(kInvalidIndex, kSource, description);
}

void RaiseBadValue(const std::string& description)
{
    platform::runtime::Raise(platform::runtime::errors::InvalidPropertyValue, kSource, description);
}

void RaiseNotSupported(const std::string& description)
{
    platform::runtime::Raise(platform::runtime::errors::ActionNotSupported, kSource,
                             description + " is not supported");
}

void CellFormats::resize(std::size_t count)
{
    if (count == 0) {
        m_formats.reset();
        return;
    }
    if (!m_formats) {
        m_formats = std::make_unique<std::vector<CellFormat>>();
    }
    m_formats->resize(count);
}

const CellFormat* GridRow::Format(int col) const
{
    return size_t(col) < formats.size() ? &formats[size_t(col)] : nullptr;
}

CellFormat& GridRow::FormatFor(int col)
{
    if (size_t(col) >= formats.size()) {
        formats.resize(size_t(col) + 1);
    }
    return formats[size_t(col)];
}

void GridRow::SetCols(int cols)
{
    cells.Truncate(cols);
    if (formats.size() > size_t(cols)) {
        formats.resize(size_t(cols));
    }
}

} // namespace platform::forms::detail

namespace platform::forms {

detail::GridRow FlexGrid::Impl::NewRow() const
{
    // A row takes its block of texts from the grid's pool when its first cell is written.
    detail::GridRow row;
    row.cells = detail::RowTexts(&blocks);
    return row;
}

void FlexGrid::Impl::ResizeRows(size_t count)
{
    if (count <= rows.size()) {
        if (count <= kFewRows && rows.size() - count >= kManyRows && !blocks.Closed()) {
            DropAlmostAllRows(count);
            return;
        }
        rows.erase(rows.begin() + std::ptrdiff_t(count), rows.end());
        return;
    }
    // Room beyond the count, so that the subtotal rows of a filled grid fit without moving
    // every row to a larger table (two row tables at once at the peak). A large table is
    // mapped memory that costs nothing until touched: it takes room for as many subtotal rows
    // as data rows (three levels of small groups come close).
    const bool large = count * sizeof(detail::GridRow) >= detail::kLargeTableBytes;
    rows.reserve(large ? count * 2 + 16 : count + count / 32 + 16);
    while (rows.size() < count) {
        rows.push_back(NewRow());
    }
}

void FlexGrid::Impl::DropAlmostAllRows(size_t count)
{
    // A report filled again first drops every row. Given back one by one, in the order the
    // last sort left them, the rows' blocks would each be touched once more, and the next
    // rows would take them in that scattered order; instead the few rows kept move to the
    // heap and the pool starts again at its first chunk.
    std::vector<detail::GridRow> kept(rows.begin(), rows.begin() + std::ptrdiff_t(count));
    blocks.Close();
    rows.clear();
    blocks.Reopen();
    for (auto& row : kept) {
        rows.push_back(std::move(row));
    }
}

void FlexGrid::Impl::RaiseNoRow(int r) const
{
    detail::RaiseBadIndex("Grid row " + std::to_string(r) + " does not exist (" +
                          std::to_string(RowCount()) + " rows)");
}

void FlexGrid::Impl::RaiseNoCol(int c) const
{
    detail::RaiseBadIndex("Grid column " + std::to_string(c) + " does not exist (" +
                          std::to_string(ColCount()) + " columns)");
}

bool FlexGrid::Impl::HiddenByOutline(int r) const
{
    if (!outlineValid) {
        // One pass with a stack of the open nodes: a row is hidden when a node above it is
        // collapsed, or it is a data row under a node that shows its totals only.
        outlineHidden.assign(rows.size(), false);
        struct Open
        {
            int level;
            OutlineState state;
            bool hidden;
        };
        std::vector<Open> open;
        for (size_t i = 0; i < rows.size(); ++i) {
            const auto& row = rows[i];
            if (int(i) < fixedRows) {
                continue;
            }
            if (row.node) {
                while (!open.empty() && open.back().level >= row.outlineLevel) {
                    open.pop_back();
                }
            }
            bool hidden = false;
            for (const Open& o : open) {
                hidden = hidden || o.state == OutlineState::Collapsed ||
                         (!row.node && o.state == OutlineState::Subtotals);
            }
            outlineHidden[i] = hidden;
            if (row.node) {
                open.push_back({row.outlineLevel, row.state, hidden});
            }
        }
        outlineValid = true;
    }
    return outlineHidden[size_t(r)];
}

bool FlexGrid::Impl::Visible(int r) const
{
    return rows[size_t(r)].height != 0 && !HiddenByOutline(r);
}

int FlexGrid::Impl::HeightOf(int r) const
{
    const int h = rows[size_t(r)].height;
    return h < 0 ? detail::kDefaultRowHeight : h;
}

int FlexGrid::Impl::WidthOf(int c) const
{
    const auto& column = cols[size_t(c)];
    if (column.hidden) {
        return 0;
    }
    return column.width < 0 ? detail::kDefaultColWidth : column.width;
}

int FlexGrid::Impl::TextWidth(std::string_view text) const
{
    // Headless: an average character is about 1.25 points wide per point of font size, in
    // twips; plus the cell's padding.
    return int(detail::CharCount(text) * fontSize * 12.5) + 120;
}

int FlexGrid::Impl::CellWidth(int r, int c) const
{
    const detail::GridRow& row = rows[size_t(r)];
    const detail::CellFormat* format = row.Format(c);
    const CellText cell{row.Text(c),
                        fontSize,
                        row.node || (format && format->bold),
                        r < fixedRows,
                        format && format->check != CheckState::None,
                        row.node && c == outlineCol ? row.outlineLevel : -1};
    if (const auto& measure = Driver::current().GetTextMeasure()) {
        return measure(cell);
    }
    // A node's caption stands right of its outline box, indented by its level.
    const int indent = cell.outlineLevel >= 0 ? (cell.outlineLevel + 1) * detail::kOutlineIndent : 0;
    return TextWidth(cell.text) + (cell.checkBox ? detail::kCheckBoxWidth : 0) + indent;
}

void FlexGrid::Impl::InsertRows(std::vector<std::pair<int, detail::GridRow>> inserts)
{
    if (inserts.empty()) {
        return;
    }
    // Merged in place from the back, so that the rows are not copied into a second table.
    const size_t oldCount = rows.size();
    rows.resize(oldCount + inserts.size());
    size_t write = rows.size();
    size_t pending = inserts.size();
    for (size_t r = oldCount; pending > 0 && r-- > 0;) {
        rows[--write] = std::move(rows[r]);
        while (pending > 0 && inserts[pending - 1].first == int(r)) {
            rows[--write] = std::move(inserts[--pending].second);
        }
    }
}

void FlexGrid::Impl::ClampCursor()
{
    auto clamp = [](int v, int count) { return std::clamp(v, 0, std::max(count - 1, 0)); };
    row = clamp(row, RowCount());
    rowSel = clamp(rowSel, RowCount());
    col = clamp(col, ColCount());
    colSel = clamp(colSel, ColCount());
    topRow = std::max(fixedRows, clamp(topRow, RowCount()));
}

} // namespace platform::forms
