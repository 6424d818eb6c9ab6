#include "platform/mapi/Recipients.h"

#include "platform/mapi/Recipient.h"
#include "platform/mapi/detail/MessageData.h"
#include "platform/runtime/Error.h"

namespace platform::mapi {

Recipients::Recipients(std::shared_ptr<detail::MessageData> message) : m_message(std::move(message))
{
}

long Recipients::Count() const
{
    return static_cast<long>(m_message->Recipients().size());
}

std::shared_ptr<Recipient> Recipients::Item(long index) const
{
    if (index < 1 || index > Count())
        runtime::Raise(runtime::errors::SubscriptOutOfRange, "Recipients.Item");
    return std::make_shared<Recipient>(m_message, static_cast<int>(index - 1));
}

std::shared_ptr<Recipient> Recipients::Add(const std::string& nameOrAddress)
{
    store::Recipient r;
    r.name = nameOrAddress;
    r.address = nameOrAddress;
    m_message->AddRecipient(r);
    return std::make_shared<Recipient>(m_message, static_cast<int>(Count() - 1));
}

void Recipients::Remove(long index)
{
    if (index < 1 || index > Count())
        runtime::Raise(runtime::errors::SubscriptOutOfRange, "Recipients.Remove");
    m_message->RemoveRecipient(static_cast<std::size_t>(index - 1));
}

bool Recipients::ResolveAll()
{
    bool all = true;
    for (long i = 1; i <= Count(); ++i)
        all = Item(i)->Resolve() && all;
    return all;
}

} // namespace platform::mapi
