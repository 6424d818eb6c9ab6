#pragma once

#include "platform/runtime/Object.h"

#include <memory>
#include <string>

namespace platform::mapi {

namespace detail {
class MessageData;
}

/// One recipient of a message (a view on the message's recipient list).
class Recipient : public runtime::Object
{
public:
    /// Internal: made by Recipients.
    Recipient(std::shared_ptr<detail::MessageData> message, int index);
    std::string TypeName() const override { return "Recipient"; }

    std::string Name() const;
    std::string Address() const;
    /// 1 To, 2 Cc, 3 Bcc.
    long Type() const;
    bool Resolved() const;
    /// Resolves the recipient: an address of the form local@domain (with an optional
    /// "Name <address>" around it) resolves; its name is the part before "<" or the address.
    /// Returns whether it resolved.
    bool Resolve();

private:
    std::shared_ptr<detail::MessageData> m_message;
    int m_index;
};

} // namespace platform::mapi
