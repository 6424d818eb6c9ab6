#include "engine/Filter.h"

#include "common/ErrorHandling.h"
#include "engine/Application.h"
#include "engine/Records.h"
#include "engine/detail/DateMath.h"
#include "engine/detail/EngineState.h"
#include "engine/detail/modOutlookCalendar.h"
#include "platform/runtime/ResumeNext.h"

#include "platform/runtime/Date.h"

namespace rt = platform::runtime;

namespace engine {

namespace {

std::string JoinList(const std::vector<std::string>& aValues)
{
    std::string sResult;
    for (std::size_t i = 0; i < aValues.size(); ++i) {
        if (i > 0)
            sResult += ";";
        sResult += aValues[i];
    }
    return sResult;
}

} // namespace

Records* Filter::Parent() const
{
    return common::ChildLink<Records>::Parent();
}

void Filter::Apply()
{
    common::Rethrowing("Filter", "Apply", [&] {
        auto& oRoot = detail::CurrentRoot();
        auto oRecords = oRoot.Records();
        if (!oRecords)
            throw rt::Error(rt::errors::ObjectNotSet);
        oRecords->ApplyFilter(shared_from_this());
    });
}

std::string Filter::CategoryString() const
{
    return JoinList(m_aCategory);
}

std::string Filter::CompanyString() const
{
    return JoinList(m_aCompany);
}

std::string Filter::ContactString() const
{
    return JoinList(m_aContact);
}

void Filter::SetListCondition(trCompareValue lCompare, const std::vector<std::string>& aValues,
                              bool bAnd, trCompareValue& lTargetCompare,
                              std::vector<std::string>& aTarget, bool& bTargetAnd,
                              const char* sProcedure)
{
    common::Rethrowing("Filter", sProcedure, [&] {
        lTargetCompare = lCompare;
        if (lCompare == trnone)
            return;
        aTarget = aValues;
        bTargetAnd = bAnd;
    });
}

void Filter::SetCategoryCondition(trCompareValue lCompare,
                                  const std::vector<std::string>& aCategory, bool bCategoryAnd)
{
    SetListCondition(lCompare, aCategory, bCategoryAnd, m_lCategoryCompare, m_aCategory,
                     m_bCategoryAND, "SetCategoryCondition");
}

void Filter::SetCompanyCondition(trCompareValue lCompare, const std::vector<std::string>& aCompany,
                                 bool bCompanyAnd)
{
    SetListCondition(lCompare, aCompany, bCompanyAnd, m_lCompanyCompare, m_aCompany, m_bCompanyAND,
                     "SetCompanyCondition");
}

void Filter::SetContactCondition(trCompareValue lCompare, const std::vector<std::string>& aContact,
                                 bool bContactAnd)
{
    SetListCondition(lCompare, aContact, bContactAnd, m_lContactCompare, m_aContact, m_bContactAND,
                     "SetContactCondition");
}

void Filter::SetLocationCondition(trCompareValue lCompare, const std::string& Location)
{
    m_lLocationCompare = lCompare;
    if (lCompare != trnone)
        m_sLocation = Location;
}

void Filter::SetSubjectCondition(trCompareValue lCompare, const std::string& Subject)
{
    m_lSubjectCompare = lCompare;
    if (lCompare != trnone)
        m_sSubject = Subject;
}

void Filter::SetTaskStatusCondition(long lTaskStatusCompare, long lTaskStatus)
{
    m_lTaskStatusCompare = (lTaskStatusCompare >= trnone && lTaskStatusCompare <= trEqualsNot)
                               ? static_cast<trCompareValue>(lTaskStatusCompare)
                               : trnone;
    m_lTaskStatus =
        m_lTaskStatusCompare != trnone ? static_cast<trTaskStatus>(lTaskStatus) : trTaskUnknown;
}

void Filter::SetTimeCondition(trDateField eFilterOnField, trTimeFilter eRestrictTime,
                              const rt::Variant& dtFrom, const rt::Variant& dtTo)
{
    rt::ResumeNext ignore;
    ignore([&] {
        m_lRestrictTime = eRestrictTime;
        m_lFilterOnField = eFilterOnField;
    });
    ignore([&] { ApplyPreset(eRestrictTime, dtFrom, dtTo); });
    // The bounds are built from the day's calendar fields: a round trip through short-date
    // text would lose the century with two-digit-year formats.
    ignore([&] {
        if (!detail::IsZeroDate(m_dtFromDate))
            m_dtFromDate = detail::DayAt(m_dtFromDate, 0, 0, 0);
    });
    ignore([&] {
        if (!detail::IsZeroDate(m_dtToDate))
            m_dtToDate = detail::DayAt(m_dtToDate, 23, 59, 59);
    });
}

void Filter::ApplyPreset(trTimeFilter eRestrictTime, const rt::Variant& dtFrom,
                         const rt::Variant& dtTo)
{
    using detail::AddDays;
    using detail::AddMonths;
    namespace cal = detail::modOutlookCalendar;
    const rt::Date D = detail::StartOfDay(rt::Today());
    const rt::Date zero;
    const auto from = detail::ToDate(dtFrom);
    const auto to = detail::ToDate(dtTo);
    const auto setFrom = [&](rt::Date d) { m_dtFromDate = d; };
    const auto setTo = [&](rt::Date d) { m_dtToDate = d; };
    const auto monthWindow = [&](rt::Date first) {
        setFrom(first);
        setTo(AddDays(AddMonths(m_dtFromDate, 1), -1));
    };
    const auto yearWindow = [&](rt::Date first) {
        setFrom(first);
        setTo(AddDays(AddMonths(m_dtFromDate, 12), -1));
    };
    const rt::Date firstOfMonth = rt::DateSerial(rt::Year(D), rt::Month(D), 1);
    const rt::Date firstOfYear = rt::DateSerial(rt::Year(D), 1, 1);

    switch (eRestrictTime) {
    case trTimeFromDate:
        if (from)
            setFrom(*from);
        setTo(zero);
        break;
    case trTimeToDate:
        setFrom(zero);
        if (to)
            setTo(*to);
        break;
    case trTimeLastSevenDays:
        setFrom(AddDays(D, -7));
        setTo(AddDays(D, -1));
        break;
    case trTimeNextSevenDays:
        setFrom(AddDays(D, 1));
        setTo(AddDays(D, 7));
        break;
    case trTimeBetween:
        if (from)
            setFrom(*from);
        if (to)
            setTo(*to);
        break;
    case trTimeYesterday:
        setFrom(AddDays(D, -1));
        setTo(m_dtFromDate);
        break;
    case trTimeToday:
        setFrom(D);
        setTo(m_dtFromDate);
        break;
    case trTimeTomorrow:
        setFrom(AddDays(D, 1));
        setTo(m_dtFromDate);
        break;
    case trTimeLastWeek:
        setFrom(AddDays(cal::DateOfFirstDayOfWeek(D), -7));
        setTo(cal::DateOfLastDayOfWeek(m_dtFromDate));
        break;
    case trTimeThisWeek:
        setFrom(cal::DateOfFirstDayOfWeek(D));
        setTo(cal::DateOfLastDayOfWeek(m_dtFromDate));
        break;
    case trTimeNextWeek:
        setFrom(AddDays(cal::DateOfFirstDayOfWeek(D), 7));
        setTo(cal::DateOfLastDayOfWeek(m_dtFromDate));
        break;
    case trTimeLastMonth:
        monthWindow(AddMonths(firstOfMonth, -1));
        break;
    case trTimeThisMonth:
        monthWindow(firstOfMonth);
        break;
    case trTimeNextMonth:
        monthWindow(AddMonths(firstOfMonth, 1));
        break;
    case trTimeLastYear:
        yearWindow(AddMonths(firstOfYear, -12));
        break;
    case trTimeThisYear:
        yearWindow(firstOfYear);
        break;
    case trTimeNextYear:
        yearWindow(AddMonths(firstOfYear, 12));
        break;
    case trTimeFromToday:
        setFrom(D);
        setTo(zero);
        break;
    case trTimeToToday:
        setFrom(zero);
        setTo(D);
        break;
    default:
        break;
    }
}

} // namespace engine
