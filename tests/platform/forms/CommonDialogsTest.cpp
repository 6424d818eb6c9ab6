#include "platform/forms/CommonDialogs.h"
#include "platform/forms/Driver.h"
#include "platform/locale/Locale.h"
#include "platform/runtime/Error.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <tuple>
#include <vector>

namespace {

using namespace platform::forms;
namespace fs = std::filesystem;

class CommonDialogsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Driver::current().Reset();
        m_root =
            fs::temp_directory_path() /
            ("tv-dialogs-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_root);
        fs::create_directories(m_root / "sub");
        std::ofstream(m_root / "old.csv") << "a;b\n";
    }
    void TearDown() override
    {
        Driver::current().Reset();
        fs::remove_all(m_root);
    }
    std::string Root() const { return m_root.string(); }

    FileDialog::Request SaveRequest(bool askBeforeReplace) const
    {
        FileDialog::Request request;
        request.kind = DialogKind::SaveFile;
        request.initialFolder = Root();
        request.initialName = "Report.csv";
        request.filters = {{"Comma delimited (*.csv)", "*.csv"}, {"Web Page", "*.html"}};
        request.firstOption = askBeforeReplace;
        request.secondOption = true;
        return request;
    }

    fs::path m_root;
};

TEST_F(CommonDialogsTest, SaveDialogResolvesNamesInItsFolderWithTheFiltersExtension)
{
    struct Case
    {
        std::string answer;
        int filter;
        std::string expected; // relative to the root
        int expectedFilter;
    };
    const std::vector<Case> cases = {
        {"Report.csv", -1, "Report.csv", 0},
        {"Monthly", -1, "Monthly.csv", 0},
        {"Monthly", 1, "Monthly.html", 1},
        {"sub/x.txt", -1, "sub/x.txt", 0},
        {"sub/../y", -1, "y.csv", 0},
        // Dots of a date, a version or a phrase are part of the name; a type after the last
        // dot is kept, a filter's own in any case.
        {"Bericht 11.12.2026", -1, "Bericht 11.12.2026.csv", 0},
        {"Bericht 11.12.2026", 1, "Bericht 11.12.2026.html", 1},
        {"Plan v1.2", -1, "Plan v1.2.csv", 0},
        {"Plan v2.10b", -1, "Plan v2.10b.csv", 0},
        {"Stand 3. Quartal", -1, "Stand 3. Quartal.csv", 0},
        {"Liste Dr.Meier", -1, "Liste Dr.Meier.csv", 0},
        {"Bericht 1.2.HTML", -1, "Bericht 1.2.HTML", 0},
        {"Bericht 1.2.Txt", -1, "Bericht 1.2.Txt", 0},
        {"Notiz.md", -1, "Notiz.md", 0},
        {"Teil.x", -1, "Teil.x.csv", 0},
    };
    for (const auto& c : cases) {
        Driver::current().QueueDialogAnswer(c.answer, c.filter);
        const auto result = ShowFileDialog(SaveRequest(false));
        EXPECT_EQ(result.path, (m_root / c.expected).string()) << c.answer;
        EXPECT_EQ(result.filterIndex, c.expectedFilter) << c.answer;
    }
    Driver::current().QueueDialogAnswer((m_root / "abs.html").string());
    EXPECT_EQ(ShowFileDialog(SaveRequest(false)).path, (m_root / "abs.html").string());
    // A filter's type is one however long it is.
    auto request = SaveRequest(false);
    request.filters.push_back({"Page", "*.xhtml"});
    for (const char* name : {"Stand 1.2.xhtml", "Stand 1.2.XHtml"}) {
        Driver::current().QueueDialogAnswer(name);
        EXPECT_EQ(ShowFileDialog(request).path, (m_root / name).string());
    }
}

