#include "ReadFixture.h"

#include "engine/Filter.h"

#include "platform/runtime/Conversion.h"
#include "platform/store/RecurrencePattern.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <unicode/basictz.h>
#include <unicode/timezone.h>
#include <unicode/tztrans.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

// Series made in Berlin and New York, read in zones east and west of them, north and south,
// with and without daylight saving, by windows on either date field that start or end where
// some zone changes its offset. The expected rows come from the test's own calendar
// (std::chrono) and the zones' rules read from ICU directly.

namespace engine::test {

namespace {

using Wall = ch::local_seconds; ///< a wall-clock time of some zone
using Instant = ch::sys_seconds;

/// A zone's rules, asked of ICU directly.
class ZoneRules
{
public:
    explicit ZoneRules(const char* id)
        : m_zone(dynamic_cast<icu::BasicTimeZone*>(icu::TimeZone::createTimeZone(id)))
    {
    }

    bool Valid() const { return m_zone != nullptr; }

    /// The instant of a wall-clock time; one that occurs twice is the earlier instant, one
    /// that the zone skips is read with the offset from before the change.
    Instant ToInstant(Wall wall) const
    {
        std::int32_t raw = 0, dst = 0;
        UErrorCode status = U_ZERO_ERROR;
        m_zone->getOffsetFromLocal(Millis(wall.time_since_epoch()), UCAL_TZ_LOCAL_FORMER,
                                   UCAL_TZ_LOCAL_FORMER, raw, dst, status);
        return Instant{wall.time_since_epoch() - ch::seconds{(raw + dst) / 1000}};
    }

    /// The wall-clock time of an instant.
    Wall ToWall(Instant t) const
    {
        std::int32_t raw = 0, dst = 0;
        UErrorCode status = U_ZERO_ERROR;
        m_zone->getOffset(Millis(t.time_since_epoch()), false, raw, dst, status);
        return Wall{t.time_since_epoch() + ch::seconds{(raw + dst) / 1000}};
    }

    /// The days (by this zone's calendar) on which it changes its offset, from `from` to
    /// before `to`.
    std::vector<ch::sys_days> ChangeDays(Instant from, Instant to) const
    {
        std::vector<ch::sys_days> days;
        icu::TimeZoneTransition transition;
        UDate at = Millis(from.time_since_epoch());
        while (m_zone->getNextTransition(at, false, transition) &&
               transition.getTime() < Millis(to.time_since_epoch())) {
            at = transition.getTime();
            const Instant before{ch::seconds{static_cast<std::int64_t>(at / 1000.0) - 1}};
            days.push_back(ch::sys_days{ch::floor<ch::days>(ToWall(before).time_since_epoch())});
        }
        return days;
    }

private:
    static UDate Millis(ch::seconds s) { return static_cast<UDate>(s.count()) * 1000.0; }

