#include "platform/outlook/ItemBase.h"

#include "platform/mapi/Folder.h"
#include "platform/mapi/Message.h"
#include "platform/outlook/AppointmentItem.h"
#include "platform/outlook/JournalItem.h"
#include "platform/outlook/MAPIFolder.h"
#include "platform/outlook/MailItem.h"
#include "platform/outlook/TaskItem.h"
#include "platform/runtime/Error.h"

namespace platform::outlook {

ItemBase::ItemBase(std::shared_ptr<mapi::Message> message) : m_message(std::move(message))
{
    if (!m_message)
        runtime::Raise(runtime::errors::ObjectNotSet, "Item");
}

ItemBase::~ItemBase() = default;

std::string ItemBase::TypeName() const
{
    return m_message->TypeName();
}

std::string ItemBase::EntryID() const
{
    return m_message->EntryID();
}

std::string ItemBase::MessageClass() const
{
    return m_message->MessageClass();
}

std::string ItemBase::Subject() const
{
    return m_message->Subject();
}

void ItemBase::SetSubject(const std::string& subject)
{
    m_message->SetSubject(subject);
}

std::string ItemBase::Body() const
{
    return m_message->Body();
}

void ItemBase::SetBody(const std::string& body)
{
    m_message->SetBody(body);
}

std::string ItemBase::Categories() const
{
    return m_message->Categories();
}

std::shared_ptr<MAPIFolder> ItemBase::Parent() const
{
    auto folder = m_message->Parent();
    return folder ? std::make_shared<MAPIFolder>(std::move(folder)) : nullptr;
}

void ItemBase::Display(const runtime::Variant& modal)
{
    m_message->Display(modal);
}

void ItemBase::Save()
{
    m_message->Save();
}

runtime::Variant ItemBase::MAPIOBJECT() const
{
    return m_message;
}

std::shared_ptr<ItemBase> WrapItem(std::shared_ptr<mapi::Message> message)
{
    if (!message)
        return nullptr;
    switch (message->Kind()) {
    case mapi::ItemKind::Appointment:
        return std::make_shared<AppointmentItem>(std::move(message));
    case mapi::ItemKind::Task:
        return std::make_shared<TaskItem>(std::move(message));
    case mapi::ItemKind::Journal:
        return std::make_shared<JournalItem>(std::move(message));
    case mapi::ItemKind::Mail:
        return std::make_shared<MailItem>(std::move(message));
    default:
        return std::make_shared<ItemBase>(std::move(message));
    }
}

} // namespace platform::outlook
