// The report window's dialogs as windows on Qt's offscreen platform: the person opens each
// one from the menus and the dialogs that lead to it, and each keeps a screenshot under the
// build folder (TV_GUI_LANG chooses the language). Every dialog shows its controls with their
// texts and its lists filled.
#include "host/GuiHost.h"
#include "GuiHostFixture.h"
#include "gui/ClientWindow.h"
#include "gui/FormView.h"
#include "platform/forms/Form.h"
#include "platform/forms/MenuBar.h"
#include "platform/forms/StandardControls.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
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

    /// The screenshot, and what must be readable: every visible button and label that has a
    /// caption in the model shows it, every visible list that has entries shows them.
    void Look(gui::FormView& oView)
    {
        QApplication::processEvents();
        QDir().mkpath(TV_SCREENSHOT_DIR);
        const QString sShot = QStringLiteral(TV_SCREENSHOT_DIR "/%1-%2.png")
                                  .arg(oView.objectName(), QString::fromStdString(Language()));
        EXPECT_TRUE(oView.grab().save(sShot));
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
        for (const auto& [sButton, sForm] :
             {std::pair{"cmdFields", "frmFieldChooser"}, {"cmdGroupBy", "frmGroupBy"},
              {"cmdSort", "frmSort"}, {"cmdCalc", "frmCalc"}}) {
            Visit(sForm);
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
                              "frmAction", "frmText", "frmDialog"})
        EXPECT_TRUE(oVisited.count(sForm)) << sForm << " did not show\n" << out.str();
    oHost.Stop();
}

} // namespace
