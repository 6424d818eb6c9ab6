#include "engine/Filter.h"
#include "engine/detail/DateMath.h"
#include "engine/detail/cFolder.h"

#include "common/ErrorHandling.h"
#include "platform/runtime/ResumeNext.h"

#include "platform/mapi/Constants.h"
#include "platform/mapi/Items.h"
#include "platform/mapi/Message.h"
#include "platform/mapi/Restriction.h"
#include "platform/mapi/Table.h"
#include "platform/mapi/TableFilter.h"
#include "platform/mapi/Utils.h"

namespace mapi = platform::mapi;
namespace rt = platform::runtime;

namespace engine::detail {

namespace {

constexpr long kIgnoreCase = mapi::FL_IGNORECASE;

void AddExist(mapi::Restriction& oNode, std::int32_t lTag)
{
    oNode.Add(mapi::RES_EXIST)->SetUlPropTag(lTag);
}

void AddProperty(mapi::Restriction& oNode, long lRelop, std::int32_t lTag, const rt::Variant& v)
{
    auto oLeaf = oNode.Add(mapi::RES_PROPERTY);
    oLeaf->SetRelop(lRelop);
    oLeaf->SetUlPropTag(lTag);
    oLeaf->SetLpProp(v);
}

void FillContent(mapi::Restriction& oLeaf, long lFuzzy, std::int32_t lTag, const std::string& s)
{
    oLeaf.SetUlFuzzyLevel(lFuzzy);
    oLeaf.SetUlPropTag(lTag);
    oLeaf.SetLpProp(rt::Variant(s));
}

// LIDs travel as signed 16-bit values.
rt::Variant Lid(long lId)
{
    return rt::Variant(static_cast<std::int16_t>(static_cast<std::uint16_t>(lId)));
}

} // namespace

std::int32_t cFolder::ResolveTag(const std::shared_ptr<mapi::Message>& oItem, const char* sGuid,
                                 long lId, const char* sName, long lType)
{
    // An unresolved name gives the tag 0, which no item has: the condition then decides on
    // absence, as it would in a store that never saw the property.
    std::int32_t lTag = 0;
    rt::ResumeNext()([&] {
        const rt::Variant vId = sName != nullptr ? rt::Variant(sName) : Lid(lId);
        const long lPropId =
            m_oUtils->GetIDsFromNames(rt::Variant(oItem->MAPIOBJECT()), sGuid, vId, false);
        if (lPropId != 0)
            lTag = static_cast<std::int32_t>(lPropId | lType);
    });
    return lTag;
}

void cFolder::ApplyFilter(const std::shared_ptr<mapi::Items>& oItems, std::int32_t lDateTag,
                          const ReadContext& oContext)
{
    common::Rethrowing("cFolder", "ApplyFilter", [&](int& nLine) {
        nLine = 1;
        m_oTable->SetItem(std::shared_ptr<mapi::Items>());
        m_oTable->SetItem(oItems);
        m_oTableFilter = m_oTable->Filter();
        m_oTableFilter->Clear();
        auto oRoot = m_oTableFilter->SetKind(mapi::RES_AND);
        bool bAdded = false;
        std::shared_ptr<mapi::Message> oFirst;
        const auto first = [&] {
            if (!oFirst)
                oFirst = oItems->Item(1);
            return oFirst;
        };
        const Filter& f = *m_oFilter;

        nLine = 2;
        if (f.TaskStatus() != trTaskUnknown && f.TaskStatusCompare() != trnone) {
            RestrictTaskStatus(*oRoot, first());
            bAdded = true;
        }
        nLine = 3;
        RestrictTime(*oRoot, lDateTag, oContext);
        bAdded = bAdded || oContext.ExpandRecurrences || f.RestrictTime() != trTimeNone ||
                 m_lItemClass == 1;
        nLine = 4;
        if (f.SubjectCompare() != trnone) {
            RestrictText(*oRoot, f.SubjectCompare(), mapi::PR_SUBJECT, f.Subject());
            bAdded = true;
        }
        nLine = 5;
        if (f.LocationCompare() != trnone) {
            const auto lTag = ResolveTag(first(), mapi::PSETID_Appointment, mapi::LID_APPT_LOCATION,
                                         nullptr, mapi::PT_STRING8);
            RestrictText(*oRoot, f.LocationCompare(), lTag, f.Location());
            bAdded = true;
        }
        nLine = 6;
        if (f.CategoryCompare() != trnone) {
            const auto lTag =
                ResolveTag(first(), mapi::PS_PUBLIC_STRINGS, 0, "Keywords", mapi::PT_MV_STRING8);
            RestrictList(*oRoot, f.CategoryCompare(), f.CategoryAND(), lTag, 0);
            bAdded = true;
        }
        nLine = 7;
        if (f.CompanyCompare() != trnone) {
            const auto lTag = ResolveTag(first(), mapi::PSETID_Common, mapi::LID_COMPANIES, nullptr,
                                         mapi::PT_MV_STRING8);
            RestrictList(*oRoot, f.CompanyCompare(), f.CompanyAND(), lTag, 1);
            bAdded = true;
        }
        nLine = 8;
        if (f.ContactCompare() != trnone) {
            const auto lTag = ResolveTag(first(), mapi::PSETID_Common, mapi::LID_CONTACTS, nullptr,
                                         mapi::PT_MV_STRING8);
            RestrictList(*oRoot, f.ContactCompare(), f.ContactAND(), lTag, 2);
            bAdded = true;
        }
        nLine = 9;
        if (bAdded)
            m_oTableFilter->Apply();
        else
            m_oTableFilter->Clear();
    });
}

void cFolder::RestrictTaskStatus(mapi::Restriction& oRoot,
                                 const std::shared_ptr<mapi::Message>& oFirst)
{
    const Filter& f = *m_oFilter;
    const auto lTag =
        ResolveTag(oFirst, mapi::PSETID_Task, mapi::LID_TASK_STATUS, nullptr, mapi::PT_LONG);
    const rt::Variant vStatus(static_cast<std::int32_t>(f.TaskStatus()));
    if (f.TaskStatusCompare() == trEquals) {
        auto oAnd = oRoot.Add(mapi::RES_AND);
        AddExist(*oAnd, lTag);
        AddProperty(*oAnd, mapi::RELOP_EQ, lTag, vStatus);
        return;
    }
    auto oOr = oRoot.Add(mapi::RES_OR);
    auto oAnd = oOr->Add(mapi::RES_AND);
    AddExist(*oAnd, lTag);
    AddProperty(*oAnd, mapi::RELOP_NE, lTag, vStatus);
    oOr->Add(mapi::RES_NOT)->SetKind(mapi::RES_EXIST)->SetUlPropTag(lTag);
}

void cFolder::RestrictTime(mapi::Restriction& oRoot, std::int32_t lDateTag,
                           const ReadContext& oContext)
{
    const bool bWindow = m_oFilter->RestrictTime() != trTimeNone;
    if (oContext.ExpandRecurrences) {
        auto oOr = oRoot.Add(mapi::RES_OR);
        RestrictRecurringMasters(*oOr, oContext);
        if (bWindow)
            RestrictTimeWindow(*oOr, oContext, lDateTag);
        else
            RestrictNotRecurring(*oOr, oContext.RecurringTag);
        return;
    }
    if (bWindow)
        RestrictTimeWindow(oRoot, oContext, lDateTag);
    else if (m_lItemClass == 1)
        RestrictNotRecurring(oRoot, oContext.RecurringTag);
}

void cFolder::RestrictText(mapi::Restriction& oRoot, long lCompare, std::int32_t lTag,
                           const std::string& sValue)
{
    const bool bContains = lCompare == trContains || lCompare == trContainsNot;
    const long lFuzzy = kIgnoreCase | (bContains ? mapi::FL_SUBSTRING : mapi::FL_FULLSTRING);
    std::shared_ptr<mapi::Restriction> oLeaf;
    if (lCompare == trEqualsNot || lCompare == trContainsNot)
        oLeaf = oRoot.Add(mapi::RES_NOT)->SetKind(mapi::RES_CONTENT);
    else
        oLeaf = oRoot.Add(mapi::RES_CONTENT);
    FillContent(*oLeaf, lFuzzy, lTag, sValue);
}

void cFolder::RestrictList(mapi::Restriction& oRoot, long lCompare, bool bAnd, std::int32_t lTag,
                           long lKind)
{
    const Filter& f = *m_oFilter;
    const auto aValues = lKind == 0 ? f.Category() : lKind == 1 ? f.Company() : f.Contact();
    const long lGroupKind = bAnd ? mapi::RES_AND : mapi::RES_OR;
    const bool bContains = lCompare == trContains || lCompare == trContainsNot;
    const long lFuzzy = bContains ? 1 : 0;
    if (lCompare == trEquals || lCompare == trContains) {
        auto oAnd = oRoot.Add(mapi::RES_AND);
        AddExist(*oAnd, lTag);
        ApplyKeywords(*oAnd->Add(lGroupKind), aValues, lFuzzy, lTag, lKind);
        return;
    }
    auto oOr = oRoot.Add(mapi::RES_OR);
    auto oAnd = oOr->Add(mapi::RES_AND);
    AddExist(*oAnd, lTag);
    ApplyKeywords(*oAnd->Add(mapi::RES_NOT)->SetKind(lGroupKind), aValues, lFuzzy, lTag, lKind);
    oOr->Add(mapi::RES_NOT)->SetKind(mapi::RES_EXIST)->SetUlPropTag(lTag);
}

void cFolder::ApplyKeywords(mapi::Restriction& oGroup, const std::vector<std::string>& aValues,
                            long lFuzzyLevel, std::int32_t lTag, long /*lKind*/)
{
    common::Rethrowing("cFolder", "ApplyKeywords", [&] {
        for (const auto& sValue : aValues)
            FillContent(*oGroup.Add(mapi::RES_CONTENT), lFuzzyLevel | kIgnoreCase, lTag, sValue);
    });
}

void cFolder::RestrictRecurringMasters(mapi::Restriction& oNode, const ReadContext& oContext)
{
    auto oAnd = oNode.Add(mapi::RES_AND);
    AddExist(*oAnd, oContext.RecurringTag);
    AddProperty(*oAnd, mapi::RELOP_EQ, oContext.RecurringTag, rt::Variant(true));
    // No bound on the series' start: an occurrence moved into the window may come from a
    // series whose first occurrence lies after it; the walk of such a series ends at once.
    AddExist(*oAnd, oContext.StartTag);
}

void cFolder::RestrictNotRecurring(mapi::Restriction& oNode, std::int32_t lRecurringTag)
{
    auto oOr = oNode.Add(mapi::RES_OR);
    oOr->Add(mapi::RES_NOT)->SetKind(mapi::RES_EXIST)->SetUlPropTag(lRecurringTag);
    AddProperty(*oOr, mapi::RELOP_EQ, lRecurringTag, rt::Variant(false));
}

void cFolder::RestrictTimeWindow(mapi::Restriction& oNode, const ReadContext& oContext,
                                 std::int32_t lDateTag)
{
    auto oAnd = oNode.Add(mapi::RES_AND);
    if (lDateTag == 0) {
        if (m_lItemClass == 1)
            RestrictNotRecurring(oNode, oContext.RecurringTag);
        return;
    }
    AddExist(*oAnd, lDateTag);
    const long lRestrict = m_oFilter->RestrictTime();
    const bool bLowerOnly = lRestrict == trTimeFromDate || lRestrict == trTimeFromToday;
    const bool bUpperOnly = lRestrict == trTimeToDate || lRestrict == trTimeToToday;
    // A bound on the calendar's end is a window that reaches past it in UTC: items stored
    // beyond it (made west of UTC on the last evening of 9999) still lie inside.
    if (!bUpperOnly && !IsCalendarEdge(oContext.WindowStart))
        AddProperty(*oAnd, mapi::RELOP_GE, lDateTag, rt::Variant(oContext.WindowStart));
    if (!bLowerOnly && !IsCalendarEdge(oContext.WindowEnd))
        AddProperty(*oAnd, mapi::RELOP_LE, lDateTag, rt::Variant(oContext.WindowEnd));
    if (m_lItemClass == 1)
        RestrictNotRecurring(*oAnd, oContext.RecurringTag);
}

} // namespace engine::detail
