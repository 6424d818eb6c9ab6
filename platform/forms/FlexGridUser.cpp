// The user's side of the grid: the mouse, the keyboard, editing and dragging, as the
// headless driver and the tests play them, each raising the events the user's gesture would.
#include "platform/forms/FlexGrid.h"

#include "platform/forms/detail/CellValues.h"
#include "platform/forms/detail/GridModel.h"
#include "platform/forms/detail/TextSearch.h"

#include <algorithm>
#include <optional>
#include <stdexcept>

namespace platform::forms {
namespace {

constexpr int kLeftButton = 1;
constexpr int kShiftKey = 1;
constexpr int kCtrlKey = 2;
constexpr int kAltKey = 4;
constexpr int kKeyPageUp = 33;
constexpr int kKeyPageDown = 34;
constexpr int kKeyEnd = 35;
constexpr int kKeyHome = 36;
constexpr int kKeyLeft = 37;
constexpr int kKeyUp = 38;
constexpr int kKeyRight = 39;
constexpr int kKeyDown = 40;
constexpr int kKeyAdd = 107;      // + on the keypad
constexpr int kKeySubtract = 109; // - on the keypad
constexpr int kKeyPlus = 187;     // + beside the letters
constexpr int kKeyMinus = 189;    // - beside the letters

struct CellPos
{
    int row, col;
};

// The next shown data row from `from` on in the direction of step (1 down, -1 up), not `from`
// itself; `from` when there is none.
int NextShownRow(const FlexGrid::Impl& impl, int from, int step)
{
    for (int r = from + step; r >= impl.fixedRows && r < impl.RowCount(); r += step) {
        if (impl.Visible(r)) {
            return r;
        }
    }
    return from;
}

// The next shown column past the fixed ones, as NextShownRow.
int NextShownCol(const FlexGrid::Impl& impl, int from, int step)
{
    for (int c = from + step; c >= impl.fixedCols && c < impl.ColCount(); c += step) {
        if (impl.WidthOf(c) > 0) {
            return c;
        }
    }
    return from;
}

// The row a page away from `from` (step 1 down, -1 up): the last shown row that still fits
// into the room below the fixed rows, walking from `from`; at least the next shown row.
int PageRow(const FlexGrid::Impl& impl, int from, int step)
{
    int room = impl.clientHeight;
    for (int r = 0; r < std::min(impl.fixedRows, impl.RowCount()); ++r) {
        room -= impl.Visible(r) ? impl.HeightOf(r) : 0;
    }
    int target = from, used = 0;
    for (int r = NextShownRow(impl, from, step); r != target; r = NextShownRow(impl, r, step)) {
        used += impl.HeightOf(r);
        if (used > room && target != from) {
            break;
        }
        target = r;
    }
    return target;
}

// The first (last) shown data row, or `at` when none shows.
int EdgeRow(const FlexGrid::Impl& impl, bool last, int at)
{
    const int r = NextShownRow(impl, last ? impl.RowCount() : impl.fixedRows - 1, last ? -1 : 1);
    return r >= impl.fixedRows && r < impl.RowCount() ? r : at;
}

// The first (last) shown column past the fixed ones, or `at` when none shows.
int EdgeCol(const FlexGrid::Impl& impl, bool last, int at)
{
    const int c = NextShownCol(impl, last ? impl.ColCount() : impl.fixedCols - 1, last ? -1 : 1);
    return c >= impl.fixedCols && c < impl.ColCount() ? c : at;
}

// Where a movement key takes the cell at `at`; none for keys that move nothing. Home and End
// go to the first and last shown column, with Ctrl to the first and last shown cell.
std::optional<CellPos> KeyTarget(const FlexGrid::Impl& impl, int keyCode, bool ctrl, CellPos at)
{
    switch (keyCode) {
    case kKeyUp:
    case kKeyDown:
        return CellPos{NextShownRow(impl, at.row, keyCode == kKeyDown ? 1 : -1), at.col};
    case kKeyLeft:
    case kKeyRight:
        return CellPos{at.row, NextShownCol(impl, at.col, keyCode == kKeyRight ? 1 : -1)};
    case kKeyPageUp:
    case kKeyPageDown:
        return CellPos{PageRow(impl, at.row, keyCode == kKeyPageDown ? 1 : -1), at.col};
    case kKeyHome:
    case kKeyEnd: {
        const bool last = keyCode == kKeyEnd;
        return CellPos{ctrl ? EdgeRow(impl, last, at.row) : at.row, EdgeCol(impl, last, at.col)};
    }
    default:
        return std::nullopt;
    }
}

// Where a key takes the current row of a grid that selects as a list box does, as in any
// list: Home and End to the first and last shown row, a letter or digit to the next shown row
// whose text in the current column begins with it (ignoring case and leading blanks, around
// from the end to the start). None for other keys and with Ctrl or Alt.
std::optional<int> ListKeyRow(const FlexGrid::Impl& impl, int keyCode, int shift)
{
    if (impl.selectionMode != SelectionMode::ListBox || (shift & (kCtrlKey | kAltKey)) != 0) {
        return std::nullopt;
    }
    if ((keyCode == kKeyHome || keyCode == kKeyEnd) && shift == 0) {
        return EdgeRow(impl, keyCode == kKeyEnd, impl.row);
    }
    const bool letter = keyCode >= 'A' && keyCode <= 'Z';
    if (!letter && !(keyCode >= '0' && keyCode <= '9')) {
        return std::nullopt;
    }
    const int count = impl.RowCount() - impl.fixedRows;
    const int start = std::max(impl.row, impl.fixedRows - 1);
    for (int step = 1; step <= count; ++step) {
        const int r = impl.fixedRows + (start - impl.fixedRows + step) % count;
        if (!impl.Visible(r)) {
            continue;
        }
        const std::string_view text = impl.rows[size_t(r)].Text(impl.col);
        const auto first = text.find_first_not_of(' ');
        if (first == std::string_view::npos) {
            continue;
        }
        const char c = text[first];
        if (c == keyCode || (letter && c == keyCode - 'A' + 'a')) {
            return r;
        }
    }
    return std::nullopt;
}

// What a key does to the current row's node, as in a tree view: + and Right open it, - and
// Left close it, Left on a closed node (or one without rows under it) goes to the node it
// belongs to. Right and Left do so in the outline column only, elsewhere they move between the
// columns; and Right moves on from a node that is open already.
enum class NodeKey
{
    None,
    Open,
    Close,
    ToParent,
};

// Whether rows belong to the node row: the next row is a data row or a deeper node.
bool HasChildren(const FlexGrid::Impl& impl, int row)
{
    if (row + 1 >= impl.RowCount()) {
        return false;
    }
    const auto& next = impl.rows[size_t(row) + 1];
    return !next.node || next.outlineLevel > impl.rows[size_t(row)].outlineLevel;
}

NodeKey NodeKeyOf(const FlexGrid::Impl& impl, int keyCode, int shift)
{
    const int row = impl.row;
    if (row < impl.fixedRows || row >= impl.RowCount() || !impl.rows[size_t(row)].node) {
        return NodeKey::None;
    }
    const bool parent = HasChildren(impl, row);
    const bool open = impl.rows[size_t(row)].state == OutlineState::Expanded;
    const bool closed = impl.rows[size_t(row)].state == OutlineState::Collapsed;
    // + may need Shift to be typed; with Ctrl or Alt the keys are others'.
    const bool plain = (shift & ~kShiftKey) == 0;
    if (plain && (keyCode == kKeyAdd || keyCode == kKeyPlus)) {
        return parent && !open ? NodeKey::Open : NodeKey::None;
    }
    if (plain && (keyCode == kKeySubtract || keyCode == kKeyMinus)) {
        return parent && !closed ? NodeKey::Close : NodeKey::None;
    }
    if (shift != 0 || impl.col != impl.outlineCol) {
        return NodeKey::None;
    }
    if (keyCode == kKeyRight) {
        return parent && !open ? NodeKey::Open : NodeKey::None;
    }
    if (keyCode == kKeyLeft) {
        return parent && !closed ? NodeKey::Close : NodeKey::ToParent;
    }
    return NodeKey::None;
}

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
    if (!caseSensitive) {
        if (const detail::FoldedColumns* index = m_impl->FoldedFor(col)) {
            return index->Find(col, start, folded, wholeCell);
        }
    }
    for (int r = start; r < m_impl->RowCount(); ++r) {
        const std::string_view cell = m_impl->rows[size_t(r)].Text(col);
        const bool match = caseSensitive
                               ? (wholeCell ? cell == text : cell.find(text) != std::string::npos)
                               : detail::FoldedMatches(cell, folded, wholeCell);
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
    if (impl.RowCount() <= impl.fixedRows || impl.ColCount() == 0) {
        return;
    }
    if (const auto row = ListKeyRow(impl, keyCode, shift)) {
        if (*row != impl.row) {
            Select(*row, impl.col);
            ShowCell(*row, impl.col);
        }
        return;
    }
    if (const NodeKey node = NodeKeyOf(impl, keyCode, shift); node != NodeKey::None) {
        if (node != NodeKey::ToParent) {
            SetIsCollapsed(impl.row, node == NodeKey::Open ? OutlineState::Expanded
                                                           : OutlineState::Collapsed);
        } else if (const auto parent = GetNode(impl.row)->Parent()) {
            Select(parent->Row(), impl.col);
            ShowCell(parent->Row(), impl.col);
        }
        return;
    }
    // The movement keys move the current cell over the shown rows and columns; with Shift they
    // move the other end of the selection, which keeps the current cell.
    const bool extend = (shift & kShiftKey) != 0;
    const CellPos from = extend ? CellPos{impl.rowSel, impl.colSel} : CellPos{impl.row, impl.col};
    const auto to = KeyTarget(impl, keyCode, (shift & kCtrlKey) != 0, from);
    if (!to || to->row < impl.fixedRows || to->col < 0 ||
        (to->row == from.row && to->col == from.col)) {
        return;
    }
    if (extend) {
        Select(impl.row, impl.col, to->row, to->col);
    } else {
        Select(to->row, to->col);
    }
    ShowCell(to->row, to->col);
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
