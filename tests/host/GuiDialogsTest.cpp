// The report window's dialogs as windows on Qt's offscreen platform: the person opens each
// one from the menus and the dialogs that lead to it, and each keeps a screenshot under the
// build folder (TV_GUI_LANG chooses the language). Every dialog shows its controls with their
// texts and its lists filled.
#include "GuiHostFixture.h"
#include "LayoutChecks.h"
#include "gui/ClientWindow.h"
#include "gui/FormView.h"
#include "gui/GridModel.h"
#include "gui/GridView.h"
#include "host/GuiHost.h"
#include "platform/forms/FlexGrid.h"
#include "platform/forms/Form.h"
#include "platform/forms/MenuBar.h"
#include "platform/forms/StandardControls.h"
#include "platform/runtime/Error.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHelpEvent>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>
#include <QWindow>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace pf = platform::forms;

using host_test::Language;

class GuiDialogsTest : public host_test::GuiHostFixture
{
protected:
    /// Once the form of that name shows: keeps its screenshot, checks what a person reads in
    /// it, runs `act` (which may open the next dialog) and leaves it with its cancel button.
    void Visit(const std::string& sForm, std::function<void(gui::FormView&)> act = {})
    {
        WhenFormShown(sForm, [this, sForm, act](gui::FormView& oView) {
            oVisited.insert(sForm);
            Look(oView);
            LooksModal(oView);
            if (act)
                act(oView);
            Leave(oView);
        });
    }

    /// Once the desktop dialog of that name shows (a common dialog): keeps its screenshot and
    /// cancels it.
    void VisitDialog(const QString& sName)
    {
        auto* timer = new QTimer;
        timer->setInterval(10);
        QObject::connect(timer, &QTimer::timeout, [this, timer, sName] {
            for (QWidget* widget : QApplication::topLevelWidgets())
                if (auto* dialog = qobject_cast<QDialog*>(widget);
                    dialog && dialog->isVisible() && dialog->objectName() == sName) {
                    timer->stop();
                    timer->deleteLater();
                    oVisited.insert(sName.toStdString());
                    // Modal over the window that opened it, as the forms' dialogs are.
                    EXPECT_EQ(QApplication::activeModalWidget(), dialog) << sName.toStdString();
                    EXPECT_TRUE(dialog->windowHandle() &&
                                dialog->windowHandle()->transientParent())
                        << sName.toStdString();
                    // A file dialog reads its folder in the background.
                    if (qobject_cast<QFileDialog*>(dialog))
                        QTest::qWait(100);
                    Shoot(*dialog);
                    host_test::CheckListTexts(*dialog);
                    dialog->reject();
                    return;
                }
        });
        timer->start();
    }

    /// Keeps the window's screenshot under its name, and the state it shows when given.
    static void Shoot(QWidget& oWindow, const QString& sState = {})
    {
        QApplication::processEvents();
        QDir().mkpath(TV_SCREENSHOT_DIR);
        const QString sName =
            sState.isEmpty() ? oWindow.objectName() : oWindow.objectName() + "-" + sState;
        const QString sShot = QStringLiteral(TV_SCREENSHOT_DIR "/%1-%2.png")
                                  .arg(sName, QString::fromStdString(Language()));
        EXPECT_TRUE(oWindow.grab().save(sShot)) << sShot.toStdString();
    }

    /// The screenshot, and what must be readable: every visible button and label that has a
    /// caption in the model shows it, every visible list that has entries shows them, and the
    /// layout lets a person read and reach it all (LayoutChecks.h).
    void Look(gui::FormView& oView)
    {
        Shoot(oView);
        host_test::CheckLayout(oView);
        // The column chooser's lists show one column across their width.
        if (oView.objectName() == "frmFieldChooser")
            for (const char* sList : {"fgAll", "fgSelected"}) {
                auto* pList = oView.findChild<gui::GridView*>(sList);
                ASSERT_NE(pList, nullptr) << sList;
                EXPECT_TRUE(host_test::FillsItsList(*pList)) << sList;
            }
        for (const auto& oControl : oView.Form().Controls()) {
            QWidget* pWidget = oView.WidgetOf(oControl->Name());
            const pf::Control* pContainer = oControl->Container();
            const std::string sWhere = oView.objectName().toStdString() + "." + oControl->Name();
            // Timers and image lists have nothing to show; every other control has a widget.
            const std::string sKind = oControl->TypeName();
            if (!pWidget && sKind != "Timer" && sKind != "ImageList")
                ADD_FAILURE() << sWhere << " (" << sKind << ") has no widget";
            if (!pWidget || !oControl->Visible() || (pContainer && !pContainer->Visible()))
                continue;
            EXPECT_TRUE(pWidget->isVisibleTo(&oView)) << sWhere;
            EXPECT_GT(pWidget->width(), 0) << sWhere;
            EXPECT_GT(pWidget->height(), 0) << sWhere;
            if (auto* pButton = qobject_cast<QAbstractButton*>(pWidget)) {
                EXPECT_EQ(pButton->text().toStdString(), oControl->Caption()) << sWhere;
            }
            if (auto* pCombo = qobject_cast<QComboBox*>(pWidget)) {
                const auto& oList = dynamic_cast<const pf::ComboBox&>(*oControl);
                EXPECT_EQ(pCombo->count(), oList.ListCount()) << sWhere;
            }
        }
    }

