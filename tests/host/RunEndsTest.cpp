// Every way a run of the host can end, after each kind of work: what was saved on purpose stays,
// what the run changed only for itself is undone, nothing half-written is left, every line that
// said a report was saved, mailed or sent to the printer has its file, mail or job, and the exit
// code is the documented one.
#include "HostRunFixture.h"

#include <cups/cups.h>
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>
#include <regex>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::string ReadAll(const fs::path& oFile)
{
    std::ifstream oIn(oFile, std::ios::binary);
    return {std::istreambuf_iterator<char>(oIn), std::istreambuf_iterator<char>()};
}

void WriteAll(const fs::path& oFile, const std::string& sText)
{
    std::ofstream(oFile, std::ios::binary) << sText;
}

// Where two texts part, with a little of each around it; "" when they are the same.
std::string Difference(const std::string& sA, const std::string& sB)
{
    if (sA == sB)
        return {};
    std::size_t n = 0;
    while (n < sA.size() && n < sB.size() && sA[n] == sB[n])
        ++n;
    const std::size_t nFrom = n < 80 ? 0 : n - 80;
    return "at byte " + std::to_string(n) + " of " + std::to_string(sA.size()) + "/" +
           std::to_string(sB.size()) + ":\n  " + sA.substr(nFrom, 200) + "\n  " +
           sB.substr(nFrom, 200);
}

// The output with the lines that the host wrapped at its width joined again.
std::string Unwrapped(std::string s)
{
    for (auto at = s.find("\n  "); at != std::string::npos; at = s.find("\n  ", at))
        s.replace(at, 3, " ");
    return s;
}

int Count(const std::string& sText, const std::string& sWhat)
{
    int n = 0;
    for (auto at = sText.find(sWhat); at != std::string::npos; at = sText.find(sWhat, at + 1))
        ++n;
    return n;
}

// A host process as a person at a terminal drives it: commands go in one at a time, each after
// the host asked for it; its output goes into a file that the test reads as it grows.
class HostProcess
{
public:
    HostProcess(const fs::path& oRoot, const fs::path& oOutput, const std::string& sArgs,
                const std::string& sEnv = {})
        : m_oOutput(oOutput)
    {
        int aPipe[2];
        if (::pipe(aPipe) != 0)
            return;
        m_fdIn = aPipe[1];
        ::fcntl(m_fdIn, F_SETFD, FD_CLOEXEC);
        const std::string sCommand = "exec env LC_ALL= LC_MESSAGES= LANG=C.UTF-8 " + sEnv +
                                     " XDG_CONFIG_HOME='" + oRoot.string() +
                                     "' TZ=Europe/Berlin '" TV_TALLYMAN_PATH "' " + sArgs + " > '" +
                                     oOutput.string() + "' 2>&1";
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, aPipe[0], STDIN_FILENO);
        posix_spawn_file_actions_addclose(&actions, aPipe[0]);
        const char* argv[] = {"/bin/sh", "-c", sCommand.c_str(), nullptr};
        if (::posix_spawn(&m_pid, "/bin/sh", &actions, nullptr, const_cast<char**>(argv),
                          environ) != 0)
            m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(aPipe[0]);
    }
    ~HostProcess()
    {
        CloseInput();
        if (m_pid > 0 && !m_oCode) {
            ::kill(m_pid, SIGKILL);
            Wait();
        }
    }
    HostProcess(const HostProcess&) = delete;
    HostProcess& operator=(const HostProcess&) = delete;

    std::string Output() const { return ReadAll(m_oOutput); }
    // Waits until the output holds sWhat after position nFrom, or the process ended. False
    // when it did not come.
    bool WaitFor(const std::string& sWhat, std::size_t nFrom = 0)
    {
        for (auto tEnd = std::chrono::steady_clock::now() + 90s;
             std::chrono::steady_clock::now() < tEnd; std::this_thread::sleep_for(20ms)) {
            const std::string sOut = Output();
            if (sOut.size() >= nFrom && sOut.find(sWhat, nFrom) != std::string::npos)
                return true;
            if (Ended())
                return Output().find(sWhat, nFrom) != std::string::npos;
        }
        return false;
    }
    // Waits until the host asks for the next command (its output ends with the prompt).
    bool WaitForPrompt(std::size_t nFrom)
    {
        for (auto tEnd = std::chrono::steady_clock::now() + 90s;
             std::chrono::steady_clock::now() < tEnd; std::this_thread::sleep_for(20ms)) {
            const std::string sOut = Output();
            if (sOut.size() > nFrom && sOut.size() >= 2 &&
                sOut.compare(sOut.size() - 2, 2, "> ") == 0)
                return true;
            if (Ended())
                return false;
        }
        return false;
    }
    // Types each line after the host asked for it (the first once it asks for a command).
    // False when the host stopped asking.
    bool Type(const std::string& sLines)
    {
        std::size_t nStart = 0;
        while (nStart < sLines.size()) {
            if (!WaitForPrompt(m_nAsked))
                return false;
            const auto nEnd = sLines.find('\n', nStart);
            const std::string sLine = sLines.substr(nStart, nEnd - nStart + 1);
            nStart = nEnd + 1;
            m_nAsked = Output().size();
            if (::write(m_fdIn, sLine.data(), sLine.size()) != static_cast<ssize_t>(sLine.size()))
                return false;
        }
        return true;
    }
    // Waits until the host asks for the next command after the last line typed.
    bool WaitForNextPrompt() { return WaitForPrompt(m_nAsked); }
    void Write(const std::string& sText) { (void)!::write(m_fdIn, sText.data(), sText.size()); }
    void CloseInput()
    {
        if (m_fdIn >= 0)
            ::close(m_fdIn);
        m_fdIn = -1;
    }
    void Signal(int nSignal) { ::kill(m_pid, nSignal); }
    // The exit code as a shell gives it (128 + N for a signal).
    int Wait()
    {
        if (m_oCode)
            return *m_oCode;
        int status = 0;
        while (::waitpid(m_pid, &status, 0) < 0 && errno == EINTR)
            ;
        m_oCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        return *m_oCode;
    }
    bool Ended()
    {
        if (m_oCode)
            return true;
        int status = 0;
        if (::waitpid(m_pid, &status, WNOHANG) != m_pid)
            return false;
        m_oCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        return true;
    }

private:
    fs::path m_oOutput;
    std::size_t m_nAsked = 0; // the output's size when the last line was typed
    int m_fdIn = -1;
    pid_t m_pid = -1;
    std::optional<int> m_oCode;
};

enum class Work
{
    Folder, // the run reads other folders with --folder
    Edit,   // the template is renamed in the template editor, whose OK saves the templates
    Auto,   // the template saves, mails and prints its report after every read
};

enum class End
{
    Exit,
    Quit,
    UnknownCommand,
    UnfitAnswer,
    EofAtPrompt,
    EofInManager,
    EofInEditor,
    EofInActions,
    Sigint,
    Sigterm,
    Sighup,
    Kill,
};

