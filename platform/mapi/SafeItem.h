#pragma once

#include "platform/runtime/Object.h"
#include "platform/runtime/Variant.h"

#include <cstdint>
#include <memory>
#include <string>

namespace platform::mapi {

class Message;
class Recipients;

/// A safe wrapper ("ardex.sf" + the client's type name without "Item": sfMail,
/// sfAppointment, ...): given a client item (or a library message) through Item, it offers
/// the message's members that the client would guard. Without an item every member but Item
/// raises error 91.
class SafeItem : public runtime::Object
{
public:
    /// A wrapper of a kind ("Mail", "Appointment", "Recipient", ...), as its ProgID names it.
    explicit SafeItem(std::string kind);
    std::string TypeName() const override { return "sf" + m_kind; }

    /// Sets the wrapped item: a client item, a library Message, or no object (Empty/Nothing)
    /// to detach. Throws error 13 for any other value.
    void SetItem(const runtime::Variant& item);
    /// The wrapped object, or Nothing.
    runtime::Variant Item() const;

    std::shared_ptr<Recipients> GetRecipients() const;
    long BodyFormat() const;
    void SetBodyFormat(long format);
    std::string Body() const;
    std::string HTMLBody() const;
    /// A property of the wrapped message by tag; Empty when missing.
    runtime::Variant Fields(std::int32_t tag) const;
    /// The wrapped message (throws error 91 without one).
    std::shared_ptr<Message> GetMessage() const;

private:
    std::string m_kind;
    runtime::Variant m_item;
    std::shared_ptr<Message> m_message;
};

} // namespace platform::mapi