    /// The person picks each other field set: the lists and combos keep their places and
    /// widths, and the layout stays readable with the new entries.
    static void KeepsItsLayoutAcrossFieldSets(gui::FormView& oView)
    {
        auto* pSets = qobject_cast<QComboBox*>(oView.WidgetOf("cboFolder"));
        if (!pSets)
            return;
        std::vector<std::pair<QWidget*, QRect>> aBefore;
        for (QWidget* pWidget : host_test::ShownControls(oView))
            aBefore.emplace_back(pWidget, pWidget->geometry());
        for (int i = pSets->count(); i-- > 0;) {
            pSets->setCurrentIndex(i);
            emit pSets->activated(i);
            QApplication::processEvents();
            for (const auto& [pWidget, oWhere] : aBefore)
                EXPECT_EQ(pWidget->geometry(), oWhere)
                    << oView.objectName().toStdString() << "." << pWidget->objectName().toStdString()
                    << " moved with field set " << i;
        }
        host_test::CheckLayout(oView);
    }

    static void Leave(gui::FormView& oView)
    {
        if (!oView.isVisible())
            return;
        for (const char* sName : {"cmdCancel", "cmdClose"})
            if (auto* pButton = qobject_cast<QAbstractButton*>(oView.WidgetOf(sName))) {
                QTest::mouseClick(pButton, Qt::LeftButton);
                return;
            }
        oView.close();
    }

    /// Clicks the button's widget; the click must reach the form's button.
    static void Press(gui::FormView& oView, const char* sButton)
    {
        auto* pButton = qobject_cast<QAbstractButton*>(oView.WidgetOf(sButton));
        ASSERT_NE(pButton, nullptr) << sButton;
        auto oButton = std::dynamic_pointer_cast<pf::CommandButton>(
            oView.Form().FindControl(sButton));
        ASSERT_NE(oButton, nullptr) << sButton;
        bool bReached = false;
        auto fnClick = oButton->OnClick;
        oButton->OnClick = [&bReached, fnClick] {
            bReached = true;
            if (fnClick)
                fnClick();
        };
        QTest::mouseClick(pButton, Qt::LeftButton);
        oButton->OnClick = fnClick;
        EXPECT_TRUE(bReached) << sButton << ": the click did not reach the form";
    }

    /// A modal form's window stands over the window that opened it, offers no minimise or
    /// maximise button, and the report window takes no click meanwhile.
    void LooksModal(gui::FormView& oView)
    {
        const std::string sWhere = oView.objectName().toStdString();
        EXPECT_EQ(QApplication::activeModalWidget(), &oView) << sWhere;
        ASSERT_NE(oView.windowHandle(), nullptr) << sWhere;
        EXPECT_NE(oView.windowHandle()->transientParent(), nullptr) << sWhere;
        EXPECT_FALSE(oView.windowFlags() & Qt::WindowMinimizeButtonHint) << sWhere;
        EXPECT_FALSE(oView.windowFlags() & Qt::WindowMaximizeButtonHint) << sWhere;
        if (!pReport)
            return;
        // A click on the report grid's last shown row, as the window system delivers it.
        auto* pGrid = pReport->findChild<gui::GridView*>("fg");
        ASSERT_NE(pGrid, nullptr);
        const int nRows = pGrid->model()->rowCount();
        ASSERT_GT(nRows, 1);
        const QModelIndex last = pGrid->indexAt(QPoint(4, pGrid->viewport()->height() - 4));
        const QPoint at = pGrid->viewport()->mapTo(
            pReport, pGrid->visualRect(last.isValid() ? last : pGrid->model()->index(0, 1)).center());
        const int nRow = pGrid->Grid().Row();
        QTest::mouseClick(pReport->windowHandle(), Qt::LeftButton, {}, at);
        EXPECT_EQ(pGrid->Grid().Row(), nRow) << sWhere << ": the report window took a click";
        // Nor does its menu bar open a menu, whose command would run once the dialog closed.
        auto* pMenuBar = pReport->findChild<QMenuBar*>();
        ASSERT_NE(pMenuBar, nullptr);
        ASSERT_FALSE(pMenuBar->actions().isEmpty());
        const QPoint menu = pMenuBar->mapTo(
            pReport, pMenuBar->actionGeometry(pMenuBar->actions().constFirst()).center());
        QTest::mouseClick(pReport->windowHandle(), Qt::LeftButton, {}, menu);
        QWidget* pPopup = QApplication::activePopupWidget();
        EXPECT_EQ(pPopup, nullptr) << sWhere << ": the report window opened a menu";
        if (pPopup)
            pPopup->close();
    }

    gui::FormView* pReport = nullptr; ///< the report window, once open

    std::set<std::string> oVisited;
};

