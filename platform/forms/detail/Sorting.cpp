#include "platform/forms/detail/Sorting.h"

#include "platform/forms/detail/CellValues.h"
#include "platform/forms/detail/SubtotalPass.h"
#include "platform/forms/detail/TextIds.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <numeric>
#include <stdexcept>
#include <string_view>
#include <unordered_map>

namespace platform::forms::detail {
namespace {

// What a cell sorts by: empty cells first, then numbers (and dates) by value, then texts by
// their collation bytes.
struct Key
{
    int cls = 0;
    double number = 0;
    std::string text;
};

Key MakeKey(std::string_view text, int type)
{
    Key key;
    if (text.empty()) {
        return key;
    }
    std::optional<double> number;
    if (type == ColumnType::Date) {
        number = ParseDate(text);
    } else if (IsNumericType(type) || type == ColumnType::Empty) {
        number = ParseNumber(text);
    }
    if (number) {
        key.cls = 1;
        key.number = *number;
    } else {
        key.cls = 2;
        key.text = CollationKey(text);
    }
    return key;
}

int Compare(const Key& a, const Key& b)
{
    if (a.cls != b.cls) {
        return a.cls < b.cls ? -1 : 1;
    }
    if (a.cls == 1) {
        return a.number < b.number ? -1 : a.number > b.number ? 1 : 0;
    }
    return a.cls == 2 ? a.text.compare(b.text) : 0;
}

// The distinct keys of one column met in a pass over rows, each numbered once: numbers and
// dates by the value kept beside the text where one is kept, each distinct text of the others
// read as a number, date or collation key once (texts repeat in a report, so that reading them
// by distinct text costs less than keeping a value for every cell).
class ColumnKeys
{
public:
    ColumnKeys(const FlexGrid::Impl& impl, int col)
        : m_col(col), m_type(impl.cols[size_t(col)].dataType),
          m_typed(m_type == ColumnType::Date || m_type == ColumnType::Empty ||
                  IsNumericType(m_type)),
          m_numberKind(m_type == ColumnType::Date ? TypedValue::Kind::Date
                                                  : TypedValue::Kind::Number)
    {
    }

    // The number of the row's key in this column.
    int IdOf(const GridRow& row)
    {
        const std::string_view text = row.Text(m_col);
        const auto kept = m_typed ? row.cells.Kept(m_col, m_type == ColumnType::Date)
                                  : std::optional<TypedValue>();
        if (kept && kept->kind == m_numberKind) {
            const double number = kept->value;
            const auto [it, added] = m_numbers.try_emplace(number, int(m_keys.size()));
            if (added) {
                m_keys.push_back({1, number, {}});
            }
            return it->second;
        }
        // Neighbouring rows often show the same text (the rows of one group).
        if (m_last >= 0 && text == m_lastText) {
            return m_last;
        }
        const auto [number, added] = m_texts.Insert(text);
        if (added) {
            m_keyOfText.push_back(int(m_keys.size()));
            m_keys.push_back(MakeKey(text, m_type));
        }
        m_lastText = text;
        m_last = m_keyOfText[size_t(number)];
        return m_last;
    }

