#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform::forms::detail {

/// The text read as a number in the current locale's form (decimal and group separators);
/// none when it is not one. Leading and trailing blanks are ignored.
std::optional<double> ParseNumber(std::string_view text);

/// The text read as a date (with an optional time) in the current locale's short date order,
/// as a day serial since 1899-12-30; none when it is not one.
std::optional<double> ParseDate(std::string_view text);

/// The fast path of ParseDate: numeric dates in the locale's order or ISO order, with an
/// optional time; none for anything else.
std::optional<double> ParseNumericDate(std::string_view text);

/// A number as text in the current locale's form: up to 15 significant digits, no group
/// separators.
std::string FormatNumber(double value);

/// Bytes that order texts as German collation does, without regard to letter case.
std::string CollationKey(std::string_view text);

/// True when two texts are equal without regard to letter case.
bool EqualIgnoringCase(std::string_view a, std::string_view b);

/// True when needle occurs in haystack; without caseSensitive letter case is ignored.
bool ContainsText(std::string_view haystack, std::string_view needle, bool caseSensitive);

/// The text in ICU's case-folded form.
std::string FoldCase(std::string_view text);
/// Appends the text in FoldCase's form.
void AppendFolded(std::string& out, std::string_view text);

/// Whether the text, case-folded, holds `folded` (a needle already in FoldCase's form), or with
/// wholeCell is it; an ASCII text is compared in place, without a folded copy.
bool FoldedMatches(std::string_view text, std::string_view folded, bool wholeCell);

/// A number that changes whenever the forms that ParseNumber and ParseDate read by change (the
/// process switched locale): values read under another number must be read again.
std::uint32_t LocaleFormsGeneration();

/// True for the column data types whose cells compare as numbers.
bool IsNumericType(int type);

/// The number of characters (code points) in a UTF-8 text.
int CharCount(std::string_view text);

} // namespace platform::forms::detail