TEST_F(GuiDialogsTest, EachDialogOpensAsAReadableWindow)
{
    std::ostringstream out;
    host::GuiHost oHost(oOptions, TV_ADDIN_PATH, out);
    gui::FormView* pView = OpenReportWindow(oHost);
    ASSERT_NE(pView, nullptr) << out.str();
    pReport = pView;
    auto& oMenu = MenuOf(*pView);

    // The view dialog and its sections; the filter leads to the category list.
    Visit("frmView", [this](gui::FormView& oDialog) {
        for (const auto& [sButton, sForm] : {std::pair{"cmdFields", "frmFieldChooser"},
                                             {"cmdGroupBy", "frmGroupBy"},
                                             {"cmdSort", "frmSort"},
                                             {"cmdCalc", "frmCalc"}}) {
            Visit(sForm, KeepsItsLayoutAcrossFieldSets);
            Press(oDialog, sButton);
        }
        Visit("frmFilter", [this](gui::FormView& oFilter) {
            Visit("frmCatList");
            Press(oFilter, "cmdCategories");
        });
        Press(oDialog, "cmdFilter");
    });
    EXPECT_TRUE(oMenu.Click("setview"));

    // The template list, a template's details, its actions, the header text and the printer.
    Visit("frmTemplate", [this](gui::FormView& oList) {
        Visit("frmTemplateDetail", [this](gui::FormView& oDetail) {
            Visit("frmAction", [this](gui::FormView& oAction) {
                Visit("frmText");
                Press(oAction, "cmdHeaderFooter");
                VisitDialog("PrintDialog");
                Press(oAction, "cmdPrinter");
            });
            Press(oDetail, "cmdAutoAction");
        });
        Press(oList, "cmdEdit");
    });
    EXPECT_TRUE(oMenu.Click("templates"));

    // The save dialog of the report, once its folder is read.
    VisitDialog("FileDialog");
    EXPECT_TRUE(oMenu.Click("saveas"));

    // The folder picker and the about box.
    Visit("frmDialog");
    EXPECT_TRUE(oMenu.Click("select"));
    Visit("frmAbout");
    EXPECT_TRUE(oMenu.Click("info"));

    for (const char* sForm :
         {"frmView", "frmFieldChooser", "frmGroupBy", "frmSort", "frmCalc", "frmFilter",
          "frmCatList", "frmTemplate", "frmTemplateDetail", "frmAction", "frmText", "FileDialog",
          "frmDialog", "PrintDialog", "frmAbout"})
        EXPECT_TRUE(oVisited.count(sForm)) << sForm << " did not show\n" << out.str();
    oHost.Stop();
}

} // namespace

