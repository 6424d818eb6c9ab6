#include "HostRunFixture.h"
#include "host/FolderPaths.h"
#include "platform/store/Profile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

using host_test::ItemRows;
using host_test::RunResult;

class HostRunTest : public host_test::HostRunFixture
{
};

std::string ReadAll(const fs::path& oFile)
{
    std::ifstream oIn(oFile, std::ios::binary);
    return {std::istreambuf_iterator<char>(oIn), std::istreambuf_iterator<char>()};
}

// A host that runs while the test goes on: its commands go through a pipe that stays open
// until Finish, its output into a file.
class RunningHost
{
public:
    RunningHost(const fs::path& oDataRoot, const std::string& sArgs, const fs::path& oOutput)
        : m_pPipe(popen(("XDG_CONFIG_HOME='" + oDataRoot.string() +
                         "' TZ=Europe/Berlin '" TV_TALLYMAN_PATH "' " + sArgs + " > '" +
                         oOutput.string() + "' 2>&1")
                            .c_str(),
                        "w"))
    {
    }
    RunningHost(const RunningHost&) = delete;
    RunningHost& operator=(const RunningHost&) = delete;
    ~RunningHost() { Finish(); }
    bool Started() const { return m_pPipe != nullptr; }
    void Type(const std::string& sCommands)
    {
        std::fputs(sCommands.c_str(), m_pPipe);
        std::fflush(m_pPipe);
    }
    /// Ends the input and waits for the host; its exit code (-1 when it did not exit).
    int Finish()
    {
        if (!m_pPipe)
            return -1;
        const int status = pclose(m_pPipe);
        m_pPipe = nullptr;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    FILE* m_pPipe;
};

TEST_F(HostRunTest, ASecondHostOnTheSameProfileSaysSoAndTheFirstsTemplatesStay)
{
    const auto oReports = oRoot / "Kestrova" / "Tallyman" / "reports.xml";
    const auto oFirstOutput = oRoot / "first.txt";
    RunningHost oFirst(oRoot, "--lang de --interactive", oFirstOutput);
    ASSERT_TRUE(oFirst.Started());
    oFirst.Type("templates\nselect fg 0\nclick cmdCopy\nset txtNew Erster\nclick cmdOK\n"
                "click cmdOK\n");
    bool bSaved = false;
    for (int i = 0; i < 1200 && !bSaved; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        bSaved = ReadAll(oReports).find("<Name>Erster</Name>") != std::string::npos;
    }
    ASSERT_TRUE(bSaved) << ReadAll(oFirstOutput);

    const std::string sProfile = (oRoot / "Kestrova" / "Tallyman" / "SampleProfile").string();
    for (const char* sMode : {"", " --gui"}) {
        SCOPED_TRACE(sMode);
        // A window host that wrongly starts would wait for its window to close: it is ended
        // after a while (env passes the variables the run puts after it).
        const auto r =
            Run(std::string("--lang de") + sMode, {}, "QT_QPA_PLATFORM=offscreen timeout 60 env");
        EXPECT_NE(r.exitCode, 0) << r.output;
        // Said in the run's language, by the window host too.
        EXPECT_TRUE(std::regex_search(
            r.output, std::regex("das Profil " + sProfile +
                                 " ist in einem anderen tallyman geöffnet \\(Prozess [0-9]+\\)")))
            << r.output;
        EXPECT_EQ(r.output.find("ist verbunden"), std::string::npos) << r.output;
    }

    oFirst.Type("quit\n");
    EXPECT_EQ(oFirst.Finish(), 0) << ReadAll(oFirstOutput);
    EXPECT_NE(ReadAll(oReports).find("<Name>Erster</Name>"), std::string::npos);
    // The claim went with the first host; its lock file stays and blocks nobody.
    const auto rAfter = Run("--lang de --template Erster");
    EXPECT_EQ(rAfter.exitCode, 0) << rAfter.output;
    EXPECT_NE(rAfter.output.find("[Erster]"), std::string::npos) << rAfter.output;
}

TEST_F(HostRunTest, ConnectsClicksAndDisconnectsInEitherLanguage)
{
    struct Case
    {
        std::string sArgs;
        std::vector<std::string> vLines;
    };
    for (const auto& c : std::vector<Case>{
             {"",
              {"Connected the add-in ", "Ribbon: tab \"Tallyman\", button \"Reports\"",
               "Disconnected the add-in."}},
             {"--lang de",
              {"Das Add-in ", " ist verbunden.",
               "Menüband: Registerkarte \"Tallyman\", Schaltfläche \"Berichte\"",
               "Die Verbindung zum Add-in ist getrennt."}}}) {
        const auto r = Run(c.sArgs);
        EXPECT_EQ(r.exitCode, 0) << r.output;
        for (const auto& sLine : c.vLines)
            EXPECT_NE(r.output.find(sLine), std::string::npos) << sLine << "\n" << r.output;
    }
    EXPECT_TRUE(fs::exists(oRoot / "Kestrova" / "Tallyman" / "SampleProfile"));
}

TEST_F(HostRunTest, TheLanguageFollowsTheLocaleUnlessLangNamesOne)
{
    struct Case
    {
        std::string sEnv;
        std::string sArgs;
        std::string sButton;
    };
    for (const auto& c : std::vector<Case>{
             {"LANG=de_DE.UTF-8", "", "Berichte"},
             {"LC_MESSAGES=de_AT.UTF-8 LANG=en_US.UTF-8", "", "Berichte"},
             {"LC_ALL=en_US.UTF-8 LC_MESSAGES=de_DE.UTF-8 LANG=de_DE.UTF-8", "", "Reports"},
             {"LANG=de_DE.UTF-8", "--lang en", "Reports"},
             {"LANG=fr_FR.UTF-8", "", "Reports"}}) {
        const auto r = Run(c.sArgs, {}, c.sEnv);
        EXPECT_EQ(r.exitCode, 0) << r.output;
        EXPECT_NE(r.output.find("\"" + c.sButton + "\""), std::string::npos)
            << c.sEnv << " " << c.sArgs << "\n"
            << r.output;
    }
}

TEST_F(HostRunTest, ANewUsersTemplatesAreInTheLanguageOfTheFirstRun)
{
    const auto r = Run("--lang de --template 'Aufgaben nach Status'");
    ASSERT_EQ(r.exitCode, 0) << r.output;
    EXPECT_NE(r.output.find("Vorlagen: (Standard) [Aufgaben nach Status] Journal nach Firma und "
                            "Monat Projektzeiten"),
              std::string::npos)
        << r.output;
    EXPECT_NE(r.output.find("| Aufgabe "), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("[-] Status: Erledigt ("), std::string::npos) << r.output;
}

TEST_F(HostRunTest, BadArgumentsAndMissingProfilesFail)
{
    const auto rOption = Run("--lang fr");
    EXPECT_EQ(rOption.exitCode, 2);
    EXPECT_NE(rOption.output.find("Usage: tallyman"), std::string::npos) << rOption.output;
    const auto rProfile = Run("--profile '" + (oRoot / "missing").string() + "'");
    EXPECT_EQ(rProfile.exitCode, 1);
    EXPECT_NE(rProfile.output.find("there is no profile"), std::string::npos) << rProfile.output;
    const auto rHelp = Run("--help");
    EXPECT_EQ(rHelp.exitCode, 0);
    EXPECT_NE(rHelp.output.find("--interactive"), std::string::npos);
}

} // namespace

