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

} // namespace
