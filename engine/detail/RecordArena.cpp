#include "engine/detail/RecordArena.h"

#include "engine/Field.h"
#include "engine/Record.h"

#include <algorithm>

namespace engine::detail {

namespace {
// Stretches stay well below the size from which the allocator maps fresh pages for each
// allocation: one read after another then reuses the same memory instead of faulting in
// new pages every time.
constexpr std::size_t kLargestStretch = 64;
} // namespace

struct RecordArena::Stretch
{
    Stretch(std::size_t nCapacity, std::size_t nFieldsEach)
        // Default-initialised: the constructors set every member, no need to zero them first.
        : records(std::make_unique_for_overwrite<Record[]>(nCapacity)),
          fields(std::make_unique_for_overwrite<Field[]>(nCapacity * nFieldsEach)),
          capacity(nCapacity), fieldsEach(nFieldsEach)
    {
    }

    std::unique_ptr<Record[]> records;
    std::unique_ptr<Field[]> fields;
    std::size_t capacity;
    std::size_t fieldsEach;
    std::size_t used = 0;
};

RecordArena::Slot RecordArena::Next(std::size_t nFields)
{
    if (!m_current || m_current->used == m_current->capacity || m_current->fieldsEach != nFields) {
        m_current = std::make_shared<Stretch>(m_nNextCapacity, nFields);
        m_nNextCapacity = std::min(m_nNextCapacity * 2, kLargestStretch);
    }
    const std::size_t i = m_current->used++;
    Slot slot;
    slot.record = std::shared_ptr<Record>(m_current, &m_current->records[i]);
    slot.fields = m_current->fields.get() + i * nFields;
    slot.owner = m_current;
    return slot;
}

} // namespace engine::detail
