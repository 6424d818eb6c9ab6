// The client's windows as a person meets them on Qt's offscreen platform: the report window
// comes back where the person left it, the find button stands beside the find box, and an item
// window the add-in displays lets the person address and send the mail. TV_GUI_LANG (en, de)
// chooses the language.
#include "GuiHostFixture.h"
#include "gui/FormView.h"
#include "gui/GridModel.h"
#include "gui/GridView.h"
#include "gui/InspectorView.h"
#include "gui/Units.h"
#include "host/AddInLibrary.h"
#include "host/GuiHost.h"
#include "host/MailboxCommands.h"
#include "platform/forms/FlexGrid.h"
#include "platform/forms/Form.h"
#include "platform/forms/StandardControls.h"
#include "platform/win/Desktop.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

namespace {

namespace pf = platform::forms;

using host_test::Language;

class GuiWindowsTest : public host_test::GuiHostFixture
{
protected:
    void TearDown() override
    {
        if (m_host)
            m_host->Stop();
        m_host.reset();
        GuiHostFixture::TearDown();
    }
    /// Starts the client, opens the report window and lets it settle: its view, or null.
    gui::FormView* OpenReportWindow()
    {
        m_host = std::make_unique<host::GuiHost>(oOptions, TV_ADDIN_PATH, out);
        gui::FormView* pView = GuiHostFixture::OpenReportWindow(*m_host);
        Settle();
        return pView;
    }

    static void Settle()
    {
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
    }
    /// Closes the report window by its close box and opens it again by the ribbon button.
    static gui::FormView* CloseAndReopen(host::GuiHost& oHost, gui::FormView& oView)
    {
        EXPECT_TRUE(oView.close());
        Settle();
        EXPECT_FALSE(oView.isVisible());
        // Where the hidden window stands now must not matter: the stored placement does.
        oView.move(3, 5);
        oView.resize(300, 200);
        QTest::mouseClick(oHost.Client()->RibbonButton(), Qt::LeftButton);
        Settle();
        return oHost.ReportView();
    }

