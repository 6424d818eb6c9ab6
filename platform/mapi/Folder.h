#pragma once

#include "platform/runtime/Object.h"
#include "platform/runtime/Variant.h"

#include <cstdint>
#include <memory>
#include <string>

namespace platform::mapi {

namespace detail {
class Context;
}
class Folders;
class Items;
class Store;
class UserFields;

/// A folder of a store: a view over the store's folder row; every call reads the store.
class Folder : public runtime::Object, public std::enable_shared_from_this<Folder>
{
public:
    /// Internal: made by stores, sessions and folder collections.
    Folder(std::shared_ptr<detail::Context> context, std::string storeId, std::string entryId);
    ~Folder() override;
    std::string TypeName() const override { return "Folder"; }

    std::string EntryID() const;
    std::string StoreID() const;
    std::string Name() const;
    /// The client's item type of new items (0 mail, 1 appointment, 2 contact, 3 task,
    /// 4 journal, 5 note, 6 post).
    long DefaultItemType() const;
    /// The item collection; the same object for every call, so that a restriction the table
    /// object applied to it stays visible to whoever holds it.
    std::shared_ptr<Items> GetItems();
    /// The subfolders, ordered by name.
    std::shared_ptr<Folders> GetFolders();
    /// The store the folder lives in.
    std::shared_ptr<Store> GetStore();
    /// The folder's user-defined fields.
    std::shared_ptr<UserFields> GetUserFields();
    /// The parent folder, or no object for a store's root.
    std::shared_ptr<Folder> Parent();
    /// A folder property by tag (PR_ENTRYID, PR_STORE_ENTRYID and the name among them);
    /// Empty when missing.
    runtime::Variant Fields(std::int32_t tag) const;
    /// Itself, for named-property look-ups through the utils object.
    std::shared_ptr<Folder> MAPIOBJECT();

    /// Internal.
    const std::shared_ptr<detail::Context>& Context() const { return m_context; }

private:
    std::shared_ptr<detail::Context> m_context;
    std::string m_storeId;
    std::string m_entryId;
    std::shared_ptr<Items> m_items;
};

} // namespace platform::mapi
