// The outline: node rows, their levels and states, and the node handles.
#include "platform/forms/FlexGrid.h"

#include "platform/forms/detail/GridModel.h"
#include "platform/forms/detail/Sorting.h"

namespace platform::forms {

bool FlexGrid::IsSubtotal(int row) const
{
    m_impl->CheckRow(row);
    return m_impl->rows[size_t(row)].node;
}

void FlexGrid::SetIsSubtotal(int row, bool node)
{
    m_impl->CheckRow(row);
    auto& r = m_impl->rows[size_t(row)];
    r.node = node;
    if (!node) {
        r.subtotalGroup = -1;
        r.subtotalMatchFrom = -1;
    }
    m_impl->Invalidate();
    Notify(GridChange::Rows);
}

int FlexGrid::RowOutlineLevel(int row) const
{
    m_impl->CheckRow(row);
    return m_impl->rows[size_t(row)].outlineLevel;
}

void FlexGrid::SetRowOutlineLevel(int row, int level)
{
    m_impl->CheckRow(row);
    m_impl->rows[size_t(row)].outlineLevel = level;
    m_impl->Invalidate();
    Notify(GridChange::Rows);
}

OutlineState FlexGrid::IsCollapsed(int row) const
{
    m_impl->CheckRow(row);
    return m_impl->rows[size_t(row)].state;
}

void FlexGrid::SetIsCollapsed(int row, OutlineState state)
{
    const NotifyOnExit notify(*this, GridChange::Outline);
    m_impl->CheckRow(row);
    auto& r = m_impl->rows[size_t(row)];
    if (r.state == state) {
        return;
    }
    if (r.node && Events.BeforeCollapse) {
        bool cancel = false;
        Events.BeforeCollapse(row, state, cancel);
        if (cancel) {
            return;
        }
    }
    // The handler may have changed the rows; the row index is the caller's to keep right.
    m_impl->CheckRow(row);
    m_impl->rows[size_t(row)].state = state;
    m_impl->Invalidate();
    if (m_impl->rows[size_t(row)].node && Events.AfterCollapse) {
        Events.AfterCollapse(row, state);
    }
}

std::optional<OutlineNode> FlexGrid::GetNode(int row)
{
    m_impl->CheckRow(row);
    for (int r = row; r >= m_impl->fixedRows; --r) {
        if (m_impl->rows[size_t(r)].node) {
            return OutlineNode(*this, r);
        }
    }
    return std::nullopt;
}

int FlexGrid::OutlineCol() const
{
    return m_impl->outlineCol;
}

void FlexGrid::SetOutlineCol(int col)
{
    m_impl->CheckCol(col);
    m_impl->outlineCol = col;
    Notify(GridChange::Cells);
}

bool OutlineNode::Expanded() const
{
    return m_grid->IsCollapsed(m_row) != OutlineState::Collapsed;
}

void OutlineNode::SetExpanded(bool expanded)
{
    m_grid->SetIsCollapsed(m_row, expanded ? OutlineState::Expanded : OutlineState::Collapsed);
}

int OutlineNode::Level() const
{
    return m_grid->RowOutlineLevel(m_row);
}

std::optional<OutlineNode> OutlineNode::Parent() const
{
    const auto& impl = *m_grid->m_impl;
    impl.CheckRow(m_row);
    const int level = impl.rows[size_t(m_row)].outlineLevel;
    for (int r = m_row - 1; r >= impl.fixedRows; --r) {
        const auto& row = impl.rows[size_t(r)];
        if (row.node && row.outlineLevel < level) {
            return OutlineNode(*m_grid, r);
        }
    }
    return std::nullopt;
}

void OutlineNode::Sort(SortSetting setting)
{
    auto& impl = *m_grid->m_impl;
    impl.CheckRow(m_row);
    const int end = detail::SubtreeEnd(impl, m_row, impl.RowCount());
    detail::SortRows(impl, m_row + 1, end, detail::SortColumns(impl, setting, 0, 0));
    m_grid->Notify(GridChange::Rows);
}

} // namespace platform::forms
