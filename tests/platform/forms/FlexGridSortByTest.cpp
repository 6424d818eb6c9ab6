#include "FlexGridTestSupport.h"

#include <cstdint>
#include <functional>

namespace {

using namespace platform::forms;
using gridtest::Dump;
using gridtest::Fill;
using gridtest::VisibleRows;

// What a column holds: each kind draws its texts from a pool with ties, empty cells and texts
// that equal others but for letter case or form ("1" and "1,0", two forms of one date).
enum class Kind
{
    Text,
    Number,
    Date,
    Count
};

const std::vector<std::string>& Pool(Kind kind, bool english)
{
    static const std::vector<std::string> text = {"Nord", "nord", "NORD",  "Süd",   "SÜD", "süd",
                                                  "Ost",  "",     "Äpfel", "apfel", " Ost"};
    static const std::vector<std::string> numberDe = {"1",   "1,0", "01", "2",   "",  "abc",
                                                      "ABC", "10",  " 1", "1,5", "-3"};
    static const std::vector<std::string> numberEn = {"1",   "1.0", "01", "2",   "",  "abc",
                                                      "ABC", "10",  " 1", "1.5", "-3"};
    static const std::vector<std::string> dateDe = {
        "03.02.2026",       "3.2.2026",       "",           "15.01.2026",
        "03.02.2026 10:00", "kein Datum",     "Kein Datum", "3. Februar 2026",
        "3. FEBRUAR 2026",  "3. februar 2026"};
    static const std::vector<std::string> dateEn = {
        "2/3/2026",          "02/03/2026",      "",        "1/15/2026",
        "2/3/2026 10:00 AM", "no date",         "No date", "February 3, 2026",
        "FEBRUARY 3, 2026",  "february 3, 2026"};
    static const std::vector<std::string> count = {"5", "", "10", "7", "5", "07"};
    switch (kind) {
    case Kind::Text:
        return text;
    case Kind::Number:
        return english ? numberEn : numberDe;
    case Kind::Date:
        return english ? dateEn : dateDe;
    case Kind::Count:
        break;
    }
    return count;
}

int TypeOf(Kind kind)
{
    switch (kind) {
    case Kind::Text:
        return ColumnType::String;
    case Kind::Number:
        return ColumnType::Double;
    case Kind::Date:
        return ColumnType::Date;
    case Kind::Count:
        break;
    }
    return ColumnType::Long;
}

struct Column
{
    Kind kind;
    ColumnSort order;
};

struct Case
{
    const char* name;
    bool english;
    std::vector<Column> groups; // columns 1 on
    std::vector<Column> sorts;  // the columns after them; then one column of amounts
};

class FlexGridSortByTest : public FlexGridFixture
{
protected:
    static constexpr int kRows = 90;

    // The same rows in a fresh grid every time: the columns of the case filled from their
    // pools by a fixed sequence, so that ties, case variants and empty cells interleave.
    static void FillCase(FlexGrid& grid, const Case& c)
    {
        std::vector<Column> columns = c.groups;
        columns.insert(columns.end(), c.sorts.begin(), c.sorts.end());
        std::vector<std::string> header;
        for (size_t i = 0; i < columns.size(); ++i) {
            header.push_back("k" + std::to_string(i));
        }
        header.push_back("Amount");
        // Amounts that tie as numbers in different texts, so that a maximum shows which row
        // the pass met first.
        static const std::vector<std::string> amountsDe = {"1", "5", "5,0", "05", "", "0,1", "2,5"};
        static const std::vector<std::string> amountsEn = {"1", "5", "5.0", "05", "", "0.1", "2.5"};
        std::uint32_t seed = 12345;
        std::vector<std::vector<std::string>> rows;
        for (int r = 0; r < kRows; ++r) {
            std::vector<std::string> row;
            for (const Column& column : columns) {
                seed = seed * 1103515245u + 12345u;
                const auto& pool = Pool(column.kind, c.english);
                row.push_back(pool[(seed >> 16) % pool.size()]);
            }
            seed = seed * 1103515245u + 12345u;
            const auto& amounts = c.english ? amountsEn : amountsDe;
            row.push_back(amounts[(seed >> 16) % amounts.size()]);
            rows.push_back(row);
        }
        Fill(grid, header, rows);
        for (size_t i = 0; i < columns.size(); ++i) {
            grid.SetColDataType(int(i) + 1, TypeOf(columns[i].kind));
        }
        grid.SetColDataType(int(columns.size()) + 1, ColumnType::Double);
    }

