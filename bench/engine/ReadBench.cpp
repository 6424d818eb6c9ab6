// How fast the engine reads calendars into records: a busy calendar (20,000 single
// appointments and 2,000 recurring series with deleted and moved occurrences) and the
// 100,000-item sample profile, each for one month and one year; and a calendar of 100,000 and
// of 1,000,000 items of the same density, for one month (the read should grow with the records
// it returns, not with the folder).
#include "BenchCalendars.h"

#include "engine/Application.h"
#include "engine/Field.h"
#include "engine/Filter.h"
#include "engine/FolderData.h"
#include "engine/FolderDataList.h"
#include "engine/Records.h"

#include "common/modRedemption.h"
#include "platform/mapi/Constants.h"
#include "platform/outlook/Application.h"
#include "platform/runtime/Date.h"

#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <string>

namespace {

namespace rt = platform::runtime;

bench::BenchProfile& Profile(const std::string& name)
{
    static std::map<std::string, std::unique_ptr<bench::BenchProfile>> profiles;
    auto& slot = profiles[name];
    if (!slot) {
        slot = std::make_unique<bench::BenchProfile>(name);
        if (name == "busy")
            bench::BuildBusyCalendar(*slot, 20000, 2000, 7);
        else if (name == "sample")
            bench::BuildSampleProfile(*slot, 100000);
        else if (name == "dense100k")
            bench::BuildBusyCalendar(*slot, 90000, 10000, 5);
        else
            bench::BuildBusyCalendar(*slot, 900000, 100000, 50);
    }
    slot->MakeCurrent();
    return *slot;
}

void ReadWindow(benchmark::State& state, const std::string& name, rt::Date from, rt::Date to)
{
    auto& calendar = Profile(name);
    auto olApp = std::make_shared<platform::outlook::Application>();
    auto root = std::make_shared<engine::Application>();
    root->Initialize(olApp);
    auto records = root->Records();
    bench::AddCalendarColumns(*records);
    records->Filter()->SetTimeCondition(engine::trStartDate, engine::trTimeBetween,
                                        rt::Variant(from), rt::Variant(to));
    long total = 0;
    for (auto _ : state) {
        engine::FolderDataList list;
        auto data = std::make_shared<engine::FolderData>();
        data->Init(calendar.calendarId, calendar.storeId, "Kalender", 0, false);
        list.Add(data);
        root->ReadRecords(list);
        total += records->Count();
        benchmark::DoNotOptimize(records->Count());
    }
    state.counters["records"] = static_cast<double>(records->Count());
    state.counters["records_per_second"] =
        benchmark::Counter(static_cast<double>(total), benchmark::Counter::kIsRate);
    root->Terminate();
    common::modRedemption::ReleaseSession(true);
}

void BM_BusyCalendarOneMonth(benchmark::State& state)
{
    ReadWindow(state, "busy", rt::DateSerial(2025, 3, 1), rt::DateSerial(2025, 3, 31));
}
BENCHMARK(BM_BusyCalendarOneMonth)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_BusyCalendarOneYear(benchmark::State& state)
{
    ReadWindow(state, "busy", rt::DateSerial(2025, 1, 1), rt::DateSerial(2025, 12, 31));
}
BENCHMARK(BM_BusyCalendarOneYear)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SampleProfileOneMonth(benchmark::State& state)
{
    ReadWindow(state, "sample", rt::DateSerial(2024, 6, 1), rt::DateSerial(2024, 6, 30));
}
BENCHMARK(BM_SampleProfileOneMonth)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SampleProfileOneYear(benchmark::State& state)
{
    ReadWindow(state, "sample", rt::DateSerial(2024, 1, 1), rt::DateSerial(2024, 12, 31));
}
BENCHMARK(BM_SampleProfileOneYear)->Unit(benchmark::kMillisecond)->UseRealTime();

// Same density (18,000 singles and 2,000 series a year): the month's records are alike.
void BM_DenseCalendarOneMonth100k(benchmark::State& state)
{
    ReadWindow(state, "dense100k", rt::DateSerial(2025, 3, 1), rt::DateSerial(2025, 3, 31));
}
BENCHMARK(BM_DenseCalendarOneMonth100k)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DenseCalendarOneMonth1M(benchmark::State& state)
{
    ReadWindow(state, "dense1m", rt::DateSerial(2025, 3, 1), rt::DateSerial(2025, 3, 31));
}
BENCHMARK(BM_DenseCalendarOneMonth1M)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
