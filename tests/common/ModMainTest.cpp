#include "CommonFixture.h"

#include "common/IChild.h"
#include "common/modMain.h"
#include "common/modSpecialFolder2.h"

#include <memory>

namespace mm = common::modMain;

namespace {

using ModMainTest = CommonFixture;

struct Parent : platform::runtime::Object
{
    int nValue = 7;
};
struct Child : common::ChildLink<Parent>
{
};

TEST_F(ModMainTest, ControlIdsCountUpFromOne)
{
    const auto lFirst = mm::NextControlId();
    EXPECT_EQ(mm::NextControlId(), lFirst + 1);
    EXPECT_EQ(mm::NextControlId(), lFirst + 2);
}

TEST_F(ModMainTest, AddBackslashAddsOneSeparatorToNonEmptyPaths)
{
    for (auto [sIn, sOut] :
         {std::pair<std::string, std::string>{"", ""}, {"/a", "/a/"}, {"/a/", "/a/"}}) {
        mm::AddBackslash(sIn);
        EXPECT_EQ(sIn, sOut);
    }
}

TEST_F(ModMainTest, DataFolderAndRegistryPathCarryTheApplicationTitle)
{
    EXPECT_EQ(mm::GetUserDataPath(), (AppData() / "Kestrova/Tallyman/").string());
    EXPECT_EQ(mm::GetSettingsKeyPath(), "Software\\Kestrova\\Tallyman\\Settings\\");
    EXPECT_EQ(common::modSpecialFolder2::GetSpecialFolderPath(26, false), AppData().string());
}

TEST_F(ModMainTest, DataFolderIsNeverRelativeToTheWorkingDirectory)
{
    const std::string sHome = getenv("HOME") ? getenv("HOME") : "";
    unsetenv("XDG_CONFIG_HOME");
    setenv("HOME", AppData().c_str(), 1);
    const std::string sPath = mm::GetUserDataPath();
    setenv("HOME", sHome.c_str(), 1);
    EXPECT_EQ(sPath.front(), '/');
    EXPECT_TRUE(sPath.ends_with("/Kestrova/Tallyman/"));
}

TEST_F(ModMainTest, ChildForgetsItsParentOnReset)
{
    auto oParent = std::make_shared<Parent>();
    Child oChild;
    oChild.Init(oParent.get(), "key1");
    ASSERT_NE(oChild.Parent(), nullptr);
    EXPECT_EQ(oChild.Parent()->nValue, 7);
    EXPECT_EQ(oChild.Key(), "key1");
    EXPECT_EQ(oParent.use_count(), 1); // the link does not keep the parent alive
    mm::ResetParentPtrOf(&oChild);
    EXPECT_EQ(oChild.Parent(), nullptr);
    mm::ResetParentPtrOf(nullptr); // does nothing
}

TEST_F(ModMainTest, GlobalsStartEmpty)
{
    const auto& g = mm::G();
    EXPECT_EQ(g.g_oApplication, nullptr);
    EXPECT_EQ(g.g_oOutlookApp, nullptr);
    EXPECT_FALSE(g.g_bAddingExplorers);
    EXPECT_EQ(g.g_lReportFileVersion, -1);
}

} // namespace
