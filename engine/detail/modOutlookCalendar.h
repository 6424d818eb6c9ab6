#pragma once

#include "platform/runtime/Date.h"

#include <functional>

/// The engine's week arithmetic on the client's first day of the week.
namespace engine::detail::modOutlookCalendar {

/// The client's first day of the week, 0 Sunday ... 6 Saturday, -1 when unknown: from the
/// source a test set, else the client's registry setting. Never throws.
long GetFirstDayOfWeek();

/// `GetFirstDayOfWeek` + 1: 1 Sunday ... 7 Saturday, 0 when unknown (use the system's
/// setting). An error is logged and gives 0.
long FirstDayOfWeek();

/// The first day of the week containing dt (time of day kept).
platform::runtime::Date DateOfFirstDayOfWeek(platform::runtime::Date dt);

/// `DateOfFirstDayOfWeek` + 6 days.
platform::runtime::Date DateOfLastDayOfWeek(platform::runtime::Date dt);

/// Replaces the source of the client's first day of the week (0 Sunday ... 6 Saturday, -1
/// unknown) for this thread; an empty function restores the registry. Tests pin it so that
/// week windows do not depend on the machine's settings.
void SetFirstDayOfWeekSource(std::function<long()> source);

} // namespace engine::detail::modOutlookCalendar
