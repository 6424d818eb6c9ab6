#include "platform/outlook/MAPIFolder.h"

#include "platform/mapi/Folder.h"
#include "platform/mapi/Folders.h"
#include "platform/outlook/Folders.h"
#include "platform/outlook/Items.h"
#include "platform/runtime/Conversion.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/Strings.h"

namespace platform::outlook {

MAPIFolder::MAPIFolder(std::shared_ptr<mapi::Folder> folder) : m_folder(std::move(folder))
{
    if (!m_folder)
        runtime::Raise(runtime::errors::ObjectNotSet, "MAPIFolder");
}

std::string MAPIFolder::EntryID() const
{
    return m_folder->EntryID();
}

std::string MAPIFolder::StoreID() const
{
    return m_folder->StoreID();
}

std::string MAPIFolder::Name() const
{
    return m_folder->Name();
}

long MAPIFolder::DefaultItemType() const
{
    return m_folder->DefaultItemType();
}

std::shared_ptr<outlook::Items> MAPIFolder::Items()
{
    return std::make_shared<outlook::Items>(m_folder->GetItems());
}

std::shared_ptr<outlook::Folders> MAPIFolder::Folders()
{
    std::vector<std::shared_ptr<MAPIFolder>> folders;
    const auto subfolders = m_folder->GetFolders();
    for (const auto& f : *subfolders)
        folders.push_back(std::make_shared<MAPIFolder>(f));
    return std::make_shared<outlook::Folders>(std::move(folders));
}

std::shared_ptr<MAPIFolder> Folders::Item(const runtime::Variant& index) const
{
    if (const auto* name = index.Get<std::string>()) {
        for (const auto& f : m_folders)
            if (runtime::TextEquals(f->Name(), *name))
                return f;
    } else {
        const long position = runtime::CLng(index);
        if (position >= 1 && position <= Count())
            return m_folders[static_cast<std::size_t>(position - 1)];
    }
    runtime::Raise(runtime::errors::SubscriptOutOfRange, "Folders.Item");
}

} // namespace platform::outlook
