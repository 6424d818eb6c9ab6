#include "platform/excel/detail/Raise.h"

#include "platform/runtime/Error.h"

namespace platform::excel::detail {

void Raise(int number, std::string description)
{
    platform::runtime::Raise(number, "Excel", std::move(description));
}

} // namespace platform::excel::detail
