#pragma once

#include "platform/runtime/Currency.h"
#include "platform/runtime/Date.h"
#include "platform/runtime/Strings.h"
#include "platform/runtime/Variant.h"

#include <cstdint>
#include <string>
#include <string_view>

/// The runtime's conversion functions. Texts are read and written in the current locale
/// (platform::locale): its decimal separator, short date and long time. Every conversion of
/// Null raises Error 94 (invalid use of Null); text that is no number or date raises Error 13
/// (type mismatch); numbers out of the target's range raise Error 6 (overflow).
namespace platform::runtime {

/// The runtime's Val: the number at the start of the text, with "." as the point, blanks
/// anywhere skipped, "&H" hex and "&O" octal ("  1 2 3" is 123, "12abc" 12, "&HFF" 255,
/// "&HFFFF" -1, "abc" 0). Not locale-dependent.
double Val(std::string_view text);

/// The text of a value: Empty "", Boolean "True"/"False", numbers with the locale's decimal
/// separator and up to 15 (Single: 7) significant digits, dates as short date, long time or
/// both, Error values "Error n". Objects and arrays raise Error 13.
std::string CStr(const Variant& value);

/// The value as a Double. Empty is 0, True -1, dates their serial; text is read in the locale.
double CDbl(const Variant& value);
/// The value as a Single; Error 6 beyond its range.
float CSng(const Variant& value);
/// The value as a Long, rounded half to even (2.5 is 2, 3.5 is 4); Error 6 beyond 32 bits.
std::int32_t CLng(const Variant& value);
/// The value as an Integer, rounded half to even; Error 6 beyond 16 bits.
std::int16_t CInt(const Variant& value);
/// The value as a Byte, rounded half to even; Error 6 outside 0..255.
std::uint8_t CByte(const Variant& value);
/// The value as a Currency (four decimals, half to even).
Currency CCur(const Variant& value);
/// The value as a Boolean: numbers are True unless 0, text "True"/"False" (any case) or a
/// number; other text raises Error 13.
bool CBool(const Variant& value);
/// The value as a Date: numbers are serials (Error 6 out of range), text is read as the
/// locale's short date, ISO "yyyy-mm-dd hh:nn:ss" or a time.
Date CDate(const Variant& value);
/// The calendar day of CDate(value), at midnight (the runtime's DateValue).
Date DateValue(const Variant& value);
/// The time of day of CDate(value), on 1899-12-30 (the runtime's TimeValue).
Date TimeValue(const Variant& value);
/// The value as a Variant of the given subtype (Empty, Null, numbers, Date, String, Boolean).
/// Throws Error 13 for other subtypes.
Variant CVar(const Variant& value, VarType type);

/// The runtime's comparison of two values (its "<", "=", ">"): -1, 0 or 1. Numbers, Booleans,
/// Currency and Dates compare by value; texts by `compare`; a number and a text by value when
/// the text is numeric, else the number sorts first; Empty counts as 0 or "" for the other side.
/// Throws Error 94 for Null and Error 13 for objects, arrays and Error values.
int Compare(const Variant& a, const Variant& b, CompareMethod compare = CompareMethod::Binary);

/// True when CDate would succeed on a Date or a text.
bool IsDate(const Variant& value);
/// True for numbers, Booleans, Empty and texts that read as numbers in the locale.
bool IsNumeric(const Variant& value);

/// Rounds half to even to `decimals` places (the runtime's Round). Error 5 for decimals < 0.
double Round(double value, int decimals = 0);
/// The integer part, towards zero (the runtime's Fix).
double Fix(double value);
/// The largest integer not above the value (the runtime's Int).
double Int(double value);

} // namespace platform::runtime
