// The client with windows on Qt's offscreen platform: the person clicks the ribbon button,
// reads the report grid, collapses a group and picks another template. TV_GUI_LANG (en, de)
// chooses the language; CTest runs the suite once for each and keeps a screenshot of each.
#include "host/GuiHost.h"
#include "host/HostTexts.h"
#include "GuiHostFixture.h"
#include "gui/ClientWindow.h"
#include "gui/FormView.h"
#include "gui/GridModel.h"
#include "gui/GridView.h"
#include "gui/InspectorView.h"
#include "host/AddInLibrary.h"
#include "host/ProfileLock.h"
#include "host/ProfileSetup.h"
#include "platform/forms/Driver.h"
#include "platform/forms/FlexGrid.h"
#include "platform/forms/Form.h"
#include "platform/forms/MenuBar.h"
#include "platform/forms/StandardControls.h"
#include "platform/printing/BackgroundPrint.h"
#include "platform/printing/Spooler.h"
#include "platform/runtime/Notices.h"
#include "platform/win/RecordingShell.h"
#include "platform/win/Shell.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;
namespace pf = platform::forms;

using host_test::Language;

// While it lives, the window `pActivate` becomes the active one whenever a window of the name
// given hides: what a window manager may do as a window closes.
class ActivateOnHide : public QObject
{
public:
    ActivateOnHide(QString sName, QWidget* pActivate)
        : m_sName(std::move(sName)), m_pActivate(pActivate)
    {
        qApp->installEventFilter(this);
    }
    ~ActivateOnHide() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject* pObject, QEvent* pEvent) override
    {
        if (m_pActivate && pEvent->type() == QEvent::Hide && pObject->objectName() == m_sName)
            QApplication::setActiveWindow(m_pActivate);
        return false;
    }

private:
    QString m_sName;
    QPointer<QWidget> m_pActivate;
};

class GuiHostTest : public host_test::GuiHostFixture
{
protected:
    // The number of rows the headless grid shows below its header.
    static int ShownRows(const pf::FlexGrid& grid)
    {
        int n = 0;
        for (int r = 1; r < grid.Rows(); ++r)
            n += grid.RowIsVisible(r) ? 1 : 0;
        return n;
    }
    // The first start makes the sample profile and its report definitions.
    void MakeSample() const
    {
        std::ostringstream first;
        host::GuiHost oFirst(oOptions, TV_ADDIN_PATH, first);
        oFirst.Start();
        oFirst.Stop();
    }
    // The next message box is answered with OK once it shows; sShown gets its text.
    static void AnswerMessage(QString& sShown)
    {
        guitest::WhenWindowShown<QMessageBox>([](QMessageBox&) { return true; },
                                              [&sShown](QMessageBox& oBox) {
                                                  sShown = oBox.text();
                                                  oBox.accept();
                                              });
    }
};

