// How fast the engine's writers save a large report: 100,000 rows of 10 columns (texts with
// umlauts and the odd delimiter, numbers, dates) as delimited text, as HTML from the sample
// template and as an .xlsx workbook; and, for comparison, libxlsxwriter writing the same cells
// directly, without the automation objects in between.
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
    for (auto _ : state) {
        engine::ExportCsv oCsv;
        for (auto row : texts)
            oCsv.AddRow(row);
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
        for (const auto& row : texts) {
            oHtml.AddRow();
            for (auto cell : row)
                oHtml.AddCol(cell, "class='tlv_cell'");
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

void BM_XlsxDirect(benchmark::State& state)
{
    const auto path = (OutFolder() / "direct.xlsx").string();
    const auto& cells = Cells();
    for (auto _ : state) {
        lxw_workbook* book = workbook_new(path.c_str());
        lxw_worksheet* sheet = workbook_add_worksheet(book, nullptr);
        lxw_format* date = workbook_add_format(book);
        format_set_num_format_index(date, 14);
        for (int r = 0; r < kRows; ++r) {
            for (int c = 0; c < kCols; ++c) {
                const auto& v = cells(r, c);
                if (const auto* s = v.Get<std::string>())
                    worksheet_write_string(sheet, r, c, s->c_str(), nullptr);
                else if (const auto* d = v.Get<rt::Date>())
                    worksheet_write_number(sheet, r, c, d->Serial(), date);
                else
                    worksheet_write_number(sheet, r, c, rt::CDbl(v), nullptr);
            }
        }
        worksheet_set_header(sheet, "&L&D&CBericht&R&P/&N");
        if (workbook_close(book) != LXW_NO_ERROR)
            state.SkipWithError("libxlsxwriter failed");
    }
    Rate(state);
}

BENCHMARK(BM_Csv)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Html)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_XlsxThroughWriter)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_XlsxDirect)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace
