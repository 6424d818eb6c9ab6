#include "PickerFixture.h"

#include "folderpicker/Enumerations.h"
#include "folderpicker/Item.h"
#include "folderpicker/Stores.h"
#include "folderpicker/detail/modRedemption.h"
#include "platform/forms/Driver.h"
#include "platform/forms/StandardControls.h"
#include "platform/runtime/Strings.h"

#include <gmock/gmock.h>

namespace folderpicker::test {
namespace {

namespace pf = platform::forms;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

class frmDialogTest : public PickerFixture
{
protected:
    static pf::CheckBox& Subfolders(frmDialog& oWindow)
    {
        return dynamic_cast<pf::CheckBox&>(*oWindow.FindControl("chkSubfolder"));
    }
    static void Tick(frmDialog& oWindow, int lRow) { oWindow.fg().UserToggleCheck(lRow, 0); }
    static void Expand(frmDialog& oWindow, int lRow) { oWindow.fg().UserToggleNode(lRow); }
    // Whether OK, the subfolder box and Reset are all enabled (true) or all disabled (false).
    static bool ButtonsEnabled(frmDialog& oWindow)
    {
        const bool bOK = Button(oWindow, "cmdOK").Enabled();
        EXPECT_EQ(Subfolders(oWindow).Enabled(), bOK);
        EXPECT_EQ(Button(oWindow, "cmdReset").Enabled(), bOK);
        return bOK;
    }
    static const std::string kReadError;
};

const std::string frmDialogTest::kReadError = "Einige Ordner konnten nicht geöffnet werden.";

TEST_F(frmDialogTest, OpensWithEveryStoreAndItsFirstFolderLevel)
{
    std::vector<std::string> vTexts;
    std::vector<int> vLevels;
    auto oResult = Pick([&](frmDialog& w) {
        vTexts = RowTexts(w);
        for (int r = 0; r < w.fg().Rows(); ++r)
            vLevels.push_back(w.fg().RowOutlineLevel(r));
        EXPECT_EQ(w.Caption(), " Ordner auswählen");
        EXPECT_EQ(Subfolders(w).Caption(), "&Unterordner durchsuchen");
        EXPECT_FALSE(ButtonsEnabled(w));
        EXPECT_EQ(w.fg().IsCollapsed(RowOf(w, "Posteingang")), pf::OutlineState::Collapsed);
        EXPECT_EQ(w.fg().CellChecked(0, 0), pf::CheckState::TreeUnchecked);
        EXPECT_EQ(w.fg().CellChecked(2, 0), pf::CheckState::None) << "a placeholder has no box";
        EXPECT_TRUE(w.fg().RowData(2).IsEmpty());
        Button(w, "cmdCancel").Click();
    });
    EXPECT_EQ(oResult, nullptr);
    EXPECT_THAT(vTexts,
                ElementsAre(" Persönliche Ordner", " Posteingang (12)", "", " Kalender (3)",
                            " Aufgaben (0)", " Postfach Anna", " Kalender (2)", " Projekte (0)", "",
                            " Öffentliche Ordner", " Alle Ordner (0)", "", " Postfach Bernd",
                            " Kalender (1)", " Archiv", " 2023 (0)"));
    EXPECT_THAT(vLevels, ElementsAre(0, 1, 2, 1, 1, 0, 1, 1, 2, 0, 1, 2, 0, 1, 0, 1));
    EXPECT_THAT(Messages(), IsEmpty());
}

TEST_F(frmDialogTest, TextsFollowTheLanguage)
{
    struct Case
    {
        long lLanguage;
        const char* sCaption;
        const char* sSubfolders;
        const char* sCancel;
    };
    for (const Case& c : {Case{1031, " Ordner auswählen", "&Unterordner durchsuchen", "Abbrechen"},
                          Case{1033, " Select folder", "Search s&ubfolders", "Cancel"}}) {
        auto oDialog = NewDialog();
        oDialog->ToILanguage().SetLanguageID(c.lLanguage);
        Pick(
            [&](frmDialog& w) {
                EXPECT_EQ(w.Caption(), c.sCaption);
                EXPECT_EQ(Subfolders(w).Caption(), c.sSubfolders);
                EXPECT_EQ(Button(w, "cmdCancel").Caption(), c.sCancel);
                EXPECT_EQ(w.fg().FontSize(), 8);
            },
            oDialog);
    }
}

TEST_F(frmDialogTest, ExpandingReadsTheSubfoldersOnceInThePlaceholdersPlace)
{
    Pick([&](frmDialog& w) {
        const int lInbox = RowOf(w, "Posteingang");
        Expand(w, lInbox);
        const auto vTexts = RowTexts(w);
        EXPECT_THAT(std::vector<std::string>(vTexts.begin() + lInbox, vTexts.begin() + lInbox + 5),
                    ElementsAre(" Posteingang (12)", " Anfragen (0)", "", " Erledigt (0)",
                                " Kalender (3)"));
        EXPECT_EQ(w.fg().RowOutlineLevel(lInbox + 1), 2);
        EXPECT_EQ(w.fg().RowOutlineLevel(lInbox + 2), 3);
        EXPECT_EQ(w.fg().RowOutlineLevel(lInbox + 3), 2);
        const int lRows = w.fg().Rows();
        Expand(w, lInbox);
        Expand(w, lInbox);
        EXPECT_EQ(w.fg().Rows(), lRows) << "a second expansion reads nothing";
        // A double click toggles the current row.
        w.fg().SetRow(lInbox + 1);
        w.fg().UserDoubleClick();
        EXPECT_EQ(w.fg().TextMatrix(lInbox + 2, 0), " Alt (0)");
        EXPECT_EQ(w.fg().RowOutlineLevel(lInbox + 2), 3);
        EXPECT_EQ(w.fg().RowOutlineLevel(lInbox + 3), 4);
        EXPECT_EQ(w.fg().IsCollapsed(lInbox + 1), pf::OutlineState::Expanded);
    });
    EXPECT_THAT(Messages(), IsEmpty());
}

TEST_F(frmDialogTest, CheckedCounterCountsTickedFolderRowsOnly)
{
    Pick([&](frmDialog& w) {
        const int lCalendar = RowOf(w, "Kalender");
        const int lInbox = RowOf(w, "Posteingang");
        Tick(w, lCalendar);
        EXPECT_EQ(w.CheckedCount(), 1);
        EXPECT_TRUE(ButtonsEnabled(w));
        Tick(w, lCalendar);
        EXPECT_EQ(w.CheckedCount(), 0);
        EXPECT_FALSE(ButtonsEnabled(w));
        // A placeholder gets a box and can be ticked, but it is no folder.
        Tick(w, lInbox + 1);
        Tick(w, lInbox + 1);
        EXPECT_EQ(w.fg().CellChecked(lInbox + 1, 0), pf::CheckState::TreeChecked);
        EXPECT_EQ(w.CheckedCount(), 0);
        EXPECT_FALSE(ButtonsEnabled(w));
        // The folder loaded in the ticked placeholder's place comes unticked.
        Expand(w, lInbox);
        EXPECT_EQ(w.fg().CellChecked(lInbox + 1, 0), pf::CheckState::TreeUnchecked);
        EXPECT_EQ(w.CheckedCount(), 0);
        Tick(w, lInbox);
        Tick(w, lInbox + 1);
        Tick(w, RowOf(w, "Postfach Bernd"));
        EXPECT_EQ(w.CheckedCount(), 3);
        Button(w, "cmdReset").Click();
        EXPECT_EQ(w.CheckedCount(), 0);
        EXPECT_FALSE(ButtonsEnabled(w));
        for (int r = 0; r < w.fg().Rows(); ++r)
            EXPECT_NE(w.fg().CellChecked(r, 0), pf::CheckState::TreeChecked) << r;
    });
}

TEST_F(frmDialogTest, OkReturnsTheTickedRowsTopToBottom)
{
    int lRowsBefore = 0;
    int lRowsAfter = 0;
    auto oResult = Pick([&](frmDialog& w) {
        Tick(w, RowOf(w, "Kalender", RowOf(w, "Postfach Bernd")));
        Tick(w, RowOf(w, "Posteingang"));
        Tick(w, RowOf(w, "Persönliche Ordner"));
        lRowsBefore = w.fg().Rows();
        Button(w, "cmdOK").Click();
        lRowsAfter = w.fg().Rows();
        EXPECT_FALSE(w.IsLoaded());
    });
    ASSERT_NE(oResult, nullptr);
    EXPECT_THAT(Names(*oResult), ElementsAre("Persönliche Ordner", "Posteingang", "Kalender"));
    EXPECT_EQ(lRowsAfter, lRowsBefore) << "a collapsed folder's subfolders are not read";
    const auto oRoot = oResult->Item(platform::runtime::Variant(1));
    EXPECT_EQ(oRoot->EntryID(), Personal().RootFolder().entryId);
    EXPECT_EQ(oRoot->StoreID(), Personal().EntryId());
    const auto oInbox = oResult->Item(platform::runtime::Variant("1"));
    EXPECT_EQ(oInbox->EntryID(), m_oInbox.entryId);
    EXPECT_EQ(oInbox->ItemsCount(), 12);
    EXPECT_TRUE(oInbox->HasChilds());
    EXPECT_EQ(oResult->Item(platform::runtime::Variant(3))->EntryID(), m_oBerndCalendar.entryId);
    EXPECT_FALSE(oResult->Item(platform::runtime::Variant(3))->HasChilds());
    EXPECT_THAT(Messages(), IsEmpty());
}

TEST_F(frmDialogTest, WithSubfoldersEveryFolderBelowATickedOneComesOnce)
{
    struct Case
    {
        const char* sName;
        std::vector<std::string> vTick; // names ticked in this order, expanding "Posteingang"
        std::vector<std::string> vExpected;
    };
    const std::vector<Case> vCases = {
        {"a store never expanded",
         {"Persönliche Ordner"},
         {"Persönliche Ordner", "Posteingang", "Anfragen", "Alt", "Uralt", "Erledigt", "Kalender",
          "Aufgaben"}},
        {"a folder and its subfolder",
         {"Posteingang", "Anfragen"},
         {"Posteingang", "Anfragen", "Alt", "Uralt", "Erledigt"}},
        {"a subfolder and a store below it",
         {"Anfragen", "Postfach Anna"},
         {"Anfragen", "Alt", "Uralt", "Postfach Anna", "Kalender", "Projekte", "Alpha", "Beta"}},
    };
    for (const auto& c : vCases) {
        SCOPED_TRACE(c.sName);
        auto oResult = Pick([&](frmDialog& w) {
            Expand(w, RowOf(w, "Posteingang"));
            for (const auto& sName : c.vTick)
                Tick(w, RowOf(w, sName));
            Subfolders(w).SetValue(1);
            Button(w, "cmdOK").Click();
        });
        ASSERT_NE(oResult, nullptr);
        EXPECT_EQ(Names(*oResult), c.vExpected);
    }
    EXPECT_THAT(Messages(), IsEmpty());
}

TEST_F(frmDialogTest, EveryCloseButOkReturnsNothing)
{
    struct Case
    {
        const char* sName;
        std::function<void(frmDialog&)> fnClose;
    };
    const std::vector<Case> vCases = {
        {"Cancel", [](frmDialog& w) { Button(w, "cmdCancel").Click(); }},
        {"close box", [](frmDialog& w) { w.UserClose(); }},
        {"shutdown", [](frmDialog& w) { w.Unload(pf::UnloadMode::AppWindows); }},
        {"no answer", [](frmDialog&) {}},
    };
    for (const auto& c : vCases) {
        auto oResult = Pick([&](frmDialog& w) {
            Tick(w, RowOf(w, "Kalender"));
            c.fnClose(w);
        });
        EXPECT_EQ(oResult, nullptr) << c.sName;
    }
}

TEST_F(frmDialogTest, StoreKindsAndStoreListChooseTheStores)
{
    struct Case
    {
        std::int32_t lMask;
        std::vector<std::string> vLimit; // store names whose identifiers limit the tree
        bool bDefaultOnly;
        std::vector<std::string> vExpected;
    };
    const std::vector<Case> vCases = {
        {fskAll,
         {},
         false,
         {"Persönliche Ordner", "Postfach Anna", "Öffentliche Ordner", "Postfach Bernd", "Archiv"}},
        {fskPST, {}, false, {"Persönliche Ordner", "Archiv"}},
        {fskPublicFolders | fskDelegateExchangeMailbox,
         {},
         false,
         {"Öffentliche Ordner", "Postfach Bernd"}},
        {fskPrimaryExchangeMailbox, {}, false, {"Postfach Anna"}},
        {fskUnknown | fskBCM | fskIMAP4 | fskHotmail | fskEAS, {}, false, {}},
        {fskAll, {"Postfach Anna"}, false, {"Postfach Anna"}},
        {fskPST, {"Postfach Anna", "Archiv"}, false, {"Archiv"}},
        {fskPublicFolders, {"Archiv"}, true, {"Persönliche Ordner"}},
    };
    for (const auto& c : vCases) {
        auto oDialog = NewDialog();
        oDialog->SetShowStoreKind(c.lMask);
        oDialog->SetDefaultStoreOnly(c.bDefaultOnly);
        for (const auto& oInfo : Profile().Stores())
            for (const auto& sName : c.vLimit)
                if (oInfo.name == sName)
                    oDialog->LimitStores()->Add(platform::runtime::LCase(oInfo.entryId));
        std::vector<std::string> vStores;
        Pick(
            [&](frmDialog& w) {
                for (int r = 0; r < w.fg().Rows(); ++r)
                    if (w.fg().RowOutlineLevel(r) == 0)
                        vStores.push_back(w.fg().TextMatrix(r, 0).substr(1));
            },
            oDialog);
        EXPECT_EQ(vStores, c.vExpected) << "mask " << c.lMask;
    }
}

TEST_F(frmDialogTest, AFailingStoreShowsOneMessageAndTheOthersStayPickable)
{
    auto oDialog = NewDialog();
    detail::modRedemption::g_Session();
    BreakStore("Öffentliche Ordner");
    std::vector<std::string> vStores;
    auto oResult = Pick(
        [&](frmDialog& w) {
            for (int r = 0; r < w.fg().Rows(); ++r)
                if (w.fg().RowOutlineLevel(r) == 0)
                    vStores.push_back(w.fg().TextMatrix(r, 0).substr(1));
            Tick(w, RowOf(w, "Kalender", RowOf(w, "Postfach Bernd")));
            Tick(w, RowOf(w, "Projekte"));
            Button(w, "cmdOK").Click();
        },
        oDialog);
    EXPECT_THAT(vStores,
                ElementsAre("Persönliche Ordner", "Postfach Anna", "Postfach Bernd", "Archiv"));
    ASSERT_EQ(pf::Driver::current().MessageBoxes().size(), 1U);
    const auto& oBox = pf::Driver::current().MessageBoxes().front();
    EXPECT_EQ(oBox.prompt, kReadError);
    EXPECT_EQ(oBox.buttons, 64);
    EXPECT_EQ(oBox.title, "Tallyman");
    ASSERT_NE(oResult, nullptr);
    EXPECT_THAT(Names(*oResult), ElementsAre("Projekte", "Kalender"));
    EXPECT_EQ(oResult->Item(platform::runtime::Variant(2))->StoreID(),
              Profile().Stores()[3].entryId);
    EXPECT_THAT(ErrorLog(), HasSubstr("Heronwood7.cLimitedFolderLoop.LoopStoresEx"));
}

TEST_F(frmDialogTest, AFailedExpansionShowsTheMessageAtOnceAndKeepsThePlaceholder)
{
    auto oDialog = NewDialog();
    detail::modRedemption::g_Session();
    auto oResult = Pick(
        [&](frmDialog& w) {
            const int lInbox = RowOf(w, "Posteingang");
            const int lRows = w.fg().Rows();
            BreakStore("Persönliche Ordner");
            Expand(w, lInbox);
            EXPECT_EQ(Messages(), std::vector<std::string>{kReadError});
            EXPECT_EQ(w.fg().Rows(), lRows);
            EXPECT_EQ(w.fg().TextMatrix(lInbox + 1, 0), "");
            Tick(w, lInbox + 1);
            EXPECT_FALSE(ButtonsEnabled(w));
            Tick(w, RowOf(w, "Kalender", RowOf(w, "Postfach Bernd")));
            Button(w, "cmdOK").Click();
        },
        oDialog);
    ASSERT_NE(oResult, nullptr);
    EXPECT_THAT(Names(*oResult), ElementsAre("Kalender"));
    EXPECT_EQ(Messages().size(), 1U);
    EXPECT_THAT(ErrorLog(), HasSubstr("- Folder name: Posteingang"));
}

TEST_F(frmDialogTest, FoldersReadForTheResultReportTheirErrorsOnceAfterOk)
{
    auto oDialog = NewDialog();
    detail::modRedemption::g_Session();
    auto oResult = Pick(
        [&](frmDialog& w) {
            Tick(w, RowOf(w, "Posteingang"));
            Tick(w, RowOf(w, "Projekte"));
            Subfolders(w).SetValue(1);
            BreakStore("Persönliche Ordner");
            BreakStore("Postfach Anna");
            Button(w, "cmdOK").Click();
        },
        oDialog);
    ASSERT_NE(oResult, nullptr);
    EXPECT_THAT(Names(*oResult), ElementsAre("Posteingang", "Projekte"));
    EXPECT_EQ(Messages(), std::vector<std::string>{kReadError});
}

} // namespace
} // namespace folderpicker::test
