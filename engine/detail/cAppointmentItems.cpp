#include "engine/detail/cAppointmentItems.h"

#include "common/ErrorHandling.h"
#include "engine/Field.h"
#include "engine/Filter.h"

#include "platform/mapi/Constants.h"
#include "platform/mapi/Items.h"
#include "platform/mapi/Message.h"
#include "platform/runtime/Conversion.h"

namespace mapi = platform::mapi;
namespace rt = platform::runtime;

namespace engine::detail {

void cAppointmentItems::Initialize(const std::shared_ptr<Options>& oOptions,
                                   const std::shared_ptr<mapi::Utils>& oUtils,
                                   const std::shared_ptr<Records>& oRecords)
{
    cItemReader::Initialize(oOptions, oUtils, oRecords);
    m_oExpander = std::make_unique<RecurrenceHelper>();
}

void cAppointmentItems::ResolveTags(const std::shared_ptr<mapi::Message>& oFirst)
{
    const char* sSet = mapi::PSETID_Appointment;
    m_lDurationTag = NamedTag(oFirst, sSet, mapi::LID_APPT_DURATION, mapi::PT_LONG);
    m_oContext.StartTag = NamedTag(oFirst, sSet, mapi::LID_APPT_START, mapi::PT_SYSTIME);
    m_oContext.EndTag = NamedTag(oFirst, sSet, mapi::LID_APPT_END, mapi::PT_SYSTIME);
    m_oContext.ClipStartTag = NamedTag(oFirst, sSet, mapi::LID_APPT_CLIP_START, mapi::PT_SYSTIME);
    m_oContext.ClipEndTag = NamedTag(oFirst, sSet, mapi::LID_APPT_CLIP_END, mapi::PT_SYSTIME);
    m_oContext.RecurringTag = NamedTag(oFirst, sSet, mapi::LID_APPT_RECURRING, mapi::PT_BOOLEAN);
    m_oContext.ExpandRecurrences = true;
}

std::int32_t cAppointmentItems::DateTag(const std::shared_ptr<mapi::Message>& /*oFirst*/)
{
    switch (m_oFilter->FilterOnField()) {
    case trStartDate:
        return m_oContext.StartTag;
    case trEndDate:
        return m_oContext.EndTag;
    default:
        return 0;
    }
}

std::optional<std::int32_t> cAppointmentItems::ColumnTag(long lCode) const
{
    switch (lCode) {
    case 3:
        return m_oContext.StartTag;
    case 4:
        return m_oContext.EndTag;
    case 5:
        return m_lDurationTag;
    case 6:
        return m_oContext.RecurringTag;
    case 14:
        return m_oContext.ClipStartTag;
    case 15:
        return m_oContext.ClipEndTag;
    default:
        return std::nullopt;
    }
}

std::vector<std::int32_t> cAppointmentItems::RowTags() const
{
    // Single appointments read their duration, series their clip dates.
    return {m_lDurationTag, m_oContext.ClipStartTag, m_oContext.ClipEndTag};
}

void cAppointmentItems::LoopItemsEx(long lFrom, long lTo)
{
    common::Rethrowing(ClassName(), "LoopItemsEx", [&](int& nLine) {
        long lDateField = m_oFilter->FilterOnField();
        if (lDateField == 0)
            lDateField = trStartDate;
        for (long r = lFrom; r <= lTo; ++r) {
            nLine = 1;
            const auto oItem = m_oItems->Item(r);
            if (oItem && oItem->IsAppointment()) {
                nLine = 2;
                if (oItem->IsRecurring() && m_oContext.ExpandRecurrences) {
                    const auto aOccurrences = m_oExpander->GetOccurences(
                        m_oContext.WindowStartLocal, m_oContext.WindowEndLocal, oItem, lDateField);
                    const rt::Variant vClipStart = oItem->Fields(m_oContext.ClipStartTag);
                    const rt::Variant vClipEnd = oItem->Fields(m_oContext.ClipEndTag);
                    const rt::Date dtClipStart =
                        vClipStart.IsEmpty() ? rt::Date() : ToLocal(vClipStart);
                    const rt::Date dtClipEnd = vClipEnd.IsEmpty() ? rt::Date() : ToLocal(vClipEnd);
                    for (const auto& oOccurrence : aOccurrences)
                        AddRecord(*oOccurrence, oOccurrence->Duration(), dtClipStart, dtClipEnd);
                } else if (!BeyondTheCalendar(*oItem)) {
                    nLine = 3;
                    const rt::Variant vDuration = oItem->Fields(m_lDurationTag);
                    const long lDuration =
                        vDuration.IsEmpty() ? 0 : static_cast<long>(rt::Val(rt::CStr(vDuration)));
                    AddRecord(*oItem, lDuration, rt::Date(), rt::Date());
                }
            }
            nLine = 4;
            ReportProgress(r);
        }
    });
}

void cAppointmentItems::AddRecord(const mapi::Message& oItem, long lDuration, rt::Date dtClipStart,
                                  rt::Date dtClipEnd)
{
    common::Rethrowing(ClassName(), "AddRecord", [&] {
        AppendRecord(oItem, 1, [&](const Field& oField) -> rt::Variant {
            const long lCode = oField.MappingValue();
            if (auto v = SharedValue(oItem, lCode))
                return *v;
            switch (lCode) {
            case 0:
                return PropertyValue(oItem, oField);
            case 2:
                return rt::Variant(static_cast<std::int16_t>(1024));
            case 3:
                return rt::Variant(oItem.Start());
            case 4:
                return rt::Variant(oItem.End());
            case 5:
                return rt::Variant(static_cast<std::int32_t>(lDuration));
            case 6:
                return rt::Variant(oItem.IsRecurring());
            case 14:
                return rt::Variant(dtClipStart);
            case 15:
                return rt::Variant(dtClipEnd);
            default:
                return {};
            }
        });
    });
}

} // namespace engine::detail
