#include "FlexGridTestSupport.h"

#include <utility>

namespace {

using namespace platform::forms;
using gridtest::Fill;
using gridtest::VisibleRows;

constexpr int kRegion = 1, kCity = 2, kAmount = 3;
// Rows after the subtotals: 1 Total, 2 Nord, 3 Kiel, 4-6 data, 7 Bremen, 8 data, 9 Süd,
// 10 München, 11-12 data, 13 Passau, 14 data.
constexpr int kTotalRow = 1, kNordRow = 2, kKielRow = 3, kBremenRow = 7, kMuenchenRow = 10,
              kPassauRow = 13;

class FlexGridOutlineTest : public FlexGridFixture
{
protected:
    void SetUp() override
    {
        FlexGridFixture::SetUp();
        Fill(grid, {"Region", "City", "Amount"},
             {{"Nord", "Kiel", "10"},
              {"Nord", "Kiel", ""},
              {"Nord", "Kiel", "5"},
              {"Nord", "Bremen", "1"},
              {"Süd", "München", "20"},
              {"Süd", "München", "4"},
              {"Süd", "Passau", ""}});
        grid.Subtotal(SubtotalFunction::Sum, kRegion, kAmount, "%s", kRegion);
        grid.Subtotal(SubtotalFunction::Sum, kCity, kAmount, "%s", kRegion);
        grid.Subtotal(SubtotalFunction::Sum, 0, kAmount, "Total %s", 0);
    }

