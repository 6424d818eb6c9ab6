#pragma once

#include <cstddef>
#include <memory>
#include <new>

namespace platform::forms::detail {

/// Memory for large tables of a grid, aligned to huge pages and advised to take them where the
/// system grants them: the first touch of a large grid's memory then costs a fault per 2 MiB
/// rather than per 4 KiB. `bytes` is rounded up to whole huge pages; throws std::bad_alloc.
void* MapLarge(std::size_t bytes);
/// Gives back memory of MapLarge with the same `bytes`.
void UnmapLarge(void* p, std::size_t bytes) noexcept;

/// Tables from this size on are mapped with MapLarge; smaller ones come from the heap.
inline constexpr std::size_t kLargeTableBytes = std::size_t(4) << 20;

/// An allocator for the tables of a grid that may grow large (its rows): large requests are
/// mapped with MapLarge, the rest come from the heap. Stateless: any two compare equal.
template <typename T> struct LargeTableAllocator
{
    using value_type = T;

    LargeTableAllocator() = default;
    template <typename U> LargeTableAllocator(const LargeTableAllocator<U>&) noexcept {}

    T* allocate(std::size_t n)
    {
        const std::size_t bytes = n * sizeof(T);
        if (bytes >= kLargeTableBytes) {
            return static_cast<T*>(MapLarge(bytes));
        }
        return std::allocator<T>().allocate(n);
    }

    void deallocate(T* p, std::size_t n) noexcept
    {
        const std::size_t bytes = n * sizeof(T);
        if (bytes >= kLargeTableBytes) {
            UnmapLarge(p, bytes);
        } else {
            std::allocator<T>().deallocate(p, n);
        }
    }

    template <typename U> bool operator==(const LargeTableAllocator<U>&) const noexcept
    {
        return true;
    }
};

} // namespace platform::forms::detail
