#pragma once

#include <string>

namespace host {

/// The columns a UTF-8 text takes on a terminal (one per code point).
int TextWidth(const std::string& s);

/// The text cut to at most `width` columns, ending in "…" when it was cut.
std::string FitText(const std::string& s, int width);

/// The text broken into lines of at most `width` columns at blanks (a word longer than a line
/// is split); the lines after the first are indented like the first line's own leading
/// blanks plus two, so that nothing is cut. Each line ends in "\n"; line breaks in the text
/// start new lines. Control characters are shown as escapes (see Escaped).
std::string WrapText(const std::string& s, int width);

/// The text padded with blanks to `width` columns (longer text stays as it is).
std::string PadText(const std::string& s, int width);

/// The lines of `sAfter` that `sBefore` did not hold (each line of `sBefore` matches once):
/// what a command changed on the screen.
std::string ChangedLines(const std::string& sBefore, const std::string& sAfter);

/// The terminal's width: $COLUMNS when it holds a number of at least 40, else the width of the
/// terminal on standard output, else 120.
int TerminalWidth();

} // namespace host
