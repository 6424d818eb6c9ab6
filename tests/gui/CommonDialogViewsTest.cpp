#include "GuiFixture.h"

#include "gui/DesktopAnswers.h"
#include "gui/QtTranslations.h"
#include "platform/forms/CommonDialogs.h"
#include "platform/forms/Driver.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTest>
#include <QTreeView>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;
namespace pf = platform::forms;
using guitest::GuiFixture;

class CommonDialogViewsTest : public GuiFixture
{
protected:
    void SetUp() override
    {
        GuiFixture::SetUp();
        std::string sTemplate = (fs::temp_directory_path() / "tvguidlg-XXXXXX").string();
        ASSERT_NE(mkdtemp(sTemplate.data()), nullptr);
        oDir = sTemplate;
        // Qt's file dialog keeps its column widths in the user's settings: each
        // test starts from none, as a new user does.
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                           QString::fromStdString((oDir / "settings").string()));
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(oDir, ec);
        GuiFixture::TearDown();
    }
    // Puts a name into the open file dialog's name box and clicks its accept button, as the
    // person does (the name goes in whole: typed letters would open the box's completion
    // list, which takes the keyboard).
    static void TypeName(QFileDialog& dialog, const QString& name)
    {
        auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        auto* buttons = dialog.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
        ASSERT_TRUE(edit && buttons);
        edit->setText(name);
        for (QAbstractButton* button : buttons->buttons())
            if (buttons->buttonRole(button) == QDialogButtonBox::AcceptRole)
                QTest::mouseClick(button, Qt::LeftButton);
    }
    fs::path oDir;
};

TEST_F(CommonDialogViewsTest, SaveDialogTakesTheTypedNameAndAsksBeforeReplacing)
{
    gui::DesktopAnswers answers;
    std::ofstream(oDir / "old.html") << "<p>kept</p>";
    // The person types an existing name, says No to replacing it, then types a new name.
    const QString sFolder = QString::fromStdString(fs::canonical(oDir).string());
    WhenShown<QFileDialog>([sFolder](QFileDialog& dialog) {
        EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
        WhenShown<QMessageBox>([sFolder](QMessageBox& box) {
            // Back in the dialog, the name is the one chosen, in its folder, to be changed.
            WhenShown<QFileDialog>([sFolder](QFileDialog& again) {
                auto* edit = again.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                ASSERT_NE(edit, nullptr);
                EXPECT_EQ(edit->text(), QStringLiteral("old"));
                EXPECT_EQ(QFileInfo(again.directory().absolutePath()).canonicalFilePath(), sFolder);
                TypeName(again, "Bericht");
            });
            QTest::mouseClick(box.button(QMessageBox::No), Qt::LeftButton);
        });
        TypeName(dialog, "old");
    });
    pf::FileDialog::Request request;
    request.kind = pf::DialogKind::SaveFile;
    request.initialFolder = oDir.string();
    request.initialName = "Report";
    request.filters = {{"Web Page (*.htm, *.html)", "*.html"}, {"Text (*.txt)", "*.txt"}};
    request.firstOption = true;
    const auto result = pf::ShowFileDialog(request);
    EXPECT_EQ(result.path, (oDir / "Bericht.html").string());
    EXPECT_EQ(result.filterIndex, 0);
    ASSERT_EQ(pf::Driver::current().MessageBoxes().size(), 1u);
    EXPECT_EQ(pf::Driver::current().MessageBoxes()[0].answer, pf::vbNo);
    std::ifstream in(oDir / "old.html");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "<p>kept</p>");
}

// A report name with the dots of a date, offered with its type over a file of that name that
// is there: Enter takes the name as offered, and the question whether to replace it follows;
// the same name typed without its type gets the filter's.
TEST_F(CommonDialogViewsTest, EnterTakesAnOfferedNameWithDotsAndAsksBeforeReplacing)
{
    gui::DesktopAnswers answers;
    const std::string sName = "Monatsbericht 11.12.2026.html";
    std::ofstream(oDir / sName) << "<p>old</p>";
    QString sShown;
    WhenShown<QMessageBox>(
        [](QMessageBox& box) { QTest::mouseClick(box.button(QMessageBox::Yes), Qt::LeftButton); });
    WhenShown<QFileDialog>([&sShown](QFileDialog& dialog) {
        auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(edit, nullptr);
        sShown = edit->text();
        QTest::keyClick(edit, Qt::Key_Return);
    });
    pf::FileDialog::Request request;
    request.kind = pf::DialogKind::SaveFile;
    request.initialFolder = oDir.string();
    request.initialName = sName;
    request.filters = {{"Web Page (*.htm, *.html)", "*.html"}};
    request.firstOption = true;
    const auto result = pf::ShowFileDialog(request);
    EXPECT_EQ(sShown.toStdString(), sName);
    EXPECT_EQ(result.path, (oDir / sName).string());
    ASSERT_EQ(pf::Driver::current().MessageBoxes().size(), 1u);
    EXPECT_NE(pf::Driver::current().MessageBoxes()[0].prompt.find(sName), std::string::npos);

    // Typed without its type, the name gets the filter's: its dots are no type, and no file
    // of that name is there to replace (a question would be answered No and counted). The
    // dialog starts on a name that is not there: one that is, it selects again once its folder
    // has loaded, over what was typed by then.
    request.initialName = "Entwurf";
    WhenShown<QFileDialog>(
        [](QFileDialog& dialog) { TypeName(dialog, "Monatsbericht 12.12.2026"); });
    QString sAsked;
    WhenShown<QMessageBox>([&sAsked](QMessageBox& box) {
        sAsked = box.text();
        QTest::mouseClick(box.button(QMessageBox::No), Qt::LeftButton);
    });
    EXPECT_EQ(pf::ShowFileDialog(request).path, (oDir / "Monatsbericht 12.12.2026.html").string());
    EXPECT_EQ(sAsked.toStdString(), "");
}

