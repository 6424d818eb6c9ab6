// The windows worked with the keyboard, as a person who leaves the mouse alone works them: a
// folder, a category and a template picked with the arrows, Space and Enter, the focus moved
// on with Tab, a date typed into the filter, an operation picked in the totals dialog and the
// report walked with the page keys. TV_GUI_LANG (en, de) chooses the language.
#include "GuiHostFixture.h"
#include "gui/FormView.h"
#include "gui/GridModel.h"
#include "gui/GridView.h"
#include "gui/InspectorView.h"
#include "host/AddInLibrary.h"
#include "host/GuiHost.h"
#include "host/MailboxCommands.h"
#include "platform/forms/FlexGrid.h"
#include "platform/forms/Form.h"
#include "platform/forms/StandardControls.h"
#include "platform/runtime/Date.h"
#include "platform/runtime/Format.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPointer>
#include <QTest>

#include <gtest/gtest.h>

#include <cctype>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <set>
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

    /// The single-line fields of the window a person may press Enter in: text boxes, editable
    /// and plain lists, date and number fields, as they show now.
    static std::vector<QWidget*> SingleLineFields(QWidget& oWindow)
    {
        std::vector<QWidget*> vFields;
        for (QWidget* pWidget : oWindow.findChildren<QWidget*>()) {
            if (!pWidget->isVisible() || !pWidget->isEnabled())
                continue;
            const QWidget* pParent = pWidget->parentWidget();
            const bool bPart = qobject_cast<const QAbstractSpinBox*>(pParent) ||
                               qobject_cast<const QComboBox*>(pParent);
            if (qobject_cast<QAbstractSpinBox*>(pWidget) || qobject_cast<QComboBox*>(pWidget) ||
                (qobject_cast<QLineEdit*>(pWidget) && !bPart))
                vFields.push_back(pWidget);
        }
        return vFields;
    }

    /// Presses Enter (and Enter of the keypad) in each single-line field of a form's window,
    /// with the form's buttons held: a button Enter pressed is noted, not run, so that the
    /// window stays for the next field. Only the form's default button may be pressed so.
    static void EnterInEveryField(gui::FormView& oView, std::set<std::string>& oFields)
    {
        const std::string sForm = oView.objectName().toStdString();
        std::vector<std::pair<std::shared_ptr<pf::CommandButton>, std::function<void()>>> vHeld;
        std::vector<std::string> vPressed;
        std::string sDefault;
        for (const auto& oControl : oView.Form().Controls())
            if (auto oButton = std::dynamic_pointer_cast<pf::CommandButton>(oControl)) {
                if (oButton->Default)
                    sDefault = oButton->Name();
                vHeld.emplace_back(oButton, oButton->OnClick);
                oButton->OnClick = [&vPressed, sName = oButton->Name()] {
                    vPressed.push_back(sName);
                };
            }
        for (QWidget* pField : SingleLineFields(oView)) {
            const std::string sField = sForm + "." + pField->objectName().toStdString();
            oFields.insert(sField);
            for (const auto& [eKey, eModifiers] :
                 {std::pair{Qt::Key_Return, Qt::KeyboardModifiers()},
                  {Qt::Key_Enter, Qt::KeyboardModifiers(Qt::KeypadModifier)}}) {
                vPressed.clear();
                pField->setFocus(Qt::TabFocusReason);
                QTest::keyClick(pField, eKey, eModifiers);
                QApplication::processEvents();
                EXPECT_TRUE(oView.isVisible()) << sField << ": Enter closed the window";
                for (const std::string& sPressed : vPressed)
                    EXPECT_EQ(sPressed, sDefault) << sField << ": Enter pressed " << sPressed;
            }
        }
        for (auto& [oButton, fnClick] : vHeld)
            oButton->OnClick = fnClick;
    }

    /// Once the form of that name shows: Enter in every field, then `act`, then its Cancel.
    static void EnterWhenShown(const std::string& sForm, std::set<std::string>& oFields,
                               std::function<void(gui::FormView&)> act = {})
    {
        WhenFormShown(sForm, [&oFields, act](gui::FormView& oView) {
            EXPECT_TRUE(guitest::ActivateWindow(oView));
            EnterInEveryField(oView, oFields);
            if (act)
                act(oView);
            if (!oView.isVisible())
                return;
            if (auto* pCancel = qobject_cast<QAbstractButton*>(oView.WidgetOf("cmdCancel")))
                QTest::mouseClick(pCancel, Qt::LeftButton);
            else
                oView.close();
        });
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
            // The lists answer End, Home and a typed letter as any list does.
            auto* pAll = FocusGrid(oChooser, "fgAll");
            ASSERT_NE(pAll, nullptr);
            const auto& fgAll = pAll->Grid();
            ASSERT_GT(fgAll.Rows(), 2);
            QTest::keyClick(pAll, Qt::Key_End);
            const int nLast = fgAll.Row();
            EXPECT_GT(nLast, 0);
            QTest::keyClick(pAll, Qt::Key_Home);
            EXPECT_EQ(fgAll.Row(), 0);
            // The letter the last entry begins with leads to the first entry that does.
            const std::string sLast = fgAll.TextMatrix(nLast, 0);
            const auto nAt = sLast.find_first_not_of(' ');
            ASSERT_NE(nAt, std::string::npos);
            const char cLetter = static_cast<char>(std::toupper(static_cast<unsigned char>(sLast[nAt])));
            if (cLetter >= 'A' && cLetter <= 'Z') {
                int nFirst = -1;
                for (int r = 1; r < fgAll.Rows() && nFirst < 0; ++r) {
                    const std::string sText = fgAll.TextMatrix(r, 0);
                    const auto n = sText.find_first_not_of(' ');
                    if (fgAll.RowIsVisible(r) && n != std::string::npos &&
                        std::toupper(static_cast<unsigned char>(sText[n])) == cLetter)
                        nFirst = r;
                }
                QTest::keyClick(pAll, static_cast<Qt::Key>(Qt::Key_A + (cLetter - 'A')));
                EXPECT_EQ(fgAll.Row(), nFirst) << cLetter;
            }
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

// Enter in any single-line field of any window does nothing that cannot be taken back: it sends
// no mail, writes no file and deletes no item. Where a form has a default button (OK of the
// dialogs), Enter may press that one and no other; the mail window has none, and its fields
// keep the mail unsent.
TEST_F(GuiKeysTest, EnterInAnyFieldDoesNothingIrreversible)
{
    std::ostringstream out;
    host::GuiHost oHost(oOptions, TV_ADDIN_PATH, out);
    gui::FormView* pView = OpenReportWindow(oHost);
    ASSERT_NE(pView, nullptr) << out.str();
    const auto files = [this] {
        std::map<std::string, std::uintmax_t> oFiles;
        for (const auto& oEntry : std::filesystem::recursive_directory_iterator(oRoot))
            if (oEntry.is_regular_file())
                oFiles[oEntry.path().string()] = oEntry.file_size();
        return oFiles;
    };
    const auto mailboxes = [] {
        std::string sAll;
        for (const char* sBox : {"sent", "outbox", "drafts"})
            sAll += *host::RunMailboxCommand(std::string("mailbox ") + sBox);
        return sAll;
    };
    const auto oFilesBefore = files();
    const std::string sMailBefore = mailboxes();
    const std::size_t nItemsBefore = oHost.Library()->ReportGrid()->Rows();
    std::set<std::string> oFields;

    // The report window: its template list and its find box.
    ASSERT_TRUE(guitest::ActivateWindow(*pView));
    EnterInEveryField(*pView, oFields);

    // The view dialog and its sections, the filter with its dates available.
    auto& oMenu = MenuOf(*pView);
    EnterWhenShown("frmView", oFields, [&oFields](gui::FormView& oDialog) {
        EnterWhenShown("frmFilter", oFields, [&oFields](gui::FormView& oFilter) {
            auto* pField = qobject_cast<QComboBox*>(oFilter.WidgetOf("cboDateField"));
            ASSERT_NE(pField, nullptr);
            pField->setCurrentIndex(1);
            emit pField->activated(1);
            EnterInEveryField(oFilter, oFields);
        });
        QTest::mouseClick(oDialog.WidgetOf("cmdFilter"), Qt::LeftButton);
        for (const auto& [sButton, sForm] :
             {std::pair{"cmdGroupBy", "frmGroupBy"}, {"cmdSort", "frmSort"}}) {
            EnterWhenShown(sForm, oFields);
            QTest::mouseClick(oDialog.WidgetOf(sButton), Qt::LeftButton);
        }
    });
    EXPECT_TRUE(oMenu.Click("setview"));

    // The template manager, a template's details, its actions and the header text.
    EnterWhenShown("frmTemplate", oFields, [&oFields](gui::FormView& oList) {
        EnterWhenShown("frmTemplateDetail", oFields, [&oFields](gui::FormView& oDetail) {
            EnterWhenShown("frmAction", oFields, [&oFields](gui::FormView& oAction) {
                EnterWhenShown("frmText", oFields);
                QTest::mouseClick(oAction.WidgetOf("cmdHeaderFooter"), Qt::LeftButton);
            });
            QTest::mouseClick(oDetail.WidgetOf("cmdAutoAction"), Qt::LeftButton);
        });
        QTest::mouseClick(oList.WidgetOf("cmdEdit"), Qt::LeftButton);
    });
    EXPECT_TRUE(oMenu.Click("templates"));

    // The mail window: Enter in To and Subject, addressed or not, sends nothing.
    EXPECT_TRUE(oMenu.Click("support"));
    QApplication::processEvents();
    const auto vWindows = oHost.ItemWindows();
    ASSERT_EQ(vWindows.size(), 1U) << out.str();
    QPointer<gui::InspectorView> pMail = vWindows[0]; // a sent mail's window goes
    ASSERT_TRUE(guitest::ActivateWindow(*pMail));
    // The window reads the mail again once it shows; its rows of fields are made anew then.
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    std::vector<QPointer<QWidget>> vMailFields;
    for (QWidget* pField : SingleLineFields(*pMail))
        vMailFields.emplace_back(pField);
    for (const QPointer<QWidget>& pField : vMailFields) {
        if (!pField)
            continue;
        oFields.insert("mail." + pField->objectName().toStdString());
        if (auto* pEdit = qobject_cast<QLineEdit*>(pField); pEdit && !pEdit->isReadOnly())
            pEdit->setText(pEdit->objectName() == "to" ? "chef@example.com" : "Bericht");
        for (const auto eKey : {Qt::Key_Return, Qt::Key_Enter}) {
            if (!pField)
                break;
            pField->setFocus(Qt::TabFocusReason);
            QTest::keyClick(pField, eKey);
            QApplication::processEvents();
            ASSERT_TRUE(pMail && pMail->isVisible()) << "Enter in the mail's field sent it";
        }
    }
    pMail->OnSave = {};
    pMail->close();
    QApplication::processEvents();

    for (const char* sField : {"frmMain.txtFind", "frmFilter.txtSubject", "frmFilter.dpFrom",
                               "frmFilter.dpTo", "mail.to", "mail.subject"})
        EXPECT_TRUE(oFields.count(sField)) << sField << " was not tried";
    EXPECT_GE(oFields.size(), 15U);
    EXPECT_EQ(mailboxes(), sMailBefore) << "a mail was sent or moved";
    EXPECT_EQ(files(), oFilesBefore) << "a file was written or deleted";
    EXPECT_EQ(oHost.Library()->ReportGrid()->Rows(), nItemsBefore);
    oHost.Stop();
}

} // namespace
