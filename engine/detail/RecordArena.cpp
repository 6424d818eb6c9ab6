#include "engine/detail/RecordArena.h"

#include "engine/Field.h"
#include "engine/Record.h"

#include "platform/runtime/HugeBlocks.h"

#include <algorithm>
#include <cstddef>
#include <memory>
#include <new>

namespace engine::detail {

namespace {

namespace rt = platform::runtime;

// The largest stretch fills one huge page: a read of a million records then faults its memory
// in a few hundred huge pages rather than in a hundred thousand small ones. Smaller stretches
// come from the ordinary allocator, whose freed memory the next read reuses.
constexpr std::size_t kLargestStretchBytes = rt::kHugeBlockSize;
constexpr std::size_t kHugeFrom = kLargestStretchBytes / 2;

static_assert(alignof(Record) <= alignof(std::max_align_t) &&
              alignof(Field) <= alignof(std::max_align_t));

std::size_t FieldsOffset(std::size_t nCapacity)
{
    const std::size_t bytes = nCapacity * sizeof(Record);
    return (bytes + alignof(Field) - 1) / alignof(Field) * alignof(Field);
}

} // namespace

/// Records and their fields in one piece of memory: the records first, then each record's
/// fields in turn. All are made when the stretch is (as the arrays of old were).
struct RecordArena::Stretch
{
    Stretch(std::size_t nCapacity, std::size_t nFieldsEach)
        : capacity(nCapacity), fieldsEach(nFieldsEach),
          bytes(FieldsOffset(nCapacity) + nCapacity * nFieldsEach * sizeof(Field)),
          huge(bytes >= kHugeFrom)
    {
        memory = huge ? rt::NewHugeBlock(bytes) : ::operator new(bytes);
        records = static_cast<Record*>(memory);
        fields = reinterpret_cast<Field*>(static_cast<char*>(memory) + FieldsOffset(nCapacity));
        try {
            // Default-initialised: the constructors set every member, no need to zero first.
            std::uninitialized_default_construct_n(records, capacity);
            try {
                std::uninitialized_default_construct_n(fields, capacity * fieldsEach);
            } catch (...) {
                std::destroy_n(records, capacity);
                throw;
            }
        } catch (...) {
            Release();
            throw;
        }
    }
    ~Stretch()
    {
        std::destroy_n(fields, capacity * fieldsEach);
        std::destroy_n(records, capacity);
        Release();
    }
    Stretch(const Stretch&) = delete;
    Stretch& operator=(const Stretch&) = delete;

    void Release() noexcept
    {
        if (huge)
            rt::FreeHugeBlock(memory, bytes);
        else
            ::operator delete(memory);
    }

    std::size_t capacity;
    std::size_t fieldsEach;
    std::size_t bytes;
    bool huge;
    void* memory = nullptr;
    Record* records = nullptr;
    Field* fields = nullptr;
    std::size_t used = 0;
};

RecordArena::Slot RecordArena::Next(std::size_t nFields)
{
    if (!m_current || m_current->used == m_current->capacity || m_current->fieldsEach != nFields) {
        const std::size_t nLargest =
            std::max<std::size_t>(16, (kLargestStretchBytes - alignof(std::max_align_t)) /
                                          (sizeof(Record) + nFields * sizeof(Field)));
        const std::size_t nCapacity = std::min(m_nNextCapacity, nLargest);
        m_current = std::make_shared<Stretch>(nCapacity, nFields);
        m_nNextCapacity = std::min(nCapacity * 2, nLargest);
    }
    const std::size_t i = m_current->used++;
    Slot slot;
    slot.record = std::shared_ptr<Record>(m_current, &m_current->records[i]);
    slot.fields = m_current->fields + i * nFields;
    slot.owner = m_current;
    return slot;
}

} // namespace engine::detail
