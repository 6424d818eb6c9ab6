// All subtotal levels and the grand total from one read of the rows.
//
// Run one by one, each request finds its groups (runs of data rows with equal texts from the
// match column through the group column), puts its subtotal row directly above the group's
// first data row, below the subtotal rows of lower group columns and above those of higher
// ones, and reuses the row that an earlier request of the same group column made. Starting
// without an outline, the rows so end up as: before each data row, one subtotal row for every
// group column whose group starts there, in the order of the group columns. This pass builds
// exactly that.
#include "platform/forms/detail/SubtotalPass.h"

#include "platform/forms/detail/Aggregates.h"
#include "platform/forms/detail/CellValues.h"
#include "platform/forms/detail/TextIds.h"

#include <algorithm>
#include <numeric>
#include <string_view>

namespace platform::forms::detail {
namespace {

/// A group column and the groups it forms.
struct Level
{
    int groupOn;
    int matchFrom;
    int from, to;            // the columns whose texts define a group
    size_t creator;          // the first request of the column: its caption pattern names the rows
    std::vector<int> starts; // the first data row of each group
};

/// A request with an aggregate and the accumulators of its groups.
struct Total
{
    size_t request;
    size_t level;
    int column;
    size_t slot; // where the row's number of the column stands in the pass
    bool wantMax;
    double columnTotal = 0;
    std::vector<Accumulator> groups;
};

// What the cells of one column read as, by their text: the texts of a report repeat, and a
// text is read once rather than in every row. Values kept before count; new ones are not kept.
class NumbersByText
{
public:
    std::optional<double> Number(const GridRow& row, int column, int type)
    {
        const std::string_view text = row.Text(column);
        if (text.empty() || m_texts.Size() >= kMostTexts ||
            row.cells.Kept(column, type == ColumnType::Date)) {
            return CellNumber(row, column, type, RowTexts::Keep::No);
        }
        // The rows of a group often show the same text one after the other.
        if (m_last >= 0 && text == m_lastText) {
            return m_numbers[size_t(m_last)];
        }
        const auto [number, added] = m_texts.Insert(text);
        if (added) {
            m_numbers.push_back(CellNumber(row, column, type, RowTexts::Keep::No));
        }
        m_lastText = text;
        m_last = number;
        return m_numbers[size_t(number)];
    }

private:
    // A column of ever new texts would only fill the table.
    static constexpr size_t kMostTexts = 1 << 14;
    TextIds m_texts;
    std::vector<std::optional<double>> m_numbers; // by the text's number
    std::string_view m_lastText; // the last text looked up, and its number (-1: none)
    int m_last = -1;
};

class Pass
{
public:
    Pass(FlexGrid::Impl& impl, const std::vector<SubtotalRequest>& requests,
         const std::vector<int>* order)
        : m_impl(impl), m_requests(requests), m_order(order)
    {
    }

    bool Plan()
    {
        if (m_order != nullptr && m_order->size() != size_t(m_impl.RowCount() - m_impl.fixedRows)) {
            return false;
        }
        for (int r = m_impl.fixedRows; r < m_impl.RowCount(); ++r) {
            if (m_impl.rows[size_t(r)].node) {
                return false;
            }
        }
        for (size_t i = 0; i < m_requests.size(); ++i) {
            const SubtotalRequest& q = m_requests[i];
            auto level = std::find_if(m_levels.begin(), m_levels.end(),
                                      [&](const Level& l) { return l.groupOn == q.groupOn; });
            if (level == m_levels.end()) {
                m_levels.push_back({q.groupOn,
                                    q.matchFrom,
                                    std::min(q.matchFrom, q.groupOn),
                                    std::max(q.matchFrom, q.groupOn),
                                    i,
                                    {}});
                level = m_levels.end() - 1;
            } else if (level->matchFrom != q.matchFrom) {
                return false; // the groups of one row would differ between requests
            }
            if (q.function != SubtotalFunction::None) {
                AddTotal(i, size_t(level - m_levels.begin()), *q.totalOn);
            }
        }
        return true;
    }

    void Run(const std::function<void(const std::vector<int>&)>& beforeInsert)
    {
        ReadRows();
        WriteRows(beforeInsert);
    }

private:
    // Where the row read at place r stands.
    int Physical(int r) const
    {
        return m_order == nullptr ? r : m_impl.fixedRows + (*m_order)[size_t(r - m_impl.fixedRows)];
    }
    const GridRow& RowAt(int r) const { return m_impl.rows[size_t(Physical(r))]; }

    void AddTotal(size_t request, size_t level, int column)
    {
        auto slot = std::find(m_slotColumns.begin(), m_slotColumns.end(), column);
        if (slot == m_slotColumns.end()) {
            m_slotColumns.push_back(column);
            slot = m_slotColumns.end() - 1;
        }
        m_totals.push_back({request,
                            level,
                            column,
                            size_t(slot - m_slotColumns.begin()),
                            m_requests[request].function == SubtotalFunction::Max,
                            0,
                            {}});
    }

    // True when the texts of column c are equal in the two rows; asked once per row and column.
    bool SameText(const GridRow& previous, const GridRow& row, int c)
    {
        signed char& known = m_same[size_t(c)];
        if (known < 0) {
            known = EqualIgnoringCase(previous.Text(c), row.Text(c)) ? 1 : 0;
            m_asked.push_back(c);
        }
        return known == 1;
    }

    bool StartsGroup(const GridRow* previous, const GridRow& row, const Level& level)
    {
        if (previous == nullptr) {
            return true;
        }
        for (int c = level.from; c <= level.to; ++c) {
            if (!SameText(*previous, row, c)) {
                return true;
            }
        }
        return false;
    }