    // The rank of each key number (0 up to one less than the number of ranks, which is
    // returned): keys that compare equal share a rank.
    int Ranks(std::vector<int>& rank) const
    {
        std::vector<int> byKey(m_keys.size());
        std::iota(byKey.begin(), byKey.end(), 0);
        std::sort(byKey.begin(), byKey.end(),
                  [&](int a, int b) { return Compare(m_keys[size_t(a)], m_keys[size_t(b)]) < 0; });
        rank.assign(m_keys.size(), 0);
        int ranks = 0;
        for (size_t i = 0; i < byKey.size(); ++i) {
            const size_t key = size_t(byKey[i]), before = i > 0 ? size_t(byKey[i - 1]) : 0;
            const bool tie = i > 0 && Compare(m_keys[before], m_keys[key]) == 0;
            rank[key] = tie ? rank[before] : ranks++;
        }
        return ranks;
    }

private:
    int m_col;
    int m_type;
    bool m_typed;
    TypedValue::Kind m_numberKind;
    TextIds m_texts;
    std::vector<int> m_keyOfText; // by the text's number
    std::unordered_map<double, int> m_numbers;
    std::vector<Key> m_keys;
    std::string_view m_lastText; // the last text looked up, and its key's number (-1: none)
    int m_last = -1;
};

// Gives every row first to end - 1 its rank among each column's distinct keys, so that rows
// compare by integers. The rows are read once for all columns: a row's cells lie together, and
// a pass over many rows costs more in reaching them than in reading them. The rank of row r in
// column k goes to out[(r - first) * stride + k]; the result holds each column's number of
// ranks.
std::vector<int> RankRows(const FlexGrid::Impl& impl, int first, int end,
                          const std::vector<int>& cols, int* out, size_t stride)
{
    std::vector<ColumnKeys> columns;
    columns.reserve(cols.size());
    for (int col : cols) {
        columns.emplace_back(impl, col);
    }
    int* at = out;
    for (int r = first; r < end; ++r, at += stride) {
        if (r + kPrefetchRows < end) {
            impl.rows[size_t(r + kPrefetchRows)].cells.Prefetch();
        }
        const GridRow& row = impl.rows[size_t(r)];
        for (size_t k = 0; k < columns.size(); ++k) {
            at[k] = columns[k].IdOf(row);
        }
    }
    std::vector<int> counts(columns.size());
    std::vector<int> rank;
    for (size_t k = 0; k < columns.size(); ++k) {
        counts[k] = columns[k].Ranks(rank);
        at = out + k;
        for (int r = first; r < end; ++r, at += stride) {
            *at = rank[size_t(*at)];
        }
    }
    return counts;
}

struct Item
{
    int row;  // the data row, or the node row of a group
    int stop; // one past the last row of the group (row + 1 for a data row)
    bool group;
    int keyRow;      // the row whose keys stand for the item, -1 for none
    int definedFrom; // the columns whose texts define a group
    int definedTo;
};

class Sorter
{
public:
    Sorter(FlexGrid::Impl& impl, int first, int end, const std::vector<SortColumn>& columns)
        : m_impl(impl), m_first(first), m_columns(columns)
    {
        m_keys.resize(size_t(end - first) * columns.size());
        std::vector<int> cols;
        for (const SortColumn& column : columns) {
            cols.push_back(column.col);
        }
        RankRows(m_impl, first, end, cols, m_keys.data(), columns.size());
        m_order.reserve(size_t(end - first));
        Arrange(first, end);
    }

    std::vector<int> Order() { return std::move(m_order); }

private:
    size_t KeyIndex(int row, size_t k) const
    {
        return size_t(row - m_first) * m_columns.size() + k;
    }

    int CompareRows(int a, int b, const std::vector<size_t>& usable) const
    {
        if (a < 0 || b < 0) {
            return (a < 0 ? 0 : 1) - (b < 0 ? 0 : 1);
        }
        for (size_t k : usable) {
            const int ka = m_keys[KeyIndex(a, k)], kb = m_keys[KeyIndex(b, k)];
            const int c = ka < kb ? -1 : ka > kb ? 1 : 0;
            if (c != 0) {
                return m_columns[k].descending ? -c : c;
            }
        }
        return 0;
    }

    Item MakeItem(int r, int stop) const
    {
        const auto& row = m_impl.rows[size_t(r)];
        if (!row.node) {
            return {r, r + 1, false, r, 0, m_impl.ColCount()};
        }
        const int groupStop = SubtreeEnd(m_impl, r, stop);
        if (row.subtotalGroup < 0) {
            // A node marked by code (a tree row) sorts by its own texts.
            return {r, groupStop, true, r, 0, m_impl.ColCount()};
        }
        int keyRow = -1;
        for (int d = r + 1; d < groupStop && keyRow < 0; ++d) {
            keyRow = m_impl.rows[size_t(d)].node ? -1 : d;
        }
        return {r,
                groupStop,
                true,
                keyRow,
                std::min(row.subtotalMatchFrom, row.subtotalGroup),
                std::max(row.subtotalMatchFrom, row.subtotalGroup)};
    }