const char* Name(Work eWork)
{
    switch (eWork) {
    case Work::Folder:
        return "folder";
    case Work::Edit:
        return "edit";
    case Work::Auto:
        return "auto";
    }
    return "";
}

const char* Name(End eEnd)
{
    constexpr const char* aNames[] = {"exit",          "quit",           "unknown command",
                                      "unfit answer",  "eof at prompt",  "eof in manager",
                                      "eof in editor", "eof in actions", "SIGINT",
                                      "SIGTERM",       "SIGHUP",         "kill -9"};
    return aNames[static_cast<int>(eEnd)];
}

// What one case saw.
struct Seen
{
    std::string sName;
    int nExit = -1;
    std::string sOutput;                 // of the case's run
    std::string sNext;                   // of the next run until it asked for its first command
    std::string sReports;                // reports.xml once the next run had started
    std::string sExpected;               // what reports.xml must hold
    std::vector<std::string> vLeftovers; // temporary files and notes once the next run started
    std::string sReport;   // the report file once the next run had started ("" when none)
    int nMailsSent = -1;   // in Sent Items once the next run had started
    int nMailsBefore = -1; // in Sent Items before the case
    int nPrintsBefore = 0; // sent to the printer by the run that counted them
    int nExpectedExit = 0;
    bool bKilled = false;
};

constexpr const char* kTemplate = "Tasks by Status";

class RunEndsTest : public host_test::HostRunFixture
{
protected:
    static fs::path Settings(const fs::path& oRoot) { return oRoot / "Kestrova" / "Tallyman"; }
    static fs::path Reports(const fs::path& oRoot) { return Settings(oRoot) / "reports.xml"; }
    std::string ReportName() const { return "Team" + std::to_string(::getpid()); }

    // The sample settings in English, and a copy whose task template saves, mails and prints
    // (on the queue that discards its jobs, where there is one) after every read.
    void MakePlain()
    {
        oPlain = oRoot / "plain";
        const auto rMake = host_test::RunTallyman(oPlain, "--lang en");
        ASSERT_EQ(rMake.exitCode, 0) << rMake.output;
    }
    void MakeBases()
    {
        MakePlain();
        oAuto = oRoot / "autos";
        fs::copy(oPlain, oAuto, fs::copy_options::recursive);
        fs::create_directories(oAuto / "out");
        const auto sPrinters = host_test::RunShell("lpstat -p TallymanNull").output;
        bPrinter = sPrinters.find("TallymanNull") != std::string::npos &&
                   sPrinters.find("not exist") == std::string::npos;
        const auto oAnswers = oRoot / "setup.txt";
        WriteAll(
            oAnswers,
            std::string("templates\nselect fg ") + kTemplate +
                "\nclick cmdEdit\nclick cmdAutoAction\n"
                "check chkAutoExecute(0)\npick optAutoSave(0)\n"
                "set txtSavePath " +
                (oAuto / "out").string() + "\nset txtFileName " + ReportName() +
                "\npick cboFormat Comma delimited (*.csv)\npick cboFileExist Overwrite the file\n"
                "pick optMail(0)\nclick cmdMailTemplate\nfile " +
                (Settings(oAuto) / "SampleProfile" / "Report.oft").string() + "\n" +
                (bPrinter ? "check chkAutoExecute(3)\npick optPrint(0)\n"
                            "click cmdPrinter\nprinter TallymanNull\nok\n"
                          : "") +
                "click cmdOK\nclick cmdOK\nclick cmdClose\nquit\n");
        const auto rSetUp =
            host_test::RunTallyman(oAuto, "--lang en --template '" + std::string(kTemplate) +
                                              "' --answers '" + oAnswers.string() + "'");
        ASSERT_EQ(rSetUp.exitCode, 0) << rSetUp.output;
        // One read makes the report file every later save must make again; the mails sent
        // so far are those the cases start from.
        WriteAll(oAnswers, "mailbox sent\nquit\n");
        const auto rFirst =
            host_test::RunTallyman(oAuto, "--lang en --template '" + std::string(kTemplate) +
                                              "' --answers '" + oAnswers.string() + "'");
        ASSERT_EQ(rFirst.exitCode, 0) << rFirst.output;
        nAnnouncedPrints += Count(rFirst.output, "to the printer TallymanNull");
        sReportBytes = ReadAll(ReportFile(oAuto));
        ASSERT_FALSE(sReportBytes.empty()) << rFirst.output;
        std::smatch m;
        ASSERT_TRUE(std::regex_search(rFirst.output, m, std::regex("Sent Items: ([0-9]+) mail")))
            << rFirst.output;
        nMailsBase = std::stoi(m[1]);

        // What clean runs leave in reports.xml after the work of the cases (without
        // --folder), ended by quit or by exit, which saves the window's view.
        std::vector<std::future<std::pair<std::string, std::string>>> vReferences;
        for (const Work eWork : {Work::Folder, Work::Edit, Work::Auto})
            for (const bool bExit : {false, true}) {
                const std::size_t nReference = vReferences.size();
                vReferences.push_back(std::async(std::launch::async, [=, this] {
                    const fs::path oReference = oRoot / ("reference" + std::to_string(nReference));
                    fs::copy(eWork == Work::Auto ? oAuto : oPlain, oReference,
                             fs::copy_options::recursive);
                    WriteAll(oReference / "answers.txt",
                             WorkOf(eWork) + (bExit ? "exit\n" : "") + "quit\n");
                    const auto r = host_test::RunTallyman(
                        oReference, "--lang en --template '" + std::string(kTemplate) +
                                        "' --answers '" + (oReference / "answers.txt").string() +
                                        "'");
                    EXPECT_EQ(r.exitCode, 0) << r.output;
                    return std::pair{ReadAll(Reports(oReference)), r.output};
                }));
            }
        for (std::size_t i = 0; i < vReferences.size(); ++i) {
            const auto [sXml, sOutput] = vReferences[i].get();
            aReferences[i] = sXml;
            nAnnouncedPrints += Count(sOutput, "to the printer TallymanNull");
        }
        ASSERT_NE(Difference(aReferences[2], ReadAll(Reports(oPlain))), "")
            << "the edit saved nothing";
    }

    // What a clean run leaves in reports.xml after the work, ended by exit or not.
    const std::string& Reference(Work eWork, bool bExit) const
    {
        return aReferences[static_cast<std::size_t>(eWork) * 2 + (bExit ? 1 : 0)];
    }

    // The work of a case, typed at the prompt: the template manager's OK after --folder, an
    // edit of a template, a read that saves, mails and prints.
    static std::string WorkOf(Work eWork)
    {
        switch (eWork) {
        case Work::Folder:
            return std::string("templates\nselect fg ") + kTemplate +
                   "\nclick cmdEdit\nclick cmdOK\nclick cmdClose\n";
        case Work::Edit:
            return EditWork();
        case Work::Auto:
            return "refresh\n";
        }
        return {};
    }

