#include "BenchCalendars.h"

#include "engine/Field.h"
#include "engine/Records.h"
#include "platform/locale/Locale.h"
#include "platform/mapi/Constants.h"
#include "platform/mapi/CurrentProfile.h"
#include "platform/store/SampleProfile.h"
#include "platform/store/StoreBuilder.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <optional>
#include <unistd.h>

namespace bench {

namespace st = platform::store;

namespace {

/// A small deterministic generator (xorshift), so that every run builds the same calendar.
class Rng
{
public:
    explicit Rng(std::uint64_t seed) : m_state(seed * 0x9E3779B97F4A7C15ULL + 1) {}
    std::uint64_t Next()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 7;
        m_state ^= m_state << 17;
        return m_state;
    }
    /// A whole number in [lo, hi].
    int Between(int lo, int hi) { return lo + static_cast<int>(Next() % (hi - lo + 1)); }

private:
    std::uint64_t m_state;
};

st::LocalTime AtMinute(std::int32_t day, int minute)
{
    return st::LocalTime{st::StartOfDay(day).seconds + static_cast<std::int64_t>(minute) * 60};
}

st::RecurrencePattern SeriesPattern(Rng& rng, int i, std::int32_t startDay)
{
    st::RecurrencePattern p;
    p.patternStartDay = startDay;
    p.startMinute = rng.Between(8 * 4, 17 * 4) * 15;
    p.durationMinutes = rng.Between(1, 8) * 15;
    p.end = st::RecurrenceEnd::ByCount;
    switch (i % 5) {
    case 0:
        p.type = st::RecurrenceType::Daily;
        p.interval = rng.Between(1, 3);
        p.occurrenceCount = rng.Between(10, 60);
        break;
    case 1:
        p.type = st::RecurrenceType::Weekly;
        p.dayOfWeekMask =
            i % 2 ? st::kMonday | st::kWednesday | st::kFriday : st::kTuesday | st::kThursday;
        p.interval = rng.Between(1, 2);
        p.end = st::RecurrenceEnd::ByDate;
        p.patternEndDay = startDay + rng.Between(60, 700);
        break;
    case 2:
        p.type = st::RecurrenceType::Monthly;
        p.dayOfMonth = rng.Between(1, 31);
        p.occurrenceCount = rng.Between(6, 36);
        break;
    case 3:
        p.type = st::RecurrenceType::MonthNth;
        p.dayOfWeekMask = st::kFriday;
        p.instance = 5;
        p.occurrenceCount = rng.Between(6, 24);
        break;
    default:
        p.type = st::RecurrenceType::Weekly;
        p.dayOfWeekMask = st::kMonday;
        p.occurrenceCount = rng.Between(20, 120);
        break;
    }
    // One series in eight never ends.
    if (i % 8 == 0) {
        p.end = st::RecurrenceEnd::Never;
        p.occurrenceCount = 0;
    }
    return p;
}

// Deletes one occurrence and moves others: within the series, past its last day and (for
// some) the first one to before the series' start.
void AddExceptions(st::Store& store, st::ItemBuilder& item, const st::RecurrencePattern& p,
                   Rng& rng, int i)
{
    const auto first = p.FirstOnOrAfter(p.patternStartDay);
    if (!first)
        return;
    const auto last = p.LastDay().value_or(*first + 400);
    auto used = [&](std::int32_t day) {
        return store.GetRecurrence(item.EntryId())->FindException(day) != nullptr;
    };
    const auto pick = [&]() -> std::optional<std::int32_t> {
        const auto d = p.FirstOnOrAfter(*first + rng.Between(1, std::max(1, last - *first)));
        if (!d || used(*d))
            return std::nullopt;
        return d;
    };
    if (const auto d = pick())
        item.DeleteOccurrence(st::CivilFromDay(*d));
    if (const auto d = pick()) {
        st::OccurrenceChange moved;
        moved.start = AtMinute(*d + 1, 14 * 60);
        moved.end = AtMinute(*d + 1, 14 * 60 + p.durationMinutes);
        if (i % 3 == 0)
            moved.subject = "Verlegt";
        item.ModifyOccurrence(st::CivilFromDay(*d), moved);
    }
    if (i % 10 == 0 && !used(last) && p.IsOccurrenceDay(last)) {
        st::OccurrenceChange after;
        after.start = AtMinute(last + 5, 10 * 60);
        after.end = AtMinute(last + 5, 11 * 60);
        item.ModifyOccurrence(st::CivilFromDay(last), after);
    } else if (i % 10 == 5 && !used(*first)) {
        st::OccurrenceChange before;
        before.start = AtMinute(*first - 12, 9 * 60);
        before.end = AtMinute(*first - 12, 10 * 60);
        item.ModifyOccurrence(st::CivilFromDay(*first), before);
    }
}

} // namespace