    void SortRun(std::vector<Item>::iterator begin, std::vector<Item>::iterator end) const
    {
        // Only the columns that define every item of the run order it, so that the
        // comparison stays a strict weak ordering.
        std::vector<size_t> usable;
        for (size_t k = 0; k < m_columns.size(); ++k) {
            const int col = m_columns[k].col;
            if (std::all_of(begin, end, [&](const Item& item) {
                    return col >= item.definedFrom && col <= item.definedTo;
                })) {
                usable.push_back(k);
            }
        }
        if (usable.empty()) {
            return;
        }
        std::stable_sort(begin, end, [&](const Item& a, const Item& b) {
            return CompareRows(a.keyRow, b.keyRow, usable) < 0;
        });
    }

    void Arrange(int begin, int stop)
    {
        std::vector<Item> items;
        if (begin < stop && !m_impl.rows[size_t(begin)].node) {
            // Data rows come as a run: room for them at once rather than growing row by row.
            items.reserve(size_t(stop - begin));
        }
        for (int r = begin; r < stop;) {
            items.push_back(MakeItem(r, stop));
            r = items.back().stop;
        }
        // Data rows and groups are sorted each among their own kind, run by run.
        for (auto runStart = items.begin(); runStart != items.end();) {
            auto runEnd = std::find_if(runStart, items.end(), [&](const Item& item) {
                return item.group != runStart->group;
            });
            SortRun(runStart, runEnd);
            runStart = runEnd;
        }
        for (const Item& item : items) {
            m_order.push_back(item.row);
            if (item.group) {
                Arrange(item.row + 1, item.stop);
            }
        }
    }

    FlexGrid::Impl& m_impl;
    int m_first;
    const std::vector<SortColumn>& m_columns;
    std::vector<int> m_keys; // per row and sort column: the rank of the row's text
    std::vector<int> m_order;
};

// The order of count rows (numbered from 0) sorted by their rank slots in turn, into
// scratch.order: keyOf(r, slot) is row r's rank in a slot, ranks the number of ranks of each
// slot; rows that tie on every slot keep their order. The keys of a row packed into one number
// sort fastest where they fit; else the rows compare slot by slot. The scratch's memory is
// reused: fresh memory costs more to reach than a sort costs.
template <typename KeyOf>
void SortByRanks(size_t count, const std::vector<int>& ranks, const std::vector<bool>& descending,
                 KeyOf keyOf, SortScratch& scratch)
{
    const size_t width = ranks.size();
    std::vector<int>& order = scratch.order;
    order.resize(count);
    const int placeBits = std::bit_width(count);
    int bits = placeBits;
    for (size_t slot = 0; slot < width; ++slot) {
        bits += std::bit_width(unsigned(std::max(ranks[slot], 1) - 1));
    }
    if (bits <= 64) {
        std::vector<std::uint64_t>& packed = scratch.packed;
        packed.clear();
        packed.reserve(count);
        for (size_t r = 0; r < count; ++r) {
            std::uint64_t key = 0;
            for (size_t slot = 0; slot < width; ++slot) {
                const int top = std::max(ranks[slot], 1) - 1;
                const int rank = keyOf(r, slot);
                key = (key << std::bit_width(unsigned(top))) |
                      std::uint64_t(descending[slot] ? top - rank : rank);
            }
            packed.push_back((key << placeBits) | r);
        }
        std::sort(packed.begin(), packed.end());
        const std::uint64_t place = (std::uint64_t(1) << placeBits) - 1;
        for (size_t i = 0; i < count; ++i) {
            order[i] = int(packed[i] & place);
        }
        return;
    }
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        for (size_t slot = 0; slot < width; ++slot) {
            const int ka = keyOf(size_t(a), slot), kb = keyOf(size_t(b), slot);
            if (ka != kb) {
                return (ka < kb) != descending[slot];
            }
        }
        return a < b;
    });
}

// Puts the rows of a table of `width` ints per row into the order (row i gets row order[i]),
// following the permutation's cycles so that it needs no second table.
void PermuteTable(std::vector<int>& table, size_t width, const std::vector<int>& order)
{
    std::vector<bool> placed(order.size(), false);
    std::vector<int> held(width);
    for (size_t start = 0; start < order.size(); ++start) {
        if (placed[start]) {
            continue;
        }
        std::copy_n(&table[start * width], width, held.begin());
        size_t at = start;
        while (true) {
            placed[at] = true;
            const size_t from = size_t(order[at]);
            if (from == start) {
                std::copy_n(held.begin(), width, &table[at * width]);
                break;
            }
            std::copy_n(&table[from * width], width, &table[at * width]);
            at = from;
        }
    }
}