TEST_F(GuiHostTest, ReportButtonOpensTheReportWindowThatThePersonWorks)
{
    std::ostringstream out;
    host::GuiHost oHost(oOptions, TV_ADDIN_PATH, out);
    oHost.Start();
    // The window host holds its profile: no other host may open it meanwhile.
    EXPECT_THROW(host::ProfileLock{host::SampleProfileFolder().string()}, std::runtime_error);
    auto* pClient = oHost.Client();
    ASSERT_NE(pClient, nullptr);
    EXPECT_EQ(pClient->RibbonButton()->text(), Language() == "de" ? "Berichte" : "Reports");
    EXPECT_GT(pClient->FolderList()->topLevelItemCount(), 0);

    QTest::mouseClick(pClient->RibbonButton(), Qt::LeftButton);
    gui::FormView* pView = oHost.ReportView();
    ASSERT_NE(pView, nullptr) << out.str();
    EXPECT_TRUE(pView->isVisible());
    auto* pGridView = pView->findChild<gui::GridView*>("fg");
    ASSERT_NE(pGridView, nullptr);
    auto& grid = pGridView->Grid();
    ASSERT_EQ(&grid, oHost.Library()->ReportGrid());
    // The window finds the grid among the form's controls: one view, no second one added.
    EXPECT_EQ(pView->findChildren<gui::GridView*>().size(), 1);

    // The grid shows the template's rows, the subtotals in bold with the grid's texts.
    const int nShown = ShownRows(grid);
    ASSERT_GT(nShown, 0);
    EXPECT_EQ(pGridView->model()->rowCount(), nShown);
    int nNode = -1;
    for (int m = 0; m < pGridView->model()->rowCount() && nNode < 0; ++m)
        if (grid.IsSubtotal(pGridView->Model().GridRow(m)) &&
            grid.RowOutlineLevel(pGridView->Model().GridRow(m)) > 0)
            nNode = m;
    ASSERT_GE(nNode, 0) << "the opening template has no groups";
    const int nNodeRow = pGridView->Model().GridRow(nNode);
    const QModelIndex caption = pGridView->model()->index(nNode, grid.OutlineCol());
    EXPECT_EQ(caption.data().toString().toStdString(),
              grid.TextMatrix(nNodeRow, grid.OutlineCol()));
    EXPECT_FALSE(caption.data().toString().isEmpty());
    EXPECT_TRUE(caption.data(Qt::FontRole).value<QFont>().bold());

    // A screenshot of the window for a person to look at.
    pView->resize(1000, 640);
    QDir().mkpath(TV_SCREENSHOT_DIR);
    const QString sShot =
        QStringLiteral(TV_SCREENSHOT_DIR "/report-%1.png").arg(QString::fromStdString(Language()));
    EXPECT_TRUE(pView->grab().save(sShot));

    // The person collapses the group: the grid's node closes, the view loses its rows.
    pGridView->scrollTo(caption);
    QTest::mouseClick(pGridView->viewport(), Qt::LeftButton, {},
                      pGridView->NodeBoxRect(caption).center());
    EXPECT_EQ(grid.IsCollapsed(nNodeRow), pf::OutlineState::Collapsed);
    EXPECT_LT(pGridView->model()->rowCount(), nShown);
    EXPECT_EQ(pGridView->model()->rowCount(), ShownRows(grid));

    // The person picks the next template with the keyboard: the window reads it.
    auto* pList = qobject_cast<QComboBox*>(pView->WidgetOf("cboTemplate"));
    ASSERT_NE(pList, nullptr);
    auto& oList = dynamic_cast<pf::ComboBox&>(*pView->Form().FindControl("cboTemplate"));
    ASSERT_GT(oList.ListCount(), 1);
    const int nNext = (oList.ListIndex() + 1) % oList.ListCount();
    pList->setFocus();
    QTest::keyClick(pList, nNext > oList.ListIndex() ? Qt::Key_Down : Qt::Key_Home);
    EXPECT_EQ(oList.ListIndex(), nNext);
    EXPECT_EQ(pList->currentIndex(), nNext);
    EXPECT_EQ(pGridView->model()->rowCount(), ShownRows(grid));
    for (int c = 0; c < grid.Cols(); ++c)
        EXPECT_EQ(pGridView->model()->headerData(c, Qt::Horizontal).toString().toStdString(),
                  grid.TextMatrix(0, c));
    oHost.Stop();
    EXPECT_NE(out.str().find(host::Say(host::HostText::AddInDisconnected)), std::string::npos);
}

