// The grid keeps what its cells read as beside their texts: every aggregate must come out as
// if each text were read afresh in the locale and column type of the moment.
#include "FlexGridTestSupport.h"

#include "platform/forms/detail/Aggregates.h"
#include "platform/forms/detail/CellValues.h"

#include <cmath>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace platform::forms;
using platform::forms::detail::AggregateNumber;
using platform::forms::detail::FormatNumber;

constexpr int kGroup = 1, kAmount = 2, kMinutes = 3, kDate = 4, kZero = 5;

// Per row: group, amount (numbers among texts and empty cells), minutes (durations past a
// day, and a duration written as hours), a date (with and without a time), a column that
// totals zero. The numbers and dates are written in the form of the locale they belong to.
struct LocaleCase
{
    const char* locale;
    std::vector<std::vector<std::string>> rows;
};

const LocaleCase kCases[] = {
    {"de-DE",
     {{"A", "10,5", "1530", "03.02.2026", "0"},
      {"A", "", "2880", "15.01.2026 14:30", "-0"},
      {"A", "offen", "25:30", "", "5"},
      {"A", "1.000", "", "bald", "-5"},
      {"B", "-2,25", "45", "29.02.2024", ""},
      {"B", "7.5", "1441", "01.12.2025 00:15", "x"},
      {"C", "", "", "", ""},
      {"D", "3", "0", "31.12.2025 23:59", "0,0"}}},
    {"en-US",
     {{"A", "10.5", "1530", "2/3/2026", "0"},
      {"A", "", "2880", "1/15/2026 2:30 PM", "-0"},
      {"A", "open", "25:30", "", "5"},
      {"A", "1,000", "", "soon", "-5"},
      {"B", "-2.25", "45", "2/29/2024", ""},
      {"B", "7,5", "1441", "12/1/2025 12:15 AM", "x"},
      {"C", "", "", "", ""},
      {"D", "3", "0", "12/31/2025 11:59 PM", "0.0"}}},
};

const SubtotalFunction kFunctions[] = {SubtotalFunction::Sum,     SubtotalFunction::Count,
                                       SubtotalFunction::Average, SubtotalFunction::Max,
                                       SubtotalFunction::Min,     SubtotalFunction::Percent};

// One subtotal cell: its text and the number ValueMatrix gives.
struct Total
{
    std::string text;
    double value = 0;
    bool operator==(const Total& other) const { return text == other.text && value == other.value; }
};

std::ostream& operator<<(std::ostream& out, const Total& total)
{
    return out << '"' << total.text << "\" " << total.value;
}

// The totals as the grid computed them before it kept typed values: every text of the data
// rows read as it stands, group by group, the grand total first.
std::vector<Total> TextTotals(const std::vector<std::vector<std::string>>& rows,
                              SubtotalFunction function, int col, int type)
{
    auto number = [&](size_t r) { return AggregateNumber(rows[r][size_t(col - 1)], type); };
    double columnTotal = 0;
    for (size_t r = 0; r < rows.size(); ++r) {
        columnTotal += number(r).value_or(0.0);
    }
    auto totalOf = [&](size_t from, size_t to) {
        double sum = 0;
        int numbers = 0, cells = 0;
        std::optional<size_t> extreme;
        for (size_t r = from; r < to; ++r) {
            if (rows[r][size_t(col - 1)].empty()) {
                continue;
            }
            ++cells;
            const auto n = number(r);
            if (!n) {
                continue;
            }
            ++numbers;
            sum += *n;
            if (!extreme || (function == SubtotalFunction::Max ? *n > *number(*extreme)
                                                               : *n < *number(*extreme))) {
                extreme = r;
            }
        }
        auto of = [](double v) { return Total{FormatNumber(v), v}; };
        switch (function) {
        case SubtotalFunction::Sum:
            return of(sum);
        case SubtotalFunction::Count:
            return of(cells);
        case SubtotalFunction::Average:
            return numbers == 0 ? Total{} : of(sum / numbers);
        case SubtotalFunction::Percent:
            return columnTotal == 0 ? Total{} : of(sum / columnTotal * 100.0);
        default:
            return extreme ? Total{rows[*extreme][size_t(col - 1)], *number(*extreme)} : Total{};
        }
    };
    std::vector<Total> totals{totalOf(0, rows.size())};
    for (size_t start = 0; start < rows.size();) {
        size_t end = start;
        while (end < rows.size() && rows[end][0] == rows[start][0]) {
            ++end;
        }
        totals.push_back(totalOf(start, end));
        start = end;
    }
    return totals;
}

class FlexGridTypedValuesTest : public FlexGridFixture
{
protected:
    void Load(const LocaleCase& c)
    {
        platform::locale::SetCurrent(c.locale);
        grid.Subtotal(SubtotalFunction::Clear);
        gridtest::Fill(grid, {"Group", "Amount", "Minutes", "Date", "Zero"}, c.rows);
        grid.SetColDataType(kAmount, ColumnType::Double);
        grid.SetColDataType(kMinutes, ColumnType::Long);
        grid.SetColDataType(kDate, ColumnType::Date);
        grid.SetColDataType(kZero, ColumnType::Double);
    }

