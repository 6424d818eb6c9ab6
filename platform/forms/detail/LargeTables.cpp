#include "platform/forms/detail/LargeTables.h"

#include "platform/runtime/HugeBlocks.h"

namespace platform::forms::detail {

void* MapLarge(std::size_t bytes)
{
    return runtime::NewHugeBlock(bytes);
}

void UnmapLarge(void* p, std::size_t bytes) noexcept
{
    runtime::FreeHugeBlock(p, bytes);
}

} // namespace platform::forms::detail
