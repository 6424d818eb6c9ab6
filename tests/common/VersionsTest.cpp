#include "CommonFixture.h"

#include "common/modMain.h"
#include "common/modOLVersion.h"
#include "common/modOSVersionsInfo.h"
#include "common/modOutlookCalendar.h"
#include "platform/outlook/Application.h"
#include "platform/win/OsVersion.h"
#include "platform/win/Registry.h"
#include "platform/win/RegistryValue.h"

namespace {

namespace mm = common::modMain;
namespace win = platform::win;

class VersionsTest : public CommonFixture
{
protected:
    void TearDown() override
    {
        mm::G() = {};
        common::modOLVersion::ResetOutlookVersion();
        CommonFixture::TearDown();
    }
    static void SetVersion(const std::string& sVersion)
    {
        common::modOLVersion::ResetOutlookVersion();
        mm::G().g_oOutlookApp = std::make_shared<platform::outlook::Application>(sVersion);
    }
};

TEST_F(VersionsTest, ClientVersionIsTheMajorNumberOfItsVersionText)
{
    EXPECT_EQ(common::modOLVersion::GetOutlookVersion(), 0); // no client yet: not cached
    const std::pair<std::string, int> aCases[] = {
        {"9.0.0.2711", 9}, {"8.5", 8}, {"12.0.6423.1000", 12}, {"16.0.4266.1001", 16}, {"x1.0", 0}};
    for (const auto& [sVersion, lMajor] : aCases) {
        SetVersion(sVersion);
        EXPECT_EQ(common::modOLVersion::GetOutlookVersion(), lMajor) << sVersion;
    }
    SetVersion("14.0");
    EXPECT_EQ(common::modOLVersion::GetOutlookVersion(), 14);
    mm::G().g_oOutlookApp->SetVersion("15.0");
    EXPECT_EQ(common::modOLVersion::GetOutlookVersion(), 14); // cached for the add-in's life
}

TEST_F(VersionsTest, FirstDayOfWeekComesFromTheClientsCalendarOptions)
{
    EXPECT_EQ(common::modOutlookCalendar::FirstDayOfWeek(), 0); // no client: system setting
    const std::pair<std::string, int> aCases[] = {{"1", 2}, {"0", 1},  {"6", 7},
                                                  {"7", 0}, {"-1", 0}, {"Montag", 0}};
    for (const auto& [sValue, lExpected] : aCases) {
        SetVersion("12.0.6423.1000");
        win::Registry().write(win::Hive::CurrentUser,
                              "Software\\Microsoft\\Office\\12.0\\Outlook\\Options\\Calendar",
                              "FirstDOW", win::RegistryValue::text(sValue));
        EXPECT_EQ(common::modOutlookCalendar::FirstDayOfWeek(), lExpected) << sValue;
    }
    SetVersion("9.0.0.2711"); // the old versions' key is "9.0"
    win::Registry().write(win::Hive::CurrentUser,
                          "Software\\Microsoft\\Office\\9.0\\Outlook\\Options\\Calendar",
                          "FirstDOW", win::RegistryValue::text("3"));
    EXPECT_EQ(common::modOutlookCalendar::GetFirstDayOfWeek(), 3);
    SetVersion("11.0"); // no value for this version
    EXPECT_EQ(common::modOutlookCalendar::GetFirstDayOfWeek(), -1);
}

TEST_F(VersionsTest, OnlyTheOldSystemsHaveAName)
{
    namespace os = common::modOSVersionsInfo;
    os::InitOSVersionInfoFrom(win::OsVersion{5, 1, 2600, 2, "", "Service Pack 3"});
    EXPECT_EQ(os::GetOSName(), "Windows XP (Service Pack 3)");
    EXPECT_EQ(os::VersionInfo().dwOSVersionInfoSize, 156);
    os::InitOSVersionInfoFrom(win::OsVersion{4, 0, 1381, 2, "", "Service Pack 5"});
    EXPECT_EQ(os::GetOSName(), "Windows NT 4.0 (Service Pack 5)");
    EXPECT_EQ(os::VersionInfo().dwOSVersionInfoSize, 148);
    os::InitOSVersionInfoFrom(win::OsVersion{6, 1, 7601, 2, "", "Service Pack 1"});
    EXPECT_EQ(os::GetOSName(), "");
    os::InitOSVersionInfo(); // this machine: its kernel's numbers, no old name
    EXPECT_GT(os::GetOSMajorVersion(), 0);
    EXPECT_EQ(os::GetOSName(), "");
}

} // namespace
