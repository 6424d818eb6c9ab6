// The windows worked with the keyboard, as a person who leaves the mouse alone works them: a
// folder, a category and a template picked with the arrows, Space and Enter, the focus moved
// on with Tab, a date typed into the filter, an operation picked in the totals dialog and the
// report walked with the page keys. TV_GUI_LANG (en, de) chooses the language.
#include "GuiHostFixture.h"
#include "gui/FormView.h"
#include "gui/GridModel.h"
#include "gui/GridView.h"
#include "host/GuiHost.h"
#include "platform/forms/FlexGrid.h"
#include "platform/forms/Form.h"
#include "platform/forms/StandardControls.h"
#include "platform/runtime/Date.h"
#include "platform/runtime/Format.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

namespace {

namespace pf = platform::forms;
namespace rt = platform::runtime;

class GuiKeysTest : public host_test::GuiHostFixture
{
protected:
    /// Notes whether the form's button is pressed (its click reaches the form) from now on.
    static std::shared_ptr<bool> Watch(gui::FormView& oView, const char* sButton)
    {
        auto bPressed = std::make_shared<bool>(false);
        auto oButton =
            std::dynamic_pointer_cast<pf::CommandButton>(oView.Form().FindControl(sButton));
        EXPECT_NE(oButton, nullptr) << sButton;
        if (!oButton)
            return bPressed;
        auto fnClick = oButton->OnClick;
        oButton->OnClick = [bPressed, fnClick] {
            *bPressed = true;
            if (fnClick)
                fnClick();
        };
        return bPressed;
    }

