#include "FlexGridTestSupport.h"

namespace {

using namespace platform::forms;
using gridtest::Dump;
using gridtest::Fill;
using gridtest::VisibleRows;

constexpr int kRegion = 1, kCity = 2, kAmount = 3, kDate = 4;

class FlexGridSortTest : public FlexGridFixture
{
protected:
    void SetUp() override
    {
        FlexGridFixture::SetUp();
        Fill(grid, {"Region", "City", "Amount", "Date"},
             {
                 {"Nord", "Kiel", "10", "03.02.2026"},
                 {"Nord", "Kiel", "", ""},
                 {"Nord", "Kiel", "5", "15.01.2026"},
                 {"Nord", "Bremen", "1", ""},
                 {"Süd", "München", "20", "01.12.2025"},
                 {"Süd", "München", "4", ""},
                 {"Süd", "Passau", "", ""},
             });
        grid.SetColDataType(kAmount, ColumnType::Double);
        grid.SetColDataType(kDate, ColumnType::Date);
    }

    void Subtotals()
    {
        grid.Subtotal(SubtotalFunction::Sum, kRegion, kAmount, "%s", kRegion);
        grid.Subtotal(SubtotalFunction::Sum, kCity, kAmount, "%s", kRegion);
    }

    void SortBy(int col, ColumnSort order)
    {
        for (int c = 0; c < grid.Cols(); ++c) {
            grid.SetColSort(c, c == col ? order : ColumnSort::None);
        }
        grid.Select(grid.FixedRows(), col);
        grid.Sort(SortSetting::UseColSort);
    }

    FlexGrid grid;
};

TEST_F(FlexGridSortTest, DataRowsMoveOnlyInsideTheirInnermostGroup)
{
    struct Case
    {
        int col;
        ColumnSort order;
        std::vector<int> expected; // row data, 0 for a subtotal row
    };
    const Case cases[] = {
        {kAmount, ColumnSort::Ascending, {0, 0, 2, 3, 1, 0, 4, 0, 0, 6, 5, 0, 7}},
        {kAmount, ColumnSort::Descending, {0, 0, 1, 3, 2, 0, 4, 0, 0, 5, 6, 0, 7}},
        // By date, not by the text of the date (which would put 03.02. before 15.01.).
        {kDate, ColumnSort::Ascending, {0, 0, 2, 3, 1, 0, 4, 0, 0, 6, 5, 0, 7}},
        {kDate, ColumnSort::Descending, {0, 0, 1, 3, 2, 0, 4, 0, 0, 5, 6, 0, 7}},
    };
    Subtotals();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.col) + (c.order == ColumnSort::Ascending ? " up" : " down"));
        SortBy(c.col, c.order);
        EXPECT_EQ(VisibleRows(grid), c.expected);
    }
}

TEST_F(FlexGridSortTest, GroupsMoveWholeWhenSortedByTheirGroupColumn)
{
    Subtotals();
    SortBy(kRegion, ColumnSort::Descending);
    const std::vector<std::string> expected = {
        "T1 Süd|24",  "T2 München|24", "D |20", "D |4", "T2 Passau|0", "D |",  "T1 Nord|16",
        "T2 Kiel|15", "D |10",         "D |",   "D |5", "T2 Bremen|1", "D |1",
    };
    EXPECT_EQ(Dump(grid, {0, kAmount}), expected);
}

TEST_F(FlexGridSortTest, InnerGroupsMoveInsideTheirOuterGroup)
{
    Subtotals();
    SortBy(kCity, ColumnSort::Ascending);
    EXPECT_EQ(VisibleRows(grid), (std::vector<int>{0, 0, 4, 0, 1, 2, 3, 0, 0, 5, 6, 0, 7}));
    EXPECT_EQ(grid.TextMatrix(2, 0), "Bremen");
}

TEST_F(FlexGridSortTest, EachDataTypeComparesByItsValues)
{
    struct Case
    {
        int type;
        ColumnSort order;
        std::vector<std::string> texts;
        std::vector<int> expected; // row data after the sort
    };
    const Case cases[] = {
        {ColumnType::Long, ColumnSort::Ascending, {"9", "10", "-1", ""}, {4, 3, 1, 2}},
        {ColumnType::Long, ColumnSort::Descending, {"9", "10", "-1", ""}, {2, 1, 3, 4}},
        {ColumnType::Double, ColumnSort::Ascending, {"1,5", "10", "1,25"}, {3, 1, 2}},
        {ColumnType::Date,
         ColumnSort::Ascending,
         {"03.02.2026", "15.01.2026", "01.12.2025"},
         {3, 2, 1}},
        {ColumnType::Date,
         ColumnSort::Descending,
         {"03.02.2026 9:30", "", "03.02.2026 10:00"},
         {3, 1, 2}},
        {ColumnType::String,
         ColumnSort::Ascending,
         {"birne", "Äpfel", "apfel", "Zitrone"},
         {3, 2, 1, 4}},
        {ColumnType::String, ColumnSort::Ascending, {"b", "A", "a", "B"}, {2, 3, 1, 4}},
        {ColumnType::String, ColumnSort::Descending, {"10", "9", "b"}, {3, 2, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.texts.front() + " type " + std::to_string(c.type));
        FlexGrid list;
        std::vector<std::vector<std::string>> rows;
        for (const auto& t : c.texts) {
            rows.push_back({t});
        }
        Fill(list, {"Value"}, rows);
        list.SetColDataType(1, c.type);
        list.SetColSort(1, c.order);
        list.Select(1, 1);
        list.Sort(SortSetting::UseColSort);
        EXPECT_EQ(VisibleRows(list), c.expected);
    }
}

TEST_F(FlexGridSortTest, ColumnsSortLeftToRightEachInItsOwnOrder)
{
    grid.SetColSort(kRegion, ColumnSort::Ascending);
    grid.SetColSort(kAmount, ColumnSort::Descending);
    grid.Select(1, kRegion, 1, kAmount);
    grid.Sort(SortSetting::UseColSort);
    EXPECT_EQ(VisibleRows(grid), (std::vector<int>{1, 3, 4, 2, 5, 6, 7}));
}

TEST_F(FlexGridSortTest, GenericAscendingPutsNumbersBeforeTexts)
{
    FlexGrid list;
    list.SetCols(1);
    list.SetFixedRows(0);
    list.SetRows(0);
    for (const char* text : {"Kalender", "aufgaben", "Journal", "10", "9"}) {
        list.AddItem(text);
    }
    list.Select(0, 0, 0, list.Cols() - 1);
    list.Sort(SortSetting::GenericAscending);
    std::vector<std::string> texts;
    for (int r = 0; r < list.Rows(); ++r) {
        texts.push_back(list.TextMatrix(r, 0));
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"9", "10", "aufgaben", "Journal", "Kalender"}));
}

TEST_F(FlexGridSortTest, ASelectionOfSeveralRowsSortsOnlyThoseRows)
{
    grid.SetColSort(kAmount, ColumnSort::Ascending);
    grid.Select(1, kAmount, 3, kAmount);
    grid.Sort(SortSetting::UseColSort);
    EXPECT_EQ(VisibleRows(grid), (std::vector<int>{2, 3, 1, 4, 5, 6, 7}));
}

TEST_F(FlexGridSortTest, UnknownSortSettingIsNotSupported)
{
    grid.Select(1, kAmount);
    EXPECT_EQ(gridtest::RaisedNumber([&] { grid.Sort(static_cast<SortSetting>(5)); }), 445);
}

} // namespace
