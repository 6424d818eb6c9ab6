// How fast the engine reads calendars into records: a busy calendar (20,000 single
// appointments and 2,000 recurring series with deleted and moved occurrences) and the
// 100,000-item sample profile, each for one month and one year; a calendar of 100,000 items and
// the same calendar grown to 1,000,000 by older years, for one month (the same records: the read
// should grow with the records it returns, not with the folder), and the two compared in one
// run; and the cost of one occurrence inside a read, from a calendar of series alone.
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

#include <algorithm>
#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

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
            bench::BuildGrownCalendar(*slot, 90000, 10000, 5, 1);
        else if (name == "grown1m")
            bench::BuildGrownCalendar(*slot, 90000, 10000, 5, 10);
        else
            bench::BuildSeriesCalendar(*slot, 2000);
    }
    slot->MakeCurrent();
    return *slot;
}

/// An engine reading one calendar profile with the calendar report's columns.
class CalendarReader
{
public:
    explicit CalendarReader(const std::string& name) : m_calendar(Profile(name))
    {
        m_root->Initialize(std::make_shared<platform::outlook::Application>());
        bench::AddCalendarColumns(*m_root->Records());
    }
    ~CalendarReader()
    {
        m_root->Terminate();
        common::modRedemption::ReleaseSession(true);
    }
    CalendarReader(const CalendarReader&) = delete;
    CalendarReader& operator=(const CalendarReader&) = delete;

    /// Reads the appointments starting between two days; answers the number of records.
    long Read(rt::Date from, rt::Date to)
    {
        auto records = m_root->Records();
        records->Filter()->SetTimeCondition(engine::trStartDate, engine::trTimeBetween,
                                            rt::Variant(from), rt::Variant(to));
        engine::FolderDataList list;
        auto data = std::make_shared<engine::FolderData>();
        data->Init(m_calendar.calendarId, m_calendar.storeId, "Kalender", 0, false);
        list.Add(data);
        m_root->ReadRecords(list);
        return records->Count();
    }

    /// As Read, with the seconds it took.
    double TimedRead(rt::Date from, rt::Date to, long& lRecords)
    {
        const auto t = std::chrono::steady_clock::now();
        lRecords = Read(from, to);
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - t).count();
    }

private:
    bench::BenchProfile& m_calendar;
    std::shared_ptr<engine::Application> m_root = std::make_shared<engine::Application>();
};

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const auto n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

/// The timed reads of one side of a comparison.
struct Side
{
    const char* name;
    const std::vector<double>& seconds;
    long lRecords;
};

/// Reports the median time and the records of both sides (ms_NAME, records_NAME) and answers
/// the two medians in seconds.
std::pair<double, double> ReportPair(benchmark::State& state, const Side& a, const Side& b)
{
    for (const Side* side : {&a, &b}) {
        state.counters[std::string("ms_") + side->name] = Median(side->seconds) * 1e3;
        state.counters[std::string("records_") + side->name] = static_cast<double>(side->lRecords);
    }
    return {Median(a.seconds), Median(b.seconds)};
}

void ReadWindow(benchmark::State& state, const std::string& name, rt::Date from, rt::Date to)
{
    CalendarReader reader(name);
    long total = 0;
    long lRecords = 0;
    for (auto _ : state) {
        lRecords = reader.Read(from, to);
        total += lRecords;
        benchmark::DoNotOptimize(lRecords);
    }
    state.counters["records"] = static_cast<double>(lRecords);
    state.counters["records_per_second"] =
        benchmark::Counter(static_cast<double>(total), benchmark::Counter::kIsRate);
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

// 100,000 items over five years, and the same grown to 1,000,000 by 45 older years whose series
// all ended before: the month's records are the same.
void BM_DenseCalendarOneMonth100k(benchmark::State& state)
{
    ReadWindow(state, "dense100k", rt::DateSerial(2025, 3, 1), rt::DateSerial(2025, 3, 31));
}
BENCHMARK(BM_DenseCalendarOneMonth100k)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DenseCalendarOneMonth1M(benchmark::State& state)
{
    ReadWindow(state, "grown1m", rt::DateSerial(2025, 3, 1), rt::DateSerial(2025, 3, 31));
}
BENCHMARK(BM_DenseCalendarOneMonth1M)->Unit(benchmark::kMillisecond)->UseRealTime();

// The two above in turns within one run, so that the machine's load weighs on both alike:
// the median time of the 1,000,000-item read over that of the 100,000-item read (counter
// "ratio"; the goal is at most 1.5). Each turn opens the profile, reads once untimed, then
// three times timed.
void BM_DenseCalendarGrowthRatio(benchmark::State& state)
{
    const auto from = rt::DateSerial(2025, 3, 1);
    const auto to = rt::DateSerial(2025, 3, 31);
    std::vector<double> small;
    std::vector<double> large;
    long lSmall = 0;
    long lLarge = 0;
    for (auto _ : state) {
        for (auto* pTimes : {&small, &large}) {
            CalendarReader reader(pTimes == &small ? "dense100k" : "grown1m");
            long& lRecords = pTimes == &small ? lSmall : lLarge;
            reader.Read(from, to);
            for (int i = 0; i < 3; ++i)
                pTimes->push_back(reader.TimedRead(from, to, lRecords));
        }
    }
    const auto [dSmall, dLarge] = ReportPair(state, {"100k", small, lSmall}, {"1m", large, lLarge});
    state.counters["ratio"] = dSmall > 0 ? dLarge / dSmall : 0;
}
BENCHMARK(BM_DenseCalendarGrowthRatio)->Unit(benchmark::kMillisecond)->Iterations(5);

// What one more occurrence costs inside a read: a calendar of 2,000 series that never end read
// for one week and for one year. The series, their patterns and exceptions are the same in both
// reads; only the occurrences differ. Counter "ns_per_occurrence" is the difference of the
// median times over the difference of the records (the goal is under 1,000 ns).
void BM_OccurrenceCost(benchmark::State& state)
{
    CalendarReader reader("series");
    const auto weekFrom = rt::DateSerial(2025, 3, 3);
    const auto weekTo = rt::DateSerial(2025, 3, 9);
    const auto yearFrom = rt::DateSerial(2025, 1, 1);
    const auto yearTo = rt::DateSerial(2025, 12, 31);
    std::vector<double> week;
    std::vector<double> year;
    long lWeek = 0;
    long lYear = 0;
    reader.Read(weekFrom, weekTo);
    for (auto _ : state) {
        week.push_back(reader.TimedRead(weekFrom, weekTo, lWeek));
        year.push_back(reader.TimedRead(yearFrom, yearTo, lYear));
    }
    const auto [dWeek, dYear] = ReportPair(state, {"week", week, lWeek}, {"year", year, lYear});
    state.counters["ns_per_occurrence"] =
        lYear > lWeek ? (dYear - dWeek) * 1e9 / static_cast<double>(lYear - lWeek) : 0;
}
BENCHMARK(BM_OccurrenceCost)->Unit(benchmark::kMillisecond)->Iterations(15);

} // namespace
