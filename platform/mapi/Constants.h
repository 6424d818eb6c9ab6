#pragma once
/// \file
/// The numbers the messaging library shares with its callers: restriction kinds, relational
/// operators, fuzzy levels, property types and the tags and property sets the system names.
/// Callers pass them as plain whole numbers, so they are constants, not enum classes.

#include <cstdint>

namespace platform::mapi {

/// Restriction kinds of the table filter's tree.
inline constexpr long RES_AND = 0;
inline constexpr long RES_OR = 1;
inline constexpr long RES_NOT = 2;
inline constexpr long RES_CONTENT = 3;
inline constexpr long RES_PROPERTY = 4;
inline constexpr long RES_EXIST = 8;

/// Relational operators of a property leaf.
inline constexpr long RELOP_LT = 0;
inline constexpr long RELOP_LE = 1;
inline constexpr long RELOP_GT = 2;
inline constexpr long RELOP_GE = 3;
inline constexpr long RELOP_EQ = 4;
inline constexpr long RELOP_NE = 5;

/// Fuzzy levels of a content leaf: the low word says where the text must match, the flag
/// FL_IGNORECASE makes the comparison case-insensitive (ICU case folding).
inline constexpr long FL_FULLSTRING = 0x00000;
inline constexpr long FL_SUBSTRING = 0x00001;
inline constexpr long FL_PREFIX = 0x00002;
inline constexpr long FL_IGNORECASE = 0x10000;

/// Property types: the low 16 bits of a tag.
inline constexpr long PT_UNSPECIFIED = 0;
inline constexpr long PT_I2 = 2;
inline constexpr long PT_LONG = 3;
inline constexpr long PT_DOUBLE = 5;
inline constexpr long PT_CURRENCY = 6;
inline constexpr long PT_BOOLEAN = 11;
inline constexpr long PT_OBJECT = 13;
inline constexpr long PT_I8 = 20;
inline constexpr long PT_STRING8 = 30;
inline constexpr long PT_UNICODE = 31;
inline constexpr long PT_SYSTIME = 64;
inline constexpr long PT_BINARY = 258;
inline constexpr long PT_MV_FLAG = 0x1000;
inline constexpr long PT_MV_STRING8 = 0x101E;

/// The property type of a tag.
constexpr long PropType(std::int32_t tag)
{
    return static_cast<long>(tag & 0xFFFF);
}
/// The property identifier of a tag (its high 16 bits).
constexpr long PropId(std::int32_t tag)
{
    return static_cast<long>((static_cast<std::uint32_t>(tag) >> 16) & 0xFFFF);
}

/// Tagged properties the system reads or the library writes.
inline constexpr std::int32_t PR_IMPORTANCE = 0x00170003;
inline constexpr std::int32_t PR_SUBJECT = 0x0037001E;
inline constexpr std::int32_t PR_SENSITIVITY = 0x00360003;
inline constexpr std::int32_t PR_MESSAGE_CLASS = 0x001A001E;
inline constexpr std::int32_t PR_MESSAGE_FLAGS = 0x0E070003;
inline constexpr std::int32_t PR_BODY = 0x1000001E;
inline constexpr std::int32_t PR_RTF_BODY = 0x1009001E;
inline constexpr std::int32_t PR_HTML_BODY = 0x1013001E;
inline constexpr std::int32_t PR_CLIENT_SUBMIT_TIME = 0x00390040;
inline constexpr std::int32_t PR_ENTRYID = 0x0FFF0102;
inline constexpr std::int32_t PR_STORE_ENTRYID = 0x0FFB0102;
inline constexpr std::int32_t PR_CREATOR_NAME = 0x3FF8001E;
inline constexpr std::int32_t PR_LAST_MODIFIER_NAME = 0x3FFA001E;
inline constexpr std::int32_t PR_MAILBOX_OWNER_NAME = 0x661C001E;
inline constexpr std::int32_t PR_STORE_OFFLINE = 0x6632000B;
inline constexpr std::int32_t PR_EXCHANGE_SERVER_VERSION = 0x664B0014;

/// Message flag set on a message that was sent.
inline constexpr long MSGFLAG_READ = 0x1;
inline constexpr long MSGFLAG_UNSENT = 0x8;

/// Property sets, as the text the callers hand over.
inline constexpr const char* PSETID_Appointment = "{00062002-0000-0000-C000-000000000046}";
inline constexpr const char* PSETID_Task = "{00062003-0000-0000-C000-000000000046}";
inline constexpr const char* PSETID_Common = "{00062008-0000-0000-C000-000000000046}";
inline constexpr const char* PSETID_Log = "{0006200A-0000-0000-C000-000000000046}";
inline constexpr const char* PS_PUBLIC_STRINGS = "{00020329-0000-0000-C000-000000000046}";

/// Named-property ids (LIDs) the library itself reads for the typed accessors.
inline constexpr long LID_APPT_LOCATION = 0x8208;
inline constexpr long LID_APPT_DURATION = 0x8213;
inline constexpr long LID_APPT_START = 0x820D;
inline constexpr long LID_APPT_END = 0x820E;
inline constexpr long LID_APPT_RECURRING = 0x8223;
inline constexpr long LID_APPT_CLIP_START = 0x8235;
inline constexpr long LID_APPT_CLIP_END = 0x8236;
inline constexpr long LID_TASK_STATUS = 0x8101;
inline constexpr long LID_TASK_PERCENT_COMPLETE = 0x8102;
inline constexpr long LID_TASK_START = 0x8104;
inline constexpr long LID_TASK_DUE = 0x8105;
inline constexpr long LID_TASK_COMPLETE = 0x811C;
inline constexpr long LID_TASK_DATE_COMPLETED = 0x810F;
inline constexpr long LID_TASK_ACTUAL_WORK = 0x8110;
inline constexpr long LID_TASK_TOTAL_WORK = 0x8111;
inline constexpr long LID_TASK_RECURRING = 0x8126;
inline constexpr long LID_COMMON_START = 0x8516;
inline constexpr long LID_COMMON_END = 0x8517;
inline constexpr long LID_COMPANIES = 0x8539;
inline constexpr long LID_CONTACTS = 0x853A;
inline constexpr long LID_LOG_TYPE = 0x8700;
inline constexpr long LID_LOG_START = 0x8706;
inline constexpr long LID_LOG_DURATION = 0x8707;
inline constexpr long LID_LOG_END = 0x8708;

/// Outlook's default-folder numbers the session answers.
inline constexpr long olFolderOutbox = 4;
inline constexpr long olFolderSentMail = 5;
inline constexpr long olFolderInbox = 6;
inline constexpr long olFolderCalendar = 9;
inline constexpr long olFolderContacts = 10;
inline constexpr long olFolderJournal = 11;
inline constexpr long olFolderNotes = 12;
inline constexpr long olFolderTasks = 13;
inline constexpr long olFolderDrafts = 16;

/// Outlook's item-type numbers (a folder's default item type).
inline constexpr long olMailItem = 0;
inline constexpr long olAppointmentItem = 1;
inline constexpr long olContactItem = 2;
inline constexpr long olTaskItem = 3;
inline constexpr long olJournalItem = 4;
inline constexpr long olNoteItem = 5;
inline constexpr long olPostItem = 6;

} // namespace platform::mapi
