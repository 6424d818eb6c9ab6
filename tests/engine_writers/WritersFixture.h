#pragma once

#include "tests/engine/ReadFixture.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace engine::test {

/// The read fixture (fresh data folder, profile, client object, pinned TZ and locale) with a
/// folder for the files the writers make.
class WritersFixture : public ReadFixture
{
protected:
    /// A path in the test's output folder (which exists).
    std::string OutPath(const std::string& sName) const
    {
        std::filesystem::create_directories(DataDir() / "out");
        return (DataDir() / "out" / sName).string();
    }

    /// The whole content of a file.
    static std::string ReadAll(const std::string& sPath)
    {
        std::ifstream in(sPath, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    /// Writes a file as it stands.
    static void WriteAll(const std::string& sPath, const std::string& sText)
    {
        std::ofstream(sPath, std::ios::binary) << sText;
    }
};

} // namespace engine::test
