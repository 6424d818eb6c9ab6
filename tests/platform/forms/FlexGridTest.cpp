#include "FlexGridTestSupport.h"

#include <functional>
#include <string>
#include <vector>

namespace {

using namespace platform::forms;
using gridtest::Fill;
using gridtest::RaisedNumber;
using gridtest::VisibleRows;

class FlexGridTest : public FlexGridFixture
{
protected:
    void SetUp() override
    {
        FlexGridFixture::SetUp();
        Fill(grid, {"Subject", "Company", "Hidden"},
             {{"Besprechung", "Müller GmbH", "x"},
              {"Angebot", "Schmidt", "needle"},
              {"Rechnung", "MÜLLER AG", ""},
              {"Besprechung", "Meyer", ""}});
    }

    FlexGrid grid;
};

TEST_F(FlexGridTest, FindRowMatchesAsAskedAndAnswersMinusOneWithoutHit)
{
    struct Case
    {
        std::string text;
        std::optional<int> start;
        int col;
        bool caseSensitive, whole;
        int expected;
    };
    const Case cases[] = {
        {"müller", std::nullopt, 2, false, false, 1}, // part of the text, any case
        {"müller", 2, 2, false, false, 3},            // from a later row on
        {"müller", 4, 2, false, false, -1},
        {"müller", std::nullopt, 2, true, false, -1}, // case-sensitive
        {"Müller", std::nullopt, 2, true, false, 1},
        {"schmidt", std::nullopt, 2, false, true, 2}, // the whole text, any case
        {"Schmi", std::nullopt, 2, false, true, -1},
        {"Besprechung", 2, 1, false, true, 4},
        {"Subject", std::nullopt, 1, false, false, -1}, // the header is not searched
        {"Subject", 0, 1, false, false, 0},
        {"zzz", std::nullopt, 1, false, false, -1},
        {"CHMI", std::nullopt, 2, false, false, 2}, // any case in a text of ASCII only
        {"MEYER", std::nullopt, 2, false, true, 4},
        {"meyér", std::nullopt, 2, false, false, -1}, // a needle no ASCII text can hold
        {"GMBH", std::nullopt, 2, false, false, 1},   // any case in a text with umlauts
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(grid.FindRow(c.text, c.start, c.col, c.caseSensitive, c.whole), c.expected);
    }
}

TEST_F(FlexGridTest, FindRowSearchesRowsHiddenByTheOutline)
{
    grid.SetColDataType(1, ColumnType::String);
    grid.Subtotal(SubtotalFunction::None, 1, std::nullopt, "%s", 1);
    const int row = grid.FindRow("Meyer", std::nullopt, 2);
    ASSERT_GT(row, 0);
    grid.GetNode(row)->SetExpanded(false);
    ASSERT_FALSE(grid.RowIsVisible(row));
    EXPECT_EQ(grid.FindRow("meyer", std::nullopt, 2), row);
}

// A search that ignores case reads texts indexed by the search before it: every change that
// can move or alter a text must be seen by the next search.
TEST_F(FlexGridTest, FindRowSeesEveryChangeMadeAfterTheLastSearch)
{
    struct Case
    {
        const char* change;
        std::function<void(FlexGrid&)> apply;
        std::string text;
        int col;
        int expected;
        bool whole = false;
    };
    const Case cases[] = {
        {"a text", [](FlexGrid& g) { g.SetTextMatrix(3, 1, "Zeppelin"); }, "zeppelin", 1, 3},
        {"a row added", [](FlexGrid& g) { g.AddItem("\tZeppelin"); }, "zeppelin", 1, 5},
        {"a row inserted", [](FlexGrid& g) { g.AddItem("\tZeppelin", 1); }, "meyer", 2, 5},
        {"a row removed", [](FlexGrid& g) { g.RemoveItem(1); }, "schmidt", 2, 1},
        {"the rows sorted",
         [](FlexGrid& g) {
             g.Select(1, 1, 4, 1);
             g.Sort(SortSetting::GenericDescending);
         },
         "angebot", 1, 4},
        {"a column moved", [](FlexGrid& g) { g.MoveColumn(2, 1); }, "schmidt", 1, 2},
        {"a column added",
         [](FlexGrid& g) {
             g.SetCols(5);
             g.SetTextMatrix(2, 4, "Neu");
         },
         "neu", 4, 2},
        {"rows dropped", [](FlexGrid& g) { g.SetRows(3); }, "meyer", 2, -1},
        {"cleared", [](FlexGrid& g) { g.Clear(); }, "schmidt", 2, -1},
        {"a clip",
         [](FlexGrid& g) {
             g.SetClip({4, 1, 4, 1}, "Zeppelin");
         },
         "zeppelin", 1, 4},
        {"range texts",
         [](FlexGrid& g) {
             g.SetRangeTexts({1, 2, 1, 2}, {{"Zeppelin"}});
         },
         "zeppelin", 2, 1},
        {"a cell's text",
         [](FlexGrid& g) {
             g.SetCell(CellSetting::Text, {2, 2, 2, 2}, std::string("Zeppelin"));
         },
         "zeppelin", 2, 2},
        {"an edit",
         [](FlexGrid& g) {
             g.SetEditable(true);
             g.UserEdit(3, 1, "Zeppelin");
         },
         "zeppelin", 1, 3},
        {"subtotals",
         [](FlexGrid& g) {
             g.SetColDataType(1, ColumnType::String);
             g.Subtotal(SubtotalFunction::None, 1, std::nullopt, "%s", 1);
         },
         "meyer", 2, 8},
        // A cell holding a NUL cannot be indexed: it is searched as it stands.
        {"a NUL", [](FlexGrid& g) { g.SetTextMatrix(2, 1, std::string("An\0Gebot", 9)); }, "an", 1,
         -1, true},
        // A column hidden since the last search is indexed when it is searched.
        {"a column hidden", [](FlexGrid& g) { g.SetColHidden(3, true); }, "NEEDLE", 3, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.change);
        FlexGrid g;
        Fill(g, {"Subject", "Company", "Hidden"},
             {{"Besprechung", "Müller GmbH", "x"},
              {"Angebot", "Schmidt", "needle"},
              {"Rechnung", "MÜLLER AG", ""},
              {"Besprechung", "Meyer", ""}});
        for (int col = 0; col < g.Cols(); ++col)
            g.FindRow("nirgends", std::nullopt, col);
        c.apply(g);
        for (int pass = 0; pass < 2; ++pass) { // the second from what the first indexed
            int found = -2;
            EXPECT_NO_THROW(found = g.FindRow(c.text, std::nullopt, c.col, false, c.whole));
            EXPECT_EQ(found, c.expected) << "search " << pass + 1;
        }
    }
}

// A report filled again drops every data row at once and fills as many again: the header and
// the new texts stand, long ones among them, and the rows dropped take nothing with them.
TEST_F(FlexGridTest, AGridEmptiedAndFilledAgainKeepsItsHeaderAndTakesTheNewTexts)
{
    const std::string sLong(3000, 'L'); // a block larger than the pool serves
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        grid.SetRows(1);
        ASSERT_EQ(grid.TextMatrix(0, 2), "Company");
        grid.SetRows(6001);
        for (int r = 1; r < grid.Rows(); ++r) {
            grid.SetTextMatrix(r, 1, std::to_string(r * (round + 1)));
            grid.SetTextMatrix(r, 2, r % 1000 == 0 ? sLong : "Firma " + std::to_string(r));
        }
        grid.SetTextMatrix(0, 3, "Neu " + std::to_string(round)); // the header kept is written
        int wrong = 0;
        for (int r = 1; r < grid.Rows(); ++r) {
            wrong += grid.TextMatrix(r, 1) != std::to_string(r * (round + 1));
            wrong +=
                grid.TextMatrix(r, 2) != (r % 1000 == 0 ? sLong : "Firma " + std::to_string(r));
        }
        EXPECT_EQ(wrong, 0);
        EXPECT_EQ(grid.TextMatrix(0, 1), "Subject");
        EXPECT_EQ(grid.TextMatrix(0, 3), "Neu " + std::to_string(round));
        EXPECT_EQ(grid.FindRow("firma 5999", std::nullopt, 2), 5999);
    }
    grid.SetRows(3); // and the few rows kept after a large grid are the rows it had
    EXPECT_EQ(grid.TextMatrix(2, 2), "Firma 2");
}

