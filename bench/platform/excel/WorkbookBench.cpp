// A 100,000-row, 10-column report saved as .xlsx through the automation objects (one value
// assignment, then SaveAs), against libxlsxwriter writing the same cells directly.
#include "platform/excel/Application.h"
#include "platform/excel/FileFormat.h"
#include "platform/excel/Range.h"
#include "platform/excel/Workbook.h"
#include "platform/excel/Workbooks.h"
#include "platform/excel/Worksheet.h"
#include "platform/runtime/Array.h"
#include "platform/runtime/Date.h"

#include <benchmark/benchmark.h>
#include <xlsxwriter.h>

#include <filesystem>
#include <string>
#include <unistd.h>

namespace rt = platform::runtime;

namespace {

constexpr std::int32_t kRows = 100000;
constexpr std::int32_t kColumns = 10;

// Column kinds of a typical report: text, date, texts, numbers, a Boolean.
enum class Kind
{
    Text,
    Date,
    Number,
    Boolean
};

Kind KindOf(std::int32_t column)
{
    if (column == 1) {
        return Kind::Date;
    }
    if (column == 9) {
        return Kind::Boolean;
    }
    return column < 4 ? Kind::Text : Kind::Number;
}

std::string TextOf(std::int32_t row, std::int32_t column)
{
    return "Termin " + std::to_string(row) + " Spalte " + std::to_string(column);
}

double NumberOf(std::int32_t row, std::int32_t column)
{
    return row * 0.25 + column;
}

double DateOf(std::int32_t row)
{
    return 45000.0 + row % 730 + (row % 24) / 24.0;
}

const rt::Array& Table()
{
    static const rt::Array table = [] {
        rt::Array t(rt::VarType::Variant, {{0, kRows - 1}, {0, kColumns - 1}});
        for (std::int32_t r = 0; r < kRows; ++r) {
            for (std::int32_t c = 0; c < kColumns; ++c) {
                switch (KindOf(c)) {
                case Kind::Text:
                    t(r, c) = TextOf(r, c);
                    break;
                case Kind::Date:
                    t(r, c) = rt::Date(DateOf(r));
                    break;
                case Kind::Number:
                    t(r, c) = NumberOf(r, c);
                    break;
                case Kind::Boolean:
                    t(r, c) = r % 2 == 0;
                    break;
                }
            }
        }
        return t;
    }();
    return table;
}

std::string OutputPath(const char* name)
{
    return (std::filesystem::temp_directory_path() /
            (std::string(name) + "_" + std::to_string(::getpid()) + ".xlsx"))
        .string();
}

void BM_RangeApiToXlsx(benchmark::State& state)
{
    const rt::Variant table = Table();
    const std::string path = OutputPath("bench_range_api");
    for (auto _ : state) {
        auto app = platform::excel::CreateObject("Excel.Application");
        app->SetDisplayAlerts(false);
        auto book = app->Workbooks()->Add();
        auto start = book->Worksheets(1)->Range("A1");
        start->Resize(kRows, kColumns)->SetValue(table);
        book->SaveAs(path, platform::excel::FileFormat::OpenXmlWorkbook);
        book->Close(false);
        app->Quit();
    }
    std::filesystem::remove(path);
    state.counters["rows/s"] = benchmark::Counter(static_cast<double>(kRows),
                                                  benchmark::Counter::kIsIterationInvariantRate);
}

void BM_LibxlsxwriterDirect(benchmark::State& state)
{
    const std::string path = OutputPath("bench_direct");
    for (auto _ : state) {
        lxw_workbook_options options = {};
        options.constant_memory = LXW_TRUE;
        lxw_workbook* workbook = workbook_new_opt(path.c_str(), &options);
        lxw_worksheet* sheet = workbook_add_worksheet(workbook, "Sheet1");
        lxw_format* dateFormat = workbook_add_format(workbook);
        format_set_num_format_index(dateFormat, 22);
        for (std::int32_t r = 0; r < kRows; ++r) {
            for (std::int32_t c = 0; c < kColumns; ++c) {
                const auto row = static_cast<lxw_row_t>(r);
                const auto col = static_cast<lxw_col_t>(c);
                switch (KindOf(c)) {
                case Kind::Text:
                    worksheet_write_string(sheet, row, col, TextOf(r, c).c_str(), nullptr);
                    break;
                case Kind::Date:
                    worksheet_write_number(sheet, row, col, DateOf(r), dateFormat);
                    break;
                case Kind::Number:
                    worksheet_write_number(sheet, row, col, NumberOf(r, c), nullptr);
                    break;
                case Kind::Boolean:
                    worksheet_write_boolean(sheet, row, col, r % 2 == 0, nullptr);
                    break;
                }
            }
        }
        workbook_close(workbook);
    }
    std::filesystem::remove(path);
    state.counters["rows/s"] = benchmark::Counter(static_cast<double>(kRows),
                                                  benchmark::Counter::kIsIterationInvariantRate);
}

BENCHMARK(BM_RangeApiToXlsx)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LibxlsxwriterDirect)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
