// Current cell, selection, scrolling and the geometry the pop-up menus read.
#include "platform/forms/FlexGrid.h"

#include "platform/forms/detail/GridModel.h"

#include <algorithm>
#include <stdexcept>

namespace platform::forms {
namespace {

struct Cursor
{
    int row, col, rowSel, colSel;
    bool operator==(const Cursor&) const = default;
};

Cursor CursorOf(const FlexGrid::Impl& impl)
{
    return {impl.row, impl.col, impl.rowSel, impl.colSel};
}

} // namespace

// Moves the current cell and the selection, then raises the events of what changed.
static void MoveCursor(FlexGrid& grid, FlexGrid::Impl& impl, const Cursor& to,
                       bool listBoxExclusive)
{
    const Cursor from = CursorOf(impl);
    bool flagsChanged = false;
    if (impl.selectionMode == SelectionMode::ListBox && listBoxExclusive) {
        const int lo = std::min(to.row, to.rowSel), hi = std::max(to.row, to.rowSel);
        for (int r = 0; r < impl.RowCount(); ++r) {
            const bool want = r >= lo && r <= hi;
            flagsChanged = flagsChanged || impl.rows[size_t(r)].selected != want;
            impl.rows[size_t(r)].selected = want;
        }
    }
    impl.row = to.row;
    impl.col = to.col;
    impl.rowSel = to.rowSel;
    impl.colSel = to.colSel;
    if ((from.row != to.row || from.col != to.col) && grid.Events.RowColChange) {
        grid.Events.RowColChange(from.row, from.col, to.row, to.col);
    }
    if ((flagsChanged || !(from == to)) && grid.Events.AfterSelChange) {
        grid.Events.AfterSelChange();
    }
}

int FlexGrid::Row() const
{
    return m_impl->row;
}

void FlexGrid::SetRow(int row)
{
    m_impl->CheckRow(row);
    MoveCursor(*this, *m_impl, {row, m_impl->col, row, m_impl->col}, true);
    Notify(GridChange::Selection);
}

int FlexGrid::Col() const
{
    return m_impl->col;
}

void FlexGrid::SetCol(int col)
{
    m_impl->CheckCol(col);
    MoveCursor(*this, *m_impl, {m_impl->row, col, m_impl->rowSel, col}, false);
    Notify(GridChange::Selection);
}

int FlexGrid::RowSel() const
{
    return m_impl->rowSel;
}

int FlexGrid::ColSel() const
{
    return m_impl->colSel;
}

SelectionMode FlexGrid::GetSelectionMode() const
{
    return m_impl->selectionMode;
}

void FlexGrid::SetSelectionMode(SelectionMode mode)
{
    m_impl->selectionMode = mode;
}

void FlexGrid::Select(int row1, int col1, std::optional<int> row2, std::optional<int> col2)
{
    const int r2 = row2.value_or(row1), c2 = col2.value_or(col1);
    m_impl->CheckRow(row1);
    m_impl->CheckRow(r2);
    m_impl->CheckCol(col1);
    m_impl->CheckCol(c2);
    MoveCursor(*this, *m_impl, {row1, col1, r2, c2}, true);
    Notify(GridChange::Selection);
}

CellRange FlexGrid::GetSelection() const
{
    return {std::min(m_impl->row, m_impl->rowSel), std::min(m_impl->col, m_impl->colSel),
            std::max(m_impl->row, m_impl->rowSel), std::max(m_impl->col, m_impl->colSel)};
}

bool FlexGrid::IsSelected(int row) const
{
    m_impl->CheckRow(row);
    if (m_impl->selectionMode == SelectionMode::ListBox) {
        return m_impl->rows[size_t(row)].selected;
    }
    const CellRange s = GetSelection();
    return row >= s.row1 && row <= s.row2;
}

void FlexGrid::SetIsSelected(int row, bool selected)
{
    m_impl->CheckRow(row);
    if (m_impl->selectionMode != SelectionMode::ListBox) {
        detail::RaiseNotSupported("Marking single rows selected outside the list-box "
                                  "selection mode");
    }
    if (m_impl->rows[size_t(row)].selected != selected) {
        m_impl->rows[size_t(row)].selected = selected;
        if (Events.AfterSelChange) {
            Events.AfterSelChange();
        }
    }
    Notify(GridChange::Selection);
}

int FlexGrid::SelectedRows() const
{
    if (m_impl->selectionMode == SelectionMode::ListBox) {
        return int(std::count_if(m_impl->rows.begin(), m_impl->rows.end(),
                                 [](const auto& r) { return r.selected; }));
    }
    if (m_impl->RowCount() == 0) {
        return 0;
    }
    const CellRange s = GetSelection();
    return s.row2 - s.row1 + 1;
}

int FlexGrid::SelectedRow(int index) const
{
    if (index < 0 || index >= SelectedRows()) {
        detail::RaiseBadIndex("There is no selected row " + std::to_string(index));
    }
    if (m_impl->selectionMode != SelectionMode::ListBox) {
        return GetSelection().row1 + index;
    }
    int seen = 0;
    for (int r = 0; r < m_impl->RowCount(); ++r) {
        if (m_impl->rows[size_t(r)].selected && seen++ == index) {
            return r;
        }
    }
    return -1; // not reached: the count above found the row
}

// --- Scrolling and geometry ---------------------------------------------------------------

int FlexGrid::TopRow() const
{
    return m_impl->topRow;
}

void FlexGrid::SetTopRow(int row)
{
    m_impl->CheckRow(row);
    m_impl->topRow = std::max(row, m_impl->fixedRows);
    Notify(GridChange::Scroll);
}

void FlexGrid::ShowCell(int row, int col)
{
    const NotifyOnExit notify(*this, GridChange::Scroll);
    m_impl->CheckRow(row);
    m_impl->CheckCol(col);
    auto& impl = *m_impl;
    if (row < impl.fixedRows) {
        return;
    }
    if (row < impl.topRow) {
        impl.topRow = row;
        return;
    }
    int fixedHeight = 0;
    for (int r = 0; r < impl.fixedRows; ++r) {
        fixedHeight += impl.Visible(r) ? impl.HeightOf(r) : 0;
    }
    const int room = std::max(impl.clientHeight - fixedHeight, 0);
    // Walk up from the row until the rows shown fill the room; that is the lowest top row
    // that still shows the row.
    int used = impl.Visible(row) ? impl.HeightOf(row) : 0;
    int top = row;
    for (int r = row - 1; r >= impl.topRow; --r) {
        const int h = impl.Visible(r) ? impl.HeightOf(r) : 0;
        if (used + h > room) {
            break;
        }
        used += h;
        top = r;
    }
    impl.topRow = std::max(top, impl.topRow);
}

int FlexGrid::MouseRow() const
{
    const auto& impl = *m_impl;
    if (impl.mouseY < 0) {
        return -1;
    }
    double y = 0;
    auto hit = [&](int r) {
        if (!impl.Visible(r)) {
            return false;
        }
        y += impl.HeightOf(r);
        return impl.mouseY < y;
    };
    for (int r = 0; r < impl.fixedRows; ++r) {
        if (hit(r)) {
            return r;
        }
    }
    for (int r = impl.topRow; r < impl.RowCount() && y <= impl.clientHeight; ++r) {
        if (hit(r)) {
            return r;
        }
    }
    return -1;
}

int FlexGrid::MouseCol() const
{
    const auto& impl = *m_impl;
    if (impl.mouseX < 0) {
        return -1;
    }
    double x = 0;
    for (int c = 0; c < impl.ColCount(); ++c) {
        x += impl.WidthOf(c);
        if (impl.mouseX < x) {
            return c;
        }
    }
    return -1;
}

int FlexGrid::CellLeft() const
{
    int left = 0;
    for (int c = 0; c < m_impl->col; ++c) {
        left += m_impl->WidthOf(c);
    }
    return left;
}

int FlexGrid::CellTop() const
{
    const auto& impl = *m_impl;
    int top = 0;
    for (int r = 0; r < std::min(impl.row, impl.fixedRows); ++r) {
        top += impl.Visible(r) ? impl.HeightOf(r) : 0;
    }
    for (int r = impl.topRow; r < impl.row; ++r) {
        top += impl.Visible(r) ? impl.HeightOf(r) : 0;
    }
    return top;
}

int FlexGrid::CellWidth() const
{
    return m_impl->ColCount() == 0 ? 0 : m_impl->WidthOf(m_impl->col);
}

int FlexGrid::CellHeight() const
{
    return m_impl->RowCount() == 0 ? 0 : m_impl->HeightOf(m_impl->row);
}

} // namespace platform::forms