TEST_F(GuiHostTest, AboutBoxAndSupportMailShowAsWindows)
{
    std::ostringstream out;
    host::GuiHost oHost(oOptions, TV_ADDIN_PATH, out);
    gui::FormView* pView = OpenReportWindow(oHost);
    ASSERT_NE(pView, nullptr) << out.str();
    auto& oMenu = MenuOf(*pView);

    // The about box: its texts and its gradient on the screen; a screenshot is kept.
    bool bShown = false;
    WhenFormShown("frmAbout", [&](gui::FormView& oAbout) {
        bShown = true;
        auto* pName = qobject_cast<QLabel*>(oAbout.WidgetOf("lblProductName"));
        ASSERT_NE(pName, nullptr);
        EXPECT_EQ(pName->text(), "Kestrova - Tallyman");
        const QImage shot = oAbout.grab().toImage();
        // Light blue at the bottom, white at the top.
        const QColor bottom(shot.pixel(shot.width() / 2, shot.height() - 3));
        const QColor top(shot.pixel(shot.width() / 2, 2));
        EXPECT_LT(bottom.red(), 240) << bottom.name().toStdString();
        EXPECT_GT(top.red(), 250) << top.name().toStdString();
        QDir().mkpath(TV_SCREENSHOT_DIR);
        EXPECT_TRUE(shot.save(QStringLiteral(TV_SCREENSHOT_DIR "/about-%1.png")
                                  .arg(QString::fromStdString(Language()))));
        QTest::mouseClick(oAbout.WidgetOf("cmdOK"), Qt::LeftButton);
    });
    EXPECT_TRUE(oMenu.Click("info"));
    EXPECT_TRUE(bShown);

    // The support mail opens in an item window, filled in.
    EXPECT_TRUE(oMenu.Click("support"));
    QApplication::processEvents();
    const auto vWindows = oHost.ItemWindows();
    ASSERT_EQ(vWindows.size(), 1U) << out.str();
    EXPECT_TRUE(vWindows[0]->isVisible());
    auto* pTo = vWindows[0]->findChild<QLineEdit*>("to");
    ASSERT_NE(pTo, nullptr);
    EXPECT_FALSE(pTo->text().isEmpty()) << vWindows[0]->Text().toStdString();
    EXPECT_TRUE(vWindows[0]->Text().contains("Tallyman Version: "));
    oHost.Stop();
}

// Help that no browser can show says so in the person's language, as Open does; the report
// window stays.
TEST_F(GuiHostTest, HelpWithoutABrowserSaysSo)
{
    platform::win::RecordingShell oShell;
    oShell.failWith(ENOENT, "no browser could be started");
    const platform::win::ScopedShell oScope(oShell);
    std::ostringstream out;
    host::GuiHost oHost(oOptions, TV_ADDIN_PATH, out);
    gui::FormView* pView = OpenReportWindow(oHost);
    ASSERT_NE(pView, nullptr) << out.str();
    QString sShown;
    guitest::WhenWindowShown<QMessageBox>([](QMessageBox&) { return true; },
                                          [&sShown](QMessageBox& oBox) {
                                              sShown = oBox.text();
                                              oBox.accept();
                                          });
    EXPECT_TRUE(MenuOf(*pView).Click("helpbtn"));
    EXPECT_TRUE(sShown.contains(Language() == "de" ? "konnte nicht angezeigt werden"
                                                    : "could not be shown"))
        << sShown.toStdString();
    EXPECT_TRUE(sShown.contains("index.html")) << sShown.toStdString();
    EXPECT_TRUE(pView->isVisible());
    oHost.Stop();
}