    // The subtotal cells of col top to bottom, after one level and the grand total, made in
    // one batch (inOnePass) or one call at a time.
    std::vector<Total> GridTotals(SubtotalFunction function, int col, bool inOnePass)
    {
        grid.Subtotal(SubtotalFunction::Clear);
        if (inOnePass) {
            grid.Subtotals({{function, kGroup, col, std::string("%s"), kGroup},
                            {function, 0, col, std::string("Total %s"), 0}});
        } else {
            grid.Subtotal(function, kGroup, col, "%s", kGroup);
            grid.Subtotal(function, 0, col, "Total %s", 0);
        }
        std::vector<Total> totals;
        for (int r = grid.FixedRows(); r < grid.Rows(); ++r) {
            if (grid.IsSubtotal(r)) {
                totals.push_back({grid.TextMatrix(r, col), grid.ValueMatrix(r, col)});
            }
        }
        return totals;
    }

    // Every function on every value column, both ways, against the texts read afresh.
    void ExpectTotalsOfTexts(const std::vector<std::vector<std::string>>& rows)
    {
        for (const int col : {kAmount, kMinutes, kDate, kZero}) {
            for (const SubtotalFunction function : kFunctions) {
                SCOPED_TRACE("column " + std::to_string(col) + " function " +
                             std::to_string(int(function)));
                const auto expected = TextTotals(rows, function, col, grid.ColDataType(col));
                EXPECT_EQ(GridTotals(function, col, true), expected);
                EXPECT_EQ(GridTotals(function, col, false), expected);
            }
        }
    }

    FlexGrid grid;
};

TEST_F(FlexGridTypedValuesTest, TotalsEqualThoseOfTheTextsInBothLocales)
{
    for (const LocaleCase& c : kCases) {
        SCOPED_TRACE(c.locale);
        Load(c);
        ExpectTotalsOfTexts(c.rows);
    }
}

TEST_F(FlexGridTypedValuesTest, HandComputedTotalsOfDurationsDatesAndAZeroColumn)
{
    Load(kCases[0]);
    // Minutes past a day add up as numbers; "25:30" is no number of minutes.
    EXPECT_EQ(
        GridTotals(SubtotalFunction::Sum, kMinutes, true),
        (std::vector<Total>{{"5896", 5896}, {"4410", 4410}, {"1486", 1486}, {"0", 0}, {"0", 0}}));
    // The latest date keeps its own text and time.
    const auto latest = GridTotals(SubtotalFunction::Max, kDate, true);
    ASSERT_EQ(latest.size(), 5u);
    EXPECT_EQ(latest[0].text, "03.02.2026");
    EXPECT_EQ(latest[2].text, "01.12.2025 00:15");
    EXPECT_DOUBLE_EQ(latest[2].value, 45992.0 + 15.0 / 1440.0);
    // A column that totals zero has no shares: the cells stay empty, their value 0.
    for (const Total& share : GridTotals(SubtotalFunction::Percent, kZero, true)) {
        EXPECT_EQ(share, Total{});
    }
}

TEST_F(FlexGridTypedValuesTest, ValuesAreReadAgainAfterTheLocaleOrTheTypeOrTheTextChanges)
{
    Load(kCases[0]);
    ExpectTotalsOfTexts(kCases[0].rows);
    // The same German texts read in English: "10,5" is no number there, "1.000" is one.
    platform::locale::SetCurrent("en-US");
    ExpectTotalsOfTexts(kCases[0].rows);
    platform::locale::SetCurrent("de-DE");

    // The dates read as texts once the column holds numbers.
    grid.SetColDataType(kDate, ColumnType::Double);
    ExpectTotalsOfTexts(kCases[0].rows);
    grid.SetColDataType(kDate, ColumnType::Date);

    // A written text replaces what the cell read as, and the exact value of an aggregate.
    auto rows = kCases[0].rows;
    grid.Subtotal(SubtotalFunction::Clear);
    grid.SetTextMatrix(1, kAmount, "99");
    grid.SetTextMatrix(5, kDate, "02.03.2027");
    rows[0][kAmount - 1] = "99";
    rows[4][kDate - 1] = "02.03.2027";
    ExpectTotalsOfTexts(rows);
    GridTotals(SubtotalFunction::Average, kAmount, true);
    ASSERT_TRUE(grid.IsSubtotal(1));
    grid.SetTextMatrix(1, kAmount, "1,25");
    EXPECT_EQ(grid.ValueMatrix(1, kAmount), 1.25);
}

TEST_F(FlexGridTypedValuesTest, SortsByTheValuesOfTheLocaleOfTheMoment)
{
    Load(kCases[0]);
    grid.SetColSort(kAmount, ColumnSort::Ascending);
    grid.Select(1, kAmount);
    grid.Sort(SortSetting::UseColSort);
    // Empty cells first, then the numbers, then the texts.
    EXPECT_EQ(gridtest::Dump(grid, {kAmount}),
              (std::vector<std::string>{"D ", "D ", "D -2,25", "D 3", "D 10,5", "D 1.000", "D 7.5",
                                        "D offen"}));
    platform::locale::SetCurrent("en-US");
    grid.Sort(SortSetting::UseColSort);
    EXPECT_EQ(gridtest::Dump(grid, {kAmount}),
              (std::vector<std::string>{"D ", "D ", "D 1.000", "D 3", "D 7.5", "D -2,25", "D 10,5",
                                        "D offen"}));
}

} // namespace