BenchProfile::BenchProfile(const std::string& name)
{
    setenv("TZ", "Europe/Berlin", 1);
    tzset();
    platform::locale::SetCurrent("de-DE");
    if (const char* kept = std::getenv("TV_BENCH_KEEP"); kept && *kept) {
        keep = true;
        dir = std::filesystem::path(kept) / name;
    } else {
        dir = std::filesystem::temp_directory_path() /
              ("tv-bench-" + name + "-" + std::to_string(::getpid()));
        std::filesystem::remove_all(dir);
    }
    setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
}

bool BenchProfile::OpenKept()
{
    if (!keep || !st::Profile::Exists(dir / "profile") || !std::filesystem::exists(dir / "done"))
        return false;
    profile = st::Profile::Open(dir / "profile");
    auto store = profile->DefaultStore();
    storeId = store->EntryId();
    calendarId = store->DefaultFolder(st::FolderRole::Calendar)->entryId;
    MakeCurrent();
    return true;
}

namespace {

// Marks a kept profile as complete, so that a run stopped while generating starts afresh.
void MarkDone(const BenchProfile& target)
{
    if (target.keep)
        std::ofstream(target.dir / "done") << "generated\n";
}

} // namespace

BenchProfile::~BenchProfile()
{
    // The current-profile setting may be gone already when this runs at exit: left alone.
    profile.reset();
    if (keep)
        return;
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
}

void BenchProfile::MakeCurrent() const
{
    platform::mapi::SetCurrentProfile((dir / "profile").string());
}

namespace {

/// Where the generators put their items, and the days they spread them over.
struct CalendarFill
{
    st::Store& store;
    st::StoreBuilder& builder;
    std::string calendarId;
    std::int32_t firstDay = 0;
    std::int32_t lastDay = 0;
};

void AddSingles(CalendarFill& fill, Rng& rng, int singles)
{
    const std::array<const char*, 5> categories{"Büro", "Kunden", "Ärger", "Privat", "Straße"};
    for (int i = 0; i < singles; ++i) {
        const std::int32_t day = fill.firstDay + rng.Between(0, fill.lastDay - fill.firstDay);
        const std::string subject = "Termin " + std::to_string(i);
        st::ItemBuilder item = [&] {
            if (i % 9 == 0) // all-day, one to three days
                return fill.builder
                    .Appointment(fill.calendarId, subject, st::StartOfDay(day),
                                 st::StartOfDay(day + rng.Between(1, 3)))
                    .AllDay(true);
            const int minute = rng.Between(7 * 4, 19 * 4) * 15;
            return fill.builder.Appointment(fill.calendarId, subject, AtMinute(day, minute),
                                            AtMinute(day, minute + rng.Between(1, 12) * 15));
        }();
        item.Categories({categories[i % 5]}).Location(i % 2 ? "Köln" : "Bonn");
    }
}

/// How the series of a calendar end.
enum class SeriesEnds
{
    /// As a busy user's calendar: most end, one in eight never does.
    Mixed,
    /// Every series ends, and before the last day of the fill.
    BeforeLastDay,
    /// No series ends.
    Never
};

void AddSeries(CalendarFill& fill, Rng& rng, int series, SeriesEnds ends)
{
    const std::array<const char*, 5> categories{"Büro", "Kunden", "Ärger", "Privat", "Straße"};
    // The longest pattern that ends runs about three years (120 weekly or 36 monthly
    // occurrences); moved occurrences lie a few days past it.
    const std::int32_t latestStart =
        ends == SeriesEnds::BeforeLastDay ? fill.lastDay - 1200 : fill.lastDay - 30;
    for (int i = 0; i < series; ++i) {
        auto p = SeriesPattern(rng, i, fill.firstDay + rng.Between(0, latestStart - fill.firstDay));
        if (ends == SeriesEnds::BeforeLastDay && p.end == st::RecurrenceEnd::Never) {
            p.end = st::RecurrenceEnd::ByCount;
            p.occurrenceCount = 12;
        } else if (ends == SeriesEnds::Never) {
            p.end = st::RecurrenceEnd::Never;
            p.occurrenceCount = 0;
        }
        const auto first = p.FirstOnOrAfter(p.patternStartDay);
        if (!first)
            continue;
        auto item = fill.builder.Appointment(fill.calendarId, "Serie " + std::to_string(i),
                                             AtMinute(*first, p.startMinute),
                                             AtMinute(*first, p.startMinute + p.durationMinutes));
        item.Categories({categories[i % 5]}).Location("Raum " + std::to_string(i % 40));
        item.Recur(p);
        AddExceptions(fill.store, item, p, rng, i);
    }
}

/// Creates the profile with one store and fills its calendar, in one transaction.
template <class Fn> void BuildCalendar(BenchProfile& target, Fn&& fn)
{
    std::filesystem::remove_all(target.dir / "profile");
    target.profile = st::Profile::Create(target.dir / "profile");
    auto store =
        target.profile->CreateStore("Persönliche Ordner", st::StoreKind::UnicodePersonal, true);
    st::StoreBuilder builder(*store);
    const auto calendar = builder.DefaultFolder(st::FolderRole::Calendar);
    auto transaction = store->BeginTransaction();
    CalendarFill fill{*store, builder, calendar.entryId};
    fn(fill);
    transaction.Commit();
    target.storeId = store->EntryId();
    target.calendarId = calendar.entryId;
    target.MakeCurrent();
    MarkDone(target);
}

} // namespace