    static std::string EditWork()
    {
        return std::string("templates\nselect fg ") + kTemplate +
               "\nclick cmdEdit\nset txtNew Tasks Renamed\nclick cmdOK\nclick cmdClose\n";
    }

    fs::path ReportFile(const fs::path& oRoot) const
    {
        return oRoot / "out" / (ReportName() + ".csv");
    }

    // The temporary files of writers and the host's note in the settings and report folders.
    static std::vector<std::string> Leftovers(const fs::path& oRoot)
    {
        std::vector<std::string> v;
        for (const auto& oFolder : {Settings(oRoot), oRoot / "out"}) {
            std::error_code ec;
            for (const auto& oEntry : fs::directory_iterator(oFolder, ec)) {
                const std::string sName = oEntry.path().filename().string();
                if (sName.find(".tmp-") != std::string::npos ||
                    sName.find("run-folders") != std::string::npos)
                    v.push_back(sName);
            }
        }
        return v;
    }

    // The number of mails in Sent Items, from a running host that asks for a command.
    static int MailsSent(HostProcess& oHost)
    {
        const std::size_t nFrom = oHost.Output().size();
        if (!oHost.Type("mailbox sent\n") || !oHost.WaitForNextPrompt())
            return -1;
        std::smatch m;
        const std::string sOut = oHost.Output().substr(nFrom);
        return std::regex_search(sOut, m, std::regex("Sent Items: ([0-9]+) mail")) ? std::stoi(m[1])
                                                                                   : -1;
    }

    std::string FolderArgument() const { return "--folder 'Archiv/Aufgaben'"; }

    Seen RunCase(Work eWork, End eEnd, int nCase);

    fs::path oPlain;
    fs::path oAuto;
    bool bPrinter = false;
    int nAnnouncedPrints = 0;
    int nMailsBase = 0;
    std::array<std::string, 6> aReferences;
    int nKeptCase = 0;
    std::string sReportBytes;
};

Seen RunEndsTest::RunCase(Work eWork, End eEnd, int nCase)
{
    Seen seen;
    seen.sName = std::string(Name(eWork)) + " / " + Name(eEnd);
    const fs::path oCase = oRoot / ("case" + std::to_string(nCase));
    const fs::path& oBase = eWork == Work::Auto ? oAuto : oPlain;
    fs::copy(oBase, oCase, fs::copy_options::recursive);
    // The template saves into the case's own report folder.
    const auto InCase = [&](std::string sXml) {
        const std::string sFrom = (oAuto / "out").string();
        for (auto at = sXml.find(sFrom); at != std::string::npos; at = sXml.find(sFrom, at))
            sXml.replace(at, sFrom.size(), (oCase / "out").string());
        return sXml;
    };
    if (eWork == Work::Auto)
        WriteAll(Reports(oCase), InCase(ReadAll(Reports(oCase))));
    const std::string sBefore = ReadAll(Reports(oCase));

    // The work itself, typed at the prompt.
    const std::string sWork = WorkOf(eWork);
    std::string sArgs = "--lang en --template '" + std::string(kTemplate) + "'";
    if (eWork == Work::Folder)
        sArgs += " " + FolderArgument();

    // What a clean run after the same work leaves in reports.xml; a run killed while it saved
    // its edit leaves the file as it was.
    seen.sExpected = InCase(Reference(eWork, eEnd == End::Exit));
    if (eEnd == End::Kill && eWork != Work::Folder)
        seen.sExpected = sBefore;
    seen.nMailsBefore = nMailsBase;

    std::string sEnv;
    std::string sTail;
    bool bScripted = false;
    switch (eEnd) {
    case End::Exit:
        sTail = "exit\nquit\n";
        break;
    case End::Quit:
        sTail = "quit\n";
        break;
    case End::UnknownCommand:
        sTail = "bogus\n";
        bScripted = true;
        seen.nExpectedExit = 3;
        break;
    case End::UnfitAnswer:
        sTail = "templates\nclick cmdNoSuchButton\n";
        bScripted = true;
        seen.nExpectedExit = 3;
        break;
    case End::EofAtPrompt:
        // The input ended with the window open: the view was not kept.
        seen.nExpectedExit = 3;
        break;
    case End::EofInManager:
        sTail = "templates\n";
        seen.nExpectedExit = 3;
        break;
    case End::EofInEditor:
        sTail = std::string("templates\nselect fg ") + kTemplate + "\nclick cmdEdit\n";
        seen.nExpectedExit = 3;
        break;
    case End::EofInActions:
        sTail = std::string("templates\nselect fg ") + kTemplate +
                "\nclick cmdEdit\nclick cmdAutoAction\n";
        seen.nExpectedExit = 3;
        break;
    case End::Sigint:
        seen.nExpectedExit = 130;
        break;
    case End::Sigterm:
        seen.nExpectedExit = 143;
        break;
    case End::Sighup:
        seen.nExpectedExit = 129;
        break;
    case End::Kill:
        seen.bKilled = true;
        // Killed in the middle of the save the work makes (the editor's OK, the report file),
        // or, after --folder, once the template manager's OK wrote the run's folders.
        if (eWork != Work::Folder)
            sEnv = "TV_TEST_HOLD_COMMIT=" +
                   (eWork == Work::Auto ? ReportName() + ".csv" : std::string("reports.xml"));
        break;
    }

    if (bScripted) {
        WriteAll(oCase / "answers.txt", sWork + sTail);
        HostProcess oHost(oCase, oCase / "output.txt",
                          sArgs + " --answers '" + (oCase / "answers.txt").string() + "'");
        oHost.CloseInput();
        seen.nExit = oHost.Wait();
        seen.sOutput = oHost.Output();
    } else {
        HostProcess oHost(oCase, oCase / "output.txt", sArgs + " --interactive", sEnv);
        if (eEnd == End::Kill && eWork == Work::Folder) {
            EXPECT_TRUE(oHost.Type(sWork) && oHost.WaitForNextPrompt()) << oHost.Output();
            oHost.Signal(SIGKILL);
        } else if (eEnd == End::Kill) {
            // The host reads the lines when it asks for them.
            oHost.Write(sWork + sTail);
            EXPECT_TRUE(oHost.WaitFor("tallyman-test: holding the commit")) << oHost.Output();
            oHost.Signal(SIGKILL);
        } else if (eEnd != End::Sigint && eEnd != End::Sigterm && eEnd != End::Sighup) {
            // Typed ahead, as a pipe gives it: the input may end while prints are on their way.
            oHost.Write(sWork + sTail);
        } else if (!oHost.Type(sWork + sTail)) {
            ADD_FAILURE() << seen.sName << ": the host stopped asking\n" << oHost.Output();
        } else {
            // Sent while the host waits for the person, after the work.
            EXPECT_TRUE(oHost.WaitForNextPrompt()) << oHost.Output();
            oHost.Signal(eEnd == End::Sigint ? SIGINT : eEnd == End::Sigterm ? SIGTERM : SIGHUP);
        }
        // A signal ends the run on its own; the input stays open meanwhile, as at a terminal.
        if (eEnd != End::Sigint && eEnd != End::Sigterm && eEnd != End::Sighup)
            oHost.CloseInput();
        seen.nExit = oHost.Wait();
        seen.sOutput = oHost.Output();
    }

    // The next run: once it asks for its first command, everything is as it must be.
    HostProcess oNext(oCase, oCase / "next.txt", "--lang en --interactive");
    EXPECT_TRUE(oNext.WaitForPrompt(0)) << seen.sName << "\n" << oNext.Output();
    seen.sNext = oNext.Output();
    seen.sReports = ReadAll(Reports(oCase));
    seen.vLeftovers = Leftovers(oCase);
    if (eWork == Work::Auto) {
        seen.sReport = ReadAll(ReportFile(oCase));
        seen.nMailsSent = MailsSent(oNext);
    }
    oNext.CloseInput();
    oNext.Wait();
    return seen;
}

