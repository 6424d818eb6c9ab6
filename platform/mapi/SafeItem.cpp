#include "platform/mapi/SafeItem.h"

#include "platform/mapi/MapiBacked.h"
#include "platform/mapi/Message.h"
#include "platform/mapi/Recipients.h"
#include "platform/runtime/Error.h"

namespace platform::mapi {

SafeItem::SafeItem(std::string kind) : m_kind(std::move(kind)) {}

void SafeItem::SetItem(const runtime::Variant& item)
{
    if (item.IsEmpty() || item.IsNothing()) {
        m_item = runtime::Variant{};
        m_message.reset();
        return;
    }
    const auto* object = item.Get<std::shared_ptr<runtime::Object>>();
    if (!object)
        runtime::Raise(runtime::errors::TypeMismatch, "SafeItem.Item",
                       "A safe wrapper takes an item object.");
    std::shared_ptr<Message> message = std::dynamic_pointer_cast<Message>(*object);
    if (!message)
        if (const auto* backed = dynamic_cast<const MapiBacked*>(object->get()))
            message = backed->MapiMessage();
    if (!message)
        runtime::Raise(runtime::errors::TypeMismatch, "SafeItem.Item",
                       "A safe wrapper takes an item of the client or of this library.");
    m_item = item;
    m_message = std::move(message);
}

runtime::Variant SafeItem::Item() const
{
    if (m_item.IsEmpty())
        return std::shared_ptr<runtime::Object>{};
    return m_item;
}

std::shared_ptr<Message> SafeItem::GetMessage() const
{
    if (!m_message)
        runtime::Raise(runtime::errors::ObjectNotSet, "SafeItem",
                       "The safe wrapper holds no item.");
    return m_message;
}

std::shared_ptr<Recipients> SafeItem::GetRecipients() const
{
    return GetMessage()->GetRecipients();
}

long SafeItem::BodyFormat() const
{
    return GetMessage()->BodyFormat();
}

void SafeItem::SetBodyFormat(long format)
{
    GetMessage()->SetBodyFormat(format);
}

std::string SafeItem::Body() const
{
    return GetMessage()->Body();
}

std::string SafeItem::HTMLBody() const
{
    return GetMessage()->HTMLBody();
}

runtime::Variant SafeItem::Fields(std::int32_t tag) const
{
    return GetMessage()->Fields(tag);
}

} // namespace platform::mapi