void BuildBusyCalendar(BenchProfile& target, int singles, int series, int years)
{
    BuildGrownCalendar(target, singles, series, years, 1);
}

void BuildGrownCalendar(BenchProfile& target, int singles, int series, int years, int factor)
{
    if (target.OpenKept())
        return;
    BuildCalendar(target, [&](CalendarFill& fill) {
        Rng rng(24);
        fill.lastDay = st::DayFromCivil({2026, 12, 31});
        fill.firstDay = fill.lastDay - years * 365;
        AddSingles(fill, rng, singles);
        AddSeries(fill, rng, series, SeriesEnds::Mixed);
        if (factor <= 1)
            return;
        // The older years: as dense, and all of it over before the recent years begin.
        Rng older(25);
        fill.lastDay = fill.firstDay - 1;
        fill.firstDay = fill.lastDay - (factor - 1) * years * 365;
        AddSingles(fill, older, (factor - 1) * singles);
        AddSeries(fill, older, (factor - 1) * series, SeriesEnds::BeforeLastDay);
    });
}

void BuildSeriesCalendar(BenchProfile& target, int series)
{
    if (target.OpenKept())
        return;
    BuildCalendar(target, [&](CalendarFill& fill) {
        Rng rng(26);
        fill.lastDay = st::DayFromCivil({2024, 12, 31});
        fill.firstDay = fill.lastDay - 2 * 365;
        AddSeries(fill, rng, series, SeriesEnds::Never);
    });
}

void AddCalendarColumns(engine::Records& records)
{
    const auto column = [&](const char* key, std::int32_t tag, engine::PT_PROPERTY_TYPE type,
                            long mapping) {
        auto field = std::make_shared<engine::Field>();
        field->Init(key, tag, type, {}, "", key, mapping);
        records.AppendField(field);
    };
    column("Subject", platform::mapi::PR_SUBJECT, engine::PT_STRING8, 0);
    column("Start", 0, engine::PT_SYSTIME, 3);
    column("End", 0, engine::PT_SYSTIME, 4);
    column("Duration", 0, engine::PT_LONG, 5);
    column("Folder", 0, engine::PT_STRING8, 1);
}

void BuildSampleProfile(BenchProfile& target, int calendarItems)
{
    if (target.OpenKept())
        return;
    std::filesystem::remove_all(target.dir / "profile");
    st::SampleProfileOptions options;
    options.calendarItems = calendarItems;
    target.profile = st::GenerateSampleProfile(target.dir / "profile", options);
    auto store = target.profile->DefaultStore();
    target.storeId = store->EntryId();
    target.calendarId = store->DefaultFolder(st::FolderRole::Calendar)->entryId;
    target.MakeCurrent();
    MarkDone(target);
}

} // namespace bench
