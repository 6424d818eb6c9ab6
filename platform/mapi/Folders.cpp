#include "platform/mapi/Folders.h"

#include "platform/mapi/Folder.h"
#include "platform/mapi/detail/Arguments.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/Strings.h"

namespace platform::mapi {

Folders::Folders(std::vector<std::shared_ptr<Folder>> folders) : m_folders(std::move(folders)) {}

long Folders::Count() const
{
    return static_cast<long>(m_folders.size());
}

std::shared_ptr<Folder> Folders::Item(const runtime::Variant& index) const
{
    if (const auto* name = index.Get<std::string>()) {
        for (const auto& f : m_folders)
            if (runtime::TextEquals(f->Name(), *name))
                return f;
    } else {
        const long position = detail::WholeNumberOf(index).value_or(0);
        if (position >= 1 && position <= Count())
            return m_folders[static_cast<std::size_t>(position - 1)];
    }
    runtime::Raise(runtime::errors::SubscriptOutOfRange, "Folders.Item");
}

} // namespace platform::mapi