TEST_F(CommonDialogsTest, CancelGivesAnEmptyPathAndIsRecorded)
{
    auto& driver = Driver::current();
    driver.QueueDialogAnswer("");
    EXPECT_EQ(ShowFileDialog(SaveRequest(true)).path, "");
    driver.QueueDialogAnswer("");
    EXPECT_EQ(ShowFolderDialog({0, Root(), "Directory", "Please choose"}), "");
    ASSERT_EQ(driver.Dialogs().size(), 2u);
    EXPECT_EQ(driver.Dialogs()[0].kind, DialogKind::SaveFile);
    EXPECT_FALSE(driver.Dialogs()[0].confirmed);
    EXPECT_EQ(driver.Dialogs()[1].title, "Directory");
}

TEST_F(CommonDialogsTest, WrongAnswersAreRefused)
{
    auto& driver = Driver::current();
    FileDialog::Request open;
    open.kind = DialogKind::OpenFile;
    open.initialFolder = Root();
    open.firstOption = true;
    open.filters = {{"Outlook Template (*.oft)", "*.oft"}};
    struct Case
    {
        const char* name;
        std::function<void()> show;
    };
    const std::vector<Case> cases = {
        {"open a missing file", [&] { ShowFileDialog(open); }},
        {"save into a missing folder", [&] { ShowFileDialog(SaveRequest(false)); }},
        {"save onto a folder", [&] { ShowFileDialog(SaveRequest(false)); }},
        {"missing folder",
         [&] {
             ShowFolderDialog({0, Root(), "t", "p"});
         }},
        {"a file as folder",
         [&] {
             ShowFolderDialog({0, Root(), "t", "p"});
         }},
        {"filter outside the list", [&] { ShowFileDialog(SaveRequest(false)); }},
    };
    driver.QueueDialogAnswer("none.oft");
    driver.QueueDialogAnswer("nowhere/x.csv");
    driver.QueueDialogAnswer("sub");
    driver.QueueDialogAnswer("nowhere");
    driver.QueueDialogAnswer("old.csv");
    driver.QueueDialogAnswer("x.csv", 2);
    for (const auto& c : cases)
        EXPECT_THROW(c.show(), platform::runtime::Error) << c.name;
    // Nothing queued and no runner: the dialog is not left hanging.
    EXPECT_THROW(ShowFolderDialog({0, Root(), "t", "p"}), platform::runtime::Error);
}

TEST_F(CommonDialogsTest, OpenDialogTakesAnExistingFile)
{
    FileDialog::Request open;
    open.kind = DialogKind::OpenFile;
    open.initialFolder = Root();
    open.firstOption = true;
    Driver::current().QueueDialogAnswer("old.csv");
    EXPECT_EQ(ShowFileDialog(open).path, (m_root / "old.csv").string());
    // A name with dots but no type of its own: the file of that very name where there is one,
    // else the name with the filter's type.
    open.filters = {{"Web Page", "*.html"}};
    std::ofstream(m_root / "Vorlage 1.2") << "x";
    std::ofstream(m_root / "Stand 3.4.html") << "x";
    Driver::current().QueueDialogAnswer("Vorlage 1.2");
    EXPECT_EQ(ShowFileDialog(open).path, (m_root / "Vorlage 1.2").string());
    Driver::current().QueueDialogAnswer("Stand 3.4");
    EXPECT_EQ(ShowFileDialog(open).path, (m_root / "Stand 3.4.html").string());
    Driver::current().QueueDialogAnswer("sub");
    EXPECT_EQ(ShowFolderDialog({0, Root(), "t", "p"}), (m_root / "sub").string());
}

