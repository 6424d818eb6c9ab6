#include "platform/outlook/TaskItem.h"

#include "platform/mapi/Message.h"
#include "platform/outlook/RecurrencePattern.h"

namespace platform::outlook {

runtime::Date TaskItem::StartDate() const
{
    return Message().StartDate();
}

runtime::Date TaskItem::DueDate() const
{
    return Message().DueDate();
}

runtime::Date TaskItem::DateCompleted() const
{
    return Message().DateCompleted();
}

long TaskItem::TotalWork() const
{
    return Message().TotalWork();
}

long TaskItem::ActualWork() const
{
    return Message().ActualWork();
}

long TaskItem::Status() const
{
    return Message().Status();
}

double TaskItem::PercentComplete() const
{
    return Message().PercentComplete();
}

bool TaskItem::Complete() const
{
    return Message().Complete();
}

bool TaskItem::IsRecurring() const
{
    return Message().IsRecurring();
}

long TaskItem::RecurrenceState() const
{
    return Message().RecurrenceState();
}

std::shared_ptr<outlook::RecurrencePattern> TaskItem::GetRecurrencePattern()
{
    return std::make_shared<outlook::RecurrencePattern>(Message().GetRecurrencePattern());
}

} // namespace platform::outlook
