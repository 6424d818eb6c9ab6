#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform::runtime {

/// A time zone's rules, as the system's zone data (the distribution's files under
/// /usr/share/zoneinfo, or $TZDIR) give them. Every clock of the process reads its zone through
/// this one type: the process's own zone (TZ) and the zone each recurring series was made in.
///
/// Times are whole seconds: an instant counts from 1970-01-01 00:00 UTC, a wall-clock time of
/// the zone from 1970-01-01 00:00 on that zone's clock, as if every day had 86400 seconds.
/// Zones live as long as the process; references to them stay valid.
class TimeZone
{
public:
    virtual ~TimeZone() = default;

    /// The zone's offset east of UTC at an instant, in seconds.
    virtual std::int64_t OffsetAt(std::int64_t utc) const = 0;
    /// The instant of a wall-clock time. A time that occurs twice (the hour repeated when
    /// daylight saving ends) gives the earlier instant; a time the zone skips (when it starts)
    /// is read with the offset from before the change, so 02:30 becomes 03:30 of the new time.
    virtual std::int64_t UtcOf(std::int64_t wallClock) const = 0;
    /// The wall-clock time of an instant.
    std::int64_t WallClockOf(std::int64_t utc) const { return utc + OffsetAt(utc); }
};

/// The process's own zone: the zone TZ names ("Europe/Berlin", ":Europe/Berlin", a path to a
/// zone file), read from the system's zone data; /etc/localtime when TZ is not set; UTC when
/// TZ is empty. A TZ the zone data does not hold (a rule such as "CET-1CEST,M3.5.0,M10.5.0/3",
/// or a name no file has) is read as the C library reads it: the rule it spells, else UTC.
/// TZ is looked at on every call, so a change of TZ takes effect at once.
const TimeZone& ProcessZone();

/// A zone of the system's zone data by its name ("Europe/Berlin", "Asia/Calcutta"); nullptr
/// when the zone data holds no such zone. Only names inside the zone data count: an absolute
/// path, a name with "." or ".." parts or an empty name is no zone.
const TimeZone* FindZone(std::string_view name);

/// The zone data's own name for a zone name: a link ("Asia/Calcutta", "US/Eastern") gives the
/// zone it names ("Asia/Kolkata", "America/New_York"); empty when the zone data holds no such
/// zone.
std::string CanonicalZoneName(std::string_view name);

/// The canonical name of the process's zone: of the zone TZ names, or, when TZ is not set, of
/// the zone /etc/localtime (or /etc/timezone) names; "Etc/UTC" for an empty TZ; empty when
/// the zone has no name in the zone data (a rule text such as "CET-1CEST").
std::string ProcessZoneName();

} // namespace platform::runtime
