#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

/// Pins time zone and locale and gives each test a fresh, empty per-user data folder.
class CommonFixture : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    /// The per-user application-data folder of this test.
    const std::filesystem::path& AppData() const { return m_oAppData; }
    /// Reads a whole file as bytes.
    static std::string ReadFile(const std::filesystem::path& oPath);
    /// Replaces a whole file, creating its folder.
    static void WriteFile(const std::filesystem::path& oPath, const std::string& sBytes);

private:
    std::filesystem::path m_oAppData;
};
