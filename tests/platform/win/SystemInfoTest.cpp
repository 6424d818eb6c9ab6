#include "platform/win/Desktop.h"
#include "platform/win/ModuleFolder.h"
#include "platform/win/OsVersion.h"

#include "WinFixture.h"

#include <dlfcn.h>
#include <filesystem>
#include <sys/utsname.h>

namespace platform::win {
namespace {

TEST(OsVersionTest, ReleaseNumbersBecomeTheVersion)
{
    struct Case
    {
        const char* release;
        std::uint32_t major;
        std::uint32_t minor;
        std::uint32_t build;
    };
    for (const auto& c : {Case{"6.1.0-18-amd64", 6, 1, 0}, Case{"5.15.153.1-microsoft", 5, 15, 153},
                          Case{"6.8", 6, 8, 0}, Case{"7", 7, 0, 0}, Case{"", 0, 0, 0},
                          Case{"x.1", 0, 0, 0}, Case{"4.x", 4, 0, 0}}) {
        const auto version = osVersionFrom("Linux", c.release, "#1 SMP");
        EXPECT_EQ(version.major, c.major) << c.release;
        EXPECT_EQ(version.minor, c.minor) << c.release;
        EXPECT_EQ(version.build, c.build) << c.release;
        EXPECT_EQ(version.platform, "Linux");
        EXPECT_EQ(version.servicePack, "#1 SMP");
        EXPECT_EQ(version.platformId, kPosixPlatform);
    }
}

TEST(OsVersionTest, RunningSystemMatchesUname)
{
    utsname name{};
    ASSERT_EQ(::uname(&name), 0);
    const auto version = queryOsVersion();
    EXPECT_EQ(version.platform, name.sysname);
    EXPECT_EQ(std::to_string(version.major) + "." + std::to_string(version.minor),
              std::string(name.release)
                  .substr(0, std::to_string(version.major).size() + 1 +
                                 std::to_string(version.minor).size()));
    // Neither platform the system tests for, so no old Windows name applies.
    EXPECT_NE(version.platformId, 1u);
    EXPECT_NE(version.platformId, 2u);
}

TEST(UserNameTest, FollowsTheAccountNotTheEnvironment)
{
    testing::ScopedEnv user("USER", "someone-else");
    const auto name = userName();
    EXPECT_FALSE(name.empty());
    EXPECT_NE(name, "someone-else");
}

TEST(DesktopTest, WindowsLiveUntilDestroyed)
{
    Desktop desktop;
    const auto a = desktop.createWindow({10, 20, 110, 220});
    const auto b = desktop.createWindow();
    EXPECT_NE(a, 0);
    EXPECT_NE(a, b);
    EXPECT_TRUE(desktop.isWindow(a));
    EXPECT_FALSE(desktop.isWindow(0));
    EXPECT_EQ(desktop.windowRect(a), (ScreenRect{10, 20, 110, 220}));
    EXPECT_TRUE(desktop.setWindowRect(b, {1, 2, 3, 4}));
    EXPECT_EQ(desktop.windowRect(b), (ScreenRect{1, 2, 3, 4}));

    EXPECT_TRUE(desktop.destroyWindow(a));
    EXPECT_FALSE(desktop.destroyWindow(a));
    EXPECT_FALSE(desktop.isWindow(a));
    EXPECT_EQ(desktop.windowRect(a), std::nullopt);
    EXPECT_FALSE(desktop.setWindowRect(a, {}));
}

TEST(DesktopTest, ForegroundOnlyForLiveWindows)
{
    Desktop desktop;
    const auto window = desktop.createWindow();
    EXPECT_EQ(desktop.foregroundWindow(), 0);
    EXPECT_FALSE(desktop.setForegroundWindow(window + 1));
    EXPECT_EQ(desktop.foregroundWindow(), 0);
    EXPECT_TRUE(desktop.setForegroundWindow(window));
    EXPECT_EQ(desktop.foregroundWindow(), window);
    desktop.destroyWindow(window);
    EXPECT_EQ(desktop.foregroundWindow(), 0);
}

TEST(DesktopTest, CursorAndScreenMetrics)
{
    Desktop desktop;
    EXPECT_EQ(desktop.cursorPosition(), std::nullopt);
    desktop.setCursorPosition(ScreenPoint{5, 7});
    EXPECT_EQ(desktop.cursorPosition(), (ScreenPoint{5, 7}));
    EXPECT_EQ(desktop.screenWidthTwips(), 15360);
    EXPECT_EQ(desktop.screenHeightTwips(), 11520);
    desktop.setScreenSize(1920, 0);
    EXPECT_EQ(desktop.screenWidthTwips(), 1920 * 15);
    EXPECT_EQ(desktop.screenHeight(), 1);
    EXPECT_EQ(&Desktop::current(), &Desktop::current());
}

void CodeOfThisProgram() {}

TEST(ModuleFolderTest, NamesTheBinaryThatHoldsTheAddress)
{
    const auto oProgram = std::filesystem::read_symlink("/proc/self/exe").parent_path();
    EXPECT_EQ(moduleFolder(reinterpret_cast<const void*>(&CodeOfThisProgram)), oProgram);
    // A function of a shared library lies in that library's folder, not the program's.
    const void* pLibraryCode = dlsym(RTLD_DEFAULT, "getpid");
    ASSERT_NE(pLibraryCode, nullptr);
    const auto oLibrary = moduleFolder(pLibraryCode);
    EXPECT_NE(oLibrary, oProgram);
    EXPECT_TRUE(std::filesystem::exists(oLibrary / "libc.so.6")) << oLibrary;
    EXPECT_TRUE(moduleFolder(nullptr).empty());
}

} // namespace
} // namespace platform::win