// A view is told what changed after every call; while the redraw switch is off it waits for
// the switch anyway, so a fill that writes every cell tells it each kind of change once.
TEST_F(FlexGridTest, TheObserverHearsEachKindOfChangeOnceWhileRedrawIsOff)
{
    std::vector<GridChange> told;
    grid.SetObserver([&](GridChange change) { told.push_back(change); });
    grid.SetTextMatrix(1, 1, "a");
    grid.SetTextMatrix(2, 1, "b");
    EXPECT_EQ(told, (std::vector<GridChange>{GridChange::Cells, GridChange::Cells}));

    told.clear();
    grid.SetRedraw(false);
    for (int r = 1; r < grid.Rows(); ++r)
        for (int c = 1; c < grid.Cols(); ++c)
            grid.SetTextMatrix(r, c, "x" + std::to_string(r * c));
    grid.SetRows(7);
    grid.SetTextMatrix(6, 1, "neu");
    grid.SetColWidth(1, 900);
    grid.SetRows(8);
    grid.SetRedraw(true);
    EXPECT_EQ(told,
              (std::vector<GridChange>{GridChange::Redraw, GridChange::Cells, GridChange::Rows,
                                       GridChange::Columns, GridChange::Redraw}));

    // With the switch on again, every call is told; a new observer hears the first change of
    // each kind even while the switch is off.
    told.clear();
    grid.SetTextMatrix(1, 1, "c");
    grid.SetTextMatrix(1, 2, "d");
    grid.SetRedraw(false);
    grid.SetTextMatrix(1, 1, "e");
    std::vector<GridChange> toldLater;
    grid.SetObserver([&](GridChange change) { toldLater.push_back(change); });
    grid.SetTextMatrix(1, 1, "f");
    grid.SetTextMatrix(1, 2, "g");
    EXPECT_EQ(told, (std::vector<GridChange>{GridChange::Cells, GridChange::Cells,
                                             GridChange::Redraw, GridChange::Cells}));
    EXPECT_EQ(toldLater, (std::vector<GridChange>{GridChange::Cells}));
    grid.SetObserver({});
}