// A store that opens but cannot be read: the report window shows what the other folders hold,
// a message names the folder that was not read and why, and the run's code is 5.
TEST_F(GuiHostTest, AFolderThatCannotBeReadIsToldInAMessageAndTheRunEndsWithFive)
{
    MakeSample();
    const auto oStore = oRoot / "Kestrova" / "Tallyman" / "SampleProfile" / "store1.db";
    ASSERT_EQ(std::system(("sqlite3 '" + oStore.string() + "' 'DROP TABLE items'").c_str()), 0);
    std::ostringstream out;
    host::GuiHost oHost(oOptions, TV_ADDIN_PATH, out);
    QString sShown;
    AnswerMessage(sShown);
    // As the progress window goes, a window manager may make the client window the active
    // one: the message must not leave it in front.
    ActivateOnHide oClientFirst("frmProgress", oHost.Client());
    gui::FormView* pView = OpenReportWindow(oHost);
    ASSERT_NE(pView, nullptr) << out.str();
    // The message comes once the read is over, on the loop's next turn.
    EXPECT_TRUE(QTest::qWaitFor([&sShown] { return !sShown.isEmpty(); }));
    const bool bGerman = Language() == "de";
    for (const char* sSaid :
         {bGerman ? "Nicht jeder Ordner des Berichts konnte gelesen werden"
                  : "Not every folder of the report could be read",
          "\"Persönliche Ordner/Kalender\": ",
          bGerman ? "seine Speicherdatei ist beschädigt" : "its store file is damaged"})
        EXPECT_TRUE(sShown.contains(QString::fromUtf8(sSaid))) << sShown.toStdString();
    EXPECT_TRUE(pView->isVisible());
    // The message gone, the report window is in front again, not the client window.
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == pView; }))
        << (QApplication::activeWindow()
                ? QApplication::activeWindow()->objectName().toStdString()
                : std::string("no window"));
    EXPECT_EQ(oHost.RunExitCode(), 5);
    // A save the person asked for fails afterwards (the add-in tells it so): of 4 and 5 the
    // lower wins.
    platform::runtime::Notify({platform::runtime::Notice::Kind::NotDone, "r.csv", "disk full"});
    EXPECT_EQ(oHost.RunExitCode(), 4);
    oHost.Stop();
}

// A failed save the add-in tells itself (the template editor's OK) is told once, by the add-in:
// the client adds no second message for it.
TEST_F(GuiHostTest, ASaveFailureTheAddInTellsIsNotToldTwice)
{
    std::ostringstream out;
    host::GuiHost oHost(oOptions, TV_ADDIN_PATH, out);
    gui::FormView* pView = OpenReportWindow(oHost);
    ASSERT_NE(pView, nullptr) << out.str();
    const auto oReports = oRoot / "Kestrova" / "Tallyman" / "reports.xml";
    std::vector<QString> vShown;
    const std::function<void(QMessageBox&)> answer = [&vShown, &answer](QMessageBox& oBox) {
        vShown.push_back(oBox.text());
        // Any further box is answered too, and counted.
        guitest::WhenWindowShown<QMessageBox>([](QMessageBox&) { return true; }, answer);
        oBox.accept();
    };
    WhenFormShown("frmTemplate", [&](gui::FormView& oList) {
        WhenFormShown("frmTemplateDetail", [&](gui::FormView& oDetail) {
            fs::remove(oReports);
            fs::create_directories(oReports / "kept");
            guitest::WhenWindowShown<QMessageBox>([](QMessageBox&) { return true; }, answer);
            QTest::mouseClick(oDetail.WidgetOf("cmdOK"), Qt::LeftButton);
        });
        QTest::mouseClick(oList.WidgetOf("cmdEdit"), Qt::LeftButton);
        QTest::qWait(200);
        if (oList.isVisible())
            QTest::mouseClick(oList.WidgetOf("cmdClose"), Qt::LeftButton);
    });
    EXPECT_TRUE(MenuOf(*pView).Click("templates"));
    QTest::qWait(300);
    ASSERT_EQ(vShown.size(), 1u);
    EXPECT_TRUE(vShown[0].contains(QString::fromStdString(oReports.string())) ||
                vShown[0].contains(QStringLiteral("reports")))
        << vShown[0].toStdString();
    // Closing the window fails the same way: that one the add-in does not tell, the client does.
    pView->close();
    EXPECT_TRUE(QTest::qWaitFor([&vShown] { return vShown.size() >= 2; }));
    oHost.Stop();
    EXPECT_TRUE(fs::is_directory(oReports / "kept"));
}

