#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

/// Pins time zone, locale and UI language (German unless a test switches) and gives each
/// test a fresh per-user data folder; the grid's words and enumeration texts are loaded.
class GridFixture : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    /// Switches locale and UI language together ("de-DE" with 1031, "en-US" with 1033) and
    /// reloads the grid's words and enumeration texts.
    static void UseLanguage(const std::string& sLocale, long lLanguage);

private:
    std::filesystem::path m_oAppData;
};
