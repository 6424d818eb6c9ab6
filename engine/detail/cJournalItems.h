#pragma once

#include "engine/detail/cItemReader.h"

namespace engine::detail {

/// Reads a journal folder: one record per journal entry.
class cJournalItems : public cItemReader
{
public:
    std::string TypeName() const override { return "cJournalItems"; }

protected:
    const char* ClassName() const override { return "cJournalItems"; }
    void ResolveTags(const std::shared_ptr<platform::mapi::Message>& oFirst) override;
    std::int32_t DateTag(const std::shared_ptr<platform::mapi::Message>& oFirst) override;
    void PrepareWindow() override;
    std::optional<std::int32_t> ColumnTag(long lCode) const override;
    void LoopItemsEx(long lFrom, long lTo) override;

private:
    std::int32_t m_lLogStartTag = 0;
    std::int32_t m_lLogEndTag = 0;
    std::int32_t m_lLogDurationTag = 0;
};

} // namespace engine::detail
