#include "platform/locale/Locale.h"
#include "platform/win/HtmlHelp.h"
#include "platform/win/ProcessShell.h"
#include "platform/win/RecordingShell.h"

#include "WinFixture.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

namespace platform::win {
namespace {

using namespace std::chrono_literals;

// The same contract for the real shell (on harmless launchers) and the recording double.
struct ShellFactory
{
    const char* name;
    std::function<std::unique_ptr<Shell>()> make;
};

class ShellContractTest : public testing::WinFixture,
                          public ::testing::WithParamInterface<ShellFactory>
{
protected:
    void SetUp() override
    {
        WinFixture::SetUp();
        shell = GetParam().make();
    }
    std::unique_ptr<Shell> shell;
};

TEST_P(ShellContractTest, VerbsOnExistingTargetsSucceed)
{
    const auto document = writeRaw("report.csv", "a;b\r\n").string();
    EXPECT_TRUE(shell->openDocument(document));
    EXPECT_TRUE(shell->printDocument(document));
    EXPECT_TRUE(shell->run(document, ""));
    EXPECT_TRUE(shell->openDocument("mailto:support@kestrova.example"));
    EXPECT_TRUE(shell->run("/bin/true", "--ignored \"two words\""));
    EXPECT_TRUE(shell->run("true", ""));
}

TEST_P(ShellContractTest, RefusedRequestsReportWhy)
{
    const auto document = writeRaw("report.csv", "x").string();
    struct Case
    {
        const char* name;
        std::function<ShellResult()> request;
        int error;
    };
    const std::vector<Case> cases = {
        {"open missing", [&] { return shell->openDocument((root() / "none.csv").string()); },
         ENOENT},
        {"open empty", [&] { return shell->openDocument(""); }, ENOENT},
        {"print missing", [&] { return shell->printDocument((root() / "none.csv").string()); },
         ENOENT},
        {"print URL", [&] { return shell->printDocument("https://kestrova.example/"); }, EINVAL},
        {"run missing program", [&] { return shell->run("/no/such/program", ""); }, ENOENT},
        {"run unknown name", [&] { return shell->run("no-such-program-tv", "-x"); }, ENOENT},
        {"run document with parameters", [&] { return shell->run(document, "-x"); }, ENOTSUP},
    };
    for (const auto& c : cases) {
        const auto result = c.request();
        EXPECT_FALSE(result.started) << c.name;
        EXPECT_EQ(result.error, c.error) << c.name;
        EXPECT_FALSE(result.detail.empty()) << c.name;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Shells, ShellContractTest,
    ::testing::Values(ShellFactory{"ProcessShell",
                                   [] {
                                       ProcessShell::Launchers launchers;
                                       launchers.open = {"/bin/true"};
                                       launchers.print = {"/bin/true"};
                                       return std::make_unique<ProcessShell>(launchers);
                                   }},
                      ShellFactory{"RecordingShell",
                                   [] { return std::make_unique<RecordingShell>(); }}),
    [](const auto& info) { return std::string(info.param.name); });

class ProcessShellTest : public testing::WinFixture
{
protected:
    // A launcher that writes its last argument into `out`, so the test sees what arrived.
    ProcessShell::Launchers recordingLaunchers(const std::filesystem::path& out) const
    {
        ProcessShell::Launchers launchers;
        launchers.open = {"/bin/sh", "-c", "printf 'open:%s' \"$1\"" + writeTo(out), "sh"};
        launchers.print = {"/bin/sh", "-c", "printf 'print:%s' \"$1\"" + writeTo(out), "sh"};
        return launchers;
    }

    // A shell redirection that lets `out` appear only once it is complete: a program started
    // in the background may still be writing when a loaded machine lets the test look.
    static std::string writeTo(const std::filesystem::path& out)
    {
        const std::string part = out.string() + ".part";
        return " > '" + part + "' && mv '" + part + "' '" + out.string() + "'";
    }

    // Waits for a program started in the background to leave its file.
    static std::string awaitFile(const std::filesystem::path& path)
    {
        for (int i = 0; i < 1000 && !std::filesystem::exists(path); ++i) {
            std::this_thread::sleep_for(10ms);
        }
        return readRaw(path);
    }
};

TEST_F(ProcessShellTest, DocumentPathReachesTheLauncherUnchanged)
{
    const auto out = root() / "out.txt";
    ProcessShell shell(recordingLaunchers(out));
    // Blanks, quotes, "$" and ";" would all be read by a command interpreter.
    const auto document = writeRaw("a b'\"$(x);.csv", "x").string();
    ASSERT_TRUE(shell.openDocument(document));
    EXPECT_EQ(readRaw(out), "open:" + document);
    ASSERT_TRUE(shell.printDocument(document));
    EXPECT_EQ(readRaw(out), "print:" + document);
}

TEST_F(ProcessShellTest, RelativeDocumentsBecomeAbsoluteSoTheyAreNoOptions)
{
    const auto out = root() / "out.txt";
    ProcessShell shell(recordingLaunchers(out));
    writeRaw("-n", "x");
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(root());
    const auto result = shell.openDocument("-n");
    std::filesystem::current_path(previous);
    ASSERT_TRUE(result);
    EXPECT_EQ(readRaw(out), "open:" + (root() / "-n").string());
}

TEST_F(ProcessShellTest, FailingOrMissingLauncherIsReported)
{
    const auto document = writeRaw("r.html", "x").string();
    ProcessShell::Launchers failing;
    failing.open = {"/bin/false"};
    failing.print = {"/bin/sh", "-c", "exit 4", "sh"};
    ProcessShell shell(failing);
    const auto open = shell.openDocument(document);
    EXPECT_FALSE(open.started);
    EXPECT_EQ(open.error, EIO);
    EXPECT_NE(open.detail.find("exit status 1"), std::string::npos) << open.detail;
    EXPECT_FALSE(shell.printDocument(document).started);

    ProcessShell::Launchers missing;
    missing.open = {"/no/such/opener"};
    const auto result = ProcessShell(missing).openDocument(document);
    EXPECT_FALSE(result.started);
    EXPECT_EQ(result.error, ENOENT);
}

TEST_F(ProcessShellTest, WhatALauncherWritesStaysOffTheCallersTerminal)
{
    // A launcher speaks through its exit status: what it writes on either stream would land in
    // the middle of the caller's own output, whether it succeeds or fails.
    const auto document = writeRaw("r.html", "x").string();
    const auto captured = root() / "terminal.txt";
    for (const char* status : {"0", "4"}) {
        SCOPED_TRACE(std::string("exit ") + status);
        ProcessShell::Launchers noisy;
        noisy.open = {"/bin/sh", "-c",
                      std::string("echo opener noise; echo opener noise >&2; exit ") + status,
                      "sh"};
        noisy.print = noisy.open;
        std::fflush(stdout);
        std::fflush(stderr);
        const int savedOut = ::dup(STDOUT_FILENO);
        const int savedErr = ::dup(STDERR_FILENO);
        const int file = ::open(captured.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ASSERT_GE(file, 0);
        ::dup2(file, STDOUT_FILENO);
        ::dup2(file, STDERR_FILENO);
        ::close(file);
        ProcessShell shell(noisy);
        const bool bOpened = shell.openDocument(document).started;
        const bool bPrinted = shell.printDocument(document).started;
        ::dup2(savedOut, STDOUT_FILENO);
        ::dup2(savedErr, STDERR_FILENO);
        ::close(savedOut);
        ::close(savedErr);
        EXPECT_EQ(bOpened, std::string(status) == "0");
        EXPECT_EQ(bPrinted, std::string(status) == "0");
        EXPECT_EQ(readRaw(captured), "");
    }
}

TEST_F(ProcessShellTest, BusyLauncherCountsAsStarted)
{
    const auto document = writeRaw("r.html", "x").string();
    ProcessShell::Launchers slow;
    slow.open = {"/bin/sh", "-c", "sleep 1", "sh"};
    slow.wait = 50ms;
    EXPECT_TRUE(ProcessShell(slow).openDocument(document));
}

TEST_F(ProcessShellTest, RunPassesParametersAsArguments)
{
    const auto out = root() / "args.txt";
    const auto program = writeRaw("program.sh", "#!/bin/sh\nfor a; do printf '[%s]' \"$a\"; done" +
                                                    writeTo(out) + "\n");
    ASSERT_EQ(::chmod(program.c_str(), 0755), 0);
    ProcessShell shell;
    ASSERT_TRUE(shell.run(program.string(), "/p \"two words\" $HOME;x"));
    EXPECT_EQ(awaitFile(out), "[/p][two words][$HOME;x]");
}

TEST_F(ProcessShellTest, AQuotedFileNameReachesTheProgramAsOneArgument)
{
    const auto out = root() / "args.txt";
    const auto program = writeRaw("program.sh", "#!/bin/sh\nfor a; do printf '[%s]' \"$a\"; done" +
                                                    writeTo(out) + "\n");
    ASSERT_EQ(::chmod(program.c_str(), 0755), 0);
    const std::string name = (root() / "my \"odd\" $(touch pwned) `id`; report.csv").string();
    writeRaw(std::filesystem::path(name).filename().string(), "a;b");
    ProcessShell shell;
    ASSERT_TRUE(shell.run(program.string(), "\"" + name + "\""));
    EXPECT_EQ(awaitFile(out), "[" + name + "]");
    EXPECT_FALSE(std::filesystem::exists(root() / "pwned"));
    EXPECT_FALSE(std::filesystem::exists("pwned"));
}

TEST_F(ProcessShellTest, HostProgramNamesRunTheUsersPrograms)
{
    const auto out = root() / "args.txt";
    const auto editor = writeRaw("editor.sh", "#!/bin/sh\nfor a; do printf '[%s]' \"$a\"; done" +
                                                  writeTo(out) + "\n");
    ASSERT_EQ(::chmod(editor.c_str(), 0755), 0);
    const auto report = writeRaw("my report.csv", "a;b").string();
    {
        testing::ScopedEnv visual("VISUAL", nullptr);
        testing::ScopedEnv editorVariable("EDITOR", (editor.string() + " -n").c_str());
        ASSERT_TRUE(ProcessShell().run("Notepad.exe", "\"" + report + "\""));
        EXPECT_EQ(awaitFile(out), "[-n][" + report + "]");
    }
    // Without an editor, and for the spreadsheet program, the desktop's opener takes the file
    // and its failure is reported.
    testing::ScopedEnv visual("VISUAL", nullptr);
    testing::ScopedEnv editorVariable("EDITOR", nullptr);
    ProcessShell::Launchers failing;
    failing.open = {"/bin/false"};
    for (const char* program : {"notepad.exe", "excel.exe"}) {
        const auto opened = ProcessShell(ProcessShell::Launchers{}).run(program, "\"/no/such\"");
        EXPECT_FALSE(opened.started) << program;
        EXPECT_EQ(opened.error, ENOENT) << program;
        const auto result = ProcessShell(failing).run(program, "\"" + report + "\"");
        EXPECT_FALSE(result.started) << program;
        EXPECT_EQ(result.error, EIO) << program;
    }
    ProcessShell::Launchers quiet;
    quiet.open = {"/bin/true"};
    EXPECT_TRUE(ProcessShell(quiet).run("EXCEL.EXE", "\"" + report + "\""));
    EXPECT_TRUE(ProcessShell(quiet).openDocument("\"" + report + "\""));
    RecordingShell recording;
    EXPECT_TRUE(recording.run("notepad.exe", "\"" + report + "\""));
    EXPECT_TRUE(recording.openDocument("\"" + report + "\""));
}

TEST(ProcessShellSplitTest, ParametersSplitLikeACommandLine)
{
    struct Case
    {
        std::string text;
        std::vector<std::string> arguments;
    };
    const std::vector<Case> cases = {
        {"", {}},
        {"   ", {}},
        {"a b\tc", {"a", "b", "c"}},
        {"  a   b  ", {"a", "b"}},
        {"\"two words\" x", {"two words", "x"}},
        {"pre\"fix mid\"post", {"prefix midpost"}},
        {"\"\"", {""}},
        {"a\\\"b", {"a\"b"}},
        {"C:\\path\\file", {"C:\\path\\file"}},
        // One name in quotes is one argument as it stands, backslashes and all.
        {"\"end\\\\\"", {"end\\\\"}},
        {"\"a \"q\" $(x).csv\"", {"a \"q\" $(x).csv"}},
        {"\"two\" \"words\"", {"two\" \"words"}},
        {"\"unclosed quote", {"unclosed quote"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ProcessShell::splitParameters(c.text), c.arguments) << c.text;
    }
}

class HtmlHelpTest : public testing::WinFixture
{
protected:
    void SetUp() override
    {
        WinFixture::SetUp();
        help = root() / "help";
        std::filesystem::create_directories(help / "dialogs");
        writeRaw("help/index.html", "<html/>");
        writeRaw("help/view.html", "<html/>");
        writeRaw("help/dialogs/filter.html", "<html/>");
    }
    std::filesystem::path help;
    RecordingShell shell;
    ScopedShell scope{shell};
};

TEST_F(HtmlHelpTest, TopicsOpenThroughTheCurrentShell)
{
    EXPECT_EQ(&currentShell(), &shell);
    EXPECT_TRUE(showHelpTopic(help, "view.html"));
    EXPECT_TRUE(showHelpTopic(help, ""));
    EXPECT_TRUE(showHelpTopic(help, "dialogs/filter.html"));
    const std::vector<RecordingShell::Request> expected = {
        {"open", (help / "view.html").string(), ""},
        {"open", (help / "index.html").string(), ""},
        {"open", (help / "dialogs/filter.html").string(), ""},
    };
    EXPECT_EQ(shell.requests(), expected);
}

TEST_F(HtmlHelpTest, TopicsOutsideTheHelpOrMissingOpenNothing)
{
    writeRaw("secret.html", "x");
    struct Case
    {
        const char* topic;
        int error;
    };
    for (const auto& c : {Case{"../secret.html", EINVAL}, Case{"/etc/passwd", EINVAL},
                          Case{"dialogs/../../secret.html", EINVAL}, Case{"none.html", ENOENT},
                          Case{"dialogs", ENOENT}}) {
        const auto result = showHelpTopic(help, c.topic);
        EXPECT_FALSE(result.started) << c.topic;
        EXPECT_EQ(result.error, c.error) << c.topic;
    }
    EXPECT_TRUE(shell.requests().empty());
}

// What the help and the shell say of a failure is in the language of the regional settings.
TEST_F(HtmlHelpTest, FailuresAreToldInTheLanguageOfTheRegionalSettings)
{
    const std::string before = platform::locale::Current().name;
    const auto document = writeRaw("r.html", "x").string();
    ProcessShell::Launchers missing;
    missing.open = {"/no/such/opener"};
    ProcessShell::Launchers failing;
    failing.open = {"/bin/sh", "-c", "exit 3", "sh"};
    struct Case
    {
        const char* locale;
        std::string outside, none, notStarted, notHandled;
    };
    const std::string page = (help / "none.html").string();
    for (const auto& c :
         {Case{"de-DE", "das Hilfethema \"../x.html\" gehört nicht zur Hilfe",
               "es gibt keine Hilfeseite " + page,
               "\"/no/such/opener\" kann nicht gestartet werden: ",
               "\"/bin/sh\" konnte \"" + document + "\" nicht öffnen (Exit-Status 3)"},
          Case{"en-US", "the help topic \"../x.html\" is not in the help",
               "there is no help page " + page, "cannot start \"/no/such/opener\": ",
               "\"/bin/sh\" could not handle \"" + document + "\" (exit status 3)"}}) {
        SCOPED_TRACE(c.locale);
        platform::locale::SetCurrent(c.locale);
        EXPECT_EQ(showHelpTopic(help, "../x.html").detail, c.outside);
        EXPECT_EQ(showHelpTopic(help, "none.html").detail, c.none);
        EXPECT_EQ(ProcessShell(missing).openDocument(document).detail.rfind(c.notStarted, 0), 0U)
            << ProcessShell(missing).openDocument(document).detail;
        EXPECT_EQ(ProcessShell(failing).openDocument(document).detail, c.notHandled);
    }
    platform::locale::SetCurrent(before);
    EXPECT_TRUE(shell.requests().empty());
}

// A page that cannot be shown is told to the reporter the host sets (the caller reports
// nothing), with the page and the failure; without a reporter nothing more happens.
TEST_F(HtmlHelpTest, FailuresGoToTheReporter)
{
    std::vector<std::pair<std::string, int>> reported;
    setHelpFailureReporter([&](const std::string& page, const ShellResult& failure) {
        reported.emplace_back(page, failure.error);
    });
    EXPECT_TRUE(showHelpTopic(help, "view.html"));
    EXPECT_FALSE(showHelpTopic(help, "none.html"));
    shell.failWith(ECHILD, "no browser");
    EXPECT_FALSE(showHelpTopic(help, ""));
    setHelpFailureReporter({});
    EXPECT_FALSE(showHelpTopic(help, "view.html"));
    const std::vector<std::pair<std::string, int>> expected = {{"none.html", ENOENT},
                                                               {"index.html", ECHILD}};
    EXPECT_EQ(reported, expected);
}

TEST(ScopedShellTest, ScopesNestAndRestore)
{
    Shell& original = currentShell();
    RecordingShell outer;
    RecordingShell inner;
    {
        ScopedShell a(outer);
        {
            ScopedShell b(inner);
            EXPECT_EQ(&currentShell(), &inner);
        }
        EXPECT_EQ(&currentShell(), &outer);
    }
    EXPECT_EQ(&currentShell(), &original);
}

TEST(RecordingShellTest, FailWithAnswersLaterRequests)
{
    RecordingShell shell;
    shell.failWith(EACCES, "no viewer");
    const auto result = shell.run("/bin/true", "");
    EXPECT_FALSE(result.started);
    EXPECT_EQ(result.error, EACCES);
    EXPECT_EQ(shell.requests().size(), 1u);
}

} // namespace
} // namespace platform::win
