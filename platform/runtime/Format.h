#pragma once

#include "platform/runtime/Date.h"
#include "platform/runtime/Variant.h"

#include <string>
#include <string_view>

namespace platform::runtime {

/// The runtime's Format in the current locale.
///
/// Named formats: "General Number", "Currency", "Fixed", "Standard", "Percent", "Scientific",
/// "Yes/No", "True/False", "On/Off", "General Date", "Long Date", "Medium Date",
/// "Short Date", "Long Time", "Medium Time", "Short Time" (any case).
///
/// Number patterns: 0 (digit or zero), # (digit or nothing), . (the locale's decimal
/// separator), , (the locale's grouping between digit placeholders; before the point or at the
/// end it divides by 1000), % (times 100), E+ E- e+ e- (exponent), up to four sections
/// "positive;negative;zero;null". Halves round away from zero on the decimal digits.
///
/// Date patterns (letters in any case): d dd ddd dddd ddddd (short date) dddddd (long date),
/// w ww (weekday and week of year by `firstDay` / `firstWeek`), m mm mmm mmmm (the minute
/// right after h or before s), q, y (day of year) yy yyyy, h hh (12 hours with AM/PM),
/// n nn, s ss, ttttt (long time), c (general date), AM/PM am/pm A/P a/p AMPM,
/// : and / (the locale's separators).
///
/// In both, text in double quotes and a character after a backslash are literal.
/// Empty and Null give "". Without a pattern the value is shown as CStr shows it. A text that is
/// neither a number nor a date comes back unchanged.
std::string Format(const Variant& value, std::string_view format = {},
                   DayOfWeek firstDay = DayOfWeek::Sunday,
                   FirstWeekOfYear firstWeek = FirstWeekOfYear::Jan1);

} // namespace platform::runtime
