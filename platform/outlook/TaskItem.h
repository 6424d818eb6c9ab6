#pragma once

#include "platform/outlook/ItemBase.h"
#include "platform/runtime/Date.h"

namespace platform::outlook {

class RecurrencePattern;

/// A task of the client's object model. A date the task lacks is 4501-01-01 ("none").
class TaskItem : public ItemBase
{
public:
    using ItemBase::ItemBase;

    runtime::Date StartDate() const;
    runtime::Date DueDate() const;
    runtime::Date DateCompleted() const;
    /// Minutes.
    long TotalWork() const;
    long ActualWork() const;
    /// 0 not started, 1 in progress, 2 complete, 3 waiting, 4 deferred.
    long Status() const;
    /// 0 to 100.
    double PercentComplete() const;
    bool Complete() const;
    bool IsRecurring() const;
    long RecurrenceState() const;
    std::shared_ptr<outlook::RecurrencePattern> GetRecurrencePattern();
};

} // namespace platform::outlook
