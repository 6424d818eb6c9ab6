#include "platform/store/ItemBuilder.h"

#include "platform/store/KnownProperties.h"
#include "platform/store/StoreError.h"

#include <algorithm>

namespace platform::store {

namespace {
bool IsTaskClass(std::string_view cls)
{
    return cls.rfind("IPM.Task", 0) == 0;
}
} // namespace

ItemBuilder::ItemBuilder(Store& store, ItemInfo item) : store_(store), item_(std::move(item)) {}

PropTag ItemBuilder::Tag(const NamedProperty& name, std::uint16_t type)
{
    return MakeTag(store_.GetOrCreateIdFromName(name), type);
}

ItemBuilder& ItemBuilder::Set(PropTag tag, const PropValue& value)
{
    store_.SetItemProperty(item_.entryId, tag, value);
    return *this;
}

ItemBuilder& ItemBuilder::Set(const NamedProperty& name, const PropValue& value)
{
    return Set(Tag(name, NaturalType(value)), value);
}

ItemBuilder& ItemBuilder::SetLid(std::string_view propertySet, std::uint32_t lid,
                                 const PropValue& value)
{
    return Set(NamedProperty::Lid(propertySet, lid), value);
}

ItemBuilder& ItemBuilder::Subject(std::string_view subject)
{
    Set(props::PR_SUBJECT, std::string(subject));
    return Set(props::PR_CONVERSATION_TOPIC, std::string(subject));
}

ItemBuilder& ItemBuilder::Body(std::string_view body)
{
    return Set(props::PR_BODY, std::string(body));
}

ItemBuilder& ItemBuilder::Categories(const MultiString& categories)
{
    return Set(NamedProperty::Name(PS_PUBLIC_STRINGS, props::kKeywords), categories);
}

ItemBuilder& ItemBuilder::Location(std::string_view location)
{
    return SetLid(PSETID_Appointment, props::LID_Location, std::string(location));
}

ItemBuilder& ItemBuilder::AllDay(bool allDay)
{
    return SetLid(PSETID_Appointment, props::LID_AllDayEvent, allDay);
}

RecurrencePattern ItemBuilder::CurrentPattern() const
{
    auto p = store_.GetRecurrence(item_.entryId);
    if (!p)
        throw StoreError(StoreErrorKind::InvalidArgument,
                         "item is not a recurring series: " + item_.entryId);
    return std::move(*p);
}

ItemBuilder& ItemBuilder::Recur(RecurrencePattern pattern)
{
    pattern.exceptions.clear();
    store_.SetRecurrence(item_.entryId, pattern);
    if (IsTaskClass(item_.messageClass)) {
        SetLid(PSETID_Task, props::LID_TaskRecurring, true);
        return *this;
    }
    SetLid(PSETID_Appointment, props::LID_Recurring, true);
    SetLid(PSETID_Appointment, props::LID_ClipStart, LocalToUtc(pattern.PatternStartDate()));
    return SetLid(PSETID_Appointment, props::LID_ClipEnd, LocalToUtc(pattern.PatternEndDate()));
}

ItemBuilder& ItemBuilder::DeleteOccurrence(const CivilDate& originalDate)
{
    auto p = CurrentPattern();
    RecurrenceException e;
    e.originalDay = DayFromCivil(originalDate);
    e.deleted = true;
    p.exceptions.push_back(e);
    store_.SetRecurrence(item_.entryId, p);
    return *this;
}

ItemBuilder& ItemBuilder::ModifyOccurrence(const CivilDate& originalDate,
                                           const OccurrenceChange& change)
{
    auto p = CurrentPattern();
    const std::int32_t day = DayFromCivil(originalDate);
    if (!p.IsOccurrenceDay(day) || p.FindException(day) != nullptr)
        throw StoreError(StoreErrorKind::InvalidArgument,
                         "no plain occurrence on that date to modify");
    RecurrenceException e;
    e.originalDay = day;
    e.start = change.start.value_or(
        LocalTime{StartOfDay(day).seconds + static_cast<std::int64_t>(p.startMinute) * 60});
    e.end = change.end.value_or(
        LocalTime{e.start.seconds + static_cast<std::int64_t>(p.durationMinutes) * 60});
    const auto exceptionItem = store_.CreateExceptionItem(item_.entryId);
    e.itemEntryId = exceptionItem.entryId;
    ItemBuilder ex(store_, exceptionItem);
    const bool task = IsTaskClass(item_.messageClass);
    if (!task) {
        ex.SetLid(PSETID_Appointment, props::LID_AppointmentStart, LocalToUtc(e.start));
        ex.SetLid(PSETID_Appointment, props::LID_AppointmentEnd, LocalToUtc(e.end));
        ex.SetLid(PSETID_Appointment, props::LID_AppointmentDuration,
                  static_cast<std::int32_t>((e.end.seconds - e.start.seconds) / 60));
    }
    ex.SetLid(PSETID_Common, props::LID_CommonStart, LocalToUtc(e.start));
    ex.SetLid(PSETID_Common, props::LID_CommonEnd, LocalToUtc(e.end));
    if (change.subject)
        ex.Subject(*change.subject);
    if (change.location)
        ex.Location(*change.location);
    for (const auto& [tag, value] : change.properties)
        ex.Set(tag, value);
    p.exceptions.push_back(e);
    store_.SetRecurrence(item_.entryId, p);
    return *this;
}

ItemBuilder& ItemBuilder::AttachFile(std::string_view fileName, std::span<const std::uint8_t> data,
                                     std::int32_t position)
{
    store_.AddFileAttachment(item_.entryId, fileName, data, position);
    return *this;
}

ItemBuilder ItemBuilder::Embed(std::string_view messageClass, std::string_view displayName,
                               std::int32_t position)
{
    return ItemBuilder(store_,
                       store_.AddEmbeddedItem(item_.entryId, messageClass, displayName, position));
}

ItemBuilder& ItemBuilder::AddRecipient(RecipientType type, std::string_view name,
                                       std::string_view address)
{
    store_.AddRecipient(item_.entryId, {type, std::string(name), std::string(address), true});
    return *this;
}

} // namespace platform::store
