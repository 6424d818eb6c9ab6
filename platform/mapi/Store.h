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
class Account;
class Folder;

/// One message store of the profile. Its entry id is its store id: the text every folder and
/// item of the store gives as its StoreID.
class Store : public runtime::Object, public std::enable_shared_from_this<Store>
{
public:
    /// Internal: made by the session's views.
    Store(std::shared_ptr<detail::Context> context, std::string storeId);
    ~Store() override;
    std::string TypeName() const override { return "Store"; }

    /// The store's entry id (equal to its StoreID).
    std::string EntryID() const;
    /// The store id its folders and items report.
    std::string StoreID() const;
    /// The display name.
    std::string Name() const;
    /// The store kind: 0 unknown, 1 ANSI personal file, 2 Unicode personal file, 3 primary
    /// mailbox, 4 delegate mailbox, 5 public folders, 6 business contacts, 7 IMAP, 8 web mail,
    /// 9 mobile sync.
    long StoreKind() const;
    /// Whether it is the profile's default store.
    bool Default() const;
    /// The top of the folder tree the user sees.
    std::shared_ptr<Folder> RootFolder();
    /// One of the store's default folders by the client's numbers (see Session); throws when
    /// the store has none of that kind.
    std::shared_ptr<Folder> GetDefaultFolder(long folderType);
    /// A store property by tag; Empty when the store lacks it.
    runtime::Variant Fields(std::int32_t tag) const;
    /// The account the store belongs to: always no object, as the profile's stores are local
    /// files that belong to no account.
    std::shared_ptr<Account> StoreAccount() const { return nullptr; }
    /// Itself: the object the utils object resolves named properties against.
    std::shared_ptr<Store> MAPIOBJECT();

    /// Internal: the context the store's views share.
    const std::shared_ptr<detail::Context>& Context() const { return m_context; }

private:
    std::shared_ptr<detail::Context> m_context;
    std::string m_storeId;
};

} // namespace platform::mapi
