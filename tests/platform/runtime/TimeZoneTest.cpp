#include "platform/runtime/TimeZone.h"

#include "RuntimeFixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

namespace platform::runtime::test {

namespace {

class TimeZoneTest : public RuntimeFixture
{
protected:
    void TearDown() override
    {
        Tz("Europe/Berlin");
        RuntimeFixture::TearDown();
    }

    // TZ as given; nothing unsets it.
    static void Tz(const std::optional<std::string>& tz)
    {
        if (tz)
            setenv("TZ", tz->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
};

// The offset the C library gives for the process's TZ at an instant: a reader of the zone
// files and of TZ rule texts of its own.
long CLibraryOffset(std::int64_t utc)
{
    const std::time_t t = static_cast<std::time_t>(utc);
    std::tm tm{};
    return localtime_r(&t, &tm) ? tm.tm_gmtoff : -1;
}

// Every hour of 2026 and 2027, and a stretch of hours in years far from now, where the zone
// files' last rule continues.
std::vector<std::int64_t> Instants()
{
    std::vector<std::int64_t> all;
    const std::int64_t from2026 = 1767225600; // 2026-01-01 00:00 UTC
    for (std::int64_t h = 0; h < 2 * 366 * 24; ++h)
        all.push_back(from2026 + h * 3600);
    for (const std::int64_t year :
         {-2208988800LL /* 1900 */, 4102444800LL /* 2100 */, 253370764800LL /* 9999 */})
        for (std::int64_t h = 0; h < 366 * 24; h += 7)
            all.push_back(year + h * 3600);
    return all;
}

} // namespace

TEST_F(TimeZoneTest, TheProcesssZoneReadsTzAsTheCLibraryDoes)
{
    const std::optional<std::string> values[] = {
        "Europe/Berlin",
        ":Europe/Berlin",
        "/usr/share/zoneinfo/America/New_York",
        // Zones whose rules changed after 2022, and zones newer than that.
        "America/Mexico_City",
        "Asia/Almaty",
        "America/Ciudad_Juarez",
        "America/Coyhaique",
        // Rule texts, which no zone file holds.
        "CET-1CEST,M3.5.0,M10.5.0/3",
        "<+0330>-3:30",
        "AEST-10AEDT,M10.1.0,M4.1.0/3",
        "EST5EDT",
        "right/Europe/Berlin",
        // No zone: the system's setting; an empty TZ and a name no file has: UTC.
        std::nullopt,
        "",
        "Mars/Olympus_Mons",
    };
    const auto instants = Instants();
    for (const auto& tz : values) {
        SCOPED_TRACE(tz ? "TZ=" + *tz : std::string("TZ not set"));
        Tz(tz);
        const TimeZone& zone = ProcessZone();
        int wrong = 0;
        for (const std::int64_t t : instants) {
            const long expected = CLibraryOffset(t);
            if (zone.OffsetAt(t) != expected && ++wrong <= 3)
                ADD_FAILURE() << "at " << t << ": " << zone.OffsetAt(t) << " for " << expected;
            // Every time the zone shows once comes back to its instant.
            const std::int64_t wall = zone.WallClockOf(t);
            if (zone.WallClockOf(t - 7200) == wall - 7200 &&
                zone.WallClockOf(t + 7200) == wall + 7200) {
                EXPECT_EQ(zone.UtcOf(wall), t);
            }
        }
    }
}

TEST_F(TimeZoneTest, RepeatedTimesGiveTheEarlierInstantAndSkippedOnesTheOldOffset)
{
    const struct
    {
        const char* tz;
        std::int64_t wall; ///< seconds of the zone's wall clock
        std::int64_t utc;
    } cases[] = {
        // 2027-03-28 02:30 in Berlin does not exist: read at +01:00, 01:30 UTC (03:30 CEST).
        {"Europe/Berlin", 1806201000, 1806197400},
        // 2027-10-31 02:30 occurs twice: the first, at +02:00.
        {"Europe/Berlin", 1824949800, 1824942600},
        // The same through the rule text.
        {"CET-1CEST,M3.5.0,M10.5.0/3", 1806201000, 1806197400},
        {"CET-1CEST,M3.5.0,M10.5.0/3", 1824949800, 1824942600},
        // Santiago skips midnight: 2026-09-06 00:30 read at -04:00.
        {"America/Santiago", 1788654600, 1788669000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tz);
        Tz(c.tz);
        EXPECT_EQ(ProcessZone().UtcOf(c.wall), c.utc);
    }
}

TEST_F(TimeZoneTest, OnlyNamesInsideTheZoneDataAreZones)
{
    for (const char* name : {"Europe/Berlin", "Asia/Calcutta", "America/Ciudad_Juarez",
                             "America/Coyhaique", "UTC", "EST5EDT"})
        EXPECT_NE(FindZone(name), nullptr) << name;
    for (const char* name :
         {"", "Mars/Olympus_Mons", "/usr/share/zoneinfo/Europe/Berlin", "../zoneinfo/UTC",
          "Europe/./Berlin", "Europe", "zone.tab", "tzdata.zi", "Fixed/UTC+05:00",
          "CET-1CEST,M3.5.0,M10.5.0/3", "Europe/Berlin/"})
        EXPECT_EQ(FindZone(name), nullptr) << name;
    EXPECT_EQ(CanonicalZoneName("Asia/Calcutta"), "Asia/Kolkata");
    EXPECT_EQ(CanonicalZoneName("Europe/Kiev"), "Europe/Kyiv");
    EXPECT_EQ(CanonicalZoneName("Europe/Berlin"), "Europe/Berlin");
    EXPECT_EQ(CanonicalZoneName("Mars/Olympus_Mons"), "");
}

TEST_F(TimeZoneTest, ANamedZoneHasTheRulesOfTheSameZoneAsTz)
{
    const auto instants = Instants();
    for (const char* name : {"America/Mexico_City", "Africa/Cairo", "Pacific/Fiji", "America/Nuuk",
                             "Asia/Kathmandu", "Australia/Lord_Howe"}) {
        SCOPED_TRACE(name);
        Tz(name);
        const TimeZone* zone = FindZone(name);
        ASSERT_NE(zone, nullptr);
        Tz("Asia/Tokyo");
        const TimeZone& tokyo = ProcessZone();
        EXPECT_EQ(tokyo.OffsetAt(instants.front()), 9 * 3600);
        int wrong = 0;
        Tz(name);
        for (const std::int64_t t : instants)
            if (zone->OffsetAt(t) != CLibraryOffset(t) && ++wrong <= 3)
                ADD_FAILURE() << "at " << t << ": " << zone->OffsetAt(t);
    }
}

} // namespace platform::runtime::test

namespace platform::runtime::test {

TEST_F(TimeZoneTest, AChangeOfTzTakesEffectAtOnce)
{
    // TZ set without telling the C library (no tzset): the next conversion reads it anyway.
    const std::int64_t summer2026 = 1783080000; // 2026-07-03 12:00 UTC
    const struct
    {
        const char* tz;
        std::int64_t offset;
    } cases[] = {
        {"CET-1CEST,M3.5.0,M10.5.0/3", 7200}, {"<+0330>-3:30", 12600}, {"Asia/Tokyo", 32400},
        {"America/Mexico_City", -21600},      {"<-05>5", -18000},      {"Europe/Berlin", 7200},
    };
    for (const auto& c : cases) {
        setenv("TZ", c.tz, 1);
        EXPECT_EQ(ProcessZone().OffsetAt(summer2026), c.offset) << c.tz;
    }
}

TEST_F(TimeZoneTest, NowIsTheWallClockOfTheProcesssZone)
{
    SetClock({});
    // Kiritimati is 14 hours ahead of UTC, Pago Pago 11 hours behind: 25 hours apart.
    Tz("Pacific/Kiritimati");
    const double east = Now().Linear();
    Tz("Pacific/Pago_Pago");
    const double west = Now().Linear();
    EXPECT_NEAR((east - west) * 24.0, 25.0, 0.01);
    Tz("UTC");
    const double utc = static_cast<double>(std::time(nullptr)) / 86400.0 + 25569.0;
    EXPECT_NEAR(Now().Linear(), utc, 5.0 / 86400.0);
}

} // namespace platform::runtime::test
