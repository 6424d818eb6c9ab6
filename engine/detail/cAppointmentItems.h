#pragma once

#include "engine/detail/RecurrenceHelper.h"
#include "engine/detail/cItemReader.h"

namespace engine::detail {

/// Reads a calendar folder: one record per single appointment and per occurrence of a
/// recurring one inside the read window (the master itself gives none).
class cAppointmentItems : public cItemReader
{
public:
    std::string TypeName() const override { return "cAppointmentItems"; }
    void Initialize(const std::shared_ptr<Options>& oOptions,
                    const std::shared_ptr<platform::mapi::Utils>& oUtils,
                    const std::shared_ptr<Records>& oRecords) override;

protected:
    const char* ClassName() const override { return "cAppointmentItems"; }
    void ResolveTags(const std::shared_ptr<platform::mapi::Message>& oFirst) override;
    std::int32_t DateTag(const std::shared_ptr<platform::mapi::Message>& oFirst) override;
    void PrepareWindow() override { WindowFromFilter(true); }
    std::optional<std::int32_t> ColumnTag(long lCode) const override;
    std::vector<std::int32_t> RowTags() const override;
    void LoopItemsEx(long lFrom, long lTo) override;

private:
    void AddRecord(const platform::mapi::Message& oItem, long lDuration,
                   platform::runtime::Date dtClipStart, platform::runtime::Date dtClipEnd);

    std::unique_ptr<RecurrenceHelper> m_oExpander;
    std::int32_t m_lDurationTag = 0;
};

} // namespace engine::detail
