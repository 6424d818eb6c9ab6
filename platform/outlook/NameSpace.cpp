#include "platform/outlook/NameSpace.h"

#include "platform/mapi/AddressEntry.h"
#include "platform/mapi/Folder.h"
#include "platform/mapi/Message.h"
#include "platform/mapi/Session.h"
#include "platform/mapi/Store.h"
#include "platform/mapi/Stores.h"
#include "platform/outlook/Folders.h"
#include "platform/outlook/ItemBase.h"
#include "platform/outlook/MAPIFolder.h"
#include "platform/runtime/Error.h"

namespace platform::outlook {

NameSpace::NameSpace() = default;

NameSpace::~NameSpace() = default;

std::shared_ptr<mapi::Session> NameSpace::Session()
{
    if (!m_session)
        m_session = std::make_shared<mapi::Session>();
    // The client is always logged on to its profile; a profile set after the namespace was
    // made is picked up on the next use.
    if (!m_session->LoggedOn())
        m_session->Logon({}, {}, {}, false);
    return m_session;
}

runtime::Variant NameSpace::MAPIOBJECT()
{
    return Session()->MAPIOBJECT();
}

std::shared_ptr<MAPIFolder> NameSpace::GetDefaultFolder(long folderType)
{
    return std::make_shared<MAPIFolder>(Session()->GetDefaultFolder(folderType));
}

std::shared_ptr<outlook::Folders> NameSpace::Folders()
{
    std::vector<std::shared_ptr<MAPIFolder>> roots;
    const auto stores = Session()->GetStores();
    for (const auto& store : *stores)
        roots.push_back(std::make_shared<MAPIFolder>(store->RootFolder()));
    return std::make_shared<outlook::Folders>(std::move(roots));
}

std::shared_ptr<MAPIFolder> NameSpace::GetFolderFromID(const std::string& entryId,
                                                       const runtime::Variant& storeId)
{
    auto folder = Session()->GetFolderFromID(entryId, storeId);
    if (!folder)
        runtime::Raise(-2147221233, "NameSpace.GetFolderFromID", "The folder cannot be found.");
    return std::make_shared<MAPIFolder>(std::move(folder));
}

std::shared_ptr<ItemBase> NameSpace::GetItemFromID(const std::string& entryId,
                                                   const runtime::Variant& storeId)
{
    auto message = Session()->GetMessageFromID(entryId, storeId);
    if (!message)
        runtime::Raise(-2147221233, "NameSpace.GetItemFromID", "The item cannot be found.");
    return WrapItem(std::move(message));
}

std::shared_ptr<mapi::AddressEntry> NameSpace::CurrentUser()
{
    return Session()->CurrentUser();
}

} // namespace platform::outlook
