// How fast the engine reads a large calendar into records: 100,000 appointments, one tenth of
// them recurring series (daily, weekly on several days, monthly, month-nth; some started long
// ago and never end), for a one-month and a one-year window.
#include "engine/Application.h"
#include "engine/Field.h"
#include "engine/Filter.h"
#include "engine/FolderData.h"
#include "engine/FolderDataList.h"
#include "engine/Records.h"

#include "common/modRedemption.h"
#include "platform/locale/Locale.h"
#include "platform/mapi/Constants.h"
#include "platform/mapi/CurrentProfile.h"
#include "platform/outlook/Application.h"
#include "platform/runtime/Date.h"
#include "platform/store/KnownProperties.h"
#include "platform/store/Profile.h"
#include "platform/store/RecurrencePattern.h"
#include "platform/store/StoreBuilder.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>

namespace {

namespace st = platform::store;
namespace rt = platform::runtime;

constexpr int kItems = 100000;

st::RecurrencePattern SeriesPattern(int i, int startDay)
{
    st::RecurrencePattern p;
    p.patternStartDay = startDay;
    p.startMinute = 9 * 60;
    p.durationMinutes = 60;
    p.end = st::RecurrenceEnd::ByCount;
    switch (i % 4) {
    case 0:
        p.type = st::RecurrenceType::Daily;
        p.interval = 1 + i % 3;
        p.occurrenceCount = 30;
        break;
    case 1:
        p.type = st::RecurrenceType::Weekly;
        p.dayOfWeekMask = st::kMonday | st::kWednesday | st::kFriday;
        p.occurrenceCount = 150;
        break;
    case 2:
        p.type = st::RecurrenceType::Monthly;
        p.dayOfMonth = 1 + i % 28;
        p.occurrenceCount = 24;
        break;
    default:
        p.type = st::RecurrenceType::MonthNth;
        p.dayOfWeekMask = st::kFriday;
        p.instance = 5;
        p.occurrenceCount = 24;
        break;
    }
    // One series in fifty started long ago and never ends.
    if (i % 50 == 0) {
        p.end = st::RecurrenceEnd::Never;
        p.occurrenceCount = 0;
        p.patternStartDay = st::DayFromCivil({1995, 1, 2}) + i % 365;
    }
    return p;
}

/// A profile with one calendar of kItems appointments from 2016 to 2030, built once.
struct LargeCalendar
{
    std::filesystem::path dir;
    std::string storeId;
    std::string calendarId;

    LargeCalendar()
    {
        setenv("TZ", "Europe/Berlin", 1);
        tzset();
        platform::locale::SetCurrent("de-DE");
        dir = std::filesystem::temp_directory_path() /
              ("tv-engine-bench-" + std::to_string(std::time(nullptr)));
        std::filesystem::remove_all(dir);
        setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
        auto profile = st::Profile::Create(dir / "profile");
        auto store = profile->CreateStore("Persönliche Ordner", st::StoreKind::UnicodePersonal);
        st::StoreBuilder builder(*store);
        const auto calendar = builder.DefaultFolder(st::FolderRole::Calendar);
        const int firstDay = st::DayFromCivil({2016, 1, 1});
        const int days = st::DayFromCivil({2030, 12, 31}) - firstDay;
        const char* categories[] = {"Büro", "Kunden", "Ärger", "Privat", "Straße"};
        auto transaction = store->BeginTransaction();
        for (int i = 0; i < kItems; ++i) {
            // A spread that does not line up with weeks or months.
            int day = firstDay + static_cast<int>((static_cast<long long>(i) * 7919) % days);
            const bool recurring = i % 10 == 0;
            st::RecurrencePattern pattern;
            if (recurring) {
                pattern = SeriesPattern(i / 10, day);
                day = pattern.patternStartDay; // the master starts on its pattern's first day
            }
            const auto civil = st::CivilFromDay(day);
            const int hour = recurring ? 9 : 8 + i % 9;
            const auto start = st::MakeLocalTime(civil.year, civil.month, civil.day, hour);
            const st::LocalTime end{start.seconds + 3600};
            auto item =
                builder.Appointment(calendar.entryId, "Termin " + std::to_string(i), start, end);
            item.Categories({categories[i % 5]}).Location(i % 2 ? "Köln" : "Bonn");
            if (recurring)
                item.Recur(pattern);
        }
        transaction.Commit();
        storeId = store->EntryId();
        calendarId = calendar.entryId;
        platform::mapi::SetCurrentProfile((dir / "profile").string());
    }

    ~LargeCalendar()
    {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
};

LargeCalendar& Calendar()
{
    static LargeCalendar calendar;
    return calendar;
}

void ReadWindow(benchmark::State& state, rt::Date from, rt::Date to)
{
    auto& calendar = Calendar();
    auto olApp = std::make_shared<platform::outlook::Application>();
    auto root = std::make_shared<engine::Application>();
    root->Initialize(olApp);
    auto records = root->Records();
    const auto column = [&](const char* key, std::int32_t tag, engine::PT_PROPERTY_TYPE type,
                            long mapping) {
        auto field = std::make_shared<engine::Field>();
        field->Init(key, tag, type, {}, "", key, mapping);
        records->AppendField(field);
    };
    column("Subject", platform::mapi::PR_SUBJECT, engine::PT_STRING8, 0);
    column("Start", 0, engine::PT_SYSTIME, 3);
    column("End", 0, engine::PT_SYSTIME, 4);
    column("Duration", 0, engine::PT_LONG, 5);
    column("Folder", 0, engine::PT_STRING8, 1);
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

void BM_ReadOneMonth(benchmark::State& state)
{
    ReadWindow(state, rt::DateSerial(2025, 3, 1), rt::DateSerial(2025, 3, 31));
}
BENCHMARK(BM_ReadOneMonth)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReadOneYear(benchmark::State& state)
{
    ReadWindow(state, rt::DateSerial(2025, 1, 1), rt::DateSerial(2025, 12, 31));
}
BENCHMARK(BM_ReadOneYear)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
