#include "engine/detail/modOutlookCalendar.h"

#include "common/ErrorHandling.h"
#include "common/modOutlookCalendar.h"
#include "engine/detail/DateMath.h"

namespace rt = platform::runtime;

namespace engine::detail::modOutlookCalendar {

namespace {

std::function<long()>& Source()
{
    thread_local std::function<long()> source;
    return source;
}

} // namespace

void SetFirstDayOfWeekSource(std::function<long()> source)
{
    Source() = std::move(source);
}

long GetFirstDayOfWeek()
{
    if (!Source())
        return common::modOutlookCalendar::GetFirstDayOfWeek();
    const long lDay = Source()();
    return lDay >= 0 && lDay <= 6 ? lDay : -1;
}

long FirstDayOfWeek()
{
    long lResult = 0;
    if (!common::Logging("modOutlookCalendar", "FirstDayOfWeek",
                         [&] { lResult = GetFirstDayOfWeek() + 1; }))
        lResult = 0;
    return lResult;
}

rt::Date DateOfFirstDayOfWeek(rt::Date dt)
{
    return common::Rethrowing("modOutlookCalendar", "DateOfFirstDayOfWeek", [&] {
        const long f = FirstDayOfWeek();
        const auto firstDay =
            f >= 1 && f <= 7 ? static_cast<rt::DayOfWeek>(f) : rt::DayOfWeek::System;
        const int w = rt::Weekday(dt, firstDay);
        return w == 1 ? dt : AddDays(dt, -(w - 1));
    });
}

rt::Date DateOfLastDayOfWeek(rt::Date dt)
{
    return common::Rethrowing("modOutlookCalendar", "DateOfLastDayOfWeek",
                              [&] { return AddDays(DateOfFirstDayOfWeek(dt), 6); });
}

} // namespace engine::detail::modOutlookCalendar
