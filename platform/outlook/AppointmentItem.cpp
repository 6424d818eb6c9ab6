#include "platform/outlook/AppointmentItem.h"

#include "platform/mapi/Message.h"
#include "platform/outlook/RecurrencePattern.h"

namespace platform::outlook {

runtime::Date AppointmentItem::Start() const
{
    return Message().Start();
}

runtime::Date AppointmentItem::End() const
{
    return Message().End();
}

long AppointmentItem::Duration() const
{
    return Message().Duration();
}

std::string AppointmentItem::Location() const
{
    return Message().Location();
}

bool AppointmentItem::AllDayEvent() const
{
    return Message().AllDayEvent();
}

bool AppointmentItem::IsRecurring() const
{
    return Message().IsRecurring();
}

long AppointmentItem::RecurrenceState() const
{
    return Message().RecurrenceState();
}

std::shared_ptr<outlook::RecurrencePattern> AppointmentItem::GetRecurrencePattern()
{
    return std::make_shared<outlook::RecurrencePattern>(Message().GetRecurrencePattern());
}

} // namespace platform::outlook
