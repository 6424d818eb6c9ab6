#include "CatalogueFixture.h"

#include "fieldcatalogue/detail/cBuiltInItemFields.h"
#include "platform/runtime/Strings.h"

#include <gmock/gmock.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace fieldcatalogue::test {
namespace {

namespace rt = platform::runtime;

// The tables' rows in their order: the appointment, task, journal and mail table.
// clang-format off
const std::array<std::vector<std::string>, 4> kTableOrder = {{
    {
     "ReminderSet", "Private", "ReminderTime", "Companies", "Contacts", "Keywords",
     "Location", "AllDayEvent", "BusyStatus", "Label", "MeetingStatus", "ResponseStatus",
     "PR_BODY", "PR_CLIENT_SUBMIT_TIME", "PR_CONVERSATION_TOPIC", "PR_CREATION_TIME",
     "PR_DISPLAY_BCC", "PR_DISPLAY_CC", "PR_DISPLAY_TO", "PR_ENTRYID", "PR_STORE_ENTRYID",
     "PR_HASATTACH", "PR_IMPORTANCE", "PR_LAST_MODIFICATION_TIME", "PR_MESSAGE_CLASS",
     "PR_MESSAGE_DELIVERY_TIME", "PR_MESSAGE_SIZE", "PR_SENSITIVITY",
     "PR_SENT_REPRESENTING_EMAIL_ADDRESS", "PR_SENT_REPRESENTING_NAME", "PR_SUBJECT",
     "FolderName", "Icon", "PR_MAILBOX_OWNER_NAME", "PR_CREATOR_NAME", "PR_LASTMODIFIER_NAME",
     "Start", "End", "Duration", "IsRecurring", "ClipStart", "ClipEnd"},
    {
     "ReminderSet", "Private", "ReminderTime", "Mileage", "BillingInformation", "Companies",
     "Contacts", "Keywords", "Status", "PercentComplete", "DueDate", "ActualWork",
     "TotalWork", "Complete", "OwnerShip", "DelegationState", "Role", "Delegator", "Owner",
     "TeamTask", "PR_BODY", "PR_CLIENT_SUBMIT_TIME", "PR_CONVERSATION_TOPIC",
     "PR_CREATION_TIME", "PR_DISPLAY_BCC", "PR_DISPLAY_CC", "PR_DISPLAY_TO", "PR_ENTRYID",
     "PR_STORE_ENTRYID", "PR_HASATTACH", "PR_IMPORTANCE", "PR_LAST_MODIFICATION_TIME",
     "PR_MESSAGE_CLASS", "PR_MESSAGE_DELIVERY_TIME", "PR_MESSAGE_SIZE", "PR_SENSITIVITY",
     "PR_SENT_REPRESENTING_EMAIL_ADDRESS", "PR_SENT_REPRESENTING_NAME", "PR_SUBJECT",
     "FolderName", "Icon", "PR_MAILBOX_OWNER_NAME", "PR_CREATOR_NAME", "PR_LASTMODIFIER_NAME",
     "Start", "End", "Duration", "IsRecurring"},
    {
     "Private", "Companies", "Contacts", "Keywords", "TypeDescription", "PR_BODY",
     "PR_CLIENT_SUBMIT_TIME", "PR_CONVERSATION_TOPIC", "PR_CREATION_TIME", "PR_ENTRYID",
     "PR_STORE_ENTRYID", "PR_HASATTACH", "PR_IMPORTANCE", "PR_LAST_MODIFICATION_TIME",
     "PR_MESSAGE_CLASS", "PR_MESSAGE_DELIVERY_TIME", "PR_MESSAGE_SIZE", "PR_SENSITIVITY",
     "PR_SENT_REPRESENTING_EMAIL_ADDRESS", "PR_SENT_REPRESENTING_NAME", "PR_SUBJECT",
     "FolderName", "Icon", "PR_MAILBOX_OWNER_NAME", "PR_CREATOR_NAME", "PR_LASTMODIFIER_NAME",
     "Start", "End", "Duration", "IsRecurring"},
    {
     "Private", "ReminderTime", "Mileage", "BillingInformation", "Companies", "Contacts",
     "Keywords", "PR_BODY", "PR_CLIENT_SUBMIT_TIME", "PR_CONVERSATION_TOPIC",
     "PR_CREATION_TIME", "PR_DISPLAY_BCC", "PR_DISPLAY_CC", "PR_DISPLAY_TO", "PR_ENTRYID",
     "PR_STORE_ENTRYID", "PR_HASATTACH", "PR_IMPORTANCE", "PR_LAST_MODIFICATION_TIME",
     "PR_MESSAGE_CLASS", "PR_MESSAGE_DELIVERY_TIME", "PR_MESSAGE_SIZE", "PR_PRIORITY",
     "PR_ORIGINATOR_DELIVERY_REPORT_REQUESTED", "PR_READ_RECEIPT_REQUESTED",
     "PR_RECEIVED_BY_EMAIL_ADDRESS", "PR_RECEIVED_BY_NAME", "PR_SENSITIVITY",
     "PR_SENT_REPRESENTING_EMAIL_ADDRESS", "PR_SENT_REPRESENTING_NAME", "PR_SUBJECT",
     "FolderName", "Icon", "Start", "End", "Duration", "IsRecurring"},
}};
// clang-format on

// Every mapped and every enumerated field, the two hidden ones, and one of each other kind,
// as the tables give them: position in the appointment, task, journal and mail table (0: not
// there), name, set, ID, tag, user-property type, MAPI type, captions, hidden, mapping, enum.
struct ExpectedRow
{
    std::array<std::int32_t, 4> anIndex;
    std::string sName;
    std::string sGUID;
    rt::Variant vID;
    std::int32_t lPropTag;
    std::int32_t lPropertyType;
    PT_PROPERTY_TYPE eMapiType;
    std::string sGerman;
    std::string sEnglish;
    bool bHidden;
    std::int32_t lMapping;
    bool bEnum;
};

// clang-format off
const std::vector<ExpectedRow> kSampleRows = {
    {{1, 1, 0, 0}, "ReminderSet", "{00062008-0000-0000-C000-000000000046}", rt::Variant(std::int16_t{-31485}), 0, 6, PT_PROPERTY_TYPE::PT_BOOLEAN, "Erinnerung", "Reminder", false, 0, false},
    {{2, 2, 1, 1}, "Private", "{00062008-0000-0000-C000-000000000046}", rt::Variant(std::int16_t{-31482}), 0, 6, PT_PROPERTY_TYPE::PT_BOOLEAN, "Privat", "Private", false, 0, false},
    {{6, 8, 4, 7}, "Keywords", "{00020329-0000-0000-C000-000000000046}", rt::Variant("Keywords"), 0, 11, PT_PROPERTY_TYPE::PT_MV_STRING8, "Kategorien", "Categories", false, 0, false},
    {{7, 0, 0, 0}, "Location", "{00062002-0000-0000-C000-000000000046}", rt::Variant(std::int16_t{-32248}), 0, 1, PT_PROPERTY_TYPE::PT_STRING8, "Ort", "Location", false, 0, false},
    {{9, 0, 0, 0}, "BusyStatus", "{00062002-0000-0000-C000-000000000046}", rt::Variant(std::int16_t{-32251}), 0, 20, PT_PROPERTY_TYPE::PT_LONG, "Zeitspanne zeigen als", "Show Time As", false, 0, true},
    {{10, 0, 0, 0}, "Label", "{00062002-0000-0000-C000-000000000046}", rt::Variant(std::int16_t{-32236}), 0, 20, PT_PROPERTY_TYPE::PT_LONG, "Beschriftung", "Label", false, 0, true},
    {{11, 0, 0, 0}, "MeetingStatus", "{00062002-0000-0000-C000-000000000046}", rt::Variant(std::int16_t{-32233}), 0, 20, PT_PROPERTY_TYPE::PT_LONG, "Besprechungsstatus", "Meeting Status", false, 0, true},
    {{12, 0, 0, 0}, "ResponseStatus", "{00062002-0000-0000-C000-000000000046}", rt::Variant(std::int16_t{-32232}), 0, 20, PT_PROPERTY_TYPE::PT_LONG, "Antwortstatus", "Response Status", false, 0, true},
    {{0, 9, 0, 0}, "Status", "{00062003-0000-0000-C000-000000000046}", rt::Variant(std::int16_t{-32511}), 0, 20, PT_PROPERTY_TYPE::PT_LONG, "Status", "Status", false, 0, true},
    {{0, 10, 0, 0}, "PercentComplete", "{00062003-0000-0000-C000-000000000046}", rt::Variant(std::int16_t{-32510}), 0, 12, PT_PROPERTY_TYPE::PT_DOUBLE, "% erledigt", "% Complete", false, 0, false},
    {{0, 12, 0, 0}, "ActualWork", "{00062003-0000-0000-C000-000000000046}", rt::Variant(std::int16_t{-32496}), 0, 7, PT_PROPERTY_TYPE::PT_LONG, "Ist-Aufwand", "Actual Work", false, 13, false},
    {{0, 13, 0, 0}, "TotalWork", "{00062003-0000-0000-C000-000000000046}", rt::Variant(std::int16_t{-32495}), 0, 7, PT_PROPERTY_TYPE::PT_LONG, "Gesamtaufwand", "Total Work", false, 12, false},
    {{0, 15, 0, 0}, "OwnerShip", "{00062003-0000-0000-C000-000000000046}", rt::Variant(std::int16_t{-32471}), 0, 20, PT_PROPERTY_TYPE::PT_LONG, "Übertragen", "Assigned", false, 0, true},
    {{0, 16, 0, 0}, "DelegationState", "{00062003-0000-0000-C000-000000000046}", rt::Variant(std::int16_t{-32470}), 0, 20, PT_PROPERTY_TYPE::PT_LONG, "Anfragestatus", "Request Status", false, 0, true},
    {{0, 0, 5, 0}, "TypeDescription", "{0006200A-0000-0000-C000-000000000046}", rt::Variant(std::int16_t{-30958}), 0, 1, PT_PROPERTY_TYPE::PT_STRING8, "Eintragstyp", "Entry Type", false, 0, false},
    {{13, 21, 6, 8}, "PR_BODY", "{00020328-0000-0000-C000-000000000046}", rt::Variant(std::int16_t{0}), 268435486, 1, PT_PROPERTY_TYPE::PT_STRING8, "Nachricht", "Message", false, 0, false},
    {{20, 28, 10, 15}, "PR_ENTRYID", "{00020328-0000-0000-C000-000000000046}", rt::Variant(std::int16_t{0}), 268370178, 0, PT_PROPERTY_TYPE::PT_BINARY, "EntryID", "EntryID", true, 0, false},
    {{21, 29, 11, 16}, "PR_STORE_ENTRYID", "{00020328-0000-0000-C000-000000000046}", rt::Variant(std::int16_t{0}), 268108034, 0, PT_PROPERTY_TYPE::PT_BINARY, "ParentEntryID", "ParentEntryID", true, 0, false},
    {{23, 31, 13, 18}, "PR_IMPORTANCE", "{00020328-0000-0000-C000-000000000046}", rt::Variant(std::int16_t{0}), 1507331, 20, PT_PROPERTY_TYPE::PT_LONG, "Wichtigkeit", "Importance", false, 0, true},
    {{27, 35, 17, 22}, "PR_MESSAGE_SIZE", "{00020328-0000-0000-C000-000000000046}", rt::Variant(std::int16_t{0}), 235405315, 20, PT_PROPERTY_TYPE::PT_LONG, "Größe", "Size", false, 0, false},
    {{0, 0, 0, 23}, "PR_PRIORITY", "{00020328-0000-0000-C000-000000000046}", rt::Variant(std::int16_t{0}), 2490371, 20, PT_PROPERTY_TYPE::PT_LONG, "Priorität", "Priority", false, 0, true},
    {{28, 36, 18, 28}, "PR_SENSITIVITY", "{00020328-0000-0000-C000-000000000046}", rt::Variant(std::int16_t{0}), 3538947, 20, PT_PROPERTY_TYPE::PT_LONG, "Vertraulichkeit", "Sensitivity", false, 0, true},
    {{31, 39, 21, 31}, "PR_SUBJECT", "{00020328-0000-0000-C000-000000000046}", rt::Variant(std::int16_t{0}), 3604510, 1, PT_PROPERTY_TYPE::PT_STRING8, "Betreff", "Subject", false, 0, false},
    {{32, 40, 22, 32}, "FolderName", "", rt::Variant(std::int16_t{0}), 0, 1, PT_PROPERTY_TYPE::PT_STRING8, "In Ordner", "In Folder", false, 1, false},
    {{33, 41, 23, 33}, "Icon", "", rt::Variant(std::int16_t{0}), 0, 0, PT_PROPERTY_TYPE::PT_OBJECT, "Symbol", "Icon", false, 2, false},
    {{34, 42, 24, 0}, "PR_MAILBOX_OWNER_NAME", "", rt::Variant(std::int16_t{0}), 0, 1, PT_PROPERTY_TYPE::PT_STRING8, "Postfachbesitzer", "Mailbox owner", false, 9, false},
    {{35, 43, 25, 0}, "PR_CREATOR_NAME", "", rt::Variant(std::int16_t{0}), 0, 1, PT_PROPERTY_TYPE::PT_STRING8, "Ersteller", "Creator", false, 10, false},
    {{36, 44, 26, 0}, "PR_LASTMODIFIER_NAME", "", rt::Variant(std::int16_t{0}), 0, 1, PT_PROPERTY_TYPE::PT_STRING8, "Zuletzt geändert von", "Last modifier", false, 11, false},
    {{37, 45, 27, 34}, "Start", "", rt::Variant(std::int16_t{0}), 0, 5, PT_PROPERTY_TYPE::PT_SYSTIME, "Beginn", "Start", false, 3, false},
    {{38, 46, 28, 35}, "End", "", rt::Variant(std::int16_t{0}), 0, 5, PT_PROPERTY_TYPE::PT_SYSTIME, "Ende/Erledigt am", "End/Date Completed", false, 4, false},
    {{39, 47, 29, 36}, "Duration", "", rt::Variant(std::int16_t{0}), 0, 7, PT_PROPERTY_TYPE::PT_LONG, "Dauer", "Duration", false, 5, false},
    {{40, 48, 30, 37}, "IsRecurring", "", rt::Variant(std::int16_t{0}), 0, 6, PT_PROPERTY_TYPE::PT_BOOLEAN, "Serie", "Recurring", false, 6, false},
    {{41, 0, 0, 0}, "ClipStart", "", rt::Variant(std::int16_t{0}), 0, 5, PT_PROPERTY_TYPE::PT_SYSTIME, "Serienstart", "Recurrence Start", false, 14, false},
    {{42, 0, 0, 0}, "ClipEnd", "", rt::Variant(std::int16_t{0}), 0, 5, PT_PROPERTY_TYPE::PT_SYSTIME, "Serienende", "Recurrence End", false, 15, false},
};
// clang-format on

enum Table
{
    Appointment = 0,
    Task = 1,
    Journal = 2,
    Mail = 3,
};

class BuiltInFieldsTest : public CatalogueFixture
{
protected:
    // The answer of one table in the current language; the mail table straight from its
    // source, as no folder type picks it.
    std::shared_ptr<cFields> Answer(Table eTable)
    {
        switch (eTable) {
        case Appointment:
            return Catalogue().GetFields(DefaultMapiFolder(st::FolderRole::Calendar));
        case Task:
            return Catalogue().GetFields(DefaultMapiFolder(st::FolderRole::Tasks));
        case Journal:
            return Catalogue().GetFields(DefaultMapiFolder(st::FolderRole::Journal));
        case Mail:
            break;
        }
        return nullptr;
    }

