#pragma once

#include <cstdint>

namespace actions {

/// The report formats, as the save action keeps them (`ActionSave.ReportFormat`) and as
/// "reports.xml" stores them.
enum ReportFormats : std::int32_t
{
    kCsv = 0,
    kHtml = 1,
    kXls = 2,
    kPdf = 3,
    kXlsx = 4,
    kXlsm = 5,
};

} // namespace actions
