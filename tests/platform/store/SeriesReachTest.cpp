#include "platform/store/KnownProperties.h"
#include "platform/store/StoreBuilder.h"
#include "tests/platform/store/StoreFixture.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace platform::store::test {

namespace {

RecurrencePattern Weekly(CivilDate first, std::optional<CivilDate> last)
{
    RecurrencePattern p;
    p.type = RecurrenceType::Weekly;
    p.interval = 1;
    p.dayOfWeekMask = 1 << WeekdayOfDay(DayFromCivil(first));
    p.startMinute = 9 * 60;
    p.durationMinutes = 60;
    p.patternStartDay = DayFromCivil(first);
    p.end = last ? RecurrenceEnd::ByDate : RecurrenceEnd::Never;
    if (last)
        p.patternEndDay = DayFromCivil(*last);
    return p;
}

/// What a file made before the series kept their reach holds.
constexpr const char* kWithoutReach =
    "DROP TRIGGER recurrence_reach_insert; DROP TRIGGER recurrence_reach_update; "
    "DROP TRIGGER recurrence_reach_delete; DROP TRIGGER exceptions_reach_insert; "
    "DROP TRIGGER exceptions_reach_update; DROP TRIGGER exceptions_reach_delete; "
    "DROP INDEX items_reach; ALTER TABLE items DROP COLUMN reach_start; "
    "ALTER TABLE items DROP COLUMN reach_end; DELETE FROM meta WHERE key = 'series_reach';";

/// A calendar of series around March 2025 in a store file of its own, read for March with
/// the series asked for beside the items of the window.
class SeriesReachTest : public StoreFixture
{
protected:
    void Build()
    {
        auto store = Store::Create(File(), "S", StoreKind::UnicodePersonal);
        StoreBuilder b(*store);
        m_folder = b.Folder("Kalender", ItemType::Appointment).entryId;
        m_start = b.NamedTag(NamedProperty::Lid(PSETID_Appointment, props::LID_AppointmentStart),
                             PT_SYSTIME);
        m_recurring =
            b.NamedTag(NamedProperty::Lid(PSETID_Appointment, props::LID_Recurring), PT_BOOLEAN);
        const auto series = [&](const std::string& name, CivilDate first,
                                std::optional<CivilDate> last) {
            const auto start = MakeLocalTime(first.year, first.month, first.day, 9);
            auto item = b.Appointment(m_folder, name, start, LocalTime{start.seconds + 3600});
            item.Recur(Weekly(first, last));
            m_ids[name] = item.EntryId();
            return item;
        };
        series("over before", {2024, 10, 7}, CivilDate{2025, 2, 10});
        series("never over", {2020, 1, 6}, std::nullopt);
        series("begins after", {2025, 5, 5}, std::nullopt);
        OccurrenceChange later;
        later.start = MakeLocalTime(2025, 3, 12, 15);
        later.end = MakeLocalTime(2025, 3, 12, 16);
        series("moved into it", {2024, 11, 6}, CivilDate{2025, 1, 29})
            .ModifyOccurrence({2025, 1, 15}, later);
        // Enough single items that the read goes through the indexes, not a walk.
        for (int day = 1; day <= 28; ++day)
            for (int month = 1; month <= 6; ++month)
                b.Appointment(m_folder, "single", MakeLocalTime(2025, month, day, 12),
                              MakeLocalTime(2025, month, day, 13));
    }

    std::filesystem::path File() const { return Dir() / "s.db"; }

    /// The series of the March read, by name.
    std::vector<std::string> MarchSeries(const Store& store) const
    {
        const ValueRange ranges[] = {{m_start, Utc(2025, 3, 1), Utc(2025, 4, 1) - 1},
                                     {m_recurring, 1, 1}};
        const ValueRange window{m_start, Utc(2025, 3, 1), Utc(2025, 4, 1) - 1};
        std::vector<std::string> names;
        for (const auto& row :
             store.ReadTableInRanges(m_folder, std::vector<PropTag>{}, ranges, window))
            for (const auto& [name, id] : m_ids)
                if (row.item.entryId == id)
                    names.push_back(name);
        std::sort(names.begin(), names.end());
        return names;
    }

    static std::int64_t Utc(int y, int m, int d)
    {
        return LocalToUtc(MakeLocalTime(y, m, d)).seconds;
    }

    std::string m_folder;
    PropTag m_start = 0, m_recurring = 0;
    std::map<std::string, std::string> m_ids;
};

const std::vector<std::string> kReaching{"moved into it", "never over"};
const std::vector<std::string> kEvery{"begins after", "moved into it", "never over", "over before"};

} // namespace

// A file without the series' reach gets it when opened: its reads then leave out the series
// that cannot reach the window, as those of a file made with it do.
TEST_F(SeriesReachTest, AnOlderFileGetsTheReachOnOpen)
{
    Build();
    EXPECT_EQ(MarchSeries(*Store::Open(File())), kReaching);
    Exec(File(), kWithoutReach);
    {
        const ReadOnlyFile unwritableFile(File());
        if (!unwritableFile.Held())
            GTEST_SKIP() << "no file can be made read-only here";
        EXPECT_EQ(MarchSeries(*Store::Open(File())), kEvery);
    }
    EXPECT_EQ(MarchSeries(*Store::Open(File())), kReaching);
}

