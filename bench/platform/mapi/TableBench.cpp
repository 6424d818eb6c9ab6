// How fast the table object hands out every property of a large folder: the record engine
// reads its folders this way, 100 rows at a time.
#include "platform/mapi/Constants.h"
#include "platform/mapi/CurrentProfile.h"
#include "platform/mapi/Folder.h"
#include "platform/mapi/Items.h"
#include "platform/mapi/Message.h"
#include "platform/mapi/Session.h"
#include "platform/mapi/Table.h"
#include "platform/store/KnownProperties.h"
#include "platform/store/Profile.h"
#include "platform/store/StoreBuilder.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <set>
#include <thread>

namespace {

namespace st = platform::store;
namespace mapi = platform::mapi;

constexpr int kItems = 100000;

/// A profile whose task folder holds kItems tasks with a dozen properties each, built once.
struct LargeProfile
{
    std::filesystem::path dir;
    std::vector<std::int32_t> tags;

    LargeProfile()
    {
        setenv("TZ", "Europe/Berlin", 1);
        tzset();
        dir = std::filesystem::temp_directory_path() /
              ("tv-mapi-bench-" + std::to_string(std::time(nullptr)));
        std::filesystem::remove_all(dir);
        auto profile = st::Profile::Create(dir);
        auto store = profile->CreateStore("Persönliche Ordner", st::StoreKind::UnicodePersonal);
        st::StoreBuilder builder(*store);
        const auto tasks = builder.DefaultFolder(st::FolderRole::Tasks).entryId;
        auto transaction = store->BeginTransaction();
        const char* categories[] = {"Büro", "Kunden", "Ärger", "Privat", "Straße"};
        for (int i = 0; i < kItems; ++i) {
            const auto due = st::MakeLocalTime(2026, 1 + i % 12, 1 + i % 28, 8);
            builder.Task(tasks, "Aufgabe Nummer " + std::to_string(i))
                .Body("Beschreibung der Aufgabe " + std::to_string(i))
                .Categories({categories[i % 5], categories[(i + 2) % 5]})
                .Set(st::props::PR_IMPORTANCE, i % 3)
                .SetLid(st::PSETID_Task, st::props::LID_TaskStatus, i % 5)
                .SetLid(st::PSETID_Task, st::props::LID_TaskDueDate, st::LocalToUtc(due))
                .SetLid(st::PSETID_Task, st::props::LID_TaskTotalWork, i % 600)
                .SetLid(st::PSETID_Task, st::props::LID_TaskActualWork, i % 300)
                .SetLid(st::PSETID_Task, st::props::LID_PercentComplete, (i % 101) / 100.0)
                .SetLid(st::PSETID_Common, st::props::LID_Companies,
                        st::MultiString{"Kestrova GmbH", "Müller & Söhne"});
        }
        transaction.Commit();
        // Every tag any item carries: "all properties" of the folder.
        std::set<std::int32_t> all;
        for (const auto& [tag, value] : store->ItemProperties(store->Items(tasks).front().entryId))
            all.insert(static_cast<std::int32_t>(tag));
        tags.assign(all.begin(), all.end());
        mapi::SetCurrentProfile(dir.string());
    }
    ~LargeProfile()
    {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
};

LargeProfile& Profile()
{
    static LargeProfile profile;
    return profile;
}

/// The large task folder's items through a new session.
std::shared_ptr<mapi::Items> LargeFolder()
{
    mapi::Session session;
    session.Logon({}, {}, {}, false);
    return session.GetDefaultFolder(mapi::olFolderTasks)->GetItems();
}

void Report(benchmark::State& state, std::int64_t rows, const LargeProfile& profile)
{
    state.counters["rows/s"] =
        benchmark::Counter(static_cast<double>(rows), benchmark::Counter::kIsRate);
    state.counters["columns"] = static_cast<double>(profile.tags.size());
    state.counters["nproc"] = static_cast<double>(std::thread::hardware_concurrency());
}

void ReadAllPropertiesThroughTheTable(benchmark::State& state)
{
    auto& profile = Profile();
    auto items = LargeFolder();
    std::int64_t rows = 0;
    for (auto _ : state) {
        mapi::Table table;
        table.SetItem(items);
        table.SetColumns(profile.tags);
        for (;;) {
            auto chunk = table.GetRows(100);
            if (chunk.IsEmpty())
                break;
            rows += chunk.AsArray().UBound(1) + 1;
            benchmark::DoNotOptimize(chunk);
        }
    }
    Report(state, rows, profile);
}
BENCHMARK(ReadAllPropertiesThroughTheTable)->Unit(benchmark::kMillisecond)->Iterations(3);

/// The record engine's readers: the collection's own table is told the columns, then every
/// item is taken by position and its properties are read by tag.
void ReadEveryItemByPosition(benchmark::State& state)
{
    auto& profile = Profile();
    auto items = LargeFolder();
    std::int64_t rows = 0;
    for (auto _ : state) {
        items->RawTable()->SetColumns(profile.tags);
        const long count = items->Count();
        for (long i = 1; i <= count; ++i) {
            auto item = items->Item(i);
            benchmark::DoNotOptimize(item->IsTask());
            for (auto tag : profile.tags)
                benchmark::DoNotOptimize(item->Fields(tag));
            ++rows;
        }
    }
    Report(state, rows, profile);
}
BENCHMARK(ReadEveryItemByPosition)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