TEST_F(CommonDialogsTest, SaveDialogAsksBeforeReplacingOnlyWhenTold)
{
    auto& driver = Driver::current();
    // No: the dialog stays open and takes the next name.
    driver.QueueDialogAnswer("old.csv");
    driver.QueueMsgBoxAnswer(vbNo);
    driver.QueueDialogAnswer("new.csv");
    EXPECT_EQ(ShowFileDialog(SaveRequest(true)).path, (m_root / "new.csv").string());
    ASSERT_EQ(driver.MessageBoxes().size(), 1u);
    EXPECT_NE(driver.MessageBoxes()[0].prompt.find("old.csv"), std::string::npos);
    EXPECT_TRUE(IsQuestion(driver.MessageBoxes()[0].buttons));

    driver.QueueDialogAnswer("old.csv");
    driver.QueueMsgBoxAnswer(vbYes);
    EXPECT_EQ(ShowFileDialog(SaveRequest(true)).path, (m_root / "old.csv").string());

    // Without the option the file is taken without a question.
    driver.QueueDialogAnswer("old.csv");
    EXPECT_EQ(ShowFileDialog(SaveRequest(false)).path, (m_root / "old.csv").string());
    EXPECT_EQ(driver.MessageBoxes().size(), 2u);

    // The question is never answered on the person's behalf.
    driver.QueueDialogAnswer("old.csv");
    EXPECT_THROW(ShowFileDialog(SaveRequest(true)), platform::runtime::Error);
}

TEST_F(CommonDialogsTest, DialogsSpeakTheirLanguage)
{
    auto request = SaveRequest(false);
    request.languageId = 1031;
    EXPECT_EQ(FileDialog(request).Title(), "Speichern unter");
    request.languageId = 1033;
    EXPECT_EQ(FileDialog(request).Title(), "Save As");
    request.title = "Bericht";
    EXPECT_EQ(FileDialog(request).Title(), "Bericht");

    // The folder and print dialogs speak the user's locale.
    PrintDialog print;
    print.printers = {"TallymanPDF"};
    print.printer = "TallymanPDF";
    print.copies = 0;
    FolderDialog::Request folders;
    for (const auto& [locale, copies, folder] :
         std::vector<std::tuple<std::string, std::string, std::string>>{
             {"de-DE", "Die Anzahl der Exemplare muss", "Kein Ordner angegeben."},
             {"en-US", "The number of copies must", "No folder was given."}}) {
        platform::locale::SetCurrent(locale);
        EXPECT_EQ(print.Check().value_or("").rfind(copies, 0), 0u) << *print.Check();
        EXPECT_EQ(FolderDialog(folders).Check().value_or(""), folder);
    }
}

TEST_F(CommonDialogsTest, PrintDialogChecksItsFields)
{
    PrintDialog dialog;
    dialog.printers = {"TallymanPDF", "TallymanNull"};
    dialog.printer = "TallymanPDF";
    dialog.maxPage = 65534;
    EXPECT_FALSE(dialog.Check());
    struct Case
    {
        const char* name;
        std::function<void(PrintDialog&)> change;
    };
    const std::vector<Case> wrong = {
        {"unknown printer", [](PrintDialog& d) { d.printer = "Nope"; }},
        {"no copies", [](PrintDialog& d) { d.copies = 0; }},
        {"pages backwards",
         [](PrintDialog& d) {
             d.range = PrintRange::Pages;
             d.fromPage = 5;
             d.toPage = 2;
         }},
        {"pages past the end",
         [](PrintDialog& d) {
             d.range = PrintRange::Pages;
             d.fromPage = 1;
             d.toPage = 70000;
         }},
        {"orientation", [](PrintDialog& d) { d.orientation = 3; }},
        {"scale", [](PrintDialog& d) { d.scale = 0; }},
    };
    for (const auto& c : wrong) {
        PrintDialog copy = dialog;
        c.change(copy);
        EXPECT_TRUE(copy.Check()) << c.name;
        Driver::current().QueueDialog([&c](CommonDialog& d) {
            c.change(static_cast<PrintDialog&>(d));
            return true;
        });
        PrintDialog shown = dialog;
        EXPECT_THROW(ShowPrintDialog(shown), platform::runtime::Error) << c.name;
    }
    int loads = 0;
    dialog.OnPrinterChanged = [&loads](PrintDialog& d) {
        ++loads;
        d.orientation = 2;
    };
    dialog.SelectPrinter("TallymanNull");
    EXPECT_EQ(loads, 1);
    EXPECT_EQ(dialog.orientation, 2);
}

} // namespace
