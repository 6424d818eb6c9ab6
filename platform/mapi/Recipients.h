#pragma once

#include "platform/runtime/Object.h"

#include <memory>
#include <string>

namespace platform::mapi {

namespace detail {
class MessageData;
}
class Recipient;

/// A message's recipients (1-based).
class Recipients : public runtime::Object
{
public:
    /// Internal: made by Message.
    explicit Recipients(std::shared_ptr<detail::MessageData> message);
    std::string TypeName() const override { return "Recipients"; }

    long Count() const;
    /// The recipient at a 1-based position; throws error 9 outside 1..Count.
    std::shared_ptr<Recipient> Item(long index) const;
    /// Adds an unresolved To recipient for a name or address and returns it.
    std::shared_ptr<Recipient> Add(const std::string& nameOrAddress);
    /// Removes the recipient at a 1-based position; throws error 9 outside 1..Count.
    void Remove(long index);
    /// Resolves every recipient; True when all resolved.
    bool ResolveAll();

private:
    std::shared_ptr<detail::MessageData> m_message;
};

} // namespace platform::mapi