TEST_F(CommonDialogViewsTest, TheFileDialogsOpenerIsActiveAgainAfterIt)
{
    // Two windows of the client: the one behind, and the report window that opens the file
    // dialog. Once the dialog closes, the report window is the active one again, so that what
    // comes next (the question whether to replace a file) opens over it.
    gui::DesktopAnswers answers;
    QWidget behind, opener;
    behind.setWindowTitle(QStringLiteral("behind"));
    opener.setWindowTitle(QStringLiteral("opener"));
    behind.show();
    ASSERT_TRUE(guitest::ActivateWindow(behind));
    opener.show();
    ASSERT_TRUE(guitest::ActivateWindow(opener));
    for (const auto eKind : {pf::DialogKind::SaveFile, pf::DialogKind::OpenFile}) {
        SCOPED_TRACE(eKind == pf::DialogKind::SaveFile ? "save" : "open");
        std::ofstream(oDir / "old.html") << "<p>kept</p>";
        WhenShown<QFileDialog>([](QFileDialog& dialog) { TypeName(dialog, "old.html"); });
        pf::FileDialog::Request request;
        request.kind = eKind;
        request.initialFolder = oDir.string();
        request.filters = {{"Web Page (*.htm, *.html)", "*.html"}};
        EXPECT_EQ(pf::ShowFileDialog(request).path, (oDir / "old.html").string());
        EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &opener; }))
            << "active: "
            << (QApplication::activeWindow()
                    ? QApplication::activeWindow()->windowTitle().toStdString()
                    : std::string("none"));
    }
}

TEST_F(CommonDialogViewsTest, CancelledDialogsAnswerNothing)
{
    gui::DesktopAnswers answers;
    WhenShown<QFileDialog>([](QFileDialog& dialog) { dialog.reject(); });
    EXPECT_EQ(pf::ShowFolderDialog({0, oDir.string(), "Folder", "Pick one"}), "");
    WhenShown<QFileDialog>([](QFileDialog& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); });
    pf::FileDialog::Request request;
    request.kind = pf::DialogKind::OpenFile;
    request.initialFolder = oDir.string();
    EXPECT_EQ(pf::ShowFileDialog(request).path, "");
}

TEST_F(CommonDialogViewsTest, PrintDialogShowsAndReturnsItsFields)
{
    gui::DesktopAnswers answers;
    pf::PrintDialog oDialog;
    oDialog.printers = {"TallymanPDF", "TallymanNull"};
    oDialog.printer = "TallymanPDF";
    oDialog.minPage = 1;
    oDialog.maxPage = 9;
    std::string sLoaded;
    oDialog.OnPrinterChanged = [&](pf::PrintDialog& d) { sLoaded = d.printer; };
    WhenShown<QDialog>([](QDialog& view) {
        auto* printer = view.findChild<QComboBox*>(QStringLiteral("printer"));
        ASSERT_NE(printer, nullptr);
        EXPECT_EQ(printer->count(), 2);
        printer->setCurrentIndex(1);
        emit printer->activated(1);
        auto* copies = view.findChild<QSpinBox*>();
        copies->selectAll();
        QTest::keyClicks(copies, "3");
        QTest::mouseClick(view.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok),
                          Qt::LeftButton);
    });
    ASSERT_TRUE(pf::ShowPrintDialog(oDialog));
    EXPECT_EQ(oDialog.printer, "TallymanNull");
    EXPECT_EQ(sLoaded, "TallymanNull");
    EXPECT_EQ(oDialog.copies, 3);
}

