#pragma once

#include "platform/outlook/ItemBase.h"
#include "platform/runtime/Date.h"

namespace platform::outlook {

/// A journal entry of the client's object model. Dates are local time; a missing date is
/// 4501-01-01 ("none").
class JournalItem : public ItemBase
{
public:
    using ItemBase::ItemBase;

    runtime::Date Start() const;
    runtime::Date End() const;
    /// Minutes.
    long Duration() const;
    /// The entry type ("Telefonanruf", "Besprechung", ...).
    std::string Type() const;
    /// The companies joined by "; ".
    std::string Companies() const;
};

} // namespace platform::outlook
