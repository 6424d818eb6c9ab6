#pragma once

#include "platform/outlook/ItemBase.h"
#include "platform/runtime/Date.h"

namespace platform::outlook {

class RecurrencePattern;

/// An appointment (or one occurrence of a recurring one) of the client's object model.
/// Dates are local time.
class AppointmentItem : public ItemBase
{
public:
    using ItemBase::ItemBase;

    runtime::Date Start() const;
    runtime::Date End() const;
    /// Minutes.
    long Duration() const;
    std::string Location() const;
    bool AllDayEvent() const;
    bool IsRecurring() const;
    /// 0 not recurring, 1 master, 2 occurrence, 3 exception.
    long RecurrenceState() const;
    std::shared_ptr<outlook::RecurrencePattern> GetRecurrencePattern();
};

} // namespace platform::outlook
