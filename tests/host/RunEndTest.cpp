// The end of a run in its own process: which thread runs the steps, what a signal during them
// does, and what becomes of the writes of other threads.
#include "host/RunEnd.h"
#include "host/HostTexts.h"
#include "platform/runtime/ReplacingFile.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::string ReadAll(const fs::path& oFile)
{
    std::ifstream oIn(oFile, std::ios::binary);
    return {std::istreambuf_iterator<char>(oIn), std::istreambuf_iterator<char>()};
}

// A step that waits as long as a renderer or a held save may (a bound on the wait: a step cut
// short never gets to its end).
void WaitLong()
{
    std::this_thread::sleep_for(20s);
}

class RunEndTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        host::SetTextLanguage("en");
        oFolder = fs::temp_directory_path() / ("runend-" + std::to_string(::getpid()));
        fs::remove_all(oFolder);
        fs::create_directories(oFolder);
    }
    void TearDown() override { fs::remove_all(oFolder); }

    fs::path oFolder;
};

TEST_F(RunEndTest, ASignalHoldsTheRenamesOfOtherThreadsAndRemovesTheirTemporaries)
{
    const fs::path oTarget = oFolder / "reports.xml";
    std::ofstream(oTarget) << "old";
    EXPECT_EXIT(
        {
            host::RunEnd oEnd(std::cout, std::cerr);
            // A save under way on another thread, as the add-in's save of its templates.
            std::atomic<std::string*> pTemporary{nullptr};
            std::atomic<bool> bTried{false};
            std::thread oSave([&] {
                platform::runtime::ReplacingFile oFile(oTarget.string(), "test");
                oFile.Write("new");
                std::string sPath = oFile.Path();
                pTemporary = &sPath;
                // The end removes the temporary file; the save goes on and renames its bytes.
                while (fs::exists(sPath))
                    std::this_thread::sleep_for(1ms);
                std::ofstream(sPath) << "new";
                bTried = true;
                const auto oCommit = platform::runtime::ReplacingFile::LockCommit();
                fs::rename(sPath, oTarget);
                std::_Exit(3);
            });
            while (!pTemporary)
                std::this_thread::sleep_for(1ms);
            // While the end's steps run, the save's temporary file is gone and its rename does
            // not come (the step waits for it within a bound, then looks).
            const auto oStep = oEnd.AtEnd([&] {
                for (int i = 0; i < 5000 && !bTried; ++i)
                    std::this_thread::sleep_for(1ms);
                std::this_thread::sleep_for(200ms);
                if (!bTried || ReadAll(oTarget) != "old")
                    std::_Exit(4);
            });
            ::kill(::getpid(), SIGINT);
            oSave.join();
        },
        ::testing::ExitedWithCode(130), "ended by SIGINT");
    EXPECT_EQ(ReadAll(oTarget), "old");
    for (const auto& oEntry : fs::directory_iterator(oFolder))
        EXPECT_EQ(oEntry.path().filename(), "reports.xml");
}

TEST_F(RunEndTest, ASignalWhileACleanEndWaitsCutsItShortWithItsOwnCode)
{
    for (const int nSignal : {SIGINT, SIGTERM, SIGHUP}) {
        const std::string sName = nSignal == SIGINT    ? "SIGINT"
                                  : nSignal == SIGTERM ? "SIGTERM"
                                                       : "SIGHUP";
        SCOPED_TRACE(sName);
        EXPECT_EXIT(
            {
                host::RunEnd oEnd(std::cout, std::cerr);
                // The wait for the prints, on the thread that ends the run cleanly.
                const auto oStep = oEnd.AtEnd([nSignal] {
                    ::kill(::getpid(), nSignal);
                    WaitLong();
                });
                std::_Exit(oEnd.Finish());
            },
            ::testing::ExitedWithCode(128 + nSignal), "ended by " + sName);
    }
}

TEST_F(RunEndTest, ASecondSignalCutsTheStepsOfTheFirstShortWithTheFirstsCode)
{
    EXPECT_EXIT(
        {
            host::RunEnd oEnd(std::cout, std::cerr);
            const auto oStep = oEnd.AtEnd([] {
                ::kill(::getpid(), SIGTERM);
                WaitLong();
            });
            ::kill(::getpid(), SIGINT);
            // The main thread goes on with its work meanwhile, then ends cleanly: the ending
            // thread ends the process first.
            std::this_thread::sleep_for(1s);
            std::_Exit(oEnd.Finish());
        },
        ::testing::ExitedWithCode(130), "ended by SIGINT\ntallyman: the end was cut short by SIGTERM");
}

// An error stream on the process's own whose first write is slow: half of its bytes go out,
// the process gets a second signal, and the rest follow a while later, as when a terminal
// sends a Ctrl+C to the process and then to its group while the end tells of the first.
class SlowFirstWrite : public std::streambuf
{
public:
    explicit SlowFirstWrite(int nSignal) : m_nSignal(nSignal) {}

protected:
    int overflow(int c) override
    {
        if (c == traits_type::eof())
            return traits_type::not_eof(c);
        const char ch = traits_type::to_char_type(c);
        Put(&ch, 1);
        return c;
    }
    std::streamsize xsputn(const char* p, std::streamsize n) override
    {
        Put(p, static_cast<std::size_t>(n));
        return n;
    }

private:
    void Put(const char* p, std::size_t n)
    {
        if (!m_bFirst.exchange(false)) {
            (void)!::write(STDERR_FILENO, p, n);
            return;
        }
        (void)!::write(STDERR_FILENO, p, n / 2);
        ::kill(::getpid(), m_nSignal);
        std::this_thread::sleep_for(300ms);
        (void)!::write(STDERR_FILENO, p + n / 2, n - n / 2);
    }

    int m_nSignal;
    std::atomic<bool> m_bFirst{true};
};

TEST_F(RunEndTest, TheLinesOfTwoSignalsComeWholeOneAfterTheOther)
{
    EXPECT_EXIT(
        {
            SlowFirstWrite oBuf(SIGTERM);
            std::ostream oErr(&oBuf);
            host::RunEnd oEnd(std::cout, oErr);
            const auto oStep = oEnd.AtEnd([] { WaitLong(); });
            ::kill(::getpid(), SIGINT);
            WaitLong();
        },
        ::testing::ExitedWithCode(130),
        "^tallyman: ended by SIGINT\ntallyman: the end was cut short by SIGTERM\n$");
}

TEST_F(RunEndTest, TheStepsRunOnceWhicheverWayTheRunEnds)
{
    // A clean end, then a signal: the steps that ran are not run again.
    EXPECT_EXIT(
        {
            host::RunEnd oEnd(std::cout, std::cerr);
            int nRuns = 0;
            const auto oStep = oEnd.AtEnd([&nRuns] { std::cerr << "step " << ++nRuns << "\n"; });
            oEnd.Note(host::ExitCode::NotKept);
            const int nCode = oEnd.Finish();
            std::cerr << "finished " << nCode << "\n" << std::flush;
            ::kill(::getpid(), SIGHUP);
            WaitLong();
        },
        ::testing::ExitedWithCode(129), "step 1\nfinished 4\ntallyman: ended by SIGHUP\n");
}

} // namespace