namespace {

using GuiDialogsWorkTest = GuiDialogsTest;

// A click on the box of a check box or option button, where a person clicks it.
void ClickBox(QWidget* pBox)
{
    ASSERT_NE(pBox, nullptr);
    QTest::mouseClick(pBox, Qt::LeftButton, {}, QPoint(8, pBox->height() / 2));
}

// The person picks the second function of the drop-down list in the operation cell of the
// first field without one: answers the field's name and the function's name, or "" when the
// grid offers no such field.
std::pair<std::string, std::string> PickFunction(gui::FormView& oCalc)
{
    auto* pGrid = oCalc.findChild<gui::GridView*>("fg");
    if (!pGrid)
        return {};
    const pf::FlexGrid& fg = pGrid->Grid();
    for (int m = 0; m < pGrid->model()->rowCount(); ++m) {
        const int r = pGrid->Model().GridRow(m);
        // A field without a function shows a blank in its operation cell.
        const bool bBlank = fg.TextMatrix(r, 1).find_first_not_of(' ') == std::string::npos;
        if (r < fg.FixedRows() || !bBlank || fg.TextMatrix(r, 0).empty())
            continue;
        const QModelIndex cell = pGrid->model()->index(m, 1);
        pGrid->scrollTo(cell);
        QTest::mouseDClick(pGrid->viewport(), Qt::LeftButton, {}, pGrid->visualRect(cell).center());
        auto* pList = pGrid->viewport()->findChild<QComboBox*>();
        EXPECT_NE(pList, nullptr) << "row " << r << " " << fg.TextMatrix(r, 0);
        if (!pList || pList->count() < 2)
            return {};
        for (int n = 0; n < 3 && pList->currentIndex() < 1; ++n)
            QTest::keyClick(pList, Qt::Key_Down);
        const std::string sFunction = pList->currentText().toStdString();
        QTest::keyClick(pList, Qt::Key_Return);
        QApplication::processEvents(); // the view commits the editor's data from its loop
        EXPECT_EQ(fg.TextMatrix(r, 1), sFunction);
        return {fg.TextMatrix(r, 0), sFunction};
    }
    return {};
}

TEST_F(GuiDialogsWorkTest, EditsChecksAndOptionsReachTheViewOnOkOnly)
{
    std::ostringstream out;
    host::GuiHost oHost(oOptions, TV_ADDIN_PATH, out);
    gui::FormView* pView = OpenReportWindow(oHost);
    ASSERT_NE(pView, nullptr) << out.str();
    bool bDone = false;
    WhenFormShown("frmView", [&](gui::FormView& oView) {
        auto* pCalcLabel = qobject_cast<QLabel*>(oView.WidgetOf("lbl4"));
        ASSERT_NE(pCalcLabel, nullptr);
        // The summary as read, without the marks that keep its entries whole on a line.
        const auto summary = [pCalcLabel] {
            return pCalcLabel->text()
                .replace(QChar(0x00A0), QLatin1Char(' '))
                .remove(QChar(0x200B));
        };
        const QString sBefore = summary();

        // A function picked in the grid and the count box ticked; OK takes them.
        std::pair<std::string, std::string> tPicked;
        WhenFormShown("frmCalc", [&](gui::FormView& oCalc) {
            tPicked = PickFunction(oCalc);
            // The picked function shows whole in its cell.
            Shoot(oCalc, "picked");
            host_test::CheckLayout(oCalc);
            auto& oCount = dynamic_cast<pf::CheckBox&>(*oCalc.Form().FindControl("chkCount"));
            const int nWas = oCount.Value();
            ClickBox(oCalc.WidgetOf("chkCount"));
            EXPECT_EQ(oCount.Value(), nWas == 1 ? 0 : 1);
            Press(oCalc, "cmdOK");
        });
        Press(oView, "cmdCalc");
        ASSERT_FALSE(tPicked.first.empty()) << "no field without a function";
        const QString sAfter = summary();
        EXPECT_NE(sAfter, sBefore);
        EXPECT_TRUE(sAfter.contains(QString::fromStdString(tPicked.first))) << sAfter.toStdString();

        // The same, cancelled: the view keeps what it had.
        WhenFormShown("frmCalc", [&](gui::FormView& oCalc) {
            EXPECT_FALSE(PickFunction(oCalc).first.empty());
            Press(oCalc, "cmdCancel");
        });
        Press(oView, "cmdCalc");
        EXPECT_EQ(summary(), sAfter);

        // An option clicked turns its sibling off, in the model and on the screen.
        WhenFormShown("frmSort", [&](gui::FormView& oSort) {
            auto& oAsc = dynamic_cast<pf::OptionButton&>(*oSort.Form().FindControl("optAsc0"));
            auto& oDesc = dynamic_cast<pf::OptionButton&>(*oSort.Form().FindControl("optDesc0"));
            auto* pAsc = qobject_cast<QAbstractButton*>(oSort.WidgetOf("optAsc0"));
            ASSERT_NE(pAsc, nullptr);
            ASSERT_TRUE(oAsc.Value());
            ClickBox(oSort.WidgetOf("optDesc0"));
            EXPECT_TRUE(oDesc.Value());
            EXPECT_FALSE(oAsc.Value());
            EXPECT_FALSE(pAsc->isChecked());
            ClickBox(pAsc);
            EXPECT_TRUE(oAsc.Value());
            EXPECT_FALSE(oDesc.Value());
            Press(oSort, "cmdCancel");
        });
        Press(oView, "cmdSort");
        bDone = true;
        Press(oView, "cmdCancel");
    });
    EXPECT_TRUE(MenuOf(*pView).Click("setview"));
    EXPECT_TRUE(bDone);
    oHost.Stop();
}

// Control characters pasted into the actions' file name with the keys, as a person pastes
// them: what reaches the model is refused at OK, the dialog stays with the name to mend, the
// template keeps its name, and reports.xml stays as it was.
TEST_F(GuiDialogsWorkTest, AControlCharacterPastedIntoTheFileNameIsRefusedAtOk)
{
    std::ostringstream out;
    host::GuiHost oHost(oOptions, TV_ADDIN_PATH, out);
    gui::FormView* pView = OpenReportWindow(oHost);
    ASSERT_NE(pView, nullptr) << out.str();
    const auto oReports = oRoot / "Kestrova" / "Tallyman" / "reports.xml";
    const auto readAll = [](const std::filesystem::path& oFile) {
        std::ifstream oIn(oFile, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(oIn), {});
    };
    const std::string sBefore = readAll(oReports);
    // C0 (a byte of its own and the carriage return), C1, a non-character: U+0001, U+000D,
    // U+0085, U+FFFE.
    const std::vector<std::pair<QString, const char*>> vPasted = {
        {QStringLiteral("X\u0001Y"), "U+0001"},
        {QStringLiteral("X\u000DY"), "U+000D"},
        {QStringLiteral("X\u0085Y"), "U+0085"},
        {QString(QChar(0xFFFE)), "U+FFFE"},
    };
    std::vector<std::string> vSaid;
    std::string sKept;
    int nStayed = 0;
    WhenFormShown("frmTemplate", [&](gui::FormView& oList) {
        WhenFormShown("frmTemplateDetail", [&](gui::FormView& oDetail) {
            WhenFormShown("frmAction", [&](gui::FormView& oAction) {
                auto* pName = qobject_cast<QLineEdit*>(oAction.WidgetOf("txtFileName"));
                ASSERT_NE(pName, nullptr);
                auto& oName =
                    dynamic_cast<pf::TextBox&>(*oAction.Form().FindControl("txtFileName"));
                sKept = oName.Text();
                for (const auto& [sText, sName] : vPasted) {
                    pName->setFocus();
                    pName->selectAll();
                    QApplication::clipboard()->setText(QStringLiteral("Monatsbericht ") + sText);
                    QTest::keyClick(pName, Qt::Key_V, Qt::ControlModifier);
                    guitest::WhenWindowShown<QMessageBox>(
                        [](QMessageBox&) { return true; }, [&vSaid](QMessageBox& oBox) {
                            vSaid.push_back(oBox.text().toStdString());
                            oBox.accept();
                        });
                    Press(oAction, "cmdOK");
                    nStayed += oAction.isVisible() ? 1 : 0;
                }
                Press(oAction, "cmdCancel");
            });
            Press(oDetail, "cmdAutoAction");
            Press(oDetail, "cmdCancel");
        });
        Press(oList, "cmdEdit");
        Press(oList, "cmdClose");
    });
    EXPECT_TRUE(MenuOf(*pView).Click("templates"));
    ASSERT_EQ(vSaid.size(), vPasted.size());
    EXPECT_EQ(nStayed, static_cast<int>(vPasted.size()));
    for (std::size_t i = 0; i < vPasted.size(); ++i)
        EXPECT_NE(vSaid[i].find(vPasted[i].second), std::string::npos) << vSaid[i];
    EXPECT_EQ(readAll(oReports), sBefore);
    oHost.Stop();
    // Closing the window saved the template: its file name is the one it had.
    const std::string sAfter = readAll(oReports);
    EXPECT_EQ(sAfter.find("Monatsbericht X"), std::string::npos);
}

} // namespace

