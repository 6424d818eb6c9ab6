#pragma once

#include <memory>

namespace platform::mapi {

class Message;

/// Implemented by the client's item objects: the library's message behind them, so that the
/// safe wrappers and the utils object can work on a client item.
class MapiBacked
{
public:
    virtual ~MapiBacked() = default;
    /// The message behind the object; never null.
    virtual std::shared_ptr<Message> MapiMessage() const = 0;
};

} // namespace platform::mapi
