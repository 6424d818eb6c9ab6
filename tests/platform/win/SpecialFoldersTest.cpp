#include "platform/win/SpecialFolders.h"

#include "WinFixture.h"

namespace platform::win {
namespace {

using testing::ScopedEnv;

class SpecialFoldersTest : public testing::WinFixture
{
};

TEST_F(SpecialFoldersTest, ApplicationDataFollowsTheEnvironment)
{
    struct Case
    {
        const char* name;
        const char* xdg;
        const char* home;
        std::string expected;
    };
    const std::string xdg = (root() / "cfg").string();
    const std::string xdgSlash = xdg + "/";
    const std::string home = (root() / "home").string();
    const std::string homeSlash = home + "/";
    const std::vector<Case> cases = {
        {"XDG_CONFIG_HOME wins", xdg.c_str(), home.c_str(), xdg},
        {"trailing slash dropped", xdgSlash.c_str(), home.c_str(), xdg},
        {"unset XDG uses HOME", nullptr, home.c_str(), home + "/.config"},
        {"empty XDG uses HOME", "", home.c_str(), home + "/.config"},
        {"relative XDG ignored", "relative/cfg", home.c_str(), home + "/.config"},
        {"HOME with slash", nullptr, homeSlash.c_str(), home + "/.config"},
    };
    for (const auto& c : cases) {
        ScopedEnv x("XDG_CONFIG_HOME", c.xdg);
        ScopedEnv h("HOME", c.home);
        EXPECT_EQ(specialFolderPath(SpecialFolder::ApplicationData), c.expected) << c.name;
        EXPECT_EQ(specialFolderPath(0x1A), c.expected) << c.name;
    }
}

TEST_F(SpecialFoldersTest, NoHomeFallsBackToThePasswordDatabaseNeverARelativePath)
{
    for (const char* home : {static_cast<const char*>(nullptr), "", "relative/home"}) {
        ScopedEnv x("XDG_CONFIG_HOME", nullptr);
        ScopedEnv h("HOME", home);
        const auto path = specialFolderPath(SpecialFolder::ApplicationData);
        // Either the account's home folder or nothing; a relative path would depend on the
        // working directory.
        if (!path.empty()) {
            EXPECT_EQ(path.front(), '/');
            EXPECT_TRUE(path.ends_with("/.config")) << path;
        }
    }
}

TEST_F(SpecialFoldersTest, CommonApplicationDataHasAnOverrideAndAnAbsoluteDefault)
{
    const std::string common = (root() / "common").string();
    {
        ScopedEnv c("TV_COMMON_APPDATA", common.c_str());
        EXPECT_EQ(specialFolderPath(SpecialFolder::CommonApplicationData), common);
        EXPECT_EQ(specialFolderPath(0x23), common);
    }
    ScopedEnv c("TV_COMMON_APPDATA", "relative");
    EXPECT_EQ(specialFolderPath(SpecialFolder::CommonApplicationData), "/var/lib");
}

TEST_F(SpecialFoldersTest, CreateFlagMakesTheFolderWithItsParents)
{
    const auto target = root() / "a" / "b";
    ScopedEnv x("XDG_CONFIG_HOME", target.c_str());
    EXPECT_EQ(specialFolderPath(0x1A), target.string());
    EXPECT_FALSE(std::filesystem::exists(target));
    EXPECT_EQ(specialFolderPath(0x1A | kSpecialFolderCreateFlag), target.string());
    EXPECT_TRUE(std::filesystem::is_directory(target));
}

TEST_F(SpecialFoldersTest, CreationThatFailsGivesEmptyText)
{
    const auto blocker = writeRaw("file", "x");
    ScopedEnv x("XDG_CONFIG_HOME", (blocker / "sub").c_str());
    EXPECT_EQ(specialFolderPath(SpecialFolder::ApplicationData, FolderCreation::Create), "");
}

TEST_F(SpecialFoldersTest, UnknownFolderNumberGivesEmptyText)
{
    EXPECT_EQ(specialFolderPath(5), "");
    EXPECT_EQ(specialFolderPath(0x1C | kSpecialFolderCreateFlag), "");
}

} // namespace
} // namespace platform::win
