#include "platform/outlook/MailItem.h"

#include "platform/mapi/Attachments.h"
#include "platform/mapi/Message.h"
#include "platform/mapi/Recipients.h"

namespace platform::outlook {

long MailItem::BodyFormat() const
{
    return Message().BodyFormat();
}

void MailItem::SetBodyFormat(long format)
{
    Message().SetBodyFormat(format);
}

std::string MailItem::HTMLBody() const
{
    return Message().HTMLBody();
}

void MailItem::SetHTMLBody(const std::string& html)
{
    Message().SetHTMLBody(html);
}

std::shared_ptr<mapi::Attachments> MailItem::Attachments()
{
    return Message().GetAttachments();
}

std::shared_ptr<mapi::Recipients> MailItem::Recipients()
{
    return Message().GetRecipients();
}

void MailItem::Send()
{
    Message().Send();
}

} // namespace platform::outlook
