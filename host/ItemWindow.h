#pragma once

#include <string>

namespace platform::mapi {
class Message;
}

namespace host {

/// The client's item window as text: a title line with the subject and the message class,
/// then the item's dates (start and end of an appointment, start, due and completion dates
/// of a task) and its categories, and of a mail its recipients, attachments and plain body,
/// each line cut to the width.
std::string ItemWindowText(const platform::mapi::Message& oItem, int nWidth);

} // namespace host
