#include "platform/win/ProfileStrings.h"

#include "WinFixture.h"

#include <cerrno>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace platform::win {
namespace {

class ProfileStringsTest : public testing::WinFixture
{
};

struct ReadCase
{
    const char* name;
    std::string fileText;
    const char* section;
    const char* key;
    const char* defaultValue;
    std::string expected;
};

TEST_F(ProfileStringsTest, ReadFollowsTheProfileRules)
{
    const std::string long300(300, 'x');
    const std::vector<ReadCase> cases = {
        {"plain value", "[default]\nChunkSize=250\n", "default", "ChunkSize", "", "250"},
        {"section and key in other case", "[Default]\nCHUNKSIZE=12abc\n", "DEFAULT", "chunksize",
         "", "12abc"},
        {"umlauts fold case", "[Übersicht]\nGRÖSSE=1\n", "übersicht", "größe", "", "1"},
        {"blanks around name and value", "  [ default ]  \n  ChunkSize  =   7  \n", " default ",
         "ChunkSize ", "", "7"},
        {"missing key gives default", "[default]\nOther=1\n", "default", "ChunkSize", "100", "100"},
        {"missing section gives default", "[other]\nChunkSize=1\n", "default", "ChunkSize", "d",
         "d"},
        {"default loses trailing blanks", "", "default", "ChunkSize", "dflt   ", "dflt"},
        {"empty value is empty, not the default", "[default]\nChunkSize=\n", "default", "ChunkSize",
         "100", ""},
        {"key line without equals gives default", "[default]\nChunkSize\n", "default", "ChunkSize",
         "100", "100"},
        {"double quotes stripped", "[default]\nk=\"a b \"\n", "default", "k", "", "a b "},
        {"single quotes stripped", "[default]\nk='x'\n", "default", "k", "", "x"},
        {"unmatched quotes kept", "[default]\nk=\"x'\n", "default", "k", "", "\"x'"},
        {"lone quote kept", "[default]\nk=\"\n", "default", "k", "", "\""},
        {"empty quotes give empty", "[default]\nk=\"\"\n", "default", "k", "", ""},
        {"first duplicate key wins", "[default]\nk=1\nk=2\n", "default", "k", "", "1"},
        {"first duplicate section wins", "[s]\na=1\n[s]\nk=2\n", "s", "k", "d", "d"},
        {"keys of other sections not seen", "[a]\nk=1\n[b]\n", "b", "k", "d", "d"},
        {"comment lines are not keys", "[default]\n;k=1\n#k=2\n", "default", ";k", "d", "d"},
        {"CRLF lines", "[default]\r\nk=v\r\nj=w\r\n", "default", "k", "", "v"},
        {"value with equals sign", "[default]\nk=a=b\n", "default", "k", "", "a=b"},
        {"long value cut to 254", "[default]\nk=" + long300 + "\n", "default", "k", "",
         std::string(254, 'x')},
        {"long quoted value keeps no closing quote when cut", "[default]\nk=\"" + long300 + "\"\n",
         "default", "k", "", std::string(254, 'x')},
        {"quoted value of 254 fits whole", "[default]\nk=\"" + std::string(254, 'y') + "\"\n",
         "default", "k", "", std::string(254, 'y')},
        {"long default cut to 254", "", "default", "k", long300.c_str(), std::string(254, 'x')},
        {"cut never splits a character", "[default]\nk=" + std::string(253, 'a') + "äö\n",
         "default", "k", "", std::string(253, 'a') + "ä"},
        {"UTF-16LE file", std::string("\xFF\xFE[\0d\0]\0\n\0k\0=\0\xFC\0\n\0", 18), "d", "k", "",
         "ü"},
        {"UTF-16BE file", std::string("\xFE\xFF\0[\0d\0]\0\n\0k\0=\0v", 16), "d", "k", "", "v"},
        {"UTF-8 file with mark", "\xEF\xBB\xBF[d]\nk=v\n", "d", "k", "", "v"},
        {"8-bit legacy file",
         "[d]\nk=Gr\xF6\xDF"
         "e\n",
         "d", "k", "", "Größe"},
    };
    for (const auto& c : cases) {
        const auto file = writeRaw("settings.ini", c.fileText);
        EXPECT_EQ(readProfileString(file, c.section, c.key, c.defaultValue), c.expected) << c.name;
    }
}

TEST_F(ProfileStringsTest, MissingFileGivesDefault)
{
    EXPECT_EQ(readProfileString(root() / "none.ini", "default", "ChunkSize", "100"), "100");
    EXPECT_EQ(readProfileString(root() / "none" / "x.ini", "default", "ChunkSize", ""), "");
}

TEST_F(ProfileStringsTest, BufferSizeLimitsTheResult)
{
    const auto file = writeRaw("s.ini", "[d]\nk=abcdef\n");
    EXPECT_EQ(readProfileString(file, "d", "k", "", 4), "abc");
    EXPECT_EQ(readProfileString(file, "d", "k", "", 1), "");
    EXPECT_EQ(readProfileString(file, "d", "k", "", 0), "");
}

TEST_F(ProfileStringsTest, WriteUpdatesInPlaceAndKeepsEverythingElse)
{
    const auto file = writeRaw("settings.ini", "; my settings\n"
                                               "[Default]\n"
                                               "SupportMailAddress=a@b.example\n"
                                               "showexplorercommandbar = 1 ; keep\n"
                                               "ChunkSize=250\n"
                                               "\n"
                                               "[other]\n"
                                               "ShowExplorerCommandbar=x\n");
    ASSERT_TRUE(writeProfileString(file, "default", "ShowExplorerCommandbar", "0"));
    EXPECT_EQ(readRaw(file), "; my settings\n"
                             "[Default]\n"
                             "SupportMailAddress=a@b.example\n"
                             "showexplorercommandbar=0\n"
                             "ChunkSize=250\n"
                             "\n"
                             "[other]\n"
                             "ShowExplorerCommandbar=x\n");
}

TEST_F(ProfileStringsTest, WriteAddsKeysSectionsAndFiles)
{
    const auto file = root() / "settings.ini";
    ASSERT_TRUE(writeProfileString(file, "default", "ShowExplorerCommandbar", "1"));
    EXPECT_EQ(readRaw(file), "[default]\nShowExplorerCommandbar=1\n");

    ASSERT_TRUE(writeProfileString(file, "default", "ChunkSize", "12"));
    ASSERT_TRUE(writeProfileString(file, "second", "k", "v"));
    EXPECT_EQ(readRaw(file),
              "[default]\nShowExplorerCommandbar=1\nChunkSize=12\n\n[second]\nk=v\n");

    // A new key goes after the section's last key, before trailing blank lines and comments.
    const auto other = writeRaw("o.ini", "[a]\nx=1\n\n; about b\n[b]\ny=2\n");
    ASSERT_TRUE(writeProfileString(other, "A", "z", "3"));
    EXPECT_EQ(readRaw(other), "[a]\nx=1\nz=3\n\n; about b\n[b]\ny=2\n");
}

TEST_F(ProfileStringsTest, WriteKeepsLineEndingsAndEncoding)
{
    const auto crlf = writeRaw("crlf.ini", "[d]\r\nk=1\r\n");
    ASSERT_TRUE(writeProfileString(crlf, "d", "j", "2"));
    EXPECT_EQ(readRaw(crlf), "[d]\r\nk=1\r\nj=2\r\n");

    const auto utf16 = writeRaw("u16.ini", std::string("\xFF\xFE[\0d\0]\0\n\0", 10));
    ASSERT_TRUE(writeProfileString(utf16, "d", "k", "ä"));
    EXPECT_EQ(readRaw(utf16), std::string("\xFF\xFE[\0d\0]\0\n\0k\0=\0\xE4\0\n\0", 18));
    EXPECT_EQ(readProfileString(utf16, "d", "k", ""), "ä");
}

TEST_F(ProfileStringsTest, WriteRejectsTextThatWouldBreakTheFile)
{
    const auto file = writeRaw("s.ini", "[d]\nk=1\n");
    struct Case
    {
        const char* section;
        const char* key;
        const char* value;
    };
    const std::vector<Case> bad = {{"d", "k", "1\n[x]"}, {"d", "a=b", "1"}, {"d", "", "1"},
                                   {"d", "  ", "1"},     {"d]", "k", "1"},  {"d\nx", "k", "1"},
                                   {"d", "[k", "1"},     {"d", ";k", "1"},  {"d", "k\r", "1"}};
    for (const auto& c : bad) {
        errno = 0;
        EXPECT_FALSE(writeProfileString(file, c.section, c.key, c.value)) << c.key << c.value;
        EXPECT_EQ(errno, EINVAL);
    }
    EXPECT_EQ(readRaw(file), "[d]\nk=1\n");
}

TEST_F(ProfileStringsTest, WriteIntoMissingFolderFails)
{
    errno = 0;
    EXPECT_FALSE(writeProfileString(root() / "absent" / "s.ini", "d", "k", "v"));
    EXPECT_EQ(errno, ENOENT);
}

TEST_F(ProfileStringsTest, WriteOverAPipeADeviceOrAFolderFailsAndLeavesIt)
{
    ASSERT_EQ(::mkfifo((root() / "pipe.ini").c_str(), 0600), 0);
    std::filesystem::create_directory(root() / "folder.ini");
    std::filesystem::create_symlink("pipe.ini", root() / "link.ini");
    struct Case
    {
        std::string name;
        int error;
    };
    std::vector<Case> cases = {{"pipe.ini", ENODEV}, {"folder.ini", EISDIR}, {"link.ini", ENODEV}};
    // A device of this test's own (the numbers of /dev/null), where the user may make one.
    if (::mknod((root() / "device.ini").c_str(), S_IFCHR | 0600, makedev(1, 3)) == 0)
        cases.push_back({"device.ini", ENODEV});
    for (const auto& c : cases) {
        const auto before = std::filesystem::symlink_status(root() / c.name).type();
        errno = 0;
        EXPECT_FALSE(writeProfileString(root() / c.name, "d", "k", "v")) << c.name;
        EXPECT_EQ(errno, c.error) << c.name;
        EXPECT_EQ(std::filesystem::symlink_status(root() / c.name).type(), before) << c.name;
    }
    EXPECT_TRUE(std::filesystem::is_fifo(root() / "pipe.ini"));
}

TEST_F(ProfileStringsTest, DeleteKeyAndSection)
{
    const auto file = writeRaw("s.ini", "[a]\nx=1\ny=2\n; note\n[b]\nz=3\n[c]\nw=4\n");
    ASSERT_TRUE(deleteProfileKey(file, "A", "X"));
    EXPECT_EQ(readRaw(file), "[a]\ny=2\n; note\n[b]\nz=3\n[c]\nw=4\n");
    ASSERT_TRUE(deleteProfileSection(file, "B"));
    EXPECT_EQ(readRaw(file), "[a]\ny=2\n; note\n[c]\nw=4\n");
    EXPECT_EQ(readProfileString(file, "b", "z", "gone"), "gone");

    // Deleting what is not there succeeds and creates nothing.
    EXPECT_TRUE(deleteProfileKey(file, "a", "nothing"));
    EXPECT_TRUE(deleteProfileSection(root() / "missing.ini", "a"));
    EXPECT_FALSE(std::filesystem::exists(root() / "missing.ini"));
}

TEST_F(ProfileStringsTest, WriteKeepsFilePermissions)
{
    const auto file = writeRaw("s.ini", "[d]\n");
    ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
    ASSERT_TRUE(writeProfileString(file, "d", "k", "v"));
    struct stat info
    {
    };
    ASSERT_EQ(::stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

} // namespace
} // namespace platform::win