TEST_F(CommonDialogViewsTest, DialogsSpeakTheLanguageOfTheRegionalSettings)
{
    gui::DesktopAnswers answers;
    struct Case
    {
        const char* sLocale;
        QString sTitle;
        bool bTranslated;
    };
    for (const auto& c : {Case{"de-DE", QStringLiteral("Drucken"), true},
                          Case{"en-US", QStringLiteral("Print"), false}}) {
        platform::locale::SetCurrent(c.sLocale);
        const gui::QtTranslations translations;
        EXPECT_EQ(translations.Loaded(), c.bTranslated) << c.sLocale;
        // Qt's dates, as in the file dialog's date column, are the run's too.
        EXPECT_EQ(QLocale().monthName(12, QLocale::ShortFormat) == QStringLiteral("Dec"),
                  !c.bTranslated)
            << QLocale().monthName(12, QLocale::ShortFormat).toStdString();
        // Qt's file dialog: its labels and buttons come from Qt's translations.
        QFileDialog files;
        files.setOption(QFileDialog::DontUseNativeDialog);
        auto* pLookIn = files.findChild<QLabel*>(QStringLiteral("lookInLabel"));
        ASSERT_NE(pLookIn, nullptr);
        EXPECT_EQ(pLookIn->text() != QStringLiteral("Look in:"), c.bTranslated)
            << pLookIn->text().toStdString();
        QString sTitle;
        WhenShown<QDialog>([&sTitle](QDialog& view) {
            sTitle = view.windowTitle();
            view.reject();
        });
        pf::PrintDialog oDialog;
        oDialog.printers = {"TallymanPDF"};
        oDialog.printer = "TallymanPDF";
        pf::ShowPrintDialog(oDialog);
        EXPECT_EQ(sTitle, c.sTitle);
    }
}

TEST_F(CommonDialogViewsTest, FileDialogShowsTheNamesTypesAndDatesOfAFolderWhole)
{
    // Qt's dialog sized its columns for English: in German a folder's type "Verzeichnis"
    // showed as "Ver…nis". Each text of the folder's details shows whole, in each language.
    gui::DesktopAnswers answers;
    fs::create_directories(oDir / "Unterordner");
    std::ofstream(oDir / "Bericht vom Dezember.csv") << "x";
    for (const char* sLocale : {"de-DE", "en-US"}) {
        platform::locale::SetCurrent(sLocale);
        const gui::QtTranslations translations;
        int nChecked = 0;
        WhenShown<QFileDialog>([&](QFileDialog& dialog) {
            auto* details = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
            ASSERT_NE(details, nullptr);
            const QModelIndex folder = details->rootIndex();
            const QAbstractItemModel* model = details->model();
            EXPECT_TRUE(QTest::qWaitFor([&] { return model->rowCount(folder) >= 2; }, 5000))
                << sLocale;
            QTest::qWait(50); // the columns are fitted once the folder's texts are in
            for (int r = 0; r < model->rowCount(folder); ++r)
                for (int c = 0; c < model->columnCount(folder); ++c) {
                    if (details->isColumnHidden(c))
                        continue;
                    const QModelIndex cell = model->index(r, c, folder);
                    EXPECT_LE(details->sizeHintForIndex(cell).width(), details->columnWidth(c))
                        << sLocale << " cuts \"" << cell.data().toString().toStdString() << "\" in "
                        << details->columnWidth(c) << " pixels";
                    ++nChecked;
                }
            // Sizes and dates as the run's regional settings write them, whatever the
            // process's locale (LANG=C wrote "10 Dec 2026 13:37:02").
            const QLocale run(
                QString::fromUtf8(sLocale).replace(QLatin1Char('-'), QLatin1Char('_')));
            const QFileInfo file(
                QString::fromStdString((oDir / "Bericht vom Dezember.csv").string()));
            bool bFound = false;
            for (int r = 0; r < model->rowCount(folder); ++r)
                if (model->index(r, 0, folder).data().toString() == file.fileName()) {
                    bFound = true;
                    EXPECT_EQ(
                        model->index(r, 3, folder).data().toString().toStdString(),
                        run.toString(file.lastModified(), QLocale::ShortFormat).toStdString());
                    EXPECT_EQ(model->index(r, 1, folder).data().toString().toStdString(),
                              run.formattedDataSize(file.size()).toStdString());
                }
            EXPECT_TRUE(bFound);
            // The side bar shows the names of its places whole.
            auto* places = dialog.findChild<QListView*>(QStringLiteral("sidebar"));
            ASSERT_NE(places, nullptr);
            for (int r = 0; r < places->model()->rowCount(); ++r) {
                const QModelIndex place = places->model()->index(r, 0);
                EXPECT_LE(places->sizeHintForIndex(place).width(), places->viewport()->width())
                    << sLocale << " cuts \"" << place.data().toString().toStdString() << "\"";
            }
            dialog.reject();
        });
        pf::FileDialog::Request request;
        request.kind = pf::DialogKind::SaveFile;
        request.initialFolder = oDir.string();
        request.initialName = "Bericht";
        request.filters = {{"Trennzeichen-getrennt (*.csv)", "*.csv"}};
        pf::ShowFileDialog(request);
        EXPECT_GE(nChecked, 2 * 4) << sLocale; // two entries, four columns
    }
}

} // namespace
