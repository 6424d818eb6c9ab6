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

// Gives every row first to end - 1 its rank among the column's distinct keys, so that rows
// compare by integers: numbers and dates by the value kept beside the text where one is kept,
// each distinct text of the others read as a number, date or collation key once (texts repeat
// in a report, so that reading them by distinct text costs less than keeping a value for every
// cell). The ranks (0 up to one less than their number, which is the result) go to out, one
// every stride ints.
int RankRows(const FlexGrid::Impl& impl, int first, int end, int col, int* out, size_t stride)
{
    const int type = impl.cols[size_t(col)].dataType;
    const bool typed = type == ColumnType::Date || type == ColumnType::Empty || IsNumericType(type);
    const TypedValue::Kind numberKind =
        type == ColumnType::Date ? TypedValue::Kind::Date : TypedValue::Kind::Number;
    TextIds texts;
    std::vector<int> keyOfText; // by the text's number
    std::unordered_map<double, int> numbers;
    std::vector<Key> keys;
    int* at = out;
    for (int r = first; r < end; ++r, at += stride) {
        const GridRow& row = impl.rows[size_t(r)];
        const std::string_view text = row.Text(col);
        const auto kept =
            typed ? row.cells.Kept(col, type == ColumnType::Date) : std::optional<TypedValue>();
        int id = 0;
        if (kept && kept->kind == numberKind) {
            const double number = kept->value;
            const auto [it, added] = numbers.try_emplace(number, int(keys.size()));
            if (added) {
                keys.push_back({1, number, {}});
            }
            id = it->second;
        } else {
            const auto [number, added] = texts.Insert(text);
            if (added) {
                keyOfText.push_back(int(keys.size()));
                keys.push_back(MakeKey(text, type));
            }
            id = keyOfText[size_t(number)];
        }
        *at = id;
    }
    std::vector<int> byKey(keys.size());
    std::iota(byKey.begin(), byKey.end(), 0);
    std::sort(byKey.begin(), byKey.end(),
              [&](int a, int b) { return Compare(keys[size_t(a)], keys[size_t(b)]) < 0; });
    std::vector<int> rank(keys.size());
    int ranks = 0;
    for (size_t i = 0; i < byKey.size(); ++i) {
        const size_t key = size_t(byKey[i]), before = i > 0 ? size_t(byKey[i - 1]) : 0;
        const bool tie = i > 0 && Compare(keys[before], keys[key]) == 0;
        rank[key] = tie ? rank[before] : ranks++;
    }
    at = out;
    for (int r = first; r < end; ++r, at += stride) {
        *at = rank[size_t(*at)];
    }
    return ranks;
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
        for (size_t k = 0; k < columns.size(); ++k) {
            RankColumn(first, end, k);
        }
        m_order.reserve(size_t(end - first));
        Arrange(first, end);
    }

    std::vector<int> Order() { return std::move(m_order); }

private:
    void RankColumn(int first, int end, size_t k)
    {
        RankRows(m_impl, first, end, m_columns[k].col, &m_keys[KeyIndex(first, k)],
                 m_columns.size());
    }

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

// Sorts rows without an outline by the columns in turn; rows that tie on every column keep
// their order. Given the runs the rows form (a number per row, rising with the rows), the rows
// move only inside their run.
class FlatSorter
{
public:
    FlatSorter(const FlexGrid::Impl& impl, int first, int end,
               const std::vector<SortColumn>& columns, const std::vector<int>* runs = nullptr)
        : m_impl(impl), m_first(first), m_count(size_t(end - first)), m_columns(columns),
          m_runs(runs), m_width(columns.size() + (runs != nullptr ? 1 : 0)),
          m_descending(m_width, false), m_ranks(m_width, 1)
    {
    }

    std::vector<int> Order()
    {
        m_keys.resize(m_count * m_width);
        size_t slot = 0;
        if (m_runs != nullptr) {
            for (size_t r = 0; r < m_count; ++r) {
                m_keys[r * m_width] = (*m_runs)[r];
            }
            m_ranks[slot++] = m_count > 0 ? m_runs->back() + 1 : 1;
        }
        for (const SortColumn& column : m_columns) {
            m_ranks[slot] = std::max(RankRows(m_impl, m_first, m_first + int(m_count), column.col,
                                              &m_keys[slot], m_width),
                                     1);
            m_descending[slot++] = column.descending;
        }
        std::vector<int> order = Sorted();
        for (int& row : order) {
            row += m_first;
        }
        return order;
    }

private:
    int KeyOf(size_t row, size_t slot) const { return m_keys[row * m_width + slot]; }

