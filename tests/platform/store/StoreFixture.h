#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <random>
#include <string>

namespace platform::store::test {

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
