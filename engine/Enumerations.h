#pragma once

/// \file
/// The public enumerations of the record engine. Callers store and exchange them as the plain
/// numbers given here (report definitions keep them as numbers), so they are unscoped enums
/// with fixed values inside the engine's namespace.

namespace engine {

/// How a text or list condition of a `Filter` applies.
enum trCompareValue : long
{
    trnone = 0,
    trEquals = 1,
    trEqualsNot = 2,
    trContains = 3,
    trContainsNot = 4
};

/// The item date field a date window of a `Filter` applies to.
enum trDateField : long
{
    trDueDate = 1,
    trStartDate = 2,
    trEndDate = 4
};

/// Task status values of a task-status condition.
enum trTaskStatus : long
{
    trTaskNotStarted = 0,
    trTaskInProgress = 1,
    trTaskComplete = 2,
    trTaskWaiting = 3,
    trTaskDeferred = 4,
    trTaskUnknown = -1
};

/// The date-window presets of `Filter::SetTimeCondition`.
enum trTimeFilter : long
{
    trTimeNone = 0,
    trTimeFromDate = 1,
    trTimeToDate = 2,
    trTimeLastSevenDays = 3,
    trTimeNextSevenDays = 4,
    trTimeBetween = 5,
    trTimeYesterday = 6,
    trTimeToday = 7,
    trTimeTomorrow = 8,
    trTimeLastWeek = 9,
    trTimeThisWeek = 10,
    trTimeNextWeek = 11,
    trTimeLastMonth = 12,
    trTimeThisMonth = 13,
    trTimeNextMonth = 14,
    trTimeLastYear = 15,
    trTimeThisYear = 16,
    trTimeNextYear = 17,
    trTimeFromToday = 18,
    trTimeToToday = 19
};

/// Property-type codes of a column `Field` (the same values as the field catalogue's).
enum PT_PROPERTY_TYPE : long
{
    PT_LONG = 3,
    PT_DOUBLE = 5,
    PT_CURRENCY = 6,
    PT_BOOLEAN = 11,
    PT_OBJECT = 13,
    PT_STRING8 = 30,
    PT_SYSTIME = 64,
    PT_BINARY = 258,
    PT_MV_STRING8 = 4126
};

} // namespace engine
