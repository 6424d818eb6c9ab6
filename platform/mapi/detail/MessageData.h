#pragma once

#include "platform/store/PropValue.h"
#include "platform/store/RecurrencePattern.h"
#include "platform/store/Store.h"
#include "platform/store/StoreRecords.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform::mapi::detail {

class Context;
struct Prefetch;

/// The state behind a Message view: a stored item (store id and entry id), or a new item
/// that lives in memory until it is written into its folder. An occurrence of a recurring
/// item is its master's data with the occurrence's own times laid over it.
class MessageData : public std::enable_shared_from_this<MessageData>
{
public:
    /// A stored item.
    MessageData(std::shared_ptr<detail::Context> context, std::string storeId, std::string entryId);
    /// A new item for a folder, not yet written.
    static std::shared_ptr<MessageData> NewItem(std::shared_ptr<detail::Context> context,
                                                std::string storeId, std::string folderEntryId,
                                                std::string messageClass);

    const std::shared_ptr<detail::Context>& Context() const { return m_context; }
    const std::string& StoreId() const { return m_storeId; }
    /// "" while not written.
    const std::string& EntryId() const { return m_entryId; }
    bool IsNew() const { return m_entryId.empty(); }
    store::Store& Store() const;
    /// The store that names its named properties (its own).
    store::Store& NamingStore() const { return Store(); }
    /// The item's record; for a new item its class and target folder.
    store::ItemInfo Info() const;
    /// The item's message class (cheaper than Info when the read has it).
    std::string MessageClass() const;
    /// Where the item lives (cheaper than Info when the read has it).
    store::ItemKind Kind() const;
    /// The item's recurrence pattern; null when it does not recur (also for new items).
    /// Valid until the next change through the library.
    const store::RecurrencePattern* Recurrence() const;

    /// A property (nullopt when missing). A PT_UNSPECIFIED tag matches any type of its id.
    /// An occurrence answers its own start, end and duration under the series' tags.
    std::optional<store::PropValue> Get(store::PropTag tag) const;
    /// A LID-named property of a type; nullopt when missing or not mapped.
    std::optional<store::PropValue> GetNamed(const char* set, long lid, std::uint16_t type) const;
    void Set(store::PropTag tag, const store::PropValue& value);
    /// Sets a LID-named property, mapping the name when new.
    void SetNamed(const char* set, long lid, const store::PropValue& value);
    void Remove(store::PropTag tag);
    void SetMessageClass(const std::string& messageClass);

    std::vector<store::Recipient> Recipients() const;
    void AddRecipient(const store::Recipient& recipient);
    void SetRecipient(std::size_t row, const store::Recipient& recipient);
    void RemoveRecipient(std::size_t row);
    std::vector<store::Attachment> Attachments() const;
    void AddAttachment(const std::string& fileName, std::vector<std::uint8_t> data,
                       std::int32_t position, const std::string& displayName);

    /// Writes a new item into its folder (no effect for a stored one).
    void Write();
    /// Moves the item into another folder (of the same or another store) and answers the
    /// data of the moved item.
    std::shared_ptr<MessageData> MoveTo(const std::string& storeId,
                                        const std::string& folderEntryId);
    void Delete();

    /// Lets the item answer the prefetched columns of its row without asking the store.
    void UsePrefetch(std::shared_ptr<const Prefetch> prefetch, std::size_t row);

    /// The occurrence laid over the master's data, when this is an occurrence view.
    const std::optional<store::Occurrence>& Occurrence() const { return m_occurrence; }
    /// A view of one occurrence of this (master) item.
    std::shared_ptr<MessageData> OccurrenceView(const store::Occurrence& occurrence) const;
    /// The series an occurrence view belongs to; null for every other item.
    const std::shared_ptr<const MessageData>& Series() const { return m_series; }

private:
    std::shared_ptr<detail::Context> m_context;
    std::string m_storeId;
    /// The store of m_storeId once looked up: a read asks for it for every property.
    mutable store::Store* m_store = nullptr;
    std::string m_entryId;
    // New items only:
    std::string m_folderEntryId;
    std::string m_messageClass;
    std::map<store::PropTag, store::PropValue> m_pending;
    std::vector<store::Recipient> m_recipients;
    std::vector<store::Attachment> m_attachments;
    std::optional<store::Occurrence> m_occurrence;
    /// An occurrence's series: what a modified occurrence does not override comes from it.
    std::shared_ptr<const MessageData> m_series;
    std::shared_ptr<const Prefetch> m_prefetch;
    std::size_t m_prefetchRow = 0;
    /// A modified occurrence's own item as the read found it (within m_prefetch); else null.
    const store::ItemInfo* m_ownItem = nullptr;
    /// Its stored properties, read in one go when first asked.
    mutable std::optional<std::vector<std::pair<store::PropTag, store::PropValue>>> m_ownProps;
    /// The pattern read for this item alone when no read of its folder holds it.
    mutable std::optional<std::optional<store::RecurrencePattern>> m_pattern;
    mutable std::uint64_t m_patternGeneration = 0;
    /// The prefetch when it is still valid, else null.
    const Prefetch* ValidPrefetch() const;
    /// The occurrence's own value of a start, end or duration tag; nullopt for other tags.
    std::optional<store::PropValue> OccurrenceValue(store::PropTag tag) const;
    /// The prefetched row when it is still valid, else null.
    const store::TableRow* PrefetchedRow() const;
    /// The item's own stored (or prefetched, or pending) value of a tag.
    std::optional<store::PropValue> StoredValue(store::PropTag tag) const;
};

} // namespace platform::mapi::detail
