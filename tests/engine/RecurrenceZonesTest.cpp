#include "ReadFixture.h"

#include "engine/Filter.h"

#include "platform/runtime/Conversion.h"
#include "platform/store/RecurrencePattern.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <unicode/basictz.h>
#include <unicode/timezone.h>
#include <unicode/tztrans.h>
#include <unicode/unistr.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

// Series made in zones east and west of their readers, with and without daylight saving,
// north and south, read by windows on either date field. The expected rows come from the
// test's own calendar (std::chrono) for the days, and from Python's zoneinfo over the system's
// zone data for every instant and wall-clock time (zone_oracle.py beside this file), apart
// from the library the code under test reads the same files with.

namespace engine::test {

namespace {

using Wall = ch::local_seconds; ///< a wall-clock time of some zone
using Instant = ch::sys_seconds;

std::string OraclePath()
{
    const char* source = std::getenv("TV_SOURCE_DIR");
    return std::string(source && *source ? source : TV_SOURCE_DIR_FALLBACK) +
           "/tests/engine/zone_oracle.py";
}

/// The answers of zone_oracle.py to questions, one a line, asked in one run of the script.
std::vector<std::string> AskZoneData(const std::vector<std::string>& questions)
{
    if (questions.empty())
        return {};
    char name[] = "/tmp/tv-zone-questions-XXXXXX";
    const int fd = mkstemp(name);
    EXPECT_GE(fd, 0);
    if (fd < 0)
        return {};
    close(fd);
    {
        std::ofstream out(name);
        for (const auto& q : questions)
            out << q << "\n";
    }
    std::vector<std::string> answers;
    if (FILE* pipe = popen(("python3 '" + OraclePath() + "' < '" + name + "'").c_str(), "r")) {
        std::string line;
        char buffer[1 << 16];
        while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
            line += buffer;
            if (!line.empty() && line.back() == '\n') {
                line.pop_back();
                answers.push_back(std::move(line));
                line.clear();
            }
        }
        EXPECT_EQ(pclose(pipe), 0) << "zone_oracle.py failed";
    }
    std::remove(name);
    EXPECT_EQ(answers.size(), questions.size()) << "zone_oracle.py gave too few answers";
    answers.resize(questions.size(), "?");
    return answers;
}

std::int64_t Number(const std::string& answer, const std::string& question)
{
    EXPECT_NE(answer, "?") << "the zone data holds no zone for " << question;
    return answer == "?" ? 0 : std::stoll(answer);
}

/// The instants of wall-clock times of a zone: a time the zone repeats is the earlier instant,
/// one it skips is read with the offset from before the change.
std::vector<Instant> InstantsOf(const std::vector<std::pair<std::string, Wall>>& walls)
{
    std::vector<std::string> questions;
    questions.reserve(walls.size());
    for (const auto& [zone, wall] : walls)
        questions.push_back("I " + zone + " " + std::to_string(wall.time_since_epoch().count()));
    const auto answers = AskZoneData(questions);
    std::vector<Instant> instants;
    instants.reserve(walls.size());
    for (std::size_t i = 0; i < answers.size(); ++i)
        instants.push_back(Instant{ch::seconds{Number(answers[i], questions[i])}});
    return instants;
}

/// The wall-clock times of instants in a zone.
std::vector<Wall> WallsOf(const std::string& zone, const std::vector<Instant>& instants)
{
    std::vector<std::string> questions;
    questions.reserve(instants.size());
    for (const auto t : instants)
        questions.push_back("W " + zone + " " + std::to_string(t.time_since_epoch().count()));
    const auto answers = AskZoneData(questions);
    std::vector<Wall> walls;
    walls.reserve(instants.size());
    for (std::size_t i = 0; i < answers.size(); ++i)
        walls.push_back(Wall{ch::seconds{Number(answers[i], questions[i])}});
    return walls;
}

/// The days (by the zone's calendar) on which it changes its offset, from `from` to before
/// `to`.
std::vector<ch::sys_days> ChangeDays(const std::string& zone, Instant from, Instant to)
{
    const auto question = "C " + zone + " " + std::to_string(from.time_since_epoch().count()) +
                          " " + std::to_string(to.time_since_epoch().count());
    const auto answer = AskZoneData({question}).front();
    EXPECT_NE(answer, "?") << question;
    std::vector<Instant> before;
    std::istringstream in(answer == "?" ? std::string() : answer);
    for (std::int64_t t = 0; in >> t;)
        before.push_back(Instant{ch::seconds{t - 1}});
    std::vector<ch::sys_days> days;
    for (const auto wall : WallsOf(zone, before))
        days.push_back(ch::sys_days{ch::floor<ch::days>(wall.time_since_epoch())});
    return days;
}

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

/// One occurrence on its series' clock, and its instants.
struct Occurrence
{
    Wall start;
    Wall end;
    int minutes; ///< the Duration it reads
    Instant startUtc{};
    Instant endUtc{};
};

/// A series as made: its subject, the zone it was made in and its occurrences on its clock.
struct MadeSeries
{
    std::string subject;
    std::string zone;
    std::vector<Occurrence> occurrences;
};

/// The instants of every occurrence's start and end, asked of the zone data at once.
void Resolve(std::vector<MadeSeries>& made)
{
    std::vector<std::pair<std::string, Wall>> walls;
    for (const auto& m : made)
        for (const auto& o : m.occurrences) {
            walls.emplace_back(m.zone, o.start);
            walls.emplace_back(m.zone, o.end);
        }
    const auto instants = InstantsOf(walls);
    auto at = instants.begin();
    for (auto& m : made)
        for (auto& o : m.occurrences) {
            o.startUtc = *at++;
            o.endUtc = *at++;
        }
}

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