    std::unique_ptr<icu::BasicTimeZone> m_zone;
};

Wall WallAt(ch::sys_days day, int minute)
{
    return Wall{day.time_since_epoch()} + ch::minutes{minute};
}

std::string WallText(Wall t)
{
    const auto day = ch::floor<ch::days>(t);
    const ch::year_month_day ymd{ch::sys_days{day.time_since_epoch()}};
    const ch::hh_mm_ss clock{t - day};
    char s[32];
    std::snprintf(s, sizeof s, "%04d-%02u-%02u %02d:%02d", int(ymd.year()), unsigned(ymd.month()),
                  unsigned(ymd.day()), int(clock.hours().count()), int(clock.minutes().count()));
    return s;
}

st::CivilDate CivilOf(ch::sys_days day)
{
    const ch::year_month_day ymd{day};
    return {int(ymd.year()), int(unsigned(ymd.month())), int(unsigned(ymd.day()))};
}

/// A wall-clock time as the store builder takes it (the process's zone's wall clock).
st::LocalTime LocalOf(Wall t)
{
    const auto day = ch::floor<ch::days>(t);
    const auto c = CivilOf(ch::sys_days{day.time_since_epoch()});
    const ch::hh_mm_ss clock{t - day};
    return st::MakeLocalTime(c.year, c.month, c.day, int(clock.hours().count()),
                             int(clock.minutes().count()));
}

/// A series of the matrix: its pattern from 1 January 2026 to 31 December 2027, on the clock
/// of the zone it is made in.
struct SeriesSpec
{
    std::string name;
    st::RecurrenceType type;
    int interval;
    int mask;       ///< weekly: the weekdays; nth: the weekday
    int dayOfMonth; ///< monthly
    int instance;   ///< nth: 1 to 4, 5 last
    int startMinute;
    int minutes;
    bool moves = false; ///< whether occurrences around its zone's changes are moved and deleted
};

/// Every walk, with and without moved occurrences; and weekly series from Saturday 06:00 that
/// span every zone's weekend change and end at each hour of Monday, so that some end lies
/// next to midnight in every reader's zone.
std::vector<SeriesSpec> AllSeries()
{
    using T = st::RecurrenceType;
    std::vector<SeriesSpec> all = {
        {"daily", T::Daily, 1, 0, 0, 0, 11 * 60, 24 * 60},
        {"every third day, moved", T::Daily, 3, 0, 0, 0, 23 * 60 + 30, 300, true},
        {"weekend", T::Weekly, 1, st::kSaturday | st::kSunday, 0, 0, 12 * 60, 18 * 60},
        {"weekend nights, moved", T::Weekly, 1, st::kSaturday | st::kSunday, 0, 0, 20 * 60, 10 * 60,
         true},
        {"monthly 24th, eight days", T::Monthly, 1, 0, 24, 0, 12 * 60, 8 * 24 * 60},
        {"monthly last day, moved", T::Monthly, 1, 0, 31, 0, 12 * 60, 8 * 24 * 60, true},
        {"last Sunday night", T::MonthNth, 1, st::kSunday, 0, 5, 30, 4 * 60},
        {"second Sunday night", T::MonthNth, 1, st::kSunday, 0, 2, 30, 4 * 60},
        {"first Sunday night, moved", T::MonthNth, 1, st::kSunday, 0, 1, 30, 4 * 60, true},
    };
    for (int hour = 0; hour < 24; ++hour)
        all.push_back({"Saturday to Monday " + std::to_string(hour), T::Weekly, 1, st::kSaturday, 0,
                       0, 6 * 60, (42 + hour) * 60});
    return all;
}

const ch::sys_days kFirstDay = Civil(2026, 1, 1);
const ch::sys_days kLastDay = Civil(2027, 12, 31);

/// The days the pattern puts occurrences on, by the test's own calendar.
std::vector<ch::sys_days> OccurrenceDays(const SeriesSpec& s)
{
    std::vector<ch::sys_days> days;
    using st::RecurrenceType;
    if (s.type == RecurrenceType::Daily) {
        for (auto d = kFirstDay; d <= kLastDay; d += ch::days{s.interval})
            days.push_back(d);
    } else if (s.type == RecurrenceType::Weekly) {
        for (auto d = kFirstDay; d <= kLastDay; d += ch::days{1})
            if (s.mask & (1 << ch::weekday{d}.c_encoding()))
                days.push_back(d);
    } else {
        for (auto ym = ch::year{2026} / ch::January; ym <= ch::year{2027} / ch::December;
             ym += ch::months{1}) {
            if (s.type == RecurrenceType::Monthly) {
                const auto last = ch::year_month_day_last{ym / ch::last}.day();
                days.push_back(ch::sys_days{ym / std::min(ch::day{unsigned(s.dayOfMonth)}, last)});
            } else if (s.instance == 5) {
                days.push_back(ch::sys_days{ym / ch::Sunday[ch::last]});
            } else {
                days.push_back(ch::sys_days{ym / ch::Sunday[unsigned(s.instance)]});
            }
        }
    }
    return days;
}

/// One occurrence on its series' clock.
struct Occurrence
{
    Wall start;
    Wall end;
    int minutes; ///< the Duration it reads
};

/// A series as made: its subject, the rules of its zone and its occurrences on its clock.
struct MadeSeries
{
    std::string subject;
    const ZoneRules* zone;
    std::vector<Occurrence> occurrences;
};

/// An occurrence as a reader sees it.
struct Shown
{
    const std::string* subject;
    Wall start;
    Wall end;
    int minutes;
};

class RecurrenceZonesTest : public ReadFixture
{
protected:
    void TearDown() override
    {
        Zone("Europe/Berlin");
        ReadFixture::TearDown();
    }

    static void Zone(const char* tz)
    {
        setenv("TZ", tz, 1);
        tzset();
    }

