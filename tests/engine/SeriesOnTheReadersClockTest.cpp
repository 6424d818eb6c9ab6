#include "ReadFixture.h"

#include "engine/Filter.h"

#include "platform/store/RecurrencePattern.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include <unistd.h>

// Series whose store records no zone (removed from the store, as in a file written before the
// zone was kept) and series made in a zone the zone data does not know, made in zones east and
// west of every reader, read in five zones over 2026 and 2027. Such a series stands on the
// reader's clock; the expected rows come from a Python script that expands each pattern with
// the standard library's calendar, apart from the code under test.

namespace engine::test {

namespace {

using ::testing::ElementsAreArray;

struct Day
{
    int year, month, day;
};

/// One series of the table, in every walk kind.
struct SeriesSpec
{
    const char* name;
    st::RecurrenceType type;
    int interval;
    int mask;
    int dayOfMonth;
    int monthOfYear;
    int instance;
    Day start;
    int startMinute;
    int minutes;
    st::RecurrenceEnd end = st::RecurrenceEnd::Never;
    Day endDay = {0, 0, 0};
    int count = 0;
    std::vector<Day> deleted = {};
};

std::vector<SeriesSpec> Table()
{
    using T = st::RecurrenceType;
    using E = st::RecurrenceEnd;
    return {
        {"every third night", T::Daily, 3, 0, 0, 0, 0, {2025, 12, 30}, 23 * 60 + 30, 60},
        {"forty mornings", T::Daily, 1, 0, 0, 0, 0, {2026, 3, 20}, 7 * 60, 90, E::ByCount, {}, 40},
        {"weekly all day", T::Daily, 7, 0, 0, 0, 0, {2026, 1, 5}, 0, 24 * 60, E::ByCount, {}, 30},
        {"fortnightly Saturday", T::Weekly, 2, st::kSaturday, 0, 0, 0, {2026, 1, 3}, 20 * 60, 120},
        {"Mon Wed Fri early",
         T::Weekly,
         1,
         st::kMonday | st::kWednesday | st::kFriday,
         0,
         0,
         0,
         {2025, 11, 5},
         5 * 60 + 30,
         45},
        {"every third Sunday night",
         T::Weekly,
         3,
         st::kSunday,
         0,
         0,
         0,
         {2026, 1, 4},
         22 * 60,
         10 * 60},
        {"Tue Thu, first deleted",
         T::Weekly,
         1,
         st::kTuesday | st::kThursday,
         0,
         0,
         0,
         {2026, 1, 6},
         21 * 60,
         60,
         E::Never,
         {},
         0,
         {{2026, 1, 6}}},
        {"monthly 15th night", T::Monthly, 1, 0, 15, 0, 0, {2025, 6, 15}, 22 * 60, 60},
        {"monthly 31st for 100 days",
         T::Monthly,
         1,
         0,
         31,
         0,
         0,
         {2025, 10, 31},
         23 * 60 + 30,
         100 * 24 * 60},
        {"every other month's 1st",
         T::Monthly,
         2,
         0,
         1,
         0,
         0,
         {2026, 1, 1},
         3 * 60 + 30,
         60,
         E::ByDate,
         {2027, 6, 30}},
        {"last Friday late", T::MonthNth, 1, st::kFriday, 0, 0, 5, {2025, 12, 26}, 23 * 60, 60},
        {"second Sunday after midnight",
         T::MonthNth,
         1,
         st::kSunday,
         0,
         0,
         2,
         {2026, 1, 11},
         30,
         4 * 60},
        {"first weekday", T::MonthNth, 1, 62, 0, 0, 1, {2026, 1, 1}, 6 * 60, 30},
        {"29 February at noon", T::Yearly, 12, 0, 29, 2, 0, {2024, 2, 29}, 12 * 60, 60},
        {"new year's eve", T::Yearly, 12, 0, 31, 12, 0, {2025, 12, 31}, 23 * 60, 120},
        {"first Sunday of November", T::YearNth, 12, st::kSunday, 0, 11, 1, {2025, 11, 2}, 90, 60},
        // Patterns that start before their first occurrence day.
        {"monthly 5th from the 20th", T::Monthly, 1, 0, 5, 0, 0, {2025, 12, 20}, 10 * 60, 30},
        {"last Friday from the Saturday after",
         T::MonthNth,
         1,
         st::kFriday,
         0,
         0,
         5,
         {2025, 12, 27},
         19 * 60,
         60},
        {"10 July from January", T::Yearly, 12, 0, 10, 7, 0, {2026, 1, 1}, 18 * 60, 60},
        {"third Wednesday of June from March",
         T::YearNth,
         12,
         st::kWednesday,
         0,
         6,
         3,
         {2026, 3, 15},
         9 * 60,
         60},
    };
}

/// Where the series are made: east and west of every reader, with half-hour and 45-minute
/// offsets.
const char* const kMakers[] = {"Europe/Berlin",      "America/New_York",    "Asia/Tokyo",
                               "Pacific/Kiritimati", "Australia/Lord_Howe", "Asia/Kathmandu",
                               "Pacific/Pago_Pago"};
const char* const kReaders[] = {"Europe/Berlin", "America/New_York", "Asia/Tokyo",
                                "Pacific/Kiritimati", "Australia/Lord_Howe"};
/// The windows: both years; a month for the walks' skips; the weeks of autumn's changes.
const std::pair<Day, Day> kWindows[] = {
    {{2026, 1, 1}, {2027, 12, 31}}, {{2027, 3, 1}, {2027, 3, 31}}, {{2026, 10, 24}, {2026, 11, 8}}};
constexpr const char* kUnknownZone = "Mars/Olympus_Mons";

std::string DayText(const Day& d)
{
    char s[16];
    std::snprintf(s, sizeof s, "%04d-%02d-%02d", d.year, d.month, d.day);
    return s;
}

/// (reader, window, field) of a read.
using ReadKey = std::tuple<std::string, int, std::string>;

class SeriesOnTheReadersClockTest : public ReadFixture
{
protected:
    void TearDown() override
    {
        SetZone("Europe/Berlin");
        ReadFixture::TearDown();
    }

