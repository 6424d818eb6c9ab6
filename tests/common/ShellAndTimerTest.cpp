#include "CommonFixture.h"

#include "common/modHtmlHelp.h"
#include "common/modShell.h"
#include "common/modTimer.h"
#include "platform/win/MessageLoop.h"
#include "platform/win/RecordingShell.h"

#include <thread>

namespace {

namespace win = platform::win;

class ShellAndTimerTest : public CommonFixture
{
protected:
    void TearDown() override
    {
        common::modTimer::StopTimer();
        unsetenv("TV_HELP_FOLDER");
        CommonFixture::TearDown();
    }
    win::RecordingShell m_oShell;
    win::ScopedShell m_oScope{m_oShell};
};

struct CountingCallback : common::ITimerCallback
{
    int nCalls = 0;
    bool bStopOnCall = true;
    void OnStartTimer() override
    {
        ++nCalls;
        if (bStopOnCall)
            common::modTimer::StopTimer();
    }
};

void PumpFor(std::chrono::milliseconds oTime)
{
    const auto oEnd = std::chrono::steady_clock::now() + oTime;
    while (std::chrono::steady_clock::now() < oEnd) {
        win::MessageLoop::main().doEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

TEST_F(ShellAndTimerTest, HelpOpensTheTopicOrTheStartPage)
{
    const auto oFolder = AppData() / "Help615";
    for (const char* sPage : {"index.html", "view.html"})
        WriteFile(oFolder / sPage, "<html></html>");
    setenv("TV_HELP_FOLDER", oFolder.c_str(), 1);
    EXPECT_EQ(common::modHtmlHelp::GetHelpFileName(), "Help615.chm");
    common::modHtmlHelp::ShowHelp("view.html");
    common::modHtmlHelp::ShowHelp("");
    common::modHtmlHelp::ShowHelp("missing.html"); // fails silently
    ASSERT_EQ(m_oShell.requests().size(), 2u);
    EXPECT_EQ(m_oShell.requests()[0].verb, "open");
    EXPECT_EQ(m_oShell.requests()[0].file, (oFolder / "view.html").string());
    EXPECT_EQ(m_oShell.requests()[1].file, (oFolder / "index.html").string());
}

TEST_F(ShellAndTimerTest, HelpFolderLiesBesideTheBinary)
{
    const auto oExeFolder = std::filesystem::canonical("/proc/self/exe").parent_path();
    EXPECT_EQ(std::filesystem::path(common::modHtmlHelp::GetHelpFolder()), oExeFolder / "Help615");
}

TEST_F(ShellAndTimerTest, ShellVerbsReachTheShellAndFailuresAreReported)
{
    const std::string sCsv = (AppData() / "report.csv").string();
    const std::string sHtml = (AppData() / "report.html").string();
    WriteFile(sCsv, "a;b\r\n");
    WriteFile(sHtml, "<html></html>");
    EXPECT_TRUE(common::modShell::ShellOpenDocument(sCsv));
    common::modShell::ShellRun("/bin/cat", "\"" + sCsv + "\"");
    common::modShell::ShellPrintDocument(sHtml, 42);
    const std::vector<win::RecordingShell::Request> vExpected = {
        {"open", sCsv, ""}, {"run", "/bin/cat", "\"" + sCsv + "\""}, {"print", sHtml, ""}};
    EXPECT_EQ(m_oShell.requests(), vExpected);
    EXPECT_FALSE(common::modShell::ShellOpenDocument((AppData() / "missing.csv").string()));
    m_oShell.failWith(ENOENT, "no program for this file");
    EXPECT_FALSE(common::modShell::ShellOpenDocument(sCsv));
}

TEST_F(ShellAndTimerTest, StartTimerRunsOnceAndKeepsTheFirstTimer)
{
    auto oFirst = std::make_shared<CountingCallback>();
    auto oSecond = std::make_shared<CountingCallback>();
    ASSERT_TRUE(common::modTimer::StartTimer(oFirst, 5));
    const auto lID = common::modTimer::TimerID();
    EXPECT_FALSE(common::modTimer::StartTimer(oSecond, 5));
    EXPECT_EQ(common::modTimer::TimerID(), lID);
    EXPECT_EQ(oFirst->nCalls, 0); // only the message loop fires it
    PumpFor(std::chrono::milliseconds(60));
    EXPECT_EQ(oFirst->nCalls, 1); // the callback stopped it
    EXPECT_EQ(oSecond->nCalls, 0);
    EXPECT_EQ(common::modTimer::TimerID(), 0);
}

TEST_F(ShellAndTimerTest, TimerWhoseCallbackIsGoneStopsItself)
{
    auto oCallback = std::make_shared<CountingCallback>();
    ASSERT_TRUE(common::modTimer::StartTimer(oCallback, 5));
    oCallback.reset();
    PumpFor(std::chrono::milliseconds(40));
    EXPECT_EQ(common::modTimer::TimerID(), 0);
    common::modTimer::TimerProc(0, 0x0F, 0, 0); // not a timer message: nothing
}

} // namespace