TEST_F(RunEndsTest, EveryEndKeepsWhatWasSavedUndoesTheRunsOwnAndSaysWhatHappened)
{
    MakeBases();
    std::vector<std::pair<Work, End>> vCases;
    // TV_TEST_ENDS picks the cases whose name holds its text (while a developer looks at one).
    const char* pOnly = std::getenv("TV_TEST_ENDS");
    for (const Work eWork : {Work::Folder, Work::Edit, Work::Auto})
        for (int e = 0; e <= static_cast<int>(End::Kill); ++e)
            if (!pOnly ||
                (std::string(Name(eWork)) + " / " + Name(static_cast<End>(e))).find(pOnly) !=
                    std::string::npos)
                vCases.emplace_back(eWork, static_cast<End>(e));

    // Cases side by side, each with its own copy of the settings and the profile.
    std::vector<Seen> vSeen(vCases.size());
    constexpr std::size_t kSideBySide = 6;
    for (std::size_t nFirst = 0; nFirst < vCases.size(); nFirst += kSideBySide) {
        std::vector<std::future<Seen>> vRunning;
        for (std::size_t i = nFirst; i < std::min(vCases.size(), nFirst + kSideBySide); ++i)
            vRunning.push_back(std::async(std::launch::async, [this, &vCases, i] {
                return RunCase(vCases[i].first, vCases[i].second, static_cast<int>(i));
            }));
        for (std::size_t i = 0; i < vRunning.size(); ++i)
            vSeen[nFirst + i] = vRunning[i].get();
    }

    int nPrintsAnnounced = nAnnouncedPrints;
    int nPrintsMaybe = 0;
    for (std::size_t i = 0; i < vCases.size(); ++i) {
        const Seen& s = vSeen[i];
        const Work eWork = vCases[i].first;
        SCOPED_TRACE(s.sName);
        const std::string sAll = s.sOutput + "\n---- next run ----\n" + s.sNext;
        if (!s.bKilled) {
            EXPECT_EQ(s.nExit, s.nExpectedExit) << sAll;
        }
        EXPECT_EQ(Difference(s.sReports, s.sExpected), "") << sAll;
        EXPECT_TRUE(s.vLeftovers.empty())
            << (s.vLeftovers.empty() ? "" : s.vLeftovers.front()) << "\n"
            << sAll;
        // The run puts the template's own folders back itself; only after kill -9 is that
        // left to the next start, which says so.
        if (eWork == Work::Folder) {
            EXPECT_EQ(s.sNext.find("has its own folders again") != std::string::npos, s.bKilled)
                << sAll;
        }
        if (eWork != Work::Auto)
            continue;
        // The report file is whole: as before or as after its save, which are the same here.
        EXPECT_EQ(Difference(s.sReport, sReportBytes), "") << sAll;
        // Every mail said to be sent is in Sent Items, and no other.
        const int nMailed = Count(s.sOutput, "Mailed \"") + Count(s.sNext, "Mailed \"");
        if (!s.bKilled) {
            EXPECT_EQ(s.nMailsSent, s.nMailsBefore + nMailed) << sAll;
        }
        const int nPrinted = Count(s.sOutput, "to the printer TallymanNull");
        (s.bKilled ? nPrintsMaybe : nPrintsAnnounced) += nPrinted;
        nPrintsAnnounced += Count(s.sNext, "to the printer TallymanNull") + s.nPrintsBefore;
        EXPECT_EQ(s.sOutput.find("was NOT printed"), std::string::npos) << sAll;
    }
    if (!bPrinter)
        return;
    // Every print the runs said was sent reached the queue (those of a killed run may).
    const std::string sTitle = ReportName() + ".csv";
    cups_job_t* pJobs = nullptr;
    const int nJobs =
        cupsGetJobs2(CUPS_HTTP_DEFAULT, &pJobs, "TallymanNull", 1, CUPS_WHICHJOBS_ALL);
    int nFound = 0;
    for (int i = 0; i < nJobs; ++i)
        if (pJobs[i].title && sTitle == pJobs[i].title)
            ++nFound;
    cupsFreeJobs(nJobs, pJobs);
    EXPECT_GE(nFound, nPrintsAnnounced);
    EXPECT_LE(nFound, nPrintsAnnounced + nPrintsMaybe);
}

TEST_F(RunEndsTest, WhatWasNotKeptEndsWithItsOwnCodeInBothLanguages)
{
    MakePlain();
    struct Case
    {
        const char* name;
        std::string sLanguage;
        std::string sEnv;
        std::string sAnswers;
        int nExit;
        std::string sSaid;
    };
    const std::string sEdit = std::string("templates\nselect fg ") + kTemplate +
                              "\nclick cmdEdit\nset txtNew Tasks Renamed\nclick cmdOK\n"
                              "click cmdClose\n";
    for (const auto& c : std::vector<Case>{
             {"exit on a full disk", "en", "TV_TEST_FULL_DISK=reports.xml",
              "move Status 1\nexit\nquit\n", 4, "the template's view was NOT kept"},
             {"exit on a full disk, German", "de", "TV_TEST_FULL_DISK=reports.xml",
              "move Status 1\nexit\nquit\n", 4, "wurde NICHT behalten"},
             {"the editor's OK on a full disk, then quit", "en", "TV_TEST_FULL_DISK=reports.xml",
              sEdit + "quit\n", 4, ""},
             {"the editor's OK on a full disk, German", "de", "TV_TEST_FULL_DISK=reports.xml",
              sEdit + "quit\n", 4, ""},
             // A line that does not fit beats what was not kept.
             {"not kept, then a line that does not fit", "en", "TV_TEST_FULL_DISK=reports.xml",
              sEdit + "bogus\n", 3, ""},
             {"exit where the disk has room", "en", "", "move Status 1\nexit\nquit\n", 0,
              "the template keeps its view"},
             {"the editor's OK where the disk has room", "en", "", sEdit + "quit\n", 0, ""},
             // The report asked for on the command line goes into a folder that is not there.
             {"--export into a missing folder", "en", "", "quit\n", 4,
              "tallyman: The folder " + (oRoot / "nowhere").string()},
         }) {
        SCOPED_TRACE(c.name);
        const fs::path oCase = oRoot / ("kept-" + std::to_string(nKeptCase++));
        const std::string sExport = " --export '" + (oRoot / "nowhere" / "r.csv").string() + "'";
        fs::copy(oPlain, oCase, fs::copy_options::recursive);
        const std::string sBefore = ReadAll(Reports(oCase));
        WriteAll(oCase / "answers.txt", c.sAnswers);
        const auto r =
            host_test::RunTallyman(oCase,
                                   "--lang " + c.sLanguage + " --template '" + kTemplate +
                                       "' --answers '" + (oCase / "answers.txt").string() + "'" +
                                       (c.nExit == 4 && c.sEnv.empty() ? sExport : ""),
                                   {}, c.sEnv);
        EXPECT_EQ(r.exitCode, c.nExit) << r.output;
        EXPECT_NE(r.output.find(c.sSaid), std::string::npos) << r.output;
        if (!c.sEnv.empty()) {
            EXPECT_EQ(Difference(ReadAll(Reports(oCase)), sBefore), "");
        }
    }
}

