#pragma once

#include <functional>
#include <string>
#include <vector>

namespace gui {

/// One labelled line of the client's item window, in the user-interface language.
struct ItemField
{
    std::string sLabel;
    std::string sValue;
};

/// What the client's item window shows of an item: its subject and message class, labelled
/// fields (dates, categories), and of a mail its recipients, attachments and plain body.
struct ItemContent
{
    std::string sSubject;
    std::string sMessageClass;
    bool bMail = false;
    /// A mail not sent yet: the person may address, edit and send it.
    bool bSendable = false;
    /// A new mail that lies in no folder yet: closing its window loses it unless it is saved.
    bool bUnsaved = false;
    std::vector<ItemField> vFields;
    std::string sTo;
    std::vector<std::string> vAttachments;
    std::string sBody;
};

/// One line of a folder's item list in the client's window: the subject, the item's date
/// (a mail's send or last change, an appointment's start, a task's due date) and, of a mail,
/// its recipients.
struct ItemRow
{
    std::string sSubject;
    std::string sDate;
    std::string sTo;
};

/// A mail as the person edited it in its window.
struct MailEdits
{
    std::string sTo;
    std::string sSubject;
    std::string sBody;
};

/// The item window's words in the user-interface language: "To", "Subject", "Attachments",
/// "Message", "Untitled", "&Send" (with its access key), "Close", "The mail cannot be sent", "Do
/// you want to save the changes?", "The mail cannot be saved".
using ItemWords = std::function<std::string(const std::string& sEnglish)>;

} // namespace gui
