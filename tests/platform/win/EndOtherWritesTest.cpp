// The end of a process while other threads write: their temporary files go, their renames
// never come, and the thread that ends may still write.
#include "platform/runtime/ReplacingFile.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using platform::runtime::ReplacingFile;
using namespace std::chrono_literals;

std::string ReadAll(const fs::path& oFile)
{
    std::ifstream oIn(oFile, std::ios::binary);
    return {std::istreambuf_iterator<char>(oIn), std::istreambuf_iterator<char>()};
}

// The temporary files of writers in the folder.
int Temporaries(const fs::path& oFolder)
{
    int n = 0;
    for (const auto& oEntry : fs::directory_iterator(oFolder))
        n += oEntry.path().filename().string().find(".tmp-") != std::string::npos ? 1 : 0;
    return n;
}

// Whether flag turns true within the bound (a bound on the wait, not a speed).
bool Comes(const std::atomic<bool>& flag, std::chrono::milliseconds bound)
{
    for (auto tEnd = std::chrono::steady_clock::now() + bound;
         std::chrono::steady_clock::now() < tEnd; std::this_thread::sleep_for(5ms))
        if (flag.load())
            return true;
    return flag.load();
}

class EndOtherWritesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        oFolder = fs::temp_directory_path() / ("endwrites-" + std::to_string(::getpid()));
        fs::remove_all(oFolder);
        fs::create_directories(oFolder);
        for (const char* sName : {"a.xml", "b.xml", "c.xml"})
            std::ofstream(oFolder / sName) << "old";
    }
    void TearDown() override { fs::remove_all(oFolder); }

    fs::path oFolder;
};

// Codes the child process ends with, each for one thing that went wrong.
enum Slip
{
    kWhole = 0,
    kTemporaryLeft = 2,
    kOtherRenamed = 3,
    kOwnNotWritten = 4,
    kHandedOverRenamed = 5,
};

TEST_F(EndOtherWritesTest, TemporariesOfWritesUnderWayGoAndOnlyTheEndingThreadRenames)
{
    EXPECT_EXIT(
        {
            // A write under way on another thread, its bytes written, not yet committed.
            std::atomic<bool> bWritten{false};
            std::atomic<bool> bGo{false};
            std::atomic<bool> bCommitted{false};
            std::thread oWriter([&] {
                ReplacingFile oFile((oFolder / "a.xml").string(), "test");
                oFile.Write("new");
                bWritten = true;
                while (!bGo)
                    std::this_thread::sleep_for(1ms);
                try {
                    oFile.Commit();
                } catch (...) {
                }
                bCommitted = true;
            });
            while (!bWritten)
                std::this_thread::sleep_for(1ms);
            ReplacingFile::EndOtherWrites();
            if (Temporaries(oFolder) != 0)
                std::_Exit(kTemporaryLeft);
            // A write the other thread begins now never reaches its file.
            std::atomic<bool> bLater{false};
            std::thread([&] {
                ReplacingFile oFile((oFolder / "b.xml").string(), "test");
                oFile.Write("new");
                oFile.Commit();
                bLater = true;
            }).detach();
            bGo = true;
            if (Comes(bLater, 2s) || ReadAll(oFolder / "b.xml") != "old" ||
                ReadAll(oFolder / "a.xml") != "old")
                std::_Exit(kOtherRenamed);
            // The ending thread still saves.
            {
                ReplacingFile oOwn((oFolder / "c.xml").string(), "test");
                oOwn.Write("mine");
                oOwn.Commit();
            }
            if (ReadAll(oFolder / "c.xml") != "mine")
                std::_Exit(kOwnNotWritten);
            // Another thread that ends the process later takes over: this one is held then.
            // (It lives on, as the thread that ends a process does, so that no thread started
            // later gets its id.)
            std::atomic<bool> bTaken{false};
            std::thread([&bTaken] {
                ReplacingFile::EndOtherWrites();
                bTaken = true;
                for (;;)
                    std::this_thread::sleep_for(1h);
            }).detach();
            while (!bTaken)
                std::this_thread::sleep_for(1ms);
            std::atomic<bool> bMine{false};
            std::thread([&] {
                // Stands for this thread: any thread but the one that took over.
                ReplacingFile oFile((oFolder / "c.xml").string(), "test");
                oFile.Write("again");
                oFile.Commit();
                bMine = true;
            }).detach();
            if (Comes(bMine, 2s) || ReadAll(oFolder / "c.xml") != "mine")
                std::_Exit(kHandedOverRenamed);
            // What the held threads began since goes at the process's very end.
            ReplacingFile::EndOtherWrites();
            if (Temporaries(oFolder) != 0)
                std::_Exit(kTemporaryLeft);
            oWriter.detach();
            std::_Exit(kWhole);
        },
        ::testing::ExitedWithCode(kWhole), "");
    EXPECT_EQ(Temporaries(oFolder), 0);
}

} // namespace
