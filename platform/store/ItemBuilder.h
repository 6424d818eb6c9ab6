#pragma once

#include "platform/store/NamedProperty.h"
#include "platform/store/PropValue.h"
#include "platform/store/RecurrencePattern.h"
#include "platform/store/Store.h"
#include "platform/store/StoreRecords.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform::store {

/// What a modified occurrence changes; unset members keep the series' values.
struct OccurrenceChange
{
    std::optional<LocalTime> start;
    std::optional<LocalTime> end;
    std::optional<std::string> subject;
    std::optional<std::string> location;
    /// Further properties of the modified occurrence (tagged; named ones through their tag
    /// from StoreBuilder::NamedTag).
    std::vector<std::pair<PropTag, PropValue>> properties;
};

/// Fills one item of a store; every call writes at once. Calls chain:
/// `b.Appointment(cal, "Jour fixe", start, end).Set(props::PR_IMPORTANCE, 2).Categories({"Büro"})`.
/// Errors are the store's (StoreError).
class ItemBuilder
{
public:
    /// Builds on an existing item.
    ItemBuilder(Store& store, ItemInfo item);

    /// The item's entry id.
    const std::string& EntryId() const { return item_.entryId; }
    /// The item's identity.
    const ItemInfo& Info() const { return item_; }

    /// Sets a tagged property (the value must fit the tag's type).
    ItemBuilder& Set(PropTag tag, const PropValue& value);
    /// Sets a named property; its type is the value's natural type (text PT_STRING8, lists
    /// PT_MV_STRING8).
    ItemBuilder& Set(const NamedProperty& name, const PropValue& value);
    /// Sets a LID-named property of a property set.
    ItemBuilder& SetLid(std::string_view propertySet, std::uint32_t lid, const PropValue& value);
    /// PR_SUBJECT (and PR_CONVERSATION_TOPIC).
    ItemBuilder& Subject(std::string_view subject);
    /// PR_BODY.
    ItemBuilder& Body(std::string_view body);
    /// The categories: "Keywords" in PS_PUBLIC_STRINGS (multi-valued text).
    ItemBuilder& Categories(const MultiString& categories);
    /// The appointment's location (PSETID_Appointment 0x8208).
    ItemBuilder& Location(std::string_view location);
    /// Marks an appointment as all-day (PSETID_Appointment 0x8215).
    ItemBuilder& AllDay(bool allDay = true);

    /// Makes the item a recurring series: stores the pattern (validated), sets the recurring
    /// flag (appointment 0x8223 or task 0x8126 by message class) and, for appointments, clip
    /// start and end (0x8235, 0x8236: local midnight of the pattern's first and last day).
    /// The pattern's exceptions are dropped; add them with DeleteOccurrence / ModifyOccurrence.
    ItemBuilder& Recur(RecurrencePattern pattern);
    /// Deletes the occurrence that the pattern puts on a date.
    ItemBuilder& DeleteOccurrence(const CivilDate& originalDate);
    /// Modifies the occurrence that the pattern puts on a date: an exception item carries the
    /// changes (start and end also as the item's start/end properties).
    ItemBuilder& ModifyOccurrence(const CivilDate& originalDate, const OccurrenceChange& change);

    /// Adds a file attachment.
    ItemBuilder& AttachFile(std::string_view fileName, std::span<const std::uint8_t> data,
                            std::int32_t position = -1);
    /// Adds an embedded item and answers its builder.
    ItemBuilder Embed(std::string_view messageClass, std::string_view displayName,
                      std::int32_t position = -1);
    /// Adds a recipient.
    ItemBuilder& AddRecipient(RecipientType type, std::string_view name, std::string_view address);

private:
    PropTag Tag(const NamedProperty& name, std::uint16_t type);
    RecurrencePattern CurrentPattern() const;

    Store& store_;
    ItemInfo item_;
};

} // namespace platform::store