    // Every group level sums the amounts and shows their maximum, under a grand total.
    static std::vector<SubtotalRequest> Requests(const Case& c)
    {
        const int amount = int(c.groups.size() + c.sorts.size()) + 1;
        std::vector<SubtotalRequest> requests;
        for (size_t g = 0; g < c.groups.size(); ++g) {
            requests.push_back({SubtotalFunction::Sum, int(g) + 1, amount, "%s", 1});
            requests.push_back({SubtotalFunction::Max, int(g) + 1, amount, "%s", 1});
        }
        requests.push_back({SubtotalFunction::Sum, 0, amount, "Total %s", 0});
        return requests;
    }

    static void SortByColumns(FlexGrid& grid, int first, const std::vector<Column>& columns)
    {
        if (columns.empty()) {
            return;
        }
        for (size_t i = 0; i < columns.size(); ++i) {
            grid.SetColSort(first + int(i), columns[i].order);
        }
        grid.Select(grid.FixedRows(), first, grid.FixedRows(), first + int(columns.size()) - 1);
        grid.Sort(SortSetting::UseColSort);
    }

    // The rows as two sorts leave them: by the group columns, then subtotals, then by the
    // other columns inside the groups. The one sort must match it in every text and row.
    static void TwoSorts(FlexGrid& grid, const Case& c)
    {
        SortByColumns(grid, 1, c.groups);
        if (!c.groups.empty()) {
            grid.Subtotals(Requests(c));
        }
        SortByColumns(grid, int(c.groups.size()) + 1, c.sorts);
    }

    static void OneSort(FlexGrid& grid, const Case& c)
    {
        std::vector<SortKey> keys;
        int col = 1;
        for (const Column& column : c.groups) {
            keys.push_back({col++, column.order});
        }
        for (const Column& column : c.sorts) {
            keys.push_back({col++, column.order});
        }
        if (c.groups.empty()) {
            grid.SortBy(keys);
        } else {
            grid.SortBy(keys, int(c.groups.size()), Requests(c));
        }
    }

