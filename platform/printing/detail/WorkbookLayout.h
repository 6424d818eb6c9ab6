#pragma once

#include "platform/printing/PrintableDocument.h"

#include <filesystem>
#include <string>

namespace platform::printing::detail {

/// Writes the page layout into the page setup of every worksheet of an open-format workbook
/// (".xlsx", ".xlsm"): paper (a known paper-size code), orientation and scale. A sheet that
/// fits itself to pages keeps that. Throws platform::runtime::Error 75 when the workbook
/// cannot be read or written.
void LayOutWorkbook(const std::filesystem::path& workbook, const PageLayout& page);

/// The worksheet XML with the page layout in its page setup (what LayOutWorkbook does to each
/// sheet); the text as it is when it is no worksheet.
std::string LaidOutSheet(const std::string& sheetXml, const PageLayout& page);

} // namespace platform::printing::detail
