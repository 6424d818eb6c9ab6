#include "platform/forms/FlexGrid.h"

#include "platform/forms/detail/CellValues.h"
#include "platform/forms/detail/GridModel.h"

#include <algorithm>
#include <stdexcept>

namespace platform::forms {

FlexGrid::FlexGrid() : m_impl(std::make_unique<Impl>())
{
    m_impl->ResizeRows(2);
    m_impl->cols.resize(2);
}

FlexGrid::~FlexGrid()
{
    Notify(GridChange::Destroyed);
}

void FlexGrid::Notify(GridChange change) const
{
    switch (change) {
    case GridChange::Rows:
    case GridChange::Columns:
    case GridChange::Cells:
        m_impl->DropFolded();
        break;
    default:
        break;
    }
    if (!m_observer)
        return;
    if (change == GridChange::Redraw || change == GridChange::Destroyed || m_impl->redraw) {
        m_toldWhileOff = 0;
    } else {
        const std::uint32_t kind = 1u << unsigned(change);
        if (m_toldWhileOff & kind)
            return;
        m_toldWhileOff |= kind;
    }
    m_observer(change);
}

// --- Appearance and window ------------------------------------------------------------------

double FlexGrid::FontSize() const
{
    return m_impl->fontSize;
}

void FlexGrid::SetFontSize(double points)
{
    if (points <= 0) {
        detail::RaiseBadValue("A font size must be above 0");
    }
    m_impl->fontSize = points;
    Notify(GridChange::Columns);
}

std::int64_t FlexGrid::Hwnd() const
{
    return m_impl->hwnd;
}

void FlexGrid::SetHwnd(std::int64_t handle)
{
    m_impl->hwnd = handle;
}

void FlexGrid::SetFocus()
{
    if (!m_impl->focus) {
        m_impl->focus = true;
        if (Events.GotFocus) {
            Events.GotFocus();
        }
    }
}

void FlexGrid::KillFocus()
{
    if (m_impl->focus) {
        m_impl->focus = false;
        if (Events.LostFocus) {
            Events.LostFocus();
        }
    }
}

bool FlexGrid::HasFocus() const
{
    return m_impl->focus;
}

bool FlexGrid::Redraw() const
{
    return m_impl->redraw;
}

void FlexGrid::SetRedraw(bool redraw)
{
    m_impl->redraw = redraw;
    Notify(GridChange::Redraw);
}

void FlexGrid::SetClientSize(int widthTwips, int heightTwips)
{
    const int width = std::max(widthTwips, 0), height = std::max(heightTwips, 0);
    if (width == m_impl->clientWidth && height == m_impl->clientHeight)
        return;
    m_impl->clientWidth = width;
    m_impl->clientHeight = height;
    if (Events.ClientResize) {
        Events.ClientResize();
    }
}

int FlexGrid::ClientWidth() const
{
    return m_impl->clientWidth;
}

int FlexGrid::ClientHeight() const
{
    return m_impl->clientHeight;
}

// --- Shape ----------------------------------------------------------------------------------

int FlexGrid::Rows() const
{
    return m_impl->RowCount();
}

void FlexGrid::SetRows(int rows)
{
    if (rows < 0) {
        detail::RaiseBadValue("A grid cannot have fewer than 0 rows");
    }
    m_impl->ResizeRows(size_t(rows));
    m_impl->fixedRows = std::min(m_impl->fixedRows, rows);
    m_impl->Invalidate();
    m_impl->ClampCursor();
    Notify(GridChange::Rows);
}

int FlexGrid::Cols() const
{
    return m_impl->ColCount();
}

void FlexGrid::SetCols(int cols)
{
    if (cols < 0) {
        detail::RaiseBadValue("A grid cannot have fewer than 0 columns");
    }
    if (cols < m_impl->ColCount()) {
        for (auto& row : m_impl->rows) {
            row.SetCols(cols);
        }
    }
    m_impl->cols.resize(size_t(cols));
    m_impl->fixedCols = std::min(m_impl->fixedCols, cols);
    m_impl->ClampCursor();
    Notify(GridChange::Columns);
}

int FlexGrid::FixedRows() const
{
    return m_impl->fixedRows;
}

void FlexGrid::SetFixedRows(int rows)
{
    if (rows < 0 || rows > m_impl->RowCount()) {
        detail::RaiseBadIndex("The fixed rows must lie inside the grid");
    }
    m_impl->fixedRows = rows;
    m_impl->Invalidate();
    m_impl->ClampCursor();
    Notify(GridChange::Rows);
}

int FlexGrid::FixedCols() const
{
    return m_impl->fixedCols;
}

void FlexGrid::SetFixedCols(int cols)
{
    if (cols < 0 || cols > m_impl->ColCount()) {
        detail::RaiseBadIndex("The fixed columns must lie inside the grid");
    }
    m_impl->fixedCols = cols;
    Notify(GridChange::Columns);
}

int FlexGrid::AddItem(const std::string& text, std::optional<int> index)
{
    const NotifyOnExit notify(*this, GridChange::Rows);
    const int at = index.value_or(m_impl->RowCount());
    if (at < 0 || at > m_impl->RowCount()) {
        detail::RaiseBadIndex("A row cannot be inserted at " + std::to_string(at));
    }
    detail::GridRow row = m_impl->NewRow();
    size_t start = 0;
    for (int c = 0; c < m_impl->ColCount(); ++c) {
        const size_t tab = text.find('\t', start);
        row.SetText(c,
                    text.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos) {
            break;
        }
        start = tab + 1;
    }
    m_impl->rows.insert(m_impl->rows.begin() + at, std::move(row));
    // The cursor stays on the row it was on.
    for (int* r : {&m_impl->row, &m_impl->rowSel}) {
        if (*r >= at) {
            ++*r;
        }
    }
    m_impl->Invalidate();
    m_impl->ClampCursor();
    return at;
}

void FlexGrid::RemoveItem(int index)
{
    m_impl->CheckRow(index);
    m_impl->rows.erase(m_impl->rows.begin() + index);
    for (int* r : {&m_impl->row, &m_impl->rowSel}) {
        if (*r > index) {
            --*r;
        }
    }
    m_impl->fixedRows = std::min(m_impl->fixedRows, m_impl->RowCount());
    m_impl->Invalidate();
    m_impl->ClampCursor();
    Notify(GridChange::Rows);
}

void FlexGrid::Clear()
{
    SetRows(m_impl->fixedRows);
    Notify(GridChange::Rows);
}

// --- Columns --------------------------------------------------------------------------------

std::string FlexGrid::ColKey(int col) const
{
    m_impl->CheckCol(col);
    return m_impl->cols[size_t(col)].key;
}

void FlexGrid::SetColKey(int col, const std::string& key)
{
    m_impl->CheckCol(col);
    m_impl->cols[size_t(col)].key = key;
}

int FlexGrid::ColIndex(const std::string& key) const
{
    for (int c = 0; c < m_impl->ColCount(); ++c) {
        if (m_impl->cols[size_t(c)].key == key) {
            return c;
        }
    }
    return -1;
}

std::shared_ptr<platform::runtime::Object> FlexGrid::ColData(int col) const
{
    m_impl->CheckCol(col);
    return m_impl->cols[size_t(col)].data;
}

void FlexGrid::SetColData(int col, std::shared_ptr<platform::runtime::Object> data)
{
    m_impl->CheckCol(col);
    m_impl->cols[size_t(col)].data = std::move(data);
}

int FlexGrid::ColWidth(int col) const
{
    m_impl->CheckCol(col);
    const int w = m_impl->cols[size_t(col)].width;
    return w < 0 ? detail::kDefaultColWidth : w;
}

void FlexGrid::SetColWidth(int col, int twips)
{
    const NotifyOnExit notify(*this, GridChange::Columns);
    m_impl->CheckCol(col);
    if (twips < 0) {
        AutoSize(col);
        return;
    }
    m_impl->cols[size_t(col)].width = twips;
}

bool FlexGrid::ExtendLastCol() const
{
    return m_impl->extendLastCol;
}

void FlexGrid::SetExtendLastCol(bool extend)
{
    m_impl->extendLastCol = extend;
    Notify(GridChange::Columns);
}

void FlexGrid::AutoSize(int col1, std::optional<int> col2)
{
    const int last = col2.value_or(col1);
    m_impl->CheckCol(col1);
    m_impl->CheckCol(last);
    for (int c = std::min(col1, last); c <= std::max(col1, last); ++c) {
        int width = 0;
        for (size_t r = 0; r < m_impl->rows.size(); ++r) {
            if (r + detail::kPrefetchRows < m_impl->rows.size()) {
                m_impl->rows[r + detail::kPrefetchRows].cells.Prefetch();
            }
            width = std::max(width, m_impl->CellWidth(int(r), c));
        }
        m_impl->cols[size_t(c)].width = width;
    }
    Notify(GridChange::Columns);
}

Alignment FlexGrid::ColAlignment(int col) const
{
    m_impl->CheckCol(col);
    return m_impl->cols[size_t(col)].alignment;
}

void FlexGrid::SetColAlignment(int col, Alignment alignment)
{
    m_impl->CheckCol(col);
    m_impl->cols[size_t(col)].alignment = alignment;
    Notify(GridChange::Columns);
}

bool FlexGrid::ColHidden(int col) const
{
    m_impl->CheckCol(col);
    return m_impl->cols[size_t(col)].hidden;
}

void FlexGrid::SetColHidden(int col, bool hidden)
{
    m_impl->CheckCol(col);
    m_impl->cols[size_t(col)].hidden = hidden;
    Notify(GridChange::Columns);
}

ColumnSort FlexGrid::ColSort(int col) const
{
    m_impl->CheckCol(col);
    return m_impl->cols[size_t(col)].sort;
}

void FlexGrid::SetColSort(int col, ColumnSort sort)
{
    m_impl->CheckCol(col);
    m_impl->cols[size_t(col)].sort = sort;
}

int FlexGrid::ColDataType(int col) const
{
    m_impl->CheckCol(col);
    return m_impl->cols[size_t(col)].dataType;
}

void FlexGrid::SetColDataType(int col, int type)
{
    m_impl->CheckCol(col);
    m_impl->cols[size_t(col)].dataType = type;
}

std::string FlexGrid::ColComboList(int col) const
{
    m_impl->CheckCol(col);
    return m_impl->cols[size_t(col)].comboList;
}

void FlexGrid::SetColComboList(int col, const std::string& list)
{
    m_impl->CheckCol(col);
    m_impl->cols[size_t(col)].comboList = list;
}

void FlexGrid::MoveColumn(int col, int position)
{
    const NotifyOnExit notify(*this, GridChange::Columns);
    m_impl->CheckCol(col);
    m_impl->CheckCol(position);
    if (col == position) {
        return;
    }
    auto move = [&](auto& items) {
        if (col < position) {
            std::rotate(items.begin() + col, items.begin() + col + 1, items.begin() + position + 1);
        } else {
            std::rotate(items.begin() + position, items.begin() + col, items.begin() + col + 1);
        }
    };
    move(m_impl->cols);
    const size_t needed = size_t(std::max(col, position)) + 1;
    for (auto& row : m_impl->rows) {
        row.cells.MoveCell(col, position);
        if (row.formats.size() < needed && !row.formats.empty()) {
            row.formats.resize(needed);
        }
        if (row.formats.size() >= needed) {
            move(row.formats);
        }
    }
}

// --- Rows -----------------------------------------------------------------------------------

const platform::runtime::Variant& FlexGrid::RowData(int row) const
{
    m_impl->CheckRow(row);
    return m_impl->rows[size_t(row)].data;
}

void FlexGrid::SetRowData(int row, platform::runtime::Variant data)
{
    m_impl->CheckRow(row);
    m_impl->rows[size_t(row)].data = std::move(data);
}

int FlexGrid::RowHeight(int row) const
{
    if (row == -1) {
        // "No row" (the row under a mouse below the last row) has the default height, so
        // that drop positions can be worked out past the end of a list.
        return detail::kDefaultRowHeight;
    }
    m_impl->CheckRow(row);
    return m_impl->HeightOf(row);
}

void FlexGrid::SetRowHeight(int row, int twips)
{
    m_impl->CheckRow(row);
    m_impl->rows[size_t(row)].height = twips < 0 ? -1 : twips;
    Notify(GridChange::Rows);
}

bool FlexGrid::RowIsVisible(int row) const
{
    m_impl->CheckRow(row);
    return m_impl->Visible(row);
}

// --- Cells ----------------------------------------------------------------------------------

void FlexGrid::PrefetchRow(int row) const
{
    if (row >= 0 && row < m_impl->RowCount()) {
        m_impl->rows[size_t(row)].cells.Prefetch();
    }
}

std::string FlexGrid::TextMatrix(int row, int col) const
{
    m_impl->CheckRow(row);
    m_impl->CheckCol(col);
    return std::string(m_impl->rows[size_t(row)].Text(col));
}

void FlexGrid::SetTextMatrix(int row, int col, const std::string& text)
{
    m_impl->CheckRow(row);
    m_impl->CheckCol(col);
    auto& r = m_impl->rows[size_t(row)];
    r.SetText(col, text, m_impl->ColCount());
    Notify(GridChange::Cells);
}

double FlexGrid::ValueMatrix(int row, int col) const
{
    m_impl->CheckRow(row);
    m_impl->CheckCol(col);
    const auto& r = m_impl->rows[size_t(row)];
    if (const auto exact = r.cells.Exact(col)) {
        return *exact;
    }
    const std::string_view text = r.Text(col);
    if (auto number = detail::ParseNumber(text)) {
        return *number;
    }
    return detail::ParseDate(text).value_or(0.0);
}

} // namespace platform::forms