    void Columns()
    {
        SubjectColumn();
        Column("Start", 0, PT_SYSTIME, 3);
        Column("End", 0, PT_SYSTIME, 4);
        Column("Duration", 0, PT_LONG, 5);
    }

    // Makes the series of AllSeries in the process's zone.
    void MakeSeries(const char* maker, const ZoneRules& zone, std::vector<MadeSeries>& made)
    {
        Zone(maker);
        const auto changes = zone.ChangeDays(Instant{kFirstDay}, Instant{kLastDay + ch::days{1}});
        for (const auto& s : AllSeries()) {
            MadeSeries m{std::string(maker) + " " + s.name, &zone, {}};
            const auto days = OccurrenceDays(s);
            const Wall first = WallAt(days.front(), s.startMinute);
            auto item = B().Appointment(m_calendar.entryId, m.subject, LocalOf(first),
                                        LocalOf(first + ch::minutes{s.minutes}));
            item.Recur(PatternOf(s, days.front()));
            std::set<ch::sys_days> changed;
            if (s.moves)
                for (const auto c : changes)
                    MoveAround(c, s, days, item, changed, m);
            for (const auto d : days) {
                if (changed.count(d) != 0)
                    continue;
                const Wall start = WallAt(d, s.startMinute);
                m.occurrences.push_back({start, start + ch::minutes{s.minutes}, s.minutes});
            }
            made.push_back(std::move(m));
        }
    }

    static st::RecurrencePattern PatternOf(const SeriesSpec& s, ch::sys_days first)
    {
        st::RecurrencePattern p;
        p.type = s.type;
        p.interval = s.interval;
        p.dayOfWeekMask = s.mask;
        p.dayOfMonth = s.dayOfMonth;
        p.instance = s.instance;
        p.startMinute = s.startMinute;
        p.durationMinutes = s.minutes;
        p.patternStartDay = st::DayFromCivil(CivilOf(first));
        p.end = st::RecurrenceEnd::ByDate;
        p.patternEndDay = st::DayFromCivil(CivilOf(kLastDay));
        return p;
    }

    // Around a change on day c: the occurrence before it moves onto the night of the change
    // (with a length of its own), the next one after it is deleted and the one after that
    // moves onto the day of the change (with the pattern's length). Occurrences already
    // changed stay as they are.
    static void MoveAround(ch::sys_days c, const SeriesSpec& s,
                           const std::vector<ch::sys_days>& days, st::ItemBuilder& item,
                           std::set<ch::sys_days>& changed, MadeSeries& m)
    {
        const auto before =
            std::find_if(days.rbegin(), days.rend(), [&](auto d) { return d <= c - ch::days{2}; });
        const auto after =
            std::find_if(days.begin(), days.end(), [&](auto d) { return d >= c + ch::days{2}; });
        if (before == days.rend() || after == days.end() || std::next(after) == days.end())
            return;
        const auto move = [&](ch::sys_days original, Wall start, int minutes) {
            if (!changed.insert(original).second)
                return;
            st::OccurrenceChange change;
            change.start = LocalOf(start);
            change.end = LocalOf(start + ch::minutes{minutes});
            item.ModifyOccurrence(CivilOf(original), change);
            m.occurrences.push_back({start, start + ch::minutes{minutes}, minutes});
        };
        move(*before, WallAt(c - ch::days{1}, 22 * 60), 7 * 60);
        if (changed.insert(*after).second)
            item.DeleteOccurrence(CivilOf(*after));
        move(*std::next(after), WallAt(c, 12 * 60), s.minutes);
    }

    // "subject start..end (duration)" of every record read, sorted.
    std::vector<std::string> Read(trDateField eField, ch::sys_days from, ch::sys_days to)
    {
        const auto date = [](ch::sys_days d) {
            const auto c = CivilOf(d);
            return rt::Variant(At(c.year, c.month, c.day));
        };
        Root().Records()->Filter()->SetTimeCondition(eField, trTimeBetween, date(from), date(to));
        FolderDataList list;
        list.Add(Entry(m_calendar));
        Root().ReadRecords(list);
        std::vector<std::string> rows;
        for (const auto& r : *Root().Records())
            rows.push_back(Text(r->Fields(rt::Variant("Subject"))->Value()) + " " +
                           Format(r->Fields(rt::Variant("Start"))->Value()) + ".." +
                           Format(r->Fields(rt::Variant("End"))->Value()) + " (" +
                           std::to_string(rt::CLng(r->Fields(rt::Variant("Duration"))->Value())) +
                           ")");
        std::sort(rows.begin(), rows.end());
        return rows;
    }

