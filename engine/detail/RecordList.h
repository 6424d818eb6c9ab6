#pragma once

#include "platform/runtime/Variant.h"

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

namespace engine {
class Record;
}

namespace engine::detail {

/// The result list of a record set: records in reading order, each under the counter value
/// the set gave it as its key. Counters only grow and removals keep the order, so the keys
/// stay ascending and a key is found by bisection; no per-record key text or index entry is
/// kept beside the records.
class RecordList
{
public:
    /// Appends a record under its counter; lKey must exceed every key in the list.
    void Add(std::shared_ptr<Record> oRecord, long lKey);
    /// Number of records.
    long Count() const noexcept { return static_cast<long>(m_items.size()); }
    /// The record at a 1-based position; no object outside 1..Count.
    std::shared_ptr<Record> Item(long lIndex) const;
    /// By position when the index is a number, by key when it is a text; else no object.
    std::shared_ptr<Record> Item(const platform::runtime::Variant& vIndex) const;
    /// The 1-based position of the record an index names, or 0.
    long Find(const platform::runtime::Variant& vIndex) const;
    /// Removes the record at a 1-based position; outside 1..Count nothing happens.
    void Remove(long lIndex);
    /// Removes every record.
    void Clear();
    /// Makes room for n records (at least twice the room there was, when it grows).
    void Reserve(std::size_t n);

    /// Enumerates the records in order.
    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

private:
    /// The 1-based position of the record with a key text, or 0.
    long FindKey(std::string_view sKey) const;

    std::vector<std::shared_ptr<Record>> m_items;
    std::vector<long> m_keys; ///< ascending, beside m_items
};

} // namespace engine::detail
