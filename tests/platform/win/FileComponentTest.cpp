#include "platform/win/FileComponent.h"

#include "platform/runtime/Error.h"
#include "platform/win/FileIo.h"

#include "WinFixture.h"

#include <cerrno>

namespace platform::win {
namespace {

namespace rt = platform::runtime;

class FileComponentTest : public testing::WinFixture
{
protected:
    std::string pathOf(const std::string& name) const { return (root() / name).string(); }

    FileComponent files;
};

TEST_F(FileComponentTest, UserDataFolderIsMadeForTheTitle)
{
    const auto folder = files.folder(FileComponent::kUserDataFolder, "Tallyman");
    EXPECT_EQ(folder, (root() / "Kestrova" / "Tallyman").string() + "/");
    EXPECT_TRUE(files.folderExists(folder));
    EXPECT_EQ(files.folder(3, "Fenwick5"), (root() / "Kestrova" / "Fenwick5").string() + "/");
}

TEST_F(FileComponentTest, UserDataFolderRefusesOtherKindsAndPathTitles)
{
    EXPECT_EQ(errorNumberOf([&] { files.folder(2, "Tallyman"); }), rt::errors::NotSupported);
    for (const char* title : {"", ".", "..", "a/b", "/abs"}) {
        EXPECT_EQ(errorNumberOf([&] { files.folder(3, title); }), rt::errors::InvalidProcedureCall)
            << title;
    }
    EXPECT_FALSE(std::filesystem::exists(root() / "Kestrova"));
}

TEST_F(FileComponentTest, FileExistsOnlyForFiles)
{
    writeRaw("a.txt", "x");
    EXPECT_TRUE(files.fileExists(pathOf("a.txt")));
    EXPECT_TRUE(files.fileObject(pathOf("a.txt"))->exists());
    EXPECT_FALSE(files.fileExists(pathOf("b.txt")));
    EXPECT_FALSE(files.fileExists(root().string()));
    EXPECT_FALSE(files.fileExists(""));
}

TEST_F(FileComponentTest, ReadDetectsTheEncoding)
{
    struct Case
    {
        const char* name;
        std::string bytes;
        std::string text;
    };
    const std::vector<Case> cases = {
        {"UTF-8", "Größe\r\n", "Größe\r\n"},
        {"UTF-8 with mark", "\xEF\xBB\xBFGröße", "Größe"},
        {"UTF-16LE",
         std::string("\xFF\xFEG\0r\0\xF6\0\xDF\0"
                     "e\0",
                     12),
         "Größe"},
        {"UTF-16BE", std::string("\xFE\xFF\0G\0r\0\xF6\0\xDF\0e", 12), "Größe"},
        {"UTF-16LE beyond the basic plane", std::string("\xFF\xFE\x3D\xD8\x00\xDE", 6),
         "\xF0\x9F\x98\x80"},
        {"legacy 8-bit",
         "Gr\xF6\xDF"
         "e",
         "Größe"},
        {"empty", "", ""},
        {"only a mark", "\xFF\xFE", ""},
    };
    for (const auto& c : cases) {
        writeRaw("t.txt", c.bytes);
        auto file = files.fileObject(pathOf("t.txt"));
        if (file->format() != TextFormat::Unicode) {
            file->setFormat(TextFormat::Ansi);
        }
        EXPECT_EQ(file->readText(), c.text) << c.name;
        EXPECT_EQ(file->text(), c.text) << c.name;
    }
}

TEST_F(FileComponentTest, ReadingAMissingFileRaises53)
{
    auto file = files.fileObject(pathOf("none.txt"));
    EXPECT_EQ(errorNumberOf([&] { file->readText(); }), rt::errors::FileNotFound);
}

TEST_F(FileComponentTest, WriteAppendsOrReplaces)
{
    auto file = files.newFileObject();
    EXPECT_EQ(file->format(), TextFormat::Unset);
    file->setPath(pathOf("error.txt"));
    file->setText("first\r\n");
    files.write(*file, WriteMode::Append, TextFormat::Unicode);
    file->setText("zweite Zeile äö\r\n");
    files.write(*file, WriteMode::Append, TextFormat::Unicode);
    EXPECT_EQ(readRaw(file->path()), "first\r\nzweite Zeile äö\r\n");

    file->setText("replaced");
    files.write(*file, WriteMode::Replace, TextFormat::Unicode);
    EXPECT_EQ(readRaw(file->path()), "replaced");
}

TEST_F(FileComponentTest, AppendContinuesTheFilesOwnEncoding)
{
    struct Case
    {
        const char* name;
        std::string before;
        std::string after;
    };
    const std::vector<Case> cases = {
        {"UTF-16LE",
         std::string("\xFF\xFE"
                     "a\0",
                     4),
         std::string("\xFF\xFE"
                     "a\0\xFC\0",
                     6)},
        {"UTF-16BE", std::string("\xFE\xFF\0a", 4), std::string("\xFE\xFF\0a\0\xFC", 6)},
        {"UTF-8 with mark",
         "\xEF\xBB\xBF"
         "a",
         "\xEF\xBB\xBF"
         "a\xC3\xBC"},
        {"UTF-8", "a", "a\xC3\xBC"},
    };
    for (const auto& c : cases) {
        auto file = files.fileObject(writeRaw("e.txt", c.before).string());
        file->setText("ü");
        files.write(*file, WriteMode::Append, TextFormat::Unicode);
        EXPECT_EQ(readRaw(file->path()), c.after) << c.name;
        EXPECT_EQ(file->readText(), "aü") << c.name;
    }
}

TEST_F(FileComponentTest, ReplaceKeepsTheOldFileWhenTheDiskFills)
{
    const auto path = writeRaw("error.txt", "old log").string();
    auto file = files.fileObject(path);
    file->setText(std::string(5000, 'n'));
    {
        ScopedWriteFault fault(diskFullAfter(100));
        EXPECT_EQ(
            errorNumberOf([&] { files.write(*file, WriteMode::Replace, TextFormat::Unicode); }),
            rt::errors::DiskFull);
        EXPECT_EQ(
            errorNumberOf([&] { files.write(*file, WriteMode::Append, TextFormat::Unicode); }),
            rt::errors::DiskFull);
    }
    EXPECT_EQ(readRaw(path), "old log");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(root()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(FileComponentTest, WriteFailuresRaise)
{
    auto file = files.fileObject(pathOf("missing/error.txt"));
    file->setText("x");
    EXPECT_EQ(errorNumberOf([&] { files.write(*file, WriteMode::Append, TextFormat::Unicode); }),
              rt::errors::PathNotFound);
    EXPECT_EQ(errorNumberOf([&] {
                  files.write(*files.newFileObject(), WriteMode::Replace, TextFormat::Unicode);
              }),
              rt::errors::PathFileAccess);
}

TEST_F(FileComponentTest, PathHelpers)
{
    struct Case
    {
        std::string path;
        std::string folder;
        std::string name;
        std::string extension;
    };
    const std::vector<Case> cases = {
        {"/data/Kestrova/Tallyman/reports.xml", "/data/Kestrova/Tallyman/", "reports.xml", "xml"},
        {"/data/archive.tar.gz", "/data/", "archive.tar.gz", "gz"},
        {"/data/README", "/data/", "README", ""},
        {"/data/folder/", "/data/folder/", "", ""},
        {"name.csv", "", "name.csv", "csv"},
        {"/data/.hidden", "/data/", ".hidden", "hidden"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(files.parentFolder(c.path), c.folder) << c.path;
        EXPECT_EQ(files.fileName(c.path), c.name) << c.path;
        EXPECT_EQ(files.extension(c.path), c.extension) << c.path;
    }
    EXPECT_EQ(files.fullPath("/a/b/../c/./d.txt"), "/a/c/d.txt");
    EXPECT_EQ(files.fullPath("x.txt"), (std::filesystem::current_path() / "x.txt").string());
}

TEST_F(FileComponentTest, FoldersSizesAndDeletion)
{
    const auto deep = pathOf("a/b/c");
    EXPECT_FALSE(files.folderExists(deep));
    files.createFolder(deep);
    EXPECT_TRUE(files.folderExists(deep));
    EXPECT_NO_THROW(files.createFolder(deep));
    const auto blocker = writeRaw("file", "12345").string();
    EXPECT_NE(errorNumberOf([&] { files.createFolder(blocker); }), 0);
    EXPECT_NE(errorNumberOf([&] { files.createFolder(blocker + "/sub"); }), 0);

    EXPECT_EQ(files.fileSize(blocker), 5u);
    EXPECT_EQ(files.fileSize(pathOf("none")), std::nullopt);
    EXPECT_EQ(files.fileSize(deep), std::nullopt);

    EXPECT_TRUE(files.deleteFile(blocker));
    EXPECT_FALSE(files.deleteFile(blocker));
    EXPECT_FALSE(files.fileExists(blocker));
    EXPECT_NE(errorNumberOf([&] { files.deleteFile(deep); }), 0);
    EXPECT_TRUE(files.folderExists(deep));
}

TEST_F(FileComponentTest, FileVersionTellsAReplacedFileFromItsOldSelf)
{
    EXPECT_EQ(files.fileVersion(pathOf("none")), std::nullopt);
    EXPECT_EQ(files.fileVersion(root().string()), std::nullopt);

    const auto path = writeRaw("report.csv", "old").string();
    const auto before = files.fileVersion(path);
    ASSERT_TRUE(before.has_value());
    EXPECT_EQ(files.fileVersion(path), before);
    EXPECT_EQ(before->size, 3);

    // A replace as quick as the clock's resolution keeps the time: the version still differs.
    const auto time = std::filesystem::last_write_time(path);
    const std::string_view pieces[] = {"new"};
    files.replaceText(path, pieces);
    std::filesystem::last_write_time(path, time);
    const auto after = files.fileVersion(path);
    ASSERT_TRUE(after.has_value());
    EXPECT_EQ(after->size, before->size);
    EXPECT_EQ(after->modifiedSeconds, before->modifiedSeconds);
    EXPECT_EQ(after->modifiedNanoseconds, before->modifiedNanoseconds);
    EXPECT_NE(after, before);
}

TEST_F(FileComponentTest, FilesWithPrefixTakeThePrefixLiterally)
{
    FileComponent files;
    for (const char* name : {"Report (1).csv", "report (2).CSV", "Report (x).csv", "Report.csv",
                             "Report [1].csv", "Other (1).csv", "Report (*).csv"})
        writeRaw(name, "x");
    std::filesystem::create_directories(root() / "Report (9) folder");
    const auto folder = root().string();
    struct Case
    {
        const char* prefix;
        std::vector<std::string> names;
    };
    const std::vector<Case> cases = {
        {"Report (", {"Report (*).csv", "Report (1).csv", "Report (x).csv", "report (2).CSV"}},
        {"Report (*", {"Report (*).csv"}},
        {"Report [", {"Report [1].csv"}},
        {"*", {}},
        {"?eport", {}},
        {"Nothing", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(files.filesWithPrefix(folder, c.prefix), c.names) << c.prefix;
    EXPECT_TRUE(files.filesWithPrefix((root() / "missing").string(), "R").empty());
}

} // namespace
} // namespace platform::win
