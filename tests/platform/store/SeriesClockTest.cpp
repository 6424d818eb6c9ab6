#include "platform/store/SeriesClock.h"
#include "platform/store/Store.h"
#include "platform/store/StoreBuilder.h"
#include "tests/platform/store/StoreFixture.h"

#include <gtest/gtest.h>

#include <string>

namespace platform::store::test {

namespace {

void SetTz(const char* tz)
{
    setenv("TZ", tz, 1);
    tzset();
}

RecurrencePattern Daily(CivilDate first)
{
    RecurrencePattern p;
    p.type = RecurrenceType::Daily;
    p.startMinute = 9 * 60;
    p.durationMinutes = 60;
    p.patternStartDay = DayFromCivil(first);
    return p;
}

using SeriesClockTest = StoreFixture;

} // namespace

TEST_F(SeriesClockTest, SeriesTimesKeepTheirInstantInTheReadersZone)
{
    const struct
    {
        const char* series;
        const char* reader;
        LocalTime seriesTime;
        LocalTime local;
    } cases[] = {
        {"Europe/Berlin", "Asia/Tokyo", MakeLocalTime(2027, 1, 4, 9),
         MakeLocalTime(2027, 1, 4, 17)},
        {"Europe/Berlin", "Asia/Tokyo", MakeLocalTime(2027, 7, 5, 9),
         MakeLocalTime(2027, 7, 5, 16)},
        // Repeated in Berlin: the earlier instant (still summer time).
        {"Europe/Berlin", "Asia/Tokyo", MakeLocalTime(2027, 10, 31, 2, 30),
         MakeLocalTime(2027, 10, 31, 9, 30)},
        // Skipped in Berlin: read with the winter offset from before the change.
        {"Europe/Berlin", "Asia/Tokyo", MakeLocalTime(2027, 3, 28, 2, 30),
         MakeLocalTime(2027, 3, 28, 10, 30)},
        // Los Angeles is on summer time two weeks before Berlin.
        {"Europe/Berlin", "America/Los_Angeles", MakeLocalTime(2027, 3, 15, 9),
         MakeLocalTime(2027, 3, 15, 1)},
        {"Europe/Berlin", "Pacific/Kiritimati", MakeLocalTime(2027, 1, 4, 20),
         MakeLocalTime(2027, 1, 5, 9)},
        {"America/Los_Angeles", "Europe/Berlin", MakeLocalTime(2027, 3, 20, 18),
         MakeLocalTime(2027, 3, 21, 2)},
        // Zones whose rules changed after 2022 (`TZ=Europe/Berlin date -d 'TZ="..." ...'`):
        // Mexico keeps no summer time, Almaty is on UTC+5, two zones are new.
        {"America/Mexico_City", "Europe/Berlin", MakeLocalTime(2027, 7, 3, 20),
         MakeLocalTime(2027, 7, 4, 4)},
        {"America/Ciudad_Juarez", "Europe/Berlin", MakeLocalTime(2027, 7, 3, 20),
         MakeLocalTime(2027, 7, 4, 4)},
        {"Asia/Almaty", "Europe/Berlin", MakeLocalTime(2027, 1, 4, 9),
         MakeLocalTime(2027, 1, 4, 5)},
        {"America/Coyhaique", "Europe/Berlin", MakeLocalTime(2027, 7, 5, 9),
         MakeLocalTime(2027, 7, 5, 14)},
        // The reader's own zone, however TZ spells it: the same times, but one the zone skips
        // shows as the time its instant has, as in every other zone.
        {"Europe/Berlin", ":Europe/Berlin", MakeLocalTime(2027, 7, 5, 9),
         MakeLocalTime(2027, 7, 5, 9)},
        {"Europe/Berlin", ":Europe/Berlin", MakeLocalTime(2027, 3, 28, 2, 30),
         MakeLocalTime(2027, 3, 28, 3, 30)},
        {"Europe/Berlin", "Europe/Berlin", MakeLocalTime(2027, 10, 31, 2, 30),
         MakeLocalTime(2027, 10, 31, 2, 30)},
        // Unknown zones and none: the reader's clock, skipped times as in the reader's zone.
        {"Mars/Olympus_Mons", "Asia/Tokyo", MakeLocalTime(2027, 1, 4, 9),
         MakeLocalTime(2027, 1, 4, 9)},
        {"", "Asia/Tokyo", MakeLocalTime(2027, 1, 4, 9), MakeLocalTime(2027, 1, 4, 9)},
        {"", "Europe/Berlin", MakeLocalTime(2027, 3, 28, 2, 30), MakeLocalTime(2027, 3, 28, 3, 30)},
        {"../../../../etc/localtime", "Europe/Berlin", MakeLocalTime(2027, 3, 28, 9),
         MakeLocalTime(2027, 3, 28, 9)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.series) + " read in " + c.reader);
        SetTz(c.reader);
        const SeriesClock clock(c.series);
        const std::string series = c.series;
        EXPECT_EQ(clock.IsLocal(),
                  series.empty() || series == "Mars/Olympus_Mons" || series.rfind("..", 0) == 0);
        EXPECT_EQ(clock.ToLocal(c.seriesTime), c.local);
        // A skipped time has no instant of its own to come back to.
        if (c.seriesTime != MakeLocalTime(2027, 3, 28, 2, 30)) {
            EXPECT_EQ(clock.ToSeries(c.local), c.seriesTime);
        }
    }
}