TEST_F(FlexGridTest, ColumnKeysFindTheirColumns)
{
    EXPECT_EQ(grid.ColIndex("Company"), 2);
    EXPECT_EQ(grid.ColIndex("company"), -1); // keys are exact
    EXPECT_EQ(grid.ColIndex("missing"), -1);
    grid.MoveColumn(2, 1);
    EXPECT_EQ(grid.ColIndex("Company"), 1);
    EXPECT_EQ(grid.ColKey(2), "Subject");
    EXPECT_EQ(grid.TextMatrix(1, 1), "Müller GmbH");
    EXPECT_EQ(grid.TextMatrix(1, 2), "Besprechung");
}

TEST_F(FlexGridTest, AddAndRemoveRowsAtAnIndex)
{
    grid.SetRow(3);
    EXPECT_EQ(grid.AddItem("\tNeu\tz", 2), 2);
    EXPECT_EQ(grid.Rows(), 6);
    EXPECT_EQ(grid.TextMatrix(2, 1), "Neu"); // the texts start in column 0
    EXPECT_EQ(grid.TextMatrix(2, 2), "z");
    EXPECT_TRUE(grid.RowData(2).IsEmpty());
    EXPECT_EQ(grid.Row(), 4); // the current row stays on its row
    EXPECT_EQ(grid.AddItem("\tLast"), 6);
    grid.RemoveItem(1);
    EXPECT_EQ(VisibleRows(grid), (std::vector<int>{0, 2, 3, 4, 0}));
    EXPECT_EQ(grid.Row(), 3);
    EXPECT_EQ(RaisedNumber([&] { grid.RemoveItem(9); }), 381);
    EXPECT_EQ(RaisedNumber([&] { grid.AddItem("x", 9); }), 381);
}

