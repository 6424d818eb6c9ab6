#pragma once

#include "platform/mapi/MapiBacked.h"
#include "platform/runtime/Object.h"
#include "platform/runtime/Variant.h"

#include <memory>
#include <string>

namespace platform::mapi {
class Message;
}

namespace platform::outlook {

class MAPIFolder;

/// What every item of the client's object model offers: a view over one message of the store
/// (the same message the messaging library sees). Its TypeName is the client's class name
/// ("MailItem", "AppointmentItem", "TaskItem", "JournalItem", "ContactItem", ...).
class ItemBase : public runtime::Object, public mapi::MapiBacked
{
public:
    explicit ItemBase(std::shared_ptr<mapi::Message> message);
    ~ItemBase() override;
    std::string TypeName() const override;
    std::shared_ptr<mapi::Message> MapiMessage() const override { return m_message; }

    /// "" for an item not yet saved.
    std::string EntryID() const;
    std::string MessageClass() const;
    std::string Subject() const;
    void SetSubject(const std::string& subject);
    std::string Body() const;
    void SetBody(const std::string& body);
    /// The categories joined by "; ".
    std::string Categories() const;
    /// The folder the item lies in, or no object for an unsaved item.
    std::shared_ptr<MAPIFolder> Parent() const;
    /// Opens the item's window through the host's display handler (see mapi::Message);
    /// `modal` is accepted and ignored: the host's item windows never block.
    void Display(const runtime::Variant& modal = {});
    /// Writes the item to its folder.
    void Save();
    /// The message as the messaging library sees it (the "MAPIOBJECT").
    runtime::Variant MAPIOBJECT() const;

protected:
    const mapi::Message& Message() const { return *m_message; }
    mapi::Message& Message() { return *m_message; }

private:
    std::shared_ptr<mapi::Message> m_message;
};

/// The item object of the client's class for a message: AppointmentItem, TaskItem,
/// JournalItem or MailItem, and ItemBase for other classes.
std::shared_ptr<ItemBase> WrapItem(std::shared_ptr<mapi::Message> message);

} // namespace platform::outlook
