#include "host/ItemWindows.h"

#include "host/TextFit.h"
#include "platform/mapi/Attachments.h"
#include "platform/mapi/Message.h"
#include "platform/mapi/Recipient.h"
#include "platform/mapi/Recipients.h"

#include <sstream>

namespace host {

void ItemWindows::Open(std::shared_ptr<platform::mapi::Message> oMessage)
{
    m_vOpened.push_back(std::move(oMessage));
}

std::string ItemWindows::TakeText(int nWidth)
{
    std::string sText;
    for (const auto& oMessage : m_vOpened)
        sText += ItemWindowText(*oMessage, nWidth);
    m_vOpened.clear();
    return sText;
}

std::string ItemWindowText(platform::mapi::Message& oMessage, int nWidth)
{
    std::ostringstream out;
    const auto line = [&](const std::string& s) { out << FitText(s, nWidth) << "\n"; };
    out << "\n";
    line("== item window: " + oMessage.Subject() + " (" + oMessage.MessageClass() + ") ==");
    if (oMessage.IsMail()) {
        const auto oRecipients = oMessage.GetRecipients();
        std::string sTo;
        for (long i = 1; i <= oRecipients->Count(); ++i) {
            const auto oRecipient = oRecipients->Item(i);
            sTo += (sTo.empty() ? "" : "; ") +
                   (oRecipient->Address().empty() ? oRecipient->Name() : oRecipient->Address());
        }
        line("To: " + sTo);
        line("Subject: " + oMessage.Subject());
    }
    const auto oAttachments = oMessage.GetAttachments();
    for (long i = 1; i <= oAttachments->Count(); ++i)
        line("Attachment: " + oAttachments->DisplayName(i) + " (" +
             std::to_string(oAttachments->Size(i)) + " bytes)");
    std::istringstream body(oMessage.Body());
    for (std::string sLine; std::getline(body, sLine);) {
        if (!sLine.empty() && sLine.back() == '\r')
            sLine.pop_back();
        line(sLine);
    }
    line("== end of item window ==");
    return out.str();
}

} // namespace host