std::vector<int> ColumnsOf(const std::vector<SortColumn>& columns)
{
    std::vector<int> cols;
    for (const SortColumn& column : columns) {
        cols.push_back(column.col);
    }
    return cols;
}

} // namespace

std::vector<SortColumn> SortColumns(const FlexGrid::Impl& impl, SortSetting setting, int col1,
                                    int col2)
{
    impl.CheckCol(col1);
    impl.CheckCol(col2);
    std::vector<SortColumn> columns;
    for (int c = std::min(col1, col2); c <= std::max(col1, col2); ++c) {
        switch (setting) {
        case SortSetting::GenericAscending:
        case SortSetting::GenericDescending:
            columns.push_back({c, setting == SortSetting::GenericDescending});
            break;
        case SortSetting::UseColSort:
            if (impl.cols[size_t(c)].sort != ColumnSort::None) {
                columns.push_back({c, impl.cols[size_t(c)].sort == ColumnSort::Descending});
            }
            break;
        case SortSetting::None:
            break;
        default:
            RaiseNotSupported("Sort setting " + std::to_string(int(setting)));
        }
    }
    return columns;
}

int SubtreeEnd(const FlexGrid::Impl& impl, int nodeRow, int end)
{
    const int level = impl.rows[size_t(nodeRow)].outlineLevel;
    for (int r = nodeRow + 1; r < end; ++r) {
        const auto& row = impl.rows[size_t(r)];
        if (row.node && row.outlineLevel <= level) {
            return r;
        }
    }
    return end;
}

namespace {

// Keeps first and end inside the grid; false when there is nothing to sort.
bool ClipRange(const FlexGrid::Impl& impl, int& first, int& end,
               const std::vector<SortColumn>& columns)
{
    first = std::max(first, 0);
    end = std::min(end, impl.RowCount());
    return !columns.empty() && end - first >= 2;
}

} // namespace

void PlaceRows(FlexGrid::Impl& impl, int first, const std::vector<int>& order, int base)
{
    std::vector<bool> placed(order.size(), false);
    for (size_t start = 0; start < order.size(); ++start) {
        if (placed[start]) {
            continue;
        }
        GridRow held = std::move(impl.rows[size_t(first) + start]);
        size_t at = start;
        while (true) {
            placed[at] = true;
            const size_t from = size_t(order[at] - base);
            if (from == start) {
                impl.rows[size_t(first) + at] = std::move(held);
                break;
            }
            impl.rows[size_t(first) + at] = std::move(impl.rows[size_t(first) + from]);
            at = from;
        }
    }
    impl.Invalidate();
}

void SortRows(FlexGrid::Impl& impl, int first, int end, const std::vector<SortColumn>& columns)
{
    if (ClipRange(impl, first, end, columns)) {
        PlaceRows(impl, first, Sorter(impl, first, end, columns).Order(), first);
    }
}

void SortFlatRows(FlexGrid::Impl& impl, int first, int end, const std::vector<SortColumn>& columns)
{
    SortFlatRowsKeepingRanks(impl, first, end, columns, {}, true);
}

