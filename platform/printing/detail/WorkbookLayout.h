#pragma once

#include "platform/printing/PrintableDocument.h"

#include <filesystem>
#include <optional>
#include <string>

namespace platform::printing::detail {

/// Writes the page layout into the page setup of every worksheet of an open-format workbook
/// (".xlsx", ".xlsm"): paper (a known paper-size code), orientation and scale. A sheet that
/// fits itself to pages keeps that. Its fonts draw no ligatures (FontsWithoutLigatures), and
/// its columns print as wide as the spreadsheet shows them (PrintedColumnWidths).
/// Throws platform::runtime::Error 75 when the workbook cannot be read or written.
void LayOutWorkbook(const std::filesystem::path& workbook, const PageLayout& page);

/// The workbook's styles XML with each font asked to draw its letters one glyph each: a
/// print queue that makes a PDF of its own from the job loses the letters behind a
/// ligature ("ff", "fi" drawn as one glyph), and the printed words can no longer be found in
/// its text. The letters' widths stay those of the font.
std::string FontsWithoutLigatures(const std::string& stylesXml);

/// The worksheet XML with the page layout in its page setup (what LayOutWorkbook does to each
/// sheet); the text as it is when it is no worksheet.
std::string LaidOutSheet(const std::string& sheetXml, const PageLayout& page);

/// The font a workbook's column widths count characters of: that of its first cell style.
struct StandardFont
{
    std::string family;
    double points = 11;
};

/// The standard font of a styles part; empty when the part names none.
std::optional<StandardFont> StandardFontOf(const std::string& stylesXml);

/// The worksheet XML with its column widths (each column's and the standard one) given in
/// characters of `digitPixels`, the exact width at 96 pixels an inch of the standard font's
/// widest digit, such that each comes to the whole pixels the spreadsheet shows it in (a
/// digit rounded to whole pixels, 5 pixels of margin). The text as it is when it is no
/// worksheet or the digit has no sensible width.
std::string PrintedColumnWidths(const std::string& sheetXml, double digitPixels);

} // namespace platform::printing::detail
