// The note that gives a template its own folders back after a run with --folder: who owns it,
// when it goes, and which template it follows.
#include "host/RunFolders.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& oFile)
{
    std::ifstream oIn(oFile, std::ios::binary);
    return {std::istreambuf_iterator<char>(oIn), std::istreambuf_iterator<char>()};
}

void WriteAll(const fs::path& oFile, const std::string& sText)
{
    std::ofstream(oFile, std::ios::binary) << sText;
}

// Report definitions written by hand: templates and the folders each reads (as the file is
// written back: no blanks between the elements).
std::string Definitions(const std::string& sFirst, const std::string& sFirstFolders,
                        const std::string& sSecondFolders = "<Folder><EntryID>b</EntryID></Folder>",
                        const std::string& sSecond = "Other")
{
    return "<?xml version=\"1.0\"?>\n<Reports version=\"94\"><Report><Name>" + sFirst +
           "</Name><Folders>" + sFirstFolders + "</Folders></Report><Report><Name>" + sSecond +
           "</Name><Folders>" +
           sSecondFolders + "</Folders></Report></Reports>\n";
}

const std::string kOwn = "<Folder><EntryID>own</EntryID></Folder>";
const std::string kRun = "<Folder><EntryID>archiv</EntryID></Folder>";
const std::string kPicked = "<Folder><EntryID>picked</EntryID></Folder>";

class RunFoldersTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        oFolder = fs::temp_directory_path() /
                  ("runfolders-" + std::to_string(::getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(oFolder);
        fs::create_directories(oFolder);
        oReports = oFolder / "reports.xml";
        WriteAll(oReports, Definitions("Tasks", kOwn));
    }
    void TearDown() override { fs::remove_all(oFolder); }

    // A run of --folder as the host makes it: the note, then the run's folders in the file.
    void StartRun(host::RunFolders& oRun)
    {
        oRun.Keep("Tasks");
        WriteAll(oReports, Definitions("Tasks", kRun));
        ASSERT_TRUE(fs::exists(host::RunFolders::NoteFile(oReports)));
    }
    bool Noted() const { return fs::exists(host::RunFolders::NoteFile(oReports)); }

    fs::path oFolder;
    fs::path oReports;
    std::ostringstream out;
};

TEST_F(RunFoldersTest, TheEndPutsTheOwnFoldersBackAndTheNoteGoes)
{
    host::RunFolders oRun(oReports);
    StartRun(oRun);
    EXPECT_TRUE(oRun.PutBack(out)) << out.str();
    EXPECT_EQ(ReadAll(oReports), Definitions("Tasks", kOwn));
    EXPECT_FALSE(Noted());
    // Once is enough.
    WriteAll(oReports, Definitions("Tasks", kPicked));
    EXPECT_TRUE(oRun.PutBack(out));
    EXPECT_EQ(ReadAll(oReports), Definitions("Tasks", kPicked));
}

TEST_F(RunFoldersTest, FoldersThePersonPickedStayAndNoStartPutsTheOldOnesBack)
{
    host::RunFolders oRun(oReports);
    StartRun(oRun);
    WriteAll(oReports, Definitions("Tasks", kPicked));
    oRun.Release();
    EXPECT_FALSE(Noted());
    EXPECT_TRUE(oRun.PutBack(out));
    host::RunFolders::Recover(oReports, out);
    EXPECT_EQ(ReadAll(oReports), Definitions("Tasks", kPicked)) << out.str();
}

TEST_F(RunFoldersTest, ARenamedTemplateIsFollowed)
{
    {
        host::RunFolders oRun(oReports);
        StartRun(oRun);
        WriteAll(oReports, Definitions("Tasks2", kRun));
        EXPECT_TRUE(oRun.PutBack(out)) << out.str();
        EXPECT_EQ(ReadAll(oReports), Definitions("Tasks2", kOwn));
        EXPECT_FALSE(Noted());
    }
    // The same after a run that was killed: the next start follows it too.
    WriteAll(oReports, Definitions("Tasks", kOwn));
    {
        host::RunFolders oKilled(oReports);
        StartRun(oKilled);
        WriteAll(oReports, Definitions("Tasks2", kRun));
    }
    host::RunFolders::Recover(oReports, out);
    EXPECT_EQ(ReadAll(oReports), Definitions("Tasks2", kOwn)) << out.str();
    EXPECT_NE(out.str().find("\"Tasks2\" has its own folders again"), std::string::npos)
        << out.str();
    EXPECT_FALSE(Noted());
}

TEST_F(RunFoldersTest, OfTheNamesTheOneThatIsNewIsTheRenamedTemplate)
{
    host::RunFolders oRun(oReports);
    StartRun(oRun);
    WriteAll(oReports, Definitions("Other", kPicked, kRun, "Tasks2"));
    EXPECT_TRUE(oRun.PutBack(out)) << out.str();
    EXPECT_EQ(ReadAll(oReports), Definitions("Other", kPicked, kOwn, "Tasks2"));
}

TEST_F(RunFoldersTest, ANoteWhoseFoldersWereNotPutBackStays)
{
    host::RunFolders oRun(oReports);
    StartRun(oRun);
    // Renamed, and the other template too: which one it is cannot be told.
    WriteAll(oReports, Definitions("Tasks2", kRun, kRun, "Other2"));
    const std::string sNow = ReadAll(oReports);
    EXPECT_FALSE(oRun.PutBack(out));
    EXPECT_NE(out.str().find("\"Tasks\" could not get its own folders back"), std::string::npos)
        << out.str();
    EXPECT_TRUE(Noted());
    EXPECT_EQ(ReadAll(oReports), sNow);
    host::RunFolders::Recover(oReports, out);
    EXPECT_TRUE(Noted());
    EXPECT_EQ(ReadAll(oReports), sNow);
}

TEST_F(RunFoldersTest, TheNoteOfARunThatLivesIsLeftToItAndGoesOnceItEnded)
{
    {
        host::RunFolders oRunning(oReports);
        StartRun(oRunning);
        // Another host started on the same settings.
        host::RunFolders::Recover(oReports, out);
        EXPECT_EQ(ReadAll(oReports), Definitions("Tasks", kRun));
        EXPECT_TRUE(Noted());
        EXPECT_EQ(out.str(), "");
        // Nor does it note folders of its own meanwhile.
        host::RunFolders oSecond(oReports);
        EXPECT_THROW(oSecond.Keep("Other"), std::runtime_error);
        EXPECT_EQ(ReadAll(host::RunFolders::NoteFile(oReports)).find("\"Other\""),
                  std::string::npos);
        // The running one ends as if killed: its lock goes with it, its note stays.
    }
    host::RunFolders::Recover(oReports, out);
    EXPECT_EQ(ReadAll(oReports), Definitions("Tasks", kOwn)) << out.str();
    EXPECT_FALSE(Noted());
}

} // namespace
