#include "GuiFixture.h"

#include "gui/FormView.h"
#include "gui/GridModel.h"
#include "gui/GridView.h"
#include "platform/forms/FlexGrid.h"
#include "platform/forms/Form.h"
#include "platform/forms/GridControl.h"
#include "platform/forms/StandardControls.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>

#include <memory>
#include <string>
#include <vector>

namespace {

namespace pf = platform::forms;
using guitest::GuiFixture;

// A dialog as the forms make one: a list of fields with their operation, picked from a
// drop-down list, and an OK button that is the form's default one (or a plain button, where
// the form has no default button, as the report window).
class GridViewKeysTest : public GuiFixture
{
protected:
    static constexpr int kField = 0, kOperation = 1;

    void SetUp() override
    {
        GuiFixture::SetUp();
        oForm.SetCaption("Totals");
        fg = oForm.Add<pf::GridControl>("fg");
        cmdOK = oForm.Add<pf::CommandButton>("cmdOK");
        cmdOK->SetCaption("OK");
        cmdOK->OnClick = [this] { ++nOK; };
        txtFind = oForm.Add<pf::TextBox>("txtFind");
        auto& oGrid = Grid();
        oGrid.SetCols(2);
        oGrid.SetFixedCols(0);
        oGrid.SetRows(1);
        oGrid.SetTextMatrix(0, kField, "Field");
        oGrid.SetTextMatrix(0, kOperation, "Operation");
        for (const char* s : {"Duration\t ", "Costs\tSum", "Mileage\t "})
            oGrid.AddItem(s);
        oGrid.SetColComboList(kOperation, " |Sum|Average|Count");
        oGrid.Events.KeyDown = [this](int& keyCode, int&) { vGridKeys.push_back(keyCode); };
    }

    pf::FlexGrid& Grid() const { return fg->Grid(); }

    // Shows the form's window with the focus in the grid; OK is the default button when
    // bDefault.
    void MakeWindow(bool bDefault)
    {
        cmdOK->Default = bDefault;
        oForm.Show();
        pWindow = std::make_unique<gui::FormView>(oForm);
        pWindow->resize(400, 300);
        pView = pWindow->findChild<gui::GridView*>("fg");
        ASSERT_NE(pView, nullptr);
        pView->setFocus(Qt::OtherFocusReason);
    }

    QModelIndex Cell(int gridRow, int col) const
    {
        return pView->model()->index(pView->Model().ModelRow(gridRow), col);
    }
    QComboBox* List() const { return pView->viewport()->findChild<QComboBox*>(); }
    // Whether a cell's editor shows (a closed one hides before it goes).
    bool Editing() const
    {
        for (const QWidget* editor : pView->viewport()->findChildren<QWidget*>())
            if (editor->isVisible() &&
                (qobject_cast<const QLineEdit*>(editor) || qobject_cast<const QComboBox*>(editor)))
                return true;
        return false;
    }

