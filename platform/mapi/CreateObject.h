#pragma once

#include "platform/runtime/Object.h"

#include <memory>
#include <string>

namespace platform::mapi {

/// Creates one of the messaging library's objects by its ProgID, compared without regard to
/// case: "ardex.ardexsession" (Session), "ardex.sfUtils" (Utils), "ardex.sfTable" (Table) and
/// "ardex.sf" followed by a client item type without its "Item" suffix (SafeItem: sfMail,
/// sfAppointment, sfTask, sfJournal, sfContact, sfNote, sfPost, sfRecipient).
/// Throws runtime error 429 ("can't create object") naming the ProgID for any other text.
std::shared_ptr<runtime::Object> CreateObject(const std::string& progId);

} // namespace platform::mapi
