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
    for (const char* sCommand : {"collapse", "expand", "menu", "refresh", "rows 2"})
        EXPECT_FALSE(Apply(sCommand).has_value()) << sCommand;
}

TEST_F(GridCommandsTest, AGridCommandWithTheWrongWordsSaysWhatItTakes)
{
    struct Case
    {
        const char* sCommand;
        const char* sSaid;
    };
    for (const auto& c :
         {Case{"row", "row takes this form: row R; for example: row 5"},
          Case{"row 1 2", "for example: row 5"},
          Case{"find", "find takes this form: find TEXT; for example: find "},
          Case{"whole", "for example: whole 5"}, Case{"open 1 2", "for example: open 5"},
          Case{"menu 1 2", "for example: menu 5"}, Case{"selectall 1", "for example: selectall"},
          Case{"move Subject", "move COL POS; for example: move Location 1"},
          Case{"width Subject", "width COL TWIPS; for example: width Subject 3000"}}) {
        try {
            Apply(c.sCommand);
            ADD_FAILURE() << c.sCommand << " was taken";
        } catch (const host::CommandRefused& e) {
            EXPECT_NE(std::string(e.what()).find(c.sSaid), std::string::npos)
                << c.sCommand << ": " << e.what();
        }
    }
}

TEST_F(GridCommandsTest, AHeaderWithBlanksNamesItsColumn)
{
    auto& fg = m_oGrid->Grid();
    fg.SetTextMatrix(0, 3, "Due Date");
    EXPECT_EQ(*Apply("width Due Date 2000"), "Column Due Date is 2000 twips wide.");
    EXPECT_EQ(*Apply("move \"Due Date\" 1"), "");
    EXPECT_EQ(fg.ColKey(1), "End");
}

TEST_F(GridCommandsTest, AWholeRowKeepsAPlaceForEachColumnAndIsFoundByAnyCaption)
{
    auto& fg = m_oGrid->Grid();
    fg.SetTextMatrix(2, 1, "Jour fixe");
    fg.SetTextMatrix(2, 3, "04.01.2027");
    fg.SetTextMatrix(3, 0, "Categories: Privat");
    fg.SetTextMatrix(4, 1, "Dentist");
    // The empty Start cell keeps its place between Subject and End.
    EXPECT_EQ(*Apply("whole 2"), "Row 2:  | Jour fixe |  | 04.01.2027");
    EXPECT_EQ(*Apply("whole 0"), "Row 0:  | Subject | Start | End");
    EXPECT_EQ(*Apply("whole 0 End"), "Row 0, End: End");
    // An item row by its subject, with blanks or in quotes, and a cell of it.
    EXPECT_EQ(*Apply("whole Jour fixe"), "Row 2:  | Jour fixe |  | 04.01.2027");
    EXPECT_EQ(*Apply("whole \"Jour fixe\" End"), "Row 2, End: 04.01.2027");
    EXPECT_EQ(*Apply("whole Jour fixe End"), "Row 2, End: 04.01.2027");
    EXPECT_EQ(*Apply("whole dent"), "Row 4:  | Dentist |  |");
    EXPECT_EQ(*Apply("whole Categories: Privat"), "Row 3: Categories: Privat |  |  |");
    EXPECT_THROW(Apply("whole Nothing like it"), host::CommandRefused);
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
    EXPECT_EQ(*Apply("row 4"), "Row 4:  | Zahnarzt |  |");
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
