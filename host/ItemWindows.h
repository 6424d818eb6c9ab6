#pragma once

#include <memory>
#include <string>
#include <vector>

namespace platform::mapi {
class Message;
}

namespace host {

/// The client's item windows in the text host: the add-in opens an item (a support mail, an
/// appointment) and may still fill it in afterwards, so each window is printed as it stands
/// once the person's command has run.
class ItemWindows
{
public:
    /// The add-in opened the item's window.
    void Open(std::shared_ptr<platform::mapi::Message> oMessage);
    /// The windows opened since the last call, each as it shows now; forgets them.
    std::string TakeText(int nWidth);

private:
    std::vector<std::shared_ptr<platform::mapi::Message>> m_vOpened;
};

} // namespace host
