#include "platform/store/StoreBuilder.h"

#include "platform/store/KnownProperties.h"
#include "platform/store/StoreError.h"

namespace platform::store {

namespace {

struct DefaultFolderSpec
{
    FolderRole role;
    const char* name;
    ItemType type;
};

constexpr DefaultFolderSpec kDefaultFolders[] = {
    {FolderRole::DeletedItems, "Gelöschte Elemente", ItemType::Mail},
    {FolderRole::Outbox, "Postausgang", ItemType::Mail},
    {FolderRole::SentMail, "Gesendete Elemente", ItemType::Mail},
    {FolderRole::Inbox, "Posteingang", ItemType::Mail},
    {FolderRole::Calendar, "Kalender", ItemType::Appointment},
    {FolderRole::Contacts, "Kontakte", ItemType::Contact},
    {FolderRole::Journal, "Journal", ItemType::Journal},
    {FolderRole::Notes, "Notizen", ItemType::Note},
    {FolderRole::Tasks, "Aufgaben", ItemType::Task},
    {FolderRole::Drafts, "Entwürfe", ItemType::Mail},
};

} // namespace

StoreBuilder::StoreBuilder(Store& store) : store_(store) {}

PropTag StoreBuilder::NamedTag(const NamedProperty& name, std::uint16_t type)
{
    return MakeTag(store_.GetOrCreateIdFromName(name), type);
}

FolderInfo StoreBuilder::Folder(std::string_view name, ItemType type, FolderRole role,
                                std::string_view parentEntryId)
{
    const std::string parent =
        parentEntryId.empty() ? store_.RootFolder().entryId : std::string(parentEntryId);
    return store_.CreateFolder(parent, name, type, role);
}

FolderInfo StoreBuilder::DefaultFolder(FolderRole role)
{
    if (auto f = store_.DefaultFolder(role))
        return *f;
    for (const auto& spec : kDefaultFolders)
        if (spec.role == role)
            return Folder(spec.name, spec.type, role);
    throw StoreError(StoreErrorKind::InvalidArgument,
                     "no default folder role " + std::to_string(static_cast<int>(role)));
}

ItemBuilder StoreBuilder::Item(std::string_view folderEntryId, std::string_view messageClass)
{
    return ItemBuilder(store_, store_.CreateItem(folderEntryId, messageClass));
}

ItemBuilder StoreBuilder::Appointment(std::string_view folderEntryId, std::string_view subject,
                                      LocalTime start, LocalTime end)
{
    if (end < start)
        throw StoreError(StoreErrorKind::InvalidArgument, "appointment ends before it starts");
    auto item = Item(folderEntryId, "IPM.Appointment");
    item.Subject(subject)
        .SetLid(PSETID_Appointment, props::LID_AppointmentStart, LocalToUtc(start))
        .SetLid(PSETID_Appointment, props::LID_AppointmentEnd, LocalToUtc(end))
        .SetLid(PSETID_Appointment, props::LID_AppointmentDuration,
                static_cast<std::int32_t>((end.seconds - start.seconds) / 60))
        .SetLid(PSETID_Common, props::LID_CommonStart, LocalToUtc(start))
        .SetLid(PSETID_Common, props::LID_CommonEnd, LocalToUtc(end))
        .SetLid(PSETID_Appointment, props::LID_AllDayEvent, false)
        .SetLid(PSETID_Appointment, props::LID_Recurring, false);
    return item;
}

ItemBuilder StoreBuilder::Task(std::string_view folderEntryId, std::string_view subject)
{
    auto item = Item(folderEntryId, "IPM.Task");
    item.Subject(subject)
        .SetLid(PSETID_Task, props::LID_TaskStatus, std::int32_t{0})
        .SetLid(PSETID_Task, props::LID_TaskComplete, false)
        .SetLid(PSETID_Task, props::LID_TaskRecurring, false);
    return item;
}

ItemBuilder StoreBuilder::JournalEntry(std::string_view folderEntryId, std::string_view subject,
                                       std::string_view entryType, LocalTime start,
                                       int durationMinutes)
{
    const LocalTime end{start.seconds + static_cast<std::int64_t>(durationMinutes) * 60};
    auto item = Item(folderEntryId, "IPM.Activity");
    item.Subject(subject)
        .SetLid(PSETID_Log, props::LID_LogType, std::string(entryType))
        .SetLid(PSETID_Log, props::LID_LogTypeDesc, std::string(entryType))
        .SetLid(PSETID_Log, props::LID_LogStart, LocalToUtc(start))
        .SetLid(PSETID_Log, props::LID_LogEnd, LocalToUtc(end))
        .SetLid(PSETID_Log, props::LID_LogDuration, std::int32_t{durationMinutes});
    return item;
}

ItemBuilder StoreBuilder::Mail(std::string_view folderEntryId, std::string_view subject)
{
    auto item = Item(folderEntryId, "IPM.Note");
    item.Subject(subject);
    return item;
}

} // namespace platform::store