TEST_F(RunEndsTest, APrintIsSaidToBeSentAndItsLaterFailureIsToldInTheRunsLanguage)
{
    if (host_test::RunShell("lpstat -p TallymanNull").output.find("not exist") !=
            std::string::npos ||
        host_test::RunShell("lpstat -p TallymanNull").exitCode != 0)
        GTEST_SKIP() << "no print queue TallymanNull (scripts/start-cups.sh sets it up)";
    MakePlain();
    // An HTML renderer that fails: the page cannot be made ready for the printer.
    const fs::path oBin = oRoot / "bin";
    fs::create_directories(oBin);
    WriteAll(oBin / "weasyprint", "#!/bin/sh\necho 'no fonts here' >&2\nexit 1\n");
    fs::permissions(oBin / "weasyprint", fs::perms::owner_all);
    struct Case
    {
        std::string sLanguage;
        std::string sSent;
        std::string sFailed;
    };
    // The report window's print saves the report (here under a page's name) and prints it.
    const auto Page = [this](const std::string& sLanguage) {
        return oRoot / ("page-" + sLanguage + ".html");
    };
    for (const auto& c : std::vector<Case>{
             {"en", "Sent \"page-en.html\" to the printer TallymanNull",
              "\"" + Page("en").string() + "\" was NOT printed on TallymanNull: "},
             {"de", "\"page-de.html\" an den Drucker TallymanNull gegeben",
              "\"" + Page("de").string() + "\" wurde NICHT auf TallymanNull gedruckt: "}}) {
        SCOPED_TRACE(c.sLanguage);
        WriteAll(oRoot / "answers.txt", "print\nfile " + Page(c.sLanguage).string() + "\nquit\n");
        const auto r =
            host_test::RunTallyman(oPlain,
                                   "--lang " + c.sLanguage + " --printer TallymanNull --answers '" +
                                       (oRoot / "answers.txt").string() + "'",
                                   {}, "PATH='" + oBin.string() + ":'\"$PATH\"");
        // A print asked for that was not made is not done: the run's code says so as well.
        EXPECT_EQ(r.exitCode, 4) << r.output;
        // Told after the next command (wrapped at the terminal's width) or at the end.
        EXPECT_NE(Unwrapped(r.output).find(c.sSent), std::string::npos) << r.output;
        EXPECT_NE(Unwrapped(r.output).find(c.sFailed), std::string::npos) << r.output;
        EXPECT_EQ(r.output.find("was not printed:"), std::string::npos) << r.output;
    }
}


namespace {

bool PrinterThere()
{
    const auto r = host_test::RunShell("lpstat -p TallymanNull");
    return r.exitCode == 0 && r.output.find("not exist") == std::string::npos;
}

// The folders of print copies in a temporary folder.
std::vector<std::string> JobFolders(const fs::path& oTemp)
{
    std::vector<std::string> v;
    std::error_code ec;
    for (const auto& oEntry : fs::directory_iterator(oTemp, ec))
        if (oEntry.path().filename().string().rfind("tallyman-job-", 0) == 0)
            v.push_back(oEntry.path().filename().string());
    return v;
}

} // namespace

TEST_F(RunEndsTest, APrintsLaterFailureIsToldAfterTheNextCommandNotOnlyAtTheEnd)
{
    if (!PrinterThere())
        GTEST_SKIP() << "no print queue TallymanNull (scripts/start-cups.sh sets it up)";
    MakePlain();
    const fs::path oBin = oRoot / "bin";
    fs::create_directories(oBin);
    WriteAll(oBin / "weasyprint", "#!/bin/sh\necho 'no fonts here' >&2\nexit 1\n");
    fs::permissions(oBin / "weasyprint", fs::perms::owner_all);
    // Whatever the next command is (one that only shows, one refused, one that acts), the
    // failure is told after it, with its reason in the run's language, naming the report's file
    // (not the print's copy of it).
    struct Row
    {
        const char* pLanguage;
        const char* pCommand;
        const char* pFailed;
        const char* pReason;
    };
    const char* const kFailedEn = "was NOT printed on TallymanNull: ";
    const char* const kFailedDe = "wurde NICHT auf TallymanNull gedruckt: ";
    const char* const kReasonEn = "could not be made ready for printing";
    const char* const kReasonDe = "konnte nicht für den Druck vorbereitet werden";
    int nRow = 0;
    for (const Row& row : std::vector<Row>{{"en", "show", kFailedEn, kReasonEn},
                                           {"en", "help", kFailedEn, kReasonEn},
                                           {"en", "template", kFailedEn, kReasonEn},
                                           {"de", "menu", kFailedDe, kReasonDe},
                                           {"de", "nosuchcommand", kFailedDe, kReasonDe},
                                           {"de", "mailbox sent", kFailedDe, kReasonDe}}) {
        SCOPED_TRACE(std::string(row.pLanguage) + " " + row.pCommand);
        const fs::path oPage = oRoot / ("later-" + std::to_string(++nRow) + ".html");
        HostProcess oHost(oPlain, oRoot / ("later-" + std::to_string(nRow) + ".txt"),
                          std::string("--lang ") + row.pLanguage +
                              " --printer TallymanNull --interactive",
                          "PATH='" + oBin.string() + ":'\"$PATH\"");
        ASSERT_TRUE(oHost.Type("print\nfile " + oPage.string() + "\n") &&
                    oHost.WaitForNextPrompt())
            << oHost.Output();
        // Each command is answered with what happened meanwhile; the failure comes within a
        // bound.
        const std::string sFailed = "\"" + oPage.string() + "\" " + row.pFailed;
        bool bTold = false;
        for (int i = 0; i < 100 && !bTold; ++i) {
            std::this_thread::sleep_for(100ms);
            ASSERT_TRUE(oHost.Type(std::string(row.pCommand) + "\n") && oHost.WaitForNextPrompt())
                << oHost.Output();
            bTold = Unwrapped(oHost.Output()).find(sFailed) != std::string::npos;
        }
        EXPECT_TRUE(bTold) << oHost.Output();
        oHost.Type("quit\n");
        oHost.CloseInput();
        // A print asked for that was not made is not done.
        EXPECT_EQ(oHost.Wait(), 4) << oHost.Output();
        // Told once, with its reason in the run's language; the print's copy is not named.
        const std::string sOutput = Unwrapped(oHost.Output());
        EXPECT_EQ(Count(sOutput, sFailed), 1) << sOutput;
        const auto nFailed = sOutput.find(sFailed);
        ASSERT_NE(nFailed, std::string::npos);
        const std::string sLine = sOutput.substr(nFailed, sOutput.find('\n', nFailed) - nFailed);
        EXPECT_NE(sLine.find(row.pReason), std::string::npos) << sLine;
        EXPECT_EQ(sLine.find("tallyman-"), std::string::npos) << sLine;
        EXPECT_EQ(sLine.find(std::string(row.pLanguage) == "de" ? kReasonEn : kReasonDe),
                  std::string::npos)
            << sLine;
    }
}

