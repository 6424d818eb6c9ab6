#include "platform/outlook/Items.h"

#include "platform/mapi/Items.h"
#include "platform/outlook/ItemBase.h"

namespace platform::outlook {

long Items::Count() const
{
    return m_items->Count();
}

std::shared_ptr<ItemBase> Items::Item(long index) const
{
    return WrapItem(m_items->Item(index));
}

std::shared_ptr<ItemBase> Items::GetFirst()
{
    return WrapItem(m_items->GetFirst());
}

std::shared_ptr<ItemBase> Items::GetNext()
{
    return WrapItem(m_items->GetNext());
}

} // namespace platform::outlook
