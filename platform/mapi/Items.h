#pragma once

#include "platform/runtime/Object.h"
#include "platform/runtime/Variant.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace platform::mapi {

namespace detail {
class Context;
class CompiledRestriction;
struct Prefetch;
} // namespace detail
class Folder;

class Message;
class Table;

/// A folder's item collection (1-based). Once a table object applied a restriction to it,
/// Count, Item and GetFirst see only the matching items; clearing the table's filter or
/// giving the table another source shows every item again. The list of items is taken when
/// first needed and kept until the restriction changes or an item is added or moved through
/// this library.
class Items : public runtime::Object, public std::enable_shared_from_this<Items>
{
public:
    /// Internal: made by Folder.
    Items(std::shared_ptr<detail::Context> context, std::string storeId, std::string entryId);
    ~Items() override;
    std::string TypeName() const override { return "Items"; }

    /// Number of (matching) items.
    long Count();
    /// The item at a 1-based position; throws error 9 outside 1..Count.
    std::shared_ptr<Message> Item(long index);
    /// The first item, or no object when the collection is empty; starts GetNext.
    std::shared_ptr<Message> GetFirst();
    /// The item after the last one GetFirst or GetNext gave, or no object at the end.
    std::shared_ptr<Message> GetNext();
    /// A new, unsaved message in the folder of the folder's default kind (or the client item
    /// type given: 0 mail ...). It is written to the store by Save, Send or Move.
    std::shared_ptr<Message> Add(const runtime::Variant& itemType = {});
    /// This collection's own table object, whose Columns the readers set.
    std::shared_ptr<Table> RawTable();
    /// The folder the items live in.
    std::shared_ptr<Folder> Parent() const;

    /// Internal: the table object's restriction; null shows every item.
    void SetRestriction(std::shared_ptr<const detail::CompiledRestriction> restriction);
    /// Internal: the number of (matching) items, reading their list when needed.
    std::size_t ListSize();
    /// Internal: the entry id of the item at a 0-based position of the list (below ListSize).
    const std::string& ListEntryId(std::size_t position) const;
    /// Internal: the context and the folder's identity.
    const std::shared_ptr<detail::Context>& Context() const { return m_context; }
    const std::string& StoreID() const { return m_storeId; }
    const std::string& FolderEntryID() const { return m_entryId; }
    /// Internal: forget the list, so that the next call reads the store again.
    void Invalidate();

private:
    std::shared_ptr<detail::Context> m_context;
    std::string m_storeId;
    std::string m_entryId;
    std::shared_ptr<const detail::CompiledRestriction> m_restriction;
    /// The list when no prefetch holds it (a read without columns); else the prefetch's rows.
    std::vector<std::string> m_entryIds;
    bool m_loaded = false;
    /// The store's count of an unrestricted folder, with the generation it was taken at.
    std::optional<std::pair<std::uint64_t, long>> m_count;
    std::uint64_t m_generation = 0;
    long m_next = 0;
    std::shared_ptr<Table> m_rawTable;
    std::shared_ptr<const detail::Prefetch> m_prefetch;
    /// The read whose rows are the list (kept when later columns replace m_prefetch).
    std::shared_ptr<const detail::Prefetch> m_listPrefetch;
    /// Up to this position an unrestricted collection answers Item without its whole list.
    static constexpr long kFewItems = 16;
    /// The rows of the own table's columns, read when first needed; null without columns.
    std::shared_ptr<const detail::Prefetch> CurrentPrefetch();
    /// The own table's columns (normalised property tags, without 0).
    std::vector<std::uint32_t> ColumnTags() const;
    std::shared_ptr<detail::Prefetch> NewPrefetch(std::vector<std::uint32_t> tags) const;
    /// Takes a read's rows as the list and the prefetch.
    void KeepRows(const std::shared_ptr<detail::Prefetch>& prefetch);
};

} // namespace platform::mapi
