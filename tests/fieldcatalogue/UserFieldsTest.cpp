#include "CatalogueFixture.h"

#include "platform/runtime/Variant.h"

#include <algorithm>

namespace fieldcatalogue::test {
namespace {

namespace rt = platform::runtime;
using enum PT_PROPERTY_TYPE;

const std::string kPublicStrings = "{00020329-0000-0000-C000-000000000046}";
const std::string kOtherSet = "{12345678-ABCD-0000-C000-000000000046}";

class UserFieldsTest : public CatalogueFixture
{
protected:
    void AddUserField(const st::FolderInfo& oFolder, const std::string& sSet, int nType,
                      const std::string& sName)
    {
        Store().AddUserField(oFolder.entryId, st::UserField{sSet, nType, sName});
    }

    std::shared_ptr<cFields> UserFieldsOf(const st::FolderInfo& oFolder)
    {
        return Catalogue().GetUserFields(MapiFolder(oFolder));
    }

    static std::vector<std::string> Captions(const cFields& oFields)
    {
        std::vector<std::string> vCaptions;
        for (const auto& oField : oFields)
            vCaptions.push_back(oField->Caption());
        return vCaptions;
    }
};

TEST_F(UserFieldsTest, EveryTypeCodeGetsItsMapiType)
{
    // The client's codes and their MAPI types; a code the client does not define reads as text.
    const std::vector<std::pair<int, PT_PROPERTY_TYPE>> vCases = {
        {0, PT_STRING8},  {1, PT_STRING8},  {2, PT_STRING8},   {3, PT_DOUBLE},
        {4, PT_STRING8},  {5, PT_SYSTIME},  {6, PT_BOOLEAN},   {7, PT_LONG},
        {8, PT_STRING8},  {9, PT_STRING8},  {10, PT_STRING8},  {11, PT_MV_STRING8},
        {12, PT_DOUBLE},  {13, PT_STRING8}, {14, PT_CURRENCY}, {15, PT_STRING8},
        {16, PT_STRING8}, {17, PT_STRING8}, {18, PT_STRING8},  {19, PT_STRING8},
        {20, PT_LONG},    {21, PT_STRING8}, {99, PT_STRING8},
    };
    const auto oCalendar = Folder(st::FolderRole::Calendar);
    for (const auto& [nType, eMapiType] : vCases)
        AddUserField(oCalendar, kPublicStrings, nType, "Feld " + std::to_string(nType));

    const auto oFields = UserFieldsOf(oCalendar);
    ASSERT_EQ(oFields->Count(), static_cast<std::int32_t>(vCases.size()));
    for (std::size_t i = 0; i < vCases.size(); ++i) {
        const auto& [nType, eMapiType] = vCases[i];
        const std::string sName = "Feld " + std::to_string(nType);
        SCOPED_TRACE(sName);
        const auto oField = oFields->Item(rt::Variant(kPublicStrings + "/" + sName));
        ASSERT_NE(oField, nullptr);
        EXPECT_EQ(oField->PropertyType(), nType);
        EXPECT_EQ(oField->MapiPropertyType(), eMapiType);
        EXPECT_EQ(oField->Index(), static_cast<std::int32_t>(i + 1));
        EXPECT_EQ(oField->Name(), sName);
        EXPECT_EQ(oField->Caption(), sName);
        EXPECT_EQ(oField->ID(), rt::Variant(sName));
        EXPECT_EQ(oField->GUID(), kPublicStrings);
        EXPECT_TRUE(oField->IsUserDefined());
        EXPECT_EQ(oField->PropTag(), 0);
        EXPECT_FALSE(oField->HiddenProperty());
        EXPECT_EQ(oField->MappingValue(), 0);
        EXPECT_FALSE(oField->EnumValue());
    }
}

TEST_F(UserFieldsTest, UnknownTypeAfterANumberIsStillText)
{
    const auto oTasks = Folder(st::FolderRole::Tasks);
    AddUserField(oTasks, kPublicStrings, 14, "Betrag");
    AddUserField(oTasks, kPublicStrings, 2, "Seltsam");
    const auto oField = UserFieldsOf(oTasks)->Item(rt::Variant(kPublicStrings + "/Seltsam"));
    ASSERT_NE(oField, nullptr);
    EXPECT_EQ(oField->MapiPropertyType(), PT_STRING8);
    EXPECT_EQ(oField->PropertyType(), 2);
}

TEST_F(UserFieldsTest, FirstFieldOfAKeyWins)
{
    const auto oCalendar = Folder(st::FolderRole::Calendar);
    AddUserField(oCalendar, kPublicStrings, 1, "Projekt");
    AddUserField(oCalendar, kPublicStrings, 3, "Projekt");
    AddUserField(oCalendar, kOtherSet, 6, "Projekt");
    AddUserField(oCalendar, kPublicStrings, 5, "PROJEKT");
    AddUserField(oCalendar, kPublicStrings, 3, "Stunden");

    const auto oFields = UserFieldsOf(oCalendar);
    ASSERT_EQ(oFields->Count(), 3);
    const auto oFirst = oFields->Item(rt::Variant(kPublicStrings + "/Projekt"));
    ASSERT_NE(oFirst, nullptr);
    EXPECT_EQ(oFirst->Name(), "Projekt");
    EXPECT_EQ(oFirst->PropertyType(), 1);
    EXPECT_EQ(oFirst->MapiPropertyType(), PT_STRING8);
    EXPECT_EQ(oFirst->Index(), 1);
    const auto oOther = oFields->Item(rt::Variant(kOtherSet + "/Projekt"));
    ASSERT_NE(oOther, nullptr);
    EXPECT_EQ(oOther->MapiPropertyType(), PT_BOOLEAN);
    EXPECT_EQ(oOther->Index(), 2);
    // The running position counts the fields that arrived.
    EXPECT_EQ(oFields->Item(rt::Variant(kPublicStrings + "/Stunden"))->Index(), 3);
}

TEST_F(UserFieldsTest, SortedByCaptionWithNumbersByValueAndIndexInFolderOrder)
{
    const auto oJournal = Folder(st::FolderRole::Journal);
    for (const char* sName : {"Zeitraum", "abteilung", "10", "9", "Ärger", "Budget"})
        AddUserField(oJournal, kPublicStrings, 1, sName);

    const auto oFields = UserFieldsOf(oJournal);
    EXPECT_EQ(Captions(*oFields),
              (std::vector<std::string>{"9", "10", "abteilung", "Ärger", "Budget", "Zeitraum"}));
    std::vector<std::int32_t> vIndex;
    for (const auto& oField : *oFields)
        vIndex.push_back(oField->Index());
    EXPECT_EQ(vIndex, (std::vector<std::int32_t>{4, 3, 2, 5, 6, 1}));
}

TEST_F(UserFieldsTest, TextAndNumberFieldsInNameOrder)
{
    const auto oCalendar = Folder(st::FolderRole::Calendar);
    AddUserField(oCalendar, kPublicStrings, 3, "Stunden");
    AddUserField(oCalendar, kPublicStrings, 1, "Projekt");
    const auto vFields = FieldsOf(*UserFieldsOf(oCalendar));
    ASSERT_EQ(vFields.size(), 2u);
    EXPECT_EQ(vFields[0]->Name(), "Projekt");
    EXPECT_EQ(vFields[0]->MapiPropertyType(), PT_STRING8);
    EXPECT_EQ(vFields[1]->Name(), "Stunden");
    EXPECT_EQ(vFields[1]->MapiPropertyType(), PT_DOUBLE);
}

TEST_F(UserFieldsTest, AnyFolderTypeAndAFieldWithoutSet)
{
    const auto oInbox = Folder(st::FolderRole::Inbox);
    AddUserField(oInbox, "", 20, "Nummer");
    const auto oFields = UserFieldsOf(oInbox);
    ASSERT_EQ(oFields->Count(), 1);
    const auto oField = oFields->Item(rt::Variant("Nummer"));
    ASSERT_NE(oField, nullptr);
    EXPECT_EQ(oField->GUID(), "");
    EXPECT_EQ(oField->Key(), "Nummer");
    EXPECT_EQ(oField->MapiPropertyType(), PT_LONG);
    // The inbox still has no built-in fields.
    EXPECT_EQ(Catalogue().GetFields(MapiFolder(oInbox))->Count(), 0);
}

TEST_F(UserFieldsTest, FoldersWithoutUserFieldsAnswerNothing)
{
    for (st::FolderRole eRole : {st::FolderRole::Calendar, st::FolderRole::Tasks,
                                 st::FolderRole::Contacts, st::FolderRole::Notes}) {
        const auto oFields = UserFieldsOf(Folder(eRole));
        EXPECT_EQ(oFields->Count(), 0);
        EXPECT_EQ(oFields->Item(rt::Variant(std::int32_t{1})), nullptr);
    }
}

} // namespace
} // namespace fieldcatalogue::test
