#include "PickerFixture.h"

#include "common/ErrorHandling.h"
#include "common/ErrorObject.h"
#include "common/modMain.h"
#include "folderpicker/DefaultFolders.h"
#include "folderpicker/Enumerations.h"
#include "folderpicker/Item.h"
#include "folderpicker/Stores.h"
#include "folderpicker/detail/modOLVersion.h"
#include "folderpicker/detail/modRedemption.h"
#include "platform/forms/StandardControls.h"
#include "platform/mapi/CurrentProfile.h"
#include "platform/mapi/Folder.h"
#include "platform/mapi/Session.h"
#include "platform/outlook/Application.h"
#include "platform/outlook/NameSpace.h"
#include "platform/runtime/Error.h"
#include "platform/win/Desktop.h"

#include <gmock/gmock.h>

namespace folderpicker::test {
namespace {

namespace rt = platform::runtime;
using ::testing::ElementsAre;

class DialogTest : public PickerFixture
{
};

TEST_F(DialogTest, InitSetsEveryDefaultAndStartsOver)
{
    Dialog oDialog;
    EXPECT_EQ(oDialog.ChunkSize(), 0);
    EXPECT_EQ(oDialog.ShowStoreKind(), 0);
    EXPECT_EQ(oDialog.LimitStores(), nullptr);
    EXPECT_EQ(oDialog.DefaultFolders(), nullptr);
    for (int nRound = 0; nRound < 2; ++nRound) {
        oDialog.Init(nRound == 0 ? m_oClient : nullptr);
        EXPECT_EQ(oDialog.ChunkSize(), 100);
        EXPECT_EQ(oDialog.ShowStoreKind(), 511);
        EXPECT_FALSE(oDialog.DefaultStoreOnly());
        EXPECT_FALSE(oDialog.GetExchangeStores());
        ASSERT_NE(oDialog.LimitStores(), nullptr);
        EXPECT_EQ(oDialog.LimitStores()->Count(), 0);
        ASSERT_NE(oDialog.DefaultFolders(), nullptr);
        EXPECT_EQ(oDialog.DefaultFolders()->Count(), 0);
        EXPECT_EQ(common::modMain::G().g_oOutlookApp, nRound == 0 ? m_oClient : nullptr);
        oDialog.LimitStores()->Add("x");
        oDialog.DefaultFolders()->Add("e", "s");
        oDialog.SetChunkSize(-5);
        EXPECT_EQ(oDialog.ChunkSize(), 0);
        oDialog.SetDefaultStoreOnly(true);
    }
    oDialog.Dispose();
    EXPECT_EQ(oDialog.LimitStores(), nullptr);
    EXPECT_EQ(common::modMain::G().g_oOutlookApp, nullptr);
}

TEST_F(DialogTest, WithoutAClientTheSessionLogsOnByItself)
{
    auto oDialog = std::make_shared<Dialog>();
    oDialog->Init(nullptr);
    auto oResult = Pick(
        [&](frmDialog& w) {
            w.fg().UserToggleCheck(RowOf(w, "Postfach Anna"), 0);
            Button(w, "cmdOK").Click();
        },
        oDialog);
    ASSERT_NE(oResult, nullptr);
    EXPECT_THAT(Names(*oResult), ElementsAre("Postfach Anna"));
    // The picked items outlive their dialog: they hold texts only, and a new session logs on.
    oDialog.reset();
    const auto oItem = oResult->Item(rt::Variant(1));
    const auto oFolder = oItem->GetFolder();
    ASSERT_NE(oFolder, nullptr);
    EXPECT_EQ(oFolder->EntryID(), Anna().RootFolder().entryId);
}

TEST_F(DialogTest, LanguageIsGermanUnlessEnglishIsAsked)
{
    Dialog oDialog;
    EXPECT_EQ(oDialog.ToILanguage().LanguageID(), 1031);
    for (const auto& [lSet, lExpected] :
         std::vector<std::pair<long, long>>{{1033, 1033}, {1031, 1031}, {1036, 1031}, {0, 1031}}) {
        oDialog.ToILanguage().SetLanguageID(lSet);
        EXPECT_EQ(oDialog.ToILanguage().LanguageID(), lExpected) << lSet;
    }
    EXPECT_TRUE(oDialog.ToILanguage().SupportedLanguages().empty());
}

TEST_F(DialogTest, ResultKeepsOrderAndAnswersNothingForUnknownEntries)
{
    Result oResult;
    for (const char* sName : {"a", "b", "c"}) {
        auto oItem = std::make_shared<Item>();
        oItem->Init(detail::modRedemption::g_Session()->GetFolderFromID(
                        m_oCalendar.entryId, rt::Variant(Personal().EntryId())),
                    1, sName);
        oResult.Add(oItem);
    }
    EXPECT_EQ(oResult.Count(), 3);
    EXPECT_THAT(Names(oResult), ElementsAre("a", "b", "c"));
    EXPECT_EQ(oResult.Item(rt::Variant("0"))->Name(), "a");
    EXPECT_EQ(oResult.Item(rt::Variant(3))->Key(), "2");
    EXPECT_EQ(oResult.Item(rt::Variant(2))->Parent(), &oResult);
    for (const rt::Variant& vIndex : {rt::Variant(0), rt::Variant(4), rt::Variant("9"),
                                      rt::Variant("x"), rt::Variant(rt::Null{})})
        EXPECT_EQ(oResult.Item(vIndex), nullptr);
    auto oKept = oResult.Item(rt::Variant(1));
    {
        Result oGone;
        oGone.Add(oKept);
    }
    EXPECT_EQ(oKept->Parent(), nullptr) << "a released result resets its items' links";
}

TEST_F(DialogTest, StoresAndDefaultFoldersKeepWhatTheCallerGives)
{
    Stores oStores;
    oStores.Add("00ABC");
    oStores.Add("00abc");
    oStores.Add("00DEF");
    EXPECT_EQ(oStores.Count(), 2);
    EXPECT_EQ(oStores.Item(rt::Variant("00Abc")), "00ABC");
    EXPECT_EQ(oStores.Item(rt::Variant(2)), "00DEF");
    EXPECT_EQ(oStores.Item(rt::Variant("nix")), "");
    EXPECT_EQ(oStores.Item(rt::Variant(3)), "");
    oStores.Clear();
    EXPECT_EQ(oStores.Count(), 0);

    DefaultFolders oFolders;
    oFolders.Add("e1", "s1");
    oFolders.Add("e1", "s1");
    oFolders.Add("e2", "s2");
    EXPECT_EQ(oFolders.Count(), 3);
    EXPECT_TRUE(oFolders.Contains("e2", "s2"));
    EXPECT_FALSE(oFolders.Contains("e2", "s1"));
    EXPECT_FALSE(oFolders.Contains("E1", "s1"));
    oFolders.Clear();
    EXPECT_EQ(oFolders.Count(), 0);
}

TEST_F(DialogTest, OwnErrorsUseTheLibrarysBaseTitleAndLog)
{
    common::ErrorObject oError;
    EXPECT_EQ(oError.GetMessageText(ERR_READ_FOLDER),
              "Einige Ordner konnten nicht geöffnet werden.");
    NewDialog()->ToILanguage().SetLanguageID(1033);
    EXPECT_EQ(oError.GetMessageText(ERR_READ_FOLDER), "Could not open some folders.");
    EXPECT_EQ(oError.AppTitle(), "Tallyman");
    try {
        common::Rethrowing("Dialog", "PickFolder", [](int& nLine) {
            nLine = 5;
            throw rt::Error(13, "Quelle", "Kaputt");
        });
    } catch (const rt::Error& e) {
        EXPECT_EQ(e.Source(), "Quelle; Heronwood7.Dialog.PickFolder (5)");
    }

    // Item.Init does not raise: a folder that fails while it is read is written to the
    // library's log with its name, and the item is not made.
    auto oFolder = detail::modRedemption::g_Session()->GetFolderFromID(
        m_oInbox.entryId, rt::Variant(Personal().EntryId()));
    ASSERT_NE(oFolder, nullptr);
    ASSERT_EQ(ErrorLog(), "");
    BreakStore("Persönliche Ordner");
    Item oItem;
    EXPECT_FALSE(oItem.Init(oFolder, 1, "Eingang"));
    EXPECT_THAT(ErrorLog(), ::testing::HasSubstr("Heronwood7.Item.Init (4)"));
    EXPECT_THAT(ErrorLog(), ::testing::HasSubstr("App: Heronwood7"));
    EXPECT_THAT(ErrorLog(), ::testing::HasSubstr("- Folder name: Eingang"));
}

TEST_F(DialogTest, PickingWithoutAProfileRaisesAndLeavesNoWindow)
{
    auto oDialog = NewDialog();
    platform::mapi::SetCurrentProfile((m_oDir / "nowhere").string());
    // Window handles count up: the picker's window takes the one after this probe.
    auto& oDesktop = platform::win::Desktop::current();
    const auto hProbe = oDesktop.createWindow();
    oDesktop.destroyWindow(hProbe);
    try {
        oDialog->PickFolder();
        ADD_FAILURE() << "nothing was raised";
    } catch (const rt::Error& e) {
        EXPECT_THAT(e.Source(), ::testing::HasSubstr("Heronwood7.modRedemption.g_Session"));
        EXPECT_THAT(e.Source(), ::testing::EndsWith("Heronwood7.Dialog.PickFolder (0)"));
    }
    const auto hNext = oDesktop.createWindow();
    EXPECT_GT(hNext, hProbe + 1) << "the picker's window was never made";
    EXPECT_FALSE(oDesktop.isWindow(hProbe + 1));
    oDesktop.destroyWindow(hNext);
}

TEST_F(DialogTest, VersionsTenToTwelveTakeOverTheClientsSessionOthersLogOnByThemselves)
{
    const auto oProfile = (m_oDir / "profile").string();
    for (const auto& [sVersion, bTakeOver] :
         {std::pair{"9.0.0", false}, std::pair{"10.0.0", true}, std::pair{"11.0.0", true},
          std::pair{"12.0.0", true}, std::pair{"16.0.0", false}}) {
        SCOPED_TRACE(sVersion);
        platform::mapi::SetCurrentProfile(oProfile);
        detail::modOLVersion::ResetOutlookVersion();
        Dialog oDialog;
        oDialog.Init(std::make_shared<platform::outlook::Application>(sVersion));
        // The client is logged on; a logon of the library's own would find no profile now.
        ASSERT_TRUE(common::modMain::G().g_oNameSpace);
        common::modMain::G().g_oNameSpace->MAPIOBJECT();
        platform::mapi::SetCurrentProfile((m_oDir / "nowhere").string());
        if (bTakeOver) {
            EXPECT_TRUE(detail::modRedemption::g_Session()->LoggedOn());
        } else {
            EXPECT_THROW(detail::modRedemption::g_Session(), rt::Error);
        }
        oDialog.Dispose();
    }
    platform::mapi::SetCurrentProfile(oProfile);
}

TEST_F(DialogTest, KnownClientVersionsShareTheClientsSession)
{
    struct Case
    {
        const char* sVersion;
        std::int32_t lExpected;
    };
    for (const Case& c :
         {Case{"8.5.1", 8}, Case{"9.0.0", 9}, Case{"10.0", 10}, Case{"11.0", 11},
          Case{"12.0.4518", 12}, Case{"14.0.0", 0}, Case{"16.0.1", 0}, Case{"7.0", 0}}) {
        detail::modOLVersion::ResetOutlookVersion();
        common::modMain::G().g_oOutlookApp =
            std::make_shared<platform::outlook::Application>(c.sVersion);
        EXPECT_EQ(detail::modOLVersion::GetOutlookVersion(), c.lExpected) << c.sVersion;
    }
    // A 0 is asked anew; a known version is kept.
    common::modMain::G().g_oOutlookApp = std::make_shared<platform::outlook::Application>("12.0");
    EXPECT_EQ(detail::modOLVersion::GetOutlookVersion(), 12);
    common::modMain::G().g_oOutlookApp = std::make_shared<platform::outlook::Application>("9.0");
    EXPECT_EQ(detail::modOLVersion::GetOutlookVersion(), 12);
    common::modMain::G().g_oOutlookApp.reset();
    detail::modOLVersion::ResetOutlookVersion();
    EXPECT_EQ(detail::modOLVersion::GetOutlookVersion(), 0);
}

} // namespace
} // namespace folderpicker::test
