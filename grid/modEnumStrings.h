#pragma once

#include <cstdint>
#include <string>

/// The display texts of the item properties whose values are small codes for named states
/// (task status, busy state, importance, ...), in the UI language current when the table was
/// built.
namespace grid::modEnumStrings {

/// Builds the table afresh in the current UI language, replacing any earlier one. A text that
/// cannot be loaded stays empty in its place, so later values keep their positions. Never
/// throws.
void InitEnumStrings();

/// The text of lValue (0 for the first text) of the property keyed sKey (letter case
/// ignored); the empty text for an unknown key, a value outside the list, or before the table
/// was built. Never throws.
std::string GetEnumString(const std::string& sKey, std::int32_t lValue);

} // namespace grid::modEnumStrings