namespace {

using GuiDialogsCheckTest = GuiDialogsTest;

// The helpers fail a window that shows none of a control of its form, and a button whose click
// goes nowhere: a test of the tests above.
TEST_F(GuiDialogsCheckTest, HelpersFailAMissingControlAndAClickThatGoesNowhere)
{
    pf::Form oForm("frmHelperCheck");
    oForm.Add<pf::CommandButton>("cmdOK")->SetCaption("OK");
    oForm.Add<pf::Label>("lblInfo")->SetCaption("Info");
    oForm.Show();
    gui::FormView oView(oForm);
    Look(oView);
    Press(oView, "cmdOK");
    delete oView.WidgetOf("lblInfo");
    EXPECT_NONFATAL_FAILURE(Look(oView), "has no widget");
    QObject::disconnect(oView.WidgetOf("cmdOK"), nullptr, nullptr, nullptr);
    EXPECT_NONFATAL_FAILURE(Press(oView, "cmdOK"), "did not reach the form");
    // Not a dialog of the add-in's: its screenshot goes.
    QFile::remove(QStringLiteral(TV_SCREENSHOT_DIR "/frmHelperCheck-%1.png")
                      .arg(QString::fromStdString(Language())));
}

// The first model row whose grid row is not a node of level 0 (an indented folder), or -1.
int FirstIndented(const gui::GridView& oGrid)
{
    for (int m = 0; m < oGrid.model()->rowCount(); ++m)
        if (oGrid.Grid().RowOutlineLevel(oGrid.Model().GridRow(m)) > 0)
            return m;
    return -1;
}

TEST_F(GuiDialogsWorkTest, FoldersAndCategoriesAreTickedByClickAndSpace)
{
    std::ostringstream out;
    host::GuiHost oHost(oOptions, TV_ADDIN_PATH, out);
    gui::FormView* pView = OpenReportWindow(oHost);
    ASSERT_NE(pView, nullptr) << out.str();

    // The folder picker: an indented folder by a click on its box, then Space; the form
    // counts the tick (OK is enabled only while a box is ticked).
    bool bPicker = false;
    WhenFormShown("frmDialog", [&](gui::FormView& oPicker) {
        bPicker = true;
        auto* pGrid = oPicker.findChild<gui::GridView*>("fg");
        ASSERT_NE(pGrid, nullptr);
        const auto& fg = pGrid->Grid();
        const auto& oOK = *oPicker.Form().FindControl("cmdOK");
        const int m = FirstIndented(*pGrid);
        ASSERT_GE(m, 0);
        const int r = pGrid->Model().GridRow(m);
        const QModelIndex cell = pGrid->model()->index(m, 0);
        const auto eBefore = fg.CellChecked(r, 0);
        ASSERT_FALSE(oOK.Enabled());
        QTest::mouseClick(pGrid->viewport(), Qt::LeftButton, {},
                          pGrid->CheckBoxRect(cell).center());
        EXPECT_NE(fg.CellChecked(r, 0), eBefore) << fg.TextMatrix(r, 0);
        EXPECT_TRUE(oOK.Enabled());
        QTest::keyClick(pGrid, Qt::Key_Space);
        EXPECT_EQ(fg.CellChecked(r, 0), eBefore);
        EXPECT_FALSE(oOK.Enabled());
        Press(oPicker, "cmdCancel");
    });
    EXPECT_TRUE(MenuOf(*pView).Click("select"));
    EXPECT_TRUE(bPicker);

    // The category list, from the view's filter: the first category by a click on its box,
    // the second by Space; OK hands both to the filter.
    std::vector<std::string> vTicked;
    std::string sCategories;
    WhenFormShown("frmView", [&](gui::FormView& oView) {
        WhenFormShown("frmFilter", [&](gui::FormView& oFilter) {
            WhenFormShown("frmCatList", [&](gui::FormView& oList) {
                auto* pGrid = oList.findChild<gui::GridView*>("fg");
                ASSERT_NE(pGrid, nullptr);
                const auto& fg = pGrid->Grid();
                ASSERT_GE(pGrid->model()->rowCount(), 2);
                const QModelIndex first = pGrid->model()->index(0, 0);
                const QModelIndex second = pGrid->model()->index(1, 0);
                QTest::mouseClick(pGrid->viewport(), Qt::LeftButton, {},
                                  pGrid->CheckBoxRect(first).center());
                QTest::mouseClick(pGrid->viewport(), Qt::LeftButton, {},
                                  pGrid->visualRect(second).center());
                QTest::keyClick(pGrid, Qt::Key_Space);
                for (const QModelIndex& cell : {first, second}) {
                    const int r = pGrid->Model().GridRow(cell.row());
                    EXPECT_EQ(fg.CellChecked(r, 0), pf::CheckState::Checked) << fg.TextMatrix(r, 0);
                    vTicked.push_back(fg.TextMatrix(r, 0));
                }
                Press(oList, "cmdOK");
            });
            Press(oFilter, "cmdCategories");
            sCategories =
                dynamic_cast<pf::TextBox&>(*oFilter.Form().FindControl("txtCats")).Text();
            Press(oFilter, "cmdCancel");
        });
        Press(oView, "cmdFilter");
        Press(oView, "cmdCancel");
    });
    EXPECT_TRUE(MenuOf(*pView).Click("setview"));
    ASSERT_EQ(vTicked.size(), 2U);
    EXPECT_EQ(sCategories, vTicked[0] + ";" + vTicked[1]);
    oHost.Stop();
}

// Escape with the focus in a dialog's list closes the dialog; where a cell of the list is
// being edited in place, the first Escape only cancels the edit.
void EscapeFrom(gui::FormView& oDialog, const char* sGrid, bool bEdit)
{
    const std::string sWhere = oDialog.objectName().toStdString() + "." + sGrid;
    auto* pGrid = oDialog.findChild<gui::GridView*>(sGrid);
    ASSERT_NE(pGrid, nullptr) << sWhere;
    ASSERT_GT(pGrid->model()->rowCount(), 0) << sWhere;
    pGrid->setFocus();
    if (bEdit) {
        const auto& fg = pGrid->Grid();
        const int col = fg.Cols() > 1 && !fg.ColComboList(1).empty() ? 1 : 0;
        const QModelIndex cell = pGrid->model()->index(0, col);
        const int r = pGrid->Model().GridRow(0);
        const std::string sBefore = fg.TextMatrix(r, col);
        pGrid->scrollTo(cell);
        QTest::mouseDClick(pGrid->viewport(), Qt::LeftButton, {}, pGrid->visualRect(cell).center());
        QWidget* pEditor = pGrid->viewport()->findChild<QLineEdit*>();
        if (auto* pList = pGrid->viewport()->findChild<QComboBox*>()) {
            pEditor = pList;
            QTest::keyClick(pList, Qt::Key_Down);
        } else if (pEditor) {
            QTest::keyClicks(pEditor, "x");
        }
        ASSERT_NE(pEditor, nullptr) << sWhere << ": no editor";
        QTest::keyClick(pEditor, Qt::Key_Escape);
        QApplication::processEvents();
        EXPECT_TRUE(oDialog.isVisible()) << sWhere << ": Escape closed the dialog, not the edit";
        EXPECT_EQ(fg.TextMatrix(r, col), sBefore) << sWhere;
    }
    QTest::keyClick(pGrid, Qt::Key_Escape);
    EXPECT_FALSE(oDialog.isVisible()) << sWhere << ": Escape left the dialog open";
}

TEST_F(GuiDialogsWorkTest, EscapeClosesEachDialogWhereverTheFocusIs)
{
    std::ostringstream out;
    host::GuiHost oHost(oOptions, TV_ADDIN_PATH, out);
    gui::FormView* pView = OpenReportWindow(oHost);
    ASSERT_NE(pView, nullptr) << out.str();
    auto& oMenu = MenuOf(*pView);
    std::set<std::string> oLeft;
    const auto Escape = [&](const char* sForm, const char* sGrid, bool bEdit) {
        WhenFormShown(sForm, [&oLeft, sForm, sGrid, bEdit](gui::FormView& oDialog) {
            EscapeFrom(oDialog, sGrid, bEdit);
            oLeft.insert(std::string(sForm) + "." + sGrid);
        });
    };
    Escape("frmDialog", "fg", false);
    EXPECT_TRUE(oMenu.Click("select"));
    Escape("frmTemplate", "fg", false);
    EXPECT_TRUE(oMenu.Click("templates"));
    WhenFormShown("frmView", [&](gui::FormView& oView) {
        Escape("frmFieldChooser", "fgSelected", true);
        Press(oView, "cmdFields");
        Escape("frmFieldChooser", "fgAll", false);
        Press(oView, "cmdFields");
        Escape("frmCalc", "fg", true);
        Press(oView, "cmdCalc");
        WhenFormShown("frmFilter", [&](gui::FormView& oFilter) {
            Escape("frmCatList", "fg", false);
            Press(oFilter, "cmdCategories");
            Press(oFilter, "cmdCancel");
        });
        Press(oView, "cmdFilter");
        Press(oView, "cmdCancel");
    });
    EXPECT_TRUE(oMenu.Click("setview"));
    const std::set<std::string> oWanted = {"frmDialog.fg",       "frmTemplate.fg",
                                           "frmFieldChooser.fgSelected", "frmFieldChooser.fgAll",
                                           "frmCalc.fg",         "frmCatList.fg"};
    EXPECT_EQ(oLeft, oWanted);
    EXPECT_TRUE(pView->isVisible());
    oHost.Stop();
}

// An error out of an OK button's click is shown as a message; the dialog and the report window
// stay and work on.
TEST_F(GuiDialogsWorkTest, AFailingOkHandlerIsShownAndTheWindowsStay)
{
    std::ostringstream out;
    host::GuiHost oHost(oOptions, TV_ADDIN_PATH, out);
    gui::FormView* pView = OpenReportWindow(oHost);
    ASSERT_NE(pView, nullptr) << out.str();
    QString sShown;
    bool bLeft = false;
    WhenFormShown("frmView", [&](gui::FormView& oView) {
        auto oOK = std::dynamic_pointer_cast<pf::CommandButton>(oView.Form().FindControl("cmdOK"));
        ASSERT_NE(oOK, nullptr);
        oOK->OnClick = [] {
            platform::runtime::Raise(5, "frmView.cmdOK_Click", "The view cannot be kept.");
        };
        guitest::WhenWindowShown<QMessageBox>([](QMessageBox&) { return true; },
                                              [&sShown, &oView](QMessageBox& oBox) {
                                                  sShown = oBox.text();
                                                  // Over the dialog whose button failed.
                                                  EXPECT_EQ(oBox.parentWidget(), &oView);
                                                  oBox.accept();
                                              });
        Press(oView, "cmdOK");
        EXPECT_TRUE(oView.isVisible());
        Press(oView, "cmdCancel");
        bLeft = !oView.isVisible();
    });
    EXPECT_TRUE(MenuOf(*pView).Click("setview"));
    EXPECT_EQ(sShown, "The view cannot be kept.");
    EXPECT_TRUE(bLeft);
    EXPECT_TRUE(pView->isVisible());
    // The report window still answers its menus.
    bool bAgain = false;
    WhenFormShown("frmView", [&](gui::FormView& oView) {
        bAgain = true;
        Press(oView, "cmdCancel");
    });
    EXPECT_TRUE(MenuOf(*pView).Click("setview"));
    EXPECT_TRUE(bAgain);
    oHost.Stop();
}

} // namespace

