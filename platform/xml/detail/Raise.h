#pragma once

#include <string>

namespace platform::xml::detail {

/// Raises the runtime error `number` with source "XML DOM" and `description`.
[[noreturn]] void Raise(int number, std::string description);

} // namespace platform::xml::detail
