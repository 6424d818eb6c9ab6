#pragma once

#include "gui/ItemContent.h"

#include <string>

namespace platform::mapi {
class Message;
}

namespace host {

using ItemField = gui::ItemField;
/// What the client's item window shows of an item, in the language of the regional settings
/// (German where they are German): the item's dates (start and end of an appointment, start,
/// due and completion dates of a task) and its categories, and of a mail its recipients, its
/// attachments (name and size) and its plain body.
using ItemWindowContent = gui::ItemContent;

/// The content of the item's window.
ItemWindowContent ItemWindowContentOf(const platform::mapi::Message& oItem);

/// The item's line in the client window's list of a folder's items: its subject, its date as
/// the regional settings show it (a mail's send time, else its last change; an appointment's
/// start; a task's due date) and a mail's recipients.
gui::ItemRow ItemRowOf(const platform::mapi::Message& oItem);

/// The client's item window as text: a title line with the subject and the message class,
/// then the fields, and of a mail its recipients, attachments and plain body, each line
/// wrapped at the width.
std::string ItemWindowText(const platform::mapi::Message& oItem, int nWidth);

using MailEdits = gui::MailEdits;

/// The person's Send in a mail's window: the mail takes the edited recipients (names or
/// addresses separated by ";" or ","), subject and body, and is sent as the store sends (marked
/// sent, into the store's sent items). Throws the runtime's error when the mail cannot be sent
/// (no recipient, a recipient that does not resolve); the mail then keeps the edits and stays
/// where it was.
void SendFromItemWindow(platform::mapi::Message& oMail, const MailEdits& oEdits);

/// The person's Yes to saving a mail's window as they close it: the mail takes the edits as
/// Send takes them and is written where it lies (a new mail into the drafts), not sent. Throws
/// the runtime's error when it cannot be written.
void SaveFromItemWindow(platform::mapi::Message& oMail, const MailEdits& oEdits);

/// A word of the item window in the language of the regional settings ("To" is "An" where they
/// are German); an unknown word as given.
std::string ItemWindowWord(const std::string& sEnglish);

} // namespace host