    pf::Form oForm{"frmKeys"};
    std::shared_ptr<pf::GridControl> fg;
    std::shared_ptr<pf::CommandButton> cmdOK;
    std::shared_ptr<pf::TextBox> txtFind;
    std::vector<int> vGridKeys;
    int nOK = 0;
    std::unique_ptr<gui::FormView> pWindow; // goes before the form
    gui::GridView* pView = nullptr;
};

// Enter presses the window's default button from the grid and Tab and Shift+Tab move the focus
// on, as from any other control; the grid keeps the keys it moves with.
TEST_F(GridViewKeysTest, EnterPressesTheDefaultButtonAndTabLeavesTheGrid)
{
    ASSERT_NO_FATAL_FAILURE(MakeWindow(true));
    ASSERT_EQ(pWindow->focusWidget(), pView);
    Grid().Select(1, kField);
    QTest::keyClick(pView, Qt::Key_Down);
    EXPECT_EQ(Grid().Row(), 2);
    QTest::keyClick(pView, Qt::Key_Return);
    EXPECT_EQ(nOK, 1);
    QTest::keyClick(pView, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(nOK, 2);
    const std::vector<int> vWanted = {40};
    EXPECT_EQ(vGridKeys, vWanted);
    QTest::keyClick(pView, Qt::Key_Tab);
    QWidget* pNext = pWindow->focusWidget();
    ASSERT_NE(pNext, nullptr);
    EXPECT_NE(pNext, pView) << "Tab stayed in the grid";
    QTest::keyClick(pNext, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(pWindow->focusWidget(), pView);
    QTest::keyClick(pView, Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_NE(pWindow->focusWidget(), pView) << "Shift+Tab stayed in the grid";
    EXPECT_EQ(vGridKeys, vWanted);
}

// Without a default button, as in the report window, Enter is the grid's: its key handler opens
// the current item; it presses no button from the other controls either.
TEST_F(GridViewKeysTest, EnterIsTheGridsWhereTheWindowHasNoDefaultButton)
{
    ASSERT_NO_FATAL_FAILURE(MakeWindow(false));
    QTest::keyClick(pView, Qt::Key_Return);
    EXPECT_EQ(nOK, 0);
    const std::vector<int> vWanted = {13};
    EXPECT_EQ(vGridKeys, vWanted);
    // Nor does Enter in another control press a button the form never made its default.
    QWidget* pFind = pWindow->WidgetOf("txtFind");
    ASSERT_NE(pFind, nullptr);
    pFind->setFocus();
    QTest::keyClick(pFind, Qt::Key_Return);
    EXPECT_EQ(nOK, 0);
}

// A cell being edited takes Enter for its edit: the text goes into the cell, and neither the
// grid nor the default button sees the key. Tab and Shift+Tab end the edit as well and move the
// focus on to the next or the previous control, not into another cell's editor.
TEST_F(GridViewKeysTest, EnterEndsTheEditOfACellAndGoesNoFurther)
{
    Grid().SetEditable(true);
    ASSERT_NO_FATAL_FAILURE(MakeWindow(true));
    QTest::mouseDClick(pView->viewport(), Qt::LeftButton, {},
                       pView->visualRect(Cell(1, kField)).center());
    auto* editor = pView->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, "Hours");
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents(); // the view commits the editor's text from its loop
    EXPECT_EQ(Grid().TextMatrix(1, kField), "Hours");
    EXPECT_EQ(nOK, 0);
    EXPECT_TRUE(vGridKeys.empty());
    // The next Enter, with the edit done, is the window's again.
    EXPECT_FALSE(Editing());
    pView->setFocus();
    QTest::keyClick(pView, Qt::Key_Return);
    EXPECT_EQ(nOK, 1);
    // Tab ends an edit too, and moves the focus on as from the grid: to the next control, and
    // Shift+Tab to the previous one.
    struct Row
    {
        Qt::Key eKey;
        Qt::KeyboardModifiers eModifiers;
        int nRow;
        const char* sText;
    };
    for (const Row& row : {Row{Qt::Key_Tab, Qt::NoModifier, 2, "Fees"},
                           Row{Qt::Key_Backtab, Qt::ShiftModifier, 3, "Tolls"}}) {
        SCOPED_TRACE(row.sText);
        pView->setFocus();
        QTest::keyClick(pView, row.eKey, row.eModifiers);
        QWidget* pFromGrid = pWindow->focusWidget();
        ASSERT_NE(pFromGrid, pView);
        QTest::mouseDClick(pView->viewport(), Qt::LeftButton, {},
                           pView->visualRect(Cell(row.nRow, kField)).center());
        editor = nullptr; // the first editor may wait to be deleted, hidden
        for (auto* shown : pView->viewport()->findChildren<QLineEdit*>())
            editor = shown->isVisible() ? shown : editor;
        ASSERT_NE(editor, nullptr);
        editor->setFocus();
        editor->selectAll();
        QTest::keyClicks(editor, row.sText);
        QTest::keyClick(editor, row.eKey, row.eModifiers);
        QApplication::processEvents();
        EXPECT_EQ(Grid().TextMatrix(row.nRow, kField), row.sText);
        EXPECT_FALSE(Editing()) << "the key went on to another cell's editor";
        EXPECT_EQ(pWindow->focusWidget(), pFromGrid);
    }
}

// One click on a drop-down cell opens its list; an entry picked there is the cell's new text.
// From the keyboard, F4 or Alt+Down opens it on the current cell.
TEST_F(GridViewKeysTest, AClickOrTheKeyboardOpensADropDownCellsList)
{
    Grid().SetEditable(true);
    std::vector<std::string> vEdits;
    Grid().Events.AfterEdit = [&](int row, int col) {
        vEdits.push_back(std::to_string(row) + "," + std::to_string(col) + " " +
                         Grid().TextMatrix(row, col));
    };
    ASSERT_NO_FATAL_FAILURE(MakeWindow(true));
    QTest::mouseClick(pView->viewport(), Qt::LeftButton, {},
                      pView->visualRect(Cell(2, kOperation)).center());
    EXPECT_EQ(Grid().Row(), 2);
    QComboBox* list = List();
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list->view()->isVisible()) << "the click left the list closed";
    EXPECT_EQ(list->currentText(), "Sum");
    QTest::keyClick(list->view(), Qt::Key_Down);
    QTest::keyClick(list->view(), Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(Grid().TextMatrix(2, kOperation), "Average");
    EXPECT_EQ(Grid().ComboIndex(), 2);
    EXPECT_EQ(nOK, 0);
    EXPECT_FALSE(Editing()) << "the pick left the edit open";

    // The keyboard: down to the next field, then its list.
    for (const auto& [nKey, eModifiers] :
         {std::pair{Qt::Key_F4, Qt::KeyboardModifiers()}, {Qt::Key_Down, Qt::AltModifier}}) {
        SCOPED_TRACE(nKey);
        pView->setFocus();
        Grid().Select(2, kOperation);
        QTest::keyClick(pView, Qt::Key_Down);
        ASSERT_EQ(Grid().Row(), 3);
        QTest::keyClick(pView, nKey, eModifiers);
        EXPECT_EQ(Grid().Row(), 3);
        list = List();
        ASSERT_NE(list, nullptr);
        EXPECT_TRUE(list->view()->isVisible());
        QTest::keyClick(list->view(), Qt::Key_Down);
        QTest::keyClick(list->view(), Qt::Key_Return);
        QApplication::processEvents();
        EXPECT_EQ(Grid().TextMatrix(3, kOperation), "Sum");
        Grid().SetTextMatrix(3, kOperation, " ");
    }
    const std::vector<std::string> vWanted = {"2,1 Average", "3,1 Sum", "3,1 Sum"};
    EXPECT_EQ(vEdits, vWanted);
    EXPECT_EQ(nOK, 0);
}

// The movement keys walk a long report: Ctrl+End to its last cell, which comes into sight,
// Ctrl+Home back to the first.
TEST_F(GridViewKeysTest, MovementKeysWalkTheGridAndTheViewFollows)
{
    for (int i = 0; i < 60; ++i)
        Grid().AddItem("Item " + std::to_string(i) + "\t ");
    ASSERT_NO_FATAL_FAILURE(MakeWindow(false));
    pWindow->resize(300, 200);
    QApplication::processEvents();
    const int nLast = Grid().Rows() - 1;
    QTest::keyClick(pView, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(Grid().Row(), nLast);
    EXPECT_EQ(Grid().Col(), kOperation);
    EXPECT_TRUE(pView->viewport()->rect().contains(pView->visualRect(Cell(nLast, kOperation))))
        << "the last row is out of sight";
    QTest::keyClick(pView, Qt::Key_PageUp);
    EXPECT_LT(Grid().Row(), nLast - 1);
    QTest::keyClick(pView, Qt::Key_Home);
    EXPECT_EQ(Grid().Col(), kField);
    QTest::keyClick(pView, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(Grid().Row(), 1);
    EXPECT_EQ(pView->verticalScrollBar()->value(), 0);
}

} // namespace
