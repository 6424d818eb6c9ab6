#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
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
