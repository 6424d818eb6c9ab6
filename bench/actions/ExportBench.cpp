// How fast the save action's writers turn a filled report grid of 100,000 records into a file:
// the delimited-text and workbook adapters (grid cells read, typed and handed to the engine's
// writers), each beside its anchor, the engine's writer fed with the same cells made
// beforehand, so that what the adapter adds shows in one run.
//
// The grid groups on one level with a total, as reports do; the files go to TMPDIR.
#include "TestView.h"

#include "actions/ActionSave.h"
#include "actions/ExportCSV.h"
#include "actions/ExportExcel.h"
#include "common/modLanguage.h"
#include "engine/ExportCsv.h"
#include "engine/ExportExcel.h"
#include "engine/Field.h"
#include "engine/Record.h"
#include "engine/Records.h"
#include "grid/Flexgrid2.h"
#include "grid/cGrid.h"
#include "platform/forms/FlexGrid.h"
#include "platform/locale/Locale.h"
#include "platform/runtime/Array.h"
#include "platform/runtime/Date.h"
#include "platform/runtime/Variant.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace rt = platform::runtime;
namespace pf = platform::forms;

constexpr int kRecords = 100000;

std::shared_ptr<engine::Field> MakeField(const std::string& sKey, engine::PT_PROPERTY_TYPE lType,
                                         rt::Variant v, std::int32_t lMapping = 0)
{
    auto oField = std::make_shared<engine::Field>();
    oField->Init(sKey, 0, lType, rt::Variant(), "", sKey, lMapping);
    oField->SetFieldValue(std::move(v));
    return oField;
}

// The report: records, the view's columns and the grid filled from them, made once.
struct Report
{
    std::shared_ptr<engine::Records> oRecords = std::make_shared<engine::Records>();
    TestView oView;
    pf::FlexGrid fg;
    actions::ActionSave oSave;
    std::filesystem::path oFolder;
};