    /// The grid of that name, with the focus, the window active as under a person's hands.
    static gui::GridView* FocusGrid(gui::FormView& oView, const char* sGrid)
    {
        EXPECT_TRUE(guitest::ActivateWindow(oView));
        auto* pGrid = oView.findChild<gui::GridView*>(sGrid);
        EXPECT_NE(pGrid, nullptr) << sGrid;
        if (pGrid) {
            pGrid->setFocus(Qt::TabFocusReason);
            EXPECT_TRUE(pGrid->hasFocus()) << sGrid;
        }
        return pGrid;
    }
};

// The folder picker: Right and Left (+ and -) open and close a folder, Down to a folder, Space
// ticks it, Tab leaves the tree and Shift+Tab comes back, Enter presses OK.
TEST_F(GuiKeysTest, AFolderIsPickedWithSpaceAndEnter)
{
    std::ostringstream out;
    host::GuiHost oHost(oOptions, TV_ADDIN_PATH, out);
    gui::FormView* pView = OpenReportWindow(oHost);
    ASSERT_NE(pView, nullptr) << out.str();
    bool bShown = false;
    std::shared_ptr<bool> bOK;
    WhenFormShown("frmDialog", [&](gui::FormView& oPicker) {
        bShown = true;
        bOK = Watch(oPicker, "cmdOK");
        auto* pGrid = FocusGrid(oPicker, "fg");
        ASSERT_NE(pGrid, nullptr);
        const auto& fg = pGrid->Grid();
        ASSERT_GT(pGrid->model()->rowCount(), 1);
        // Right opens a folder whose subfolders were not read yet, Down reaches its first
        // subfolder, Left goes back to it and closes it; + and - on the keypad do the same.
        int nClosed = -1;
        for (int r = 0; r < fg.Rows() && nClosed < 0; ++r)
            if (fg.IsSubtotal(r) && fg.RowIsVisible(r) &&
                fg.IsCollapsed(r) == pf::OutlineState::Collapsed)
                nClosed = r;
        ASSERT_GE(nClosed, 0) << "no closed folder in the tree";
        const std::string sFolder = fg.TextMatrix(nClosed, 0);
        while (fg.Row() < nClosed)
            QTest::keyClick(pGrid, Qt::Key_Down);
        ASSERT_EQ(fg.Row(), nClosed);
        QTest::keyClick(pGrid, Qt::Key_Right);
        EXPECT_EQ(fg.IsCollapsed(nClosed), pf::OutlineState::Expanded) << sFolder;
        QTest::keyClick(pGrid, Qt::Key_Down);
        EXPECT_EQ(fg.Row(), nClosed + 1);
        EXPECT_GT(fg.RowOutlineLevel(fg.Row()), fg.RowOutlineLevel(nClosed));
        EXPECT_FALSE(fg.TextMatrix(fg.Row(), 0).empty()) << "the subfolders were not read";
        QTest::keyClick(pGrid, Qt::Key_Left);
        EXPECT_EQ(fg.Row(), nClosed);
        QTest::keyClick(pGrid, Qt::Key_Left);
        EXPECT_EQ(fg.IsCollapsed(nClosed), pf::OutlineState::Collapsed);
        EXPECT_FALSE(fg.RowIsVisible(nClosed + 1));
        QTest::keyClick(pGrid, Qt::Key_Plus, Qt::KeypadModifier);
        EXPECT_EQ(fg.IsCollapsed(nClosed), pf::OutlineState::Expanded);
        QTest::keyClick(pGrid, Qt::Key_Minus, Qt::KeypadModifier);
        EXPECT_EQ(fg.IsCollapsed(nClosed), pf::OutlineState::Collapsed);
        QTest::keyClick(pGrid, Qt::Key_Plus);
        EXPECT_EQ(fg.IsCollapsed(nClosed), pf::OutlineState::Expanded);

        const int nBefore = fg.Row();
        QTest::keyClick(pGrid, Qt::Key_Down);
        EXPECT_NE(fg.Row(), nBefore);
        const auto eBefore = fg.CellChecked(fg.Row(), 0);
        QTest::keyClick(pGrid, Qt::Key_Space);
        EXPECT_NE(fg.CellChecked(fg.Row(), 0), eBefore) << fg.TextMatrix(fg.Row(), 0);
        QTest::keyClick(pGrid, Qt::Key_Tab);
        EXPECT_NE(QApplication::focusWidget(), pGrid) << "Tab stayed in the tree";
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        EXPECT_EQ(QApplication::focusWidget(), pGrid);
        QTest::keyClick(pGrid, Qt::Key_Return);
        EXPECT_FALSE(oPicker.isVisible()) << "Enter left the picker open";
    });
    EXPECT_TRUE(MenuOf(*pView).Click("select"));
    EXPECT_TRUE(bShown);
    ASSERT_NE(bOK, nullptr);
    EXPECT_TRUE(*bOK) << "Enter did not press OK";
    oHost.Stop();
}

// The template manager: Down to the next template and Enter, which picks it.
TEST_F(GuiKeysTest, ATemplateIsPickedWithTheArrowsAndEnter)
{
    std::ostringstream out;
    host::GuiHost oHost(oOptions, TV_ADDIN_PATH, out);
    gui::FormView* pView = OpenReportWindow(oHost);
    ASSERT_NE(pView, nullptr) << out.str();
    std::shared_ptr<bool> bOK;
    WhenFormShown("frmTemplate", [&](gui::FormView& oList) {
        bOK = Watch(oList, "cmdOK");
        auto* pGrid = FocusGrid(oList, "fg");
        ASSERT_NE(pGrid, nullptr);
        QTest::keyClick(pGrid, Qt::Key_Down);
        QTest::keyClick(pGrid, Qt::Key_Return);
        EXPECT_FALSE(oList.isVisible()) << "Enter left the template manager open";
    });
    EXPECT_TRUE(MenuOf(*pView).Click("templates"));
    ASSERT_NE(bOK, nullptr);
    EXPECT_TRUE(*bOK) << "Enter did not press OK";
    oHost.Stop();
}

// The view's filter: a date typed into From in the language's order is the date the filter
// takes; its category list is answered with Space and Enter; the column chooser and the totals
// dialog take Enter for OK from their lists, and the totals dialog opens an operation's list
// on a click.
TEST_F(GuiKeysTest, TheViewsDialogsTakeTypedDatesAndEnter)
{
    std::ostringstream out;
    host::GuiHost oHost(oOptions, TV_ADDIN_PATH, out);
    gui::FormView* pView = OpenReportWindow(oHost);
    ASSERT_NE(pView, nullptr) << out.str();
    const std::string sTyped = rt::Format(rt::Variant(rt::DateSerial(2026, 6, 1)), "Short Date");
    rt::Date oFrom;
    std::string sCategories;
    std::shared_ptr<bool> bChooserOK, bCalcOK;
    std::string sOperation;
    WhenFormShown("frmView", [&](gui::FormView& oView) {
        WhenFormShown("frmFilter", [&](gui::FormView& oFilter) {
            ASSERT_TRUE(guitest::ActivateWindow(oFilter));
            // A date field first: the dates are for it.
            auto* pField = qobject_cast<QComboBox*>(oFilter.WidgetOf("cboDateField"));
            ASSERT_NE(pField, nullptr);
            ASSERT_GT(pField->count(), 1);
            pField->setCurrentIndex(1);
            emit pField->activated(1);
            auto* pFrom = qobject_cast<QDateEdit*>(oFilter.WidgetOf("dpFrom"));
            ASSERT_NE(pFrom, nullptr);
            ASSERT_TRUE(pFrom->isEnabled());
            // The field's focus-in, which readies it for a typed date, comes before the first key,
            // as it does under a person's hands; the focus leaving it hands the date on.
            pFrom->setFocus(Qt::TabFocusReason);
            ASSERT_TRUE(pFrom->hasFocus());
            QTest::keyClicks(pFrom, QString::fromStdString(sTyped));
            QTest::keyClick(pFrom, Qt::Key_Tab);
            EXPECT_FALSE(pFrom->hasFocus());
            oFrom = dynamic_cast<pf::DTPicker&>(*oFilter.Form().FindControl("dpFrom")).Value();
            EXPECT_EQ(pFrom->text().toStdString(), sTyped);

            WhenFormShown("frmCatList", [&](gui::FormView& oList) {
                auto bOK = Watch(oList, "cmdOK");
                auto* pGrid = FocusGrid(oList, "fg");
                ASSERT_NE(pGrid, nullptr);
                const auto& fg = pGrid->Grid();
                ASSERT_GT(pGrid->model()->rowCount(), 0);
                if (fg.Row() < fg.FixedRows())
                    QTest::keyClick(pGrid, Qt::Key_Down);
                const auto eBefore = fg.CellChecked(fg.Row(), 0);
                QTest::keyClick(pGrid, Qt::Key_Space);
                EXPECT_NE(fg.CellChecked(fg.Row(), 0), eBefore);
                QTest::keyClick(pGrid, Qt::Key_Return);
                EXPECT_TRUE(*bOK) << "Enter did not press the category list's OK";
                EXPECT_FALSE(oList.isVisible()) << "Enter left the category list open";
            });
            QTest::mouseClick(oFilter.WidgetOf("cmdCategories"), Qt::LeftButton);
            sCategories = dynamic_cast<pf::TextBox&>(*oFilter.Form().FindControl("txtCats")).Text();
            QTest::mouseClick(oFilter.WidgetOf("cmdCancel"), Qt::LeftButton);
        });
        QTest::mouseClick(oView.WidgetOf("cmdFilter"), Qt::LeftButton);

        WhenFormShown("frmFieldChooser", [&](gui::FormView& oChooser) {
            bChooserOK = Watch(oChooser, "cmdOK");
            auto* pGrid = FocusGrid(oChooser, "fgSelected");
            ASSERT_NE(pGrid, nullptr);
            QTest::keyClick(pGrid, Qt::Key_Return);
            EXPECT_FALSE(oChooser.isVisible()) << "Enter left the column chooser open";
        });
        QTest::mouseClick(oView.WidgetOf("cmdFields"), Qt::LeftButton);

        WhenFormShown("frmCalc", [&](gui::FormView& oCalc) {
            bCalcOK = Watch(oCalc, "cmdOK");
            auto* pGrid = FocusGrid(oCalc, "fg");
            ASSERT_NE(pGrid, nullptr);
            const auto& fg = pGrid->Grid();
            ASSERT_GT(pGrid->model()->rowCount(), fg.FixedRows());
            const QModelIndex cell = pGrid->model()->index(pGrid->model()->rowCount() - 1, 1);
            const int r = pGrid->Model().GridRow(cell.row());
            pGrid->scrollTo(cell);
            QTest::mouseClick(pGrid->viewport(), Qt::LeftButton, {},
                              pGrid->visualRect(cell).center());
            auto* pList = pGrid->viewport()->findChild<QComboBox*>();
            ASSERT_NE(pList, nullptr) << "the click opened no list";
            EXPECT_TRUE(pList->view()->isVisible()) << "the click left the list closed";
            const int nPick = pList->currentIndex() == 1 ? 2 : 1;
            pList->view()->setCurrentIndex(pList->model()->index(nPick, 0));
            sOperation = pList->itemText(nPick).toStdString();
            QTest::keyClick(pList->view(), Qt::Key_Return);
            QApplication::processEvents(); // the view commits the pick from its loop
            EXPECT_EQ(fg.TextMatrix(r, 1), sOperation);
            pGrid->setFocus();
            QTest::keyClick(pGrid, Qt::Key_Return);
            EXPECT_FALSE(oCalc.isVisible()) << "Enter left the totals dialog open";
        });
        QTest::mouseClick(oView.WidgetOf("cmdCalc"), Qt::LeftButton);
        QTest::mouseClick(oView.WidgetOf("cmdCancel"), Qt::LeftButton);
    });
    EXPECT_TRUE(MenuOf(*pView).Click("setview"));
    EXPECT_EQ(oFrom.Serial(), rt::DateSerial(2026, 6, 1).Serial()) << "typed " << sTyped;
    EXPECT_FALSE(sCategories.empty()) << "the category list's OK handed nothing on";
    ASSERT_NE(bChooserOK, nullptr);
    EXPECT_TRUE(*bChooserOK) << "Enter did not press the column chooser's OK";
    ASSERT_NE(bCalcOK, nullptr);
    EXPECT_TRUE(*bCalcOK) << "Enter did not press the totals dialog's OK";
    EXPECT_FALSE(sOperation.empty());
    oHost.Stop();
}

// The report grid keeps its keys: Page Down, End and Ctrl+Home move its current cell; + and -
// (Left and Right in the outline column) fold and unfold a group.
TEST_F(GuiKeysTest, TheReportIsWalkedWithThePageKeys)
{
    std::ostringstream out;
    host::GuiHost oHost(oOptions, TV_ADDIN_PATH, out);
    gui::FormView* pView = OpenReportWindow(oHost);
    ASSERT_NE(pView, nullptr) << out.str();
    auto* pGrid = FocusGrid(*pView, "fg");
    ASSERT_NE(pGrid, nullptr);
    const auto& fg = pGrid->Grid();
    QTest::keyClick(pGrid, Qt::Key_Home, Qt::ControlModifier);
    const int nFirst = fg.Row(), nFirstCol = fg.Col();
    QTest::keyClick(pGrid, Qt::Key_PageDown);
    EXPECT_GT(fg.Row(), nFirst + 1) << "Page Down moved less than a page";
    QTest::keyClick(pGrid, Qt::Key_End);
    EXPECT_GT(fg.Col(), nFirstCol) << "End stayed in the first column";
    QTest::keyClick(pGrid, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(fg.Row(), nFirst);
    EXPECT_EQ(fg.Col(), nFirstCol);
    // A group folds and unfolds with - and +, and with Left and Right in the outline column.
    int nGroup = -1;
    for (int r = fg.FixedRows(); r + 1 < fg.Rows() && nGroup < 0; ++r)
        if (fg.IsSubtotal(r) && fg.RowIsVisible(r) && !fg.IsSubtotal(r + 1))
            nGroup = r;
    ASSERT_GE(nGroup, 0) << "the report shows no group";
    auto& grid = pGrid->Grid();
    grid.Select(nGroup, 1);
    QTest::keyClick(pGrid, Qt::Key_Minus);
    EXPECT_EQ(fg.IsCollapsed(nGroup), pf::OutlineState::Collapsed);
    EXPECT_FALSE(fg.RowIsVisible(nGroup + 1));
    QTest::keyClick(pGrid, Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(fg.IsCollapsed(nGroup), pf::OutlineState::Expanded);
    EXPECT_TRUE(fg.RowIsVisible(nGroup + 1));
    grid.Select(nGroup, fg.OutlineCol());
    QTest::keyClick(pGrid, Qt::Key_Left);
    EXPECT_EQ(fg.IsCollapsed(nGroup), pf::OutlineState::Collapsed);
    QTest::keyClick(pGrid, Qt::Key_Right);
    EXPECT_EQ(fg.IsCollapsed(nGroup), pf::OutlineState::Expanded);
    EXPECT_EQ(fg.Row(), nGroup);
    oHost.Stop();
}

} // namespace
