#include "engine/detail/cItemReader.h"

#include "common/ErrorHandling.h"
#include "engine/Application.h"
#include "engine/Field.h"
#include "engine/Filter.h"
#include "engine/Record.h"
#include "engine/Records.h"
#include "engine/detail/Chunks.h"
#include "engine/detail/DateMath.h"
#include "engine/detail/EngineState.h"
#include "engine/detail/Options.h"
#include "engine/detail/cFolder.h"
#include "platform/runtime/ResumeNext.h"

#include "platform/mapi/Constants.h"
#include "platform/mapi/Folder.h"
#include "platform/mapi/Items.h"
#include "platform/mapi/Message.h"
#include "platform/mapi/Store.h"
#include "platform/mapi/Table.h"
#include "platform/mapi/Utils.h"

#include <algorithm>

namespace mapi = platform::mapi;
namespace rt = platform::runtime;

namespace engine::detail {

cFolder* cItemReader::Parent() const
{
    return common::ChildLink<cFolder>::Parent();
}

void cItemReader::Initialize(const std::shared_ptr<Options>& oOptions,
                             const std::shared_ptr<mapi::Utils>& oUtils,
                             const std::shared_ptr<Records>& oRecords)
{
    m_oOptions = oOptions;
    m_oUtils = oUtils;
    m_oRecords = oRecords;
    m_oFilter = oRecords->Filter();
}

void cItemReader::Execute(const std::shared_ptr<mapi::Folder>& rdFolder)
{
    try {
        common::Rethrowing(ClassName(), "IReadItems_Execute", [&](int& nLine) {
            nLine = 1;
            m_oItems = rdFolder->GetItems();
            if (m_oItems->Count() == 0)
                return;
            nLine = 2;
            m_oFolder = rdFolder;
            m_oStore = rdFolder->GetStore();
            m_sStoreID = rdFolder->StoreID();
            m_pStoreID = std::make_shared<const std::string>(m_sStoreID);
            m_sFolderName = rdFolder->Name();
            CurrentRoot().CacheObject(m_oStore, m_sStoreID);
            nLine = 3;
            const auto oFirst = m_oItems->Item(1);
            nLine = 4;
            ResolveTags(oFirst);
            nLine = 6;
            m_lDateTag = m_oFilter->RestrictTime() != trTimeNone ? DateTag(oFirst) : 0;
            PrepareWindow();
            nLine = 10;
            Parent()->ApplyFilter(m_oItems, m_lDateTag, m_oContext);
            nLine = 11;
            SetPropertyTags(oFirst);
            nLine = 12;
            m_lStoreKind = m_oStore->StoreKind();
            SetColumns();
            LoopItems();
        });
    } catch (...) {
        Release();
        throw;
    }
    Release();
}

void cItemReader::Release()
{
    m_oItems.reset();
    m_oFolder.reset();
    m_oStore.reset();
}

std::int32_t cItemReader::NamedTag(const std::shared_ptr<mapi::Message>& oItem, const char* sGuid,
                                   long lLid, long lType) const
{
    // A store that never saw one of these names (no item ever carried it) has no id for it;
    // its tag is 0, which reads as Empty on every item, rather than failing the folder.
    std::int32_t lTag = 0;
    rt::ResumeNext()([&] {
        const rt::Variant vLid(static_cast<std::int16_t>(static_cast<std::uint16_t>(lLid)));
        const long lId =
            m_oUtils->GetIDsFromNames(rt::Variant(oItem->MAPIOBJECT()), sGuid, vLid, false);
        if (lId != 0)
            lTag = static_cast<std::int32_t>(lId | lType);
    });
    return lTag;
}

void cItemReader::WindowFromFilter(bool bUseDefaults)
{
    rt::Date start;
    rt::Date end;
    if (m_oFilter->RestrictTime() != trTimeNone) {
        if (!IsZeroDate(m_oFilter->FromDate()))
            start = m_oFilter->FromDate();
        if (!IsZeroDate(m_oFilter->ToDate()))
            end = m_oFilter->ToDate();
    }
    if (bUseDefaults) {
        const bool bStart = !IsZeroDate(start);
        const bool bEnd = !IsZeroDate(end);
        // A default bound stops at the calendar's end: a window from 1 December 9999 reads
        // to its last day.
        if (bStart && !bEnd) {
            end = AddDaysWithinCalendar(start, m_oOptions->DateRangeTo);
        } else if (!bStart && !bEnd) {
            start = rt::Today();
            end = AddDaysWithinCalendar(start, m_oOptions->DateRangeTo);
        } else if (!bStart && bEnd) {
            start = AddDaysWithinCalendar(end, m_oOptions->DateRangeFrom);
        }
    }
    m_oContext.WindowStartLocal = DayAt(start, 0, 0, 0);
    m_oContext.WindowEndLocal = DayAt(end, 23, 59, 0);
    // West of UTC the last evening of 9999 lies in the year 10000 in UTC, east of it the
    // first morning of the year 100 in the year 99: such a bound becomes the calendar's end,
    // which the restriction leaves open, so the items stored beyond it are still found.
    const ReadContext& c = m_oContext;
    m_oContext.WindowStart =
        WithinCalendar(m_oUtils->TryLocalTimeToUTC(c.WindowStartLocal), c.WindowStartLocal);
    m_oContext.WindowEnd =
        WithinCalendar(m_oUtils->TryLocalTimeToUTC(c.WindowEndLocal), c.WindowEndLocal);
}

void cItemReader::SetPropertyTags(const std::shared_ptr<mapi::Message>& oFirst)
{
    common::Rethrowing(ClassName(), "SetPropertyTags", [&] {
        for (long i = 1; i <= m_oRecords->FieldCount(); ++i) {
            const auto oField = m_oRecords->FieldItem(i);
            const rt::Variant& vId = oField->ID();
            if (oField->MappingValue() != 0 || vId.IsEmpty())
                continue;
            if (const auto* n = vId.Get<std::int32_t>(); n != nullptr && *n == 0)
                continue;
            if (const auto* n = vId.Get<std::int16_t>(); n != nullptr && *n == 0)
                continue;
            const long lId = m_oUtils->GetIDsFromNames(rt::Variant(oFirst->MAPIOBJECT()),
                                                       oField->GUID(), vId, false);
            oField->SetPropTag(static_cast<std::int32_t>(lId | oField->MapiPropertyType()));
        }
    });
}

void cItemReader::SetColumns()
{
    std::vector<std::int32_t> aTags;
    for (long i = 1; i <= m_oRecords->FieldCount(); ++i)
        if (const auto lTag = TableColumn(*m_oRecords->FieldItem(i)))
            aTags.push_back(*lTag);
    for (const auto lTag : RowTags())
        if (lTag != 0 && std::find(aTags.begin(), aTags.end(), lTag) == aTags.end())
            aTags.push_back(lTag);
    if (!aTags.empty())
        m_oItems->RawTable()->SetColumns(std::move(aTags));
}

std::optional<std::int32_t> cItemReader::TableColumn(const Field& oField) const
{
    switch (oField.MappingValue()) {
    case 0:
        return oField.PR();
    case 10:
    case 11:
        // Only mailbox stores keep the creator and last modifier in their tables; elsewhere
        // the rows still read them from the item.
        if (m_lStoreKind != 3 && m_lStoreKind != 4)
            return std::nullopt;
        return oField.MappingValue() == 10 ? mapi::PR_CREATOR_NAME : mapi::PR_LAST_MODIFIER_NAME;
    default:
        return ColumnTag(oField.MappingValue());
    }
}

void cItemReader::LoopItems()
{
    common::Rethrowing(ClassName(), "LoopItems", [&] {
        m_lItemCount = m_oItems->Count();
        // One record a row at least: the list grows once, not by doubling through a large read.
        m_oRecords->ReserveMore(m_lItemCount);
        ForEachChunk(m_lItemCount, m_oOptions->ChunkSize,
                     [&](long lFrom, long lTo) { LoopItemsEx(lFrom, lTo); });
    });
}

rt::Variant cItemReader::PropertyValue(const mapi::Message& oItem, const Field& oField) const
{
    if (oField.MapiPropertyType() == PT_SYSTIME)
        if (const auto local = oItem.LocalTimeField(oField.PR()))
            return rt::Variant(*local);
    rt::Variant v = oItem.Fields(oField.PR());
    if (oField.MapiPropertyType() == PT_SYSTIME && !v.IsEmpty())
        return rt::Variant(ToLocal(v));
    return v;
}

std::optional<rt::Variant> cItemReader::SharedValue(const mapi::Message& oItem, long lCode) const
{
    switch (lCode) {
    case 1:
        return rt::Variant(m_sFolderName);
    case 9:
        return m_oStore->Fields(mapi::PR_MAILBOX_OWNER_NAME);
    case 10:
        return oItem.Fields(mapi::PR_CREATOR_NAME);
    case 11:
        return oItem.Fields(mapi::PR_LAST_MODIFIER_NAME);
    default:
        return std::nullopt;
    }
}

rt::Date cItemReader::LocalField(const mapi::Message& oItem, std::int32_t lTag) const
{
    // Straight from the stored instant: west of UTC the last evening of 9999 is stored in the
    // year 10000, which no UTC date shows.
    if (const auto local = oItem.LocalTimeField(lTag))
        return *local;
    return ToLocal(oItem.Fields(lTag));
}

rt::Date cItemReader::ToLocal(const rt::Variant& vUtc) const
{
    // The end of an all-day item on 31 December 9999 lies in the year 10000 in local time:
    // it shows as the calendar's last second, as the item's own end does.
    const rt::Date utc = ToDate(vUtc).value_or(rt::Date());
    return WithinCalendar(m_oUtils->TryUTCToLocalTime(utc), utc);
}

bool cItemReader::BeyondTheCalendar(const mapi::Message& oItem) const
{
    return m_lDateTag != 0 && oItem.LocalTimeBeyondCalendar(m_lDateTag);
}

void cItemReader::AppendRecord(const mapi::Message& oItem, long lClass,
                               const std::function<rt::Variant(const Field&)>& fnValue)
{
    const long lCount = m_oRecords->FieldCount();
    auto slot = m_oArena.Next(static_cast<std::size_t>(lCount));
    for (long i = 0; i < lCount; ++i) {
        // A copy of the column (as CloneField makes it) with the value read.
        auto& oCopy = slot.fields[i];
        m_oRecords->FieldItem(i + 1)->CloneInto(oCopy);
        oCopy.SetFieldValue(fnValue(static_cast<const Field&>(oCopy)));
    }
    auto& oRecord = *slot.record;
    oRecord.TakeFieldsInPlace(slot.fields, static_cast<std::size_t>(lCount), slot.owner,
                              m_oLastRecord.get());
    oRecord.SetEntryID(oItem.EntryID());
    oRecord.SetStoreID(m_pStoreID);
    oRecord.SetClass(lClass);
    m_oLastRecord = slot.record;
    m_oRecords->Append(std::move(slot.record));
}

void cItemReader::ReportProgress(long r) const
{
    bool bCancel = false;
    CurrentRoot().RaiseProgress(r + 1, m_lItemCount, bCancel);
}

} // namespace engine::detail
