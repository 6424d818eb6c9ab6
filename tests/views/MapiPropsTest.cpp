#include "ViewsFixture.h"

#include "common/modLanguage.h"
#include "platform/forms/Driver.h"
#include "platform/locale/Locale.h"
#include "views/ViewSettings.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

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

TEST_F(MapiPropsTest, AMissingDefaultFolderIsToldOnceAndTheOtherFoldersAreRead)
{
    // A store whose journal folder is no longer its default one, then one without any folder
    // of journal entries (as another program may leave it). The catalogues of the other
    // kinds are read; the journal's comes from a folder of its kind while there is one; the
    // user is told once, in the run's language, which folder is missing.
    const auto lJournalFields = MapiProps().JournalFields()->Count();
    const auto lTaskFields = MapiProps().TaskFields()->Count();
    const auto lAppointmentFields = MapiProps().AppointmentFields()->Count();
    const auto sql = [&](const char* sStatement) {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(Store().File().c_str(), &db), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(db, sStatement, nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
    };
    auto& oDriver = platform::forms::Driver::current();
    const auto load = [&](cMapiProps& oProps) {
        oDriver.Reset();
        for (int i = 0; i < 3; ++i)
            EXPECT_NO_THROW(oProps.LoadStandardProperties());
        EXPECT_EQ(oProps.TaskFields()->Count(), lTaskFields);
        EXPECT_EQ(oProps.AppointmentFields()->Count(), lAppointmentFields);
        EXPECT_EQ(oDriver.MessageBoxes().size(), 1U);
        return oDriver.MessageBoxes().empty() ? std::string() : oDriver.MessageBoxes()[0].prompt;
    };
    const auto sJournal = Folder(st::FolderRole::Journal).name;
    sql("UPDATE folders SET role = 0 WHERE role = 11");
    common::modLanguage::SetLanguageID(common::modLanguage::LANG_GERMAN);
    const std::string sStandIn = load(MapiProps());
    EXPECT_EQ(MapiProps().JournalFields()->Count(), lJournalFields);
    EXPECT_EQ(sStandIn, "Der Speicher „Persönliche Ordner“ hat keinen Standardordner „Journal“.\r\n"
                        "Die Felder dieser Ordnerart nehmen die Berichte darum vom Ordner „" +
                            sJournal + "“; alle anderen Ordner werden gelesen.");

    sql("UPDATE folders SET item_type = 0 WHERE item_type = 4");
    common::modLanguage::SetLanguageID(common::modLanguage::LANG_ENGLISH);
    platform::locale::SetCurrent("en-US");
    cMapiProps oFresh;
    auto oCatalogue = std::make_shared<fieldcatalogue::Application>();
    oFresh.SetCatalogueSource([&] { return oCatalogue; });
    const std::string sNone = load(oFresh);
    EXPECT_EQ(oFresh.JournalFields()->Count(), 0);
    EXPECT_EQ(sNone, "The store \"Persönliche Ordner\" has no default Journal folder.\r\n"
                     "Its fields are therefore not offered to the reports; every other folder is "
                     "read.");
    platform::locale::SetCurrent("de-DE");
    oDriver.Reset();
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
