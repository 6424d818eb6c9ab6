#include "platform/excel/PackageParts.h"

#include "platform/excel/detail/Writers.h"

namespace platform::excel {

void EditSheetsAndStyles(const std::string& path, const PartEdit& sheet, const PartEdit& styles)
{
    detail::EditWorkbookParts(path, sheet, styles);
}

} // namespace platform::excel
