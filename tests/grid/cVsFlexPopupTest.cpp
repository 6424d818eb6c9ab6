#include "GridFixture.h"

#include "grid/cVsFlexPopup.h"
#include "platform/forms/Driver.h"
#include "platform/forms/FlexGrid.h"
#include "platform/forms/Form.h"
#include "platform/forms/GridControl.h"
#include "platform/forms/MenuBar.h"
#include "platform/forms/StandardControls.h"
#include "platform/win/Desktop.h"

namespace {

namespace pf = platform::forms;
namespace win = platform::win;

// Rows 300 twips high (20 pixels); columns 0 to 3 are 150, 1200, 900 and 600 twips wide.
constexpr int kRowHeight = 300;
const int kColWidths[] = {150, 1200, 900, 600};

// A form with a menu bar and its pop-up menu, and a grid of 12 rows (one header) whose
// window lies on the desktop at (200, 100) pixels.
class cVsFlexPopupTest : public GridFixture
{
protected:
    void SetUp() override
    {
        GridFixture::SetUp();
        pf::Driver::current().Reset();
        m_oForm = std::make_shared<pf::Form>("frmTest");
        m_oBar = m_oForm->Add<pf::MenuBar>("MenuBar1");
        m_oMenu = m_oBar->Items().CreatePopupMenu("ContextOlItems");
        m_oBar->Items().Add("Open", "openitem_context", m_oMenu);
        m_oGrid = m_oForm->Add<pf::GridControl>("fg");
        auto& fg = Grid();
        fg.SetRows(12);
        fg.SetCols(4);
        fg.SetFixedRows(1);
        fg.SetClientSize(20000, 20000);
        for (int r = 0; r < fg.Rows(); ++r)
            fg.SetRowHeight(r, kRowHeight);
        for (int c = 0; c < fg.Cols(); ++c)
            fg.SetColWidth(c, kColWidths[c]);
        m_hGrid = win::Desktop::current().createWindow({200, 100, 800, 500});
        fg.SetHwnd(m_hGrid);
    }
    void TearDown() override
    {
        win::Desktop::current().destroyWindow(m_hGrid);
        win::Desktop::current().setCursorPosition(std::nullopt);
        pf::Driver::current().Reset();
        GridFixture::TearDown();
    }
    pf::FlexGrid& Grid() { return m_oGrid->Grid(); }
    // The mouse over the middle of a row (rows from 0, none scrolled away).
    void MouseOverRow(int lRow)
    {
        Grid().UserMouseMove(0, 0, 400, lRow * kRowHeight + kRowHeight / 2.0);
    }