// A profile whose store file is damaged, started from a desktop: a message box says so in the
// person's language (the terminal's line stays), no client window opens and the run's code is 1.
TEST_F(GuiHostTest, ADamagedStoreAtTheStartIsToldInAMessageBox)
{
    MakeSample();
    const auto oStore = oRoot / "Kestrova" / "Tallyman" / "SampleProfile" / "store1.db";
    std::ofstream(oStore, std::ios::binary | std::ios::trunc) << std::string(8192, 'x');
    QString sShown;
    AnswerMessage(sShown);
    std::ostringstream out, err;
    EXPECT_EQ(host::RunGuiClient(oOptions, TV_ADDIN_PATH, out, err, true), 1);
    const bool bGerman = Language() == "de";
    for (const std::string& sSaid :
         {std::string(bGerman ? "kann nicht geöffnet werden" : "cannot be opened"),
          std::string(bGerman ? "beschädigt" : "is damaged"), oStore.string()})
        EXPECT_TRUE(sShown.contains(QString::fromStdString(sSaid))) << sShown.toStdString();
    EXPECT_NE(err.str().find(sShown.toStdString()), std::string::npos) << err.str();
    for (QWidget* pWidget : QApplication::topLevelWidgets())
        EXPECT_FALSE(pWidget->isVisible()) << pWidget->objectName().toStdString();
}

// The report window's save as it closes fails (reports.xml became a folder meanwhile): the
// add-in says nothing there, so the client tells it once, in the person's language.
TEST_F(GuiHostTest, AViewNotSavedAtTheReportWindowsCloseIsToldOnce)
{
    std::ostringstream out;
    host::GuiHost oHost(oOptions, TV_ADDIN_PATH, out);
    gui::FormView* pView = OpenReportWindow(oHost);
    ASSERT_NE(pView, nullptr) << out.str();
    const auto oReports = oRoot / "Kestrova" / "Tallyman" / "reports.xml";
    fs::remove(oReports);
    fs::create_directories(oReports / "kept");
    std::vector<QString> vShown;
    const auto answer = [&vShown](QMessageBox& oBox) {
        vShown.push_back(oBox.text());
        oBox.accept();
    };
    guitest::WhenWindowShown<QMessageBox>([](QMessageBox&) { return true; }, answer);
    const std::size_t nBoxes = pf::Driver::current().MessageBoxes().size();
    pView->close();
    EXPECT_TRUE(QTest::qWaitFor([&vShown] { return !vShown.empty(); }));
    QTest::qWait(100);
    ASSERT_EQ(vShown.size(), 1u);
    EXPECT_EQ(pf::Driver::current().MessageBoxes().size(), nBoxes + 1);
    const bool bGerman = Language() == "de";
    for (const std::string& sSaid :
         {std::string(bGerman ? "NICHT behalten" : "NOT kept"), oReports.string()})
        EXPECT_TRUE(vShown[0].contains(QString::fromStdString(sSaid)))
            << vShown[0].toStdString();
    oHost.Stop();
    EXPECT_TRUE(fs::is_directory(oReports / "kept"));
}

// A report definitions file that is a folder: the add-in's message says so, naming the file and
// what to do, the window does not open and the run's code is 1.
TEST_F(GuiHostTest, AReportsFileThatIsAFolderIsToldAndTheRunEndsWithOne)
{
    MakeSample();
    const auto oReports = oRoot / "Kestrova" / "Tallyman" / "reports.xml";
    fs::remove(oReports);
    fs::create_directory(oReports);
    std::ostringstream out;
    host::GuiHost oHost(oOptions, TV_ADDIN_PATH, out);
    QString sShown;
    AnswerMessage(sShown);
    EXPECT_EQ(OpenReportWindow(oHost), nullptr);
    const bool bGerman = Language() == "de";
    for (const std::string& sSaid :
         {oReports.string(), std::string(bGerman ? "es ist ein Ordner" : "it is a folder"),
          std::string(bGerman ? "Benennen Sie den Ordner" : "Rename or move the folder")})
        EXPECT_TRUE(sShown.contains(QString::fromStdString(sSaid))) << sShown.toStdString();
    EXPECT_EQ(oHost.RunExitCode(), 1);
    oHost.Stop();
    EXPECT_TRUE(fs::is_empty(oReports));
}

