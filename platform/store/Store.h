#pragma once

#include "platform/store/NamedProperty.h"
#include "platform/store/PropValue.h"
#include "platform/store/RecurrencePattern.h"
#include "platform/store/StoreRecords.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace platform::store {

/// One message store: a SQLite database file holding folders, items with tagged and named
/// properties, recurrence patterns with exceptions, attachments and recipients.
///
/// Objects are named by entry ids (hex text): stable for the life of the object, unique across
/// stores (they carry the store's 16-byte identity), unchanged by a move. Items are listed in
/// the order they were created. Every call throws StoreError: NotFound for an unknown entry id,
/// InvalidArgument for a value that does not fit its tag, Database when SQLite fails.
///
/// Computed item properties (answered by GetItemProperty and ReadTable, never stored):
/// PR_ENTRYID and PR_STORE_ENTRYID (the entry ids as binary), PR_MESSAGE_CLASS (the item's
/// class), PR_HASATTACH (whether it has attachments). Text tags of type PT_UNICODE and
/// PT_MV_UNICODE are the same properties as their 8-bit forms (see NormalizeTag).
///
/// Not thread-safe: one thread uses a store at a time.
class Store
{
public:
    /// Creates a new store file (fails when the file exists). `uid` is the store's 16-byte
    /// identity as 32 hex digits; empty picks a random one.
    static std::unique_ptr<Store> Create(const std::filesystem::path& file, std::string_view name,
                                         StoreKind kind, std::string_view uid = {});
    /// Opens an existing store file.
    static std::unique_ptr<Store> Open(const std::filesystem::path& file);
    ~Store();
    Store(const Store&) = delete;
    Store& operator=(const Store&) = delete;

    // --- the store itself -------------------------------------------------------------------
    /// The store's entry id.
    const std::string& EntryId() const;
    /// Display name.
    std::string Name() const;
    /// Renames the store.
    void SetName(std::string_view name);
    /// Store kind.
    StoreKind Kind() const;
    /// The database file.
    const std::filesystem::path& File() const;
    /// The root folder (the top of the store's folder tree, named like the store).
    FolderInfo RootFolder() const;
    /// Store-level property (e.g. 0x661C001E mailbox owner name); nullopt when missing.
    std::optional<PropValue> GetProperty(PropTag tag) const;
    /// Sets a store-level property; the value must fit the tag's type.
    void SetProperty(PropTag tag, const PropValue& value);
    /// Removes a store-level property (no error when missing).
    void DeleteProperty(PropTag tag);
    /// Every store-level property, ordered by tag.
    std::vector<std::pair<PropTag, PropValue>> Properties() const;

    // --- named properties -------------------------------------------------------------------
    /// The id (0x8000 or above) mapped to a name in this store; nullopt when unmapped.
    std::optional<std::uint16_t> GetIdFromName(const NamedProperty& name) const;
    /// The id mapped to a name, mapping it first when new. Throws InvalidArgument when the
    /// store has run out of ids (0xFFFE is the last).
    std::uint16_t GetOrCreateIdFromName(const NamedProperty& name);
    /// The name mapped to an id; nullopt when unmapped.
    std::optional<NamedProperty> GetNameFromId(std::uint16_t id) const;
    /// Every mapping of the store, ordered by id.
    std::vector<std::pair<std::uint16_t, NamedProperty>> NamedProperties() const;

    // --- folders ----------------------------------------------------------------------------
    /// Creates a folder under a parent. A role other than None makes it the store's default
    /// folder of that role (InvalidArgument when the store has one already). An empty container
    /// class is filled in from the item type ("IPF.Note", "IPF.Appointment", ...).
    FolderInfo CreateFolder(std::string_view parentEntryId, std::string_view name,
                            ItemType defaultItemType, FolderRole role = FolderRole::None,
                            std::string_view containerClass = {});
    /// A folder by entry id; nullopt when the store has none.
    std::optional<FolderInfo> FindFolder(std::string_view entryId) const;
    /// A folder by entry id; throws NotFound.
    FolderInfo GetFolder(std::string_view entryId) const;
    /// The subfolders of a folder, in creation order.
    std::vector<FolderInfo> SubFolders(std::string_view folderEntryId) const;
    /// Every folder of the store, in creation order (root first).
    std::vector<FolderInfo> AllFolders() const;
    /// The default folder of a role; nullopt when the store has none.
    std::optional<FolderInfo> DefaultFolder(FolderRole role) const;
    /// Adds a user-defined field to a folder's list (the set is canonicalised).
    void AddUserField(std::string_view folderEntryId, const UserField& field);
    /// The folder's user-defined fields in the order added.
    std::vector<UserField> UserFields(std::string_view folderEntryId) const;

    // --- items ------------------------------------------------------------------------------
    /// Creates an empty item in a folder.
    ItemInfo CreateItem(std::string_view folderEntryId, std::string_view messageClass);
    /// An item by entry id (any kind); nullopt when the store has none.
    std::optional<ItemInfo> FindItem(std::string_view entryId) const;
    /// The items of the given entry ids that exist, in creation order, read in one pass.
    std::vector<ItemInfo> FindItems(std::span<const std::string> entryIds) const;
    /// An item by entry id; throws NotFound.
    ItemInfo GetItem(std::string_view entryId) const;
    /// Number of ordinary items in a folder.
    std::size_t ItemCount(std::string_view folderEntryId) const;
    /// The ordinary items of a folder in creation order (the first `limit` of them).
    std::vector<ItemInfo> Items(std::string_view folderEntryId,
                                std::size_t limit = static_cast<std::size_t>(-1)) const;
    /// Changes an item's message class.
    void SetMessageClass(std::string_view itemEntryId, std::string_view messageClass);
    /// Moves an ordinary item to another folder of this store; its entry id stays.
    void MoveItem(std::string_view itemEntryId, std::string_view folderEntryId);
    /// Deletes an item with its properties, recurrence, exception items, attachments
    /// (embedded items included) and recipients.
    void DeleteItem(std::string_view itemEntryId);

