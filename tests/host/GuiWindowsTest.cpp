// The client's windows as a person meets them on Qt's offscreen platform: the report window
// comes back where the person left it, the find button stands beside the find box, and an item
// window the add-in displays lets the person address and send the mail. TV_GUI_LANG (en, de)
// chooses the language.
#include "GuiHostFixture.h"
#include "LayoutChecks.h"
#include "gui/ClientWindow.h"
#include "gui/DesktopWindows.h"
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
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <fstream>
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

// Looks at the progress window once, the first time the read has given it a number: its
// screenshot, and what a person reads there.
class ProgressWatch : public QObject
{
public:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        auto* widget = qobject_cast<QWidget*>(object);
        if (m_looked || event->type() == QEvent::Paint || !widget)
            return false;
        auto* view = qobject_cast<gui::FormView*>(widget->window());
        if (!view || view->objectName() != "frmProgress" || !view->isVisible())
            return false;
        auto* number = qobject_cast<QLabel*>(view->WidgetOf("lbl2"));
        auto* bar = qobject_cast<QProgressBar*>(view->WidgetOf("PBar"));
        if (!number || !bar)
            return false;
        // Before the read's first number the bar stands empty, never full for a moment.
        if (number->text().isEmpty()) {
            m_filledEarly = m_filledEarly || bar->value() > bar->minimum();
            return false;
        }
        // Looked at once the bar has moved on from its start.
        if (bar->value() <= bar->minimum())
            return false;
        m_looked = true;
        Look(*view, number->text());
        return false;
    }
    bool Looked() const { return m_looked; }
    bool FilledEarly() const { return m_filledEarly; }

private:
    static void Look(gui::FormView& view, const QString& number)
    {
        QDir().mkpath(TV_SCREENSHOT_DIR);
        EXPECT_TRUE(view.grab().save(QStringLiteral(TV_SCREENSHOT_DIR "/frmProgress-%1.png")
                                         .arg(QString::fromStdString(Language()))));
        host_test::CheckLayout(view);
        auto* text = qobject_cast<QLabel*>(view.WidgetOf("lbl0"));
        auto* bar = qobject_cast<QProgressBar*>(view.WidgetOf("PBar"));
        ASSERT_NE(text, nullptr);
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(text->text().toStdString(),
                  Language() == "de" ? "Lese Ordnerinhalte..." : "Reading folder items...");
        // The number is the count of items, and the bar has moved on from its start.
        bool bNumber = false;
        EXPECT_GT(number.toInt(&bNumber), 0);
        EXPECT_TRUE(bNumber) << number.toStdString();
        EXPECT_GT(bar->value(), bar->minimum());
        EXPECT_LE(bar->value(), bar->maximum());
        QRect oParts;
        for (QWidget* part :
             {static_cast<QWidget*>(text), view.WidgetOf("lbl2"), static_cast<QWidget*>(bar)}) {
            EXPECT_TRUE(part->isVisible()) << part->objectName().toStdString();
            const QRect oPart(part->mapTo(&view, QPoint(0, 0)), part->size());
            EXPECT_TRUE(view.rect().contains(oPart))
                << part->objectName().toStdString() << " lies outside the window";
            oParts |= oPart;
        }
        // A small window the parts fill, the number on the line of the text it counts.
        EXPECT_GE(bar->width(), view.width() * 3 / 4) << "the bar is too short to follow";
        EXPECT_GE(oParts.height() * 3, view.height() * 2) << "the window is mostly empty";
        const QWidget* pNumber = view.WidgetOf("lbl2");
        EXPECT_EQ(pNumber->mapTo(&view, QPoint(0, 0)).y(), text->mapTo(&view, QPoint(0, 0)).y());
        EXPECT_GT(pNumber->mapTo(&view, QPoint(0, 0)).x(), text->mapTo(&view, QPoint(0, 0)).x());
    }

    bool m_looked = false;
    bool m_filledEarly = false;
};

