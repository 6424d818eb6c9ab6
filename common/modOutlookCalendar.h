#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace platform::win {
class RegistryValue;
}

/// The first day of the week the user set in the client's calendar options.
namespace common::modOutlookCalendar {

/// 0 (Sunday) to 6 (Saturday) from the client's "FirstDOW" registry value, or -1 when it is
/// missing, not a number or out of range. Errors end it with the result it has (never raised).
std::int32_t GetFirstDayOfWeek();

/// `GetFirstDayOfWeek` + 1: 1 (Sunday) to 7 (Saturday), or 0 for "use the system's setting".
/// An error is logged and gives 0.
std::int32_t FirstDayOfWeek();

/// The value as text; empty text for no value.
std::string GetRegValueText(const std::optional<platform::win::RegistryValue>& oValue);

} // namespace common::modOutlookCalendar
