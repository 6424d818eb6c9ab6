#include "platform/mapi/Stores.h"

#include "platform/mapi/Store.h"
#include "platform/mapi/detail/Arguments.h"
#include "platform/runtime/Error.h"

namespace platform::mapi {

Stores::Stores(std::vector<std::shared_ptr<Store>> stores) : m_stores(std::move(stores)) {}

long Stores::Count() const
{
    return static_cast<long>(m_stores.size());
}

std::shared_ptr<Store> Stores::Item(const runtime::Variant& index) const
{
    if (const auto* key = index.Get<std::string>()) {
        for (const auto& s : m_stores)
            if (s->StoreID() == *key || s->Name() == *key)
                return s;
    } else {
        const long position = detail::WholeNumberOf(index).value_or(0);
        if (position >= 1 && position <= Count())
            return m_stores[static_cast<std::size_t>(position - 1)];
    }
    runtime::Raise(runtime::errors::SubscriptOutOfRange, "Stores.Item");
}

std::shared_ptr<Store> Stores::DefaultStore() const
{
    for (const auto& s : m_stores)
        if (s->Default())
            return s;
    runtime::Raise(runtime::errors::ObjectNotSet, "Stores.DefaultStore",
                   "The profile has no default store.");
}

} // namespace platform::mapi
