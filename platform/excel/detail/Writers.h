#pragma once

#include "platform/excel/detail/Sheet.h"

#include <functional>
#include <string>
#include <vector>

namespace platform::excel::detail {

/// The sheets of a workbook in order, as the writers read them.
using SheetList = std::vector<std::reference_wrapper<const Sheet>>;

/// Workbook content types of the package's main part.
inline constexpr const char* kWorkbookContentType =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml";
inline constexpr const char* kMacroWorkbookContentType =
    "application/vnd.ms-excel.sheet.macroEnabled.main+xml";

/// Writes an .xlsx package to `path` (an existing file there is overwritten). Dates get the
/// built-in date format 14, date-times 22, so that they read as dates.
void WriteXlsx(const SheetList& sheets, const std::string& path);

/// Writes a BIFF8 (.xls) workbook to `path` in a compound file. Raises 1004 when a sheet
/// exceeds 65,536 rows or 256 columns.
void WriteXls(const SheetList& sheets, const std::string& path);

/// Sets the content type of the package's main workbook part (the override of
/// "/xl/workbook.xml" in "[Content_Types].xml") in the package at `path`.
void SetWorkbookContentType(const std::string& path, const std::string& contentType);

/// A template workbook's sheets: names, part names and page headers and footers.
struct TemplateSheet
{
    std::string name;
    std::string part; ///< "xl/worksheets/sheet1.xml"
    HeaderFooterParts header;
    HeaderFooterParts footer;
};

/// What a template package holds. Raises 1004 when `path` is no workbook package.
std::vector<TemplateSheet> ReadTemplate(const std::string& path);

/// Copies the template at `templatePath` to `target` and writes into the copy the values and
/// page headers and footers of `sheets` (paired with the template's sheets by position), and
/// gives its workbook part `contentType`. The template's styles and every cell not written
/// stay as they were.
void FillTemplate(const std::string& templatePath, const std::string& target,
                  const std::vector<TemplateSheet>& parts, const SheetList& sheets,
                  const std::string& contentType);

/// Replaces each worksheet part that the workbook package at `path` names by `sheet` of its
/// text, and its styles part by `styles` of its text, reading the package as a template is
/// read (within the same bounds, refused when it is damaged).
void EditWorkbookParts(const std::string& path,
                       const std::function<std::string(const std::string&)>& sheet,
                       const std::function<std::string(const std::string&)>& styles);

} // namespace platform::excel::detail
