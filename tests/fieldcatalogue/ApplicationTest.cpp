#include "CatalogueFixture.h"

#include "platform/runtime/Variant.h"

namespace fieldcatalogue::test {
namespace {

namespace rt = platform::runtime;

using ApplicationTest = CatalogueFixture;

TEST_F(ApplicationTest, GetFieldsAnswersTheTableOfTheFolderType)
{
    const auto oPinboard = Builder().Folder("Pinnwand", st::ItemType::Post);
    struct Case
    {
        st::FolderInfo oFolder;
        std::int32_t lCount;
    };
    const std::vector<Case> vCases = {
        {Folder(st::FolderRole::Calendar), 42},
        {Folder(st::FolderRole::Tasks), 48},
        {Folder(st::FolderRole::Journal), 30},
        {Folder(st::FolderRole::Inbox), 0},
        {Folder(st::FolderRole::Contacts), 0},
        {Folder(st::FolderRole::Notes), 0},
        {oPinboard, 0},
    };
    for (const Case& oCase : vCases) {
        SCOPED_TRACE(oCase.oFolder.name);
        const auto oFields = Catalogue().GetFields(MapiFolder(oCase.oFolder));
        ASSERT_NE(oFields, nullptr);
        EXPECT_EQ(oFields->Count(), oCase.lCount);
        EXPECT_EQ(FieldsOf(*oFields).size(), static_cast<std::size_t>(oCase.lCount));
        EXPECT_EQ(oFields->Item(rt::Variant(std::int32_t{1})) == nullptr, oCase.lCount == 0);
    }
}

TEST_F(ApplicationTest, NoFolderGivesEmptyAnswers)
{
    EXPECT_EQ(Catalogue().GetFields(nullptr)->Count(), 0);
    EXPECT_EQ(Catalogue().GetUserFields(nullptr)->Count(), 0);
}

TEST_F(ApplicationTest, EveryCallMakesNewFields)
{
    const auto oCalendar = DefaultMapiFolder(st::FolderRole::Calendar);
    const auto oFirst = Catalogue().GetFields(oCalendar);
    const auto oSecond = Catalogue().GetFields(oCalendar);
    ASSERT_NE(oFirst, oSecond);
    EXPECT_NE(oFirst->Item(rt::Variant("FolderName")), oSecond->Item(rt::Variant("FolderName")));
    EXPECT_EQ(oFirst->Item(rt::Variant("FolderName"))->Parent(), oFirst);
}

TEST_F(ApplicationTest, LanguageIsGermanUntilSetAndFallsBackToGerman)
{
    common::ILanguage& oLanguage = Catalogue().ToILanguage();
    EXPECT_EQ(&oLanguage, static_cast<common::ILanguage*>(&Catalogue()));
    EXPECT_EQ(oLanguage.LanguageID(), 1031);
    EXPECT_TRUE(oLanguage.SupportedLanguages().empty());
    struct Case
    {
        long lSet;
        long lExpected;
    };
    for (const Case& oCase :
         {Case{1033, 1033}, Case{1031, 1031}, Case{1033, 1033}, Case{1036, 1031}, Case{0, 1031}}) {
        oLanguage.SetLanguageID(oCase.lSet);
        EXPECT_EQ(oLanguage.LanguageID(), oCase.lExpected) << oCase.lSet;
    }
}

TEST_F(ApplicationTest, CaptionsFollowTheLanguageAtCreation)
{
    const auto oCalendar = DefaultMapiFolder(st::FolderRole::Calendar);
    const std::string sStoreEntry = "{00020328-0000-0000-C000-000000000046}/PR_STORE_ENTRYID";
    Catalogue().ToILanguage().SetLanguageID(1031);
    const auto oGerman = Catalogue().GetFields(oCalendar);
    Catalogue().ToILanguage().SetLanguageID(1033);
    const auto oEnglish = Catalogue().GetFields(oCalendar);

    EXPECT_EQ(oGerman->Item(rt::Variant("IsRecurring"))->Caption(), "Serie");
    EXPECT_EQ(oEnglish->Item(rt::Variant("IsRecurring"))->Caption(), "Recurring");
    EXPECT_EQ(oGerman->Item(rt::Variant(sStoreEntry))->Caption(), "ParentEntryID");
    EXPECT_EQ(oEnglish->Item(rt::Variant(sStoreEntry))->Caption(), "ParentEntryID");
    // Fields made before the change keep their captions.
    EXPECT_EQ(oGerman->Item(rt::Variant("ClipStart"))->Caption(), "Serienstart");
    EXPECT_EQ(oEnglish->Item(rt::Variant("ClipStart"))->Caption(), "Recurrence Start");

    const auto oTasks = Catalogue().GetFields(DefaultMapiFolder(st::FolderRole::Tasks));
    const auto oStatus = oTasks->Item(rt::Variant("{00062003-0000-0000-C000-000000000046}/Status"));
    ASSERT_NE(oStatus, nullptr);
    EXPECT_EQ(oStatus->ID(), rt::Variant(std::int16_t{-32511}));
    EXPECT_EQ(oStatus->Caption(), "Status");
}

} // namespace
} // namespace fieldcatalogue::test
