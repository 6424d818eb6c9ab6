#include "platform/xml/detail/Raise.h"

#include "platform/runtime/Error.h"

namespace platform::xml::detail {

void Raise(int number, std::string description)
{
    platform::runtime::Raise(number, "XML DOM", std::move(description));
}

} // namespace platform::xml::detail