InnerRanks SortFlatRowsKeepingRanks(FlexGrid::Impl& impl, int first, int end,
                                    const std::vector<SortColumn>& columns,
                                    const std::vector<SortColumn>& innerColumns, bool place)
{
    InnerRanks inner;
    first = std::max(first, 0);
    end = std::min(end, impl.RowCount());
    if (end <= first || (innerColumns.empty() && (columns.empty() || end - first < 2))) {
        return inner;
    }
    // Both sorts' columns in one pass over the rows.
    std::vector<int> cols = ColumnsOf(columns);
    const std::vector<int> innerCols = ColumnsOf(innerColumns);
    cols.insert(cols.end(), innerCols.begin(), innerCols.end());
    const size_t count = size_t(end - first), width = cols.size();
    inner.keys.resize(count * width);
    const std::vector<int> ranks = RankRows(impl, first, end, cols, inner.keys.data(), width);
    if (!columns.empty() && count >= 2) {
        std::vector<bool> descending;
        for (const SortColumn& column : columns) {
            descending.push_back(column.descending);
        }
        const int* keys = inner.keys.data();
        SortByRanks(
            count, std::vector<int>(ranks.begin(), ranks.begin() + std::ptrdiff_t(columns.size())),
            descending, [&](size_t r, size_t slot) { return keys[r * width + slot]; },
            inner.scratch);
        // The inner columns' ranks follow their rows.
        if (!innerColumns.empty()) {
            PermuteTable(inner.keys, width, inner.scratch.order);
        }
        if (place) {
            PlaceRows(impl, first, inner.scratch.order, 0);
        } else {
            inner.placement.swap(inner.scratch.order);
        }
    }
    inner.first = first;
    inner.width = innerColumns.size();
    inner.stride = width;
    inner.offset = columns.size();
    inner.ranks.assign(ranks.begin() + std::ptrdiff_t(columns.size()), ranks.end());
    return inner;
}

void SortInsideRuns(FlexGrid::Impl& impl, const std::vector<int>& starts,
                    const std::vector<SortColumn>& columns, InnerRanks* given)
{
    const bool placed = given == nullptr || given->placement.empty();
    if (starts.empty() || (columns.empty() && placed)) {
        return;
    }
    const int first = starts.front(), end = impl.RowCount();
    const bool useGiven = given != nullptr && given->width == columns.size() &&
                          first >= given->first &&
                          given->keys.size() == size_t(end - given->first) * given->stride;
    if (!placed && (!useGiven || given->placement.size() != size_t(end - given->first))) {
        RaiseBadValue("The rows' order does not fit the rows");
    }
    const size_t count = size_t(std::max(end - first, 0));
    InnerRanks own;
    InnerRanks& table = useGiven ? *given : own;
    std::vector<int>& order = table.scratch.order;
    if (columns.empty() || count < 2) {
        order.resize(count);
        std::iota(order.begin(), order.end(), 0);
    } else {
        if (!useGiven) {
            own.first = first;
            own.width = columns.size();
            own.stride = columns.size() + 1;
            own.offset = 1;
            own.keys.resize(count * own.stride);
            own.ranks =
                RankRows(impl, first, end, ColumnsOf(columns), own.keys.data() + 1, own.stride);
        }
        std::vector<int> ranks(columns.size() + 1, 1);
        std::vector<bool> descending{false};
        for (const SortColumn& column : columns) {
            descending.push_back(column.descending);
        }
        std::copy(table.ranks.begin(), table.ranks.end(), ranks.begin() + 1);
        // The run of each row goes where the table has a slot to spare (the group columns'
        // ranks, no longer needed), else beside it.
        int* keys = table.keys.data() + size_t(first - table.first) * table.stride;
        std::vector<int> runsApart;
        if (table.offset == 0) {
            runsApart.resize(count);
        }
        auto run = [&](size_t r) -> int& {
            return table.offset == 0 ? runsApart[r] : keys[r * table.stride];
        };
        size_t next = 0;
        for (int r = first; r < end; ++r) {
            while (next < starts.size() && starts[next] <= r) {
                ++next;
            }
            run(size_t(r - first)) = int(next) - 1;
        }
        ranks[0] = int(next);
        const size_t stride = table.stride, offset = table.offset;
        SortByRanks(
            count, ranks, descending,
            [&](size_t r, size_t slot) {
                return slot == 0 ? run(r) : keys[r * stride + offset + slot - 1];
            },
            table.scratch);
    }
    if (placed) {
        PlaceRows(impl, first, order, 0);
        return;
    }
    // The rows still stand where they stood before the group sort: one move takes each to
    // its place in both orders.
    std::vector<int>& placement = given->placement;
    const size_t skip = size_t(first - given->first);
    for (size_t i = 0; i < count; ++i) {
        order[i] = placement[skip + size_t(order[i])];
    }
    std::copy(order.begin(), order.begin() + std::ptrdiff_t(count),
              placement.begin() + std::ptrdiff_t(skip));
    PlaceRows(impl, given->first, placement, 0);
    placement.clear();
}

} // namespace platform::forms::detail

