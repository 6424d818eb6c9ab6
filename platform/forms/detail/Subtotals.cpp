// The subtotal operation: groups, their subtotal rows and aggregates, in one pass per call.
#include "platform/forms/detail/Aggregates.h"
#include "platform/forms/detail/CellValues.h"
#include "platform/forms/detail/GridModel.h"
#include "platform/forms/detail/SubtotalPass.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace platform::forms {
namespace {

struct Group
{
    int first; // first data row
    int last;  // last data row
};

bool SameGroup(const detail::GridRow& a, const detail::GridRow& b, int from, int to)
{
    for (int c = from; c <= to; ++c) {
        if (!detail::EqualIgnoringCase(a.Text(c), b.Text(c))) {
            return false;
        }
    }
    return true;
}

std::vector<Group> FindGroups(const FlexGrid::Impl& impl, int from, int to)
{
    std::vector<Group> groups;
    int previous = -1;
    for (int r = impl.fixedRows; r < impl.RowCount(); ++r) {
        const auto& row = impl.rows[size_t(r)];
        if (row.node) {
            continue;
        }
        if (previous < 0 || !SameGroup(impl.rows[size_t(previous)], row, from, to)) {
            groups.push_back({r, r});
        } else {
            groups.back().last = r;
        }
        previous = r;
    }
    return groups;
}

class Aggregator
{
public:
    Aggregator(const FlexGrid::Impl& impl, SubtotalFunction function, int column)
        : m_impl(impl), m_function(function), m_column(column),
          m_type(impl.cols[size_t(column)].dataType)
    {
        if (function == SubtotalFunction::Percent) {
            for (int r = impl.fixedRows; r < impl.RowCount(); ++r) {
                const auto& row = impl.rows[size_t(r)];
                if (!row.node) {
                    m_columnTotal += detail::CellNumber(row, column, m_type).value_or(0.0);
                }
            }
        }
    }

    detail::Aggregate Of(const Group& group) const
    {
        detail::Accumulator accumulator;
        const bool wantMax = m_function == SubtotalFunction::Max;
        for (int r = group.first; r <= group.last; ++r) {
            const auto& row = m_impl.rows[size_t(r)];
            if (!row.node && !row.Text(m_column).empty()) {
                accumulator.Add(detail::CellNumber(row, m_column, m_type), r, wantMax);
            }
        }
        return accumulator.Result(m_function, m_columnTotal, m_impl, m_column);
    }

private:
    const FlexGrid::Impl& m_impl;
    SubtotalFunction m_function;
    int m_column;
    int m_type;
    double m_columnTotal = 0;
};

/// Looks among the node rows directly above a group for its subtotal row of groupOn, and
/// works out where a new one goes: above the node rows of the groups nested in it.
struct Placement
{
    int existing = -1;
    int insertAt = 0;
};

Placement Place(const FlexGrid::Impl& impl, const Group& group, int groupOn)
{
    Placement p{-1, group.first};
    for (int r = group.first - 1; r >= impl.fixedRows; --r) {
        const auto& row = impl.rows[size_t(r)];
        if (!row.node || row.outlineLevel < groupOn) {
            break;
        }
        if (row.subtotalGroup == groupOn) {
            p.existing = r;
            break;
        }
        if (row.outlineLevel > groupOn) {
            p.insertAt = r;
        }
    }
    return p;
}

} // namespace

void FlexGrid::ClearSubtotals()
{
    const NotifyOnExit notify(*this, GridChange::Rows);
    auto& rows = m_impl->rows;
    const auto from = rows.begin() + m_impl->fixedRows;
    rows.erase(std::remove_if(from, rows.end(), [](const auto& row) { return row.node; }),
               rows.end());
    m_impl->Invalidate();
    m_impl->ClampCursor();
}

void FlexGrid::Subtotals(const std::vector<SubtotalRequest>& requests)
{
    const NotifyOnExit notify(*this, GridChange::Rows);
    for (const SubtotalRequest& q : requests) {
        if (q.function != SubtotalFunction::Clear) {
            detail::CheckSubtotalRequest(*m_impl, q);
        }
    }
    // Clear splits the requests into runs; each run is one pass where the pass can stand in
    // for the single operations.
    for (auto begin = requests.begin(); begin != requests.end();) {
        if (begin->function == SubtotalFunction::Clear) {
            ClearSubtotals();
            ++begin;
            continue;
        }
        const auto end = std::find_if(begin, requests.end(), [](const SubtotalRequest& q) {
            return q.function == SubtotalFunction::Clear;
        });
        const std::vector<SubtotalRequest> run(begin, end);
        if (!detail::SubtotalInOnePass(*m_impl, run)) {
            for (const SubtotalRequest& q : run) {
                Subtotal(q.function, q.groupOn, q.totalOn, q.caption, q.matchFrom);
            }
        }
        begin = end;
    }
}

void FlexGrid::Subtotal(SubtotalFunction function, int groupOn, std::optional<int> totalOn,
                        std::optional<std::string> caption, int matchFrom)
{
    const NotifyOnExit notify(*this, GridChange::Rows);
    if (function == SubtotalFunction::Clear) {
        ClearSubtotals();
        return;
    }
    auto& impl = *m_impl;
    detail::CheckSubtotalRequest(impl, {function, groupOn, totalOn, std::nullopt, matchFrom});
    const std::string pattern = caption.value_or("%s");
    const auto groups =
        FindGroups(impl, std::min(matchFrom, groupOn), std::max(matchFrom, groupOn));
    const Aggregator aggregator(impl, function, totalOn.value_or(0));

    std::vector<std::pair<int, detail::GridRow>> inserts;
    for (const Group& group : groups) {
        const Placement place = Place(impl, group, groupOn);
        detail::GridRow* row = nullptr;
        if (place.existing >= 0) {
            row = &impl.rows[size_t(place.existing)];
        } else {
            auto& made = inserts.emplace_back(place.insertAt, impl.NewRow()).second;
            made.node = true;
            made.subtotalGroup = groupOn;
            made.subtotalMatchFrom = matchFrom;
            made.outlineLevel = groupOn;
            made.SetText(
                impl.outlineCol,
                detail::SubtotalCaption(pattern, impl.rows[size_t(group.first)].Text(groupOn)));
            row = &made;
        }
        if (function != SubtotalFunction::None) {
            detail::SetAggregate(*row, *totalOn, aggregator.Of(group));
        }
    }
    if (inserts.empty()) {
        return;
    }
    // The inserts are in row order already.
    impl.InsertRows(std::move(inserts));
    impl.Invalidate();
    impl.ClampCursor();
}

} // namespace platform::forms
