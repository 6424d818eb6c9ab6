#pragma once

#include <string>

namespace platform::excel::detail {

/// The spreadsheet's own error number for a failed method ("application-defined").
inline constexpr int kMethodFailed = 1004;
/// The runtime's "object doesn't support this property or method".
inline constexpr int kNotSupported = 438;

/// Raises the runtime error `number` with source "Excel" and `description`.
[[noreturn]] void Raise(int number, std::string description);

} // namespace platform::excel::detail
