// How fast the engine's writers save a large report: 100,000 rows of 10 columns (texts with
// umlauts and the odd delimiter, numbers, dates) as delimited text, as HTML from the sample
// template and as an .xlsx workbook; and, for comparison, libxlsxwriter writing the same cells
// directly, without the automation objects in between, in its default and in its
// constant-memory mode (the one the workbook writer uses).
//
// The caller hands each row over in one array that it fills anew for every row, as the export
// adapters do; the files go to TMPDIR (a memory file system keeps the disk's flush out of the
// figures).
#include "engine/ExportCsv.h"
#include "engine/ExportExcel.h"
#include "engine/ExportHtml.h"

#include "platform/runtime/Array.h"
#include "platform/runtime/Conversion.h"
#include "platform/runtime/Date.h"
#include "platform/runtime/Variant.h"

#include <benchmark/benchmark.h>
#include <xlsxwriter.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace rt = platform::runtime;

constexpr int kRows = 100000;
constexpr int kCols = 10;

std::filesystem::path OutFolder()
{
    static const auto folder = [] {
        setenv("TZ", "Europe/Berlin", 1);
        tzset();
        auto f = std::filesystem::temp_directory_path() /
                 ("tv-writers-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(f);
        return f;
    }();
    return folder;
}

// The cell of row r, column c: a text, a number or a date, as the grid would hand it over.
rt::Variant CellValue(int r, int c)
{
    switch (c % 5) {
    case 0:
        return rt::Variant("Besprechung Nr. " + std::to_string(r) + " mit Müller & Söhne");
    case 1:
        return rt::Variant(r % 7 == 0 ? std::string("Büro; Privat") : std::string("Büro"));
    case 2:
        return rt::Variant(static_cast<double>(r % 480) / 4.0);
    case 3:
        return rt::Variant(rt::DateSerial(2024, 1 + r % 12, 1 + r % 28));
    default:
        return rt::Variant(std::string("Notiz ") + std::to_string(r * 7 % 1000));
    }
}

const rt::Array& Cells()
{
    static const rt::Array cells = [] {
        rt::Array a(rt::VarType::Variant, {{0, kRows - 1}, {0, kCols - 1}});
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kCols; ++c)
                a(r, c) = CellValue(r, c);
        return a;
    }();
    return cells;
}

const std::vector<std::vector<std::string>>& Texts()
{
    static const auto texts = [] {
        std::vector<std::vector<std::string>> t(kRows, std::vector<std::string>(kCols));
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kCols; ++c)
                t[r][c] = rt::CStr(Cells()(r, c));
        return t;
    }();
    return texts;
}

void Rate(benchmark::State& state)
{
    state.counters["rows/s"] =
        benchmark::Counter(kRows, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_Csv(benchmark::State& state)
{
    const auto& texts = Texts();
    const auto path = (OutFolder() / "report.csv").string();
    std::vector<std::string> row(kCols);
    for (auto _ : state) {
        engine::ExportCsv oCsv;
        for (const auto& source : texts) {
            row = source;
            oCsv.AddRow(row);
        }
        oCsv.Export(path);
    }
    Rate(state);
}

void BM_Html(benchmark::State& state)
{
    const auto& texts = Texts();
    const auto path = (OutFolder() / "report.html").string();
    for (auto _ : state) {
        engine::ExportHtml oHtml;
        oHtml.Init(kRows);
        oHtml.SetTitle("Kestrova - Outlook Tallyman");
        for (int c = 0; c < kCols; ++c)
            oHtml.AddColGroup("style='text-align:left; width:120px;'");
        oHtml.SetTableWidth(kCols * 120);
        std::string cell;
        for (const auto& row : texts) {
            oHtml.AddRow();
            for (const auto& source : row) {
                cell = source;
                oHtml.AddCol(cell, "class='tlv_cell'");
            }
        }
        oHtml.Export(path, TV_SAMPLE_TEMPLATE);
    }
    Rate(state);
}

void BM_XlsxThroughWriter(benchmark::State& state)
{
    const auto path = (OutFolder() / "report.xlsx").string();
    for (auto _ : state) {
        state.PauseTiming();
        rt::Array texts(rt::VarType::Variant, {{0, 1}});
        texts(0) = std::string("&D;Bericht;&P/&N");
        texts(1) = std::string(";Kestrova");
        rt::Array data(rt::VarType::Variant, {{0, 1}});
        data(0) = rt::Variant(Cells());
        data(1) = rt::Variant(texts);
        rt::Variant vData(std::move(data));
        state.ResumeTiming();
        engine::ExportExcel oExcel;
        oExcel.Export(path, "", vData, true, false);
    }
    Rate(state);
}

// The same cells written straight from the array: a bold first row, dates with the date
// format, the page header, and the column widths set.
void WriteDirect(benchmark::State& state, const std::string& path, bool constantMemory)
{
    const auto& cells = Cells();
    lxw_workbook_options options = {};
    options.constant_memory = constantMemory ? LXW_TRUE : LXW_FALSE;
    lxw_workbook* book = workbook_new_opt(path.c_str(), &options);
    lxw_worksheet* sheet = workbook_add_worksheet(book, nullptr);
    lxw_format* date = workbook_add_format(book);
    format_set_num_format_index(date, 14);
    lxw_format* bold = workbook_add_format(book);
    format_set_bold(bold);
    lxw_format* boldDate = workbook_add_format(book);
    format_set_bold(boldDate);
    format_set_num_format_index(boldDate, 14);
    for (int c = 0; c < kCols; ++c)
        worksheet_set_column(sheet, c, c, 20, nullptr);
    worksheet_set_header(sheet, "&L&D&CBericht&R&P/&N");
    for (int r = 0; r < kRows; ++r) {
        for (int c = 0; c < kCols; ++c) {
            const auto& v = cells(r, c);
            if (const auto* s = v.Get<std::string>())
                worksheet_write_string(sheet, r, c, s->c_str(), r == 0 ? bold : nullptr);
            else if (const auto* d = v.Get<rt::Date>())
                worksheet_write_number(sheet, r, c, d->Serial(), r == 0 ? boldDate : date);
            else
                worksheet_write_number(sheet, r, c, rt::CDbl(v), r == 0 ? bold : nullptr);
        }
    }
    if (workbook_close(book) != LXW_NO_ERROR)
        state.SkipWithError("libxlsxwriter failed");
}

void BM_XlsxDirect(benchmark::State& state)
{
    const auto path = (OutFolder() / "direct.xlsx").string();
    for (auto _ : state)
        WriteDirect(state, path, false);
    Rate(state);
}

void BM_XlsxDirectConstantMemory(benchmark::State& state)
{
    const auto path = (OutFolder() / "direct-cm.xlsx").string();
    for (auto _ : state)
        WriteDirect(state, path, true);
    Rate(state);
}

BENCHMARK(BM_Csv)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Html)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_XlsxThroughWriter)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_XlsxDirect)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_XlsxDirectConstantMemory)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
