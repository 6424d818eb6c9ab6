#pragma once

#include "platform/store/PropValue.h"

#include <cstdint>

/// Tags and LIDs of the properties the system reads. Tagged properties are full tags; named
/// properties are LIDs of their property set (see NamedProperty.h for the sets).
namespace platform::store::props {

// Tagged properties.
inline constexpr PropTag PR_IMPORTANCE = 0x00170003;
inline constexpr PropTag PR_MESSAGE_CLASS = 0x001A001E;
inline constexpr PropTag PR_ORIGINATOR_DELIVERY_REPORT_REQUESTED = 0x0023000B;
inline constexpr PropTag PR_PRIORITY = 0x00260003;
inline constexpr PropTag PR_READ_RECEIPT_REQUESTED = 0x0029000B;
inline constexpr PropTag PR_SENSITIVITY = 0x00360003;
inline constexpr PropTag PR_SUBJECT = 0x0037001E;
inline constexpr PropTag PR_CLIENT_SUBMIT_TIME = 0x00390040;
inline constexpr PropTag PR_RECEIVED_BY_NAME = 0x0040001E;
inline constexpr PropTag PR_SENT_REPRESENTING_NAME = 0x0042001E;
inline constexpr PropTag PR_SENT_REPRESENTING_EMAIL_ADDRESS = 0x0065001E;
inline constexpr PropTag PR_CONVERSATION_TOPIC = 0x0070001E;
inline constexpr PropTag PR_RECEIVED_BY_EMAIL_ADDRESS = 0x0076001E;
inline constexpr PropTag PR_DISPLAY_BCC = 0x0E02001E;
inline constexpr PropTag PR_DISPLAY_CC = 0x0E03001E;
inline constexpr PropTag PR_DISPLAY_TO = 0x0E04001E;
inline constexpr PropTag PR_MESSAGE_DELIVERY_TIME = 0x0E060040;
inline constexpr PropTag PR_MESSAGE_FLAGS = 0x0E070003;
inline constexpr PropTag PR_MESSAGE_SIZE = 0x0E080003;
inline constexpr PropTag PR_HASATTACH = 0x0E1B000B;
inline constexpr PropTag PR_STORE_ENTRYID = 0x0FFB0102;
inline constexpr PropTag PR_ENTRYID = 0x0FFF0102;
inline constexpr PropTag PR_BODY = 0x1000001E;
inline constexpr PropTag PR_RTF_COMPRESSED = 0x10090102;
inline constexpr PropTag PR_HTML = 0x10130102;
inline constexpr PropTag PR_CREATION_TIME = 0x30070040;
inline constexpr PropTag PR_LAST_MODIFICATION_TIME = 0x30080040;
inline constexpr PropTag PR_DISPLAY_NAME = 0x3001001E;
inline constexpr PropTag PR_CREATOR_NAME = 0x3FF8001E;
inline constexpr PropTag PR_LAST_MODIFIER_NAME = 0x3FFA001E;
inline constexpr PropTag PR_MAILBOX_OWNER_NAME = 0x661C001E;

/// Store-level property holding the master category list: the category names joined by ";"
/// (PT_STRING8), in the order the user keeps them. Set on the default store.
inline constexpr PropTag PR_MASTER_CATEGORY_LIST = 0x67F0001E;

// PSETID_Common LIDs.
inline constexpr std::uint32_t LID_ReminderTime = 0x8502;
inline constexpr std::uint32_t LID_ReminderSet = 0x8503;
inline constexpr std::uint32_t LID_Private = 0x8506;
inline constexpr std::uint32_t LID_CommonStart = 0x8516;
inline constexpr std::uint32_t LID_CommonEnd = 0x8517;
inline constexpr std::uint32_t LID_Mileage = 0x8534;
inline constexpr std::uint32_t LID_BillingInformation = 0x8535;
inline constexpr std::uint32_t LID_Companies = 0x8539;
inline constexpr std::uint32_t LID_Contacts = 0x853A;

// PSETID_Appointment LIDs.
inline constexpr std::uint32_t LID_BusyStatus = 0x8205;
inline constexpr std::uint32_t LID_Location = 0x8208;
inline constexpr std::uint32_t LID_AppointmentStart = 0x820D;
inline constexpr std::uint32_t LID_AppointmentEnd = 0x820E;
inline constexpr std::uint32_t LID_AppointmentDuration = 0x8213;
inline constexpr std::uint32_t LID_Label = 0x8214;
inline constexpr std::uint32_t LID_AllDayEvent = 0x8215;
inline constexpr std::uint32_t LID_MeetingStatus = 0x8217;
inline constexpr std::uint32_t LID_ResponseStatus = 0x8218;
inline constexpr std::uint32_t LID_Recurring = 0x8223;
inline constexpr std::uint32_t LID_ClipStart = 0x8235;
inline constexpr std::uint32_t LID_ClipEnd = 0x8236;

// PSETID_Task LIDs.
inline constexpr std::uint32_t LID_TaskStatus = 0x8101;
inline constexpr std::uint32_t LID_PercentComplete = 0x8102;
inline constexpr std::uint32_t LID_TeamTask = 0x8103;
inline constexpr std::uint32_t LID_TaskStartDate = 0x8104;
inline constexpr std::uint32_t LID_TaskDueDate = 0x8105;
inline constexpr std::uint32_t LID_TaskDateCompleted = 0x810F;
inline constexpr std::uint32_t LID_TaskActualWork = 0x8110;
inline constexpr std::uint32_t LID_TaskTotalWork = 0x8111;
inline constexpr std::uint32_t LID_TaskComplete = 0x811C;
inline constexpr std::uint32_t LID_TaskOwner = 0x811F;
inline constexpr std::uint32_t LID_TaskDelegator = 0x8121;
inline constexpr std::uint32_t LID_TaskRecurring = 0x8126;
inline constexpr std::uint32_t LID_TaskRole = 0x8127;
inline constexpr std::uint32_t LID_TaskOwnership = 0x8129;
inline constexpr std::uint32_t LID_TaskDelegationState = 0x812A;

// PSETID_Log LIDs (journal).
inline constexpr std::uint32_t LID_LogType = 0x8700;
inline constexpr std::uint32_t LID_LogStart = 0x8706;
inline constexpr std::uint32_t LID_LogDuration = 0x8707;
inline constexpr std::uint32_t LID_LogEnd = 0x8708;
inline constexpr std::uint32_t LID_LogTypeDesc = 0x8712;

/// The string name of the categories in PS_PUBLIC_STRINGS.
inline constexpr const char* kKeywords = "Keywords";

} // namespace platform::store::props
