#include "platform/store/SeriesClock.h"

#include "platform/runtime/TimeZone.h"

namespace platform::store {

struct SeriesClock::Zone
{
    const runtime::TimeZone* zone; ///< held by the zone data for the process's life
};

std::string ProcessTimeZone()
{
    return runtime::ProcessZoneName();
}

SeriesClock::SeriesClock(std::string_view zone)
{
    if (const runtime::TimeZone* found = runtime::FindZone(zone))
        zone_ = std::make_shared<const Zone>(Zone{found});
}

SeriesClock::~SeriesClock() = default;
SeriesClock::SeriesClock(const SeriesClock&) = default;
SeriesClock& SeriesClock::operator=(const SeriesClock&) = default;

LocalTime SeriesClock::ToLocal(LocalTime seriesTime) const
{
    // Also on the process's own clock the time goes through its instant: one that the zone
    // skips shows as the time the instant has (02:30 as 03:30), as in every other zone.
    const SysTime utc =
        zone_ ? SysTime{zone_->zone->UtcOf(seriesTime.seconds)} : LocalToUtc(seriesTime);
    return UtcToLocal(utc);
}

LocalTime SeriesClock::ToSeries(LocalTime localTime) const
{
    if (!zone_)
        return localTime;
    return LocalTime{zone_->zone->WallClockOf(LocalToUtc(localTime).seconds)};
}

Occurrence SeriesClock::ToLocal(Occurrence occurrence) const
{
    occurrence.originalStart = ToLocal(occurrence.originalStart);
    occurrence.start = ToLocal(occurrence.start);
    occurrence.end = ToLocal(occurrence.end);
    return occurrence;
}

} // namespace platform::store
