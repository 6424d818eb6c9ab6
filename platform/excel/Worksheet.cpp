#include "platform/excel/Worksheet.h"

#include "platform/excel/PageSetup.h"
#include "platform/excel/Range.h"
#include "platform/excel/detail/Address.h"
#include "platform/excel/detail/Raise.h"
#include "platform/excel/detail/Sheet.h"

#include <algorithm>

namespace platform::excel {

Worksheet::Worksheet(std::shared_ptr<detail::Sheet> sheet, bool fromTemplate)
    : sheet_(std::move(sheet)), fromTemplate_(fromTemplate),
      pageSetup_(std::make_shared<excel::PageSetup>(sheet_))
{
}

Worksheet::~Worksheet() = default;

std::string Worksheet::Name() const
{
    return sheet_->Name();
}

std::shared_ptr<excel::Range> Worksheet::Range(const std::string& address)
{
    const auto area = detail::ParseAddress(address);
    if (!area) {
        detail::Raise(detail::kMethodFailed,
                      "\"" + address +
                          detail::Say("\" is not a cell address", "\" ist keine Zelladresse"));
    }
    return std::make_shared<excel::Range>(shared_from_this(), area->firstRow, area->firstColumn,
                                          area->lastRow, area->lastColumn);
}

std::shared_ptr<excel::Range> Worksheet::Range(const std::shared_ptr<excel::Range>& corner1,
                                               const std::shared_ptr<excel::Range>& corner2)
{
    if (!corner1 || !corner2) {
        detail::Raise(91, detail::Say("a corner of the range is not set",
                                      "Eine Ecke des Bereichs ist nicht gesetzt"));
    }
    if (corner1->Worksheet().get() != this || corner2->Worksheet().get() != this) {
        detail::Raise(detail::kMethodFailed,
                      detail::Say("a corner of the range lies on another worksheet",
                                  "Eine Ecke des Bereichs liegt auf einem anderen Arbeitsblatt"));
    }
    const long firstRow = std::min(corner1->Row(), corner2->Row());
    const long firstColumn = std::min(corner1->Column(), corner2->Column());
    const long lastRow =
        std::max(corner1->Row() + corner1->RowCount(), corner2->Row() + corner2->RowCount()) - 1;
    const long lastColumn = std::max(corner1->Column() + corner1->ColumnCount(),
                                     corner2->Column() + corner2->ColumnCount()) -
                            1;
    return std::make_shared<excel::Range>(shared_from_this(), firstRow, firstColumn, lastRow,
                                          lastColumn);
}

std::shared_ptr<excel::Range> Worksheet::Cells(long row, long column)
{
    if (row < 1 || row > detail::kMaxRows || column < 1 || column > detail::kMaxColumns) {
        detail::Raise(
            detail::kMethodFailed,
            detail::Say("the cell (", "Die Zelle (") + std::to_string(row) + ", " +
                std::to_string(column) +
                detail::Say(") lies outside the worksheet", ") liegt außerhalb des Arbeitsblatts"));
    }
    return std::make_shared<excel::Range>(shared_from_this(), row, column, row, column);
}

std::shared_ptr<excel::PageSetup> Worksheet::PageSetup()
{
    return pageSetup_;
}

} // namespace platform::excel
