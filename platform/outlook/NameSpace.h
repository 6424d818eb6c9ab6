#pragma once

#include "platform/runtime/Object.h"
#include "platform/runtime/Variant.h"

#include <memory>
#include <string>

namespace platform::mapi {
class AddressEntry;
class Session;
} // namespace platform::mapi

namespace platform::outlook {

class Folders;
class ItemBase;
class MAPIFolder;

/// The client's "MAPI" namespace: the process's current profile (mapi/CurrentProfile.h), seen
/// through the client's object model. It logs on when first asked.
class NameSpace : public runtime::Object
{
public:
    NameSpace();
    ~NameSpace() override;
    std::string TypeName() const override { return "NameSpace"; }

    /// The client's MAPI session object, which the messaging library's session takes over.
    runtime::Variant MAPIOBJECT();
    /// A default folder of the default store by the client's numbers (4 outbox, 5 sent items,
    /// 6 inbox, 9 calendar, 10 contacts, 11 journal, 12 notes, 13 tasks, 16 drafts).
    std::shared_ptr<MAPIFolder> GetDefaultFolder(long folderType);
    /// The top-level folders: one per store, its root, the default store first.
    std::shared_ptr<outlook::Folders> Folders();
    /// A folder by entry id and store id (Empty: every store); throws when none.
    std::shared_ptr<MAPIFolder> GetFolderFromID(const std::string& entryId,
                                                const runtime::Variant& storeId = {});
    /// An item by entry id and store id (Empty: every store); throws when none.
    std::shared_ptr<ItemBase> GetItemFromID(const std::string& entryId,
                                            const runtime::Variant& storeId = {});
    /// The profile's user.
    std::shared_ptr<mapi::AddressEntry> CurrentUser();
    /// Whether the client works offline: never, as the stores are local.
    bool Offline() const { return false; }

    /// The messaging session behind the namespace, logged on.
    std::shared_ptr<mapi::Session> Session();

private:
    std::shared_ptr<mapi::Session> m_session;
};

} // namespace platform::outlook
