#include "platform/outlook/RecurrencePattern.h"

#include "platform/mapi/RecurrenceException.h"
#include "platform/mapi/RecurrenceExceptions.h"
#include "platform/mapi/RecurrencePattern.h"
#include "platform/outlook/Exception.h"
#include "platform/outlook/Exceptions.h"
#include "platform/outlook/ItemBase.h"
#include "platform/runtime/Error.h"

namespace platform::outlook {

RecurrencePattern::RecurrencePattern(std::shared_ptr<mapi::RecurrencePattern> pattern)
    : m_pattern(std::move(pattern))
{
}

long RecurrencePattern::RecurrenceType() const
{
    return m_pattern->RecurrenceType();
}

long RecurrencePattern::Interval() const
{
    return m_pattern->Interval();
}

long RecurrencePattern::DayOfWeekMask() const
{
    return m_pattern->DayOfWeekMask();
}

long RecurrencePattern::DayOfMonth() const
{
    return m_pattern->DayOfMonth();
}

long RecurrencePattern::MonthOfYear() const
{
    return m_pattern->MonthOfYear();
}

long RecurrencePattern::Instance() const
{
    return m_pattern->Instance();
}

runtime::Date RecurrencePattern::StartTime() const
{
    return m_pattern->StartTime();
}

runtime::Date RecurrencePattern::EndTime() const
{
    return m_pattern->EndTime();
}

long RecurrencePattern::Duration() const
{
    return m_pattern->Duration();
}

runtime::Date RecurrencePattern::PatternStartDate() const
{
    return m_pattern->PatternStartDate();
}

runtime::Date RecurrencePattern::PatternEndDate() const
{
    return m_pattern->PatternEndDate();
}

bool RecurrencePattern::NoEndDate() const
{
    return m_pattern->NoEndDate();
}

long RecurrencePattern::Occurrences() const
{
    return m_pattern->Occurrences();
}

std::shared_ptr<outlook::Exceptions> RecurrencePattern::Exceptions()
{
    std::vector<std::shared_ptr<Exception>> items;
    const auto exceptions = m_pattern->Exceptions();
    for (const auto& e : *exceptions)
        items.push_back(std::make_shared<Exception>(e->OriginalDate(), e->Deleted(),
                                                    e->Deleted() ? nullptr : WrapItem(e->Item())));
    return std::make_shared<outlook::Exceptions>(std::move(items));
}

std::shared_ptr<ItemBase> RecurrencePattern::GetOccurrence(runtime::Date date)
{
    return WrapItem(m_pattern->GetOccurrence(date));
}

std::shared_ptr<ItemBase> Exception::Item() const
{
    if (!m_item)
        runtime::Raise(runtime::errors::ObjectNotSet, "Exception.Item",
                       "A deleted occurrence has no item.");
    return m_item;
}

std::shared_ptr<Exception> Exceptions::Item(long index) const
{
    if (index < 1 || index > Count())
        runtime::Raise(runtime::errors::SubscriptOutOfRange, "Exceptions.Item");
    return m_items[static_cast<std::size_t>(index - 1)];
}

} // namespace platform::outlook