TEST_F(RunEndsTest, ASignalDuringTheWaitForPrintsCutsThemOffSaysWhichAndEndsTheirRenderers)
{
    if (!PrinterThere())
        GTEST_SKIP() << "no print queue TallymanNull (scripts/start-cups.sh sets it up)";
    MakePlain();
    // A renderer that takes longer than any case waits: it notes its process and sleeps.
    const fs::path oBin = oRoot / "bin";
    fs::create_directories(oBin);
    WriteAll(oBin / "weasyprint", "#!/bin/sh\necho $$ >> '" + (oRoot / "renderers").string() +
                                      "'\nexec sleep 300\n");
    fs::permissions(oBin / "weasyprint", fs::perms::owner_all);
    struct Case
    {
        const char* name;
        std::string sLanguage;
        int nFirst;  // 0: the run ends by quit and waits for the print
        int nSecond; // the signal during the wait
        int nExit;
        std::string sSaid;
        std::string sCut;
    };
    for (const auto& c : std::vector<Case>{
             {"quit, then SIGTERM", "en", 0, SIGTERM, 143, "tallyman: ended by SIGTERM",
              "was NOT printed on TallymanNull: the end by SIGTERM cut it off"},
             {"quit, then SIGHUP", "en", 0, SIGHUP, 129, "tallyman: ended by SIGHUP",
              "was NOT printed on TallymanNull: the end by SIGHUP cut it off"},
             {"quit, then SIGINT, German", "de", 0, SIGINT, 130, "tallyman: durch SIGINT beendet",
              "wurde NICHT auf TallymanNull gedruckt: das Ende durch SIGINT hat ihn abgebrochen"},
             {"SIGINT, then SIGINT", "en", SIGINT, SIGINT, 130,
              "tallyman: the end was cut short by SIGINT",
              "was NOT printed on TallymanNull: the end by SIGINT cut it off"},
             {"SIGINT, then SIGTERM", "en", SIGINT, SIGTERM, 130,
              "tallyman: the end was cut short by SIGTERM",
              "was NOT printed on TallymanNull: the end by SIGTERM cut it off"},
             {"SIGHUP, then SIGINT, German", "de", SIGHUP, SIGINT, 129,
              "tallyman: das Ende wurde durch SIGINT abgebrochen",
              "wurde NICHT auf TallymanNull gedruckt: das Ende durch SIGINT hat ihn abgebrochen"},
         }) {
        SCOPED_TRACE(c.name);
        const fs::path oCase = oRoot / ("cut-" + std::to_string(nKeptCase++));
        fs::copy(oPlain, oCase, fs::copy_options::recursive);
        const fs::path oTemp = oCase / "tmp";
        fs::create_directories(oTemp);
        fs::remove(oRoot / "renderers");
        const std::string sBefore = ReadAll(Reports(oCase));
        const fs::path oPage = oCase / "page.html";
        HostProcess oHost(oCase, oCase / "output.txt",
                          "--lang " + c.sLanguage + " --printer TallymanNull --interactive",
                          "TMPDIR='" + oTemp.string() + "' PATH='" + oBin.string() +
                              ":'\"$PATH\"");
        ASSERT_TRUE(oHost.Type("print\nfile " + oPage.string() + "\n") && oHost.WaitForNextPrompt())
            << oHost.Output();
        ASSERT_TRUE(oHost.WaitFor(oPage.filename().string())) << oHost.Output();
        // The renderer runs.
        for (int i = 0; i < 900 && ReadAll(oRoot / "renderers").empty(); ++i)
            std::this_thread::sleep_for(100ms);
        const std::string sPid = ReadAll(oRoot / "renderers");
        ASSERT_FALSE(sPid.empty()) << oHost.Output();
        const std::size_t nAt = oHost.Output().size();
        if (c.nFirst == 0) {
            oHost.Type("quit\n");
        } else {
            oHost.Signal(c.nFirst);
        }
        ASSERT_TRUE(oHost.WaitFor(c.sLanguage == "de" ? "Warte, bis" : "Waiting until", nAt))
            << oHost.Output();
        oHost.Signal(c.nSecond);
        // Within the bound of a wait, far below the renderer's time.
        bool bEnded = false;
        for (int i = 0; i < 600 && !bEnded; ++i, std::this_thread::sleep_for(100ms))
            bEnded = oHost.Ended();
        ASSERT_TRUE(bEnded) << oHost.Output();
        const std::string sOut = Unwrapped(oHost.Output());
        EXPECT_EQ(oHost.Wait(), c.nExit) << sOut;
        EXPECT_NE(sOut.find(c.sSaid), std::string::npos) << sOut;
        EXPECT_NE(sOut.find("\"" + oPage.string() + "\" " + c.sCut), std::string::npos) << sOut;
        EXPECT_TRUE(JobFolders(oTemp).empty()) << sOut;
        // The renderer went with the run (a zombie until its parent is reaped is gone too).
        const pid_t nRenderer = std::stoi(sPid);
        bool bGone = false;
        for (int i = 0; i < 100 && !bGone; ++i, std::this_thread::sleep_for(100ms))
            bGone = ::kill(nRenderer, 0) != 0 ||
                    ReadAll("/proc/" + std::to_string(nRenderer) + "/stat").find(") Z") !=
                        std::string::npos;
        EXPECT_TRUE(bGone) << sOut;
        if (!bGone)
            ::kill(nRenderer, SIGKILL);
        EXPECT_EQ(Difference(ReadAll(Reports(oCase)), sBefore), "") << sOut;
        EXPECT_TRUE(Leftovers(oCase).empty()) << sOut;
    }
}