Report& TheReport()
{
    static Report* pReport = [] {
        setenv("TZ", "Europe/Berlin", 1);
        tzset();
        platform::locale::SetCurrent("de-DE");
        common::modLanguage::SetLanguageID(common::modLanguage::LANG_GERMAN);
        grid::Flexgrid2::InitGridStrings();
        auto* p = new Report;
        const char* aCategories[] = {"Kunde", "Projekt", "Privat", "Reise", "Büro"};
        const double dStart = rt::DateSerial(2024, 1, 1).Serial();
        for (int i = 0; i < kRecords; ++i) {
            auto oRecord = std::make_shared<engine::Record>();
            oRecord->SetClass(1);
            oRecord->AppendField(MakeField(
                "Subject", engine::PT_STRING8,
                rt::Variant("Besprechung " + std::to_string(i % 997) + " mit Müller; \"Söhne\"")));
            oRecord->AppendField(MakeField("Start", engine::PT_SYSTIME,
                                           rt::Variant(rt::Date(dStart + (i % 730) + 0.375))));
            oRecord->AppendField(
                MakeField("Cat", engine::PT_STRING8, rt::Variant(std::string(aCategories[i % 5]))));
            oRecord->AppendField(
                MakeField("Duration", engine::PT_LONG, rt::Variant(std::int32_t(15 + i % 240)), 5));
            oRecord->AppendField(
                MakeField("Amount", engine::PT_DOUBLE, rt::Variant(i % 100 / 4.0)));
            p->oRecords->Append(oRecord);
        }
        p->oView.AddColumn("Subject", "Betreff", 8, 1);
        p->oView.AddColumn("Start", "Beginn", 7, 5);
        p->oView.AddColumn("Cat", "Kategorie", 8, 1);
        p->oView.AddColumn("Duration", "Dauer", 3, 7, 2, false, 5);
        p->oView.AddColumn("Amount", "Betrag", 5, 1, 2);
        p->oView.Group(0, "Cat");
        grid::cGrid oGrid;
        oGrid.ShowItems(p->fg, p->oRecords, p->oView);
        p->oSave.Init(nullptr);
        p->oSave.SetReportTemplate({}); // a new workbook, no template
        p->oFolder = std::filesystem::temp_directory_path() /
                     ("tv-export-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(p->oFolder);
        return p;
    }();
    return *pReport;
}

// The data rows' cell texts, as the delimited-text adapter reads them.
std::vector<std::vector<std::string>> GridTexts(const pf::FlexGrid& fg)
{
    std::vector<std::vector<std::string>> aRows;
    for (int r = 0; r < fg.Rows(); ++r) {
        if (fg.IsSubtotal(r))
            continue;
        std::vector<std::string> aRow;
        for (int c = 1; c < fg.Cols(); ++c)
            if (!fg.ColHidden(c))
                aRow.push_back(fg.TextMatrix(r, c));
        aRows.push_back(std::move(aRow));
    }
    return aRows;
}

void BM_AdapterCsv(benchmark::State& state)
{
    auto& oReport = TheReport();
    const auto sFile = (oReport.oFolder / "report.csv").string();
    for (auto _ : state) {
        actions::ExportCSV oExport;
        oExport.AsIChild().Init(&oReport.oSave);
        oExport.Export(oReport.fg, sFile);
    }
    state.counters["MiB"] = static_cast<double>(std::filesystem::file_size(sFile)) / 1048576.0;
}

void BM_AnchorCsvWriter(benchmark::State& state)
{
    auto& oReport = TheReport();
    const auto aRows = GridTexts(oReport.fg);
    const auto sFile = (oReport.oFolder / "anchor.csv").string();
    for (auto _ : state) {
        engine::ExportCsv oWriter;
        std::vector<std::string> aRow;
        for (const auto& aCells : aRows) {
            aRow = aCells;
            oWriter.AddRow(aRow);
        }
        oWriter.Export(sFile);
    }
}

void BM_AdapterXlsx(benchmark::State& state)
{
    auto& oReport = TheReport();
    const auto sFile = (oReport.oFolder / "report.xlsx").string();
    for (auto _ : state) {
        actions::ExportExcel oExport;
        oExport.AsIChild().Init(&oReport.oSave);
        oExport.SetColumns(oReport.oView.oFields, false);
        oExport.SetRecords(oReport.oRecords);
        oExport.Export(oReport.fg, sFile);
    }
    state.counters["MiB"] = static_cast<double>(std::filesystem::file_size(sFile)) / 1048576.0;
}

void BM_AnchorXlsxWriter(benchmark::State& state)
{
    auto& oReport = TheReport();
    const auto aRows = GridTexts(oReport.fg);
    const auto sFile = (oReport.oFolder / "anchor.xlsx").string();
    const std::int32_t lCols = static_cast<std::int32_t>(aRows[0].size());
    for (auto _ : state) {
        rt::Array aCells(rt::VarType::Variant,
                         {rt::ArrayBounds{0, static_cast<std::int32_t>(aRows.size()) - 1},
                          rt::ArrayBounds{0, lCols - 1}});
        for (std::size_t r = 0; r < aRows.size(); ++r)
            for (std::int32_t c = 0; c < lCols; ++c)
                aCells(static_cast<std::int32_t>(r), c) = rt::Variant(aRows[r][c]);
        rt::Array aTexts(rt::VarType::Variant, {rt::ArrayBounds{0, 1}});
        rt::Array aData(rt::VarType::Variant, {rt::ArrayBounds{0, 1}});
        aData(0) = rt::Variant(std::move(aCells));
        aData(1) = rt::Variant(std::move(aTexts));
        rt::Variant vData(std::move(aData));
        engine::ExportExcel oWriter;
        oWriter.Export(sFile, "", vData, true, false);
    }
}

} // namespace

BENCHMARK(BM_AdapterCsv)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_AnchorCsvWriter)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_AdapterXlsx)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_AnchorXlsxWriter)->Unit(benchmark::kMillisecond)->Iterations(3);
