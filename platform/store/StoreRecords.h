#pragma once

#include "platform/store/LocalTime.h"
#include "platform/store/PropValue.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform::store {

/// The kind of a store, numbered as the messaging library reports it (0 to 9).
enum class StoreKind : int
{
    Unknown = 0,
    AnsiPersonal = 1,    ///< personal folders file, 8-bit
    UnicodePersonal = 2, ///< personal folders file, Unicode (the usual default store)
    PrimaryMailbox = 3,
    Delegate = 4,
    PublicFolders = 5,
    Other6 = 6,
    Other7 = 7,
    Other8 = 8,
    Other9 = 9
};

/// The default item type of a folder, numbered as the client does.
enum class ItemType : int
{
    Mail = 0,
    Appointment = 1,
    Contact = 2,
    Task = 3,
    Journal = 4,
    Note = 5,
    Post = 6
};

/// The role of a store's default folder, numbered as the client's default-folder constants.
/// None marks an ordinary folder.
enum class FolderRole : int
{
    None = 0,
    DeletedItems = 3,
    Outbox = 4,
    SentMail = 5,
    Inbox = 6,
    Calendar = 9,
    Contacts = 10,
    Journal = 11,
    Notes = 12,
    Tasks = 13,
    Drafts = 16
};

/// A store as the profile lists it.
struct StoreInfo
{
    std::string entryId; ///< hex text, unique and stable
    std::string name;
    StoreKind kind = StoreKind::UnicodePersonal;
    bool isDefault = false;
    std::string fileName; ///< the database file inside the profile folder
};

/// A folder of a store.
struct FolderInfo
{
    std::string entryId;       ///< hex text, unique and stable
    std::string parentEntryId; ///< empty for the store's root folder
    std::string name;
    ItemType defaultItemType = ItemType::Mail;
    std::string containerClass; ///< "IPF.Appointment", "IPF.Task", ...
    FolderRole role = FolderRole::None;
};

/// A user-defined field of a folder, as the client lists it.
struct UserField
{
    std::string propertySet; ///< GUID text as reported (canonical form)
    int type = 1;            ///< the client's user-property type code (1 text, 3 number, ...)
    std::string name;
};

/// Where an item lives in the store: an ordinary item of a folder, the hidden item holding a
/// modified occurrence's own properties, or an item embedded in an attachment.
enum class ItemKind : int
{
    Normal = 0,
    Exception = 1,
    Embedded = 2
};

/// An item's identity.
struct ItemInfo
{
    std::string entryId; ///< hex text, unique and stable (moving keeps it)
    std::string folderEntryId;
    std::string messageClass; ///< "IPM.Appointment", "IPM.Task", "IPM.Activity", "IPM.Note"...
    ItemKind kind = ItemKind::Normal;
    std::string ownerEntryId; ///< recurring master or containing item; empty for Normal
};

/// How an attachment holds its content.
enum class AttachMethod : int
{
    File = 1,    ///< bytes of a file
    Embedded = 5 ///< an embedded item
};

/// An attachment of an item.
struct Attachment
{
    int number = 0; ///< 0-based, in the order added
    AttachMethod method = AttachMethod::File;
    std::string fileName; ///< file attachments
    std::string displayName;
    std::int32_t position = -1; ///< character position in the body; -1 none
    std::vector<std::uint8_t> data;
    std::string embeddedEntryId; ///< embedded item's entry id
};

/// Recipient types as the messaging model numbers them.
enum class RecipientType : int
{
    To = 1,
    Cc = 2,
    Bcc = 3
};

/// A recipient of an item.
struct Recipient
{
    RecipientType type = RecipientType::To;
    std::string name;
    std::string address;
    bool resolved = false;
};

/// One row of a folder table read: the item and the requested columns' values (nullopt where
/// the item lacks the property).
struct TableRow
{
    ItemInfo item;
    std::vector<std::optional<PropValue>> values;
};

/// An interval of an integer-valued property (times as UTC seconds, flags as 0 and 1, whole
/// numbers, currency); a missing bound leaves that side open.
struct ValueRange
{
    PropTag tag = 0;
    std::optional<std::int64_t> low;
    std::optional<std::int64_t> high;
};

/// All properties of one item, ordered by tag.
struct ItemWithProperties
{
    ItemInfo item;
    std::vector<std::pair<PropTag, PropValue>> properties;
};

} // namespace platform::store
