#include "CommonFixture.h"

#include "common/modMain.h"
#include "common/modOLVersion.h"
#include "common/modRedemption.h"
#include "platform/mapi/CurrentProfile.h"
#include "platform/mapi/SafeItem.h"
#include "platform/mapi/Session.h"
#include "platform/mapi/Store.h"
#include "platform/mapi/Stores.h"
#include "platform/mapi/Utils.h"
#include "platform/outlook/Application.h"
#include "platform/outlook/ItemBase.h"
#include "platform/outlook/NameSpace.h"
#include "platform/runtime/Error.h"
#include "platform/store/Profile.h"
#include "platform/store/StoreBuilder.h"

namespace {

namespace st = platform::store;
namespace mm = common::modMain;
namespace red = common::modRedemption;

// Two profiles: the client's namespace opens "Alpha"; the process's current profile is then
// switched to "Beta", so a session of its own opens "Beta" and a take-over "Alpha".
class SessionTest : public CommonFixture
{
protected:
    void SetUp() override
    {
        CommonFixture::SetUp();
        for (const char* sName : {"Alpha", "Beta"}) {
            auto oProfile = st::Profile::Create(AppData() / sName);
            auto oStore = oProfile->CreateStore(sName, st::StoreKind::UnicodePersonal, true);
            st::StoreBuilder(*oStore).DefaultFolder(st::FolderRole::Drafts);
        }
        platform::mapi::SetCurrentProfile((AppData() / "Alpha").string());
    }
    void TearDown() override
    {
        red::ReleaseSession(true);
        mm::G() = {};
        common::modOLVersion::ResetOutlookVersion();
        platform::mapi::SetCurrentProfile("");
        CommonFixture::TearDown();
    }
    void Connect(const std::string& sVersion, bool bWithNameSpace)
    {
        mm::G().g_oOutlookApp = std::make_shared<platform::outlook::Application>(sVersion);
        if (bWithNameSpace) {
            mm::G().g_oNameSpace = mm::G().g_oOutlookApp->GetNamespace("MAPI");
            mm::G().g_oNameSpace->MAPIOBJECT(); // the client's session is open on "Alpha"
        }
        platform::mapi::SetCurrentProfile((AppData() / "Beta").string());
    }
    static std::string OpenedStore()
    {
        return red::g_Session()->GetStores()->DefaultStore()->Name();
    }
};

TEST_F(SessionTest, OldClientsGetASessionOfTheirOwn)
{
    Connect("9.0.0.2711", true);
    EXPECT_EQ(OpenedStore(), "Beta");
}

TEST_F(SessionTest, NewerClientsShareTheClientsSession)
{
    Connect("10.0.2627.1", true);
    EXPECT_EQ(OpenedStore(), "Alpha");
}

TEST_F(SessionTest, WithoutNameSpaceTheSessionLogsOnByItself)
{
    Connect("16.0.4266.1001", false);
    EXPECT_EQ(OpenedStore(), "Beta");
}

TEST_F(SessionTest, SecondCallReusesTheOpenSession)
{
    Connect("16.0.4266.1001", true);
    auto oFirst = red::g_Session();
    platform::mapi::SetCurrentProfile("");
    EXPECT_EQ(red::g_Session(), oFirst);
    EXPECT_EQ(OpenedStore(), "Alpha");
    EXPECT_FALSE(red::OwnLogon());
}

TEST_F(SessionTest, ReleaseKeepsTheClientsSessionOpen)
{
    Connect("16.0.4266.1001", true);
    auto oSession = red::g_Session();
    red::ReleaseSession(true);
    EXPECT_TRUE(oSession->LoggedOn()); // released, never logged off
    EXPECT_NE(red::g_Session(), oSession);
}

TEST_F(SessionTest, FailedLogonNamesTheChainOfProcedures)
{
    Connect("9.0", false);
    platform::mapi::SetCurrentProfile("");
    try {
        red::g_Session();
        ADD_FAILURE() << "no error without a profile";
    } catch (const platform::runtime::Error& e) {
        EXPECT_TRUE(e.Source().ends_with("; Tolvane2.modRedemption.Logon (4); "
                                         "Tolvane2.modRedemption.g_Session (0)"))
            << e.Source();
    }
}

TEST_F(SessionTest, SafeWrappersAreNamedAfterTheItemsTypeWithoutItsSuffix)
{
    EXPECT_EQ(red::SafeItemProgId("MailItem"), "ardex.sfMail");
    EXPECT_EQ(red::SafeItemProgId("ContactItem"), "ardex.sfContact");
    EXPECT_EQ(red::SafeItemProgId("TASKITEM"), "ardex.sfTASK");
    EXPECT_EQ(red::SafeItemProgId("Recipient"), "ardex.sfRecipient");
    EXPECT_EQ(red::SafeItemProgId("Item"), "ardex.sf");
}

TEST_F(SessionTest, SafeWrapperHoldsTheItemUntilReleased)
{
    Connect("16.0", true);
    auto oMail = mm::G().g_oOutlookApp->CreateItem(0);
    EXPECT_EQ(red::GetSafeItem(nullptr), nullptr);
    auto oSafe = red::GetSafeItem(oMail);
    ASSERT_NE(oSafe, nullptr);
    EXPECT_EQ(oSafe->TypeName(), "sfMail");
    EXPECT_FALSE(oSafe->Item().IsNothing());
    auto oKept = oSafe;
    red::ReleaseSafeItem(oSafe);
    EXPECT_EQ(oSafe, nullptr);
    EXPECT_TRUE(oKept->Item().IsNothing());
    EXPECT_NE(red::GetSafeUtils(), nullptr);
}

} // namespace