    // Every row: its kind and level, its texts and the number of the data row it is.
    static std::vector<std::string> Lines(const FlexGrid& grid)
    {
        std::vector<std::string> lines = Dump(grid, {0});
        const std::vector<int> rows = VisibleRows(grid);
        for (size_t i = 0; i < lines.size() && i < rows.size(); ++i) {
            for (int c = 1; c < grid.Cols(); ++c) {
                lines[i] += "|" + grid.TextMatrix(grid.FixedRows() + int(i), c);
            }
            lines[i] += " #" + std::to_string(rows[i]);
        }
        return lines;
    }
};

TEST_F(FlexGridSortByTest, OneSortLeavesTheRowsAsGroupSortThenSortInsideGroups)
{
    constexpr auto up = ColumnSort::Ascending;
    constexpr auto down = ColumnSort::Descending;
    const Case cases[] = {
        {"text groups, numbers as text inside", false, {{Kind::Text, up}}, {{Kind::Number, up}}},
        {"numbers descending, then texts; dates and texts inside",
         false,
         {{Kind::Number, down}, {Kind::Text, up}},
         {{Kind::Date, up}, {Kind::Text, down}}},
        {"date groups, counts and texts inside",
         false,
         {{Kind::Date, up}},
         {{Kind::Count, down}, {Kind::Text, up}}},
        {"English dates descending, then numbers",
         true,
         {{Kind::Date, down}, {Kind::Number, up}},
         {{Kind::Text, up}}},
        {"three English levels, three sort columns",
         true,
         {{Kind::Text, down}, {Kind::Date, up}, {Kind::Number, down}},
         {{Kind::Count, up}, {Kind::Number, down}, {Kind::Date, down}}},
        {"groups only", false, {{Kind::Text, up}, {Kind::Count, down}}, {}},
        {"no groups", false, {}, {{Kind::Number, down}, {Kind::Text, up}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        platform::locale::SetCurrent(c.english ? "en-US" : "de-DE");
        FlexGrid twice, once;
        FillCase(twice, c);
        FillCase(once, c);
        TwoSorts(twice, c);
        OneSort(once, c);
        ASSERT_EQ(Lines(once), Lines(twice));
    }
}

TEST_F(FlexGridSortByTest, KeysOfNoOrderTakeNoPart)
{
    FlexGrid grid;
    Fill(grid, {"Region", "Amount"},
         {{"Süd", "3"}, {"Nord", "1"}, {"Süd", "1"}, {"Nord", "2"}, {"Ost", "1"}});
    grid.SetColDataType(2, ColumnType::Long);
    grid.SortBy({{1, ColumnSort::None}, {2, ColumnSort::Descending}}, 1);
    EXPECT_EQ(VisibleRows(grid), (std::vector<int>{1, 4, 2, 3, 5}));
}

// A key column among the texts that define a group moves whole groups, as Sort() after the
// subtotals does.
TEST_F(FlexGridSortByTest, KeyInsideTheGroupTextsMovesGroupsAsSortDoes)
{
    const std::vector<std::vector<std::string>> rows = {
        {"Nord", "2", "Kiel"}, {"Süd", "1", "Ulm"}, {"Nord", "1", "Kiel"},
        {"Nord", "3", "Bonn"}, {"Süd", "2", "Ulm"}, {"Nord", "1", "Bonn"},
    };
    const std::vector<SubtotalRequest> requests = {
        {SubtotalFunction::Sum, 1, 2, "%s", 1},
        {SubtotalFunction::Sum, 3, 2, "%s", 1},
    };
    FlexGrid twice, once;
    for (FlexGrid* grid : {&twice, &once}) {
        Fill(*grid, {"Region", "Amount", "City"}, rows);
        grid->SetColDataType(2, ColumnType::Long);
    }
    twice.SetColSort(1, ColumnSort::Ascending);
    twice.SetColSort(3, ColumnSort::Descending);
    twice.Select(1, 1, 1, 3);
    twice.Sort(SortSetting::UseColSort);
    twice.Subtotals(requests);
    twice.SetColSort(1, ColumnSort::None);
    twice.SetColSort(3, ColumnSort::None);
    twice.SetColSort(2, ColumnSort::Descending);
    twice.Select(1, 2);
    twice.Sort(SortSetting::UseColSort);
    once.SortBy(
        {{1, ColumnSort::Ascending}, {3, ColumnSort::Descending}, {2, ColumnSort::Descending}}, 2,
        requests);
    EXPECT_EQ(Lines(once), Lines(twice));
}

// A grand total alone: the sort inside its one group has no group keys beside its own.
TEST_F(FlexGridSortByTest, GrandTotalAloneSortsAllRowsAsSortAfterItDoes)
{
    const Case c = {"",
                    false,
                    {},
                    {{Kind::Number, ColumnSort::Descending}, {Kind::Text, ColumnSort::Ascending}}};
    const int amount = 3;
    const std::vector<SubtotalRequest> total = {{SubtotalFunction::Sum, 0, amount, "Total %s", 0}};
    FlexGrid twice, once;
    FillCase(twice, c);
    FillCase(once, c);
    twice.Subtotals(total);
    SortByColumns(twice, 1, c.sorts);
    once.SortBy({{1, ColumnSort::Descending}, {2, ColumnSort::Ascending}}, 0, total);
    EXPECT_EQ(Lines(once), Lines(twice));
}

TEST_F(FlexGridSortByTest, WithAnOutlineRowsMoveAsSortMovesThem)
{
    const Case c = {"", false, {{Kind::Text, ColumnSort::Ascending}}, {}};
    FlexGrid bySort, byKeys;
    for (FlexGrid* grid : {&bySort, &byKeys}) {
        FillCase(*grid, c);
        SortByColumns(*grid, 1, c.groups);
        grid->Subtotals(Requests(c));
    }
    bySort.SetColSort(2, ColumnSort::Descending);
    bySort.Select(1, 2);
    bySort.Sort(SortSetting::UseColSort);
    byKeys.SortBy({{2, ColumnSort::Descending}});
    EXPECT_EQ(Lines(byKeys), Lines(bySort));
}

TEST_F(FlexGridSortByTest, BadArgumentsRaiseAndLeaveTheRows)
{
    FlexGrid grid;
    Fill(grid, {"Region", "Amount"}, {{"Süd", "1"}, {"Nord", "2"}});
    const std::vector<SortKey> keys = {{1, ColumnSort::Ascending}};
    const std::vector<SubtotalRequest> sum = {{SubtotalFunction::Sum, 1, 2, "%s", 1}};
    const struct
    {
        std::function<void()> call;
        int error;
    } cases[] = {
        {[&] { grid.SortBy(keys, 2); }, 380},
        {[&] { grid.SortBy(keys, -1); }, 380},
        {[&] {
             grid.SortBy({{5, ColumnSort::Ascending}});
         },
         381},
        {[&] {
             grid.SortBy(keys, 1, {{SubtotalFunction::Clear, 1, std::nullopt, std::nullopt, 1}});
         },
         380},
        {[&] {
             grid.SortBy(keys, 1, {sum[0], {SubtotalFunction::Sum, 1, 9, "%s", 1}});
         },
         381},
        {[&] {
             grid.SortBy(keys, 1, {{SubtotalFunction::Max, 1, std::nullopt, "%s", 1}});
         },
         380},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(gridtest::RaisedNumber(c.call), c.error);
        EXPECT_EQ(Lines(grid), (std::vector<std::string>{"D |Süd|1 #1", "D |Nord|2 #2"}));
    }
}

} // namespace