TEST_F(FlexGridTest, RowAndColumnCountsCanBeSet)
{
    grid.SetCols(2);
    EXPECT_EQ(grid.Cols(), 2);
    EXPECT_EQ(RaisedNumber([&] { (void)grid.TextMatrix(1, 2); }), 381);
    grid.SetCols(4);
    EXPECT_EQ(grid.TextMatrix(1, 3), ""); // cut cells do not come back
    grid.SetRows(3);
    EXPECT_EQ(grid.Rows(), 3);
    grid.SetRows(5);
    EXPECT_EQ(grid.TextMatrix(4, 1), "");
    EXPECT_EQ(RaisedNumber([&] { grid.SetRows(-1); }), 380);
}

TEST_F(FlexGridTest, CellFormatsFollowTheirCellsAndGoWithThem)
{
    // Columns: 0 fixed, 1 Subject, 2 Company, 3 Hidden.
    grid.SetCellBackColor({1, 3, 1, 3}, 0xFEECDD);
    grid.SetCellFontBold({1, 1, 1, 1}, true);
    grid.MoveColumn(3, 1);
    EXPECT_EQ(grid.CellBackColor(1, 1), 0xFEECDDu);
    EXPECT_TRUE(grid.CellFontBold(1, 2));
    EXPECT_FALSE(grid.CellBackColor(1, 3));
    EXPECT_FALSE(grid.CellFontBold(2, 2)); // another row keeps none
    grid.SetCols(2);
    grid.SetCols(4);
    EXPECT_EQ(grid.CellBackColor(1, 1), 0xFEECDDu);
    EXPECT_FALSE(grid.CellFontBold(1, 2)); // cut formats do not come back
    grid.SetCols(1);
    grid.SetCols(4);
    EXPECT_FALSE(grid.CellBackColor(1, 1));
}

TEST_F(FlexGridTest, RangeTextsCopyAColumnAtOnce)
{
    grid.SetTextMatrix(2, 1, "with\ttab");
    const CellRange from{1, 1, 4, 1}, to{1, 3, 4, 3};
    grid.SetRangeTexts(to, grid.RangeTexts(from));
    for (int r = 1; r <= 4; ++r) {
        EXPECT_EQ(grid.TextMatrix(r, 3), grid.TextMatrix(r, 1));
    }
    EXPECT_EQ(grid.Clip({1, 2, 2, 3}), "Müller GmbH\tBesprechung\rSchmidt\twith\ttab");
    grid.SetClip({3, 2, 4, 3}, "a\tb\r\nc");
    EXPECT_EQ(grid.Clip({3, 2, 4, 3}), "a\tb\rc\tBesprechung");
}

TEST_F(FlexGridTest, CellFormatsApplyToEveryCellOfARange)
{
    grid.SetCellBackColor({2, 0, 3, 3}, 0xFEECDD);
    grid.SetCellFontBold({3, 1, 3, 1}, true);
    grid.SetCellAlignment({1, 2, 1, 2}, Alignment::RightCenter);
    EXPECT_EQ(grid.CellBackColor(2, 0), 0xFEECDDu);
    EXPECT_EQ(grid.CellBackColor(3, 3), 0xFEECDDu);
    EXPECT_FALSE(grid.CellBackColor(1, 0));
    EXPECT_TRUE(grid.CellFontBold(3, 1));
    EXPECT_FALSE(grid.CellFontBold(2, 1));
    EXPECT_EQ(grid.CellAlignment(1, 2), Alignment::RightCenter);
    grid.SetColAlignment(2, Alignment::CenterCenter);
    EXPECT_EQ(grid.CellAlignment(2, 2), Alignment::CenterCenter); // the column's
}