    // Each occurrence as a reader in a zone must see it: its start and end on its series'
    // clock, each converted to the reader's wall clock on its own, and the Duration it reads.
    static std::vector<Shown> AsShown(const std::vector<MadeSeries>& made, const ZoneRules& reader)
    {
        std::vector<Shown> shown;
        for (const auto& m : made)
            for (const auto& o : m.occurrences)
                shown.push_back({&m.subject, reader.ToWall(m.zone->ToInstant(o.start)),
                                 reader.ToWall(m.zone->ToInstant(o.end)), o.minutes});
        return shown;
    }

    // What the read must give: the occurrences whose date field lies in the window (from
    // 00:00 on its first day to 23:59:59 on its last).
    static std::vector<std::string> Expected(const std::vector<Shown>& shown, trDateField eField,
                                             ch::sys_days from, ch::sys_days to)
    {
        const Wall first = WallAt(from, 0);
        const Wall last = WallAt(to + ch::days{1}, 0) - ch::seconds{1};
        std::vector<std::string> rows;
        for (const auto& o : shown) {
            const Wall field = eField == trStartDate ? o.start : o.end;
            if (field < first || field > last)
                continue;
            rows.push_back(*o.subject + " " + WallText(o.start) + ".." + WallText(o.end) + " (" +
                           std::to_string(o.minutes) + ")");
        }
        std::sort(rows.begin(), rows.end());
        return rows;
    }
};

std::vector<std::string> Difference(const std::vector<std::string>& a,
                                    const std::vector<std::string>& b)
{
    std::vector<std::string> out;
    std::set_difference(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(out));
    return out;
}

} // namespace

TEST_F(RecurrenceZonesTest, SeriesReadInEveryZoneAcrossEveryChangeShowTheirOwnTimes)
{
    const char* const makers[] = {"Europe/Berlin", "America/New_York"};
    // East and west of the makers, with and without daylight saving, north and south.
    const char* const readers[] = {"Europe/Berlin",      "America/New_York", "America/Los_Angeles",
                                   "Pacific/Kiritimati", "Australia/Sydney", "America/Santiago"};
    std::vector<std::unique_ptr<ZoneRules>> zones;
    const auto rules = [&](const char* id) -> const ZoneRules& {
        zones.push_back(std::make_unique<ZoneRules>(id));
        EXPECT_TRUE(zones.back()->Valid()) << id;
        return *zones.back();
    };
    std::vector<MadeSeries> made;
    for (const char* maker : makers)
        MakeSeries(maker, rules(maker), made);
    // Windows of a week that end or start on the day before, of or after each change of
    // every zone here.
    std::vector<std::pair<const char*, const ZoneRules*>> readerRules;
    std::set<std::pair<ch::sys_days, ch::sys_days>> windows;
    for (const char* reader : readers) {
        const ZoneRules& zone = rules(reader);
        readerRules.emplace_back(reader, &zone);
        for (const auto c : zone.ChangeDays(Instant{kFirstDay}, Instant{kLastDay})) {
            for (int shift = -1; shift <= 1; ++shift) {
                const auto day = c + ch::days{shift};
                windows.emplace(day - ch::days{6}, day);
                windows.emplace(day, day + ch::days{6});
            }
        }
    }
    ASSERT_GE(windows.size(), 16u * 4);
    Columns();
    std::size_t rows = 0;
    for (const auto& [reader, zone] : readerRules) {
        Zone(reader);
        const auto shown = AsShown(made, *zone);
        for (const auto& [from, to] : windows) {
            for (const trDateField eField : {trStartDate, trEndDate}) {
                const auto expected = Expected(shown, eField, from, to);
                const auto got = Read(eField, from, to);
                rows += expected.size();
                EXPECT_THAT(Difference(expected, got), ::testing::IsEmpty())
                    << "missing in " << reader << (eField == trStartDate ? " by start" : " by end")
                    << " from " << WallText(WallAt(from, 0));
                EXPECT_THAT(Difference(got, expected), ::testing::IsEmpty())
                    << "extra in " << reader << (eField == trStartDate ? " by start" : " by end")
                    << " from " << WallText(WallAt(from, 0));
            }
        }
    }
    EXPECT_GT(rows, 10000u);
}

} // namespace engine::test
