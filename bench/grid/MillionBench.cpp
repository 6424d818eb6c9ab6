// A profile of 1,000,000 appointments (the sample profile's calendar) read for the whole year
// its items span, filled into the report grid with grouping and written as delimited text, with
// the process's peak memory. Each part is timed on its own (counters read_s, grid_s, csv_s).
#include "TestView.h"

#include "../engine/BenchCalendars.h"

#include "common/modLanguage.h"
#include "common/modRedemption.h"
#include "engine/Application.h"
#include "engine/ExportCsv.h"
#include "engine/Field.h"
#include "engine/Filter.h"
#include "engine/FolderData.h"
#include "engine/FolderDataList.h"
#include "engine/Records.h"
#include "grid/Flexgrid2.h"
#include "grid/cGrid.h"
#include "platform/forms/FlexGrid.h"
#include "platform/mapi/Constants.h"
#include "platform/outlook/Application.h"
#include "platform/runtime/Date.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <chrono>
#include <filesystem>
#include <memory>

namespace rt = platform::runtime;

namespace {

double Seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

void BM_MillionReadGridCsv(benchmark::State& state)
{
    static bench::BenchProfile profile("million");
    if (!profile.profile)
        bench::BuildSampleProfile(profile, static_cast<int>(state.range(0)));
    profile.MakeCurrent();
    common::modLanguage::SetLanguageID(common::modLanguage::LANG_GERMAN);
    grid::Flexgrid2::InitGridStrings();
    auto olApp = std::make_shared<platform::outlook::Application>();
    auto root = std::make_shared<engine::Application>();
    root->Initialize(olApp);
    auto records = root->Records();
    bench::AddCalendarColumns(*records);
    records->Filter()->SetTimeCondition(engine::trStartDate, engine::trTimeBetween,
                                        rt::Variant(rt::DateSerial(2023, 12, 1)),
                                        rt::Variant(rt::DateSerial(2024, 12, 31)));
    TestView view;
    view.AddColumn("Subject", "Betreff", 8, 1);
    view.AddColumn("Start", "Beginn", 7, 5);
    view.AddColumn("End", "Ende", 7, 5);
    view.AddColumn("Duration", "Dauer", 3, 7, 2);
    view.Group(0, "Start", 6);
    view.Group(1, "Start", 4);
    view.Sort(0, "Start");
    const auto csv = profile.dir / "report.csv";
    double read = 0, fill = 0, write = 0;
    for (auto _ : state) {
        auto t = std::chrono::steady_clock::now();
        engine::FolderDataList list;
        auto data = std::make_shared<engine::FolderData>();
        data->Init(profile.calendarId, profile.storeId, "Kalender", 0, false);
        list.Add(data);
        root->ReadRecords(list);
        read += Seconds(t);
        t = std::chrono::steady_clock::now();
        platform::forms::FlexGrid fg;
        grid::cGrid oGrid;
        oGrid.ShowItems(fg, records, view);
        fill += Seconds(t);
        t = std::chrono::steady_clock::now();
        engine::ExportCsv writer;
        for (int r = 0; r < fg.Rows(); ++r) {
            std::vector<std::string> cells;
            for (int c = 0; c < fg.Cols(); ++c)
                cells.push_back(fg.TextMatrix(r, c));
            writer.AddRow(cells);
        }
        writer.Export(csv.string());
        write += Seconds(t);
        state.counters["records"] = static_cast<double>(records->Count());
        state.counters["grid_rows"] = fg.Rows();
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["read_s"] = read / n;
    state.counters["grid_s"] = fill / n;
    state.counters["csv_s"] = write / n;
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_MiB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
    root->Terminate();
    common::modRedemption::ReleaseSession(true);
}

} // namespace

BENCHMARK(BM_MillionReadGridCsv)
    ->Arg(1000000)
    ->Unit(benchmark::kSecond)
    ->Iterations(1)
    ->UseRealTime();
