#pragma once

#include "platform/store/LocalTime.h"
#include "platform/store/RecurrencePattern.h"

#include <memory>
#include <string>
#include <string_view>

namespace platform::store {

/// The wall clock of the time zone a series was made in, against the process's own (TZ).
///
/// A series keeps its pattern's times (start time, pattern dates, exceptions) as wall-clock
/// times of the zone it was made in: a 09:00 Berlin series occurs at 09:00 Berlin time in
/// winter and summer alike. Read in another zone, each occurrence keeps its instant and is
/// shown in the reader's local time (17:00 in Tokyo in winter, 16:00 in summer). Both clocks
/// read the system's zone data (platform::runtime::TimeZone).
///
/// A clock without a zone, or for a zone name the zone data does not know, reads the series'
/// times as the process's local times, as a store file that records no zone is read. Every
/// clock shows a time its series' zone skips as the instant it has (02:30 on the night the
/// clocks go forward as 03:30), the process's own zone too.
class SeriesClock
{
public:
    /// The clock of a zone given by its IANA name ("Europe/Berlin").
    explicit SeriesClock(std::string_view zone = {});
    ~SeriesClock();
    SeriesClock(const SeriesClock&);
    SeriesClock& operator=(const SeriesClock&);

    /// Whether the series' times are the process's local times (no zone, or one the zone data
    /// does not know): they convert through the process's zone alone.
    bool IsLocal() const { return zone_ == nullptr; }
    /// A time of the series' wall clock as the process's local time of the same instant. A
    /// time that occurs twice in the series' zone is the earlier instant; one that the zone
    /// skips is read with the offset from before the change (as LocalToUtc does), also when
    /// the series' clock is the process's own.
    LocalTime ToLocal(LocalTime seriesTime) const;
    /// A local time of the process on the series' wall clock (the same instant).
    LocalTime ToSeries(LocalTime localTime) const;
    /// The occurrence with its times (original start, start, end) in the process's local time.
    Occurrence ToLocal(Occurrence occurrence) const;

    /// Internal: the zone's rules.
    struct Zone;

private:
    std::shared_ptr<const Zone> zone_;
};

/// The IANA name of the process's time zone: TZ when it names a zone ("Europe/Berlin",
/// ":Europe/Berlin", a path into the zone files), the system's zone when TZ is not set; empty
/// when the zone has no such name (a rule text such as "CET-1CEST"). Names are canonical as
/// the system's zone data spells them ("Asia/Kolkata" for "Asia/Calcutta").
std::string ProcessTimeZone();

} // namespace platform::store
