#pragma once

#include <string>

namespace platform::excel::detail {

/// The spreadsheet's own error number for a failed method ("application-defined").
inline constexpr int kMethodFailed = 1004;
/// The runtime's "object doesn't support this property or method".
inline constexpr int kNotSupported = 438;

/// Raises the runtime error `number` with source "Excel" and `description`.
[[noreturn]] void Raise(int number, std::string description);

/// Whether the spreadsheet speaks German: it follows the language of the current locale.
bool German();

/// `german` in a German run, `english` in any other.
std::string Say(const char* english, const char* german);

} // namespace platform::excel::detail
