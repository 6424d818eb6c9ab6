// Reading a 100,000-item calendar of the sample profile: the table read with the columns a
// report asks for, the read of every property, and occurrences of a series in a window.

#include "platform/store/KnownProperties.h"
#include "platform/store/SampleProfile.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>
#include <unistd.h>

namespace {

using namespace platform::store;

constexpr int kItems = 100000;

// One generated profile for the whole program, removed at exit.
class BenchProfile
{
public:
    BenchProfile()
    {
        setenv("TZ", "Europe/Berlin", 1);
        tzset();
        folder_ = std::filesystem::temp_directory_path() /
                  ("tv-store-bench-" + std::to_string(::getpid()));
        SampleProfileOptions options;
        options.calendarItems = kItems;
        profile_ = GenerateSampleProfile(folder_, options);
        store_ = profile_->DefaultStore();
        calendar_ = store_->DefaultFolder(FolderRole::Calendar)->entryId;
    }
    ~BenchProfile()
    {
        store_.reset();
        profile_.reset();
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }
    Store& GetStore() { return *store_; }
    const std::string& Calendar() const { return calendar_; }

    static BenchProfile& Get()
    {
        static BenchProfile instance;
        return instance;
    }

private:
    std::filesystem::path folder_;
    std::shared_ptr<Profile> profile_;
    std::shared_ptr<Store> store_;
    std::string calendar_;
};

std::vector<PropTag> ReportColumns(Store& store)
{
    std::vector<PropTag> tags = {props::PR_SUBJECT,       props::PR_BODY,
                                 props::PR_IMPORTANCE,    props::PR_SENSITIVITY,
                                 props::PR_CREATION_TIME, props::PR_LAST_MODIFICATION_TIME,
                                 props::PR_MESSAGE_CLASS, props::PR_ENTRYID,
                                 props::PR_HASATTACH,     props::PR_CREATOR_NAME};
    const std::pair<std::uint32_t, std::uint16_t> named[] = {
        {0x8208, PT_STRING8}, {0x820D, PT_SYSTIME}, {0x820E, PT_SYSTIME}, {0x8213, PT_LONG},
        {0x8223, PT_BOOLEAN}, {0x8235, PT_SYSTIME}, {0x8236, PT_SYSTIME}};
    for (const auto& [lid, type] : named)
        if (const auto id = store.GetIdFromName(NamedProperty::Lid(PSETID_Appointment, lid)))
            tags.push_back(MakeTag(*id, type));
    return tags;
}

// Opening the store: what it costs to check the kept counts and series' reaches against the
// items and patterns they summarise.
void BM_OpenStore(benchmark::State& state)
{
    auto& bench = BenchProfile::Get();
    const auto file = bench.GetStore().File();
    for (auto _ : state) {
        auto store = Store::Open(file);
        benchmark::DoNotOptimize(store.get());
    }
}
BENCHMARK(BM_OpenStore)->Unit(benchmark::kMillisecond);

void BM_ReadTableReportColumns(benchmark::State& state)
{
    auto& bench = BenchProfile::Get();
    const auto columns = ReportColumns(bench.GetStore());
    std::size_t rows = 0;
    for (auto _ : state) {
        const auto table = bench.GetStore().ReadTable(bench.Calendar(), columns);
        rows += table.size();
        benchmark::DoNotOptimize(table.data());
    }
    state.counters["rows/s"] =
        benchmark::Counter(static_cast<double>(rows), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ReadTableReportColumns)->Unit(benchmark::kMillisecond);

void BM_ReadEveryProperty(benchmark::State& state)
{
    auto& bench = BenchProfile::Get();
    std::size_t items = 0, values = 0;
    for (auto _ : state) {
        bench.GetStore().ForEachItem(bench.Calendar(), [&](const ItemWithProperties& item) {
            ++items;
            values += item.properties.size();
        });
    }
    state.counters["items/s"] =
        benchmark::Counter(static_cast<double>(items), benchmark::Counter::kIsRate);
    state.counters["values/item"] =
        static_cast<double>(values) / static_cast<double>(items ? items : 1);
}
BENCHMARK(BM_ReadEveryProperty)->Unit(benchmark::kMillisecond);

void BM_OccurrencesOfAnOldSeriesInAMonth(benchmark::State& state)
{
    RecurrencePattern p;
    p.type = RecurrenceType::Weekly;
    p.dayOfWeekMask = kMonday | kThursday;
    p.patternStartDay = DayFromCivil({1990, 1, 1});
    p.startMinute = 9 * 60;
    p.durationMinutes = 30;
    const auto from = MakeLocalTime(2030, 3, 1);
    const auto to = MakeLocalTime(2030, 3, 31, 23, 59);
    for (auto _ : state)
        benchmark::DoNotOptimize(p.OccurrencesBetween(from, to));
}
BENCHMARK(BM_OccurrencesOfAnOldSeriesInAMonth);

} // namespace
