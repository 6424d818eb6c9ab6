#pragma once

#include "platform/outlook/ItemBase.h"

namespace platform::mapi {
class Attachments;
class Recipients;
} // namespace platform::mapi

namespace platform::outlook {

/// A mail of the client's object model.
class MailItem : public ItemBase
{
public:
    using ItemBase::ItemBase;

    /// 1 plain text, 2 HTML, 3 rich text.
    long BodyFormat() const;
    void SetBodyFormat(long format);
    std::string HTMLBody() const;
    void SetHTMLBody(const std::string& html);
    /// The attachments: Add(path) attaches a copy of a file.
    std::shared_ptr<mapi::Attachments> Attachments();
    std::shared_ptr<mapi::Recipients> Recipients();
    /// Sends the mail (see mapi::Message::Send).
    void Send();
};

} // namespace platform::outlook
