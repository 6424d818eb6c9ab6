#include "platform/win/FileIo.h"

#include "WinFixture.h"

#include <cerrno>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <vector>
#include <system_error>

namespace platform::win {
namespace {

class FileIoTest : public testing::WinFixture
{
protected:
    std::size_t filesIn(const std::filesystem::path& folder) const
    {
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder),
                                                      std::filesystem::directory_iterator()));
    }
};

TEST_F(FileIoTest, ReplaceWritesTheNewContent)
{
    const auto file = writeRaw("a.txt", "old content");
    replaceFileContents(file, "new");
    EXPECT_EQ(readRaw(file), "new");
    replaceFileContents(root() / "b.txt", "");
    EXPECT_EQ(readRaw(root() / "b.txt"), "");
    EXPECT_EQ(filesIn(root()), 2u);
}

TEST_F(FileIoTest, ReplaceKeepsTheOldFileWhenTheDiskFills)
{
    const auto file = writeRaw("a.txt", "old content");
    for (std::size_t allowed : {0u, 3u}) {
        ScopedWriteFault fault(diskFullAfter(allowed));
        try {
            replaceFileContents(file, "a much longer new content");
            ADD_FAILURE() << "no error for a full disk";
        } catch (const std::system_error& error) {
            EXPECT_EQ(error.code().value(), ENOSPC);
        }
        EXPECT_EQ(readRaw(file), "old content");
        EXPECT_EQ(filesIn(root()), 1u) << "temporary file left behind";
    }
}

TEST_F(FileIoTest, AppendAddsAndCreates)
{
    const auto file = root() / "log.txt";
    appendToFile(file, "one");
    appendToFile(file, "two");
    EXPECT_EQ(readRaw(file), "onetwo");
}

TEST_F(FileIoTest, AppendThatFailsLeavesTheOldLength)
{
    const auto file = writeRaw("log.txt", "kept");
    ScopedWriteFault fault(diskFullAfter(2));
    EXPECT_THROW(appendToFile(file, "lost text"), std::system_error);
    EXPECT_EQ(readRaw(file), "kept");
}

TEST_F(FileIoTest, FaultScopesNestAndRestore)
{
    const auto file = root() / "n.txt";
    {
        ScopedWriteFault outer(diskFullAfter(0));
        {
            ScopedWriteFault inner(diskFullAfter(100));
            EXPECT_NO_THROW(replaceFileContents(file, "inner"));
        }
        EXPECT_THROW(replaceFileContents(file, "outer"), std::system_error);
    }
    EXPECT_NO_THROW(replaceFileContents(file, "normal"));
    EXPECT_EQ(readRaw(file), "normal");
}

TEST_F(FileIoTest, ReadGivesBytesOrNothing)
{
    const std::string bytes("a\0b\xFF", 4);
    EXPECT_EQ(readFileBytes(writeRaw("bin", bytes)), bytes);
    EXPECT_EQ(readFileBytes(root() / "missing"), std::nullopt);
    EXPECT_EQ(readFileBytes(root()), std::nullopt);
    EXPECT_EQ(readFileBytes(root() / "missing" / "deeper"), std::nullopt);
}

TEST_F(FileIoTest, ReadRefusesAPipeOrADeviceAtOnce)
{
    // A pipe without a writer would hold the open; a device may never end.
    const auto pipe = root() / "pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const auto link = root() / "link";
    std::filesystem::create_symlink(pipe, link);
    std::vector<std::filesystem::path> refused = {pipe, link};
    // A device of this test's own (the numbers of /dev/null), where the user may make one.
    if (::mknod((root() / "device").c_str(), S_IFCHR | 0600, makedev(1, 3)) == 0)
        refused.push_back(root() / "device");
    for (const auto& path : refused) {
        try {
            readFileBytes(path);
            ADD_FAILURE() << path << " was read";
        } catch (const std::system_error& error) {
            EXPECT_EQ(error.code().value(), ENODEV) << path;
        }
    }
    EXPECT_TRUE(std::filesystem::is_fifo(pipe));
}

TEST_F(FileIoTest, ReplaceInMissingFolderThrows)
{
    EXPECT_THROW(replaceFileContents(root() / "no" / "f", "x"), std::system_error);
    EXPECT_THROW(appendToFile(root() / "no" / "f", "x"), std::system_error);
}

} // namespace
} // namespace platform::win