TEST_F(GuiWindowsTest, TheProgressWindowShowsItsTextTheBarAndTheNumberOfItemsDuringTheRead)
{
    ProgressWatch watch;
    qApp->installEventFilter(&watch);
    gui::FormView* pView = OpenReportWindow();
    qApp->removeEventFilter(&watch);
    ASSERT_NE(pView, nullptr) << out.str();
    EXPECT_TRUE(watch.Looked()) << "no progress window with a number showed during the read";
    EXPECT_FALSE(watch.FilledEarly()) << "the bar showed filled before the read's first number";
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
    // Restored, it goes back to its normal place and size.
    pView->showNormal();
    Settle();
    EXPECT_FALSE(pView->isMaximized());
    EXPECT_EQ(pView->pos(), QPoint(60, 40));
    EXPECT_EQ(pView->size(), QSize(640, 400));
    // Maximised again, the add-in's own change of its size leaves it maximised.
    pView->showMaximized();
    Settle();
    gui::CallModel([&] { pView->Form().SetWidth(oForm.Width() + 150); });
    Settle();
    EXPECT_TRUE(pView->isMaximized());
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
    EXPECT_EQ(pSend->text(), bGerman ? "&Senden" : "&Send");
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

// The number of mails in a mailbox, from the first line of its listing ("Drafts: 10 mails").
int MailCount(const std::string& sBox)
{
    const std::string sListing = *host::RunMailboxCommand("mailbox " + sBox);
    const auto nColon = sListing.find(": ");
    return nColon == std::string::npos ? -1 : std::atoi(sListing.c_str() + nColon + 2);
}

// Finds a folder of the client window's list by its name.
QTreeWidgetItem* FolderItem(gui::ClientWindow& oClient, const QString& sName)
{
    const auto found =
        oClient.FolderList()->findItems(sName, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.front();
}

// Closes an item window as the person does, answering a question about saving (if one comes)
// with the button given; tells whether one came. The watch lives only as long as the close.
bool CloseAnswering(gui::InspectorView& oWindow, QMessageBox::StandardButton nAnswer)
{
    bool bAsked = false;
    QTimer watch;
    watch.setInterval(10);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (auto* pBox = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            watch.stop();
            bAsked = true;
            pBox->button(nAnswer)->click();
        }
    });
    watch.start();
    oWindow.findChild<QPushButton*>("close")->click();
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return bAsked;
}

TEST_F(GuiWindowsTest, ClosingAMailAsksToSaveOnlyWhatIsNotSavedAndAddsNoCopy)
{
    gui::FormView* pView = OpenReportWindow();
    ASSERT_NE(pView, nullptr) << out.str();
    const int nDrafts = MailCount("drafts");
    ASSERT_GT(nDrafts, 0);

    // A new mail: closing it asks; No drops it, and Drafts stays as it was.
    ASSERT_TRUE(MenuOf(*pView).Click("support"));
    Settle();
    ASSERT_EQ(m_host->ItemWindows().size(), 1U);
    EXPECT_TRUE(CloseAnswering(*m_host->ItemWindows()[0], QMessageBox::No));
    EXPECT_TRUE(m_host->ItemWindows().empty());
    EXPECT_EQ(MailCount("drafts"), nDrafts);

    // Cancel keeps the window with what was typed; Yes then saves it into Drafts, once.
    ASSERT_TRUE(MenuOf(*pView).Click("support"));
    Settle();
    ASSERT_EQ(m_host->ItemWindows().size(), 1U);
    gui::InspectorView* pMail = m_host->ItemWindows()[0];
    auto* pSubject = pMail->findChild<QLineEdit*>("subject");
    pSubject->selectAll();
    QTest::keyClicks(pSubject, QStringLiteral("Entwurf zum Aufheben"));
    EXPECT_TRUE(CloseAnswering(*pMail, QMessageBox::Cancel));
    ASSERT_EQ(m_host->ItemWindows().size(), 1U);
    EXPECT_EQ(pSubject->text(), QStringLiteral("Entwurf zum Aufheben"));
    EXPECT_TRUE(CloseAnswering(*pMail, QMessageBox::Yes));
    EXPECT_TRUE(m_host->ItemWindows().empty());
    EXPECT_EQ(MailCount("drafts"), nDrafts + 1);
    EXPECT_NE(host::RunMailboxCommand("mailbox drafts")->find("Entwurf zum Aufheben"),
              std::string::npos);

    // The saved mail opened again from Drafts and closed unchanged: no question, no copy.
    gui::ClientWindow& oClient = *m_host->Client();
    QTreeWidgetItem* pDrafts = FolderItem(oClient, QStringLiteral("Entwürfe"));
    ASSERT_NE(pDrafts, nullptr);
    oClient.FolderList()->scrollToItem(pDrafts);
    QTest::mouseClick(oClient.FolderList()->viewport(), Qt::LeftButton, {},
                      oClient.FolderList()->visualItemRect(pDrafts).center());
    QTreeWidget& oItems = *oClient.ItemList();
    const auto vSaved = oItems.findItems(QStringLiteral("Entwurf zum Aufheben"), Qt::MatchExactly);
    ASSERT_EQ(vSaved.size(), 1) << oItems.topLevelItemCount();
    oItems.setCurrentItem(vSaved.front());
    QTest::keyClick(&oItems, Qt::Key_Return);
    Settle();
    ASSERT_EQ(m_host->ItemWindows().size(), 1U);
    EXPECT_FALSE(CloseAnswering(*m_host->ItemWindows()[0], QMessageBox::Yes));
    EXPECT_TRUE(m_host->ItemWindows().empty());
    EXPECT_EQ(MailCount("drafts"), nDrafts + 1);
}