    /// A property of an item; nullopt when missing.
    std::optional<PropValue> GetItemProperty(std::string_view itemEntryId, PropTag tag) const;
    /// Sets a property; InvalidArgument when the value does not fit the tag's type or the tag
    /// is a computed one.
    void SetItemProperty(std::string_view itemEntryId, PropTag tag, const PropValue& value);
    /// Sets several properties at once (each as SetItemProperty; all or none are written).
    void SetItemProperties(std::string_view itemEntryId,
                           std::span<const std::pair<PropTag, PropValue>> properties);
    /// Removes a property (no error when missing).
    void DeleteItemProperty(std::string_view itemEntryId, PropTag tag);
    /// Every stored property of an item, ordered by tag.
    std::vector<std::pair<PropTag, PropValue>> ItemProperties(std::string_view itemEntryId) const;

    /// Reads the given columns of every ordinary item of a folder in one pass, in creation order.
    std::vector<TableRow> ReadTable(std::string_view folderEntryId,
                                    std::span<const PropTag> columns) const;
    /// Reads the given columns of those ordinary items of a folder that have a value inside at
    /// least one of the ranges, in creation order. The ranges are answered by the store's value
    /// index, so the cost follows the rows found, not the folder's size. With `seriesWindow`
    /// (UTC seconds; its tag does not count), a range that asks for the recurring items (the
    /// appointment's recurring flag equal to 1) gives only the series that can have an
    /// occurrence inside the window: those that end before it or begin after it are left out.
    std::vector<TableRow>
    ReadTableInRanges(std::string_view folderEntryId, std::span<const PropTag> columns,
                      std::span<const ValueRange> anyOf,
                      const std::optional<ValueRange>& seriesWindow = std::nullopt) const;
    /// Reads every stored property of every ordinary item of a folder in one pass, in creation
    /// order, handing each item to `visit`.
    void ForEachItem(std::string_view folderEntryId,
                     const std::function<void(const ItemWithProperties&)>& visit) const;

    // --- recurrence -------------------------------------------------------------------------
    /// Stores (or replaces) an item's recurrence pattern with its exceptions; validates it
    /// first. Exception items named by the exceptions must be this item's exception items.
    void SetRecurrence(std::string_view itemEntryId, const RecurrencePattern& pattern);
    /// The item's pattern; nullopt when the item does not recur.
    std::optional<RecurrencePattern> GetRecurrence(std::string_view itemEntryId) const;
    /// The patterns (with their exceptions) of every recurring ordinary item of a folder, by
    /// the item's entry id, read in one pass.
    std::unordered_map<std::string, RecurrencePattern>
    FolderRecurrences(std::string_view folderEntryId) const;
    /// The patterns (with their exceptions) of at least those of the given items of a folder
    /// that recur, by entry id (ids of other stores have none): read for the items given, or
    /// as FolderRecurrences where the folder holds fewer series than that.
    std::unordered_map<std::string, RecurrencePattern>
    Recurrences(std::string_view folderEntryId, std::span<const std::string> itemEntryIds) const;
    /// The exception items (modified occurrences) of the series of a folder, read in one pass.
    std::vector<ItemInfo> FolderExceptionItems(std::string_view folderEntryId) const;
    /// Removes the item's pattern and its exception items.
    void ClearRecurrence(std::string_view itemEntryId);
    /// Creates the hidden item that holds a modified occurrence's own properties.
    ItemInfo CreateExceptionItem(std::string_view masterEntryId);

    // --- attachments and recipients ---------------------------------------------------------
    /// Adds a file attachment; answers its number.
    int AddFileAttachment(std::string_view itemEntryId, std::string_view fileName,
                          std::span<const std::uint8_t> data, std::int32_t position = -1,
                          std::string_view displayName = {});
    /// Adds an attachment holding a new embedded item; answers that item.
    ItemInfo AddEmbeddedItem(std::string_view itemEntryId, std::string_view messageClass,
                             std::string_view displayName, std::int32_t position = -1);
    /// The attachments of an item in the order added.
    std::vector<Attachment> Attachments(std::string_view itemEntryId) const;
    /// Removes an attachment by number (with its embedded item).
    void DeleteAttachment(std::string_view itemEntryId, int number);
    /// Adds a recipient.
    void AddRecipient(std::string_view itemEntryId, const Recipient& recipient);
    /// Replaces the recipient at a 0-based row.
    void SetRecipient(std::string_view itemEntryId, std::size_t row, const Recipient& recipient);
    /// The recipients of an item in the order added.
    std::vector<Recipient> Recipients(std::string_view itemEntryId) const;
    /// Removes every recipient.
    void ClearRecipients(std::string_view itemEntryId);

    // --- transactions -----------------------------------------------------------------------
    /// A unit of work: committed by Commit(), rolled back when destroyed without it. Nests.
    class Transaction
    {
    public:
        ~Transaction();
        Transaction(Transaction&& other) noexcept;
        Transaction& operator=(Transaction&&) = delete;
        /// Makes the work permanent (for a nested transaction: part of the outer one).
        void Commit();

    private:
        friend class Store;
        explicit Transaction(Store& store);
        Store* store_;
    };
    /// Starts a transaction.
    Transaction BeginTransaction();

private:
    struct Impl;
    explicit Store(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

} // namespace platform::store
