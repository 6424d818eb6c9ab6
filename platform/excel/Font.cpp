#include "platform/excel/Font.h"

#include "platform/excel/Range.h"
#include "platform/excel/Worksheet.h"
#include "platform/excel/detail/Raise.h"
#include "platform/excel/detail/Sheet.h"

namespace platform::excel {

Font::Font(std::shared_ptr<const excel::Range> range) : range_(std::move(range)) {}

bool Font::Bold() const
{
    const detail::Sheet& sheet = *range_->Worksheet()->Contents();
    const long row = range_->Row();
    const long column = range_->Column();
    const detail::Cell* cell = sheet.Find(row, column);
    return sheet.IsBold(row, column, cell != nullptr ? *cell : detail::Cell{});
}

void Font::SetBold(bool value)
{
    const auto& worksheet = range_->Worksheet();
    if (worksheet->FromTemplate()) {
        detail::Raise(detail::kNotSupported,
                      detail::Say("a template's formatting cannot be changed",
                                  "Die Formatierung einer Vorlage kann nicht geändert werden"));
    }
    detail::Sheet& sheet = *worksheet->Contents();
    const Range& r = *range_;
    if (r.entireColumns_) {
        for (long column = r.firstColumn_; column <= r.lastColumn_; ++column) {
            sheet.Columns()[column].bold = value;
            for (long row = 1; row <= sheet.LastRow(); ++row) {
                if (sheet.Find(row, column) != nullptr) {
                    sheet.At(row, column).bold = value;
                }
            }
        }
        return;
    }
    for (long row = r.firstRow_; row <= r.lastRow_; ++row) {
        for (long column = r.firstColumn_; column <= r.lastColumn_; ++column) {
            sheet.At(row, column).bold = value;
        }
    }
}

} // namespace platform::excel
