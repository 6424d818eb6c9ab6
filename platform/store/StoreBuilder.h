#pragma once

#include "platform/store/ItemBuilder.h"
#include "platform/store/NamedProperty.h"
#include "platform/store/Store.h"

#include <string>
#include <string_view>

namespace platform::store {

/// Makes folders and items in a store for tests and the sample profile. Wrap bulk work in
/// `store.BeginTransaction()`: each call otherwise commits on its own.
class StoreBuilder
{
public:
    /// Builds into a store that outlives the builder.
    explicit StoreBuilder(Store& store);

    /// The store.
    Store& GetStore() { return store_; }
    /// The tag of a named property with a type, mapping the name when new.
    PropTag NamedTag(const NamedProperty& name, std::uint16_t type);

    /// A new folder under a parent (the root when the parent is empty).
    FolderInfo Folder(std::string_view name, ItemType type, FolderRole role = FolderRole::None,
                      std::string_view parentEntryId = {});
    /// The store's default folder of a role, made under the root with the client's German name
    /// ("Kalender", "Aufgaben", "Journal", ...) when the store lacks it.
    FolderInfo DefaultFolder(FolderRole role);

    /// An empty item of a message class.
    ItemBuilder Item(std::string_view folderEntryId, std::string_view messageClass);
    /// An appointment ("IPM.Appointment") with subject, start, end (local), duration in
    /// minutes, the common start/end, not all-day, not recurring.
    ItemBuilder Appointment(std::string_view folderEntryId, std::string_view subject,
                            LocalTime start, LocalTime end);
    /// A task ("IPM.Task") with subject, status 0, not complete, not recurring.
    ItemBuilder Task(std::string_view folderEntryId, std::string_view subject);
    /// A journal entry ("IPM.Activity") with subject, entry type (e.g. "Telefonanruf"), start,
    /// duration in minutes, and end = start + duration.
    ItemBuilder JournalEntry(std::string_view folderEntryId, std::string_view subject,
                             std::string_view entryType, LocalTime start, int durationMinutes);
    /// A mail ("IPM.Note") with subject.
    ItemBuilder Mail(std::string_view folderEntryId, std::string_view subject);

private:
    Store& store_;
};

} // namespace platform::store