namespace {

// Waits until the output holds sWhat n times, or the process ended; false when it did not.
bool WaitForCount(HostProcess& oHost, const std::string& sWhat, int n)
{
    for (auto tEnd = std::chrono::steady_clock::now() + 120s;
         std::chrono::steady_clock::now() < tEnd; std::this_thread::sleep_for(20ms)) {
        if (Count(oHost.Output(), sWhat) >= n)
            return true;
        if (oHost.Ended())
            return Count(oHost.Output(), sWhat) >= n;
    }
    return false;
}

// Waits for the end of the process within a bound (far above any step's own wait); kills it
// and answers -1 when it did not end.
int WaitBounded(HostProcess& oHost, std::chrono::seconds bound)
{
    for (auto tEnd = std::chrono::steady_clock::now() + bound;
         std::chrono::steady_clock::now() < tEnd; std::this_thread::sleep_for(50ms))
        if (oHost.Ended())
            return oHost.Wait();
    oHost.Signal(SIGKILL);
    oHost.Wait();
    return -1;
}

enum class FolderWork
{
    PickerCancelled, // the report window's folder picker, cancelled, then exit saves the view
    PickerTaken,     // the picker, other folders ticked and taken with OK, then exit
    PickerEof,       // the view saved, the picker opened again and the input ends in it
    Manager,         // the template manager's OK, which saves the templates
    Rename,          // the template renamed in the editor, whose OK saves the templates
};

enum class FolderEnd
{
    Quit,
    Sigint,
    Kill,
    SignalInPutBack,       // SIGINT while the clean end's put-back saves
    SecondSignalInPutBack, // and SIGTERM while the signal's own put-back saves
    SignalInWorkSave,      // SIGINT while the save of the work waits to be put into place
};

} // namespace

TEST_F(RunEndsTest, TheRunsFoldersGoWithTheRunWhateverThePickerTheTemplatesNameOrASignalInTheEndDo)
{
    MakePlain();
    const auto WorkOfCase = [](FolderWork eWork) -> std::string {
        switch (eWork) {
        case FolderWork::PickerCancelled:
            return "select\nclick cmdCancel\nexit\n";
        case FolderWork::PickerTaken:
            return "select\nfolder Archiv/Kalender\nexit\n";
        case FolderWork::PickerEof:
            return "exit\nreport\nselect\n";
        case FolderWork::Manager:
            return WorkOf(Work::Folder);
        case FolderWork::Rename:
            return EditWork();
        }
        return {};
    };
    const std::vector<std::pair<FolderWork, FolderEnd>> vCases = {
        {FolderWork::PickerCancelled, FolderEnd::Quit},
        {FolderWork::PickerCancelled, FolderEnd::Sigint},
        {FolderWork::PickerCancelled, FolderEnd::Kill},
        {FolderWork::PickerTaken, FolderEnd::Quit},
        {FolderWork::PickerTaken, FolderEnd::Sigint},
        {FolderWork::PickerTaken, FolderEnd::Kill},
        {FolderWork::PickerEof, FolderEnd::Quit},
        {FolderWork::Manager, FolderEnd::SignalInPutBack},
        {FolderWork::Manager, FolderEnd::SecondSignalInPutBack},
        {FolderWork::Manager, FolderEnd::SignalInWorkSave},
        {FolderWork::Rename, FolderEnd::SignalInWorkSave},
        {FolderWork::Rename, FolderEnd::Quit},
        {FolderWork::Rename, FolderEnd::Sigint},
        {FolderWork::Rename, FolderEnd::Kill},
        {FolderWork::Rename, FolderEnd::SignalInPutBack},
        {FolderWork::Rename, FolderEnd::SecondSignalInPutBack},
    };
    const auto NameOf = [](FolderWork eWork, FolderEnd eEnd) {
        constexpr const char* aWorks[] = {"picker cancelled", "picker taken", "eof in picker",
                                          "manager", "rename"};
        constexpr const char* aEnds[] = {"quit",
                                         "SIGINT",
                                         "kill -9",
                                         "signal in put-back",
                                         "second signal in put-back",
                                         "signal in the work's save"};
        return std::string(aWorks[static_cast<int>(eWork)]) + " / " +
               aEnds[static_cast<int>(eEnd)];
    };

    struct FolderSeen
    {
        std::string sName;
        int nExit = -1;
        int nExpectedExit = 0;
        std::string sOutput;
        std::string sNext;
        std::string sReports;
        std::string sExpected;
        std::vector<std::string> vLeftovers;
        bool bPutBackByNext = false; // the next start must say it put the folders back
        bool bNothingToPutBack = false;
    };
    const auto RunFolderCase = [&](FolderWork eWork, FolderEnd eEnd, int nCase) {
        FolderSeen seen;
        seen.sName = NameOf(eWork, eEnd);
        const std::string sWork = WorkOfCase(eWork);
        const std::string sArgs = "--lang en --template '" + std::string(kTemplate) + "'";
        // What a clean run of the same work without --folder leaves in reports.xml.
        const fs::path oReference = oRoot / ("fref-" + std::to_string(nCase));
        fs::copy(oPlain, oReference, fs::copy_options::recursive);
        WriteAll(oReference / "answers.txt",
                 sWork + (eWork == FolderWork::PickerEof ? "" : "quit\n"));
        const auto rReference = host_test::RunTallyman(
            oReference, sArgs + " --answers '" + (oReference / "answers.txt").string() + "'");
        EXPECT_EQ(rReference.exitCode, eWork == FolderWork::PickerEof ? 3 : 0) << rReference.output;
        seen.sExpected = ReadAll(Reports(oReference));

        const fs::path oCase = oRoot / ("fcase-" + std::to_string(nCase));
        fs::copy(oPlain, oCase, fs::copy_options::recursive);
        const bool bHold = eEnd == FolderEnd::SignalInPutBack ||
                           eEnd == FolderEnd::SecondSignalInPutBack ||
                           eEnd == FolderEnd::SignalInWorkSave;
        HostProcess oHost(oCase, oCase / "output.txt",
                          sArgs + " " + FolderArgument() + " --interactive",
                          bHold ? "TV_TEST_HOLD_COMMIT=reports.xml" : "");
        const std::string kHolding = "tallyman-test: holding the commit";
        if (eEnd == FolderEnd::SignalInWorkSave) {
            // The save never comes: the file stays as it was, the run's folders never in it.
            seen.nExpectedExit = 130;
            seen.sExpected = ReadAll(Reports(oPlain));
            oHost.Write(sWork);
            EXPECT_TRUE(oHost.WaitFor(kHolding)) << oHost.Output();
            oHost.Signal(SIGINT);
        } else if (eWork == FolderWork::PickerEof) {
            seen.nExpectedExit = 3;
            EXPECT_TRUE(oHost.Type(sWork)) << oHost.Output();
            EXPECT_TRUE(oHost.WaitFor("== frmDialog")) << oHost.Output();
            oHost.CloseInput();
        } else if (!oHost.Type(sWork) || !oHost.WaitForNextPrompt()) {
            ADD_FAILURE() << seen.sName << ": the host stopped asking\n" << oHost.Output();
        } else if (eEnd == FolderEnd::Quit) {
            oHost.Type("quit\n");
            oHost.CloseInput();
        } else if (eEnd == FolderEnd::Sigint) {
            seen.nExpectedExit = 130;
            oHost.Signal(SIGINT);
        } else if (eEnd == FolderEnd::Kill) {
            oHost.Signal(SIGKILL);
            seen.bPutBackByNext = eWork != FolderWork::PickerTaken;
        } else {
            // The work's own save was held once; the clean end's put-back is the next.
            seen.nExpectedExit = 130;
            const int nBefore = Count(oHost.Output(), kHolding);
            oHost.Type("quit\n");
            EXPECT_TRUE(WaitForCount(oHost, kHolding, nBefore + 1)) << oHost.Output();
            oHost.Signal(SIGINT);
            if (eEnd == FolderEnd::SecondSignalInPutBack) {
                // The signal's end puts the folders back itself: cut short in that save, it
                // leaves the note to the next start.
                EXPECT_TRUE(WaitForCount(oHost, kHolding, nBefore + 2)) << oHost.Output();
                oHost.Signal(SIGTERM);
                seen.bPutBackByNext = true;
            }
        }
        seen.bNothingToPutBack = eWork == FolderWork::PickerTaken;
        seen.nExit = WaitBounded(oHost, 150s);
        if (eEnd == FolderEnd::Kill)
            seen.nExit = seen.nExpectedExit = 128 + SIGKILL;
        seen.sOutput = oHost.Output();

        HostProcess oNext(oCase, oCase / "next.txt", "--lang en --interactive");
        EXPECT_TRUE(oNext.WaitForPrompt(0)) << seen.sName << "\n" << oNext.Output();
        seen.sNext = oNext.Output();
        seen.sReports = ReadAll(Reports(oCase));
        seen.vLeftovers = Leftovers(oCase);
        oNext.CloseInput();
        oNext.Wait();
        return seen;
    };

    std::vector<std::future<FolderSeen>> vRunning;
    for (std::size_t i = 0; i < vCases.size(); ++i)
        vRunning.push_back(std::async(std::launch::async, [&, i] {
            return RunFolderCase(vCases[i].first, vCases[i].second, static_cast<int>(i));
        }));
    for (auto& oRunning : vRunning) {
        const FolderSeen s = oRunning.get();
        SCOPED_TRACE(s.sName);
        const std::string sAll = s.sOutput + "\n---- next run ----\n" + s.sNext;
        EXPECT_EQ(s.nExit, s.nExpectedExit) << sAll;
        EXPECT_EQ(Difference(s.sReports, s.sExpected), "") << sAll;
        EXPECT_TRUE(s.vLeftovers.empty())
            << (s.vLeftovers.empty() ? "" : s.vLeftovers.front()) << "\n"
            << sAll;
        EXPECT_EQ(s.sNext.find("has its own folders again") != std::string::npos,
                  s.bPutBackByNext)
            << sAll;
        if (s.bNothingToPutBack) {
            EXPECT_EQ(s.sOutput.find("could not get its own folders back"), std::string::npos)
                << sAll;
        }
    }
}

