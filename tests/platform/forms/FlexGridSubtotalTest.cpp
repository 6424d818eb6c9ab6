#include "FlexGridTestSupport.h"

namespace {

using namespace platform::forms;
using gridtest::Dump;
using gridtest::Fill;

constexpr int kRegion = 1, kCity = 2, kKind = 3, kAmount = 4, kHours = 5, kDate = 6, kZero = 7;

class FlexGridSubtotalTest : public FlexGridFixture
{
protected:
    void SetUp() override
    {
        FlexGridFixture::SetUp();
        Fill(grid, {"Region", "City", "Kind", "Amount", "Hours", "Date"},
             {
                 {"Nord", "Kiel", "A", "10", "2", "03.02.2026"},
                 {"Nord", "Kiel", "B", "", "3", ""},
                 {"Nord", "Kiel", "B", "5", "", "15.01.2026"},
                 {"Nord", "Bremen", "A", "1", "4", ""},
                 {"Süd", "München", "A", "20", "1", "01.12.2025"},
                 {"Süd", "München", "A", "4", "1", ""},
                 {"Süd", "Passau", "C", "", "", ""},
             });
        grid.SetColDataType(kAmount, ColumnType::Double);
        grid.SetColDataType(kHours, ColumnType::Long);
        grid.SetColDataType(kDate, ColumnType::Date);
    }

    // The report's calls: each level from the first group column, then the grand total.
    void TwoLevelsAndTotal(SubtotalFunction function, int totalOn)
    {
        grid.Subtotal(function, kRegion, totalOn, "%s", kRegion);
        grid.Subtotal(function, kCity, totalOn, "%s", kRegion);
        grid.Subtotal(function, 0, totalOn, "Total %s", 0);
    }

    // The aggregate texts of the subtotal rows, top to bottom.
    std::vector<std::string> Totals(int col) const { return gridtest::SubtotalTexts(grid, col); }