namespace {

// What a list shows in one of its rows, read from the pixels it draws: the ink's extent and
// the shapes it ends with.
struct DrawnRow
{
    int firstInk = -1, lastInk = -1; // viewport columns, -1 when the row shows no text
    int tallest = 0;                 // the highest glyph's ink in pixels
    std::vector<int> endHeights;     // the ink heights of the last shapes, the last one first
};

DrawnRow ReadRow(gui::GridView& oList, const QModelIndex& cell)
{
    QApplication::processEvents();
    const QImage image = oList.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    // Inside the cell's borders and focus frame, and only what the viewport shows.
    const QRect shown = oList.visualRect(cell).intersected(oList.viewport()->rect());
    const QRect band = shown.adjusted(3, 3, -3, -3);
    std::map<QRgb, int> counts;
    for (int y = band.top(); y <= band.bottom(); ++y)
        for (int x = band.left(); x <= band.right(); ++x)
            ++counts[image.pixel(x, y)];
    const QRgb background =
        std::max_element(counts.begin(), counts.end(), [](const auto& a, const auto& b) {
            return a.second < b.second;
        })->first;
    const auto ink = [&](int x, int y) {
        const QRgb p = image.pixel(x, y);
        return std::abs(qRed(p) - qRed(background)) + std::abs(qGreen(p) - qGreen(background)) +
                   std::abs(qBlue(p) - qBlue(background)) >
               160;
    };
    // Each column's ink height (0 when blank), then the shapes as runs of inked columns.
    DrawnRow row;
    std::vector<int> heights(size_t(std::max(band.width(), 0)), 0);
    for (int x = band.left(); x <= band.right(); ++x) {
        int top = -1, bottom = -1;
        for (int y = band.top(); y <= band.bottom(); ++y)
            if (ink(x, y)) {
                top = top < 0 ? y : top;
                bottom = y;
            }
        if (top < 0)
            continue;
        heights[size_t(x - band.left())] = bottom - top + 1;
        row.firstInk = row.firstInk < 0 ? x : row.firstInk;
        row.lastInk = x;
        row.tallest = std::max(row.tallest, bottom - top + 1);
    }
    for (int i = int(heights.size()) - 1; i >= 0 && row.endHeights.size() < 4;) {
        if (heights[size_t(i)] == 0) {
            --i;
            continue;
        }
        int shape = 0;
        for (; i >= 0 && heights[size_t(i)] > 0; --i)
            shape = std::max(shape, heights[size_t(i)]);
        row.endHeights.push_back(shape);
    }
    return row;
}

// The list's row of the template of that name, or an invalid index.
QModelIndex RowOf(gui::GridView& oList, const std::string& sName)
{
    for (int m = 0; m < oList.model()->rowCount(); ++m)
        if (oList.Grid().TextMatrix(oList.Model().GridRow(m), 0) == sName)
            return oList.model()->index(m, 0);
    return {};
}

// The template's name, too long for the list, ends in an ellipsis (three low dots) just inside
// the visible edge, and its tooltip reads it whole.
void EndsInAnEllipsisAtTheEdge(gui::GridView& oList, const std::string& sName)
{
    const QModelIndex cell = RowOf(oList, sName);
    ASSERT_TRUE(cell.isValid()) << sName;
    oList.scrollTo(cell);
    const DrawnRow row = ReadRow(oList, cell);
    const int nEdge = oList.viewport()->width();
    const std::string sWhere = sName.substr(0, 40) + "... (" + std::to_string(sName.size()) +
                               " bytes), viewport " + std::to_string(nEdge) + " px";
    ASSERT_GE(row.lastInk, 0) << sWhere;
    ASSERT_EQ(row.endHeights.size(), 4U) << sWhere;
    for (size_t i = 0; i < 3; ++i)
        EXPECT_LE(3 * row.endHeights[i], row.tallest)
            << sWhere << ": shape " << i << " from the end is " << row.endHeights[i]
            << " px high, the text " << row.tallest << " px: no ellipsis ends the text";
    // Where the text's room ends: no wider gap than a letter and the margins leave.
    const int nLetter = QFontMetrics(oList.font()).horizontalAdvance(QLatin1Char('W'));
    EXPECT_LT(row.lastInk, nEdge - 3) << sWhere;
    EXPECT_GT(row.lastInk, nEdge - 2 * nLetter - 12) << sWhere;
    // The tooltip a row before showed fades out only after a while.
    QToolTip::hideText();
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }));
    const QPoint at = oList.visualRect(cell).intersected(oList.viewport()->rect()).center();
    QHelpEvent tip(QEvent::ToolTip, at, oList.viewport()->mapToGlobal(at));
    QApplication::sendEvent(oList.viewport(), &tip);
    EXPECT_TRUE(QToolTip::isVisible()) << sWhere;
    EXPECT_EQ(QToolTip::text().toStdString(), sName);
    QToolTip::hideText();
}