TEST_F(HostRunTest, AnOutputThatCannotBeWrittenIsToldAndTheExportIsStillKept)
{
    const std::string sHost = "LC_ALL= LC_MESSAGES= LANG=C.UTF-8 XDG_CONFIG_HOME='" +
                              oRoot.string() + "' TZ=Europe/Berlin '" TV_TALLYMAN_PATH "'";
    const auto oFile = oRoot / "bericht.csv";
    const std::string sExport = "--lang de --export '" + oFile.string() + "'";
    struct Case
    {
        const char* sWhat;
        std::string sArgs;
        const char* sOutput; // where the standard output goes
        int nCode;
    };
    const Case cases[] = {
        {"onto a full disk", sExport, ">/dev/full", 4},
        {"closed", sExport, ">&-", 4},
        {"--help onto a full disk", "--lang de --help", ">/dev/full", 4},
        {"kept", sExport, ">/dev/null", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sWhat);
        std::filesystem::remove(oFile);
        // The standard output goes where the case says; the error stream is what is read.
        const auto r = Shell("(" + sHost + " " + c.sArgs + " " + c.sOutput + ")");
        EXPECT_EQ(r.exitCode, c.nCode) << r.output;
        EXPECT_EQ(r.output.find("Standardausgabe") != std::string::npos, c.nCode != 0)
            << r.output;
        if (c.sArgs == sExport) {
            EXPECT_GT(std::filesystem::file_size(oFile), 0u);
        }
    }
    // A reader that stops after the first byte: the run goes on to its export and its end.
    std::filesystem::remove(oFile);
    const auto r = Shell("{ (" + sHost + " " + sExport + "; echo \"code=$?\" >&2) | head -c 1 "
                         ">/dev/null; }");
    EXPECT_NE(r.output.find("code=4\n"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("Standardausgabe"), std::string::npos) << r.output;
    EXPECT_GT(std::filesystem::file_size(oFile), 0u);
}

TEST_F(HostRunTest, PrintsTheChosenTemplateGroupedWithTotals)
{
    const auto r = Run("--lang en --template 'Tasks by Status'");
    ASSERT_EQ(r.exitCode, 0) << r.output;
    EXPECT_TRUE(fs::exists(oRoot / "Kestrova" / "Tallyman" / "reports.xml"));
    EXPECT_NE(r.output.find("Templates: (Standard) [Tasks by Status] Journal by Company and "
                            "Month Project Hours"),
              std::string::npos)
        << r.output;
    EXPECT_EQ(r.output.find("Read: 0 of 0"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("\n== [-] Total  ("), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("[-] Status: Complete ("), std::string::npos) << r.output;
    EXPECT_EQ(r.output.find("()"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("Disconnected the add-in."), std::string::npos) << r.output;

    // The definitions were made in English for this user and keep their captions.
    const auto rStandard = Run("--lang de");
    ASSERT_EQ(rStandard.exitCode, 0) << rStandard.output;
    EXPECT_NE(rStandard.output.find("Vorlagen: [(Standard)] Tasks by Status"), std::string::npos)
        << rStandard.output;
    EXPECT_NE(rStandard.output.find("[-] Categories:"), std::string::npos) << rStandard.output;

    const auto rUnknown = Run("--template Nope");
    EXPECT_EQ(rUnknown.exitCode, 1) << rUnknown.output;
    EXPECT_NE(rUnknown.output.find("there is no template \"Nope\""), std::string::npos)
        << rUnknown.output;
    EXPECT_NE(rUnknown.output.find("Disconnected the add-in."), std::string::npos)
        << rUnknown.output;
}

TEST_F(HostRunTest, InteractiveRunPicksTemplatesAndRunsMenuCommands)
{
    const auto r =
        Run("--interactive",
            "template Tasks by Status\\ncollapse\\ndeletereport\\nbogus\\nexit\\nquit\\n");
    ASSERT_EQ(r.exitCode, 0) << r.output;
    EXPECT_NE(r.output.find("Templates: (Standard) [Tasks by Status]"), std::string::npos)
        << r.output;
    EXPECT_NE(r.output.find("== [+] Total"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("There is no menu command \"bogus\"."), std::string::npos) << r.output;
    // Nothing is saved yet: the delete command is disabled and refused.
    EXPECT_NE(r.output.find("The menu command \"deletereport\" is not available now: no report "
                            "file was saved yet (saveas saves one)."),
              std::string::npos)
        << r.output;
    EXPECT_NE(r.output.find("> Closed the report window; the template keeps its view"),
              std::string::npos)
        << r.output;
    EXPECT_TRUE(fs::exists(oRoot / "Kestrova" / "Tallyman" / "reports.xml"));
    EXPECT_NE(r.output.find("Disconnected the add-in."), std::string::npos) << r.output;
}

TEST_F(HostRunTest, RefusedCommandsSayWhyInTheUsersLanguage)
{
    struct Case
    {
        std::string sLang;
        std::vector<std::string> vExpected;
    };
    // Refusals of the window, the report grid, a dialog's form commands and its help, a
    // mailbox listed and refused, and a mail's command in an appointment's window.
    const std::string sInput = "bogus\\nrow 999\\nwidth 1 wide\\nwhole zzz\\nsetview\\n"
                               "frobnicate\\nclick cmdNowhere\\nhelp\\nkey escape\\nmailbox sent\\n"
                               "mailbox junk\\nfind wochenenddienst\\nopen\\nmail subject Neu\\n"
                               "quit\\n";
    for (const auto& c : std::vector<Case>{
             {"en",
              {"There is no menu command \"bogus\".", "There is no item row 999 (rows 1 to ",
               "A width is a number of twips, not wide.", "No row begins with \"zzz\".",
               "there is no command \"frobnicate\" (help lists them)",
               "there is no control \"cmdNowhere\" on frmView",
               "Form commands (NAME is a control's", "escape: cmdCancel clicked",
               "> Sent Items: ", "\n     to: ", "mailbox takes drafts, outbox or sent",
               "The last item window shows no mail to send."}},
             {"de",
              {"Es gibt keinen Menübefehl \"bogus\".",
               "Es gibt keine Elementzeile 999 (Zeilen 1 bis ",
               "Eine Breite ist eine Zahl von Twips, nicht wide.",
               "Keine Zeile beginnt mit \"zzz\".",
               "es gibt keinen Befehl \"frobnicate\" (help listet sie)",
               "auf frmView gibt es kein Steuerelement \"cmdNowhere\"",
               "Formularbefehle (NAME ist der Name", "escape: cmdCancel geklickt",
               "> Gesendete Elemente: ", "\n     an: ", "mailbox nimmt drafts, outbox oder sent",
               "Das letzte Elementfenster zeigt keine Nachricht zum Senden."}}}) {
        const auto r = Run("--lang " + c.sLang + " --interactive", sInput);
        EXPECT_EQ(r.exitCode, 0) << r.output;
        for (const auto& sExpected : c.vExpected)
            EXPECT_NE(r.output.find(sExpected), std::string::npos) << sExpected << "\n"
                                                                   << r.output;
    }
}

namespace {

// Code points of the longest line.
std::size_t WidestLine(const std::string& s, std::string& sWidest)
{
    std::size_t nWidest = 0;
    std::size_t start = 0;
    while (start < s.size()) {
        const auto end = std::min(s.find('\n', start), s.size());
        const std::string line = s.substr(start, end - start);
        std::size_t n = 0;
        for (char c : line)
            n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        if (n > nWidest) {
            nWidest = n;
            sWidest = line;
        }
        start = end + 1;
    }
    return nWidest;
}

} // namespace

TEST_F(HostRunTest, InteractiveRunFitsTheTerminalAndKnowsItsCommands)
{
    const auto r =
        Run("--interactive", "menu\nhelp\ncollapse\nshow\nexit\ncollapse\nreport\nshow\nquit\n",
            "COLUMNS=100");
    ASSERT_EQ(r.exitCode, 0) << r.output;
    std::string sWidest;
    EXPECT_LE(WidestLine(r.output, sWidest), 100u) << sWidest;
    for (const char* sExpected :
         {// the grid's header and outline
          "| Subject", "== [-] Total", "--   [-] Categories:", "== [+] Total",
          // menu: localised captions, keys, enabled state; the tool bar
          "Menu bar:", "Expand all groups", "collapse", "deletereport", "(disabled)", "Tool bar:",
          // help, exit, report
          "report          click the report button", "Closed the report window;",
          "Disconnected the add-in."})
        EXPECT_NE(r.output.find(sExpected), std::string::npos) << sExpected << "\n" << r.output;
    // After exit the report button opens the window again: the grid shows a second time.
    const auto nAfterExit = r.output.find("Closed the report window;");
    EXPECT_NE(r.output.find("| Subject", nAfterExit), std::string::npos) << r.output;
}

TEST_F(HostRunTest, AnAnswersFileDrivesTheRunAndAMissingAnswerEndsIt)
{
    const auto oAnswers = oRoot / "answers.txt";
    std::ofstream(oAnswers) << "# collapse the report, then leave\ncollapse\nquit\n";
    const auto rDone = Run("--answers '" + oAnswers.string() + "'");
    EXPECT_EQ(rDone.exitCode, 0) << rDone.output;
    EXPECT_NE(rDone.output.find("> collapse"), std::string::npos) << rDone.output;
    EXPECT_NE(rDone.output.find("== [+] Total"), std::string::npos) << rDone.output;

    std::ofstream(oAnswers) << "# one good command, then a bad one\n\ncollapse\nno-such-command\n";
    const auto rBad = Run("--answers '" + oAnswers.string() + "'");
    EXPECT_EQ(rBad.exitCode, 3) << rBad.output;
    EXPECT_NE(rBad.output.find("tallyman: the answers file " + oAnswers.string() +
                               ", line 4: There is no menu command \"no-such-command\"."),
              std::string::npos)
        << rBad.output;

    const auto rMissing = Run("--answers '" + (oRoot / "none.txt").string() + "'");
    EXPECT_EQ(rMissing.exitCode, 1) << rMissing.output;
    EXPECT_NE(rMissing.output.find("cannot read the answers file"), std::string::npos)
        << rMissing.output;
}

TEST_F(HostRunTest, AnAnswersFileFindsAnItemBySubjectAndOpensIt)
{
    const auto oAnswers = oRoot / "answers.txt";
    std::ofstream(oAnswers) << "find wochenenddienst\nopen\nmenu 4\nopenitem_context\n"
                               "width 1 2500\nquit\n";
    const auto r = Run("--lang en --answers '" + oAnswers.string() + "'");
    ASSERT_EQ(r.exitCode, 0) << r.output;
    // The find box's hit becomes the current row, whose item opens in its own window.
    const auto nFind = r.output.find("> find wochenenddienst\nRow ");
    ASSERT_NE(nFind, std::string::npos) << r.output;
    const auto nWindow =
        r.output.find("== item window: Wochenenddienst (IPM.Appointment) ==\n   Start: ", nFind);
    ASSERT_NE(nWindow, std::string::npos) << r.output;
    const auto nEnd = r.output.find("\n   End: ", nWindow);
    const auto nCategories = r.output.find("\n   Categories: ", nWindow);
    ASSERT_NE(nEnd, std::string::npos) << r.output;
    ASSERT_NE(nCategories, std::string::npos) << r.output;
    EXPECT_NE(r.output.substr(nCategories + 16, 4), "None") << r.output;
    // A right click shows the context menu; its Open entry opens the clicked row's item.
    const auto nMenu = r.output.find("> menu 4\nContext menu:\n  Open  (openitem_context)");
    ASSERT_NE(nMenu, std::string::npos) << r.output;
    EXPECT_NE(r.output.find("Cancel  (cancel)", nMenu), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("> openitem_context\n\n== item window: ", nMenu), std::string::npos)
        << r.output;
    EXPECT_NE(r.output.find("> width 1 2500\nColumn 1 is 2500 twips wide."), std::string::npos)
        << r.output;
}

TEST_F(HostRunTest, MailboxesAreListedAndThePrinterChosenForTheRun)
{
    const auto oAnswers = oRoot / "answers.txt";
    const auto oPrinted = oRoot / "printed.csv";
    std::ofstream(oAnswers) << "print\nfile " << oPrinted.string() << "\nquit\n";
    const auto r = Run("--answers '" + oAnswers.string() + "' --printer TallymanNull");
    const bool bPrinter = r.output.find("there is no print queue") == std::string::npos;
    if (bPrinter) {
        ASSERT_EQ(r.exitCode, 0) << r.output;
        // The queue is the run's default printer; a template's own printer would still win.
        EXPECT_NE(r.output.find("Printer: TallymanNull is the default printer for this run; a "
                                "template that names its own printer prints there.\n"),
                  std::string::npos)
            << r.output;
        // The run says where the job went.
        EXPECT_NE(r.output.find("Sent \"printed.csv\" to the printer TallymanNull\n"),
                  std::string::npos)
            << r.output;

        // A template whose automatic print names its own printer prints there, as it would
        // after a change of the default printer.
        fs::create_directories(oRoot / "out");
        std::ofstream(oAnswers) << "templates\nclick cmdEdit\nclick cmdAutoAction\n"
                                   "check chkAutoExecute(0)\npick optAutoSave(0)\n"
                                   "set txtSavePath "
                                << (oRoot / "out").string()
                                << "\nset txtFileName Team\npick cboFileExist Overwrite the file\n"
                                   "check chkAutoExecute(3)\npick optPrint(0)\nclick cmdPrinter\n"
                                   "printer TallymanPDF\nok\nclick cmdOK\nclick cmdOK\n"
                                   "click cmdClose\nquit\n";
        const auto rSetUp = Run("--answers '" + oAnswers.string() + "'");
        ASSERT_EQ(rSetUp.exitCode, 0) << rSetUp.output;
        const auto rOwn = Run("--printer TallymanNull");
        EXPECT_EQ(rOwn.exitCode, 0) << rOwn.output;
        EXPECT_NE(rOwn.output.find("Printer: TallymanNull is the default printer"),
                  std::string::npos)
            << rOwn.output;
        EXPECT_NE(rOwn.output.find("Sent \"Team.csv\" to the printer TallymanPDF\n"),
                  std::string::npos)
            << rOwn.output;
    }
    std::ofstream(oAnswers) << "mailbox sent\nmailbox drafts\nquit\n";
    const auto rMail = Run("--answers '" + oAnswers.string() + "'");
    ASSERT_EQ(rMail.exitCode, 0) << rMail.output;
    EXPECT_NE(rMail.output.find("> mailbox sent\nSent Items: "), std::string::npos) << rMail.output;
    EXPECT_NE(rMail.output.find("> mailbox drafts\nDrafts: "), std::string::npos) << rMail.output;

    std::ofstream(oAnswers) << "mailbox trash\n";
    const auto rBad = Run("--answers '" + oAnswers.string() + "'");
    EXPECT_EQ(rBad.exitCode, 3) << rBad.output;
    EXPECT_NE(rBad.output.find("mailbox takes drafts, outbox or sent"), std::string::npos)
        << rBad.output;

    const auto rNoQueue = Run("--printer NoSuchQueue-4711");
    EXPECT_EQ(rNoQueue.exitCode, 1) << rNoQueue.output;
    EXPECT_NE(rNoQueue.output.find("there is no print queue NoSuchQueue-4711"), std::string::npos)
        << rNoQueue.output;
}

// The number N of the line "Gelesen: N von N" (or "Read: N of N"); -1 without one.
long ReadCount(const std::string& sOutput)
{
    static const std::regex oRead(R"((Gelesen|Read): ([0-9]+) (von|of) ([0-9]+)\n)");
    std::smatch m;
    if (!std::regex_search(sOutput, m, oRead) || m[2] != m[4])
        return -1;
    return std::stol(m[2]);
}

TEST_F(HostRunTest, FoldersPickedByPathAreReadForTheRunAndPickedFoldersAreKept)
{
    const auto oReports = oRoot / "Kestrova" / "Tallyman" / "reports.xml";
    const auto rBefore = Run("--lang de");
    ASSERT_EQ(rBefore.exitCode, 0) << rBefore.output;
    const auto r = Run("--lang de --folder 'Persönliche Ordner/Kalender' "
                       "--folder 'Öffentliche Ordner/Firmenkalender' --interactive",
                       "exit\\nquit\\n");
    ASSERT_EQ(r.exitCode, 0) << r.output;
    // The company calendar of the public folders adds its items to those of the own calendar,
    // and the count of the read is that of both folders, not of the last one.
    EXPECT_GT(ItemRows(r.output), ItemRows(rBefore.output)) << r.output;
    EXPECT_GT(ItemRows(rBefore.output), 0) << rBefore.output;
    EXPECT_GT(ReadCount(rBefore.output), 0) << rBefore.output;
    EXPECT_GT(ReadCount(r.output), ReadCount(rBefore.output)) << r.output;

    auto oProfile =
        platform::store::Profile::Open(oRoot / "Kestrova" / "Tallyman" / "SampleProfile");
    std::string sCompanyCalendar;
    for (const auto& oInfo : oProfile->Stores())
        if (oInfo.name == "Öffentliche Ordner") {
            auto oStore = oProfile->OpenStore(oInfo.entryId);
            for (const auto& oFolder : oStore->SubFolders(oStore->RootFolder().entryId))
                if (oFolder.name == "Firmenkalender")
                    sCompanyCalendar = "<EntryID>" + oFolder.entryId + "</EntryID>";
        }
    ASSERT_FALSE(sCompanyCalendar.empty());
    const auto Reports = [&oReports] {
        std::ifstream oIn(oReports, std::ios::binary);
        return std::string{std::istreambuf_iterator<char>(oIn), std::istreambuf_iterator<char>()};
    };
    // The command line's folders held for that run only: the template keeps its own.
    EXPECT_EQ(Reports().find(sCompanyCalendar), std::string::npos);
    const auto rAfter = Run("--lang de");
    EXPECT_EQ(ItemRows(rAfter.output), ItemRows(rBefore.output)) << rAfter.output;

    // Folders the person picks in the folder picker are the template's after exit.
    const auto oAnswers = oRoot / "answers.txt";
    std::ofstream(oAnswers) << "select\nfolder Öffentliche Ordner/Firmenkalender\nexit\nquit\n";
    const auto rPicked = Run("--lang de --answers '" + oAnswers.string() + "'");
    ASSERT_EQ(rPicked.exitCode, 0) << rPicked.output;
    EXPECT_NE(Reports().find(sCompanyCalendar), std::string::npos) << rPicked.output;

    const auto rMissing = Run("--folder 'Persönliche Ordner/Nirgends'");
    EXPECT_EQ(rMissing.exitCode, 1) << rMissing.output;
    EXPECT_NE(rMissing.output.find("there is no folder \"Persönliche Ordner/Nirgends\""),
              std::string::npos)
        << rMissing.output;
    EXPECT_NE(rMissing.output.find("Disconnected the add-in."), std::string::npos)
        << rMissing.output;
}

TEST_F(HostRunTest, APathThePickerCannotFindIsRefusedAndTheTicksMadeStay)
{
    // The inbox ticked by hand, a path with a slip, then the archive's calendar by path: the
    // template keeps both, whichever the language of the refusal.
    for (const char* pLanguage : {"en", "de"}) {
        SCOPED_TRACE(pLanguage);
        const bool bGerman = std::string(pLanguage) == "de";
        fs::remove_all(oRoot / "Kestrova");
        const auto r = Run(std::string("--lang ") + pLanguage + " --interactive",
                           "select\ntick fg 1\nfolder Archiv/Nope\nshow\n"
                           "folder Archiv/Kalender\nexit\n");
        ASSERT_EQ(r.exitCode, 0) << r.output;
        const std::string sRefusal =
            bGerman ? "es gibt keinen Ordner \"Archiv/Nope\"; die Ordner sind: \"Archiv/Kalender\""
                    : "there is no folder \"Archiv/Nope\"; the folders are: \"Archiv/Kalender\"";
        const auto nRefused = r.output.find(sRefusal);
        ASSERT_NE(nRefused, std::string::npos) << r.output;
        // The picker is still open, with its tick.
        EXPECT_NE(r.output.find("[x]  Posteingang", nRefused), std::string::npos) << r.output;
        EXPECT_NE(r.output.find(bGerman ? "Ordner Archiv/Kalender gewählt"
                                        : "folder Archiv/Kalender picked",
                                nRefused),
                  std::string::npos)
            << r.output;

        auto oProfile =
            platform::store::Profile::Open(oRoot / "Kestrova" / "Tallyman" / "SampleProfile");
        std::vector<std::string> vExpected;
        for (const auto& oInfo : oProfile->Stores()) {
            auto oStore = oProfile->OpenStore(oInfo.entryId);
            for (const auto& oFolder : oStore->SubFolders(oStore->RootFolder().entryId))
                if ((oInfo.name == "Persönliche Ordner" && oFolder.name == "Posteingang") ||
                    (oInfo.name == "Archiv" && oFolder.name == "Kalender"))
                    vExpected.push_back("<EntryID>" + oFolder.entryId + "</EntryID>");
        }
        ASSERT_EQ(vExpected.size(), 2u);
        const auto sFolders = host::TemplateFolders(
            oRoot / "Kestrova" / "Tallyman" / "reports.xml", "(Standard)");
        ASSERT_TRUE(sFolders.has_value());
        for (const auto& sEntry : vExpected)
            EXPECT_NE(sFolders->find(sEntry), std::string::npos) << sEntry << "\n" << *sFolders;
    }
}

TEST_F(HostRunTest, OlderClientsGetTheToolbarTheAboutBoxAndTheSupportMail)
{
    const std::string sPng = (oRoot / "about.png").string();
    const auto r = Run("--lang en --client-version 11.0 --interactive",
                       "exit\\ntoolbar\\ninfo\\npicture frmAbout " + sPng +
                           "\\nkey escape\\nsupport\\nmail close\\nsupport\\nquit\\n");
    ASSERT_EQ(r.exitCode, 0) << r.output;
    EXPECT_NE(r.output.find("Toolbar: \"Reporting Tools1\", button \"Reports\""), std::string::npos)
        << r.output;
    // After "exit" the toolbar's button opens the window again.
    const auto nClosed = r.output.find("Closed the report window;");
    ASSERT_NE(nClosed, std::string::npos) << r.output;
    EXPECT_NE(r.output.find("\nKestrova - Tallyman\n", nClosed), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("Kestrova - Product information"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("\"Version: 0.1.0\""), std::string::npos) << r.output;
    EXPECT_TRUE(fs::exists(sPng));
    EXPECT_NE(r.output.find("== item window: Tallyman Support Request (IPM.Note) =="),
              std::string::npos)
        << r.output;
    EXPECT_NE(r.output.find("\n   To: "), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("Tallyman Version: 0.1.0"), std::string::npos) << r.output;
    // A window closed by the person makes room: the next one the add-in opens shows too.
    const auto nWindowClosed = r.output.find("The item window was closed.");
    ASSERT_NE(nWindowClosed, std::string::npos) << r.output;
    EXPECT_NE(
        r.output.find("== item window: Tallyman Support Request (IPM.Note) ==", nWindowClosed),
        std::string::npos)
        << r.output;

    const auto rRibbon = Run("--interactive", "toolbar\\nquit\\n");
    EXPECT_NE(rRibbon.output.find("shows the report button on its ribbon"), std::string::npos)
        << rRibbon.output;
}

TEST_F(HostRunTest, ViewDialogsChangeTheReportAndTheChangeSurvivesARestart)
{
    // Add the Importance column, group by the start's month alone and sum the durations.
    const auto oAnswers = oRoot / "answers.txt";
    std::ofstream(oAnswers) << "setview\n"
                               "click cmdFields\n"
                               "pick cboFolder Calendar Fields\n"
                               "select fgAll Importance\n"
                               "click cmdAdd\n"
                               "click cmdOK\n"
                               "click cmdGroupBy\n"
                               "pick cbo0 Start\n"
                               "pick cboDateGroup0 Months\n"
                               "pick cbo1 (None)\n"
                               "click cmdOK\n"
                               "click cmdCalc\n"
                               "choose fg Duration Operation Sum\n"
                               "click cmdOK\n"
                               "click cmdOK\n"
                               "exit\n"
                               "quit\n";
    const auto r = Run("--lang en --answers '" + oAnswers.string() + "'");
    ASSERT_EQ(r.exitCode, 0) << r.output;
    // The month groups are the outline's first level, and the total row sums the durations.
    const std::regex oMonthGroup(R"(\n-- +\[-\] Start: [A-Z][a-z]+ +\|)");
    const std::regex oSummedTotal(R"(== \[-\] Total +\|[^\n]*\| +[0-9]+:[0-9]{2} +\|)");
    const auto nAfter = r.output.rfind("> click cmdOK");
    ASSERT_NE(nAfter, std::string::npos) << r.output;
    const std::string sAfter = r.output.substr(nAfter);
    EXPECT_NE(sAfter.find("| Importance"), std::string::npos) << sAfter;
    EXPECT_TRUE(std::regex_search(sAfter, oMonthGroup)) << sAfter;
    EXPECT_TRUE(std::regex_search(sAfter, oSummedTotal)) << sAfter;

    // A new run reads the template back from "reports.xml".
    const auto rAgain = Run("--lang en");
    ASSERT_EQ(rAgain.exitCode, 0) << rAgain.output;
    EXPECT_NE(rAgain.output.find("| Importance"), std::string::npos) << rAgain.output;
    EXPECT_TRUE(std::regex_search(rAgain.output, oMonthGroup)) << rAgain.output;
    EXPECT_TRUE(std::regex_search(rAgain.output, oSummedTotal)) << rAgain.output;
}

TEST_F(HostRunTest, ATemplateMadeInTheTemplateDialogsIsReadAndKeptAfterARestart)
{
    const auto oOut = oRoot / "berichte";
    fs::create_directories(oOut);
    const auto oAnswers = oRoot / "answers.txt";
    std::ofstream(oAnswers) << "templates\n"
                               "select fg 0\n"
                               "click cmdCopy\n"
                               "set txtNew Monatsbericht\n"
                               "click cmdFolder\n"
                               "folder Persönliche Ordner/Aufgaben\n"
                               "click cmdView\n"
                               "check chkShowResult\n"
                               "click cmdOK\n"
                               "click cmdAutoAction\n"
                               "check chkAutoExecute(0)\n"
                               "pick optAutoSave(0)\n"
                               "set txtSavePath "
                            << oOut.string()
                            << "\n"
                               "pick cboFormat Excel-Arbeitsmappe (*.xlsx)\n"
                               "set txtFileName Monat\n"
                               "pick cboPlaceholder Datum\n"
                               "click cmdAddPlaceholder\n"
                               "pick cboFileExist Datei überschreiben\n"
                               "click cmdOK\n"
                               "click cmdOK\n"
                               "click cmdOK\n"
                               "quit\n";
    const auto r = Run("--lang de --answers '" + oAnswers.string() + "'");
    ASSERT_EQ(r.exitCode, 0) << r.output;
    // Select in the manager shows the new template in the report window and reads it.
    const auto nChosen = r.output.find("[Monatsbericht]\nGelesen: ");
    ASSERT_NE(nChosen, std::string::npos) << r.output;
    // The automatic save wrote the workbook under the name with its date placeholder filled.
    std::vector<fs::path> oWritten;
    for (const auto& oEntry : fs::directory_iterator(oOut)) {
        oWritten.push_back(oEntry.path());
    }
    ASSERT_EQ(oWritten.size(), 1u) << r.output;
    const auto sName = oWritten.front().filename().string();
    EXPECT_EQ(sName.rfind("Monat", 0), 0u) << sName;
    EXPECT_EQ(sName.find("[@"), std::string::npos) << sName;
    EXPECT_EQ(oWritten.front().extension(), ".xlsx");
    std::ifstream oBook(oWritten.front(), std::ios::binary);
    std::string sMagic(2, '\0');
    oBook.read(sMagic.data(), 2);
    EXPECT_EQ(sMagic, "PK") << "not a workbook: " << sName;

    const auto rAgain = Run("--lang de --template Monatsbericht");
    ASSERT_EQ(rAgain.exitCode, 0) << rAgain.output;
    EXPECT_NE(rAgain.output.find("[Monatsbericht]\nGelesen: "), std::string::npos) << rAgain.output;
    std::ifstream oIn(oRoot / "Kestrova" / "Tallyman" / "reports.xml", std::ios::binary);
    const std::string sReports{std::istreambuf_iterator<char>(oIn),
                               std::istreambuf_iterator<char>()};
    const auto nTemplate = sReports.find("<Name>Monatsbericht</Name>");
    ASSERT_NE(nTemplate, std::string::npos) << sReports;
    EXPECT_NE(sReports.find(oOut.string(), nTemplate), std::string::npos) << sReports;
    EXPECT_NE(sReports.find("Monat[@Datum]", nTemplate), std::string::npos) << sReports;
}

TEST_F(HostRunTest, TheHostSpeaksTheUsersLanguageAndSaysWhatToDo)
{
    struct Case
    {
        std::string sLang;
        std::vector<std::string> vExpected;
        std::string sMissingFolder;
        std::string sNo;
        std::string sTaken;
    };
    const auto oExisting = oRoot / "old.csv";
    std::ofstream(oExisting) << "kept\n";
    const auto oAnswers = oRoot / "answers.txt";
    for (const auto& c : std::vector<Case>{
             {"de",
              {"Vorlagen: [(Standard)]", "\nGelesen: ", "  Ordner: ", "  Name:   ",
               "  Antwort: file NAME | filter N | cancel", "  [Ja | Nein]\n",
               "Der Bericht ist gespeichert als " + (oRoot / "exported.csv").string(),
               "Befehle des Berichtsfensters", "pick cboFormat #3", "Profil: ",
               "Menüband: Registerkarte \"Tallyman\"", "Die Verbindung zum Add-in ist getrennt."},
              "Der Ordner " + (oRoot / "nowhere").string() + " existiert nicht",
              "nein", "kann nicht geschrieben werden: es ist ein Ordner."},
             {"en",
              {"Templates: [(Standard)]", "\nRead: ", "  folder: ", "  name:   ",
               "  answer: file NAME | filter N | cancel", "  [Yes | No]\n",
               "Saved the report as " + (oRoot / "exported.csv").string(),
               "Commands of the report window", "pick cboFormat #3", "Profile: ",
               "Ribbon: tab \"Tallyman\"", "Disconnected the add-in."},
              "The folder " + (oRoot / "nowhere").string() + " does not exist",
              "no", "cannot be written: it is a folder."}}) {
        std::ofstream(oAnswers) << "help\nsaveas\nfile " << oExisting.string() << "\n"
                                << c.sNo << "\ncancel\nquit\n";
        fs::remove(oRoot / "exported.csv");
        const auto r = Run("--lang " + c.sLang + " --export '" +
                           (oRoot / "exported.csv").string() + "' --answers '" +
                           oAnswers.string() + "'");
        EXPECT_EQ(r.exitCode, 0) << r.output;
        for (const auto& sExpected : c.vExpected)
            EXPECT_NE(r.output.find(sExpected), std::string::npos) << sExpected << "\n"
                                                                   << r.output;
        // The line names the file the save wrote, under the name given.
        EXPECT_TRUE(fs::is_regular_file(oRoot / "exported.csv")) << r.output;

        // A report that was asked for and not saved ends the run with the code of its own.
        const auto rMissing =
            Run("--lang " + c.sLang + " --export '" + (oRoot / "nowhere" / "r.csv").string() + "'");
        EXPECT_EQ(rMissing.exitCode, 4) << rMissing.output;
        EXPECT_NE(rMissing.output.find(c.sMissingFolder), std::string::npos) << rMissing.output;

        // A folder in the way of the file is named with the reason in the user's language.
        fs::create_directories(oRoot / "taken.csv");
        const auto rTaken =
            Run("--lang " + c.sLang + " --export '" + (oRoot / "taken.csv").string() + "'");
        EXPECT_EQ(rTaken.exitCode, 4) << rTaken.output;
        EXPECT_NE(rTaken.output.find("\"" + (oRoot / "taken.csv").string() + "\" " + c.sTaken),
                  std::string::npos)
            << rTaken.output;
    }
    std::ifstream oKept(oExisting);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(oKept), {}), "kept\n");

    // An answers file that ends while a window waits says so in the user's language.
    std::ofstream(oAnswers) << "setview\n";
    const auto rEnded = Run("--lang de --answers '" + oAnswers.string() + "'");
    EXPECT_EQ(rEnded.exitCode, 3) << rEnded.output;
    EXPECT_NE(rEnded.output.find("die Antwortdatei " + oAnswers.string() +
                                 " endete, während das Fenster "),
              std::string::npos)
        << rEnded.output;

    const auto rFolder = Run("--answers '" + oRoot.string() + "'");
    EXPECT_EQ(rFolder.exitCode, 1) << rFolder.output;
    EXPECT_NE(rFolder.output.find("The answers file " + oRoot.string() + " is a folder"),
              std::string::npos)
        << rFolder.output;
}

TEST_F(HostRunTest, TheProgramSaysWhatItDid)
{
    // A template without folders reads nothing: the run says why and how to choose one.
    const auto oAnswers = oRoot / "answers.txt";
    std::ofstream(oAnswers) << "remove_folder\nquit\n";
    for (const auto& [sLang, sHint] : std::vector<std::pair<std::string, std::string>>{
             {"en", "No folder is chosen for the template \"(Standard)\", so nothing was read."},
             {"de", "Für die Vorlage \"(Standard)\" ist kein Ordner gewählt, darum wurde nichts"}}) {
        const auto r = Run("--lang " + sLang + " --answers '" + oAnswers.string() + "'");
        ASSERT_EQ(r.exitCode, 0) << r.output;
        const auto nRemoved = r.output.find("> remove_folder\n");
        ASSERT_NE(nRemoved, std::string::npos) << r.output;
        EXPECT_NE(r.output.find(sHint, nRemoved), std::string::npos) << r.output;
        EXPECT_NE(r.output.find("folder Persönliche Ordner/Kalender", nRemoved), std::string::npos)
            << r.output;
        // The first read had folders: no hint there.
        EXPECT_EQ(r.output.find(sHint), r.output.find(sHint, nRemoved)) << r.output;
    }
    // A folder that holds nothing reads nothing, but it is chosen: no hint either.
    const auto rEmpty = Run("--lang en --folder 'Persönliche Ordner/Postausgang'");
    ASSERT_EQ(rEmpty.exitCode, 0) << rEmpty.output;
    EXPECT_NE(rEmpty.output.find("Read: 0 of 0\n"), std::string::npos) << rEmpty.output;
    EXPECT_EQ(rEmpty.output.find("No folder is chosen"), std::string::npos) << rEmpty.output;

    // A run killed while it saved the settings left its temporary file: the next start
    // removes it and says so; a file of another name stays.
    const pid_t ended = ::fork();
    if (ended == 0)
        ::_exit(0);
    ::waitpid(ended, nullptr, 0);
    const auto oSettings = oRoot / "Kestrova" / "Tallyman";
    const auto oLeftover = oSettings / (".reports.xml.tmp-" + std::to_string(ended) + "-Ab12Cd");
    std::ofstream(oLeftover) << "<Reports>";
    std::ofstream(oSettings / ".reports.xml.keep") << "mine";

    // A read shows its progress only where the output is a terminal.
    const auto rPipe = Run("--lang en");
    EXPECT_EQ(rPipe.output.find("Reading: "), std::string::npos) << rPipe.output;
    EXPECT_FALSE(fs::exists(oLeftover)) << rPipe.output;
    EXPECT_TRUE(fs::exists(oSettings / ".reports.xml.keep"));
    EXPECT_NE(rPipe.output.find("Removed 1 temporary file(s) that an interrupted run left in " +
                                oSettings.string()),
              std::string::npos)
        << rPipe.output;
    const auto rTerminal = Shell("LC_ALL= LANG=C.UTF-8 XDG_CONFIG_HOME='" + oRoot.string() +
                                 "' TZ=Europe/Berlin script -qec \"'" TV_TALLYMAN_PATH
                                 "' --lang en\" /dev/null");
    EXPECT_EQ(rTerminal.exitCode, 0) << rTerminal.output;
    EXPECT_NE(rTerminal.output.find("\rReading: "), std::string::npos) << rTerminal.output;
}

TEST_F(HostRunTest, HelpTeachesATemplateFromScratchWithItsAutomaticSave)
{
    const auto rUsage = Run("--help");
    EXPECT_NE(rUsage.output.find("for this run only"), std::string::npos) << rUsage.output;

    // The steps the help shows, as a new user would type them.
    const auto oOut = oRoot / "reports";
    fs::create_directories(oOut);
    const auto oAnswers = oRoot / "answers.txt";
    std::ofstream(oAnswers) << "help\ntemplates\nselect fg 0\nclick cmdCopy\nset txtNew My report\n"
                               "click cmdFolder\nfolder Persönliche Ordner/Kalender\n"
                               "click cmdAutoAction\ncheck chkAutoExecute(0)\n"
                               "pick optAutoSave(0)\nset txtSavePath "
                            << oOut.string()
                            << "\npick cboFormat #3\nset txtFileName Month\nclick cmdOK\n"
                               "click cmdOK\nclick cmdOK\n"
                               "whole 5 Subject\ncollapse 1\nexpand 1\nquit\n";
    const auto r = Run("--lang en --answers '" + oAnswers.string() + "'", {}, "COLUMNS=80");
    ASSERT_EQ(r.exitCode, 0) << r.output;
    for (const char* sExpected :
         {"template Tasks by Status", "whole 5 Subject", "collapse Categories", "click cmdCopy",
          "Closing saves the", "are not saved: say", "hold for the run",
          // The current template stays in view however long the list.
          "[My report]"})
        EXPECT_NE(r.output.find(sExpected), std::string::npos) << sExpected << "\n" << r.output;
    const auto nSaved = r.output.find("Automatic save: the report is saved as " + oOut.string());
    ASSERT_NE(nSaved, std::string::npos) << r.output;
    std::vector<fs::path> vWritten;
    for (const auto& oEntry : fs::directory_iterator(oOut))
        vWritten.push_back(oEntry.path());
    ASSERT_EQ(vWritten.size(), 1u);
    EXPECT_NE(r.output.find(vWritten.front().string(), nSaved), std::string::npos) << r.output;

    // A row is shown whole on request, and one group closes and opens by its row.
    EXPECT_NE(r.output.find("> whole 5 Subject\nRow 5, Subject: "), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("> collapse 1\n"), std::string::npos) << r.output;
    const auto nCollapse = r.output.find("> collapse 1\n");
    const auto nExpand = r.output.find("> expand 1\n");
    ASSERT_NE(nExpand, std::string::npos) << r.output;
    EXPECT_NE(r.output.substr(nCollapse, nExpand - nCollapse).find("[+] Total"), std::string::npos)
        << r.output;
    EXPECT_NE(r.output.find("[-] Total", nExpand), std::string::npos) << r.output;
}