    // The mail table's fields in table order.
    static std::vector<std::shared_ptr<cField>> MailFields()
    {
        detail::cMailItemFields oSource;
        const auto colFields = oSource.GetFields(nullptr);
        return {colFields.begin(), colFields.end()};
    }

    std::vector<std::shared_ptr<cField>> Fields(Table eTable)
    {
        return eTable == Mail ? MailFields() : FieldsOf(*Answer(eTable));
    }
};

std::string KeyOf(const ExpectedRow& oRow)
{
    return oRow.sGUID.empty() ? oRow.sName : oRow.sGUID + "/" + oRow.sName;
}

const cField* FindByName(const std::vector<std::shared_ptr<cField>>& vFields,
                         const std::string& sName)
{
    for (const auto& oField : vFields) {
        if (oField->Name() == sName)
            return oField.get();
    }
    return nullptr;
}

TEST_F(BuiltInFieldsTest, EachTableHasItsRowsInItsOrder)
{
    for (Table eTable : {Appointment, Task, Journal, Mail}) {
        SCOPED_TRACE(eTable);
        const auto vFields = Fields(eTable);
        const auto& vOrder = kTableOrder[eTable];
        ASSERT_EQ(vFields.size(), vOrder.size());
        std::vector<std::string> vByIndex(vOrder.size());
        for (const auto& oField : vFields) {
            ASSERT_GE(oField->Index(), 1);
            ASSERT_LE(oField->Index(), static_cast<std::int32_t>(vOrder.size()));
            vByIndex[oField->Index() - 1] = oField->Name();
        }
        EXPECT_EQ(vByIndex, vOrder);
    }
}

TEST_F(BuiltInFieldsTest, TableCountsAsTheTablesHaveThem)
{
    EXPECT_EQ(Answer(Appointment)->Count(), 42);
    EXPECT_EQ(Answer(Task)->Count(), 48);
    EXPECT_EQ(Answer(Journal)->Count(), 30);
    EXPECT_EQ(MailFields().size(), 37u);
}

TEST_F(BuiltInFieldsTest, SampleRowsCarryEveryValueOfTheirTable)
{
    for (long lLanguage : {1031L, 1033L}) {
        Catalogue().SetLanguageID(lLanguage);
        for (Table eTable : {Appointment, Task, Journal, Mail}) {
            const auto vFields = Fields(eTable);
            for (const ExpectedRow& oRow : kSampleRows) {
                SCOPED_TRACE(oRow.sName + " in table " + std::to_string(eTable) + " language " +
                             std::to_string(lLanguage));
                const cField* pField = FindByName(vFields, oRow.sName);
                if (oRow.anIndex[eTable] == 0) {
                    EXPECT_EQ(pField, nullptr);
                    continue;
                }
                ASSERT_NE(pField, nullptr);
                EXPECT_EQ(pField->Index(), oRow.anIndex[eTable]);
                EXPECT_EQ(pField->GUID(), oRow.sGUID);
                EXPECT_EQ(pField->ID(), oRow.vID);
                EXPECT_EQ(pField->Key(), KeyOf(oRow));
                EXPECT_EQ(pField->PropTag(), oRow.lPropTag);
                EXPECT_EQ(pField->PropertyType(), oRow.lPropertyType);
                EXPECT_EQ(pField->MapiPropertyType(), oRow.eMapiType);
                EXPECT_FALSE(pField->IsUserDefined());
                EXPECT_EQ(pField->Caption(), lLanguage == 1033 ? oRow.sEnglish : oRow.sGerman);
                EXPECT_EQ(pField->HiddenProperty(), oRow.bHidden);
                EXPECT_EQ(pField->MappingValue(), oRow.lMapping);
                EXPECT_EQ(pField->EnumValue(), oRow.bEnum);
            }
        }
    }
}

TEST_F(BuiltInFieldsTest, FlagsAndMappingsOnlyWhereTheTablesSetThem)
{
    struct Expected
    {
        Table eTable;
        int nEnums;
        int nMapped;
    };
    for (const Expected& oCase : {Expected{Appointment, 6, 11}, Expected{Task, 5, 11},
                                  Expected{Journal, 2, 9}, Expected{Mail, 3, 6}}) {
        SCOPED_TRACE(oCase.eTable);
        int nEnums = 0, nMapped = 0;
        std::vector<std::string> vHidden;
        for (const auto& oField : Fields(oCase.eTable)) {
            nEnums += oField->EnumValue() ? 1 : 0;
            nMapped += oField->MappingValue() != 0 ? 1 : 0;
            if (oField->HiddenProperty())
                vHidden.push_back(oField->Name());
        }
        EXPECT_EQ(nEnums, oCase.nEnums);
        EXPECT_EQ(nMapped, oCase.nMapped);
        EXPECT_THAT(vHidden, ::testing::UnorderedElementsAre("PR_ENTRYID", "PR_STORE_ENTRYID"));
    }
}

TEST_F(BuiltInFieldsTest, KeysOfEachKindFindTheirField)
{
    const auto oFields = Answer(Appointment);
    struct Case
    {
        std::string sKey;
        const char* sName; // null: nothing is found
        rt::Variant vID;
    };
    const std::vector<Case> vCases = {
        {"{00062008-0000-0000-C000-000000000046}/Private", "Private",
         rt::Variant(std::int16_t{-31482})},
        {"{00062002-0000-0000-C000-000000000046}/Location", "Location",
         rt::Variant(std::int16_t{-32248})},
        {"{00020329-0000-0000-C000-000000000046}/Keywords", "Keywords", rt::Variant("Keywords")},
        {"{00020328-0000-0000-C000-000000000046}/PR_SUBJECT", "PR_SUBJECT",
         rt::Variant(std::int16_t{0})},
        {"{00020328-0000-0000-C000-000000000046}/PR_IMPORTANCE", "PR_IMPORTANCE",
         rt::Variant(std::int16_t{0})},
        {"FolderName", "FolderName", rt::Variant(std::int16_t{0})},
        {"Icon", "Icon", rt::Variant(std::int16_t{0})},
        // Keys ignore letter case, as the collection's keys do.
        {"{00062008-0000-0000-c000-000000000046}/private", "Private",
         rt::Variant(std::int16_t{-31482})},
        // A tagged field is found only under its set.
        {"PR_SUBJECT", nullptr, {}},
        {"{00062008-0000-0000-C000-000000000046}/PR_SUBJECT", nullptr, {}},
        // A task field is not in the appointment answer.
        {"{00062003-0000-0000-C000-000000000046}/Status", nullptr, {}},
        {"", nullptr, {}},
    };
    for (const Case& oCase : vCases) {
        SCOPED_TRACE(oCase.sKey);
        const auto oField = oFields->Item(rt::Variant(oCase.sKey));
        if (!oCase.sName) {
            EXPECT_EQ(oField, nullptr);
            continue;
        }
        ASSERT_NE(oField, nullptr);
        EXPECT_EQ(oField->Name(), oCase.sName);
        EXPECT_EQ(oField->ID(), oCase.vID);
    }
    EXPECT_EQ(oFields->Item(rt::Variant("{00020328-0000-0000-C000-000000000046}/PR_IMPORTANCE"))
                  ->PropTag(),
              1507331);
}

TEST_F(BuiltInFieldsTest, PositionsOutsideTheAnswerFindNothing)
{
    const auto oFields = Answer(Appointment);
    const auto vFields = FieldsOf(*oFields);
    EXPECT_EQ(oFields->Item(rt::Variant(std::int32_t{1})), vFields.front());
    EXPECT_EQ(oFields->Item(rt::Variant(std::int32_t{42})), vFields.back());
    for (std::int32_t lPosition : {0, -1, 43}) {
        SCOPED_TRACE(lPosition);
        EXPECT_EQ(oFields->Item(rt::Variant(lPosition)), nullptr);
    }
    EXPECT_EQ(oFields->Item(rt::Variant()), nullptr);
    EXPECT_EQ(oFields->Item(rt::Variant(rt::Null{})), nullptr);
}

TEST_F(BuiltInFieldsTest, AnswersAreSortedByCaptionAndKeepTheirIndex)
{
    for (long lLanguage : {1031L, 1033L}) {
        Catalogue().SetLanguageID(lLanguage);
        for (Table eTable : {Appointment, Task, Journal}) {
            SCOPED_TRACE(std::to_string(eTable) + " language " + std::to_string(lLanguage));
            const auto vFields = FieldsOf(*Answer(eTable));
            for (std::size_t i = 1; i < vFields.size(); ++i) {
                EXPECT_LE(rt::StrComp(vFields[i - 1]->Caption(), vFields[i]->Caption(),
                                      rt::CompareMethod::Text),
                          0)
                    << vFields[i - 1]->Caption() << " before " << vFields[i]->Caption();
            }
            // Sorting moved the fields away from their table order.
            bool bMoved = false;
            for (std::size_t i = 0; i < vFields.size(); ++i)
                bMoved = bMoved || vFields[i]->Index() != static_cast<std::int32_t>(i + 1);
            EXPECT_TRUE(bMoved);
        }
    }
    Catalogue().SetLanguageID(1031);
    const auto oCalendar = Answer(Appointment);
    EXPECT_EQ(
        oCalendar->Item(rt::Variant("{00020328-0000-0000-C000-000000000046}/PR_BODY"))->Index(),
        13);
    EXPECT_EQ(oCalendar->Item(rt::Variant(std::int32_t{1}))->Caption(), "An");
    EXPECT_EQ(Answer(Task)->Item(rt::Variant(std::int32_t{1}))->Caption(), "% erledigt");
}

} // namespace
} // namespace fieldcatalogue::test
