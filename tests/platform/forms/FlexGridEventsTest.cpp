#include "FlexGridTestSupport.h"

#include <array>

namespace {

using namespace platform::forms;
using gridtest::Fill;

class FlexGridEventsTest : public FlexGridFixture
{
protected:
    void SetUp() override
    {
        FlexGridFixture::SetUp();
        Fill(grid, {"Field", "Operation"}, {{"Dauer", " "}, {"Kosten", " "}, {"Anzahl", " "}});
    }

    FlexGrid grid;
};

TEST_F(FlexGridEventsTest, CurrentCellChangesReportOldAndNewCell)
{
    std::vector<std::array<int, 4>> moves;
    int selectionChanges = 0;
    grid.Events.RowColChange = [&](int r0, int c0, int r1, int c1) {
        moves.push_back({r0, c0, r1, c1});
    };
    grid.Events.AfterSelChange = [&] { ++selectionChanges; };
    grid.Select(1, 1);
    grid.SetRow(3);
    grid.SetRow(3); // no change, no event
    grid.SetCol(2);
    // The first Select names the cell that is already current: nothing changes.
    EXPECT_EQ(moves, (std::vector<std::array<int, 4>>{{1, 1, 3, 1}, {3, 1, 3, 2}}));
    EXPECT_EQ(selectionChanges, 2);
}

TEST_F(FlexGridEventsTest, BeforeEditCanRefuseAndAfterEditFollowsTheChange)
{
    std::vector<std::pair<int, int>> edited;
    grid.Events.BeforeEdit = [&](int, int col, bool& cancel) { cancel = col == 1; };
    grid.Events.AfterEdit = [&](int row, int col) { edited.emplace_back(row, col); };
    EXPECT_FALSE(grid.UserEdit(1, 2, "Summe")); // not editable yet
    grid.SetEditable(true);
    EXPECT_FALSE(grid.UserEdit(1, 1, "other"));
    EXPECT_EQ(grid.TextMatrix(1, 1), "Dauer");
    EXPECT_TRUE(grid.UserEdit(1, 2, "free text"));
    EXPECT_EQ(grid.TextMatrix(1, 2), "free text");
    EXPECT_EQ(grid.ComboIndex(), -1);
    // A cell with a check box toggles; its text is never typed over.
    grid.SetCellChecked({2, 2, 2, 2}, CheckState::Unchecked);
    const std::string sBoxed = grid.TextMatrix(2, 2);
    EXPECT_FALSE(grid.UserEdit(2, 2, "Renamed by typing"));
    EXPECT_EQ(grid.TextMatrix(2, 2), sBoxed);
    EXPECT_TRUE(grid.UserToggleCheck(2, 2));
    EXPECT_EQ(grid.CellChecked(2, 2), CheckState::Checked);
    EXPECT_EQ(grid.TextMatrix(2, 2), sBoxed);
    EXPECT_EQ(edited, (std::vector<std::pair<int, int>>{{1, 2}, {2, 2}}));
}

TEST_F(FlexGridEventsTest, DropDownListGivesTheIndexOfThePickedEntry)
{
    grid.SetEditable(true);
    grid.SetColComboList(2, " |Durchschnitt|Anzahl|Max|Min|Prozent|Summe");
    int pickedIndex = -2;
    grid.Events.AfterEdit = [&](int, int) { pickedIndex = grid.ComboIndex(); };
    EXPECT_TRUE(grid.UserPickComboItem(2, 2, 6));
    EXPECT_EQ(grid.TextMatrix(2, 2), "Summe");
    EXPECT_EQ(pickedIndex, 6);
    EXPECT_TRUE(grid.UserEdit(3, 2, "Anzahl"));
    EXPECT_EQ(pickedIndex, 2);
    EXPECT_EQ(gridtest::RaisedNumber([&] { grid.UserPickComboItem(2, 2, 7); }), 381);
}

TEST_F(FlexGridEventsTest, ColumnMovingMayChangeThePosition)
{
    grid.Events.ColumnMoving = [](int, int& position) {
        if (position == 0) {
            position = 1;
        }
    };
    grid.UserMoveColumn(2, 0);
    EXPECT_EQ(grid.ColKey(1), "Operation");
    EXPECT_EQ(grid.ColKey(2), "Field");
    EXPECT_EQ(grid.ColKey(0), "");
}

TEST_F(FlexGridEventsTest, ColumnResizingMayBeRefused)
{
    std::vector<int> resized;
    grid.Events.ColumnResizing = [](int, int col, bool& cancel) { cancel = col == 1; };
    grid.Events.ColumnResized = [&](int, int col) { resized.push_back(col); };
    grid.SetColWidth(1, 500);
    EXPECT_FALSE(grid.UserResizeColumn(1, 2000));
    EXPECT_TRUE(grid.UserResizeColumn(2, 2000));
    EXPECT_EQ(grid.ColWidth(1), 500);
    EXPECT_EQ(grid.ColWidth(2), 2000);
    EXPECT_EQ(resized, std::vector<int>{2});
}

TEST_F(FlexGridEventsTest, MouseAndKeysReachTheHandlers)
{
    int doubleClicks = 0, mouseUpButton = 0, keyDown = 0, keyUp = 0;
    grid.Events.DblClick = [&] { ++doubleClicks; };
    grid.Events.MouseUp = [&](int& button, int, double, double) { mouseUpButton = button; };
    grid.Events.KeyDown = [&](int& key, int& shift) { keyDown = key * 10 + shift; };
    grid.Events.KeyUp = [&](int& key, int) { keyUp = key; };
    const double secondDataRowY = grid.RowHeight(0) + grid.RowHeight(1) + 10;
    grid.UserMouseDown(1, 0, 1200, secondDataRowY);
    EXPECT_EQ(grid.Row(), 2);
    EXPECT_EQ(grid.MouseRow(), 2);
    grid.UserMouseUp(2, 0, 1200, secondDataRowY);
    grid.UserDoubleClick();
    grid.UserKeyDown(40, 0); // arrow down
    grid.UserKeyUp(93, 0);
    EXPECT_EQ(doubleClicks, 1);
    EXPECT_EQ(mouseUpButton, 2);
    EXPECT_EQ(keyDown, 400);
    EXPECT_EQ(keyUp, 93);
    EXPECT_EQ(grid.Row(), 3);
    grid.UserMouseMove(0, 0, 100, 100000); // below the last row
    EXPECT_EQ(grid.MouseRow(), -1);
}

// The movement keys move the current cell over the shown rows and columns as a grid control
// does: a page is the rows that fit below the header, Home and End go to the first and last
// column, with Ctrl to the first and last cell; Shift moves the other end of the selection.
TEST_F(FlexGridEventsTest, MovementKeysMoveOverTheShownRowsAndColumns)
{
    constexpr int kPageUp = 33, kPageDown = 34, kEnd = 35, kHome = 36, kLeft = 37, kUp = 38,
                  kRight = 39, kDown = 40, kShift = 1, kCtrl = 2;
    struct Row
    {
        const char* sWhat;
        int nRow, nCol, nKey, nShift;
        int nWantRow, nWantCol, nWantRowSel;
        bool bLastRowShown = false;
    };
    // Data rows 1-30 with rows 12, 13 and 30 hidden (row 30 shown where the case says so);
    // columns 0-4 with column 3 hidden; ten rows fit below the header.
    const Row aRows[] = {
        {"down over hidden rows", 11, 1, kDown, 0, 14, 1, 14},
        {"up over hidden rows", 14, 1, kUp, 0, 11, 1, 11},
        {"up at the first row", 1, 1, kUp, 0, 1, 1, 1},
        {"page down", 1, 1, kPageDown, 0, 11, 1, 11},
        {"page down over hidden rows", 11, 1, kPageDown, 0, 23, 1, 23},
        {"page down to the last shown row", 25, 1, kPageDown, 0, 29, 1, 29},
        {"page up over hidden rows", 23, 1, kPageUp, 0, 11, 1, 11},
        {"page up to the first row", 3, 1, kPageUp, 0, 1, 1, 1},
        {"right over a hidden column", 5, 2, kRight, 0, 5, 4, 5},
        {"left over a hidden column", 5, 4, kLeft, 0, 5, 2, 5},
        {"left at the first column", 5, 0, kLeft, 0, 5, 0, 5},
        {"home", 5, 4, kHome, 0, 5, 0, 5},
        {"end", 5, 0, kEnd, 0, 5, 4, 5},
        {"ctrl home", 20, 4, kHome, kCtrl, 1, 0, 1},
        {"ctrl end", 2, 0, kEnd, kCtrl, 29, 4, 29},
        {"ctrl end to a last row that shows", 2, 0, kEnd, kCtrl, 30, 4, 30, true},
        {"ctrl end from the row before the last", 29, 1, kEnd, kCtrl, 30, 4, 30, true},
        {"shift ctrl end", 20, 1, kEnd, kShift | kCtrl, 20, 1, 30, true},
        {"down to a last row that shows", 29, 1, kDown, 0, 30, 1, 30, true},
        {"page down to a last row that shows", 25, 1, kPageDown, 0, 30, 1, 30, true},
        {"shift down", 5, 1, kDown, kShift, 5, 1, 6},
        {"shift page down", 1, 1, kPageDown, kShift, 1, 1, 11},
    };
    for (const Row& row : aRows) {
        SCOPED_TRACE(row.sWhat);
        FlexGrid tall;
        tall.SetCols(5);
        tall.SetFixedCols(0);
        tall.SetRows(31);
        tall.SetColHidden(3, true);
        for (int r : {12, 13, 30})
            if (r != 30 || !row.bLastRowShown)
                tall.SetRowHeight(r, 0);
        tall.SetClientSize(6000, 11 * tall.RowHeight(0));
        tall.Select(row.nRow, row.nCol);
        tall.UserKeyDown(row.nKey, row.nShift);
        EXPECT_EQ(tall.Row(), row.nWantRow);
        EXPECT_EQ(tall.Col(), row.nWantCol);
        EXPECT_EQ(tall.RowSel(), row.nWantRowSel);
        // The moved end of the selection shows: at most ten shown rows from the top row to it.
        int shown = 0;
        for (int r = tall.TopRow(); r <= row.nWantRowSel; ++r)
            shown += tall.RowIsVisible(r) ? 1 : 0;
        EXPECT_LE(tall.TopRow(), row.nWantRowSel);
        EXPECT_LE(shown, 10);
    }
}

TEST_F(FlexGridEventsTest, DragFromOneGridDropsOnAnother)
{
    FlexGrid target;
    Fill(target, {"Field"}, {{"Betreff"}});
    grid.Events.OLEStartDrag = [](DropEffect& allowed) { allowed = DropEffect::Move; };
    std::vector<int> overRows;
    FlexGrid* droppedFrom = nullptr;
    DropEffect dropped = DropEffect::None;
    target.Events.OLEDragOver = [&](FlexGrid*, DropEffect&, int, int, double, double, DragState) {
        overRows.push_back(target.MouseRow());
    };
    target.Events.OLEDragDrop = [&](FlexGrid* source, DropEffect& effect, int, int, double,
                                    double) {
        droppedFrom = source;
        dropped = effect;
    };
    grid.OLEDrag();
    EXPECT_EQ(target.UserDragOver(&grid, 1, 0, 10, 10), DropEffect::Move);
    target.UserDragOver(&grid, 1, 0, 10, target.RowHeight(0) + 10);
    EXPECT_EQ(target.UserDrop(&grid, 1, 0, 10, 10), DropEffect::Move);
    EXPECT_EQ(overRows, (std::vector<int>{0, 1}));
    EXPECT_EQ(droppedFrom, &grid);
    EXPECT_EQ(dropped, DropEffect::Move);
    // The drag is over: a later drop carries no effect.
    EXPECT_EQ(target.UserDrop(&grid, 1, 0, 10, 10), DropEffect::None);
}

TEST_F(FlexGridEventsTest, FocusEventsFireOnChange)
{
    int got = 0, lost = 0;
    grid.Events.GotFocus = [&] { ++got; };
    grid.Events.LostFocus = [&] { ++lost; };
    grid.SetFocus();
    grid.SetFocus();
    grid.KillFocus();
    EXPECT_EQ(got, 1);
    EXPECT_EQ(lost, 1);
    EXPECT_FALSE(grid.HasFocus());
}

// The window's word on how much of the grid shows: each change of it is told once, and the
// grid answers the size it was given last.
TEST_F(FlexGridEventsTest, ClientResizeFiresOnEachChangeOfTheVisibleArea)
{
    std::vector<std::pair<int, int>> told;
    grid.Events.ClientResize = [&] { told.emplace_back(grid.ClientWidth(), grid.ClientHeight()); };
    grid.SetClientSize(3000, 2000);
    grid.SetClientSize(3000, 2000);
    grid.SetClientSize(2745, 2000); // a vertical scroll bar came
    grid.SetClientSize(2745, 1700); // a horizontal one
    grid.SetClientSize(-15, 1700);  // a window squeezed to nothing shows nothing
    const std::vector<std::pair<int, int>> want = {
        {3000, 2000}, {2745, 2000}, {2745, 1700}, {0, 1700}};
    EXPECT_EQ(told, want);
    EXPECT_EQ(grid.ClientWidth(), 0);
    EXPECT_EQ(grid.ClientHeight(), 1700);
}

} // namespace