namespace platform::forms {

void FlexGrid::Sort(SortSetting setting)
{
    const NotifyOnExit notify(*this, GridChange::Rows);
    if (setting == SortSetting::None || m_impl->RowCount() == 0 || m_impl->ColCount() == 0) {
        return;
    }
    const CellRange s = GetSelection();
    const auto columns = detail::SortColumns(*m_impl, setting, s.col1, s.col2);
    // One selected row stands for every data row, as the report selects one row to sort all.
    const int first = s.row1 == s.row2 ? m_impl->fixedRows : std::max(s.row1, m_impl->fixedRows);
    const int end = s.row1 == s.row2 ? m_impl->RowCount() : s.row2 + 1;
    detail::SortRows(*m_impl, first, end, columns);
}

void FlexGrid::SortBy(const std::vector<SortKey>& keys, int groupKeys,
                      const std::vector<SubtotalRequest>& requests)
{
    const NotifyOnExit notify(*this, GridChange::Rows);
    Impl& impl = *m_impl;
    if (groupKeys < 0 || size_t(groupKeys) > keys.size()) {
        detail::RaiseBadValue("Group keys " + std::to_string(groupKeys) + " of " +
                              std::to_string(keys.size()));
    }
    std::vector<detail::SortColumn> groupColumns, innerColumns;
    for (size_t k = 0; k < keys.size(); ++k) {
        impl.CheckCol(keys[k].col);
        if (keys[k].order != ColumnSort::None) {
            (k < size_t(groupKeys) ? groupColumns : innerColumns)
                .push_back({keys[k].col, keys[k].order == ColumnSort::Descending});
        }
    }
    for (const SubtotalRequest& q : requests) {
        if (q.function == SubtotalFunction::Clear) {
            detail::RaiseBadValue("Clear is no subtotal to sort for");
        }
        detail::CheckSubtotalRequest(impl, q);
    }
    const int first = impl.fixedRows;
    const bool outline = std::any_of(impl.rows.begin() + first, impl.rows.end(),
                                     [](const detail::GridRow& row) { return row.node; });
    if (requests.empty()) {
        groupColumns.insert(groupColumns.end(), innerColumns.begin(), innerColumns.end());
        if (outline) {
            detail::SortRows(impl, first, impl.RowCount(), groupColumns);
        } else {
            detail::SortFlatRows(impl, first, impl.RowCount(), groupColumns);
        }
        return;
    }
    // The pass reads the groups' values in the order the group keys give them and makes its
    // subtotal rows before the data rows move inside their groups, so that every caption,
    // extreme and sum comes out as with a sort after the subtotals. A column inside a group's
    // texts would move whole groups: that sort is Sort()'s.
    const bool inPass =
        !outline && std::none_of(requests.begin(), requests.end(), [&](const SubtotalRequest& q) {
            return std::any_of(innerColumns.begin(), innerColumns.end(), [&](const auto& c) {
                return c.col >= std::min(q.matchFrom, q.groupOn) &&
                       c.col <= std::max(q.matchFrom, q.groupOn);
            });
        });
    if (outline) {
        detail::SortRows(impl, first, impl.RowCount(), groupColumns);
    } else if (!inPass) {
        detail::SortFlatRows(impl, first, impl.RowCount(), groupColumns);
    } else {
        // The inner columns' ranks are read with the group columns', in one pass over the
        // rows; the pass reads the rows in the group order, and they move once, to their
        // places in both orders.
        detail::InnerRanks innerRanks = detail::SortFlatRowsKeepingRanks(
            impl, first, impl.RowCount(), groupColumns, innerColumns, false);
        const bool done = detail::SubtotalInOnePass(
            impl, requests,
            [&](const std::vector<int>& starts) {
                detail::SortInsideRuns(impl, starts, innerColumns, &innerRanks);
            },
            innerRanks.placement.empty() ? nullptr : &innerRanks.placement);
        // A pass that made no subtotal rows had nothing to insert them before.
        if (!innerRanks.placement.empty()) {
            detail::PlaceRows(impl, innerRanks.first, innerRanks.placement, 0);
        }
        if (done) {
            return;
        }
    }
    Subtotals(requests);
    detail::SortRows(impl, first, impl.RowCount(), innerColumns);
}

} // namespace platform::forms
