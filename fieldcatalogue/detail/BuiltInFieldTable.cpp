#include "fieldcatalogue/detail/BuiltInFieldTable.h"

#include <algorithm>

namespace fieldcatalogue::detail {
namespace {

using enum PT_PROPERTY_TYPE;

// The property sets of the rows.
constexpr const char* kSetCommon = "{00062008-0000-0000-C000-000000000046}";
constexpr const char* kSetPublicStrings = "{00020329-0000-0000-C000-000000000046}";
constexpr const char* kSetAppointment = "{00062002-0000-0000-C000-000000000046}";
constexpr const char* kSetTask = "{00062003-0000-0000-C000-000000000046}";
constexpr const char* kSetJournal = "{0006200A-0000-0000-C000-000000000046}";
// Properties addressed by tag carry this set, so that their keys look like named ones.
constexpr const char* kSetTagged = "{00020328-0000-0000-C000-000000000046}";
constexpr const char* kSetComputed = "";

// {appointment, task, journal, mail} position, name, caption id, set, LID, string name, tag,
// user-property type, MAPI type, hidden, mapping code, enumeration.
// clang-format off
constexpr BuiltInField kFields[] = {
    {{1, 1, 0, 0}, "ReminderSet", 2002, kSetCommon, 0x8503, nullptr, 0, 6, PT_BOOLEAN, false, 0, false},
    {{2, 2, 1, 1}, "Private", 2001, kSetCommon, 0x8506, nullptr, 0, 6, PT_BOOLEAN, false, 0, false},
    {{3, 3, 0, 2}, "ReminderTime", 2003, kSetCommon, 0x8502, nullptr, 0, 5, PT_SYSTIME, false, 0, false},
    {{0, 4, 0, 3}, "Mileage", 2040, kSetCommon, 0x8534, nullptr, 0, 1, PT_STRING8, false, 0, false},
    {{0, 5, 0, 4}, "BillingInformation", 2041, kSetCommon, 0x8535, nullptr, 0, 1, PT_STRING8, false, 0, false},
    {{4, 6, 2, 5}, "Companies", 2007, kSetCommon, 0x8539, nullptr, 0, 11, PT_MV_STRING8, false, 0, false},
    {{5, 7, 3, 6}, "Contacts", 2008, kSetCommon, 0x853A, nullptr, 0, 11, PT_MV_STRING8, false, 0, false},
    {{6, 8, 4, 7}, "Keywords", 2010, kSetPublicStrings, 0, "Keywords", 0, 11, PT_MV_STRING8, false, 0, false},
    {{7, 0, 0, 0}, "Location", 2011, kSetAppointment, 0x8208, nullptr, 0, 1, PT_STRING8, false, 0, false},
    {{8, 0, 0, 0}, "AllDayEvent", 2012, kSetAppointment, 0x8215, nullptr, 0, 6, PT_BOOLEAN, false, 0, false},
    {{9, 0, 0, 0}, "BusyStatus", 2014, kSetAppointment, 0x8205, nullptr, 0, 20, PT_LONG, false, 0, true},
    {{10, 0, 0, 0}, "Label", 2015, kSetAppointment, 0x8214, nullptr, 0, 20, PT_LONG, false, 0, true},
    {{11, 0, 0, 0}, "MeetingStatus", 2016, kSetAppointment, 0x8217, nullptr, 0, 20, PT_LONG, false, 0, true},
    {{12, 0, 0, 0}, "ResponseStatus", 2017, kSetAppointment, 0x8218, nullptr, 0, 20, PT_LONG, false, 0, true},
    {{0, 9, 0, 0}, "Status", 2042, kSetTask, 0x8101, nullptr, 0, 20, PT_LONG, false, 0, true},
    {{0, 10, 0, 0}, "PercentComplete", 2043, kSetTask, 0x8102, nullptr, 0, 12, PT_DOUBLE, false, 0, false},
    {{0, 11, 0, 0}, "DueDate", 2044, kSetTask, 0x8105, nullptr, 0, 5, PT_SYSTIME, false, 0, false},
    {{0, 12, 0, 0}, "ActualWork", 2045, kSetTask, 0x8110, nullptr, 0, 7, PT_LONG, false, 13, false},
    {{0, 13, 0, 0}, "TotalWork", 2046, kSetTask, 0x8111, nullptr, 0, 7, PT_LONG, false, 12, false},
    {{0, 14, 0, 0}, "Complete", 2047, kSetTask, 0x811C, nullptr, 0, 6, PT_BOOLEAN, false, 0, false},
    {{0, 15, 0, 0}, "OwnerShip", 2053, kSetTask, 0x8129, nullptr, 0, 20, PT_LONG, false, 0, true},
    {{0, 16, 0, 0}, "DelegationState", 2052, kSetTask, 0x812A, nullptr, 0, 20, PT_LONG, false, 0, true},
    {{0, 17, 0, 0}, "Role", 2050, kSetTask, 0x8127, nullptr, 0, 1, PT_STRING8, false, 0, false},
    {{0, 18, 0, 0}, "Delegator", 2051, kSetTask, 0x8121, nullptr, 0, 1, PT_STRING8, false, 0, false},
    {{0, 19, 0, 0}, "Owner", 2048, kSetTask, 0x811F, nullptr, 0, 1, PT_STRING8, false, 0, false},
    {{0, 20, 0, 0}, "TeamTask", 2049, kSetTask, 0x8103, nullptr, 0, 6, PT_BOOLEAN, false, 0, false},
    {{0, 0, 5, 0}, "TypeDescription", 2035, kSetJournal, 0x8712, nullptr, 0, 1, PT_STRING8, false, 0, false},
    {{13, 21, 6, 8}, "PR_BODY", 2083, kSetTagged, 0, nullptr, 0x1000001E, 1, PT_STRING8, false, 0, false},
    {{14, 22, 7, 9}, "PR_CLIENT_SUBMIT_TIME", 2020, kSetTagged, 0, nullptr, 0x00390040, 5, PT_SYSTIME, false, 0, false},
    {{15, 23, 8, 10}, "PR_CONVERSATION_TOPIC", 2021, kSetTagged, 0, nullptr, 0x0070001E, 1, PT_STRING8, false, 0, false},
    {{16, 24, 9, 11}, "PR_CREATION_TIME", 2022, kSetTagged, 0, nullptr, 0x30070040, 5, PT_SYSTIME, false, 0, false},
    {{17, 25, 0, 12}, "PR_DISPLAY_BCC", 2080, kSetTagged, 0, nullptr, 0x0E02001E, 1, PT_STRING8, false, 0, false},
    {{18, 26, 0, 13}, "PR_DISPLAY_CC", 2081, kSetTagged, 0, nullptr, 0x0E03001E, 1, PT_STRING8, false, 0, false},
    {{19, 27, 0, 14}, "PR_DISPLAY_TO", 2082, kSetTagged, 0, nullptr, 0x0E04001E, 1, PT_STRING8, false, 0, false},
    {{20, 28, 10, 15}, "PR_ENTRYID", 2085, kSetTagged, 0, nullptr, 0x0FFF0102, 0, PT_BINARY, true, 0, false},
    {{21, 29, 11, 16}, "PR_STORE_ENTRYID", 2087, kSetTagged, 0, nullptr, 0x0FFB0102, 0, PT_BINARY, true, 0, false},
    {{22, 30, 12, 17}, "PR_HASATTACH", 2023, kSetTagged, 0, nullptr, 0x0E1B000B, 6, PT_BOOLEAN, false, 0, false},
    {{23, 31, 13, 18}, "PR_IMPORTANCE", 2024, kSetTagged, 0, nullptr, 0x00170003, 20, PT_LONG, false, 0, true},
    {{24, 32, 14, 19}, "PR_LAST_MODIFICATION_TIME", 2025, kSetTagged, 0, nullptr, 0x30080040, 5, PT_SYSTIME, false, 0, false},
    {{25, 33, 15, 20}, "PR_MESSAGE_CLASS", 2026, kSetTagged, 0, nullptr, 0x001A001E, 1, PT_STRING8, false, 0, false},
    {{26, 34, 16, 21}, "PR_MESSAGE_DELIVERY_TIME", 2027, kSetTagged, 0, nullptr, 0x0E060040, 5, PT_SYSTIME, false, 0, false},
    {{27, 35, 17, 22}, "PR_MESSAGE_SIZE", 2099, kSetTagged, 0, nullptr, 0x0E080003, 20, PT_LONG, false, 0, false},
    {{0, 0, 0, 23}, "PR_PRIORITY", 2028, kSetTagged, 0, nullptr, 0x00260003, 20, PT_LONG, false, 0, true},
    {{0, 0, 0, 24}, "PR_ORIGINATOR_DELIVERY_REPORT_REQUESTED", 2095, kSetTagged, 0, nullptr, 0x0023000B, 6, PT_BOOLEAN, false, 0, false},
    {{0, 0, 0, 25}, "PR_READ_RECEIPT_REQUESTED", 2096, kSetTagged, 0, nullptr, 0x0029000B, 6, PT_BOOLEAN, false, 0, false},
    {{0, 0, 0, 26}, "PR_RECEIVED_BY_EMAIL_ADDRESS", 2097, kSetTagged, 0, nullptr, 0x0076001E, 1, PT_STRING8, false, 0, false},
    {{0, 0, 0, 27}, "PR_RECEIVED_BY_NAME", 2098, kSetTagged, 0, nullptr, 0x0040001E, 1, PT_STRING8, false, 0, false},
    {{28, 36, 18, 28}, "PR_SENSITIVITY", 2031, kSetTagged, 0, nullptr, 0x00360003, 20, PT_LONG, false, 0, true},
    {{29, 37, 19, 29}, "PR_SENT_REPRESENTING_EMAIL_ADDRESS", 2032, kSetTagged, 0, nullptr, 0x0065001E, 1, PT_STRING8, false, 0, false},
    {{30, 38, 20, 30}, "PR_SENT_REPRESENTING_NAME", 2033, kSetTagged, 0, nullptr, 0x0042001E, 1, PT_STRING8, false, 0, false},
    {{31, 39, 21, 31}, "PR_SUBJECT", 2034, kSetTagged, 0, nullptr, 0x0037001E, 1, PT_STRING8, false, 0, false},
    {{32, 40, 22, 32}, "FolderName", 2088, kSetComputed, 0, nullptr, 0, 1, PT_STRING8, false, 1, false},
    {{33, 41, 23, 33}, "Icon", 2084, kSetComputed, 0, nullptr, 0, 0, PT_OBJECT, false, 2, false},
    {{34, 42, 24, 0}, "PR_MAILBOX_OWNER_NAME", 2100, kSetComputed, 0, nullptr, 0, 1, PT_STRING8, false, 9, false},
    {{35, 43, 25, 0}, "PR_CREATOR_NAME", 2101, kSetComputed, 0, nullptr, 0, 1, PT_STRING8, false, 10, false},
    {{36, 44, 26, 0}, "PR_LASTMODIFIER_NAME", 2102, kSetComputed, 0, nullptr, 0, 1, PT_STRING8, false, 11, false},
    {{37, 45, 27, 34}, "Start", 2036, kSetComputed, 0, nullptr, 0, 5, PT_SYSTIME, false, 3, false},
    {{38, 46, 28, 35}, "End", 2037, kSetComputed, 0, nullptr, 0, 5, PT_SYSTIME, false, 4, false},
    {{39, 47, 29, 36}, "Duration", 2013, kSetComputed, 0, nullptr, 0, 7, PT_LONG, false, 5, false},
    {{40, 48, 30, 37}, "IsRecurring", 2000, kSetComputed, 0, nullptr, 0, 6, PT_BOOLEAN, false, 6, false},
    {{41, 0, 0, 0}, "ClipStart", 2103, kSetComputed, 0, nullptr, 0, 5, PT_SYSTIME, false, 14, false},
    {{42, 0, 0, 0}, "ClipEnd", 2104, kSetComputed, 0, nullptr, 0, 5, PT_SYSTIME, false, 15, false},
};
// clang-format on

} // namespace

std::span<const BuiltInField> BuiltInFields()
{
    return kFields;
}

std::vector<const BuiltInField*> TableRows(ItemTable eTable)
{
    const auto nColumn = static_cast<std::size_t>(eTable);
    std::vector<const BuiltInField*> vRows;
    for (const BuiltInField& oRow : kFields) {
        if (oRow.anIndex[nColumn] != 0)
            vRows.push_back(&oRow);
    }
    std::sort(vRows.begin(), vRows.end(), [nColumn](const auto* a, const auto* b) {
        return a->anIndex[nColumn] < b->anIndex[nColumn];
    });
    return vRows;
}

} // namespace fieldcatalogue::detail