TEST_F(GuiWindowsTest, TheClientWindowListsAFoldersItemsAndOpensThem)
{
    gui::FormView* pView = OpenReportWindow();
    ASSERT_NE(pView, nullptr) << out.str();
    const bool bGerman = Language() == "de";
    gui::ClientWindow& oClient = *m_host->Client();
    QTreeWidget& oItems = *oClient.ItemList();
    EXPECT_EQ(oItems.headerItem()->text(0), bGerman ? "Betreff" : "Subject");
    EXPECT_EQ(oItems.headerItem()->text(2), bGerman ? "An" : "To");

    // A mail sent from its window is found in Sent Items, with its recipient.
    QTreeWidgetItem* pSent = FolderItem(oClient, QStringLiteral("Gesendete Elemente"));
    ASSERT_NE(pSent, nullptr);
    oClient.FolderList()->scrollToItem(pSent);
    QTest::mouseClick(oClient.FolderList()->viewport(), Qt::LeftButton, {},
                      oClient.FolderList()->visualItemRect(pSent).center());
    const int nSentBefore = oItems.topLevelItemCount();
    ASSERT_TRUE(MenuOf(*pView).Click("support"));
    Settle();
    ASSERT_EQ(m_host->ItemWindows().size(), 1U);
    gui::InspectorView& oMail = *m_host->ItemWindows()[0];
    auto* pTo = oMail.findChild<QLineEdit*>("to");
    pTo->selectAll();
    QTest::keyClicks(pTo, QStringLiteral("liste@kestrova.example"));
    auto* pSubject = oMail.findChild<QLineEdit*>("subject");
    pSubject->selectAll();
    QTest::keyClicks(pSubject, QStringLiteral("Gesendet zum Nachsehen"));
    QTest::mouseClick(oMail.findChild<QPushButton*>("send"), Qt::LeftButton);
    Settle();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(m_host->ItemWindows().empty());

    // The list shown while the mail was sent follows it there; the person need not click again.
    const auto vFound =
        oItems.findItems(QStringLiteral("Gesendet zum Nachsehen"), Qt::MatchExactly);
    ASSERT_EQ(vFound.size(), 1) << oItems.topLevelItemCount();
    EXPECT_EQ(oItems.topLevelItemCount(), nSentBefore + 1);
    EXPECT_EQ(vFound.front()->text(2), QStringLiteral("liste@kestrova.example"));
    EXPECT_FALSE(vFound.front()->text(1).isEmpty());

    // A double click opens the mail's window, read-only now that it is sent.
    oItems.scrollToItem(vFound.front());
    const QPoint at = oItems.visualItemRect(vFound.front()).center();
    QTest::mouseClick(oItems.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(oItems.viewport(), Qt::LeftButton, {}, at);
    Settle();
    ASSERT_EQ(m_host->ItemWindows().size(), 1U);
    EXPECT_EQ(m_host->ItemWindows()[0]->windowTitle(), QStringLiteral("Gesendet zum Nachsehen"));
    EXPECT_FALSE(m_host->ItemWindows()[0]->findChild<QPushButton*>("send")->isVisible());

    // The calendar lists its appointments with their dates.
    QTreeWidgetItem* pCalendar = FolderItem(oClient, QStringLiteral("Kalender"));
    ASSERT_NE(pCalendar, nullptr);
    oClient.FolderList()->setCurrentItem(pCalendar);
    ASSERT_GT(oItems.topLevelItemCount(), 0);
    EXPECT_FALSE(oItems.topLevelItem(0)->text(1).isEmpty());
    QDir().mkpath(TV_SCREENSHOT_DIR);
    oClient.resize(1000, 600);
    EXPECT_TRUE(oClient.grab().save(QStringLiteral(TV_SCREENSHOT_DIR "/client-%1.png")
                                        .arg(QString::fromStdString(Language()))));
}

// Saved under the name of a file that is there: the question whether to replace it stands over
// the report window, and once it is answered the report window is in front again, not the
// client window behind it.
TEST_F(GuiWindowsTest, SaveAsOverAFileThatIsThereKeepsTheReportWindowInFront)
{
    gui::FormView* pView = OpenReportWindow();
    ASSERT_NE(pView, nullptr) << out.str();
    ASSERT_TRUE(guitest::ActivateWindow(*pView));
    const std::filesystem::path oFile = oRoot / "Bericht.csv";
    std::ofstream(oFile) << "old";
    QWidget* pAskedOver = nullptr;
    bool bAsked = false;
    guitest::WhenWindowShown<QFileDialog>(
        [](QFileDialog&) { return true; },
        [&](QFileDialog& oDialog) {
            guitest::WhenWindowShown<QMessageBox>(
                [](QMessageBox&) { return true; },
                [&](QMessageBox& oBox) {
                    bAsked = true;
                    pAskedOver = oBox.parentWidget() ? oBox.parentWidget()->window() : nullptr;
                    QTest::mouseClick(oBox.button(QMessageBox::Yes), Qt::LeftButton);
                });
            auto* pName = oDialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_NE(pName, nullptr);
            pName->setText(QString::fromStdString(oFile.string()));
            QTest::keyClick(pName, Qt::Key_Return);
        });
    EXPECT_TRUE(MenuOf(*pView).Click("saveas"));
    Settle();
    EXPECT_TRUE(bAsked) << "no question before the file was replaced";
    EXPECT_EQ(pAskedOver, pView) << (pAskedOver ? pAskedOver->objectName().toStdString() : "none");
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == pView; }))
        << (QApplication::activeWindow() ? QApplication::activeWindow()->objectName().toStdString()
                                         : "none");
}

} // namespace