TEST_F(FlexGridTest, ARangeSelectionSelectsItsRows)
{
    grid.Select(3, 0, 2, 3);
    EXPECT_EQ(grid.Row(), 3);
    const CellRange s = grid.GetSelection();
    EXPECT_EQ(s.row1, 2);
    EXPECT_EQ(s.row2, 3);
    EXPECT_EQ(grid.SelectedRows(), 2);
    EXPECT_EQ(grid.SelectedRow(1), 3);
    EXPECT_TRUE(grid.IsSelected(2));
    EXPECT_FALSE(grid.IsSelected(4));
    EXPECT_EQ(RaisedNumber([&] { grid.SetIsSelected(4, true); }), 445);
    EXPECT_EQ(RaisedNumber([&] { (void)grid.SelectedRow(2); }), 381);
}

TEST_F(FlexGridTest, ListBoxSelectionTakesRowsThatAreNotAdjacent)
{
    grid.SetSelectionMode(SelectionMode::ListBox);
    grid.UserClick(1, 1);
    grid.UserClick(3, 1, 2); // Ctrl
    EXPECT_EQ(grid.SelectedRows(), 2);
    EXPECT_EQ(grid.SelectedRow(0), 1);
    EXPECT_EQ(grid.SelectedRow(1), 3);
    EXPECT_FALSE(grid.IsSelected(2));
    grid.UserClick(1, 1, 2); // Ctrl again takes it out
    EXPECT_EQ(grid.SelectedRows(), 1);
    grid.UserClick(4, 1, 1); // Shift: from the current row (1, the last clicked) on
    EXPECT_EQ(grid.SelectedRows(), 4);
    grid.SetRow(2); // making a row current selects it alone
    EXPECT_EQ(grid.SelectedRows(), 1);
    EXPECT_TRUE(grid.IsSelected(2));
    grid.SetIsSelected(4, true);
    EXPECT_EQ(grid.SelectedRow(1), 4);
}

// A one-column grid that selects as a list box (the column chooser's, the template manager's)
// answers Home, End and a typed letter or digit as any list does; other grids keep the cell
// keys. The expected rows are counted by hand from the list below.
TEST(FlexGridListKeysTest, HomeEndAndATypedLetterMoveAsInAList)
{
    FlexGrid list;
    list.SetCols(1);
    list.SetFixedCols(0);
    list.SetRows(0);
    list.SetFixedRows(0);
    list.SetSelectionMode(SelectionMode::ListBox);
    for (const char* s : {" Betreff", "Beginn", "Dauer", "dringend", "Ende", "Erledigt",
                          "Kategorien", "3 Tage", "Zuletzt"})
        list.AddItem(s);
    list.SetRowHeight(5, 0); // Erledigt hidden
    list.SetRowHeight(8, 0); // Zuletzt hidden: End stops before it
    struct Row
    {
        int nFrom, nKey, nShift, nWant;
    };
    const Row aRows[] = {
        {4, 36, 0, 0}, // Home
        {0, 35, 0, 7}, // End, to the last shown row
        {0, 'B', 0, 1}, {1, 'B', 0, 0}, // around to the start, the blank before it ignored
        {0, 'B', 1, 1},                 // with Shift, as a capital typed
        {0, 'D', 0, 2}, {2, 'D', 0, 3}, // without regard to case
        {3, 'E', 0, 4}, {4, 'E', 0, 4}, // a hidden row is no match; nothing else: it stays
        {0, '3', 0, 7},                 // a digit
        {6, 'Z', 0, 6}, {2, 'X', 0, 2}, // no shown row begins so
        {3, 'B', 2, 3},                 // Ctrl+B is no typing
        {6, 36, 2, 0},                  // Ctrl+Home: the first cell, as in any grid
    };
    for (const Row& row : aRows) {
        SCOPED_TRACE(std::to_string(row.nFrom) + " " + std::to_string(row.nKey) + " " +
                     std::to_string(row.nShift));
        list.Select(row.nFrom, 0);
        list.UserKeyDown(row.nKey, row.nShift);
        EXPECT_EQ(list.Row(), row.nWant);
        EXPECT_EQ(list.SelectedRows(), 1);
        EXPECT_TRUE(list.IsSelected(row.nWant));
    }
    // A grid of cells keeps Home in the row, and a letter moves nothing.
    list.SetSelectionMode(SelectionMode::Free);
    list.Select(4, 0);
    list.UserKeyDown(36, 0);
    EXPECT_EQ(list.Row(), 4);
    list.UserKeyDown('B', 0);
    EXPECT_EQ(list.Row(), 4);
}

