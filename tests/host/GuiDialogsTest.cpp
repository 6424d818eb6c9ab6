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

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <set>
#include <sstream>
#include <string>

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
                    Shoot(*dialog);
                    dialog->reject();
                    return;
                }
        });
        timer->start();
    }

    static void Shoot(QWidget& oWindow)
    {
        QApplication::processEvents();
        QDir().mkpath(TV_SCREENSHOT_DIR);
        const QString sShot = QStringLiteral(TV_SCREENSHOT_DIR "/%1-%2.png")
                                  .arg(oWindow.objectName(), QString::fromStdString(Language()));
        EXPECT_TRUE(oWindow.grab().save(sShot)) << sShot.toStdString();
    }

    /// The screenshot, and what must be readable: every visible button and label that has a
    /// caption in the model shows it, every visible list that has entries shows them, and the
    /// layout lets a person read and reach it all (LayoutChecks.h).
    void Look(gui::FormView& oView)
    {
        Shoot(oView);
        host_test::CheckLayout(oView);
        for (const auto& oControl : oView.Form().Controls()) {
            QWidget* pWidget = oView.WidgetOf(oControl->Name());
            const pf::Control* pContainer = oControl->Container();
            if (!pWidget || !oControl->Visible() || (pContainer && !pContainer->Visible()))
                continue;
            const std::string sWhere = oView.objectName().toStdString() + "." + oControl->Name();
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

    static void Press(gui::FormView& oView, const char* sButton)
    {
        auto* pButton = qobject_cast<QAbstractButton*>(oView.WidgetOf(sButton));
        ASSERT_NE(pButton, nullptr) << sButton;
        QTest::mouseClick(pButton, Qt::LeftButton);
    }

    std::set<std::string> oVisited;
};

TEST_F(GuiDialogsTest, EachDialogOpensAsAReadableWindow)
{
    std::ostringstream out;
    host::GuiHost oHost(oOptions, TV_ADDIN_PATH, out);
    gui::FormView* pView = OpenReportWindow(oHost);
    ASSERT_NE(pView, nullptr) << out.str();
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

    // The folder picker.
    Visit("frmDialog");
    EXPECT_TRUE(oMenu.Click("select"));

    for (const char* sForm : {"frmView", "frmFieldChooser", "frmGroupBy", "frmSort", "frmCalc",
                              "frmFilter", "frmCatList", "frmTemplate", "frmTemplateDetail",
                              "frmAction", "frmText", "frmDialog", "PrintDialog"})
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
        const QString sBefore = pCalcLabel->text();

        // A function picked in the grid and the count box ticked; OK takes them.
        std::pair<std::string, std::string> tPicked;
        WhenFormShown("frmCalc", [&](gui::FormView& oCalc) {
            tPicked = PickFunction(oCalc);
            auto& oCount = dynamic_cast<pf::CheckBox&>(*oCalc.Form().FindControl("chkCount"));
            const int nWas = oCount.Value();
            ClickBox(oCalc.WidgetOf("chkCount"));
            EXPECT_EQ(oCount.Value(), nWas == 1 ? 0 : 1);
            Press(oCalc, "cmdOK");
        });
        Press(oView, "cmdCalc");
        ASSERT_FALSE(tPicked.first.empty()) << "no field without a function";
        const QString sAfter = pCalcLabel->text();
        EXPECT_NE(sAfter, sBefore);
        EXPECT_TRUE(sAfter.contains(QString::fromStdString(tPicked.first))) << sAfter.toStdString();

        // The same, cancelled: the view keeps what it had.
        WhenFormShown("frmCalc", [&](gui::FormView& oCalc) {
            EXPECT_FALSE(PickFunction(oCalc).first.empty());
            Press(oCalc, "cmdCancel");
        });
        Press(oView, "cmdCalc");
        EXPECT_EQ(pCalcLabel->text(), sAfter);

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

} // namespace