// A name that fits shows whole: it ends in a letter, well inside the list.
void ShowsWhole(gui::GridView& oList, const std::string& sName)
{
    const QModelIndex cell = RowOf(oList, sName);
    ASSERT_TRUE(cell.isValid()) << sName;
    oList.scrollTo(cell);
    const DrawnRow row = ReadRow(oList, cell);
    ASSERT_FALSE(row.endHeights.empty()) << sName;
    EXPECT_GT(2 * row.endHeights.front(), row.tallest) << sName << " ends in a low shape";
    EXPECT_LT(row.lastInk, oList.viewport()->width() - 20) << sName;
}

// A name just wider than the list shows: a few letters past its room.
std::string JustTooLong(gui::GridView& oList)
{
    const QFontMetrics metrics(oList.font());
    QString sName = QStringLiteral("Vorlage knapp zu lang ");
    while (metrics.horizontalAdvance(sName) <= oList.viewport()->width())
        sName += QLatin1Char('n');
    return sName.toStdString();
}

// A copy of a template named far longer than the list, and one named just longer: each ends
// in an ellipsis at the list's visible edge, in the manager's own size, also when it opens
// again; the names that fit show whole.
TEST_F(GuiDialogsWorkTest, ALongTemplateNameEndsInAnEllipsisAtTheListsVisibleEdge)
{
    std::ostringstream out;
    host::GuiHost oHost(oOptions, TV_ADDIN_PATH, out);
    gui::FormView* pView = OpenReportWindow(oHost);
    ASSERT_NE(pView, nullptr) << out.str();
    const bool bGerman = Language() == "de";
    const std::string sSource =
        bGerman ? "Journal nach Firma und Monat" : "Journal by Company and Month";
    const std::string sShort = bGerman ? "Projektzeiten" : "Project Hours";
    std::string sLong;
    while (sLong.size() < 300)
        sLong += "Vorlage mit sehr langem Namen ";
    sLong.resize(300);
    std::string sJust;
    const auto check = [&](gui::FormView& oList) {
        auto* pList = oList.findChild<gui::GridView*>("fg");
        ASSERT_NE(pList, nullptr);
        QTest::qWait(50);
        EndsInAnEllipsisAtTheEdge(*pList, sLong);
        EndsInAnEllipsisAtTheEdge(*pList, sJust);
        ShowsWhole(*pList, sSource);
        ShowsWhole(*pList, sShort);
    };
    WhenFormShown("frmTemplate", [&](gui::FormView& oList) {
        auto* pList = oList.findChild<gui::GridView*>("fg");
        ASSERT_NE(pList, nullptr);
        sJust = JustTooLong(*pList);
        for (const std::string& sName : {sLong, sJust}) {
            const QModelIndex source = RowOf(*pList, sSource);
            ASSERT_TRUE(source.isValid()) << sSource;
            QTest::mouseClick(pList->viewport(), Qt::LeftButton, {},
                              pList->visualRect(source).center());
            WhenFormShown("frmTemplateDetail", [sName](gui::FormView& oDetail) {
                auto* pName = qobject_cast<QLineEdit*>(oDetail.WidgetOf("txtNew"));
                ASSERT_NE(pName, nullptr);
                pName->setFocus();
                pName->selectAll();
                QTest::keyClicks(pName, QString::fromStdString(sName));
                Press(oDetail, "cmdOK");
            });
            Press(oList, "cmdCopy");
        }
        check(oList);
        Press(oList, "cmdClose");
    });
    EXPECT_TRUE(MenuOf(*pView).Click("templates"));
    ASSERT_FALSE(sJust.empty());
    WhenFormShown("frmTemplate", [&](gui::FormView& oList) {
        check(oList);
        Press(oList, "cmdClose");
    });
    EXPECT_TRUE(MenuOf(*pView).Click("templates"));
    oHost.Stop();
}

} // namespace
