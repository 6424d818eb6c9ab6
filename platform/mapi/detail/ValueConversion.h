#pragma once

#include "platform/runtime/Date.h"
#include "platform/runtime/Variant.h"
#include "platform/store/PropValue.h"

#include <optional>

namespace platform::mapi::detail {

/// A stored value as the library hands it out: Long, Double, Boolean, Currency, Date (UTC for
/// PT_SYSTIME), String, binary as upper-case hex text, lists as 0-based arrays of Strings.
runtime::Variant ToVariant(const store::PropValue& value);

/// A caller's value in the store's form, by its own kind: whole numbers as Long, Single and
/// Double as Double, Boolean, Currency, Date (taken as UTC), String, arrays of texts as lists.
/// nullopt for Empty, Null, objects and other arrays.
std::optional<store::PropValue> ToPropValue(const runtime::Variant& value);

/// A caller's value for a property of a given type: converted to that type where the runtime
/// would (a number for a PT_SYSTIME property is a day serial, a text for PT_LONG is parsed).
/// Throws runtime error 13 when it cannot be.
store::PropValue ToPropValueOfType(const runtime::Variant& value, std::uint16_t type);

/// UTC seconds to a UTC day serial, and back (rounded to the second).
runtime::Date ToDate(store::SysTime time);
store::SysTime ToSysTime(runtime::Date date);

/// A local wall-clock time to a day serial, and back.
runtime::Date ToDate(std::int64_t localSeconds);
/// As ToDate, but nothing for a time outside the calendar (100-01-01 to 9999-12-31 23:59:59)
/// instead of error 6; also for UTC seconds.
std::optional<runtime::Date> TryToDate(std::int64_t localSeconds);
/// As ToDate, but a time outside the calendar answers the calendar's end it passed
/// (100-01-01 00:00:00 or 9999-12-31 23:59:59).
runtime::Date ToDateWithinCalendar(std::int64_t localSeconds);
std::int64_t ToLocalSeconds(runtime::Date date);

/// Hex text of bytes (upper case), and back; throws runtime error 5 for malformed text.
std::string ToHex(const std::vector<std::uint8_t>& bytes);
std::vector<std::uint8_t> FromHex(const std::string& text);

} // namespace platform::mapi::detail
