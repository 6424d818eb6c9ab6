#pragma once

#include <functional>
#include <string>

namespace platform::excel {

/// A change of one XML part: its text in, the changed text out.
using PartEdit = std::function<std::string(const std::string&)>;

/// Changes, in the open-format workbook at `path`, each worksheet part its workbook names
/// (`sheet`) and its styles part (`styles`, edited first, so that what a sheet's edit makes of
/// it can follow what the styles say), every other part left as it is. The package is
/// read within the bounds of a template (each part, all parts, elements a part holds), so
/// that a damaged or hostile workbook takes no more memory than opening it as a template.
/// Raises platform::runtime::Error 1004 when it cannot be read within them or written.
void EditSheetsAndStyles(const std::string& path, const PartEdit& sheet, const PartEdit& styles);

} // namespace platform::excel
