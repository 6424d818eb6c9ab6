#include "ViewsFixture.h"

#include "views/ViewSettings.h"

#include <gtest/gtest.h>

namespace views::test {
namespace {

namespace rt = platform::runtime;

class MapiPropsTest : public ViewsFixture
{
};

// Records the folders the loop hands back.
class Recorder : public ILoopFoldersCallback
{
public:
    void CallFromLoopFolders(std::shared_ptr<platform::mapi::Folder>& F) override
    {
        aFolders.push_back(F);
    }
    std::vector<std::shared_ptr<platform::mapi::Folder>> aFolders;
};

TEST_F(MapiPropsTest, FindFieldAsksTheCataloguesInOrder)
{
    // A user field under a key the calendar catalogue also has.
    AddUserField(Folder(st::FolderRole::Calendar), "Keywords", 11);
    AddUserField(Folder(st::FolderRole::Calendar), "Projektnummer");
    engine::FolderDataList colFolders;
    colFolders.Add(DataOf(Folder(st::FolderRole::Calendar)));
    MapiProps().LoadUserProperties(colFolders);
    ASSERT_TRUE(MapiProps().UserFields().Contains(kKeywordsKey));
    EXPECT_EQ(MapiProps().FindField(kKeywordsKey),
              MapiProps().AppointmentFields()->Item(rt::Variant(kKeywordsKey)));
    EXPECT_NE(MapiProps().FindField(kKeywordsKey), MapiProps().UserFields().Item(kKeywordsKey));
    const std::string sUserKey = "{00020329-0000-0000-C000-000000000046}/Projektnummer";
    EXPECT_EQ(MapiProps().FindField(sUserKey), MapiProps().UserFields().Item(sUserKey));
    EXPECT_EQ(MapiProps().FindField("NoSuchField"), nullptr);
}

TEST_F(MapiPropsTest, FirstFolderOfAUserFieldKeyWins)
{
    const auto oFirst = Builder().Folder("Projekte", st::ItemType::Appointment);
    const auto oSecond = Builder().Folder("Privat", st::ItemType::Task);
    AddUserField(oFirst, "Kunde", 1);
    AddUserField(oSecond, "Kunde", 3);
    engine::FolderDataList colFolders;
    colFolders.Add(DataOf(oFirst));
    colFolders.Add(DataOf(oSecond));
    MapiProps().LoadUserProperties(colFolders);
    const auto oField =
        MapiProps().UserFields().Item("{00020329-0000-0000-C000-000000000046}/Kunde");
    EXPECT_EQ(oField->PropertyType(), 1);
    EXPECT_EQ(colFolders.Count(), 2);
}

TEST_F(MapiPropsTest, FoldersThatCannotBeOpenedLeaveTheList)
{
    const auto oA = Builder().Folder("A", st::ItemType::Appointment);
    const auto oC = Builder().Folder("C", st::ItemType::Appointment);
    const auto oE = Builder().Folder("E", st::ItemType::Appointment);
    engine::FolderDataList colFolders;
    colFolders.Add(DataOf(oA));
    colFolders.Add(MissingFolder(2));
    colFolders.Add(DataOf(oC));
    colFolders.Add(MissingFolder(4));
    colFolders.Add(DataOf(oE));
    MapiProps().LoadUserProperties(colFolders);
    ASSERT_EQ(colFolders.Count(), 3);
    EXPECT_EQ(colFolders.Item(1)->EntryID(), oA.entryId);
    EXPECT_EQ(colFolders.Item(2)->EntryID(), oC.entryId);
    EXPECT_EQ(colFolders.Item(3)->EntryID(), oE.entryId);

    engine::FolderDataList colEmpty;
    MapiProps().LoadUserProperties(colEmpty);
    EXPECT_EQ(MapiProps().UserFields().Count(), 0);
}

TEST_F(MapiPropsTest, TheLoopWalksInPassesOfTheChunkSize)
{
    struct Case
    {
        std::int32_t lCount, lChunk;
        std::vector<std::pair<std::int32_t, std::int32_t>> aPasses;
    };
    const Case aCases[] = {
        {250, 100, {{1, 100}, {101, 200}, {201, 250}}},
        {250, 0, {{1, 250}}},
        {250, -5, {{1, 250}}},
        {200, 100, {{1, 100}, {101, 200}}},
        {7, 100, {{1, 7}}},
        {0, 3, {{1, 0}}},
    };
    const auto oFolder = DataOf(Folder(st::FolderRole::Calendar));
    for (const auto& c : aCases) {
        engine::FolderDataList colFolders;
        for (std::int32_t i = 0; i < c.lCount; ++i)
            colFolders.Add(oFolder);
        Recorder oRecorder;
        cLimitedFolderLoop oLoop;
        oLoop.Init(&oRecorder, c.lChunk);
        oLoop.LoopFolders(colFolders);
        EXPECT_EQ(oLoop.Passes(), c.aPasses) << c.lCount << "/" << c.lChunk;
        EXPECT_EQ(static_cast<std::int32_t>(oRecorder.aFolders.size()), c.lCount);
    }
}

TEST_F(MapiPropsTest, StandardPropertiesNeedACatalogue)
{
    const auto oBefore = MapiProps().AppointmentFields();
    ASSERT_TRUE(oBefore);
    EXPECT_GT(oBefore->Count(), 0);
    EXPECT_GT(MapiProps().JournalFields()->Count(), 0);
    EXPECT_GT(MapiProps().TaskFields()->Count(), 0);
    MapiProps().SetCatalogueSource({});
    try {
        MapiProps().LoadStandardProperties();
        FAIL() << "no error raised";
    } catch (const rt::Error& e) {
        EXPECT_EQ(e.Number(), 91);
    }
    EXPECT_EQ(MapiProps().AppointmentFields(), oBefore);
}

TEST_F(MapiPropsTest, PrepareViewFieldsDropsUnknownKeys)
{
    ViewSettings oView;
    oView.CreateNew("v");
    auto oUnknown = std::make_shared<GridField>();
    oUnknown->InitField("Gone", "Gone", "Gone", false, false, 8, 1, 1, 10, true, {}, 0, false, 0,
                        {});
    oView.Fields()->Insert(oUnknown, 2);
    oView.GroupByLevel(0)->SetApply(true);
    oView.GroupByLevel(0)->ColKey = "Gone";
    oView.GroupByLevel(1)->SetApply(true);
    oView.GroupByLevel(1)->ColKey = "Start";
    oView.SortByLevel(0)->Apply = true;
    oView.SortByLevel(0)->ColKey = "Gone";
    oView.SortByLevel(2)->Apply = true;
    oView.SortByLevel(2)->ColKey = "End";
    MapiProps().PrepareViewFields(oView);
    EXPECT_EQ(oView.Fields()->Item(rt::Variant("Gone")), nullptr);
    EXPECT_EQ(oView.Fields()->Count(), 5);
    EXPECT_TRUE(oView.GroupByLevel(0)->Apply());
    EXPECT_EQ(oView.GroupByLevel(0)->ColKey, "Start");
    EXPECT_FALSE(oView.GroupByLevel(1)->Apply());
    // Sort levels (off, off, on) after the unknown key: one pass moves End to the top.
    EXPECT_TRUE(oView.SortByLevel(0)->Apply);
    EXPECT_EQ(oView.SortByLevel(0)->ColKey, "End");
    EXPECT_FALSE(oView.SortByLevel(1)->Apply);
    EXPECT_FALSE(oView.SortByLevel(2)->Apply);
}

} // namespace
} // namespace views::test
