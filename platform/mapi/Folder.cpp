#include "platform/mapi/Folder.h"

#include "platform/mapi/Constants.h"
#include "platform/mapi/Folders.h"
#include "platform/mapi/Items.h"
#include "platform/mapi/Store.h"
#include "platform/mapi/UserField.h"
#include "platform/mapi/UserFields.h"
#include "platform/mapi/detail/Context.h"
#include "platform/mapi/detail/ValueConversion.h"

namespace platform::mapi {

namespace {

store::FolderInfo Info(detail::Context& context, const std::string& storeId,
                       const std::string& entryId, const char* source)
{
    return detail::Guard(source, [&] { return context.GetStore(storeId).GetFolder(entryId); });
}

} // namespace

Folder::Folder(std::shared_ptr<detail::Context> context, std::string storeId, std::string entryId)
    : m_context(std::move(context)), m_storeId(std::move(storeId)), m_entryId(std::move(entryId))
{
}

Folder::~Folder() = default;

std::string Folder::EntryID() const
{
    return m_entryId;
}

std::string Folder::StoreID() const
{
    return m_storeId;
}

std::string Folder::Name() const
{
    return Info(*m_context, m_storeId, m_entryId, "Folder.Name").name;
}

long Folder::DefaultItemType() const
{
    return static_cast<long>(
        Info(*m_context, m_storeId, m_entryId, "Folder.DefaultItemType").defaultItemType);
}

std::shared_ptr<Items> Folder::GetItems()
{
    if (!m_items)
        m_items = std::make_shared<Items>(m_context, m_storeId, m_entryId);
    return m_items;
}

std::shared_ptr<Folders> Folder::GetFolders()
{
    const auto subs = detail::Guard(
        "Folder.Folders", [&] { return m_context->GetStore(m_storeId).SubFolders(m_entryId); });
    std::vector<std::shared_ptr<Folder>> folders;
    for (const auto& f : subs)
        folders.push_back(std::make_shared<Folder>(m_context, m_storeId, f.entryId));
    return std::make_shared<Folders>(std::move(folders));
}

std::shared_ptr<Store> Folder::GetStore()
{
    return std::make_shared<Store>(m_context, m_storeId);
}

std::shared_ptr<UserFields> Folder::GetUserFields()
{
    const auto fields = detail::Guard(
        "Folder.UserFields", [&] { return m_context->GetStore(m_storeId).UserFields(m_entryId); });
    std::vector<std::shared_ptr<UserField>> out;
    for (const auto& f : fields)
        out.push_back(std::make_shared<UserField>(f.propertySet, f.type, f.name));
    return std::make_shared<UserFields>(std::move(out));
}

std::shared_ptr<Folder> Folder::Parent()
{
    const auto info = Info(*m_context, m_storeId, m_entryId, "Folder.Parent");
    if (info.parentEntryId.empty())
        return nullptr;
    return std::make_shared<Folder>(m_context, m_storeId, info.parentEntryId);
}

runtime::Variant Folder::Fields(std::int32_t tag) const
{
    switch (tag) {
    case PR_ENTRYID:
        return m_entryId;
    case PR_STORE_ENTRYID:
        return m_storeId;
    case 0x3001001E: // PR_DISPLAY_NAME
        return Name();
    case 0x3613001E: // PR_CONTAINER_CLASS
        return Info(*m_context, m_storeId, m_entryId, "Folder.Fields").containerClass;
    case 0x36020003: // PR_CONTENT_COUNT
        return static_cast<std::int32_t>(detail::Guard(
            "Folder.Fields", [&] { return m_context->GetStore(m_storeId).ItemCount(m_entryId); }));
    default:
        return {};
    }
}

std::shared_ptr<Folder> Folder::MAPIOBJECT()
{
    return shared_from_this();
}

} // namespace platform::mapi
