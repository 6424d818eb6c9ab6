#pragma once

#include "platform/store/RecurrencePattern.h"
#include "platform/store/StoreRecords.h"

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace platform::store {
class Store;
}

namespace platform::mapi::detail {

/// The rows of a folder's table read in one pass for the columns its item collection's table
/// was given (and what its restriction tests), so that items taken one by one answer those
/// properties without asking the store again. The folder's recurrence patterns and modified
/// occurrences are read with one query each when the first series asks. Valid while nothing
/// was changed through the library (`generation`).
struct Prefetch
{
    std::vector<store::PropTag> tags;
    std::vector<store::TableRow> rows;
    std::uint64_t generation = 0;
    std::string folderEntryId;
    /// The rows are a small part of the folder: the patterns and modified occurrences are read
    /// for these rows' series, rather than the folder's all.
    bool followsRows = false;

    /// The pattern of a series of the folder; null for an item that does not recur.
    const store::RecurrencePattern* Pattern(const store::Store& store,
                                            const std::string& entryId) const;
    /// A modified occurrence's own item; null when unknown.
    const store::ItemInfo* ExceptionItem(const store::Store& store,
                                         const std::string& entryId) const;
    /// The row of an item by entry id (the index is made when first needed); nullopt when
    /// the read has no such row.
    std::optional<std::size_t> RowOf(const std::string& entryId) const;
    /// Whether every tag is among the prefetched ones.
    bool Covers(const std::vector<store::PropTag>& wanted) const;

    /// The tags of an occurrence's own times in the folder's store, found once per read.
    struct OccurrenceTags
    {
        store::PropTag apptStart = 0, commonStart = 0, apptEnd = 0, commonEnd = 0, duration = 0;
    };
    mutable std::optional<OccurrenceTags> occurrenceTags;

private:
    mutable std::optional<std::unordered_map<std::string, std::size_t>> m_rowOf;
    mutable std::optional<std::unordered_map<std::string, store::RecurrencePattern>> m_patterns;
    mutable std::optional<std::unordered_map<std::string, store::ItemInfo>> m_exceptionItems;
};

} // namespace platform::mapi::detail