    // Makes the series in the process's zone, the maker's.
    void MakeSeries(const std::string& maker, const std::vector<SeriesSpec>& series,
                    std::vector<MadeSeries>& made)
    {
        Zone(maker.c_str());
        std::vector<ch::sys_days> changes;
        if (std::any_of(series.begin(), series.end(), [](const auto& s) { return s.moves; }))
            changes = ChangeDays(maker, Instant{kFirstDay}, Instant{kLastDay + ch::days{1}});
        for (const auto& s : series) {
            MadeSeries m{maker + " " + s.name, maker, {}};
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
    static std::vector<Shown> AsShown(const std::vector<MadeSeries>& made,
                                      const std::string& reader)
    {
        std::vector<Instant> instants;
        for (const auto& m : made)
            for (const auto& o : m.occurrences) {
                instants.push_back(o.startUtc);
                instants.push_back(o.endUtc);
            }
        const auto walls = WallsOf(reader, instants);
        std::vector<Shown> shown;
        auto at = walls.begin();
        for (const auto& m : made)
            for (const auto& o : m.occurrences) {
                const Wall start = *at++;
                shown.push_back({&m.subject, start, *at++, o.minutes});
            }
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
    std::vector<MadeSeries> made;
    for (const char* maker : makers)
        MakeSeries(maker, AllSeries(), made);
    Resolve(made);
    // Windows of a week that end or start on the day before, of or after each change of
    // every zone here.
    std::set<std::pair<ch::sys_days, ch::sys_days>> windows;
    for (const char* reader : readers) {
        for (const auto c : ChangeDays(reader, Instant{kFirstDay}, Instant{kLastDay})) {
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
    for (const char* reader : readers) {
        Zone(reader);
        const auto shown = AsShown(made, reader);
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

namespace {

/// ICU's own zone data (which the system reads for no instant) against the system's: the
/// offset at `from`, then "instant:offset" at each change of the offset before `to`, as
/// zone_oracle.py's S answer spells it; empty for a zone ICU does not know.
std::string IcuRules(const std::string& name, Instant from, Instant to)
{
    const auto id = icu::UnicodeString::fromUTF8(name);
    std::unique_ptr<icu::TimeZone> zone(icu::TimeZone::createTimeZone(id));
    auto* rules = dynamic_cast<icu::BasicTimeZone*>(zone.get());
    icu::UnicodeString got;
    if (!rules || zone->getID(got) == icu::UnicodeString("Etc/Unknown"))
        return {};
    const auto offsetAt = [&](UDate at) {
        std::int32_t raw = 0, dst = 0;
        UErrorCode status = U_ZERO_ERROR;
        zone->getOffset(at, false, raw, dst, status);
        return (raw + dst) / 1000;
    };
    const UDate end = static_cast<UDate>(to.time_since_epoch().count()) * 1000.0;
    UDate at = static_cast<UDate>(from.time_since_epoch().count()) * 1000.0;
    std::int32_t offset = offsetAt(at);
    std::string text = std::to_string(offset);
    icu::TimeZoneTransition transition;
    while (rules->getNextTransition(at, false, transition) && transition.getTime() < end) {
        at = transition.getTime();
        const std::int32_t next = offsetAt(at);
        if (next != offset)
            text += " " + std::to_string(static_cast<std::int64_t>(at / 1000.0)) + ":" +
                    std::to_string(next);
        offset = next;
    }
    return text;
}

/// A fixed sample of zones besides those whose rules ICU's data has wrong: east and west,
/// north and south, whole, half-hour and 45-minute offsets, daylight saving by an hour, by half
/// an hour, by two hours and below standard time, changes at midnight and none at all.
const char* const kSampleZones[] = {
    "Europe/Berlin",       "Europe/London",      "Europe/Dublin",       "Europe/Lisbon",
    "Europe/Moscow",       "Europe/Istanbul",    "Europe/Chisinau",     "Africa/Casablanca",
    "Africa/Johannesburg", "Africa/Lagos",       "Asia/Tokyo",          "Asia/Kolkata",
    "Asia/Kathmandu",      "Asia/Tehran",        "Asia/Jerusalem",      "Asia/Beirut",
    "Asia/Shanghai",       "Asia/Kabul",         "Asia/Yangon",         "Asia/Dhaka",
    "Australia/Sydney",    "Australia/Adelaide", "Australia/Lord_Howe", "Australia/Eucla",
    "Pacific/Auckland",    "Pacific/Chatham",    "Pacific/Kiritimati",  "Pacific/Pago_Pago",
    "Pacific/Honolulu",    "Pacific/Marquesas",  "America/New_York",    "America/Los_Angeles",
    "America/St_Johns",    "America/Havana",     "America/Santiago",    "America/Sao_Paulo",
    "America/Caracas",     "Atlantic/Azores",    "Antarctica/Troll",    "Asia/Colombo",
};

/// The four walks, at times that fall into some zone's changes: the skipped and repeated
/// hours of European and American zones, changes at midnight, and an end past midnight.
std::vector<SeriesSpec> MatrixSeries()
{
    using T = st::RecurrenceType;
    return {
        {"daily", T::Daily, 1, 0, 0, 0, 2 * 60 + 30, 60},
        {"Sundays", T::Weekly, 1, st::kSunday, 0, 0, 30, 90},
        {"month end", T::Monthly, 1, 0, 31, 0, 23 * 60 + 30, 120},
        {"last Sunday", T::MonthNth, 1, st::kSunday, 0, 5, 90, 45},
    };
}

} // namespace

TEST_F(RecurrenceZonesTest, SeriesOfEveryZoneWhoseRulesChangedAndOfASampleReadInFiveZones)
{
    // Every zone name of the system's zone data whose offsets in 2026-2027 ICU's older data
    // has otherwise (or does not know), and the fixed sample; TV_ZONE_MATRIX=all takes every
    // zone name.
    const Instant from{kFirstDay - ch::days{2}};
    const Instant to{kLastDay + ch::days{3}};
    const auto names = AskZoneData({"N"}).front();
    std::vector<std::string> all;
    std::istringstream words(names);
    for (std::string name; words >> name;)
        if (name != "localtime") // the host's own setting, no zone's name
            all.push_back(name);
    ASSERT_GT(all.size(), 300u);
    std::vector<std::string> questions;
    for (const auto& name : all)
        questions.push_back("S " + name + " " + std::to_string(from.time_since_epoch().count()) +
                            " " + std::to_string(to.time_since_epoch().count()));
    const auto system = AskZoneData(questions);
    std::set<std::string> zones(std::begin(kSampleZones), std::end(kSampleZones));
    const char* every = std::getenv("TV_ZONE_MATRIX");
    std::vector<std::string> changed;
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (IcuRules(all[i], from, to) != system[i])
            changed.push_back(all[i]);
        if (every && std::string(every) == "all")
            zones.insert(all[i]);
    }
    zones.insert(changed.begin(), changed.end());
    std::string changedList;
    for (const auto& name : changed)
        changedList += " " + name;
    RecordProperty("ChangedZones", changedList);
    ASSERT_GE(zones.size(), 40u);

    std::vector<MadeSeries> made;
    for (const auto& zone : zones)
        MakeSeries(zone, MatrixSeries(), made);
    Resolve(made);
    Columns();
    std::size_t rows = 0;
    for (const char* reader : {"Europe/Berlin", "America/Mexico_City", "Asia/Kathmandu",
                               "Pacific/Kiritimati", "America/Santiago"}) {
        Zone(reader);
        const auto shown = AsShown(made, reader);
        for (const trDateField eField : {trStartDate, trEndDate}) {
            const auto expected = Expected(shown, eField, kFirstDay, kLastDay);
            const auto got = Read(eField, kFirstDay, kLastDay);
            rows += expected.size();
            const auto missing = Difference(expected, got);
            const auto extra = Difference(got, expected);
            EXPECT_THAT(missing, ::testing::IsEmpty())
                << missing.size() << " missing in " << reader
                << (eField == trStartDate ? " by start" : " by end");
            EXPECT_THAT(extra, ::testing::IsEmpty())
                << extra.size() << " extra in " << reader
                << (eField == trStartDate ? " by start" : " by end");
        }
    }
    EXPECT_GT(rows, zones.size() * 8 * 800);
}

} // namespace engine::test
