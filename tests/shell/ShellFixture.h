#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

namespace platform::outlook {
class Application;
}

/// Pins time zone, locale and language, gives each test a fresh data folder, and forgets the
/// message boxes and the add-in globals of the test before.
class ShellFixture : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    /// The lines of the add-in's error log, empty when there is none.
    static std::string ErrorLog();
    /// Runs the message loop until the start-up timer has fired (at most a few seconds).
    static bool RunUntilTimerFired();

private:
    std::filesystem::path m_oAppData;
};
