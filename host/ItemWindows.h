#pragma once

#include "host/ItemWindow.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform::mapi {
class Message;
}

namespace host {

/// The client's item windows in the text host: the add-in opens an item (a support mail, an
/// appointment) and may still fill it in afterwards, so each window is printed as it stands
/// once the person's command has run. A window stays open until the person sends its mail or
/// closes it; the "mail" commands work the last one opened.
class ItemWindows
{
public:
    /// The add-in opened the item's window.
    void Open(std::shared_ptr<platform::mapi::Message> oMessage);
    /// The windows opened since the last call, each as it shows now.
    std::string TakeText(int nWidth);
    /// "mail to NAMES", "mail subject TEXT", "mail body TEXT", "mail send" and "mail close" on
    /// the last item window still open (see CommandHelp); nothing for any other command.
    /// Throws CommandRefused when no window is open, the command is unknown, or the mail
    /// cannot be sent (the window then stays open with the person's edits).
    std::optional<std::string> RunCommand(const std::string& sCommand);
    /// The help lines of the commands.
    static std::string CommandHelp();

private:
    struct Window
    {
        std::shared_ptr<platform::mapi::Message> oItem;
        // The person's edits; a field not edited shows the item's own value.
        std::optional<std::string> sTo, sSubject, sBody;
    };
    MailEdits EditsOf(const Window& oWindow) const;

    std::vector<Window> m_vOpen;
    std::size_t m_nPrinted = 0; // the windows up to here were printed
};

} // namespace host