    std::ostringstream out;
    std::unique_ptr<host::GuiHost> m_host;
};

TEST_F(GuiWindowsTest, ReportWindowOpensLargeEnoughToShowTheReport)
{
    gui::FormView* pView = OpenReportWindow();
    ASSERT_NE(pView, nullptr) << out.str();
    // Never below the window's minimum of 8880 x 3000 twips, and room for a screen of rows.
    EXPECT_GE(pView->width(), gui::Pixels(8880));
    EXPECT_GE(pView->height(), gui::Pixels(3000));
    auto* pGrid = pView->findChild<gui::GridView*>("fg");
    ASSERT_NE(pGrid, nullptr);
    EXPECT_GE(pGrid->viewport()->height(), 20 * pGrid->fontMetrics().height());
    EXPECT_GE(pGrid->viewport()->width(), 800);
}

TEST_F(GuiWindowsTest, ReportWindowComesBackAtItsPlaceAndSizeClampedToTheScreen)
{
    gui::FormView* pView = OpenReportWindow();
    ASSERT_NE(pView, nullptr) << out.str();
    host::GuiHost& oHost = *m_host;
    pView->move(140, 100);
    pView->resize(640, 400);
    Settle();
    const pf::Form& oForm = pView->Form();
    EXPECT_EQ(oForm.Left(), gui::Twips(140));
    EXPECT_EQ(oForm.Top(), gui::Twips(100));

    pView = CloseAndReopen(oHost, *pView);
    ASSERT_NE(pView, nullptr);
    EXPECT_TRUE(pView->isVisible());
    EXPECT_EQ(pView->pos(), QPoint(140, 100));
    EXPECT_EQ(pView->size(), QSize(640, 400));

    // Left off the screen and below it: it comes back inside, at its size.
    pView->move(-300, 5000);
    Settle();
    pView = CloseAndReopen(oHost, *pView);
    ASSERT_NE(pView, nullptr);
    const auto& oDesktop = platform::win::Desktop::current();
    EXPECT_EQ(pView->x(), 0);
    EXPECT_EQ(oForm.Top() + oForm.Height(), oDesktop.screenHeightTwips());
    EXPECT_EQ(pView->y(), gui::Pixels(oForm.Top()));
    EXPECT_EQ(pView->size(), QSize(640, 400));

    // Maximised when closed: maximised again, and its normal place is kept for later.
    pView->move(60, 40);
    Settle();
    pView->showMaximized();
    Settle();
    EXPECT_EQ(oForm.Left(), gui::Twips(60));
    EXPECT_EQ(oForm.Top(), gui::Twips(40));
    pView = CloseAndReopen(oHost, *pView);
    ASSERT_NE(pView, nullptr);
    EXPECT_TRUE(pView->isMaximized());
    EXPECT_EQ(oForm.GetWindowState(), pf::WindowState::Maximized);
}

TEST_F(GuiWindowsTest, FindButtonStandsBesideTheFindBoxWithCaptionAndTooltip)
{
    gui::FormView* pView = OpenReportWindow();
    ASSERT_NE(pView, nullptr) << out.str();
    host::GuiHost& oHost = *m_host;
    auto* pButton = qobject_cast<QPushButton*>(pView->WidgetOf("cmdFind"));
    auto* pBox = qobject_cast<QLineEdit*>(pView->WidgetOf("txtFind"));
    ASSERT_NE(pButton, nullptr);
    ASSERT_NE(pBox, nullptr);
    const bool bGerman = Language() == "de";
    EXPECT_EQ(pButton->text(), bGerman ? "Suchen" : "Find");
    EXPECT_EQ(pButton->toolTip(), bGerman ? "Die nächste Zeile suchen, die den Text enthält"
                                          : "Find the next row that holds the text");
    // Right of the box, in its row, with its caption whole.
    const QRect box(pBox->mapTo(pView, QPoint(0, 0)), pBox->size());
    const QRect button(pButton->mapTo(pView, QPoint(0, 0)), pButton->size());
    EXPECT_GE(button.left(), box.right());
    EXPECT_LE(button.left() - box.right(), 16);
    EXPECT_LE(std::abs(button.center().y() - box.center().y()), 4);
    EXPECT_GE(pButton->width(), pButton->fontMetrics().horizontalAdvance(pButton->text()));

    // It finds: the text of a data cell selects its row.
    auto& grid = *oHost.Library()->ReportGrid();
    int nRow = -1;
    for (int r = grid.FixedRows(); r < grid.Rows() && nRow < 0; ++r)
        if (!grid.IsSubtotal(r) && grid.RowIsVisible(r) && !grid.TextMatrix(r, 1).empty())
            nRow = r;
    ASSERT_GT(nRow, 0);
    grid.SetRow(grid.Rows() - 1);
    QTest::keyClicks(pBox, QString::fromStdString(grid.TextMatrix(nRow, 1)));
    QTest::mouseClick(pButton, Qt::LeftButton);
    // The current row moved to a row that holds the text.
    bool bHolds = false;
    for (int c = 0; c < grid.Cols(); ++c)
        bHolds = bHolds ||
                 grid.TextMatrix(grid.Row(), c).find(grid.TextMatrix(nRow, 1)) != std::string::npos;
    EXPECT_TRUE(bHolds) << grid.Row();

    // Enter in the box finds as one click does: the next row that holds the text, once.
    const int nFoundByClick = grid.Row();
    grid.SetRow(grid.Rows() - 1);
    pBox->setFocus();
    QTest::keyClick(pBox, Qt::Key_Return);
    Settle();
    EXPECT_EQ(grid.Row(), nFoundByClick);
}

TEST_F(GuiWindowsTest, SupportMailIsAddressedAndSentFromItsWindow)
{
    gui::FormView* pView = OpenReportWindow();
    ASSERT_NE(pView, nullptr) << out.str();
    host::GuiHost& oHost = *m_host;
    EXPECT_TRUE(MenuOf(*pView).Click("support"));
    Settle();
    const auto vWindows = oHost.ItemWindows();
    ASSERT_EQ(vWindows.size(), 1U) << out.str();
    gui::InspectorView& oWindow = *vWindows[0];
    auto* pTo = oWindow.findChild<QLineEdit*>("to");
    auto* pSubject = oWindow.findChild<QLineEdit*>("subject");
    auto* pSend = oWindow.findChild<QPushButton*>("send");
    ASSERT_TRUE(pTo && pSubject && pSend);
    const bool bGerman = Language() == "de";
    EXPECT_EQ(pSend->text(), bGerman ? "Senden" : "Send");
    EXPECT_TRUE(oWindow.Text().startsWith(bGerman ? "An: " : "To: "))
        << oWindow.Text().toStdString();
    oWindow.resize(720, 520);
    QDir().mkpath(TV_SCREENSHOT_DIR);
    EXPECT_TRUE(oWindow.grab().save(
        QStringLiteral(TV_SCREENSHOT_DIR "/mail-%1.png").arg(QString::fromStdString(Language()))));

    // The person addresses it anew and gives it a subject of their own, then sends it.
    pTo->selectAll();
    QTest::keyClicks(pTo, QStringLiteral("hilfe@kestrova.example"));
    pSubject->selectAll();
    QTest::keyClicks(pSubject, QStringLiteral("Frage zum Bericht"));
    const std::string sBefore = *host::RunMailboxCommand("mailbox sent");
    EXPECT_EQ(sBefore.find("Frage zum Bericht"), std::string::npos);
    QTest::mouseClick(pSend, Qt::LeftButton);
    Settle();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(oHost.ItemWindows().empty());
    const std::string sAfter = *host::RunMailboxCommand("mailbox sent");
    // The mailbox lists the mail in the host's language.
    const std::string sToLabel = bGerman ? "an: " : "to: ";
    const auto nMail = sAfter.find(std::string("Frage zum Bericht  ") +
                                   (bGerman ? "(gesendet)" : "(sent)") + "\n     " + sToLabel);
    ASSERT_NE(nMail, std::string::npos) << sAfter;
    const std::string sTo =
        sAfter.substr(nMail, sAfter.find('\n', sAfter.find(sToLabel, nMail)) - nMail);
    EXPECT_NE(sTo.find("hilfe@kestrova.example"), std::string::npos) << sTo;
}

TEST_F(GuiWindowsTest, AnAppointmentOpensReadOnlyWithItsFields)
{
    gui::FormView* pView = OpenReportWindow();
    ASSERT_NE(pView, nullptr) << out.str();
    auto& grid = *m_host->Library()->ReportGrid();
    int nRow = -1;
    for (int r = grid.FixedRows(); r < grid.Rows() && nRow < 0; ++r)
        if (!grid.IsSubtotal(r) && grid.RowIsVisible(r))
            nRow = r;
    ASSERT_GT(nRow, 0);
    // The person double-clicks the row.
    auto* pGrid = pView->findChild<gui::GridView*>("fg");
    ASSERT_NE(pGrid, nullptr);
    const QModelIndex cell = pGrid->model()->index(pGrid->Model().ModelRow(nRow), 1);
    pGrid->scrollTo(cell);
    const QPoint at = pGrid->visualRect(cell).center();
    QTest::mouseClick(pGrid->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(pGrid->viewport(), Qt::LeftButton, {}, at);
    Settle();
    const auto vWindows = m_host->ItemWindows();
    ASSERT_EQ(vWindows.size(), 1U) << out.str();
    gui::InspectorView& oWindow = *vWindows[0];
    const bool bGerman = Language() == "de";
    // Its dates and categories in fields of their own, labelled in the user's language; nothing
    // to edit or send.
    const QString sText = oWindow.Text();
    EXPECT_TRUE(sText.contains(bGerman ? "Beginn: " : "Start: ")) << sText.toStdString();
    EXPECT_TRUE(sText.contains(bGerman ? "Kategorien: " : "Categories: ")) << sText.toStdString();
    EXPECT_FALSE(oWindow.findChild<QPushButton*>("send")->isVisible());
    EXPECT_FALSE(oWindow.findChild<QLineEdit*>("to")->isVisible());
    for (auto* pField : oWindow.findChildren<QLineEdit*>())
        EXPECT_TRUE(pField->isReadOnly()) << pField->text().toStdString();
    EXPECT_TRUE(oWindow.findChild<QPushButton*>("close")->isVisible());
}

} // namespace
