// Opening, filling and saving a template, and laying out the report for print, for the
// templates that hostile_templates.py makes: run under /usr/bin/time -v with the template in
// TV_TEMPLATE, each case in a process of its own, for its time and peak memory.
#include "platform/excel/Application.h"
#include "platform/excel/FileFormat.h"
#include "platform/excel/Range.h"
#include "platform/excel/Workbook.h"
#include "platform/excel/Workbooks.h"
#include "platform/excel/Worksheet.h"
#include "platform/printing/detail/WorkbookLayout.h"
#include "platform/runtime/Error.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

std::string Target()
{
    return (std::filesystem::temp_directory_path() /
            ("tv_hostile_" + std::to_string(::getpid()) + ".xlsx"))
        .string();
}

// Fills the template and then lays the report out for print, as the automatic print does.
void BM_FillAndLayOut(benchmark::State& state)
{
    const char* path = std::getenv("TV_TEMPLATE");
    if (path == nullptr) {
        state.SkipWithError("TV_TEMPLATE names no template");
        return;
    }
    auto app = platform::excel::CreateObject("Excel.Application");
    app->SetDisplayAlerts(false);
    const std::string target = Target();
    for (auto _ : state) {
        std::string said = "saved";
        try {
            auto book = app->Workbooks()->Open(path);
            book->Worksheets(1)->Range("A2")->SetValue(std::string("gefüllt"));
            book->SaveAs(target, platform::excel::FileFormat::OpenXmlWorkbook);
            book->Close(false);
            platform::printing::detail::LayOutWorkbook(target, platform::printing::PageLayout{});
        } catch (const platform::runtime::Error& error) {
            said = "refused: " + error.Description().substr(0, 160);
        }
        state.SetLabel(said);
    }
    std::filesystem::remove(target);
    app->Quit();
}

} // namespace

BENCHMARK(BM_FillAndLayOut)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
