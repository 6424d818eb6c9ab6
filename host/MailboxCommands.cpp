#include "host/MailboxCommands.h"

#include "host/HostTexts.h"

#include "platform/mapi/Attachments.h"
#include "platform/mapi/Constants.h"
#include "platform/mapi/Folder.h"
#include "platform/mapi/Items.h"
#include "platform/mapi/Message.h"
#include "platform/mapi/Recipient.h"
#include "platform/mapi/Recipients.h"
#include "platform/mapi/Session.h"

#include <sstream>
#include <stdexcept>

namespace host {

namespace {

namespace mapi = platform::mapi;

struct Mailbox
{
    const char* name;
    const char* caption;
    long folder;
};

constexpr Mailbox kMailboxes[] = {{"drafts", "Drafts", mapi::olFolderDrafts},
                                  {"outbox", "Outbox", mapi::olFolderOutbox},
                                  {"sent", "Sent Items", mapi::olFolderSentMail}};

void WriteMail(std::ostream& out, long nIndex, mapi::Message& oMail)
{
    out << "  " << nIndex << "  " << oMail.Subject() << (oMail.Sent() ? "  (sent)" : "") << "\n";
    auto oRecipients = oMail.GetRecipients();
    for (long i = 1; i <= oRecipients->Count(); ++i) {
        auto oRecipient = oRecipients->Item(i);
        out << "     to: " << oRecipient->Name();
        if (!oRecipient->Address().empty() && oRecipient->Address() != oRecipient->Name())
            out << " <" << oRecipient->Address() << ">";
        out << "\n";
    }
    auto oAttachments = oMail.GetAttachments();
    for (long i = 1; i <= oAttachments->Count(); ++i)
        out << "     attachment: " << oAttachments->FileName(i) << " (" << oAttachments->Size(i)
            << " bytes)\n";
}

} // namespace

std::optional<std::string> RunMailboxCommand(const std::string& sCommand)
{
    const std::string sPrefix = "mailbox";
    if (sCommand != sPrefix && sCommand.rfind(sPrefix + " ", 0) != 0)
        return std::nullopt;
    const std::string sName = sCommand.size() > sPrefix.size() ? sCommand.substr(8) : "";
    for (const Mailbox& oBox : kMailboxes) {
        if (sName != oBox.name)
            continue;
        auto oSession = std::make_shared<mapi::Session>();
        oSession->Logon();
        auto oItems = oSession->GetDefaultFolder(oBox.folder)->GetItems();
        std::ostringstream out;
        const long nCount = oItems->Count();
        out << (nCount == 1 ? Say(HostText::MailCountOne, {oBox.caption})
                            : Say(HostText::MailCountMany, {oBox.caption, std::to_string(nCount)}))
            << "\n";
        for (long i = 1; i <= nCount; ++i)
            WriteMail(out, i, *oItems->Item(i));
        oSession->Logoff();
        return out.str();
    }
    throw std::invalid_argument(Say(HostText::MailboxTakes));
}

std::string MailboxCommandHelp()
{
    return Say(HostText::MailboxHelp);
}

} // namespace host
