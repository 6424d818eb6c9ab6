#pragma once

#include "engine/detail/RecurrenceHelper.h"
#include "engine/detail/cItemReader.h"

namespace engine::detail {

/// Reads a task folder: one record per task, recurring or not.
class cTaskItems : public cItemReader
{
public:
    std::string TypeName() const override { return "cTaskItems"; }
    void Initialize(const std::shared_ptr<Options>& oOptions,
                    const std::shared_ptr<platform::mapi::Utils>& oUtils,
                    const std::shared_ptr<Records>& oRecords) override;

protected:
    const char* ClassName() const override { return "cTaskItems"; }
    void ResolveTags(const std::shared_ptr<platform::mapi::Message>& oFirst) override;
    std::int32_t DateTag(const std::shared_ptr<platform::mapi::Message>& oFirst) override;
    void PrepareWindow() override { WindowFromFilter(true); }
    std::optional<std::int32_t> ColumnTag(long lCode) const override;
    void LoopItemsEx(long lFrom, long lTo) override;

private:
    void AddRecord(const platform::mapi::Message& oItem);

    // Kept as the appointment reader keeps it; tasks are never expanded.
    std::unique_ptr<RecurrenceHelper> m_oExpander;
    std::int32_t m_lActualWorkTag = 0;
    std::int32_t m_lTotalWorkTag = 0;
};

} // namespace engine::detail