    // Makes a series in the process's zone; answers the script's line for it.
    std::string Make(const SeriesSpec& s, const std::string& sSubject, bool bUnknownZone)
    {
        st::RecurrencePattern p;
        p.type = s.type;
        p.interval = s.interval;
        p.dayOfWeekMask = s.mask;
        p.dayOfMonth = s.dayOfMonth;
        p.monthOfYear = s.monthOfYear;
        p.instance = s.instance;
        p.startMinute = s.startMinute;
        p.durationMinutes = s.minutes;
        p.patternStartDay = st::DayFromCivil({s.start.year, s.start.month, s.start.day});
        p.end = s.end;
        if (s.end == st::RecurrenceEnd::ByDate)
            p.patternEndDay = st::DayFromCivil({s.endDay.year, s.endDay.month, s.endDay.day});
        p.occurrenceCount = s.count;
        if (bUnknownZone)
            p.timeZone = kUnknownZone;
        // The master starts at the pattern's first occurrence, as the client makes it.
        const auto first = p.FirstOnOrAfter(p.patternStartDay);
        EXPECT_TRUE(first.has_value()) << sSubject;
        const st::LocalTime start{st::StartOfDay(first.value_or(p.patternStartDay)).seconds +
                                  s.startMinute * 60L};
        auto item = B().Appointment(m_calendar.entryId, sSubject, start,
                                    st::LocalTime{start.seconds + s.minutes * 60L});
        item.Recur(p);
        std::string sDeleted;
        for (const auto& d : s.deleted) {
            item.DeleteOccurrence({d.year, d.month, d.day});
            sDeleted += (sDeleted.empty() ? "" : ",") + DayText(d);
        }
        const std::string sEnd =
            s.end == st::RecurrenceEnd::ByDate ? DayText(s.endDay) : std::to_string(s.count);
        std::ostringstream line;
        line << "S\t" << sSubject << '\t' << static_cast<int>(s.type) << '\t' << s.interval << '\t'
             << s.mask << '\t' << s.dayOfMonth << '\t' << s.monthOfYear << '\t' << s.instance
             << '\t' << DayText(s.start) << '\t' << s.startMinute << '\t' << s.minutes << '\t'
             << static_cast<int>(s.end) << '\t' << sEnd << '\t'
             << (sDeleted.empty() ? "-" : sDeleted) << '\n';
        return line.str();
    }

