#pragma once

#include <cstddef>
#include <memory>

namespace engine {
class Field;
class Record;
} // namespace engine

namespace engine::detail {

/// Where a read makes its records: in stretches that hold many records and their fields in
/// two allocations, instead of several allocations per record. A record (and a field of it)
/// handed out shares the ownership of its whole stretch, which lives as long as any of them.
class RecordArena
{
public:
    /// A record made in place, its fields (default ones, nFields of them) beside it, and the
    /// owner of both.
    struct Slot
    {
        std::shared_ptr<Record> record;
        Field* fields = nullptr;
        std::shared_ptr<void> owner;
    };

    /// The next record of the read with room for nFields fields.
    Slot Next(std::size_t nFields);

private:
    struct Stretch;
    std::shared_ptr<Stretch> m_current;
    /// Stretches grow up to a limit (about a huge page), so that a small read stays small.
    std::size_t m_nNextCapacity = 16;
};

} // namespace engine::detail
