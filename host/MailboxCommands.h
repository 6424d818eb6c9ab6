#pragma once

#include <optional>
#include <string>

namespace host {

/// "mailbox drafts", "mailbox outbox" and "mailbox sent": the mails of that folder of the
/// profile's default store as text, one block each with its subject, whether it was sent,
/// its recipients and its attachments (name and size). Nothing for any other command; an
/// unknown folder name throws std::invalid_argument.
std::optional<std::string> RunMailboxCommand(const std::string& sCommand);

/// The help line of the mailbox command.
std::string MailboxCommandHelp();

} // namespace host