    FlexGrid grid;
};

TEST_F(FlexGridOutlineTest, StatesHideAndShowTheRightRows)
{
    struct Case
    {
        const char* name;
        std::vector<std::pair<int, OutlineState>> states;
        std::vector<int> shown;
    };
    const Case cases[] = {
        {"all expanded", {}, {0, 0, 0, 1, 2, 3, 0, 4, 0, 0, 5, 6, 0, 7}},
        {"one region collapsed", {{kNordRow, OutlineState::Collapsed}}, {0, 0, 0, 0, 5, 6, 0, 7}},
        {"one region totals only",
         {{kNordRow, OutlineState::Subtotals}},
         {0, 0, 0, 0, 0, 0, 5, 6, 0, 7}},
        {"grand total collapsed", {{kTotalRow, OutlineState::Collapsed}}, {0}},
        {"grand total totals only", {{kTotalRow, OutlineState::Subtotals}}, {0, 0, 0, 0, 0, 0, 0}},
        {"inner group collapsed",
         {{kKielRow, OutlineState::Collapsed}},
         {0, 0, 0, 0, 4, 0, 0, 5, 6, 0, 7}},
        {"inner state kept under a reopened outer group",
         {{kKielRow, OutlineState::Collapsed},
          {kNordRow, OutlineState::Collapsed},
          {kNordRow, OutlineState::Expanded}},
         {0, 0, 0, 0, 4, 0, 0, 5, 6, 0, 7}},
        {"every city collapsed",
         {{kKielRow, OutlineState::Collapsed},
          {kBremenRow, OutlineState::Collapsed},
          {kMuenchenRow, OutlineState::Collapsed},
          {kPassauRow, OutlineState::Collapsed}},
         {0, 0, 0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (int r = 1; r < grid.Rows(); ++r) {
            grid.SetIsCollapsed(r, OutlineState::Expanded);
        }
        for (const auto& [row, state] : c.states) {
            grid.SetIsCollapsed(row, state);
        }
        EXPECT_EQ(VisibleRows(grid), c.shown);
    }
}

TEST_F(FlexGridOutlineTest, ZeroHeightHidesARow)
{
    grid.SetRowHeight(5, 0);
    EXPECT_FALSE(grid.RowIsVisible(5));
    EXPECT_EQ(grid.RowHeight(5), 0);
    grid.SetRowHeight(5, -1);
    EXPECT_TRUE(grid.RowIsVisible(5));
    EXPECT_GT(grid.RowHeight(5), 0);
    EXPECT_EQ(grid.RowHeight(-1), grid.RowHeight(5)); // no row: the default height
    EXPECT_EQ(gridtest::RaisedNumber([&] { (void)grid.RowHeight(-2); }), 381);
}

TEST_F(FlexGridOutlineTest, NodesLeadFromADataRowUpToTheTop)
{
    auto node = grid.GetNode(5);
    ASSERT_TRUE(node);
    EXPECT_EQ(node->Row(), kKielRow);
    EXPECT_EQ(node->Level(), kCity);
    auto parent = node->Parent();
    ASSERT_TRUE(parent);
    EXPECT_EQ(parent->Row(), kNordRow);
    auto top = parent->Parent();
    ASSERT_TRUE(top);
    EXPECT_EQ(top->Row(), kTotalRow);
    EXPECT_FALSE(top->Parent());
}

TEST_F(FlexGridOutlineTest, ExpandingANodeAndItsParentsShowsAHiddenRow)
{
    grid.SetIsCollapsed(kKielRow, OutlineState::Collapsed);
    grid.SetIsCollapsed(kNordRow, OutlineState::Collapsed);
    grid.SetIsCollapsed(kTotalRow, OutlineState::Collapsed);
    ASSERT_FALSE(grid.RowIsVisible(5));
    for (auto node = grid.GetNode(5); node; node = node->Parent()) {
        node->SetExpanded(true);
    }
    EXPECT_TRUE(grid.RowIsVisible(5));
    EXPECT_TRUE(grid.GetNode(kNordRow)->Expanded());
}

TEST_F(FlexGridOutlineTest, CollapseEventsMayCancel)
{
    std::vector<std::pair<int, OutlineState>> before, after;
    grid.Events.BeforeCollapse = [&](int row, OutlineState state, bool& cancel) {
        before.emplace_back(row, state);
        cancel = row == kBremenRow;
    };
    grid.Events.AfterCollapse = [&](int row, OutlineState state) {
        after.emplace_back(row, state);
    };
    grid.UserToggleNode(kKielRow);
    grid.UserToggleNode(kBremenRow);
    grid.UserToggleNode(kKielRow);
    grid.UserToggleNode(5); // a data row is no node
    using P = std::pair<int, OutlineState>;
    EXPECT_EQ(before, (std::vector<P>{{kKielRow, OutlineState::Collapsed},
                                      {kBremenRow, OutlineState::Collapsed},
                                      {kKielRow, OutlineState::Expanded}}));
    EXPECT_EQ(after, (std::vector<P>{{kKielRow, OutlineState::Collapsed},
                                     {kKielRow, OutlineState::Expanded}}));
    EXPECT_EQ(grid.IsCollapsed(kBremenRow), OutlineState::Expanded);
}

// In the outline column Right and Left open and close a group as in a tree view, and + and -
// (beside the letters or on the keypad) do so in any column; elsewhere Right and Left move
// between the columns, and Right moves on from an open group.
TEST_F(FlexGridOutlineTest, KeysOpenAndCloseAGroup)
{
    struct Row
    {
        int nCol, nKey, nShift;
        OutlineState eWant;
        int nWantCol;
    };
    const Row aRows[] = {
        {0, 37, 0, OutlineState::Collapsed, 0},  {0, 39, 0, OutlineState::Expanded, 1},
        {2, 37, 0, OutlineState::Expanded, 1},   {2, 109, 0, OutlineState::Collapsed, 2},
        {1, 189, 0, OutlineState::Collapsed, 1},
    };
    for (const Row& row : aRows) {
        SCOPED_TRACE(std::to_string(row.nCol) + " " + std::to_string(row.nKey));
        grid.SetIsCollapsed(kKielRow, OutlineState::Expanded);
        grid.Select(kKielRow, row.nCol);
        grid.UserKeyDown(row.nKey, row.nShift);
        EXPECT_EQ(grid.IsCollapsed(kKielRow), row.eWant);
        EXPECT_EQ(grid.RowIsVisible(kKielRow + 1), row.eWant == OutlineState::Expanded);
        EXPECT_EQ(grid.Row(), kKielRow);
        EXPECT_EQ(grid.Col(), row.nWantCol);
    }
    // + opens a group that shows its totals only.
    grid.SetIsCollapsed(kNordRow, OutlineState::Subtotals);
    grid.Select(kNordRow, 1);
    grid.UserKeyDown(107, 0);
    EXPECT_EQ(grid.IsCollapsed(kNordRow), OutlineState::Expanded);
}

// A tree of node rows made by code, as the folder picker builds it.
class FlexGridTreeTest : public FlexGridFixture
{
protected:
    void SetUp() override
    {
        FlexGridFixture::SetUp();
        tree.SetCols(1);
        tree.SetFixedCols(0);
        tree.SetFixedRows(0);
        tree.SetRows(0);
        AddNode(" Store", 0);
        AddNode(" Inbox (12)", 1);
        AddNode("", 2); // placeholder of Inbox's unread subfolders
        AddNode(" Calendar (0)", 1);
        AddNode(" Archive", 0);
        tree.SetIsCollapsed(1, OutlineState::Collapsed);
    }

    int AddNode(const std::string& text, int level, std::optional<int> at = std::nullopt)
    {
        const int row = tree.AddItem(text, at);
        tree.SetIsSubtotal(row, true);
        tree.SetRowOutlineLevel(row, level);
        tree.SetCellChecked({row, 0, row, 0}, CheckState::TreeUnchecked);
        return row;
    }

    std::vector<std::string> Texts() const
    {
        std::vector<std::string> texts;
        for (int r = 0; r < tree.Rows(); ++r) {
            texts.push_back(tree.TextMatrix(r, 0) + (tree.RowIsVisible(r) ? "" : " (hidden)"));
        }
        return texts;
    }

    FlexGrid tree;
};

TEST_F(FlexGridTreeTest, AnExpandRequestCanLoadChildrenInPlaceOfThePlaceholder)
{
    EXPECT_EQ(Texts(), (std::vector<std::string>{" Store", " Inbox (12)", " (hidden)",
                                                 " Calendar (0)", " Archive"}));
    tree.Events.BeforeCollapse = [&](int row, OutlineState state, bool&) {
        if (state == OutlineState::Expanded && tree.TextMatrix(row + 1, 0).empty()) {
            tree.SetTextMatrix(row + 1, 0, " A (1)");
            AddNode(" B (2)", 2, row + 2);
        }
    };
    tree.UserToggleNode(1);
    EXPECT_EQ(Texts(), (std::vector<std::string>{" Store", " Inbox (12)", " A (1)", " B (2)",
                                                 " Calendar (0)", " Archive"}));
}

TEST_F(FlexGridTreeTest, NodeSortOrdersTheChildrenWithTheirSubtrees)
{
    tree.SetTextMatrix(1, 0, "Zeta");
    tree.SetTextMatrix(2, 0, "Zeta child");
    tree.SetTextMatrix(3, 0, "alpha");
    AddNode("Mitte", 1, 4);
    tree.GetNode(0)->Sort(SortSetting::GenericAscending);
    EXPECT_EQ(Texts(), (std::vector<std::string>{" Store", "alpha", "Mitte", "Zeta",
                                                 "Zeta child (hidden)", " Archive"}));
}

TEST_F(FlexGridTreeTest, CheckBoxesKeepTheirNumbering)
{
    EXPECT_EQ(tree.CellChecked(3, 0), CheckState::TreeUnchecked);
    tree.SetEditable(true);
    EXPECT_TRUE(tree.UserToggleCheck(3, 0));
    EXPECT_EQ(tree.CellChecked(3, 0), CheckState::TreeChecked);
    EXPECT_TRUE(tree.UserToggleCheck(3, 0));
    EXPECT_EQ(tree.CellChecked(3, 0), CheckState::TreeUnchecked);
    tree.SetCellChecked({0, 0, 4, 0}, CheckState::Checked);
    EXPECT_EQ(tree.CellChecked(4, 0), CheckState::Checked);
    EXPECT_TRUE(tree.UserToggleCheck(4, 0));
    EXPECT_EQ(tree.CellChecked(4, 0), CheckState::Unchecked);
}

// A tree worked with the keys: Right and + open a node, Left and - close it, Left on a closed
// node or on one without subfolders goes to its parent; Shift, Ctrl or a key handler that takes
// the key leave the nodes alone.
TEST_F(FlexGridTreeTest, KeysOpenAndCloseNodesAsInATreeView)
{
    struct Row
    {
        int nRow, nKey, nShift, nWantRow;
        OutlineState eStore, eInbox;
    };
    constexpr auto E = OutlineState::Expanded, C = OutlineState::Collapsed;
    // Store (0) is open, Inbox (1) closed over its placeholder, Calendar (3) and Archive (4)
    // have nothing under them.
    const Row aRows[] = {
        {1, 39, 0, 1, E, E},  {1, 107, 0, 1, E, E}, {1, 187, 1, 1, E, E}, {1, 39, 1, 1, E, C},
        {1, 107, 2, 1, E, C}, {0, 37, 0, 0, C, C},  {0, 109, 0, 0, C, C}, {0, 189, 0, 0, C, C},
        {1, 37, 0, 0, E, C},  {3, 37, 0, 0, E, C},  {3, 39, 0, 3, E, C},  {0, 39, 0, 0, E, C},
        {4, 37, 0, 4, E, C},  {1, 40, 0, 3, E, C},  {3, 107, 0, 3, E, C},
    };
    for (const Row& row : aRows) {
        SCOPED_TRACE(std::to_string(row.nRow) + " " + std::to_string(row.nKey) + " " +
                     std::to_string(row.nShift));
        tree.SetIsCollapsed(0, OutlineState::Expanded);
        tree.SetIsCollapsed(1, OutlineState::Collapsed);
        tree.Select(row.nRow, 0);
        tree.UserKeyDown(row.nKey, row.nShift);
        EXPECT_EQ(tree.Row(), row.nWantRow);
        EXPECT_EQ(tree.IsCollapsed(0), row.eStore);
        EXPECT_EQ(tree.IsCollapsed(1), row.eInbox);
    }
    // A node with nothing under it before a node of its own level: Left goes to the parent,
    // Right and - do nothing; its open state is left as it is. (Calendar is followed by
    // Drafts, both under Store; Drafts by Archive, one level up.)
    AddNode(" Drafts (2)", 1, 4);
    for (const int nRow : {3, 4})
        for (const int nState : {0, 2}) {
            SCOPED_TRACE("empty node " + std::to_string(nRow) + " " + std::to_string(nState));
            const auto eState = static_cast<OutlineState>(nState);
            tree.SetIsCollapsed(0, OutlineState::Expanded);
            tree.SetIsCollapsed(nRow, eState);
            for (const int nKey : {39, 109}) {
                tree.Select(nRow, 0);
                tree.UserKeyDown(nKey, 0);
                EXPECT_EQ(tree.Row(), nRow) << nKey;
                EXPECT_EQ(tree.IsCollapsed(nRow), eState) << nKey;
            }
            tree.UserKeyDown(37, 0);
            EXPECT_EQ(tree.Row(), 0);
            EXPECT_EQ(tree.IsCollapsed(nRow), eState);
            EXPECT_EQ(tree.IsCollapsed(0), OutlineState::Expanded);
        }
    // A key handler that takes the key leaves the node as it is.
    tree.Events.KeyDown = [](int& keyCode, int&) { keyCode = 0; };
    tree.Select(1, 0);
    tree.UserKeyDown(39, 0);
    EXPECT_EQ(tree.IsCollapsed(1), OutlineState::Collapsed);
}

} // namespace
