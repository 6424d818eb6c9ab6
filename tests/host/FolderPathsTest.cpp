#include "host/FolderPaths.h"
#include "host/HostOptions.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

TEST(FolderPathsTest, FolderOptionsRepeatInOrder)
{
    const auto o = host::ParseOptions({"--folder", "A/B", "--template", "T", "--folder", "C"});
    EXPECT_EQ(o.vFolders, (std::vector<std::string>{"A/B", "C"}));
    EXPECT_TRUE(host::ParseOptions({}).vFolders.empty());
    EXPECT_THROW(host::ParseOptions({"--folder"}), std::invalid_argument);
}

TEST(FolderPathsTest, PathsSplitAtSlashesThatAreNotEscaped)
{
    struct Case
    {
        std::string sPath;
        std::vector<std::string> vNames;
    };
    const std::vector<Case> vCases = {
        {"Persönliche Ordner/Kalender", {"Persönliche Ordner", "Kalender"}},
        {"Archiv", {"Archiv"}},
        {"A\\/B/C", {"A/B", "C"}},
        {"A\\\\/B", {"A\\", "B"}},
        {"a\\\\\\/b/c d/e", {"a\\/b", "c d", "e"}},
    };
    for (const auto& c : vCases)
        EXPECT_EQ(host::SplitFolderPath(c.sPath), c.vNames) << c.sPath;
}

TEST(FolderPathsTest, MalformedPathsAreRefused)
{
    for (const char* sPath : {"", "/A", "A/", "A//B", "A\\x", "A\\", "\\"})
        EXPECT_THROW(host::SplitFolderPath(sPath), std::invalid_argument) << sPath;
}

} // namespace
