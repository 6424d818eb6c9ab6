// Average, maximum and minimum over columns that mix numbers, texts and empty cells: only the
// cells that read as numbers (or dates, in a date column) in the user's locale count.
#include "FlexGridTestSupport.h"

#include <string>
#include <vector>

namespace {

using namespace platform::forms;
using gridtest::Fill;

constexpr int kRegion = 1, kValue = 2, kDate = 3;

struct LocaleCase
{
    const char* locale;
    // Per group the cells of the value and the date column, as a person of the locale writes.
    std::vector<std::vector<std::string>> rows;
    // Total, Nord, Süd, West, Ost.
    std::vector<std::string> average, maximum, minimum;
    std::vector<std::string> latestDate, earliestDate;
};

// Nord: the numbers 10, 2.5, -4, 1000 (grouped) and 2000 among texts, a number of the other
// locale's form and empty cells; Süd: texts only; West: empty cells only; Ost: one number.
const LocaleCase kCases[] = {
    {"de-DE",
     {{"Nord", "10", "03.02.2026"},
      {"Nord", "2,5", "offen"},
      {"Nord", "Büro", ""},
      {"Nord", "", "15.01.2026"},
      {"Nord", "-4", "bald"},
      {"Nord", "1.000", ""},
      {"Nord", "n/a", "01.12.2025"},
      {"Nord", "2000", ""},
      {"Nord", "3 Stück", ""},
      {"Nord", "7.5", ""},
      {"Süd", "Büro", "offen"},
      {"Süd", "", ""},
      {"Süd", "offen", "unbekannt"},
      {"West", "", ""},
      {"West", "", ""},
      {"Ost", "-0,5", "29.02.2024"}},
     {"501,333333333333", "601,7", "", "", "-0,5"},
     {"2000", "2000", "", "", "-0,5"},
     {"-4", "-4", "", "", "-0,5"},
     {"03.02.2026", "03.02.2026", "", "", "29.02.2024"},
     {"29.02.2024", "01.12.2025", "", "", "29.02.2024"}},
    {"en-US",
     {{"Nord", "10", "2/3/2026"},
      {"Nord", "2.5", "open"},
      {"Nord", "Office", ""},
      {"Nord", "", "1/15/2026"},
      {"Nord", "-4", "soon"},
      {"Nord", "1,000", ""},
      {"Nord", "n/a", "12/1/2025"},
      {"Nord", "2000", ""},
      {"Nord", "3 pieces", ""},
      {"Nord", "7,5", ""},
      {"Süd", "Office", "open"},
      {"Süd", "", ""},
      {"Süd", "open", "unknown"},
      {"West", "", ""},
      {"West", "", ""},
      {"Ost", "-0.5", "2/29/2024"}},
     {"501.333333333333", "601.7", "", "", "-0.5"},
     {"2000", "2000", "", "", "-0.5"},
     {"-4", "-4", "", "", "-0.5"},
     {"2/3/2026", "2/3/2026", "", "", "2/29/2024"},
     {"2/29/2024", "12/1/2025", "", "", "2/29/2024"}},
};

class FlexGridAggregatesTest : public FlexGridFixture
{
protected:
    void Load(const LocaleCase& c)
    {
        platform::locale::SetCurrent(c.locale);
        grid.Subtotal(SubtotalFunction::Clear); // the previous case's
        Fill(grid, {"Region", "Value", "Date"}, c.rows);
        grid.SetColDataType(kValue, ColumnType::Double);
        grid.SetColDataType(kDate, ColumnType::Date);
    }

    // The report's calls for one level and the grand total, then the aggregate texts of the
    // subtotal rows, top to bottom.
    std::vector<std::string> Totals(SubtotalFunction function, int col)
    {
        grid.Subtotal(SubtotalFunction::Clear);
        grid.Subtotal(function, kRegion, col, "%s", kRegion);
        grid.Subtotal(function, 0, col, "Total %s", 0);
        return gridtest::SubtotalTexts(grid, col);
    }

    FlexGrid grid;
};

TEST_F(FlexGridAggregatesTest, AverageMaximumAndMinimumCountOnlyTheNumbers)
{
    for (const LocaleCase& c : kCases) {
        SCOPED_TRACE(c.locale);
        Load(c);
        EXPECT_EQ(Totals(SubtotalFunction::Average, kValue), c.average);
        EXPECT_DOUBLE_EQ(grid.ValueMatrix(1, kValue), 3008.0 / 6.0);
        EXPECT_DOUBLE_EQ(grid.ValueMatrix(2, kValue), 3008.5 / 5.0);
        EXPECT_EQ(Totals(SubtotalFunction::Max, kValue), c.maximum);
        EXPECT_EQ(Totals(SubtotalFunction::Min, kValue), c.minimum);
        EXPECT_DOUBLE_EQ(grid.ValueMatrix(1, kValue), -4.0);
    }
}

TEST_F(FlexGridAggregatesTest, DateColumnsTakeTheLatestAndEarliestDateAmongTexts)
{
    for (const LocaleCase& c : kCases) {
        SCOPED_TRACE(c.locale);
        Load(c);
        EXPECT_EQ(Totals(SubtotalFunction::Max, kDate), c.latestDate);
        EXPECT_EQ(Totals(SubtotalFunction::Min, kDate), c.earliestDate);
        EXPECT_DOUBLE_EQ(grid.ValueMatrix(1, kDate), 45351.0); // 2024-02-29
    }
}

} // namespace
