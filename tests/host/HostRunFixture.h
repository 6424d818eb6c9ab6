#pragma once

// Runs the host executable with a fresh data folder and collects what it prints.
#include "HostRun.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace host_test {

/// The number of the report grid's item rows the host printed: rows without an outline mark
/// whose first column holds text.
inline int ItemRows(const std::string& sOutput)
{
    int nRows = 0;
    std::size_t nStart = 0;
    while (nStart < sOutput.size()) {
        auto nEnd = sOutput.find('\n', nStart);
        if (nEnd == std::string::npos)
            nEnd = sOutput.size();
        const std::string sLine = sOutput.substr(nStart, nEnd - nStart);
        const auto nFirst = sLine.find_first_not_of(' ');
        if (nFirst != std::string::npos && sLine[nFirst] == '|' &&
            sLine.find_first_not_of(' ', nFirst + 1) < sLine.find('|', nFirst + 1))
            ++nRows;
        nStart = nEnd + 1;
    }
    return nRows;
}

/// A fresh per-user data folder for each test, in which the host makes its sample profile.
class HostRunFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string sTemplate =
            (std::filesystem::temp_directory_path() / "tvhostrun-XXXXXX").string();
        ASSERT_NE(mkdtemp(sTemplate.data()), nullptr);
        oRoot = sTemplate;
    }
    void TearDown() override
    {
        std::error_code ec;
        std::filesystem::remove_all(oRoot, ec);
    }
    /// Runs a shell command line and collects its output (stdout and stderr).
    static RunResult Shell(const std::string& sCommand) { return RunShell(sCommand); }
    /// Runs the host; sInput, when given, is what the person types (one command a line, no
    /// quotes).
    RunResult Run(const std::string& sArgs, const std::string& sInput = {},
                  const std::string& sEnv = {}) const
    {
        return RunTallyman(oRoot, sArgs, sInput, sEnv);
    }
    std::filesystem::path oRoot;
};

} // namespace host_test