// A print that fails after it was sent (the document cannot be made ready) is told in a message
// in the person's language, naming the file and the queue; the report window stays.
TEST_F(GuiHostTest, APrintThatFailsLaterIsToldInAMessage)
{
    const auto vQueues = platform::printing::Spooler().PrinterNames();
    if (std::find(vQueues.begin(), vQueues.end(), "TallymanNull") == vQueues.end())
        GTEST_SKIP() << "no print queue TallymanNull (scripts/start-cups.sh sets it up)";
    std::ostringstream out;
    host::GuiHost oHost(oOptions, TV_ADDIN_PATH, out);
    gui::FormView* pView = OpenReportWindow(oHost);
    ASSERT_NE(pView, nullptr) << out.str();
    // An office suite that cannot render the workbook.
    const auto oBin = oRoot / "bin";
    std::filesystem::create_directories(oBin);
    std::ofstream(oBin / "soffice") << "#!/bin/sh\necho 'no display' >&2\nexit 1\n";
    std::filesystem::permissions(oBin / "soffice", std::filesystem::perms::owner_all);
    const std::string sPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    ::setenv("PATH", (oBin.string() + ":" + sPath).c_str(), 1);
    const auto oBook = oRoot / "Bericht.xls";
    std::ofstream(oBook) << "not a workbook";
    QString sShown;
    guitest::WhenWindowShown<QMessageBox>([](QMessageBox&) { return true; },
                                          [&sShown](QMessageBox& oBox) {
                                              sShown = oBox.text();
                                              oBox.accept();
                                          });
    platform::printing::PrintInBackground({"TallymanNull", oBook.string(), std::nullopt});
    platform::printing::WaitForBackgroundPrints();
    ::setenv("PATH", sPath.c_str(), 1);
    // The client looks for failed prints on a timer of its loop.
    EXPECT_TRUE(QTest::qWaitFor([&sShown] { return !sShown.isEmpty(); }, 5000));
    EXPECT_TRUE(sShown.contains(Language() == "de" ? "wurde NICHT auf TallymanNull gedruckt"
                                                    : "was NOT printed on TallymanNull"))
        << sShown.toStdString();
    EXPECT_TRUE(sShown.contains("Bericht.xls")) << sShown.toStdString();
    EXPECT_TRUE(pView->isVisible());
    oHost.Stop();
}

// A window run killed while it saved the settings left its temporary file: the next start
// with windows removes it, as the text host does, and keeps a file of another name.
TEST_F(GuiHostTest, AStartRemovesTheLeftoversOfAKilledRun)
{
    {
        // The first start makes the sample profile and its settings.
        std::ostringstream first;
        host::GuiHost oFirst(oOptions, TV_ADDIN_PATH, first);
        oFirst.Start();
        oFirst.Stop();
    }
    const pid_t ended = ::fork();
    if (ended == 0)
        ::_exit(0);
    ::waitpid(ended, nullptr, 0);
    const auto oSettings = oRoot / "Kestrova" / "Tallyman";
    ASSERT_TRUE(std::filesystem::exists(oSettings / "reports.xml"));
    const auto oLeftover = oSettings / (".reports.xml.tmp-" + std::to_string(ended) + "-Ab12Cd");
    std::ofstream(oLeftover) << "<Reports>";
    std::ofstream(oSettings / ".reports.xml.keep") << "mine";
    std::ostringstream out;
    host::GuiHost oHost(oOptions, TV_ADDIN_PATH, out);
    oHost.Start();
    EXPECT_FALSE(std::filesystem::exists(oLeftover)) << out.str();
    EXPECT_TRUE(std::filesystem::exists(oSettings / ".reports.xml.keep"));
    EXPECT_NE(out.str().find(oSettings.string()), std::string::npos) << out.str();
    oHost.Stop();
}

