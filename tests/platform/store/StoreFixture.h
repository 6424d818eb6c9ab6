#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sqlite3.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace platform::store::test {

/// Runs SQL on a store file with the plain SQLite library, as another program would.
inline void Exec(const std::filesystem::path& file, const std::string& sql)
{
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &raw), SQLITE_OK);
    char* error = nullptr;
    EXPECT_EQ(sqlite3_exec(raw, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK)
        << (error ? error : "") << " in " << sql;
    sqlite3_free(error);
    sqlite3_close(raw);
}

/// Makes a store file read-only for as long as it lives, and writable again after. Taking the
/// owner's write permission does not keep root from writing (as the tests may run in CI), so
/// there the file is marked immutable as well where the file system and the process's
/// capabilities allow. `Held` says whether the file now refuses writes.
class ReadOnlyFile
{
public:
    explicit ReadOnlyFile(std::filesystem::path file) : file_(std::move(file))
    {
        std::filesystem::permissions(file_, std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::remove);
        if (Writable())
            immutable_ = SetImmutable(true);
        held_ = !Writable();
    }
    ~ReadOnlyFile()
    {
        if (immutable_)
            SetImmutable(false);
        std::error_code ec;
        std::filesystem::permissions(file_, std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::add, ec);
    }
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    bool Held() const { return held_; }

private:
    bool Writable() const { return static_cast<bool>(std::ofstream(file_, std::ios::app)); }

    bool SetImmutable(bool on) const
    {
        const int fd = ::open(file_.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            return false;
        int flags = 0;
        bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        ::close(fd);
        return done;
    }

    std::filesystem::path file_;
    bool immutable_ = false;
    bool held_ = false;
};

/// Pins TZ to Berlin (so that daylight-saving changes are real) and gives each test a fresh
/// folder that is removed afterwards.
class StoreFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        setenv("TZ", "Europe/Berlin", 1);
        tzset();
        std::random_device rd;
        dir_ = std::filesystem::temp_directory_path() /
               ("tv-store-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override
    {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    const std::filesystem::path& Dir() const { return dir_; }

private:
    std::filesystem::path dir_;
};

} // namespace platform::store::test