    void ReadRows()
    {
        m_same.assign(size_t(m_impl.ColCount()), -1);
        std::vector<std::optional<double>> numbers(m_slotColumns.size());
        std::vector<NumbersByText> known(m_slotColumns.size());
        const GridRow* previous = nullptr;
        for (int r = m_impl.fixedRows; r < m_impl.RowCount(); ++r) {
            // Read in the order of the sort: the rows themselves lie scattered too.
            if (r + 2 * kPrefetchRows < m_impl.RowCount()) {
                __builtin_prefetch(&RowAt(r + 2 * kPrefetchRows));
            }
            if (r + kPrefetchRows < m_impl.RowCount()) {
                RowAt(r + kPrefetchRows).cells.Prefetch();
            }
            const GridRow& row = RowAt(r);
            for (size_t l = 0; l < m_levels.size(); ++l) {
                if (StartsGroup(previous, row, m_levels[l])) {
                    m_levels[l].starts.push_back(r);
                    for (Total& t : m_totals) {
                        if (t.level == l) {
                            t.groups.emplace_back();
                        }
                    }
                }
            }
            for (int c : m_asked) {
                m_same[size_t(c)] = -1;
            }
            m_asked.clear();
            for (size_t s = 0; s < m_slotColumns.size(); ++s) {
                const int c = m_slotColumns[s];
                numbers[s] = known[s].Number(row, c, m_impl.cols[size_t(c)].dataType);
            }
            for (Total& t : m_totals) {
                const auto& number = numbers[t.slot];
                t.columnTotal += number.value_or(0.0);
                if (!row.Text(t.column).empty()) {
                    t.groups.back().Add(number, Physical(r), t.wantMax);
                }
            }
            previous = &row;
        }
    }

    GridRow MakeRow(size_t l, size_t group, int firstRow) const
    {
        const Level& level = m_levels[l];
        const SubtotalRequest& creator = m_requests[level.creator];
        GridRow made = m_impl.NewRow();
        made.node = true;
        made.subtotalGroup = level.groupOn;
        made.subtotalMatchFrom = level.matchFrom;
        made.outlineLevel = level.groupOn;
        made.SetText(m_impl.outlineCol, SubtotalCaption(creator.caption.value_or("%s"),
                                                        RowAt(firstRow).Text(level.groupOn)));
        // The aggregates in the order of the requests, so that a later one on the same
        // column wins as it would one by one.
        for (const Total& t : m_totals) {
            if (t.level == l) {
                const SubtotalFunction function = m_requests[t.request].function;
                SetAggregate(made, t.column,
                             t.groups[group].Result(function, t.columnTotal, m_impl, t.column));
            }
        }
        return made;
    }

    void WriteRows(const std::function<void(const std::vector<int>&)>& beforeInsert)
    {
        size_t added = 0;
        for (const Level& level : m_levels) {
            added += level.starts.size();
        }
        if (added == 0) {
            return;
        }
        std::vector<size_t> order(m_levels.size());
        std::iota(order.begin(), order.end(), size_t(0));
        std::sort(order.begin(), order.end(),
                  [&](size_t a, size_t b) { return m_levels[a].groupOn < m_levels[b].groupOn; });
        // The subtotal rows in their final order, made while every data row stands where the
        // aggregates found it; each remembers the data row it goes above.
        std::vector<std::pair<int, GridRow>> made;
        made.reserve(added);
        std::vector<size_t> next(m_levels.size(), 0);
        for (int r = m_impl.fixedRows; r < m_impl.RowCount(); ++r) {
            for (size_t l : order) {
                const auto& starts = m_levels[l].starts;
                if (next[l] < starts.size() && starts[next[l]] == r) {
                    made.emplace_back(r, MakeRow(l, next[l]++, r));
                }
            }
        }
        if (beforeInsert) {
            std::vector<int> starts;
            for (const auto& [r, row] : made) {
                if (starts.empty() || starts.back() != r) {
                    starts.push_back(r);
                }
            }
            beforeInsert(starts);
        }
        m_impl.InsertRows(std::move(made));
    }

    FlexGrid::Impl& m_impl;
    const std::vector<SubtotalRequest>& m_requests;
    const std::vector<int>* m_order; // the order the rows are read in, or null: as they stand
    std::vector<Level> m_levels;
    std::vector<Total> m_totals;
    std::vector<int> m_slotColumns;
    std::vector<signed char> m_same; // per column: -1 not asked yet, else SameText's answer
    std::vector<int> m_asked;
};

} // namespace

bool SubtotalInOnePass(FlexGrid::Impl& impl, const std::vector<SubtotalRequest>& requests,
                       const std::function<void(const std::vector<int>&)>& beforeInsert,
                       const std::vector<int>* order)
{
    Pass pass(impl, requests, order);
    if (!pass.Plan()) {
        return false;
    }
    pass.Run(beforeInsert);
    impl.Invalidate();
    impl.ClampCursor();
    return true;
}

void CheckSubtotalRequest(const FlexGrid::Impl& impl, const SubtotalRequest& q)
{
    impl.CheckCol(q.groupOn);
    impl.CheckCol(q.matchFrom);
    if (q.function != SubtotalFunction::None) {
        if (!q.totalOn) {
            RaiseBadValue("A subtotal with an aggregate needs its total column");
        }
        impl.CheckCol(*q.totalOn);
    }
}

} // namespace platform::forms::detail
