#pragma once

#include "platform/runtime/Error.h"
#include "platform/win/FileIo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <time.h>
#include <unistd.h>

namespace platform::win::testing {

/// Sets an environment variable for one scope and restores the old state afterwards.
class ScopedEnv
{
public:
    ScopedEnv(const char* name, const char* value) : name_(name)
    {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        if (value != nullptr) {
            ::setenv(name, value, 1);
        } else {
            ::unsetenv(name);
        }
    }
    ~ScopedEnv()
    {
        if (old_) {
            ::setenv(name_.c_str(), old_->c_str(), 1);
        } else {
            ::unsetenv(name_.c_str());
        }
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_;
    std::optional<std::string> old_;
};

/// Pins TZ and locale and gives each test a fresh temporary folder that is also the per-user
/// configuration folder (XDG_CONFIG_HOME).
class WinFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ::setenv("TZ", "Europe/Berlin", 1);
        ::tzset();
        std::setlocale(LC_ALL, "C");
        auto pattern = (std::filesystem::temp_directory_path() / "tv-win-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
        config_.emplace("XDG_CONFIG_HOME", root_.c_str());
    }

    void TearDown() override
    {
        config_.reset();
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }

    /// The temporary folder of this test.
    const std::filesystem::path& root() const { return root_; }

    /// Writes raw bytes into a file below the temporary folder and returns its path.
    std::filesystem::path writeRaw(const std::string& name, const std::string& bytes) const
    {
        const auto path = root_ / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    /// A write call that lets `allowed` bytes through and then reports a full disk.
    static WriteFunction diskFullAfter(std::size_t allowed)
    {
        return [allowed](int fd, const char* data, std::size_t size) mutable -> ssize_t {
            if (allowed == 0) {
                errno = ENOSPC;
                return -1;
            }
            const auto n = std::min(size, allowed);
            allowed -= n;
            return ::write(fd, data, n);
        };
    }

    /// Runs `body` and returns the number of the runtime error it raised (0 when none).
    template <class Body> static std::int32_t errorNumberOf(Body&& body)
    {
        try {
            body();
        } catch (const platform::runtime::Error& error) {
            return error.Number();
        }
        return 0;
    }

    /// The raw bytes of a file.
    static std::string readRaw(const std::filesystem::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

private:
    std::filesystem::path root_;
    std::optional<ScopedEnv> config_;
};

} // namespace platform::win::testing
