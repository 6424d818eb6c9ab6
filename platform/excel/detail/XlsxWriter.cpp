#include "platform/excel/detail/HeaderFooter.h"
#include "platform/excel/detail/Raise.h"
#include "platform/excel/detail/Writers.h"

#include <xlsxwriter.h>

#include <cmath>
#include <memory>

namespace platform::excel::detail {
namespace {

struct WorkbookCloser
{
    void operator()(lxw_workbook* workbook) const { workbook_close(workbook); }
};

[[noreturn]] void Fail(const std::string& path, lxw_error error)
{
    Raise(kMethodFailed, "cannot write the workbook \"" + path + "\": " + lxw_strerror(error));
}

// The four styles a cell can need: plain/bold times general/date/date-time.
class Styles
{
public:
    explicit Styles(lxw_workbook* workbook)
    {
        for (int bold = 0; bold < 2; ++bold) {
            for (int kind = 0; kind < 3; ++kind) {
                lxw_format* format = workbook_add_format(workbook);
                if (bold != 0) {
                    format_set_bold(format);
                }
                if (kind == 1) {
                    format_set_num_format_index(format, 14);
                } else if (kind == 2) {
                    format_set_num_format_index(format, 22);
                }
                formats_[bold][kind] = format;
            }
        }
    }

    lxw_format* For(const Cell& cell, bool bold) const
    {
        int kind = 0;
        if (cell.kind == Cell::Kind::Date) {
            kind = cell.number == std::floor(cell.number) ? 1 : 2;
        }
        if (!bold && kind == 0) {
            return nullptr;
        }
        return formats_[bold ? 1 : 0][kind];
    }
    lxw_format* Bold() const { return formats_[1][0]; }

private:
    lxw_format* formats_[2][3] = {};
};

void WriteCell(lxw_worksheet* ws, const Styles& styles, const Sheet& sheet, long row, long column,
               const Cell& cell, const std::string& path)
{
    const bool bold = sheet.IsBold(row, column, cell);
    lxw_format* format = styles.For(cell, bold);
    const auto r = static_cast<lxw_row_t>(row - 1);
    const auto c = static_cast<lxw_col_t>(column - 1);
    lxw_error error = LXW_NO_ERROR;
    switch (cell.kind) {
    case Cell::Kind::Empty:
        if (format != nullptr) {
            error = worksheet_write_blank(ws, r, c, format);
        }
        break;
    case Cell::Kind::Text:
        error = worksheet_write_string(ws, r, c, cell.text.c_str(), format);
        break;
    case Cell::Kind::Boolean:
        error = worksheet_write_boolean(ws, r, c, cell.number != 0, format);
        break;
    case Cell::Kind::Number:
    case Cell::Kind::Date:
        error = worksheet_write_number(ws, r, c, cell.number, format);
        break;
    }
    if (error != LXW_NO_ERROR) {
        Fail(path, error);
    }
}

void WriteSheet(lxw_workbook* workbook, const Styles& styles, const Sheet& sheet,
                const std::string& path)
{
    lxw_worksheet* ws = workbook_add_worksheet(workbook, sheet.Name().c_str());
    if (ws == nullptr) {
        Raise(kMethodFailed, "cannot add the worksheet \"" + sheet.Name() + "\"");
    }
    for (const auto& [column, info] : sheet.Columns()) {
        const auto c = static_cast<lxw_col_t>(column - 1);
        const double width = info.width.value_or(LXW_DEF_COL_WIDTH);
        const lxw_error error =
            worksheet_set_column(ws, c, c, width, info.bold ? styles.Bold() : nullptr);
        if (error != LXW_NO_ERROR) {
            Fail(path, error);
        }
    }
    for (const auto& [text, setter] :
         {std::pair{ComposeHeaderFooter(sheet.header), &worksheet_set_header},
          std::pair{ComposeHeaderFooter(sheet.footer), &worksheet_set_footer}}) {
        if (!text.empty()) {
            const lxw_error error = setter(ws, text.c_str());
            if (error != LXW_NO_ERROR) {
                Fail(path, error);
            }
        }
    }
    // Rows go out in order, as the low-memory mode requires.
    for (long row = 1; row <= sheet.LastRow(); ++row) {
        const auto& cells = sheet.Row(row);
        for (std::size_t i = 0; i < cells.size(); ++i) {
            WriteCell(ws, styles, sheet, row, static_cast<long>(i) + 1, cells[i], path);
        }
    }
}

} // namespace

void WriteXlsx(const SheetList& sheets, const std::string& path)
{
    lxw_workbook_options options = {};
    // Row-by-row writing with inline strings keeps memory flat for large reports.
    options.constant_memory = LXW_TRUE;
    std::unique_ptr<lxw_workbook, WorkbookCloser> workbook(
        workbook_new_opt(path.c_str(), &options));
    if (!workbook) {
        Raise(kMethodFailed, "cannot create the workbook \"" + path + "\"");
    }
    const Styles styles(workbook.get());
    for (const Sheet& sheet : sheets) {
        WriteSheet(workbook.get(), styles, sheet, path);
    }
    const lxw_error error = workbook_close(workbook.release());
    if (error != LXW_NO_ERROR) {
        Fail(path, error);
    }
}

} // namespace platform::excel::detail
