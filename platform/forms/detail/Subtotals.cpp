// The subtotal operation: groups, their subtotal rows and aggregates, in one pass per call.
#include "platform/forms/detail/CellValues.h"
#include "platform/forms/detail/GridModel.h"

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

std::optional<double> CellNumber(const std::string& text, int type)
{
    if (type == ColumnType::Date) {
        if (auto date = detail::ParseDate(text)) {
            return date;
        }
    }
    return detail::ParseNumber(text);
}

/// The aggregate of one group: its text and, for numbers, its exact value.
struct Aggregate
{
    std::string text;
    std::optional<double> value;
};

class Aggregator
{
public:
    Aggregator(const FlexGrid::Impl& impl, SubtotalFunction function, int column)
        : m_impl(impl), m_function(function), m_column(column),
          m_type(impl.cols[size_t(column)].dataType)
    {
        if (function == SubtotalFunction::Percent) {
            m_columnTotal = 0;
            for (int r = impl.fixedRows; r < impl.RowCount(); ++r) {
                const auto& row = impl.rows[size_t(r)];
                if (!row.node) {
                    m_columnTotal += CellNumber(row.Text(column), m_type).value_or(0.0);
                }
            }
        }
    }

    Aggregate Of(const Group& group) const
    {
        double sum = 0, extreme = 0;
        int numbers = 0, count = 0, extremeRow = -1;
        const bool wantMax = m_function == SubtotalFunction::Max;
        for (int r = group.first; r <= group.last; ++r) {
            const auto& row = m_impl.rows[size_t(r)];
            const std::string& text = row.Text(m_column);
            if (row.node || text.empty()) {
                continue;
            }
            ++count;
            const auto number = CellNumber(text, m_type);
            if (!number) {
                continue;
            }
            ++numbers;
            sum += *number;
            if (extremeRow < 0 || (wantMax ? *number > extreme : *number < extreme)) {
                extreme = *number;
                extremeRow = r;
            }
        }
        switch (m_function) {
        case SubtotalFunction::Sum:
            return Number(sum);
        case SubtotalFunction::Count:
            return Number(count);
        case SubtotalFunction::Average:
            return numbers == 0 ? Aggregate{} : Number(sum / numbers);
        case SubtotalFunction::Percent:
            // A column that totals 0 has no shares: the cell stays empty rather than dividing
            // by zero.
            return m_columnTotal == 0 ? Aggregate{} : Number(sum / m_columnTotal * 100.0);
        case SubtotalFunction::Max:
        case SubtotalFunction::Min:
            // The extreme cell's own text, so that a date stays in the form it was written in.
            return extremeRow < 0
                       ? Aggregate{}
                       : Aggregate{m_impl.rows[size_t(extremeRow)].Text(m_column), extreme};
        default:
            return {};
        }
    }

private:
    static Aggregate Number(double value) { return {detail::FormatNumber(value), value}; }

    const FlexGrid::Impl& m_impl;
    SubtotalFunction m_function;
    int m_column;
    int m_type;
    double m_columnTotal = 0;
};

std::string Caption(const std::string& pattern, const std::string& text)
{
    std::string caption;
    size_t start = 0;
    for (size_t pos; (pos = pattern.find("%s", start)) != std::string::npos; start = pos + 2) {
        caption.append(pattern, start, pos - start).append(text);
    }
    return caption.append(pattern, start, std::string::npos);
}

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

void SetAggregate(detail::GridRow& row, int column, Aggregate aggregate)
{
    row.SetText(column, std::move(aggregate.text));
    if (aggregate.value || size_t(column) < row.formats.size()) {
        row.FormatFor(column).value = aggregate.value;
    }
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

void FlexGrid::Subtotal(SubtotalFunction function, int groupOn, std::optional<int> totalOn,
                        std::optional<std::string> caption, int matchFrom)
{
    const NotifyOnExit notify(*this, GridChange::Rows);
    if (function == SubtotalFunction::Clear) {
        ClearSubtotals();
        return;
    }
    auto& impl = *m_impl;
    impl.CheckCol(groupOn);
    impl.CheckCol(matchFrom);
    if (function != SubtotalFunction::None) {
        if (!totalOn) {
            detail::RaiseBadValue("A subtotal with an aggregate needs its total column");
        }
        impl.CheckCol(*totalOn);
    }
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
            auto& made = inserts.emplace_back(place.insertAt, detail::GridRow{}).second;
            made.node = true;
            made.subtotalGroup = groupOn;
            made.subtotalMatchFrom = matchFrom;
            made.outlineLevel = groupOn;
            made.SetText(impl.outlineCol,
                         Caption(pattern, impl.rows[size_t(group.first)].Text(groupOn)));
            row = &made;
        }
        if (function != SubtotalFunction::None) {
            SetAggregate(*row, *totalOn, aggregator.Of(group));
        }
    }
    if (inserts.empty()) {
        return;
    }
    // One pass builds the new row order; inserts are in row order already.
    std::vector<detail::GridRow> merged;
    merged.reserve(impl.rows.size() + inserts.size());
    size_t next = 0;
    for (int r = 0; r < impl.RowCount(); ++r) {
        while (next < inserts.size() && inserts[next].first == r) {
            merged.push_back(std::move(inserts[next++].second));
        }
        merged.push_back(std::move(impl.rows[size_t(r)]));
    }
    impl.rows = std::move(merged);
    impl.Invalidate();
    impl.ClampCursor();
}

} // namespace platform::forms