TEST_F(FlexGridTest, SelectionFlagsMoveWithTheirRowsInASort)
{
    grid.SetSelectionMode(SelectionMode::ListBox);
    grid.SetRow(3); // Rechnung
    grid.SetColSort(1, ColumnSort::Ascending);
    grid.Select(1, 1); // selects the first row only before the sort
    grid.SetIsSelected(3, true);
    grid.Sort(SortSetting::UseColSort);
    // Angebot, Besprechung, Besprechung, Rechnung: the flags went with their rows.
    EXPECT_EQ(grid.SelectedRows(), 2);
    EXPECT_EQ(grid.TextMatrix(grid.SelectedRow(0), 1), "Besprechung");
    EXPECT_EQ(grid.TextMatrix(grid.SelectedRow(1), 1), "Rechnung");
}

TEST_F(FlexGridTest, ColumnWidthsAndAutoSize)
{
    grid.SetColWidth(1, 1500);
    EXPECT_EQ(grid.ColWidth(1), 1500);
    grid.SetColWidth(2, -1);
    const int fitted = grid.ColWidth(2);
    grid.SetTextMatrix(1, 2, "a much longer company name than before");
    grid.AutoSize(2);
    EXPECT_GT(grid.ColWidth(2), fitted);
    grid.SetColHidden(1, true);
    EXPECT_TRUE(grid.ColHidden(1));
}

TEST_F(FlexGridTest, CurrentCellGeometryCountsShownRowsAndColumns)
{
    grid.SetColWidth(0, 200);
    grid.SetColWidth(1, 1000);
    grid.Select(3, 2);
    EXPECT_EQ(grid.CellLeft(), 1200);
    EXPECT_EQ(grid.CellTop(), 3 * grid.RowHeight(0));
    grid.SetRowHeight(1, 0);
    EXPECT_EQ(grid.CellTop(), 2 * grid.RowHeight(0));
    EXPECT_EQ(grid.CellHeight(), grid.RowHeight(3));
}

TEST_F(FlexGridTest, ShowCellScrollsTheRowIntoView)
{
    grid.SetRows(201);
    grid.SetClientSize(3000, 2400); // ten rows of the default height
    grid.ShowCell(150, 1);
    EXPECT_GT(grid.TopRow(), 140);
    EXPECT_LE(grid.TopRow(), 150);
    grid.UserMouseMove(0, 0, 10, grid.RowHeight(0) + (150 - grid.TopRow()) * 240 + 5);
    EXPECT_EQ(grid.MouseRow(), 150);
    grid.ShowCell(5, 1);
    EXPECT_EQ(grid.TopRow(), 5);
}

TEST_F(FlexGridTest, ValueMatrixReadsNumbersAndDatesInTheLocaleForm)
{
    grid.SetTextMatrix(1, 3, "1.234,5");
    grid.SetTextMatrix(2, 3, "15.01.2026");
    grid.SetTextMatrix(3, 3, "abc");
    EXPECT_DOUBLE_EQ(grid.ValueMatrix(1, 3), 1234.5);
    EXPECT_DOUBLE_EQ(grid.ValueMatrix(2, 3), 46037.0);
    EXPECT_DOUBLE_EQ(grid.ValueMatrix(3, 3), 0.0);
    platform::locale::SetCurrent("en-US");
    grid.SetTextMatrix(1, 3, "1,234.5");
    grid.SetTextMatrix(2, 3, "1/15/2026 6:00 PM");
    EXPECT_DOUBLE_EQ(grid.ValueMatrix(1, 3), 1234.5);
    EXPECT_DOUBLE_EQ(grid.ValueMatrix(2, 3), 46037.75);
}

} // namespace