    // The rows (counted from first) in their sorted order. The keys of a row packed into one
    // number sort fastest where they fit; else the rows compare key by key.
    std::vector<int> Sorted() const
    {
        std::vector<int> order(m_count);
        const int placeBits = std::bit_width(m_count);
        int bits = placeBits;
        for (size_t slot = 0; slot < m_width; ++slot) {
            bits += std::bit_width(unsigned(m_ranks[slot] - 1));
        }
        if (bits <= 64) {
            std::vector<std::uint64_t> packed;
            packed.reserve(m_count);
            for (size_t r = 0; r < m_count; ++r) {
                std::uint64_t key = 0;
                for (size_t slot = 0; slot < m_width; ++slot) {
                    const int rank = KeyOf(r, slot);
                    key = (key << std::bit_width(unsigned(m_ranks[slot] - 1))) |
                          std::uint64_t(m_descending[slot] ? m_ranks[slot] - 1 - rank : rank);
                }
                packed.push_back((key << placeBits) | r);
            }
            std::sort(packed.begin(), packed.end());
            const std::uint64_t place = (std::uint64_t(1) << placeBits) - 1;
            for (size_t i = 0; i < m_count; ++i) {
                order[i] = int(packed[i] & place);
            }
            return order;
        }
        std::iota(order.begin(), order.end(), 0);
        std::sort(order.begin(), order.end(), [&](int a, int b) {
            for (size_t slot = 0; slot < m_width; ++slot) {
                const int ka = KeyOf(size_t(a), slot), kb = KeyOf(size_t(b), slot);
                if (ka != kb) {
                    return (ka < kb) != m_descending[slot];
                }
            }
            return a < b;
        });
        return order;
    }

    const FlexGrid::Impl& m_impl;
    int m_first;
    size_t m_count;
    const std::vector<SortColumn>& m_columns;
    const std::vector<int>* m_runs;
    size_t m_width;                 // key slots per row: the run, if any, and the columns
    std::vector<bool> m_descending; // per slot
    std::vector<int> m_ranks;       // per slot: how many distinct ranks
    std::vector<int> m_keys;        // per row and slot: the row's rank
};

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

// Puts the rows to their sorted places by following the permutation's cycles, so that a sort
// needs no second copy of the rows.
void PlaceRows(FlexGrid::Impl& impl, int first, const std::vector<int>& order)
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
            const size_t from = size_t(order[at] - first);
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

// Keeps first and end inside the grid; false when there is nothing to sort.
bool ClipRange(const FlexGrid::Impl& impl, int& first, int& end,
               const std::vector<SortColumn>& columns)
{
    first = std::max(first, 0);
    end = std::min(end, impl.RowCount());
    return !columns.empty() && end - first >= 2;
}

} // namespace

void SortRows(FlexGrid::Impl& impl, int first, int end, const std::vector<SortColumn>& columns)
{
    if (ClipRange(impl, first, end, columns)) {
        PlaceRows(impl, first, Sorter(impl, first, end, columns).Order());
    }
}

void SortFlatRows(FlexGrid::Impl& impl, int first, int end, const std::vector<SortColumn>& columns)
{
    if (ClipRange(impl, first, end, columns)) {
        PlaceRows(impl, first, FlatSorter(impl, first, end, columns).Order());
    }
}

void SortInsideRuns(FlexGrid::Impl& impl, const std::vector<int>& starts,
                    const std::vector<SortColumn>& columns)
{
    if (columns.empty() || starts.empty()) {
        return;
    }
    const int first = starts.front(), end = impl.RowCount();
    std::vector<int> runs(size_t(end - first));
    size_t next = 0;
    for (int r = first; r < end; ++r) {
        while (next < starts.size() && starts[next] <= r) {
            ++next;
        }
        runs[size_t(r - first)] = int(next) - 1;
    }
    PlaceRows(impl, first, FlatSorter(impl, first, end, columns, &runs).Order());
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
    auto sort = [&](const std::vector<detail::SortColumn>& columns) {
        if (outline) {
            detail::SortRows(impl, first, impl.RowCount(), columns);
        } else {
            detail::SortFlatRows(impl, first, impl.RowCount(), columns);
        }
    };
    if (requests.empty()) {
        groupColumns.insert(groupColumns.end(), innerColumns.begin(), innerColumns.end());
        sort(groupColumns);
        return;
    }
    sort(groupColumns);
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
    if (inPass && detail::SubtotalInOnePass(impl, requests, [&](const std::vector<int>& starts) {
            detail::SortInsideRuns(impl, starts, innerColumns);
        })) {
        return;
    }
    Subtotals(requests);
    detail::SortRows(impl, first, impl.RowCount(), innerColumns);
}

} // namespace platform::forms