TEST_F(SeriesClockTest, TheProcesssZoneIsNamedByItsCanonicalName)
{
    const struct
    {
        const char* tz;
        const char* name;
    } cases[] = {
        {"Europe/Berlin", "Europe/Berlin"},
        {":Asia/Tokyo", "Asia/Tokyo"},
        {"/usr/share/zoneinfo/America/New_York", "America/New_York"},
        {"CET-1CEST,M3.5.0,M10.5.0/3", ""}, // a rule, no name
        {"", "Etc/UTC"},
        // As the system's zone data names them: links give the zone they name.
        {"Asia/Calcutta", "Asia/Kolkata"},
        {"US/Eastern", "America/New_York"},
        {"America/Ciudad_Juarez", "America/Ciudad_Juarez"},
        {"America/Coyhaique", "America/Coyhaique"},
        {"Mars/Olympus_Mons", ""},
    };
    for (const auto& c : cases) {
        SetTz(c.tz);
        EXPECT_EQ(ProcessTimeZone(), c.name) << c.tz;
    }
}

TEST_F(SeriesClockTest, SeriesRecordTheirZoneAndOlderFilesReadAsBefore)
{
    const auto file = Dir() / "s.db";
    std::string berlin, tokyo, old;
    {
        auto store = Store::Create(file, "S", StoreKind::UnicodePersonal);
        StoreBuilder b(*store);
        const auto folder = b.Folder("Kalender", ItemType::Appointment).entryId;
        const auto add = [&](const RecurrencePattern& p) {
            auto item = b.Appointment(folder, "Serie", MakeLocalTime(2027, 1, 4, 9),
                                      MakeLocalTime(2027, 1, 4, 10));
            item.Recur(p);
            return item.EntryId();
        };
        old = add(Daily({2027, 1, 4}));
        berlin = add(Daily({2027, 1, 4}));
        auto p = Daily({2027, 1, 4});
        p.timeZone = "Asia/Tokyo";
        tokyo = add(p);
        EXPECT_EQ(store->GetRecurrence(berlin)->timeZone, "Europe/Berlin");
        EXPECT_EQ(store->GetRecurrence(tokyo)->timeZone, "Asia/Tokyo");
    }
    // A file written before the zone was recorded: its series record none.
    Exec(file, "ALTER TABLE recurrence DROP COLUMN time_zone");
    {
        auto store = Store::Open(file);
        for (const auto& id : {old, berlin, tokyo})
            EXPECT_EQ(store->GetRecurrence(id)->timeZone, "") << id;
        auto p = Daily({2027, 2, 1});
        store->SetRecurrence(berlin, p);
        const auto folder = store->GetItem(berlin).folderEntryId;
        const auto all = store->FolderRecurrences(folder);
        EXPECT_EQ(all.at(berlin).timeZone, "Europe/Berlin");
        EXPECT_EQ(all.at(old).timeZone, "");
    }
}

} // namespace platform::store::test
