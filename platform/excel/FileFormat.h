#pragma once

namespace platform::excel {

/// The file formats a workbook can be saved in (the spreadsheet's own numbers).
namespace FileFormat {
inline constexpr long OpenXmlWorkbook = 51;             ///< .xlsx
inline constexpr long OpenXmlWorkbookMacroEnabled = 52; ///< .xlsm
inline constexpr long Excel8 = 56;                      ///< .xls (97-2003), from version 12 on
inline constexpr long WorkbookNormal = -4143;           ///< .xls for versions before 12
} // namespace FileFormat

} // namespace platform::excel
