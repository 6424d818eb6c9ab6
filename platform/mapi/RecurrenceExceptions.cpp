#include "platform/mapi/RecurrenceExceptions.h"

#include "platform/mapi/RecurrenceException.h"
#include "platform/runtime/Error.h"

namespace platform::mapi {

std::shared_ptr<RecurrenceException> RecurrenceExceptions::Item(long index) const
{
    if (index < 1 || index > Count())
        runtime::Raise(runtime::errors::SubscriptOutOfRange, "Exceptions.Item");
    return m_items[static_cast<std::size_t>(index - 1)];
}

std::shared_ptr<Message> RecurrenceException::Item() const
{
    if (!m_item)
        runtime::Raise(runtime::errors::ObjectNotSet, "Exception.Item",
                       "A deleted occurrence has no item.");
    return m_item;
}

} // namespace platform::mapi