    FlexGrid grid;
};

TEST_F(FlexGridSubtotalTest, SubtotalRowsStandAboveTheirGroupsWithTheGrandTotalFirst)
{
    TwoLevelsAndTotal(SubtotalFunction::Sum, kAmount);
    const std::vector<std::string> expected = {
        "T0 Total |40", "T1 Nord|16",  "T2 Kiel|15",  "D |10",     "D |",
        "D |5",         "T2 Bremen|1", "D |1",        "T1 Süd|24", "T2 München|24",
        "D |20",        "D |4",        "T2 Passau|0", "D |",
    };
    EXPECT_EQ(Dump(grid, {0, kAmount}), expected);
}

TEST_F(FlexGridSubtotalTest, EveryFunctionSkipsEmptyCellsAndOtherSubtotalRows)
{
    struct Case
    {
        SubtotalFunction function;
        // Total, Nord, Kiel, Bremen, Süd, München, Passau
        std::vector<std::string> texts;
    };
    const Case cases[] = {
        {SubtotalFunction::Sum, {"40", "16", "15", "1", "24", "24", "0"}},
        {SubtotalFunction::Percent, {"100", "40", "37,5", "2,5", "60", "60", "0"}},
        {SubtotalFunction::Count, {"5", "3", "2", "1", "2", "2", "0"}},
        {SubtotalFunction::Average, {"8", "5,33333333333333", "7,5", "1", "12", "12", ""}},
        {SubtotalFunction::Max, {"20", "10", "10", "1", "20", "20", ""}},
        {SubtotalFunction::Min, {"1", "1", "5", "1", "4", "4", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.function));
        grid.Subtotal(SubtotalFunction::Clear);
        TwoLevelsAndTotal(c.function, kAmount);
        EXPECT_EQ(Totals(kAmount), c.texts);
    }
}

TEST_F(FlexGridSubtotalTest, AggregatesKeepTheirExactValue)
{
    TwoLevelsAndTotal(SubtotalFunction::Average, kAmount);
    EXPECT_DOUBLE_EQ(grid.ValueMatrix(2, kAmount), 16.0 / 3.0); // Nord
    EXPECT_DOUBLE_EQ(grid.ValueMatrix(1, kAmount), 8.0);        // Total
    EXPECT_DOUBLE_EQ(grid.ValueMatrix(4, kAmount), 10.0);       // a data row's own text
}

TEST_F(FlexGridSubtotalTest, DatesAggregateByDateNotByText)
{
    TwoLevelsAndTotal(SubtotalFunction::Max, kDate);
    EXPECT_EQ(Totals(kDate), (std::vector<std::string>{"03.02.2026", "03.02.2026", "03.02.2026", "",
                                                       "01.12.2025", "01.12.2025", ""}));
    grid.Subtotal(SubtotalFunction::Clear);
    TwoLevelsAndTotal(SubtotalFunction::Min, kDate);
    EXPECT_EQ(Totals(kDate).at(1), "15.01.2026");
    EXPECT_DOUBLE_EQ(grid.ValueMatrix(2, kDate), 46037.0); // 2026-01-15
}

TEST_F(FlexGridSubtotalTest, RepeatedCallsForOneGroupColumnAddAggregatesToTheSameRows)
{
    grid.Subtotal(SubtotalFunction::Sum, kRegion, kAmount, "%s", kRegion);
    grid.Subtotal(SubtotalFunction::Sum, kCity, kAmount, "%s", kRegion);
    grid.Subtotal(SubtotalFunction::Sum, kRegion, kHours, "%s", kRegion);
    grid.Subtotal(SubtotalFunction::Count, kCity, kHours, "%s", kRegion);
    const std::vector<std::string> expected = {
        "T1 Nord|16|9",  "T2 Kiel|15|2",  "D |10|2",     "D ||3",           "D |5|",
        "T2 Bremen|1|1", "D |1|4",        "T1 Süd|24|2", "T2 München|24|2", "D |20|1",
        "D |4|1",        "T2 Passau|0|0", "D ||",
    };
    EXPECT_EQ(Dump(grid, {0, kAmount, kHours}), expected);
}

TEST_F(FlexGridSubtotalTest, CountTakesEveryNonEmptyCellAndSumOnlyNumbers)
{
    grid.SetTextMatrix(2, kAmount, "n/a");
    grid.Subtotal(SubtotalFunction::Count, kRegion, kAmount, "%s", kRegion);
    grid.Subtotal(SubtotalFunction::Sum, kRegion, kHours, "%s", kRegion);
    grid.Subtotal(SubtotalFunction::Sum, 0, kAmount, "Total %s", 0);
    EXPECT_EQ(Totals(kAmount), (std::vector<std::string>{"40", "4", "2"}));
}

TEST_F(FlexGridSubtotalTest, ThreeLevelsNestInOrder)
{
    for (int groupOn : {kRegion, kCity, kKind}) {
        grid.Subtotal(SubtotalFunction::Count, groupOn, kAmount, "%s", kRegion);
    }
    const std::vector<std::string> expected = {
        "T1 Nord|3", "T2 Kiel|2",   "T3 A|1", "D |10",       "T3 B|1",   "D |",
        "D |5",      "T2 Bremen|1", "T3 A|1", "D |1",        "T1 Süd|2", "T2 München|2",
        "T3 A|2",    "D |20",       "D |4",   "T2 Passau|0", "T3 C|0",   "D |",
    };
    EXPECT_EQ(Dump(grid, {0, kAmount}), expected);
}

TEST_F(FlexGridSubtotalTest, SubtotalRowsCarryNoRowDataAndTheirGroupColumnAsLevel)
{
    TwoLevelsAndTotal(SubtotalFunction::Sum, kAmount);
    for (int r = 1; r < grid.Rows(); ++r) {
        EXPECT_EQ(grid.RowData(r).IsEmpty(), grid.IsSubtotal(r)) << "row " << r;
    }
    EXPECT_EQ(grid.RowOutlineLevel(1), 0);
    EXPECT_EQ(grid.RowOutlineLevel(2), kRegion);
    EXPECT_EQ(grid.RowOutlineLevel(3), kCity);
}

TEST_F(FlexGridSubtotalTest, GroupsAreRunsOfEqualTextsFromTheMatchColumn)
{
    // Kiel right after Kiel of another region: one run by the city alone, two by both.
    grid.SetTextMatrix(4, kCity, "Kiel");
    grid.SetTextMatrix(5, kCity, "Kiel");
    grid.Subtotal(SubtotalFunction::Count, kCity, kAmount, "%s", kCity);
    EXPECT_EQ(Totals(kAmount), (std::vector<std::string>{"4", "1", "0"}));
    grid.Subtotal(SubtotalFunction::Clear);
    grid.Subtotal(SubtotalFunction::Count, kCity, kAmount, "%s", kRegion);
    EXPECT_EQ(Totals(kAmount), (std::vector<std::string>{"3", "1", "1", "0"}));
}

TEST_F(FlexGridSubtotalTest, GroupTextsCompareWithoutLetterCase)
{
    grid.SetTextMatrix(5, kRegion, "NORD");
    grid.Subtotal(SubtotalFunction::Count, kRegion, kAmount, "%s", kRegion);
    EXPECT_EQ(Totals(kAmount), (std::vector<std::string>{"4", "1"}));
}

TEST_F(FlexGridSubtotalTest, CaptionPatternTakesTheGroupText)
{
    grid.Subtotal(SubtotalFunction::None, kRegion, std::nullopt, "Summe %s:", kRegion);
    EXPECT_EQ(Dump(grid, {0, kAmount}).front(), "T1 Summe Nord:|");
    grid.Subtotal(SubtotalFunction::Clear);
    grid.Subtotal(SubtotalFunction::None, kRegion);
    EXPECT_EQ(Totals(0), (std::vector<std::string>{"Nord", "Süd"}));
    EXPECT_EQ(Totals(kAmount), (std::vector<std::string>{"", ""}));
}

TEST_F(FlexGridSubtotalTest, ClearRemovesEverySubtotalRow)
{
    TwoLevelsAndTotal(SubtotalFunction::Sum, kAmount);
    grid.Subtotal(SubtotalFunction::Clear);
    EXPECT_EQ(grid.Rows(), 8);
    EXPECT_EQ(Dump(grid, {kAmount}),
              (std::vector<std::string>{"D 10", "D ", "D 5", "D 1", "D 20", "D 4", "D "}));
}

TEST_F(FlexGridSubtotalTest, NoDataRowsMakeNoSubtotalRows)
{
    grid.SetRows(1);
    grid.Subtotal(SubtotalFunction::Sum, 0, kAmount, "Total %s", 0);
    EXPECT_EQ(grid.Rows(), 1);
}

TEST_F(FlexGridSubtotalTest, AggregateWithoutTotalColumnIsRefused)
{
    EXPECT_EQ(gridtest::RaisedNumber([&] { grid.Subtotal(SubtotalFunction::Sum, kRegion); }), 380);
    EXPECT_EQ(gridtest::RaisedNumber(
                  [&] { grid.Subtotal(SubtotalFunction::Sum, 40, kAmount, "%s", kRegion); }),
              381);
}

TEST_F(FlexGridSubtotalTest, PercentOfAColumnThatTotalsZeroStaysEmpty)
{
    for (int r = 1; r < grid.Rows(); ++r) {
        grid.SetTextMatrix(r, kAmount, r == 1 ? "5" : r == 2 ? "-5" : "");
    }
    grid.Subtotal(SubtotalFunction::Percent, kRegion, kAmount, "%s", kRegion);
    EXPECT_EQ(Totals(kAmount), (std::vector<std::string>{"", ""}));
}

// Report texts write a 24-hour time with the locale's day-period designator after it where
// the locale's long time has one ("1/4/2027 14:15 PM", "1/4/2027 00:00 AM"); such a cell is
// a date like any other for the aggregates and the sort.
TEST_F(FlexGridSubtotalTest, DateTextsWithATimeAggregateAndSortByTheirMoment)
{
    struct Case
    {
        const char* locale;
        std::vector<std::string> texts; // 14:15, midnight, 09:00, the evening before, noon
    };
    const Case cases[] = {
        {"en-US",
         {"1/4/2027 14:15 PM", "1/4/2027 00:00 AM", "1/4/2027 09:00 AM", "1/3/2027 23:59 PM",
          "1/4/2027 12:00 PM"}},
        {"de-DE",
         {"04.01.2027 14:15", "04.01.2027 00:00", "04.01.2027 09:00", "03.01.2027 23:59",
          "04.01.2027 12:00"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.locale);
        platform::locale::SetCurrent(c.locale);
        FlexGrid list;
        std::vector<std::vector<std::string>> rows;
        for (const auto& t : c.texts) {
            rows.push_back({"x", t});
        }
        Fill(list, {"Group", "Start"}, rows);
        list.SetColDataType(2, ColumnType::Date);
        list.Subtotal(SubtotalFunction::Max, 1, 2, "%s", 1);
        EXPECT_EQ(list.TextMatrix(1, 2), c.texts[0]);
        EXPECT_DOUBLE_EQ(list.ValueMatrix(1, 2), 46391.0 + 14.25 / 24);
        list.Subtotal(SubtotalFunction::Clear);
        list.Subtotal(SubtotalFunction::Min, 1, 2, "%s", 1);
        EXPECT_EQ(list.TextMatrix(1, 2), c.texts[3]);
        list.Subtotal(SubtotalFunction::Clear);
        list.SetColSort(2, ColumnSort::Ascending);
        list.Select(1, 2);
        list.Sort(SortSetting::UseColSort);
        EXPECT_EQ(gridtest::VisibleRows(list), (std::vector<int>{4, 2, 3, 5, 1}));
    }
}

// Everything a subtotal operation leaves behind, row by row: kind, level, row data, and every
// cell's text and value.
std::vector<std::string> Snapshot(const FlexGrid& grid)
{
    std::vector<std::string> lines;
    for (int r = 0; r < grid.Rows(); ++r) {
        std::string line = (grid.IsSubtotal(r) ? "T" : "D") +
                           std::to_string(grid.RowOutlineLevel(r)) + " " +
                           (grid.RowData(r).IsEmpty() ? "-" : "#");
        for (int c = 0; c < grid.Cols(); ++c) {
            line += "|" + grid.TextMatrix(r, c) + "=" + std::to_string(grid.ValueMatrix(r, c));
        }
        lines.push_back(line);
    }
    return lines;
}

// The report asks for every level and the grand total at once; the grid answers in one pass
// over the rows. The result must be the one of the single operations, whatever the columns
// hold: empty cells, texts among numbers, durations of more than a day in minutes, dates with
// and without a time in either locale, and a column that totals 0.
TEST_F(FlexGridSubtotalTest, OnePassGivesWhatTheSingleOperationsGive)
{
    using F = SubtotalFunction;
    struct Case
    {
        const char* name;
        const char* locale;
        std::vector<std::string> dates;
        std::vector<SubtotalRequest> requests;
    };
    const std::vector<std::string> germanDates = {"03.02.2026 14:15", "", "15.01.2026",
                                                  "kein Datum", "01.12.2025 00:00", "",
                                                  "01.12.2025 23:59"};
    const std::vector<std::string> englishDates = {"2/3/2026 14:15 PM", "", "1/15/2026",
                                                   "no date", "12/1/2025 00:00 AM", "",
                                                   "12/1/2025 23:59 PM"};
    auto report = [](F f1, F f2, int on1, int on2) {
        std::vector<SubtotalRequest> q;
        for (int groupOn : {kRegion, kCity, kKind}) {
            q.push_back({f1, groupOn, on1, "%s", kRegion});
            q.push_back({f2, groupOn, on2, "%s", kRegion});
        }
        q.push_back({f1, 0, on1, "Total %s", 0});
        q.push_back({f2, 0, on2, "Total %s", 0});
        return q;
    };
    const Case cases[] = {
        {"sum and average", "de-DE", germanDates, report(F::Sum, F::Average, kAmount, kHours)},
        {"percent and count", "de-DE", germanDates, report(F::Percent, F::Count, kHours, kDate)},
        {"dates de", "de-DE", germanDates, report(F::Max, F::Min, kDate, kDate)},
        {"dates en", "en-US", englishDates, report(F::Max, F::Min, kDate, kDate)},
        {"percent of zero", "de-DE", germanDates, report(F::Percent, F::Sum, kZero, kZero)},
        {"levels out of order, no aggregate",
         "de-DE",
         germanDates,
         {{F::None, kCity, std::nullopt, std::nullopt, kRegion},
          {F::Sum, kRegion, kHours, "R %s", kRegion},
          {F::Max, kCity, kHours, "ignored %s", kRegion},
          {F::Count, 0, kRegion, "Total %s", 0},
          {F::Sum, 0, 0, "Total %s", 0}}},
        {"matching from the group column", "de-DE", germanDates,
         {{F::Sum, kCity, kHours, "%s", kCity}, {F::Average, kKind, kAmount, "%s", kKind}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        platform::locale::SetCurrent(c.locale);
        FlexGrid single, batch;
        for (FlexGrid* g : {&single, &batch}) {
            Fill(*g, {"Region", "City", "Kind", "Amount", "Hours", "Date", "Zero"},
                 {
                     {"Nord", "Kiel", "A", "10", "1500", c.dates[0], "5"},
                     {"Nord", "kiel", "B", "", "3", c.dates[1], "-5"},
                     {"Nord", "Kiel", "B", "5", "", c.dates[2], ""},
                     {"Nord", "Bremen", "A", "1", "6000", c.dates[3], "0"},
                     {"Süd", "München", "A", "20", "n/a", c.dates[4], ""},
                     {"SÜD", "München", "A", "4", "1", c.dates[5], ""},
                     {"Süd", "Passau", "C", "", "", c.dates[6], ""},
                 });
            g->SetColDataType(kAmount, ColumnType::Double);
            g->SetColDataType(kHours, ColumnType::Long);
            g->SetColDataType(kDate, ColumnType::Date);
            g->SetColDataType(kZero, ColumnType::Double);
        }
        for (const SubtotalRequest& q : c.requests) {
            single.Subtotal(q.function, q.groupOn, q.totalOn, q.caption, q.matchFrom);
        }
        batch.Subtotals(c.requests);
        EXPECT_EQ(Snapshot(batch), Snapshot(single));
        EXPECT_GT(batch.Rows(), 8);
    }
}

TEST_F(FlexGridSubtotalTest, OnePassRefusesABadRequestBeforeChangingAnything)
{
    const std::vector<SubtotalRequest> requests = {
        {SubtotalFunction::Sum, kRegion, kAmount, "%s", kRegion},
        {SubtotalFunction::Sum, kCity, -1, "%s", kRegion},
    };
    EXPECT_EQ(gridtest::RaisedNumber([&] { grid.Subtotals(requests); }), 381);
    EXPECT_EQ(grid.Rows(), 8);
}

// Over an outline already there, and across a Clear, the requests run as single operations.
TEST_F(FlexGridSubtotalTest, OnePassOverAnOutlineGivesWhatTheSingleOperationsGive)
{
    grid.Subtotal(SubtotalFunction::Count, kRegion, kAmount, "%s", kRegion);
    const std::vector<SubtotalRequest> requests = {
        {SubtotalFunction::Sum, kCity, kAmount, "%s", kRegion},
    };
    grid.Subtotals(requests);
    EXPECT_EQ(Dump(grid, {0, kAmount}),
              (std::vector<std::string>{"T1 Nord|3", "T2 Kiel|15", "D |10", "D |", "D |5",
                                        "T2 Bremen|1", "D |1", "T1 Süd|2", "T2 München|24",
                                        "D |20", "D |4", "T2 Passau|0", "D |"}));
    grid.Subtotals({
        {SubtotalFunction::Sum, kCity, kHours, "%s", kRegion},
        {SubtotalFunction::Clear, 0, std::nullopt, std::nullopt, 0},
        {SubtotalFunction::Count, kCity, kAmount, "%s", kCity},
        {SubtotalFunction::Sum, kRegion, kHours, "%s", kRegion},
    });
    EXPECT_EQ(Dump(grid, {0, kAmount, kHours}),
              (std::vector<std::string>{"T1 Nord||9", "T2 Kiel|2|", "D |10|2", "D ||3", "D |5|",
                                        "T2 Bremen|1|", "D |1|4", "T1 Süd||2", "T2 München|2|",
                                        "D |20|1", "D |4|1", "T2 Passau|0|", "D ||"}));
}

} // namespace
