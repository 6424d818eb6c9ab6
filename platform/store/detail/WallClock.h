#pragma once

#include <cstdint>
#include <optional>

namespace platform::store::detail {

/// The UTC instant (seconds) of a wall-clock time (seconds of the LocalTime scale) in a zone
/// whose offset from UTC at an instant `offsetAt(utc)` answers. Solved from the offsets a day
/// before and after, which are well defined: a time that occurs twice (the hour repeated when
/// daylight saving ends) gives the earlier instant, a time the zone skips is read with the
/// offset from before the change.
template <typename OffsetAt>
std::int64_t UtcOfWallClock(std::int64_t wallClock, const OffsetAt& offsetAt)
{
    constexpr std::int64_t kDay = 86400;
    const std::int64_t before = offsetAt(wallClock - kDay);
    const std::int64_t after = offsetAt(wallClock + kDay);
    std::optional<std::int64_t> best;
    for (const std::int64_t offset : {before, after}) {
        const std::int64_t utc = wallClock - offset;
        if (utc + offsetAt(utc) == wallClock && (!best || utc < *best))
            best = utc;
    }
    return best ? *best : wallClock - before;
}

} // namespace platform::store::detail
