#include "platform/excel/detail/CapturedStderr.h"
#include "platform/excel/detail/HeaderFooter.h"
#include "platform/excel/detail/Raise.h"
#include "platform/excel/detail/Writers.h"
#include "platform/excel/detail/Xstring.h"
#include "platform/runtime/FileFailure.h"

#include <xlsxwriter.h>

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

namespace platform::excel::detail {
namespace {

struct WorkbookCloser
{
    void operator()(lxw_workbook* workbook) const { workbook_close(workbook); }
};

[[noreturn]] void Fail(const std::string& path, lxw_error error, const std::string& log = {})
{
    const int system = errno;
    const std::string reasons = LibraryReasons(log);
    const std::string library =
        std::string(lxw_strerror(error)) + (reasons.empty() ? "" : " (" + reasons + ")");
    // A full disk or a refused file is said in the user's words; the writer's own text follows.
    if (system == ENOSPC || system == EDQUOT || system == EACCES || system == EROFS) {
        Raise(kMethodFailed, platform::runtime::FileFailureText(
                                 system, platform::runtime::FileAction::Write, path) +
                                 " " + library);
    }
    Raise(kMethodFailed, Say("cannot write the workbook \"", "Die Arbeitsmappe \"") + path +
                             Say("\": ", "\" kann nicht geschrieben werden: ") + library);
}

// The styles a cell can need: plain/bold times general/date/date-time/time.
class Styles
{
public:
    explicit Styles(lxw_workbook* workbook)
    {
        // Built-in number formats: 14 date, 22 date and time, 21 time of day.
        constexpr std::uint8_t kFormats[kKinds] = {0, 14, 22, 21};
        for (int bold = 0; bold < 2; ++bold) {
            for (int kind = 0; kind < kKinds; ++kind) {
                lxw_format* format = workbook_add_format(workbook);
                if (bold != 0) {
                    format_set_bold(format);
                }
                if (kFormats[kind] != 0) {
                    format_set_num_format_index(format, kFormats[kind]);
                }
                formats_[bold][kind] = format;
            }
        }
    }

    // The style of a cell: general (kind 0) or one of the date forms.
    lxw_format* For(int kind, bool bold) const
    {
        if (!bold && kind == 0) {
            return nullptr;
        }
        return formats_[bold ? 1 : 0][kind];
    }
    static int KindOf(WorkbookDate::Form form)
    {
        switch (form) {
        case WorkbookDate::Form::Date:
            return 1;
        case WorkbookDate::Form::DateTime:
            return 2;
        case WorkbookDate::Form::Time:
            return 3;
        case WorkbookDate::Form::Text:
            break;
        }
        return 0;
    }
    lxw_format* Bold() const { return formats_[1][0]; }

private:
    static constexpr int kKinds = 4;
    lxw_format* formats_[2][kKinds] = {};
};

// A text as the package stores it: the library escapes control characters itself, but not a
// literal "_xHHHH_", which readers would take for the character it names, nor U+FFFE and
// U+FFFF, which no XML may hold, nor a NUL.
// `text` is followed by a NUL in memory (a sheet's text or a std::string).
lxw_error WriteText(lxw_worksheet* ws, lxw_row_t r, lxw_col_t c, std::string_view text,
                    lxw_format* format)
{
    // The library takes a C string: a NUL would end the text there, so such a text goes in
    // escaped whole.
    if (text.find('\0') != std::string_view::npos) {
        return worksheet_write_string(ws, r, c, EscapeXstring(text).c_str(), format);
    }
    if (HasLiteralEscape(text) || HasNonXmlCharacter(text)) {
        return worksheet_write_string(ws, r, c, EscapeLiteralEscapes(text).c_str(), format);
    }
    return worksheet_write_string(ws, r, c, text.data(), format);
}

void WriteCell(lxw_worksheet* ws, const Styles& styles, bool bold, long row, long column,
               const Cell& cell, const std::string& path)
{
    lxw_format* format = styles.For(0, bold);
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
        error = WriteText(ws, r, c, cell.text, format);
        break;
    case Cell::Kind::Boolean:
        error = worksheet_write_boolean(ws, r, c, cell.number != 0, format);
        break;
    case Cell::Kind::Number:
        error = worksheet_write_number(ws, r, c, cell.number, format);
        break;
    case Cell::Kind::Date: {
        const WorkbookDate date = ToWorkbookDate(cell.number);
        if (date.form == WorkbookDate::Form::Text) {
            error = WriteText(ws, r, c, DateText(cell.number), format);
        } else {
            error = worksheet_write_number(ws, r, c, date.serial,
                                           styles.For(Styles::KindOf(date.form), bold));
        }
        break;
    }
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
        Raise(kMethodFailed, Say("cannot add the worksheet \"", "Das Arbeitsblatt \"") +
                                 sheet.Name() + Say("\"", "\" kann nicht hinzugefügt werden"));
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
    // The library escapes a header's markup but not its control characters, which no XML
    // may hold raw: the text goes in as the fill stores it.
    for (const auto& [text, setter] :
         {std::pair{StoredHeaderFooter(ComposeHeaderFooter(sheet.header)), &worksheet_set_header},
          std::pair{StoredHeaderFooter(ComposeHeaderFooter(sheet.footer)),
                    &worksheet_set_footer}}) {
        if (!text.empty()) {
            const lxw_error error = setter(ws, text.c_str());
            if (error != LXW_NO_ERROR) {
                Fail(path, error);
            }
        }
    }
    // Which columns are bold as a whole, looked up once rather than per cell.
    std::vector<char> boldColumns(static_cast<std::size_t>(sheet.LastColumn()) + 1, 0);
    for (const auto& [column, info] : sheet.Columns()) {
        if (info.bold && column <= sheet.LastColumn()) {
            boldColumns[static_cast<std::size_t>(column)] = 1;
        }
    }
    // Rows go out in order, as the low-memory mode requires.
    for (long row = 1; row <= sheet.LastRow(); ++row) {
        const auto& cells = sheet.Row(row);
        for (std::size_t i = 0; i < cells.size(); ++i) {
            const bool bold = cells[i].bold || boldColumns[i + 1] != 0;
            WriteCell(ws, styles, bold, row, static_cast<long>(i) + 1, cells[i], path);
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
        Raise(kMethodFailed, Say("cannot create the workbook \"", "Die Arbeitsmappe \"") + path +
                                 Say("\"", "\" kann nicht angelegt werden"));
    }
    const Styles styles(workbook.get());
    for (const Sheet& sheet : sheets) {
        WriteSheet(workbook.get(), styles, sheet, path);
    }
    // The writer prints its failures on standard error; they belong into the error instead.
    CapturedStderr log;
    errno = 0;
    const lxw_error error = workbook_close(workbook.release());
    const int system = errno;
    const std::string text = log.Take();
    if (error != LXW_NO_ERROR) {
        errno = system;
        Fail(path, error, text);
    }
}

} // namespace platform::excel::detail
