#include "platform/mapi/Store.h"

#include "platform/mapi/Folder.h"
#include "platform/mapi/detail/Context.h"
#include "platform/mapi/detail/ValueConversion.h"
#include "platform/runtime/Error.h"

#include <optional>
#include <string>

namespace platform::mapi {

Store::Store(std::shared_ptr<detail::Context> context, std::string storeId)
    : m_context(std::move(context)), m_storeId(std::move(storeId))
{
}

Store::~Store() = default;

std::string Store::EntryID() const
{
    return m_storeId;
}

std::string Store::StoreID() const
{
    return m_storeId;
}

std::string Store::Name() const
{
    return detail::Guard("Store.Name", [&] { return m_context->GetStore(m_storeId).Name(); });
}

long Store::StoreKind() const
{
    return detail::Guard("Store.StoreKind",
                         [&] { return static_cast<long>(m_context->GetStore(m_storeId).Kind()); });
}

bool Store::Default() const
{
    return m_context->DefaultStoreId() == m_storeId;
}

std::shared_ptr<Folder> Store::RootFolder()
{
    const auto root = detail::Guard("Store.RootFolder",
                                    [&] { return m_context->GetStore(m_storeId).RootFolder(); });
    return std::make_shared<Folder>(m_context, m_storeId, root.entryId);
}

namespace {

// The client's name of a default folder by its number, in the session's language; nothing for
// a number the store gives no folder.
std::optional<std::string> DefaultFolderName(long folderType)
{
    struct Names
    {
        long folderType;
        const char* german;
        const char* english;
    };
    static constexpr Names kNames[] = {
        {3, "Gelöschte Elemente", "Deleted Items"},
        {4, "Postausgang", "Outbox"},
        {5, "Gesendete Elemente", "Sent Items"},
        {6, "Posteingang", "Inbox"},
        {9, "Kalender", "Calendar"},
        {10, "Kontakte", "Contacts"},
        {11, "Journal", "Journal"},
        {12, "Notizen", "Notes"},
        {13, "Aufgaben", "Tasks"},
        {16, "Entwürfe", "Drafts"},
    };
    for (const auto& n : kNames)
        if (n.folderType == folderType)
            return detail::German() ? n.german : n.english;
    return std::nullopt;
}

// What the store lacks, naming the store and the folder.
std::string NoDefaultFolder(const std::string& storeName, long folderType)
{
    const auto name = DefaultFolderName(folderType);
    if (detail::German())
        return "Der Speicher „" + storeName + "“ hat keinen Standardordner " +
               (name ? "„" + *name + "“" : "der Art " + std::to_string(folderType)) + ".";
    return "The store \"" + storeName + "\" has no default " +
           (name ? *name + " folder" : "folder of kind " + std::to_string(folderType)) + ".";
}

} // namespace

std::shared_ptr<Folder> Store::GetDefaultFolder(long folderType)
{
    const auto found = detail::Guard("Store.GetDefaultFolder", [&] {
        return m_context->GetStore(m_storeId).DefaultFolder(
            static_cast<store::FolderRole>(folderType));
    });
    if (folderType <= 0 || !found)
        runtime::Raise(detail::MAPI_E_NOT_FOUND, "Store.GetDefaultFolder",
                       NoDefaultFolder(Name(), folderType));
    return std::make_shared<Folder>(m_context, m_storeId, found->entryId);
}

runtime::Variant Store::Fields(std::int32_t tag) const
{
    const auto value = detail::Guard("Store.Fields", [&] {
        return m_context->GetStore(m_storeId).GetProperty(static_cast<store::PropTag>(tag));
    });
    return value ? detail::ToVariant(*value) : runtime::Variant{};
}

std::shared_ptr<Store> Store::MAPIOBJECT()
{
    return shared_from_this();
}

} // namespace platform::mapi
