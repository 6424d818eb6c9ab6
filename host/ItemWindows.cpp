#include "host/ItemWindows.h"

#include "host/FormCommands.h"
#include "host/HostTexts.h"
#include "platform/mapi/Message.h"

#include <exception>

namespace host {

void ItemWindows::Open(std::shared_ptr<platform::mapi::Message> oMessage)
{
    m_vOpen.push_back({std::move(oMessage), {}, {}, {}});
}

std::string ItemWindows::TakeText(int nWidth)
{
    std::string sText;
    for (; m_nPrinted < m_vOpen.size(); ++m_nPrinted)
        sText += "\n" + ItemWindowText(*m_vOpen[m_nPrinted].oItem, nWidth);
    return sText;
}

MailEdits ItemWindows::EditsOf(const Window& oWindow) const
{
    const ItemWindowContent oShown = ItemWindowContentOf(*oWindow.oItem);
    return {oWindow.sTo.value_or(oShown.sTo), oWindow.sSubject.value_or(oShown.sSubject),
            oWindow.sBody.value_or(oShown.sBody)};
}

std::optional<std::string> ItemWindows::RunCommand(const std::string& sCommand)
{
    const std::string sPrefix = "mail";
    if (sCommand != sPrefix && sCommand.rfind(sPrefix + " ", 0) != 0)
        return std::nullopt;
    if (m_vOpen.empty())
        throw CommandRefused(Say(HostText::ItemWindowNone));
    const std::string sRest = sCommand.size() > sPrefix.size() ? sCommand.substr(5) : "";
    const auto nBlank = sRest.find(' ');
    const std::string sVerb = sRest.substr(0, nBlank);
    const std::string sText = nBlank == std::string::npos ? "" : sRest.substr(nBlank + 1);
    Window& oWindow = m_vOpen.back();
    const bool bMail = ItemWindowContentOf(*oWindow.oItem).bSendable;
    if (sVerb == "close") {
        m_vOpen.pop_back();
        m_nPrinted = std::min(m_nPrinted, m_vOpen.size());
        return Say(HostText::ItemWindowClosed);
    }
    if (!bMail && (sVerb == "to" || sVerb == "subject" || sVerb == "body" || sVerb == "send"))
        throw CommandRefused(Say(HostText::ItemWindowNoMail));
    if (sVerb == "to")
        oWindow.sTo = sText;
    else if (sVerb == "subject")
        oWindow.sSubject = sText;
    else if (sVerb == "body")
        oWindow.sBody = sText;
    else if (sVerb == "send") {
        try {
            SendFromItemWindow(*oWindow.oItem, EditsOf(oWindow));
        } catch (const std::exception& e) {
            throw CommandRefused(ItemWindowWord("The mail cannot be sent") + ": " + e.what());
        }
        m_vOpen.pop_back();
        m_nPrinted = std::min(m_nPrinted, m_vOpen.size());
        return ItemWindowWord("The mail was sent.");
    } else
        throw CommandRefused(Say(HostText::ItemWindowUsage));
    const MailEdits oEdits = EditsOf(oWindow);
    return ItemWindowWord("To") + ": " + oEdits.sTo + "\n" + ItemWindowWord("Subject") + ": " +
           oEdits.sSubject;
}

std::string ItemWindows::CommandHelp()
{
    return Say(HostText::ItemWindowHelp);
}

} // namespace host
