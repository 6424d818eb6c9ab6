// The user's side of the grid: the mouse, the keyboard, editing and dragging, as the
// headless driver and the tests play them, each raising the events the user's gesture would.
#include "platform/forms/FlexGrid.h"

#include "platform/forms/detail/CellValues.h"
#include "platform/forms/detail/GridModel.h"

#include <algorithm>
#include <stdexcept>

namespace platform::forms {
namespace {

constexpr int kLeftButton = 1;
constexpr int kShiftKey = 1;
constexpr int kCtrlKey = 2;
constexpr int kKeyUp = 38;
constexpr int kKeyDown = 40;

std::vector<std::string> SplitList(const std::string& list)
{
    std::vector<std::string> entries(1);
    for (char c : list) {
        if (c == '|') {
            entries.emplace_back();
        } else {
            entries.back() += c;
        }
    }
    return entries;
}

} // namespace

int FlexGrid::FindRow(const std::string& text, std::optional<int> startRow, int col,
                      bool caseSensitive, bool wholeCell) const
{
    m_impl->CheckCol(col);
    const int start = std::max(startRow.value_or(m_impl->fixedRows), 0);
    const std::string folded = caseSensitive ? text : detail::FoldCase(text);
    for (int r = start; r < m_impl->RowCount(); ++r) {
        const std::string_view cell = m_impl->rows[size_t(r)].Text(col);
        bool match = false;
        if (caseSensitive) {
            match = wholeCell ? cell == text : cell.find(text) != std::string::npos;
        } else if (wholeCell) {
            match = detail::FoldCase(cell) == folded;
        } else {
            match = detail::FoldCase(cell).find(folded) != std::string::npos;
        }
        if (match) {
            return r;
        }
    }
    return -1;
}

bool FlexGrid::Editable() const
{
    return m_impl->editable;
}

void FlexGrid::SetEditable(bool editable)
{
    m_impl->editable = editable;
}

int FlexGrid::ComboIndex() const
{
    return m_impl->comboIndex;
}

void FlexGrid::UserMouseMove(int button, int shift, double x, double y)
{
    m_impl->mouseX = x;
    m_impl->mouseY = y;
    if (Events.MouseMove) {
        Events.MouseMove(button, shift, x, y);
    }
}

void FlexGrid::UserMouseDown(int button, int shift, double x, double y)
{
    m_impl->mouseX = x;
    m_impl->mouseY = y;
    SetFocus();
    if (Events.MouseDown) {
        Events.MouseDown(button, shift, x, y);
    }
    const int row = MouseRow(), col = MouseCol();
    if (button == kLeftButton && row >= m_impl->fixedRows && col >= 0) {
        UserClick(row, col, shift);
    }
}

void FlexGrid::UserMouseUp(int button, int shift, double x, double y)
{
    m_impl->mouseX = x;
    m_impl->mouseY = y;
    if (Events.MouseUp) {
        Events.MouseUp(button, shift, x, y);
    }
}

void FlexGrid::UserDoubleClick()
{
    if (Events.DblClick) {
        Events.DblClick();
    }
}

void FlexGrid::UserKeyDown(int keyCode, int shift)
{
    if (Events.KeyDown) {
        Events.KeyDown(keyCode, shift);
    }
    auto& impl = *m_impl;
    if (keyCode != kKeyUp && keyCode != kKeyDown) {
        return;
    }
    // The arrow keys move to the next shown row.
    const int step = keyCode == kKeyDown ? 1 : -1;
    for (int r = impl.row + step; r >= impl.fixedRows && r < impl.RowCount(); r += step) {
        if (impl.Visible(r)) {
            SetRow(r);
            ShowCell(r, impl.col);
            break;
        }
    }
}

void FlexGrid::UserKeyUp(int keyCode, int shift)
{
    if (Events.KeyUp) {
        Events.KeyUp(keyCode, shift);
    }
}

void FlexGrid::UserClick(int row, int col, int shift)
{
    auto& impl = *m_impl;
    impl.CheckRow(row);
    impl.CheckCol(col);
    if (impl.selectionMode == SelectionMode::ListBox && (shift & kCtrlKey) != 0) {
        const bool was = impl.rows[size_t(row)].selected;
        SetCol(col);
        if (impl.row != row) {
            const int oldRow = impl.row, oldCol = impl.col;
            impl.row = impl.rowSel = row;
            if (Events.RowColChange) {
                Events.RowColChange(oldRow, oldCol, row, col);
            }
        }
        SetIsSelected(row, !was);
    } else if ((shift & kShiftKey) != 0) {
        Select(impl.row, impl.col, row, col);
    } else {
        Select(row, col);
    }
    if (Events.Click) {
        Events.Click();
    }
}

bool FlexGrid::UserEdit(int row, int col, const std::string& text)
{
    m_impl->CheckRow(row);
    m_impl->CheckCol(col);
    // A grid is made editable so that its boxes can be ticked: a cell with a box toggles
    // (UserToggleCheck), its text is never typed over.
    if (!m_impl->editable || CellChecked(row, col) != CheckState::None) {
        return false;
    }
    bool cancel = false;
    if (Events.BeforeEdit) {
        Events.BeforeEdit(row, col, cancel);
    }
    if (cancel) {
        return false;
    }
    const auto entries = SplitList(m_impl->cols[size_t(col)].comboList);
    const auto found = std::find(entries.begin(), entries.end(), text);
    m_impl->comboIndex = m_impl->cols[size_t(col)].comboList.empty() || found == entries.end()
                             ? -1
                             : int(found - entries.begin());
    SetTextMatrix(row, col, text);
    if (Events.AfterEdit) {
        Events.AfterEdit(row, col);
    }
    return true;
}

bool FlexGrid::UserPickComboItem(int row, int col, int index)
{
    m_impl->CheckCol(col);
    const auto entries = SplitList(m_impl->cols[size_t(col)].comboList);
    if (m_impl->cols[size_t(col)].comboList.empty() || index < 0 || index >= int(entries.size())) {
        detail::RaiseBadIndex("Column " + std::to_string(col) + " has no list entry " +
                              std::to_string(index));
    }
    return UserEdit(row, col, entries[size_t(index)]);
}

bool FlexGrid::UserToggleCheck(int row, int col)
{
    m_impl->CheckRow(row);
    m_impl->CheckCol(col);
    if (!m_impl->editable) {
        return false;
    }
    bool cancel = false;
    if (Events.BeforeEdit) {
        Events.BeforeEdit(row, col, cancel);
    }
    if (cancel) {
        return false;
    }
    CheckState next = CheckState::Checked;
    switch (CellChecked(row, col)) {
    case CheckState::Checked:
        next = CheckState::Unchecked;
        break;
    case CheckState::TreeChecked:
        next = CheckState::TreeUnchecked;
        break;
    case CheckState::TreeUnchecked:
        next = CheckState::TreeChecked;
        break;
    default:
        break;
    }
    SetCellChecked({row, col, row, col}, next);
    if (Events.AfterEdit) {
        Events.AfterEdit(row, col);
    }
    return true;
}

void FlexGrid::UserToggleNode(int row)
{
    m_impl->CheckRow(row);
    if (!m_impl->rows[size_t(row)].node) {
        return;
    }
    const bool collapsed = m_impl->rows[size_t(row)].state == OutlineState::Collapsed;
    SetIsCollapsed(row, collapsed ? OutlineState::Expanded : OutlineState::Collapsed);
}

bool FlexGrid::UserMoveColumn(int col, int position)
{
    m_impl->CheckCol(col);
    if (Events.ColumnMoving) {
        Events.ColumnMoving(col, position);
    }
    position = std::clamp(position, 0, m_impl->ColCount() - 1);
    MoveColumn(col, position);
    return position != col;
}

bool FlexGrid::UserResizeColumn(int col, int twips)
{
    const NotifyOnExit notify(*this, GridChange::Columns);
    m_impl->CheckCol(col);
    bool cancel = false;
    if (Events.ColumnResizing) {
        Events.ColumnResizing(0, col, cancel);
    }
    if (cancel) {
        return false;
    }
    m_impl->cols[size_t(col)].width = std::max(twips, 0);
    if (Events.ColumnResized) {
        Events.ColumnResized(0, col);
    }
    return true;
}

void FlexGrid::OLEDrag()
{
    DropEffect allowed = DropEffect::None;
    if (Events.OLEStartDrag) {
        Events.OLEStartDrag(allowed);
    }
    m_impl->dragAllowed = allowed;
}

DropEffect FlexGrid::UserDragOver(FlexGrid* source, int button, int shift, double x, double y)
{
    m_impl->mouseX = x;
    m_impl->mouseY = y;
    DropEffect effect = source != nullptr ? source->m_impl->dragAllowed : DropEffect::None;
    if (Events.OLEDragOver) {
        Events.OLEDragOver(source, effect, button, shift, x, y, DragState::Over);
    }
    return effect;
}

DropEffect FlexGrid::UserDrop(FlexGrid* source, int button, int shift, double x, double y)
{
    m_impl->mouseX = x;
    m_impl->mouseY = y;
    DropEffect effect = source != nullptr ? source->m_impl->dragAllowed : DropEffect::None;
    if (Events.OLEDragDrop) {
        Events.OLEDragDrop(source, effect, button, shift, x, y);
    }
    if (source != nullptr) {
        source->m_impl->dragAllowed = DropEffect::None;
    }
    return effect;
}

} // namespace platform::forms
