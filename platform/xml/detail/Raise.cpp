#include "platform/xml/detail/Raise.h"

#include <stdexcept>

namespace platform::xml::detail {

void Raise(int number, std::string description)
{
    throw std::runtime_error(std::to_string(number) + ": " + description);
}

} // namespace platform::xml::detail
