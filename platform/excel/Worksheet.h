#pragma once

#include "platform/runtime/Object.h"

#include <memory>
#include <string>

namespace platform::excel {

namespace detail {
class Sheet;
}

class PageSetup;
class Range;

/// One worksheet: ranges by address or corners, cells and the page set-up.
class Worksheet : public platform::runtime::Object, public std::enable_shared_from_this<Worksheet>
{
public:
    /// Made by the workbook. `fromTemplate` marks a sheet of a template, which takes values
    /// but keeps the template's formatting (formatting calls raise 438).
    Worksheet(std::shared_ptr<detail::Sheet> sheet, bool fromTemplate);
    ~Worksheet() override;

    std::string TypeName() const override { return "Worksheet"; }

    /// The sheet's name ("Sheet1").
    std::string Name() const;

    /// The range at an address: "A1", "$B$2", "A1:C3". Raises 1004 for an address that is
    /// not one.
    std::shared_ptr<excel::Range> Range(const std::string& address);
    /// The smallest range holding both corner ranges. Raises 91 for a null corner and 1004
    /// for a corner of another worksheet.
    std::shared_ptr<excel::Range> Range(const std::shared_ptr<excel::Range>& corner1,
                                        const std::shared_ptr<excel::Range>& corner2);
    /// The cell at 1-based row and column. Raises 1004 outside the worksheet.
    std::shared_ptr<excel::Range> Cells(long row, long column);

    /// The page set-up (headers and footers).
    std::shared_ptr<excel::PageSetup> PageSetup();

    /// Whether the sheet came from a template.
    bool FromTemplate() const noexcept { return fromTemplate_; }
    /// The sheet's contents, for the workbook's writers.
    const std::shared_ptr<detail::Sheet>& Contents() const noexcept { return sheet_; }

private:
    std::shared_ptr<detail::Sheet> sheet_;
    bool fromTemplate_;
    std::shared_ptr<excel::PageSetup> pageSetup_;
};

} // namespace platform::excel
