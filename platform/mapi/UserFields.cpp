#include "platform/mapi/UserFields.h"

#include "platform/mapi/UserField.h"
#include "platform/runtime/Error.h"

namespace platform::mapi {

std::shared_ptr<UserField> UserFields::Item(long index) const
{
    if (index < 1 || index > Count())
        runtime::Raise(runtime::errors::SubscriptOutOfRange, "UserFields.Item");
    return m_fields[static_cast<std::size_t>(index - 1)];
}

} // namespace platform::mapi
