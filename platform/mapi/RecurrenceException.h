#pragma once

#include "platform/runtime/Date.h"
#include "platform/runtime/Object.h"

#include <memory>

namespace platform::mapi {

class Message;

/// A deleted or modified occurrence of a recurring item.
class RecurrenceException : public runtime::Object
{
public:
    RecurrenceException(runtime::Date originalDate, bool deleted, std::shared_ptr<Message> item)
        : m_originalDate(originalDate), m_deleted(deleted), m_item(std::move(item))
    {
    }
    std::string TypeName() const override { return "Exception"; }

    /// The pattern's start of the occurrence it replaces (local time).
    runtime::Date OriginalDate() const { return m_originalDate; }
    bool Deleted() const { return m_deleted; }
    /// The modified occurrence (RecurrenceState 3); throws error 91 for a deleted one.
    std::shared_ptr<Message> Item() const;

private:
    runtime::Date m_originalDate;
    bool m_deleted;
    std::shared_ptr<Message> m_item;
};

} // namespace platform::mapi
