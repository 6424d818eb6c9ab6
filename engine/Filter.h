#pragma once

#include "engine/Enumerations.h"

#include "common/IChild.h"
#include "platform/runtime/Date.h"
#include "platform/runtime/Object.h"
#include "platform/runtime/Variant.h"

#include <memory>
#include <string>
#include <vector>

namespace engine {

class Records;

/// The conditions of a report: category, company and contact lists, subject and location
/// texts, a task status, and a date window on one of the item's date fields. The window of a
/// preset is computed once, when `SetTimeCondition` runs, from today's date and the client's
/// first day of the week. A new filter has every condition off.
class Filter : public platform::runtime::Object,
               public common::ChildLink<Records>,
               public std::enable_shared_from_this<Filter>
{
public:
    std::string TypeName() const override { return "Filter"; }

    /// Makes this filter the active filter of the current engine root's record set.
    /// Throws error 91 when no engine root is initialised; the filter must be held by a
    /// shared_ptr.
    void Apply();

    /// A copy of the category list.
    std::vector<std::string> Category() const { return m_aCategory; }
    /// The categories joined with ";" (empty text for an empty list).
    std::string CategoryString() const;
    bool CategoryAND() const { return m_bCategoryAND; }
    trCompareValue CategoryCompare() const { return m_lCategoryCompare; }
    long CategoryCount() const { return static_cast<long>(m_aCategory.size()); }

    std::vector<std::string> Company() const { return m_aCompany; }
    std::string CompanyString() const;
    bool CompanyAND() const { return m_bCompanyAND; }
    trCompareValue CompanyCompare() const { return m_lCompanyCompare; }
    long CompanyCount() const { return static_cast<long>(m_aCompany.size()); }

    std::vector<std::string> Contact() const { return m_aContact; }
    std::string ContactString() const;
    bool ContactAND() const { return m_bContactAND; }
    trCompareValue ContactCompare() const { return m_lContactCompare; }
    long ContactCount() const { return static_cast<long>(m_aContact.size()); }

    /// The date field the window applies to (0 on a new filter).
    trDateField FilterOnField() const { return m_lFilterOnField; }
    /// Start of the window at 00:00:00; the zero date for an open start.
    platform::runtime::Date FromDate() const { return m_dtFromDate; }
    /// End of the window at 23:59:59; the zero date for an open end.
    platform::runtime::Date ToDate() const { return m_dtToDate; }
    /// The preset that made the window; `trTimeNone` = no date condition.
    trTimeFilter RestrictTime() const { return m_lRestrictTime; }

    const std::string& Location() const { return m_sLocation; }
    trCompareValue LocationCompare() const { return m_lLocationCompare; }
    const std::string& Subject() const { return m_sSubject; }
    trCompareValue SubjectCompare() const { return m_lSubjectCompare; }
    trTaskStatus TaskStatus() const { return m_lTaskStatus; }
    trCompareValue TaskStatusCompare() const { return m_lTaskStatusCompare; }

    /// The record set this filter is linked to, or null.
    Records* Parent() const;
    /// Always the empty text.
    std::string Key() const override { return {}; }

    /// Sets the category condition; with `trnone` the list and the flag keep their values.
    void SetCategoryCondition(trCompareValue lCompare, const std::vector<std::string>& aCategory,
                              bool bCategoryAnd = false);
    /// Sets the company condition, as `SetCategoryCondition`.
    void SetCompanyCondition(trCompareValue lCompare, const std::vector<std::string>& aCompany,
                             bool bCompanyAnd = false);
    /// Sets the contact condition, as `SetCategoryCondition`.
    void SetContactCondition(trCompareValue lCompare, const std::vector<std::string>& aContact,
                             bool bContactAnd = false);
    /// Sets the location condition; with `trnone` the text keeps its value.
    void SetLocationCondition(trCompareValue lCompare, const std::string& Location);
    /// Sets the subject condition; with `trnone` the text keeps its value.
    void SetSubjectCondition(trCompareValue lCompare, const std::string& Subject);
    /// Sets the task-status condition: a compare value other than none, equals and equals-not
    /// is stored as none, and without a condition the status is `trTaskUnknown`.
    void SetTaskStatusCondition(long lTaskStatusCompare, long lTaskStatus = trTaskNotStarted);
    /// Sets the date field and computes the window of a preset from today's date. `dtFrom` and
    /// `dtTo` (dates, numbers or date texts) are used by the presets that take explicit dates;
    /// when one is missing or no date, the bound it would set keeps its previous value. Then a
    /// set start becomes its day at 00:00:00 and a set end its day at 23:59:59. Never throws.
    void SetTimeCondition(trDateField eFilterOnField, trTimeFilter eRestrictTime = trTimeNone,
                          const platform::runtime::Variant& dtFrom = {},
                          const platform::runtime::Variant& dtTo = {});

    /// The filter as its parent link.
    common::IChild& ToIChild() { return *this; }

private:
    void SetListCondition(trCompareValue lCompare, const std::vector<std::string>& aValues,
                          bool bAnd, trCompareValue& lTargetCompare,
                          std::vector<std::string>& aTarget, bool& bTargetAnd,
                          const char* sProcedure);
    void ApplyPreset(trTimeFilter eRestrictTime, const platform::runtime::Variant& dtFrom,
                     const platform::runtime::Variant& dtTo);

    trCompareValue m_lCategoryCompare = trnone;
    std::vector<std::string> m_aCategory;
    bool m_bCategoryAND = false;
    trCompareValue m_lSubjectCompare = trnone;
    std::string m_sSubject;
    trCompareValue m_lContactCompare = trnone;
    std::vector<std::string> m_aContact;
    bool m_bContactAND = false;
    trCompareValue m_lCompanyCompare = trnone;
    std::vector<std::string> m_aCompany;
    bool m_bCompanyAND = false;
    trCompareValue m_lLocationCompare = trnone;
    std::string m_sLocation;
    trDateField m_lFilterOnField = trDateField{};
    trTimeFilter m_lRestrictTime = trTimeNone;
    platform::runtime::Date m_dtFromDate;
    platform::runtime::Date m_dtToDate;
    trTaskStatus m_lTaskStatus = trTaskNotStarted;
    trCompareValue m_lTaskStatusCompare = trnone;
};

} // namespace engine
