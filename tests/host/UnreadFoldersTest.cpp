#include "host/HostTexts.h"
#include "host/UnreadFolders.h"
#include "platform/mapi/CurrentProfile.h"
#include "platform/mapi/ErrorNumbers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

namespace rt = platform::runtime;
namespace mapi = platform::mapi;

rt::Notice Unread(const std::string& sName, const std::string& sEntry, const std::string& sStore,
                  long lNumber, const std::string& sWhy, long lKept = 0)
{
    rt::Notice o{rt::Notice::Kind::FolderUnread, sName, sWhy, lNumber, lKept};
    o.entryId = sEntry;
    o.storeId = sStore;
    return o;
}

class UnreadFoldersTest : public ::testing::Test
{
protected:
    // No profile: a folder is named by its name, or its entry id when it has none.
    void SetUp() override { mapi::SetCurrentProfile("/nonexistent/profile"); }
    void TearDown() override { host::SetTextLanguage("en"); }
};

TEST_F(UnreadFoldersTest, EachFolderIsToldOnceAReadWhateverHowOftenItFailed)
{
    host::SetTextLanguage("en");
    host::UnreadFolders oUnread;
    EXPECT_TRUE(oUnread.TakeNew().empty());
    EXPECT_FALSE(oUnread.Any());
    // Other notices are not for it.
    oUnread.Note({rt::Notice::Kind::Saved, "x.csv", ""});
    oUnread.Note({rt::Notice::Kind::ReadEnded, "", ""});
    EXPECT_TRUE(oUnread.TakeNew().empty());
    EXPECT_FALSE(oUnread.Any());

    // One folder failing at its opening and at its items, another of the same entry id in
    // another store, and a third.
    oUnread.Note(Unread("Kalender", "E1", "S1", mapi::MAPI_E_CORRUPT_DATA, "one"));
    oUnread.Note(Unread("Kalender", "E1", "S1", mapi::MAPI_E_CORRUPT_DATA, "two"));
    oUnread.Note(Unread("Kalender", "E1", "S2", mapi::MAPI_E_BUSY, "three"));
    oUnread.Note(Unread("", "E3", "S1", mapi::MAPI_E_CALL_FAILED, "four"));
    const auto vLines = oUnread.TakeNew();
    ASSERT_EQ(vLines.size(), 3U);
    EXPECT_NE(vLines[0].find("(one)"), std::string::npos) << vLines[0];
    EXPECT_NE(vLines[1].find("(three)"), std::string::npos) << vLines[1];
    EXPECT_NE(vLines[2].find("\"E3\""), std::string::npos) << "named by its entry id: " << vLines[2];
    EXPECT_TRUE(oUnread.Any());
    const std::string sText = host::UnreadFoldersText(vLines, "/log/error.txt");
    EXPECT_NE(sText.find("Not read (3)"), std::string::npos) << sText;

    // What was told is not told again; the run still had a folder unread.
    EXPECT_TRUE(oUnread.TakeNew().empty());
    EXPECT_TRUE(oUnread.Any());
    // A later read that fails the same folder tells it again.
    oUnread.Note(Unread("Kalender", "E1", "S1", mapi::MAPI_E_CORRUPT_DATA, "again"));
    EXPECT_EQ(oUnread.TakeNew().size(), 1U);
}

// Each folder's line says what the report shows of it: none of its rows, or those its read
// kept before the failure (the most of them when it failed more than once).
TEST_F(UnreadFoldersTest, EachFolderSaysWhatTheReportShowsOfIt)
{
    const struct
    {
        const char* sLanguage;
        const char* sNone;
        const char* sThirty;
        const char* sHeading;
    } aCases[] = {
        {"en", "(one); the report shows none of its rows",
         "(two); the report shows 30 of its rows, read before the failure",
         "the report shows the folders that were read and, of each folder below, what its line "
         "says. Not read (2):"},
        {"de", "(one); der Bericht zeigt keine seiner Zeilen",
         "(two); der Bericht zeigt 30 seiner Zeilen, vor dem Fehler gelesen",
         "Der Bericht zeigt die gelesenen Ordner und von den folgenden Ordnern jeweils die dort "
         "genannten Zeilen. Nicht gelesen (2):"},
    };
    for (const auto& c : aCases) {
        SCOPED_TRACE(c.sLanguage);
        host::SetTextLanguage(c.sLanguage);
        host::UnreadFolders oUnread;
        oUnread.Note(Unread("Kalender", "E1", "S1", mapi::MAPI_E_CORRUPT_DATA, "one"));
        oUnread.Note(Unread("Aufgaben", "E2", "S1", mapi::MAPI_E_CORRUPT_DATA, "two", 12));
        oUnread.Note(Unread("Aufgaben", "E2", "S1", mapi::MAPI_E_CORRUPT_DATA, "again", 30));
        oUnread.Note(Unread("Aufgaben", "E2", "S1", mapi::MAPI_E_CORRUPT_DATA, "later", 0));
        const auto vLines = oUnread.TakeNew();
        ASSERT_EQ(vLines.size(), 2U);
        EXPECT_NE(vLines[0].find(c.sNone), std::string::npos) << vLines[0];
        EXPECT_NE(vLines[1].find(c.sThirty), std::string::npos) << vLines[1];
        const std::string sText = host::UnreadFoldersText(vLines, "/log/error.txt");
        EXPECT_NE(sText.find(c.sHeading), std::string::npos) << sText;
    }
}

// The cause is told by the error's number: the store's words, whatever they say, decide nothing.
TEST_F(UnreadFoldersTest, TheCauseIsToldByTheNumberInEitherLanguage)
{
    struct Case
    {
        long lNumber;
        const char* sEnglish;
        const char* sGerman;
    };
    const Case aCases[] = {
        {mapi::MAPI_E_CORRUPT_DATA, "its store file is damaged", "Speicherdatei ist beschädigt"},
        {mapi::MAPI_E_BUSY, "its store is in use by another program", "von einem anderen Programm"},
        {mapi::MAPI_E_NO_ACCESS, "its store file cannot be opened", "kann nicht geöffnet"},
        {mapi::MAPI_E_DISK_ERROR, "the disk could not be read", "Datenträger"},
        {mapi::MAPI_E_NOT_ENOUGH_DISK, "the disk could not be read", "Datenträger"},
        {mapi::MAPI_E_CALL_FAILED, "reading it failed", "das Lesen ist fehlgeschlagen"},
        {5, "reading it failed", "das Lesen ist fehlgeschlagen"},
    };
    // Words that once chose the cause, each under a number that says another.
    const char* const aMisleading[] = {"database is locked", "database disk image is malformed",
                                       "unable to open database file", "disk I/O error", ""};
    for (const auto& c : aCases) {
        for (const char* sWords : aMisleading) {
            SCOPED_TRACE(std::to_string(c.lNumber) + " " + sWords);
            host::SetTextLanguage("en");
            const std::string sEnglish = host::WhyUnread(c.lNumber, sWords);
            EXPECT_EQ(sEnglish.rfind(c.sEnglish, 0), 0U) << sEnglish;
            EXPECT_NE(sEnglish.find(std::string("(") + sWords + ")"), std::string::npos)
                << "the store's own words follow: " << sEnglish;
            host::SetTextLanguage("de");
            const std::string sGerman = host::WhyUnread(c.lNumber, sWords);
            EXPECT_NE(sGerman.find(c.sGerman), std::string::npos) << sGerman;
        }
    }
}

} // namespace
