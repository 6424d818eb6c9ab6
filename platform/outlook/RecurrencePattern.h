#pragma once

#include "platform/runtime/Date.h"
#include "platform/runtime/Object.h"

#include <memory>

namespace platform::mapi {
class RecurrencePattern;
}

namespace platform::outlook {

class Exceptions;
class ItemBase;

/// The recurrence pattern of a recurring appointment or task, as the client gives it (see
/// mapi::RecurrencePattern for the rules); occurrences come as the client's item objects.
class RecurrencePattern : public runtime::Object
{
public:
    explicit RecurrencePattern(std::shared_ptr<mapi::RecurrencePattern> pattern);
    std::string TypeName() const override { return "RecurrencePattern"; }

    long RecurrenceType() const;
    long Interval() const;
    long DayOfWeekMask() const;
    long DayOfMonth() const;
    long MonthOfYear() const;
    long Instance() const;
    runtime::Date StartTime() const;
    runtime::Date EndTime() const;
    long Duration() const;
    runtime::Date PatternStartDate() const;
    runtime::Date PatternEndDate() const;
    bool NoEndDate() const;
    long Occurrences() const;
    std::shared_ptr<outlook::Exceptions> Exceptions();
    /// The occurrence on the calendar day of `date`: an AppointmentItem or TaskItem with
    /// RecurrenceState 2, or 3 for a moved one found at its original date. Throws when the
    /// day has none.
    std::shared_ptr<ItemBase> GetOccurrence(runtime::Date date);

private:
    std::shared_ptr<mapi::RecurrencePattern> m_pattern;
};

} // namespace platform::outlook
