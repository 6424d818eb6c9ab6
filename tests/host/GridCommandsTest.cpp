#include "host/GridCommands.h"
#include "host/FormCommands.h"
#include "platform/forms/FlexGrid.h"
#include "platform/forms/Form.h"
#include "platform/forms/GridControl.h"

#include <gtest/gtest.h>

namespace {

namespace pf = platform::forms;

// A grid of a header and five rows, columns "Outline", "Subject", "Start" and "End".
class GridCommandsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_oGrid = m_oForm.Add<pf::GridControl>("fg");
        auto& fg = m_oGrid->Grid();
        fg.SetRows(6);
        fg.SetCols(4);
        fg.SetFixedRows(1);
        fg.SetClientSize(20000, 20000);
        const char* aHeader[] = {"", "Subject", "Start", "End"};
        for (int c = 0; c < 4; ++c) {
            fg.SetTextMatrix(0, c, aHeader[c]);
            fg.SetColKey(c, aHeader[c]);
        }
    }
    std::optional<std::string> Apply(const std::string& sCommand)
    {
        return host::ApplyGridCommand(m_oForm, m_oGrid->Grid(), sCommand);
    }

    pf::Form m_oForm{"frmMain"};
    std::shared_ptr<pf::GridControl> m_oGrid;
};

TEST_F(GridCommandsTest, RowsAndColumnsOutsideTheGridAreRefused)
{
    for (const char* sCommand :
         {"row 0", "row 6", "row x", "open 0", "menu 9", "move 4 1", "move Subject 7",
          "move Nothing 1", "width 1 -5", "width 1 wide", "width Location 100"}) {
        EXPECT_THROW(Apply(sCommand), host::CommandRefused) << sCommand;
    }
}

TEST_F(GridCommandsTest, OtherCommandsAreLeftToTheWindow)
{
    for (const char* sCommand : {"collapse", "menu", "find", "row", "open 1 2", "width 1"})
        EXPECT_FALSE(Apply(sCommand).has_value()) << sCommand;
}

TEST_F(GridCommandsTest, AColumnNameMayHoldBlanks)
{
    auto& fg = m_oGrid->Grid();
    fg.SetTextMatrix(0, 3, "Date Completed");
    fg.SetTextMatrix(4, 3, "1/4/2027");
    EXPECT_EQ(*Apply("whole 4 date completed"), "Row 4, Date Completed: 1/4/2027");
}

TEST_F(GridCommandsTest, ColumnsAreNamedByNumberOrHeaderText)
{
    auto& fg = m_oGrid->Grid();
    ASSERT_TRUE(Apply("move start 1"));
    EXPECT_EQ(fg.ColKey(1), "Start");
    // A move onto the column's own place leaves it there, which is no refusal.
    EXPECT_EQ(*Apply("move start 1"), "");
    EXPECT_EQ(fg.ColKey(1), "Start");
    EXPECT_EQ(*Apply("width Subject 2500"), "Column Subject is 2500 twips wide.");
    EXPECT_EQ(fg.ColWidth(fg.ColIndex("Subject")), 2500);
    bool bAsked = false;
    fg.Events.ColumnResizing = [&](int, int, bool& bCancel) { bCancel = bAsked = true; };
    EXPECT_EQ(*Apply("width 3 100"), "The column 3 cannot be resized.");
    EXPECT_TRUE(bAsked);

    // A move the window refuses leaves the column in place and says so; one it takes says
    // nothing.
    fg.Events.ColumnMoving = [](int lCol, int& lPosition) {
        if (lCol == 0)
            lPosition = lCol;
    };
    EXPECT_EQ(*Apply("move 0 2"), "The column 0 cannot be moved.");
    EXPECT_EQ(fg.ColKey(0), "");
    EXPECT_EQ(*Apply("move 2 3"), "");

    fg.SetTextMatrix(4, 1, "Zahnarzt");
    EXPECT_EQ(*Apply("row 4"), "Row 4: Zahnarzt");
    EXPECT_EQ(fg.Row(), 4);
}

TEST_F(GridCommandsTest, AGroupIsNamedByTheStartOfItsCaption)
{
    // An item row and a group row begin alike: the group is the one to collapse.
    auto& fg = m_oGrid->Grid();
    fg.SetTextMatrix(1, 0, "Zahnarzt");
    fg.SetTextMatrix(3, 0, "Zahnärzte");
    fg.SetIsSubtotal(3, true);
    fg.SetRowOutlineLevel(3, 0);
    EXPECT_EQ(*Apply("collapse zahn"), "");
    EXPECT_EQ(fg.IsCollapsed(3), pf::OutlineState::Collapsed);
    EXPECT_EQ(*Apply("expand Zahn"), "");
    EXPECT_EQ(fg.IsCollapsed(3), pf::OutlineState::Expanded);
}

} // namespace