TEST_F(RunEndsTest, ASecondHostOnTheSameSettingsLeavesTheRunningHostsFoldersToIt)
{
    MakePlain();
    // The reference: a clean run of the same work without --folder.
    const fs::path oReference = oRoot / "second-ref";
    fs::copy(oPlain, oReference, fs::copy_options::recursive);
    WriteAll(oReference / "answers.txt", WorkOf(Work::Folder) + "quit\n");
    ASSERT_EQ(host_test::RunTallyman(oReference, "--lang en --template '" + std::string(kTemplate) +
                                                     "' --answers '" +
                                                     (oReference / "answers.txt").string() + "'")
                  .exitCode,
              0);
    const fs::path oCase = oRoot / "second";
    fs::copy(oPlain, oCase, fs::copy_options::recursive);
    // The second host reads a profile of its own: the profile lock lets it start.
    const fs::path oOtherProfile = oCase / "other-profile";
    fs::copy(Settings(oCase) / "SampleProfile", oOtherProfile, fs::copy_options::recursive);
    fs::remove(oOtherProfile / "tallyman.lock");
    for (const bool bOkFirst : {true, false}) {
        SCOPED_TRACE(bOkFirst ? "the manager's OK before the second start" : "after it");
        fs::copy(Reports(oPlain), Reports(oCase), fs::copy_options::overwrite_existing);
        HostProcess oFirst(oCase, oCase / "first.txt",
                           "--lang en --template '" + std::string(kTemplate) + "' " +
                               FolderArgument() + " --interactive");
        ASSERT_TRUE(oFirst.WaitForPrompt(0)) << oFirst.Output();
        if (bOkFirst) {
            ASSERT_TRUE(oFirst.Type(WorkOf(Work::Folder)) && oFirst.WaitForNextPrompt())
                << oFirst.Output();
        }
        const std::string sDuring = ReadAll(Reports(oCase));
        // The second host: it neither puts back nor notes folders of its own meanwhile.
        WriteAll(oCase / "second.txt", "quit\n");
        const auto rSecond = host_test::RunTallyman(
            oCase, "--lang en --profile '" + oOtherProfile.string() + "' --answers '" +
                       (oCase / "second.txt").string() + "'");
        EXPECT_EQ(rSecond.exitCode, 0) << rSecond.output;
        EXPECT_EQ(rSecond.output.find("has its own folders again"), std::string::npos)
            << rSecond.output;
        EXPECT_EQ(Difference(ReadAll(Reports(oCase)), sDuring), "") << rSecond.output;
        const auto rRefused = host_test::RunTallyman(
            oCase, "--lang de --profile '" + oOtherProfile.string() + "' --template '" + kTemplate +
                       "' --folder 'Archiv/Kalender' --answers '" + (oCase / "second.txt").string() +
                       "'");
        EXPECT_EQ(rRefused.exitCode, 1) << rRefused.output;
        EXPECT_NE(Unwrapped(rRefused.output).find("--folder wurde nicht angewandt: Ein anderer Lauf"),
                  std::string::npos)
            << rRefused.output;
        EXPECT_EQ(Difference(ReadAll(Reports(oCase)), sDuring), "") << rRefused.output;
        if (!bOkFirst) {
            ASSERT_TRUE(oFirst.Type(WorkOf(Work::Folder)) && oFirst.WaitForNextPrompt())
                << oFirst.Output();
        }
        // The first host is killed: the next start puts its template's folders back.
        oFirst.Signal(SIGKILL);
        oFirst.Wait();
        HostProcess oNext(oCase, oCase / "next.txt", "--lang en --interactive");
        EXPECT_TRUE(oNext.WaitForPrompt(0)) << oNext.Output();
        EXPECT_NE(oNext.Output().find("has its own folders again"), std::string::npos)
            << oNext.Output();
        EXPECT_EQ(Difference(ReadAll(Reports(oCase)), ReadAll(Reports(oReference))), "")
            << oNext.Output();
        EXPECT_TRUE(Leftovers(oCase).empty());
        oNext.CloseInput();
        oNext.Wait();
    }
}

} // namespace