    std::shared_ptr<pf::Form> m_oForm;
    std::shared_ptr<pf::MenuBar> m_oBar;
    std::shared_ptr<pf::MenuItem> m_oMenu;
    std::shared_ptr<pf::GridControl> m_oGrid;
    win::WindowHandle m_hGrid = 0;
    grid::cVsFlexPopup m_oPopup;
};

TEST_F(cVsFlexPopupTest, CellScreenPositionIsTheCellsBottomLeftOnTheGridWindow)
{
    struct Case
    {
        int lRow, lCol;
        win::ScreenPoint oExpected;
    };
    // Cell left 150 twips = 10 pixels; a cell's bottom lies one row height below its top.
    for (const auto& c :
         {Case{1, 1, {210, 140}}, Case{3, 2, {290, 180}}, Case{11, 0, {200, 340}}}) {
        Grid().SetRow(c.lRow);
        Grid().SetCol(c.lCol);
        EXPECT_EQ(m_oPopup.GetCellScreenPosition(Grid()), c.oExpected)
            << "row " << c.lRow << ", col " << c.lCol;
    }
    // A grid without a window on the desktop: the offset inside the grid alone.
    Grid().SetHwnd(0);
    Grid().SetRow(3);
    Grid().SetCol(2);
    EXPECT_EQ(m_oPopup.GetCellScreenPosition(Grid()), (win::ScreenPoint{90, 80}));
}

TEST_F(cVsFlexPopupTest, PopUpMenu6ShowsAtMouseOrUnderTheCellOnlyForDataRows)
{
    win::Desktop::current().setCursorPosition(win::ScreenPoint{500, 400});
    Grid().SetRow(3);
    Grid().SetCol(2);
    MouseOverRow(5);
    m_oPopup.PopUpMenu6(*m_oBar, m_oMenu, Grid(), true);
    ASSERT_EQ(m_oBar->OpenPopup(), m_oMenu);
    EXPECT_EQ(m_oBar->PopupX(), 500);
    EXPECT_EQ(m_oBar->PopupY(), 400);
    // The selection is left as it was.
    EXPECT_EQ(Grid().Row(), 3);
    m_oBar->ClosePopup();

    m_oPopup.PopUpMenu6(*m_oBar, m_oMenu, Grid(), false);
    ASSERT_EQ(m_oBar->OpenPopup(), m_oMenu);
    EXPECT_EQ(m_oBar->PopupX(), 290);
    EXPECT_EQ(m_oBar->PopupY(), 180);
    m_oBar->ClosePopup();

    // The first data row, right under the header, is a data row like any other.
    MouseOverRow(1);
    m_oPopup.PopUpMenu6(*m_oBar, m_oMenu, Grid(), true);
    EXPECT_EQ(m_oBar->OpenPopup(), m_oMenu);
    m_oBar->ClosePopup();
    Grid().SetRow(1);
    m_oPopup.PopUpMenu6(*m_oBar, m_oMenu, Grid(), false);
    ASSERT_EQ(m_oBar->OpenPopup(), m_oMenu);
    EXPECT_EQ(m_oBar->PopupY(), 140);
    m_oBar->ClosePopup();
    Grid().SetRow(3);

    // Over the header, or with the header current, no menu opens.
    MouseOverRow(0);
    m_oPopup.PopUpMenu6(*m_oBar, m_oMenu, Grid(), true);
    EXPECT_EQ(m_oBar->OpenPopup(), nullptr);
    Grid().SetRow(0);
    m_oPopup.PopUpMenu6(*m_oBar, m_oMenu, Grid(), false);
    EXPECT_EQ(m_oBar->OpenPopup(), nullptr);
    EXPECT_TRUE(pf::Driver::current().MessageBoxes().empty());
}

TEST_F(cVsFlexPopupTest, PopUpMenuWithRowSelectionKeepsAMultiRowSelection)
{
    auto& fg = Grid();
    const auto& vShown = pf::Driver::current().PopupMenus();

    fg.Select(3, 0, 7, 3);
    MouseOverRow(5);
    m_oPopup.PopUpMenu(*m_oForm, *m_oGrid, m_oMenu, true, std::nullopt, 120.0f, 240.0f);
    ASSERT_EQ(vShown.size(), 1u);
    EXPECT_EQ(vShown[0].menuKey, "ContextOlItems");
    EXPECT_DOUBLE_EQ(vShown[0].x, 120);
    EXPECT_DOUBLE_EQ(vShown[0].y, 240);
    EXPECT_EQ(fg.GetSelection().row1, 3);
    EXPECT_EQ(fg.GetSelection().row2, 7);

    // Outside the selection the mouse row becomes current first.
    MouseOverRow(9);
    m_oPopup.PopUpMenu(*m_oForm, *m_oGrid, m_oMenu, true);
    ASSERT_EQ(vShown.size(), 2u);
    EXPECT_EQ(fg.Row(), 9);
    EXPECT_EQ(fg.GetSelection().row1, fg.GetSelection().row2);

    // A one-row selection always gives way to the mouse row.
    fg.Select(4, 0, 4, 3);
    MouseOverRow(6);
    m_oPopup.PopUpMenu(*m_oForm, *m_oGrid, m_oMenu, true);
    EXPECT_EQ(fg.Row(), 6);
    ASSERT_EQ(vShown.size(), 3u);

    // The first data row, right under the header, takes the menu too.
    MouseOverRow(1);
    m_oPopup.PopUpMenu(*m_oForm, *m_oGrid, m_oMenu, true);
    EXPECT_EQ(fg.Row(), 1);
    ASSERT_EQ(vShown.size(), 4u);

    // Over the header nothing shows, whatever the flag.
    MouseOverRow(0);
    m_oPopup.PopUpMenu(*m_oForm, *m_oGrid, m_oMenu, true);
    m_oPopup.PopUpMenu(*m_oForm, *m_oGrid, m_oMenu, false);
    EXPECT_EQ(vShown.size(), 4u);
}

TEST_F(cVsFlexPopupTest, CellFormPositionAddsGridAndContainerOffsetsByContainerKind)
{
    auto oPicture = m_oForm->Add<pf::PictureBox>("picHost");
    oPicture->Move(1000, 2000, 8000, 6000);
    auto oScaled = m_oForm->Add<pf::PictureBox>("picScaled");
    oScaled->Move(3000, 500, 8000, 6000);
    oScaled->Surface().SetScaleWidth(100);
    auto oFrame = m_oForm->Add<pf::Frame>("fraHost");
    oFrame->Move(700, 900, 8000, 6000);
    m_oGrid->Move(600, 450, 6000, 4000);
    Grid().SetRow(3);
    Grid().SetCol(2);
    // The current cell lies 1350 twips from the grid's left and 900 below its top.
    struct Case
    {
        const char* sName;
        pf::Control* pContainer;
        float x, y;
    };
    for (const auto& c : {
             Case{"on the form", nullptr, 1350 + 600, 900 + 450},
             Case{"in a picture box in twips", oPicture.get(), 1350 + 600 + 1000, 900 + 450 + 2000},
             // The picture box's user scale has no conversion on the form: its offset drops.
             Case{"in a picture box with a user scale", oScaled.get(), 1350 + 3000, 900 + 500},
             Case{"in a frame", oFrame.get(), 1350 + 600 + 700, 900 + 450 + 900},
         }) {
        m_oGrid->SetContainer(c.pContainer);
        const grid::FormPoint oAt = m_oPopup.GetCellFormPosition(*m_oForm, *m_oGrid);
        EXPECT_FLOAT_EQ(oAt.x, c.x) << c.sName;
        EXPECT_FLOAT_EQ(oAt.y, c.y) << c.sName;
    }

    // A grid on no form has no container: the cell's offset alone.
    pf::GridControl oLoose("fgLoose");
    oLoose.Move(600, 450, 6000, 4000);
    oLoose.Grid().SetRows(5);
    oLoose.Grid().SetCols(3);
    oLoose.Grid().SetColWidth(0, 150);
    oLoose.Grid().SetCol(1);
    const grid::FormPoint oLooseAt = m_oPopup.GetCellFormPosition(*m_oForm, oLoose);
    EXPECT_FLOAT_EQ(oLooseAt.x, 150);
    EXPECT_FLOAT_EQ(oLooseAt.y, static_cast<float>(oLoose.Grid().CellTop()));
}

TEST_F(cVsFlexPopupTest, PopUpMenuWithoutRowSelectionShowsAtTheCellInFormUnits)
{
    m_oGrid->Move(600, 450, 6000, 4000);
    Grid().SetRow(3);
    Grid().SetCol(2);
    MouseOverRow(5);
    const auto& vShown = pf::Driver::current().PopupMenus();
    m_oPopup.PopUpMenu(*m_oForm, *m_oGrid, m_oMenu, false);
    ASSERT_EQ(vShown.size(), 1u);
    EXPECT_DOUBLE_EQ(vShown[0].x, 1350 + 600);
    EXPECT_DOUBLE_EQ(vShown[0].y, 900 + 450);
    // The current row stays; a given position goes to the form unchanged.
    EXPECT_EQ(Grid().Row(), 3);
    m_oPopup.PopUpMenu(*m_oForm, *m_oGrid, m_oMenu, false, 0, 10.0f, std::nullopt);
    ASSERT_EQ(vShown.size(), 2u);
    EXPECT_DOUBLE_EQ(vShown[1].x, 10);
    EXPECT_DOUBLE_EQ(vShown[1].y, 0);
}

} // namespace
