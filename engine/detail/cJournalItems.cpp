#include "engine/detail/cJournalItems.h"

#include "common/ErrorHandling.h"
#include "engine/Field.h"
#include "engine/Filter.h"

#include "platform/mapi/Constants.h"
#include "platform/mapi/Items.h"
#include "platform/mapi/Message.h"

namespace mapi = platform::mapi;
namespace rt = platform::runtime;

namespace engine::detail {

void cJournalItems::ResolveTags(const std::shared_ptr<mapi::Message>& oFirst)
{
    m_lLogStartTag = NamedTag(oFirst, mapi::PSETID_Log, mapi::LID_LOG_START, mapi::PT_SYSTIME);
    m_lLogEndTag = NamedTag(oFirst, mapi::PSETID_Log, mapi::LID_LOG_END, mapi::PT_SYSTIME);
    m_lLogDurationTag = NamedTag(oFirst, mapi::PSETID_Log, mapi::LID_LOG_DURATION, mapi::PT_LONG);
    m_oContext = ReadContext{};
}

std::int32_t cJournalItems::DateTag(const std::shared_ptr<mapi::Message>& /*oFirst*/)
{
    switch (m_oFilter->FilterOnField()) {
    case trStartDate:
        return m_lLogStartTag;
    case trEndDate:
        return m_lLogEndTag;
    default:
        return 0;
    }
}

void cJournalItems::PrepareWindow()
{
    // Journal windows take the filter's dates as they are: no defaults from the settings.
    if (m_oFilter->RestrictTime() != trTimeNone)
        WindowFromFilter(false);
}

std::optional<std::int32_t> cJournalItems::ColumnTag(long lCode) const
{
    switch (lCode) {
    case 3:
        return m_lLogStartTag;
    case 4:
        return m_lLogEndTag;
    case 5:
        return m_lLogDurationTag;
    default:
        return std::nullopt;
    }
}

void cJournalItems::LoopItemsEx(long lFrom, long lTo)
{
    common::Rethrowing(ClassName(), "LoopItemsEx", [&](int& nLine) {
        for (long r = lFrom; r <= lTo; ++r) {
            nLine = 1;
            const auto oItem = m_oItems->Item(r);
            if (oItem && oItem->IsJournal() && !BeyondTheCalendar(*oItem)) {
                nLine = 2;
                AppendRecord(*oItem, 4, [&](const Field& oField) -> rt::Variant {
                    const long lCode = oField.MappingValue();
                    if (auto v = SharedValue(*oItem, lCode))
                        return *v;
                    switch (lCode) {
                    case 0:
                        return PropertyValue(*oItem, oField);
                    case 2:
                        return rt::Variant(static_cast<std::int16_t>(1989));
                    case 3:
                        return rt::Variant(LocalField(*oItem, m_lLogStartTag));
                    case 4:
                        return rt::Variant(LocalField(*oItem, m_lLogEndTag));
                    case 5:
                        return oItem->Fields(m_lLogDurationTag);
                    default:
                        return {};
                    }
                });
            }
            nLine = 3;
            ReportProgress(r);
        }
    });
}

} // namespace engine::detail