namespace {

using namespace platform::forms;
namespace rt = platform::runtime;

TEST_F(FlexGridTest, CellPropertiesBySetting)
{
    // Text: one read and one write copy a column, as the report copies its key columns.
    grid.SetCell(CellSetting::Text, {1, 3, 4, 3}, grid.Cell(CellSetting::Text, {1, 1, 4, 1}));
    for (int r = 1; r <= 4; ++r) {
        EXPECT_EQ(grid.TextMatrix(r, 3), grid.TextMatrix(r, 1));
    }
    grid.SetCell(CellSetting::Text, {3, 2, 4, 3}, "same");
    EXPECT_EQ(grid.Clip({3, 2, 4, 3}), "same\tsame\rsame\tsame");
    rt::Array texts(rt::VarType::Variant, {{0, 1}, {0, 1}});
    texts(0, 0) = "a";
    texts(0, 1) = std::int32_t(7);
    texts(1, 0) = "c";
    texts(1, 1) = "d";
    grid.SetCell(CellSetting::Text, {1, 2, 2, 3}, texts);
    EXPECT_EQ(grid.Cell(CellSetting::Text, {1, 2, 2, 3}), rt::Variant("a\t7\rc\td"));

    grid.SetCell(CellSetting::BackColor, {2, 0, 2, 3}, std::int32_t(0xFEECDD));
    grid.SetCell(CellSetting::Alignment, {2, 1, 2, 1}, std::int32_t(7));
    grid.SetCell(CellSetting::FontBold, {2, 1, 2, 1}, true);
    grid.SetCell(CellSetting::Checked, {2, 1, 2, 1}, std::int32_t(1));
    EXPECT_EQ(grid.Cell(CellSetting::BackColor, {2, 3, 2, 3}), rt::Variant(std::int32_t(0xFEECDD)));
    EXPECT_TRUE(grid.Cell(CellSetting::BackColor, {1, 3, 1, 3}).IsEmpty());
    EXPECT_EQ(grid.CellAlignment(2, 1), Alignment::RightCenter);
    EXPECT_EQ(grid.Cell(CellSetting::Alignment, {2, 1, 2, 1}), rt::Variant(std::int32_t(7)));
    EXPECT_TRUE(grid.CellFontBold(2, 1));
    EXPECT_EQ(grid.CellChecked(2, 1), CheckState::Checked);
    EXPECT_TRUE(grid.Cell(CellSetting::Picture, {2, 1, 2, 1}).IsNothing());
    EXPECT_EQ(RaisedNumber([&] { grid.SetCell(CellSetting::Alignment, {1, 1, 1, 1}, "abc"); }), 13);
}

TEST_F(FlexGridTest, ValueMatrixReadsIsoDates)
{
    grid.SetTextMatrix(1, 3, "2026-01-15 12:00:00");
    EXPECT_DOUBLE_EQ(grid.ValueMatrix(1, 3), 46037.5);
}

} // namespace

namespace {

// A number in the other locale's form, or day and month without a year, is no date: the
// cell reads as 0, as it counts for nothing in a subtotal. Full dates still read.
TEST_F(FlexGridTest, ValueMatrixTakesNoNumberOfTheOtherLocaleForADate)
{
    struct Case
    {
        const char* locale;
        const char* text;
        double value;
    };
    const Case cases[] = {
        {"en-US", "7,5", 0.0},
        {"en-US", "7,50", 0.0},
        {"en-US", "7-5", 0.0},
        {"en-US", "1,234", 1234.0},
        {"en-US", "7.5", 7.5},
        {"en-US", "1/15/2026", 46037.0},
        {"en-US", "Jan 15, 2026", 46037.0},
        {"de-DE", "7.5", 0.0},
        {"de-DE", "12.5", 0.0},
        {"de-DE", "7,5", 7.5},
        {"de-DE", "15.01.2026", 46037.0},
        {"de-DE", "15. Januar 2026", 46037.0},
    };
    for (const Case& c : cases) {
        platform::locale::SetCurrent(c.locale);
        grid.SetTextMatrix(1, 3, c.text);
        EXPECT_DOUBLE_EQ(grid.ValueMatrix(1, 3), c.value) << c.locale << " " << c.text;
    }
}

} // namespace