// A client before ribbons: the add-in's toolbar carries the report button, and the add-in
// sees the chosen version (the support mail names it).
TEST_F(GuiHostTest, AnOldClientShowsTheAddInsToolbarAndItsVersion)
{
    oOptions.sClientVersion = "11.0.0.8312";
    std::ostringstream out;
    host::GuiHost oHost(oOptions, TV_ADDIN_PATH, out);
    oHost.Start();
    auto* pClient = oHost.Client();
    ASSERT_NE(pClient, nullptr);
    EXPECT_EQ(pClient->findChild<QTabWidget*>("ribbon"), nullptr);
    auto* pBar = pClient->findChild<QToolBar*>("toolbar");
    ASSERT_NE(pBar, nullptr);
    EXPECT_FALSE(pBar->windowTitle().isEmpty());
    EXPECT_FALSE(pClient->RibbonButton()->text().isEmpty());
    EXPECT_TRUE(pBar->isAncestorOf(pClient->RibbonButton()));
    QTest::mouseClick(pClient->RibbonButton(), Qt::LeftButton);
    gui::FormView* pView = oHost.ReportView();
    ASSERT_NE(pView, nullptr) << out.str();
    EXPECT_TRUE(pView->isVisible());
    EXPECT_TRUE(MenuOf(*pView).Click("support"));
    QApplication::processEvents();
    const auto vWindows = oHost.ItemWindows();
    ASSERT_EQ(vWindows.size(), 1U) << out.str();
    EXPECT_TRUE(vWindows[0]->Text().contains(" Version: 11.0.0.8312"))
        << vWindows[0]->Text().toStdString();
    oHost.Stop();
}

} // namespace

namespace {

// Without a display that opens: one line that says so and points to the text mode, exit 1,
// and no abort (Qt aborts when its platform cannot connect).
TEST(GuiHostNoDisplayTest, SaysSoInOneLineAndPointsToTheTextMode)
{
    namespace fs = std::filesystem;
    const fs::path oRuntime = fs::temp_directory_path() / "tvguihost-no-wayland";
    fs::create_directories(oRuntime);
    struct Case
    {
        const char* sName;
        std::vector<std::pair<const char*, const char*>> vEnvironment;
        const char* sWhy;
    };
    const std::vector<Case> vCases = {
        {"nothing set", {}, "DISPLAY is not set"},
        {"no X server", {{"DISPLAY", ":4711"}}, "DISPLAY=:4711"},
        {"Wayland only, no compositor",
         {{"WAYLAND_DISPLAY", "tallyman-none"}, {"XDG_RUNTIME_DIR", oRuntime.c_str()}},
         "WAYLAND_DISPLAY=tallyman-none"},
    };
    for (const auto& c : vCases) {
        SCOPED_TRACE(c.sName);
        // Whatever this run shows its windows on is put aside for the call.
        std::vector<std::pair<std::string, std::string>> vSaved;
        for (const char* sName : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_RUNTIME_DIR"})
            if (const char* sValue = std::getenv(sName)) {
                vSaved.emplace_back(sName, sValue);
                unsetenv(sName);
            }
        for (const auto& [sName, sValue] : c.vEnvironment)
            setenv(sName, sValue, 1);
        std::ostringstream out, err;
        const int nExit = host::RunGuiHost(host::HostOptions{}, TV_ADDIN_PATH, out, err);
        for (const auto& [sName, sValue] : c.vEnvironment)
            unsetenv(sName);
        for (const auto& [sName, sValue] : vSaved)
            setenv(sName.c_str(), sValue.c_str(), 1);
        EXPECT_EQ(nExit, 1);
        const std::string sErr = err.str();
        EXPECT_EQ(sErr.rfind("tallyman: no display could be opened", 0), 0U) << sErr;
        EXPECT_NE(sErr.find(c.sWhy), std::string::npos) << sErr;
        EXPECT_NE(sErr.find("without --gui"), std::string::npos) << sErr;
        EXPECT_EQ(std::count(sErr.begin(), sErr.end(), '\n'), 1) << sErr;
        EXPECT_TRUE(out.str().empty());
    }
    fs::remove_all(oRuntime);
}

} // namespace