    // The rows the script expects, by read.
    static std::map<ReadKey, std::vector<std::string>> Expected(const std::string& sInput)
    {
        const auto dir = std::filesystem::temp_directory_path();
        const auto input = dir / ("tv-clock-" + std::to_string(getpid()) + ".txt");
        std::ofstream(input) << sInput;
        const char* sRoot = std::getenv("TV_SOURCE_DIR");
        const std::string command = "python3 '" + std::string(sRoot ? sRoot : ".") +
                                    "/tests/engine/series_on_the_readers_clock.py' '" +
                                    input.string() + "'";
        std::map<ReadKey, std::vector<std::string>> rows;
        FILE* pipe = popen(command.c_str(), "r");
        EXPECT_NE(pipe, nullptr);
        if (!pipe)
            return rows;
        std::string sOut;
        char buffer[4096];
        while (std::fgets(buffer, sizeof buffer, pipe) != nullptr)
            sOut += buffer;
        EXPECT_EQ(pclose(pipe), 0) << "the script failed: " << command;
        std::filesystem::remove(input);
        std::istringstream lines(sOut);
        std::string sLine;
        while (std::getline(lines, sLine)) {
            std::vector<std::string> f;
            std::istringstream parts(sLine);
            for (std::string p; std::getline(parts, p, '\t');)
                f.push_back(p);
            if (f.size() != 8 || f[0] != "E") {
                ADD_FAILURE() << "unexpected line: " << sLine;
                continue;
            }
            rows[{f[1], std::stoi(f[2]), f[3]}].push_back(f[4] + " " + f[5] + ".." + f[6] + " (" +
                                                          f[7] + ")");
        }
        for (auto& [key, list] : rows)
            std::sort(list.begin(), list.end());
        return rows;
    }

    // "subject start..end (duration)" of every record read, sorted.
    std::vector<std::string> Read(trDateField eField, const Day& from, const Day& to)
    {
        if (Root().Records()->FieldCount() == 0) {
            SubjectColumn();
            Column("Start", 0, PT_SYSTIME, 3);
            Column("End", 0, PT_SYSTIME, 4);
            Column("Duration", 0, PT_LONG, 5);
        }
        Root().Records()->Filter()->SetTimeCondition(
            eField, trTimeBetween, rt::Variant(At(from.year, from.month, from.day)),
            rt::Variant(At(to.year, to.month, to.day)));
        FolderDataList list;
        list.Add(Entry(m_calendar));
        Root().ReadRecords(list);
        std::vector<std::string> rows;
        for (const auto& r : *Root().Records()) {
            const rt::Variant& vDuration = r->Fields(rt::Variant("Duration"))->Value();
            const auto* pMinutes = vDuration.Get<std::int32_t>();
            rows.push_back(Text(r->Fields(rt::Variant("Subject"))->Value()) + " " +
                           Format(r->Fields(rt::Variant("Start"))->Value()) + ".." +
                           Format(r->Fields(rt::Variant("End"))->Value()) + " (" +
                           (pMinutes ? std::to_string(*pMinutes) : "?") + ")");
        }
        std::sort(rows.begin(), rows.end());
        return rows;
    }
};

} // namespace

TEST_F(SeriesOnTheReadersClockTest, SeriesWithoutAKnownZoneStandOnTheReadersClockInEveryZone)
{
    std::string sInput;
    for (const char* maker : kMakers) {
        SetZone(maker);
        for (const auto& s : Table()) {
            sInput += Make(s, std::string(maker) + " " + s.name + ", no zone", false);
            sInput += Make(s, std::string(maker) + " " + s.name + ", " + kUnknownZone, true);
        }
    }
    // The store forgets the zones it recorded, as a file written before it kept them.
    ExecOnStore(std::string("UPDATE recurrence SET time_zone = NULL WHERE time_zone <> '") +
                kUnknownZone + "'");
    for (const char* reader : kReaders)
        sInput += std::string("R\t") + reader + "\n";
    for (const auto& [from, to] : kWindows)
        sInput += "W\t" + DayText(from) + "\t" + DayText(to) + "\n";
    const auto expected = Expected(sInput);
    ASSERT_FALSE(expected.empty());
    for (const char* reader : kReaders) {
        SetZone(reader);
        for (int w = 0; w < static_cast<int>(std::size(kWindows)); ++w) {
            for (const trDateField eField : {trStartDate, trEndDate}) {
                const std::string sField = eField == trStartDate ? "start" : "end";
                SCOPED_TRACE(std::string(reader) + ", window " + std::to_string(w) + " by " +
                             sField);
                const auto at = expected.find({reader, w, sField});
                const std::vector<std::string> none;
                EXPECT_THAT(Read(eField, kWindows[w].first, kWindows[w].second),
                            ElementsAreArray(at == expected.end() ? none : at->second));
            }
        }
    }
}

} // namespace engine::test
