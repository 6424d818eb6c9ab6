#include "PickerFixture.h"

#include "folderpicker/Enumerations.h"
#include "folderpicker/Item.h"
#include "folderpicker/detail/cLimitedFolderLoop.h"
#include "folderpicker/detail/modRedemption.h"
#include "platform/mapi/Folder.h"
#include "platform/mapi/Folders.h"
#include "platform/mapi/Session.h"
#include "platform/runtime/Variant.h"

#include <gmock/gmock.h>

namespace folderpicker::test {
namespace {

namespace rt = platform::runtime;

class FolderLoopTest : public PickerFixture
{
protected:
    std::shared_ptr<platform::mapi::Folder> MapiFolder(const st::FolderInfo& oFolder,
                                                       const st::Store& oStore)
    {
        return detail::modRedemption::g_Session()->GetFolderFromID(oFolder.entryId,
                                                                   rt::Variant(oStore.EntryId()));
    }
};

TEST_F(FolderLoopTest, FolderListsAreReadInChunksWithTheLastOneShorter)
{
    st::StoreBuilder oBuilder(Personal());
    const auto oParent = oBuilder.Folder("Viele", st::ItemType::Mail);
    {
        auto oTransaction = Personal().BeginTransaction();
        for (int i = 1; i <= 250; ++i)
            oBuilder.Folder("F" + std::to_string(i), st::ItemType::Mail, st::FolderRole::None,
                            oParent.entryId);
        oTransaction.Commit();
    }
    auto oDialog = NewDialog();
    struct Case
    {
        long lChunk;
        long lKeptChunk;
    };
    for (const Case& c :
         {Case{100, 50}, Case{0, 0}, Case{300, 300}, Case{250, 250}, Case{7, 5}, Case{-3, 0}}) {
        detail::cLimitedFolderLoop oLoop;
        oLoop.Init(oDialog.get(), nullptr, c.lChunk);
        oLoop.LoopFolders(MapiFolder(oParent, Personal())->GetFolders(), 2);
        ASSERT_EQ(oLoop.Result().size(), 250U) << c.lChunk;
        for (std::size_t i = 0; i < 250; ++i) {
            EXPECT_EQ(oLoop.Result()[i]->Name(), "F" + std::to_string(i + 1));
            EXPECT_EQ(oLoop.Result()[i]->Level(), 2);
        }
        EXPECT_EQ(oLoop.ChunkSize(), c.lKeptChunk) << c.lChunk;
        EXPECT_FALSE(oLoop.ErrorOccured());
        // The result grows until NewResult; an empty list reads nothing.
        oLoop.LoopFolders(MapiFolder(m_oTasks, Personal())->GetFolders(), 1);
        EXPECT_EQ(oLoop.Result().size(), 250U);
        oLoop.NewResult();
        EXPECT_TRUE(oLoop.Result().empty());
    }
}

TEST_F(FolderLoopTest, AnUnreadableFolderSetsTheErrorFlagAndTheOthersAreReturned)
{
    auto oDialog = NewDialog();
    // The inbox's two subfolders; one of them is gone from the store once the list is read.
    const auto oFolders = MapiFolder(m_oInbox, Personal())->GetFolders();
    ASSERT_EQ(oFolders->Count(), 2);
    BreakStore("Persönliche Ordner",
               "DELETE FROM folders WHERE entry_id = '" + m_oDone.entryId + "'");
    detail::cLimitedFolderLoop oLoop;
    oLoop.Init(oDialog.get(), nullptr, 100);
    oLoop.LoopFolders(oFolders, 2);
    EXPECT_TRUE(oLoop.ErrorOccured());
    ASSERT_EQ(oLoop.Result().size(), 1U);
    EXPECT_EQ(oLoop.Result()[0]->Name(), "Anfragen");
    EXPECT_THAT(ErrorLog(), ::testing::HasSubstr("Heronwood7.Item.Init"));
    // The next list starts without the flag.
    oLoop.LoopFolders(MapiFolder(m_oRequests, Personal())->GetFolders(), 3);
    EXPECT_FALSE(oLoop.ErrorOccured());
}

TEST_F(FolderLoopTest, StoreKindNumbersMapOntoTheMaskBits)
{
    struct Case
    {
        long lKind;
        std::int32_t lShownBy; // the one bit that shows it, 0 for none
    };
    for (const Case& c :
         {Case{0, fskUnknown}, Case{1, fskPST}, Case{2, fskPST}, Case{3, fskPrimaryExchangeMailbox},
          Case{4, fskDelegateExchangeMailbox}, Case{5, fskPublicFolders}, Case{6, fskBCM},
          Case{7, fskIMAP4}, Case{8, fskHotmail}, Case{9, fskEAS}, Case{10, 0}, Case{-1, 0}}) {
        EXPECT_EQ(detail::cLimitedFolderLoop::IsStoreKindShown(c.lKind, fskAll), c.lShownBy != 0)
            << c.lKind;
        EXPECT_EQ(detail::cLimitedFolderLoop::IsStoreKindShown(c.lKind, c.lShownBy),
                  c.lShownBy != 0);
        EXPECT_FALSE(detail::cLimitedFolderLoop::IsStoreKindShown(c.lKind, fskAll & ~c.lShownBy))
            << c.lKind;
    }
}

TEST_F(FolderLoopTest, ItemsTakeCountsAndSubfoldersFromTheFolder)
{
    struct Case
    {
        st::FolderInfo oFolder;
        const char* sName;
        const char* sExpectedName;
        long lItems;
        bool bChilds;
    };
    for (const auto& c :
         std::vector<Case>{{m_oInbox, "", "Posteingang", 12, true},
                           {m_oCalendar, "Mein Kalender", "Mein Kalender", 3, false},
                           {m_oTasks, "", "Aufgaben", 0, false}}) {
        Item oItem;
        ASSERT_TRUE(oItem.Init(MapiFolder(c.oFolder, Personal()), 1, c.sName));
        EXPECT_EQ(oItem.Name(), c.sExpectedName);
        EXPECT_EQ(oItem.EntryID(), c.oFolder.entryId);
        EXPECT_EQ(oItem.StoreID(), Personal().EntryId());
        EXPECT_EQ(oItem.ItemsCount(), c.lItems);
        EXPECT_EQ(oItem.HasChilds(), c.bChilds);
        EXPECT_FALSE(oItem.SubfoldersLoaded());
    }
    Item oNone;
    EXPECT_FALSE(oNone.Init(nullptr, 1, "x"));
    EXPECT_EQ(oNone.Name(), "");
}

} // namespace
} // namespace folderpicker::test