// Whatever program changes a pattern or an exception, the series is read again until its
// reach is known anew; a pattern written through the store is known at once.
TEST_F(SeriesReachTest, ChangedPatternsAreReadAgain)
{
    Build();
    const auto id = [&](const char* name) {
        return std::to_string(std::stoll(m_ids.at(name).substr(42), nullptr, 16));
    };
    // Another program ends "over before" later and adds a deleted occurrence to "begins
    // after": both may reach March now.
    Exec(File(),
         "UPDATE recurrence SET end_date = '2025-06-30' WHERE item_id = " + id("over before"));
    EXPECT_EQ(MarchSeries(*Store::Open(File())),
              (std::vector<std::string>{"moved into it", "never over", "over before"}));
    Exec(File(), "INSERT INTO exceptions(item_id, original_date, deleted) VALUES(" +
                     id("begins after") + ", '2025-05-12', 1)");
    EXPECT_EQ(MarchSeries(*Store::Open(File())), kEvery);

    auto store = Store::Open(File());
    auto pattern = *store->GetRecurrence(m_ids.at("over before"));
    pattern.patternEndDay = DayFromCivil({2025, 1, 27});
    store->SetRecurrence(m_ids.at("over before"), pattern);
    EXPECT_EQ(MarchSeries(*store),
              (std::vector<std::string>{"begins after", "moved into it", "never over"}));
    store->SetRecurrence(m_ids.at("begins after"), Weekly({2025, 5, 5}, std::nullopt));
    EXPECT_EQ(MarchSeries(*store), kReaching);
    // Moved to begin in March.
    store->SetRecurrence(m_ids.at("begins after"), Weekly({2025, 3, 3}, std::nullopt));
    EXPECT_EQ(MarchSeries(*store),
              (std::vector<std::string>{"begins after", "moved into it", "never over"}));
    // Without a pattern an item is one of its own start (in 2020).
    store->ClearRecurrence(m_ids.at("never over"));
    EXPECT_EQ(MarchSeries(*store), (std::vector<std::string>{"begins after", "moved into it"}));
}

// A reach that another program damaged is written anew when the store is opened: one that
// no longer holds its series' first day or its last occurrence, NULL, not a number or
// reversed would leave out series that reach the window.
TEST_F(SeriesReachTest, DamagedReachesAreWrittenAnewOnOpen)
{
    Build();
    const auto id = [&](const char* name) {
        return std::to_string(std::stoll(m_ids.at(name).substr(42), nullptr, 16));
    };
    const auto utc = [](int y, int m, int d) { return std::to_string(Utc(y, m, d)); };
    const std::pair<std::string, std::string> damages[] = {
        {"begins after its first day",
         "UPDATE items SET reach_start = " + utc(2025, 4, 1) + " WHERE id = " + id("never over")},
        {"ends before a moved occurrence",
         "UPDATE items SET reach_end = " + utc(2025, 2, 1) + " WHERE id = " + id("moved into it")},
        {"NULL", "UPDATE items SET reach_start = NULL, reach_end = NULL WHERE reach_end IS NOT "
                 "NULL"},
        {"start NULL", "UPDATE items SET reach_start = NULL WHERE id = " + id("never over")},
        {"not a number", "UPDATE items SET reach_start = 'früh' WHERE id = " + id("moved into it")},
        {"reversed", "UPDATE items SET reach_start = reach_end, reach_end = reach_start WHERE id "
                     "= " +
                         id("moved into it")},
        {"an endless series ends",
         "UPDATE items SET reach_end = " + utc(2025, 2, 27) + " WHERE id = " + id("never over")},
    };
    for (const auto& [what, sql] : damages) {
        SCOPED_TRACE(what);
        const auto file = Dir() / (what + ".db");
        std::filesystem::copy_file(File(), file);
        Exec(file, sql);
        {
            // A file that cannot be written keeps its damaged reaches and reads every series.
            const ReadOnlyFile unwritableFile(file);
            if (unwritableFile.Held()) {
                EXPECT_EQ(MarchSeries(*Store::Open(file)), kEvery) << "read-only";
            }
        }
        EXPECT_EQ(MarchSeries(*Store::Open(file)), kReaching);
    }
}

// An item without a pattern that keeps a reach loses it on open, and the triggers another
// program dropped are made again, so that its later changes are seen.
TEST_F(SeriesReachTest, StrayReachesAndDroppedTriggersAreMendedOnOpen)
{
    Build();
    const auto id = [&](const char* name) {
        return std::to_string(std::stoll(m_ids.at(name).substr(42), nullptr, 16));
    };
    Exec(File(), "UPDATE items SET reach_start = 0, reach_end = 1 WHERE id = (SELECT MAX(id) "
                 "FROM items); DROP TRIGGER recurrence_reach_update");
    EXPECT_EQ(MarchSeries(*Store::Open(File())), kReaching);
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(File().c_str(), &raw), SQLITE_OK);
    sqlite3_stmt* st = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(raw,
                                 "SELECT COUNT(*) FROM items i WHERE i.reach_end IS NOT NULL AND "
                                 "NOT EXISTS (SELECT 1 FROM recurrence r WHERE r.item_id = i.id)",
                                 -1, &st, nullptr),
              SQLITE_OK);
    ASSERT_EQ(sqlite3_step(st), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(st, 0), 0);
    sqlite3_finalize(st);
    sqlite3_close(raw);
    Exec(File(),
         "UPDATE recurrence SET end_date = '2025-06-30' WHERE item_id = " + id("over before"));
    EXPECT_EQ(MarchSeries(*Store::Open(File())),
              (std::vector<std::string>{"moved into it", "never over", "over before"}));
}

} // namespace platform::store::test
