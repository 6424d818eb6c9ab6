#include "platform/mapi/detail/Prefetch.h"

#include "platform/mapi/detail/Context.h"
#include "platform/store/Store.h"

#include <algorithm>

namespace platform::mapi::detail {

const store::RecurrencePattern* Prefetch::Pattern(const store::Store& store,
                                                  const std::string& entryId) const
{
    if (!m_patterns)
        m_patterns = Guard("RecurrencePattern", [&] {
            if (!followsRows)
                return store.FolderRecurrences(folderEntryId);
            std::vector<std::string> ids;
            ids.reserve(rows.size());
            for (const auto& row : rows)
                ids.push_back(row.item.entryId);
            return store.Recurrences(folderEntryId, ids);
        });
    const auto it = m_patterns->find(entryId);
    return it == m_patterns->end() ? nullptr : &it->second;
}

const store::ItemInfo* Prefetch::ExceptionItem(const store::Store& store,
                                               const std::string& entryId) const
{
    if (!m_exceptionItems) {
        auto items = Guard("RecurrencePattern", [&] {
            if (!followsRows)
                return store.FolderExceptionItems(folderEntryId);
            // The modified occurrences the rows' patterns name, in one pass.
            Pattern(store, entryId);
            std::vector<std::string> ids;
            for (const auto& [series, pattern] : *m_patterns)
                for (const auto& e : pattern.exceptions)
                    if (!e.itemEntryId.empty())
                        ids.push_back(e.itemEntryId);
            return store.FindItems(ids);
        });
        m_exceptionItems.emplace();
        for (auto& item : items) {
            auto id = item.entryId;
            m_exceptionItems->emplace(std::move(id), std::move(item));
        }
    }
    const auto it = m_exceptionItems->find(entryId);
    return it == m_exceptionItems->end() ? nullptr : &it->second;
}

std::optional<std::size_t> Prefetch::RowOf(const std::string& entryId) const
{
    if (!m_rowOf) {
        m_rowOf.emplace();
        m_rowOf->reserve(rows.size());
        for (std::size_t i = 0; i < rows.size(); ++i)
            m_rowOf->emplace(rows[i].item.entryId, i);
    }
    const auto it = m_rowOf->find(entryId);
    return it == m_rowOf->end() ? std::nullopt : std::optional(it->second);
}

bool Prefetch::Covers(const std::vector<store::PropTag>& wanted) const
{
    return std::all_of(wanted.begin(), wanted.end(), [&](store::PropTag t) {
        return std::find(tags.begin(), tags.end(), t) != tags.end();
    });
}

} // namespace platform::mapi::detail
