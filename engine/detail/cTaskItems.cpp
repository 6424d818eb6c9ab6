#include "engine/detail/cTaskItems.h"

#include "common/ErrorHandling.h"
#include "engine/Field.h"
#include "engine/Filter.h"

#include "platform/mapi/Constants.h"
#include "platform/mapi/Items.h"
#include "platform/mapi/Message.h"

namespace mapi = platform::mapi;
namespace rt = platform::runtime;

namespace engine::detail {

void cTaskItems::Initialize(const std::shared_ptr<Options>& oOptions,
                            const std::shared_ptr<mapi::Utils>& oUtils,
                            const std::shared_ptr<Records>& oRecords)
{
    cItemReader::Initialize(oOptions, oUtils, oRecords);
    m_oExpander = std::make_unique<RecurrenceHelper>();
}

void cTaskItems::ResolveTags(const std::shared_ptr<mapi::Message>& oFirst)
{
    m_lActualWorkTag =
        NamedTag(oFirst, mapi::PSETID_Task, mapi::LID_TASK_ACTUAL_WORK, mapi::PT_LONG);
    m_lTotalWorkTag = NamedTag(oFirst, mapi::PSETID_Task, mapi::LID_TASK_TOTAL_WORK, mapi::PT_LONG);
    m_oContext.StartTag =
        NamedTag(oFirst, mapi::PSETID_Common, mapi::LID_COMMON_START, mapi::PT_SYSTIME);
    m_oContext.EndTag =
        NamedTag(oFirst, mapi::PSETID_Common, mapi::LID_COMMON_END, mapi::PT_SYSTIME);
    m_oContext.RecurringTag =
        NamedTag(oFirst, mapi::PSETID_Task, mapi::LID_TASK_RECURRING, mapi::PT_BOOLEAN);
    m_oContext.ExpandRecurrences = false;
}

std::int32_t cTaskItems::DateTag(const std::shared_ptr<mapi::Message>& oFirst)
{
    switch (m_oFilter->FilterOnField()) {
    case trDueDate:
        return NamedTag(oFirst, mapi::PSETID_Task, mapi::LID_TASK_DUE, mapi::PT_SYSTIME);
    case trStartDate:
        return m_oContext.StartTag;
    case trEndDate:
        return NamedTag(oFirst, mapi::PSETID_Task, mapi::LID_TASK_DATE_COMPLETED, mapi::PT_SYSTIME);
    default:
        return 0;
    }
}

std::optional<std::int32_t> cTaskItems::ColumnTag(long lCode) const
{
    switch (lCode) {
    case 3:
        return m_oContext.StartTag;
    case 4:
        return m_oContext.EndTag;
    case 5:
    case 12:
        return m_lTotalWorkTag;
    case 6:
        return m_oContext.RecurringTag;
    case 13:
        return m_lActualWorkTag;
    default:
        return std::nullopt;
    }
}

void cTaskItems::LoopItemsEx(long lFrom, long lTo)
{
    common::Rethrowing(ClassName(), "LoopItemsEx", [&](int& nLine) {
        for (long r = lFrom; r <= lTo; ++r) {
            nLine = 1;
            const auto oItem = m_oItems->Item(r);
            if (oItem && oItem->IsTask() && !BeyondTheCalendar(*oItem)) {
                nLine = 2;
                AddRecord(*oItem);
            }
            nLine = 3;
            ReportProgress(r);
        }
    });
}

void cTaskItems::AddRecord(const mapi::Message& oItem)
{
    common::Rethrowing(ClassName(), "AddRecord", [&] {
        AppendRecord(oItem, 3, [&](const Field& oField) -> rt::Variant {
            const long lCode = oField.MappingValue();
            if (auto v = SharedValue(oItem, lCode))
                return *v;
            switch (lCode) {
            case 0: {
                rt::Variant v = PropertyValue(oItem, oField);
                // The due date is the task's own, not the converted stored value.
                if (oField.MapiPropertyType() == PT_SYSTIME && !v.IsEmpty() &&
                    oField.Name() == "DueDate")
                    return rt::Variant(oItem.DueDate());
                return v;
            }
            case 2:
                return rt::Variant(static_cast<std::int16_t>(1280));
            case 3:
                return rt::Variant(oItem.StartDate());
            case 4:
                return rt::Variant(oItem.DateCompleted());
            case 5:
            case 12:
                return rt::Variant(static_cast<std::int32_t>(oItem.TotalWork()));
            case 6:
                return rt::Variant(oItem.IsRecurring());
            case 13:
                return rt::Variant(static_cast<std::int32_t>(oItem.ActualWork()));
            default:
                return {};
            }
        });
    });
}

} // namespace engine::detail
