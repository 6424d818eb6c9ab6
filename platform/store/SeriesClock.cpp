#include "platform/store/SeriesClock.h"

#include "platform/store/detail/WallClock.h"

#include <unicode/timezone.h>
#include <unicode/unistr.h>

#include <cstdlib>
#include <map>
#include <mutex>
#include <optional>

namespace platform::store {

struct SeriesClock::Zone
{
    std::unique_ptr<const icu::TimeZone> zone;

    // The zone's offset from UTC at an instant, in seconds.
    std::int64_t OffsetAt(std::int64_t utc) const
    {
        std::int32_t raw = 0, dst = 0;
        UErrorCode status = U_ZERO_ERROR;
        zone->getOffset(static_cast<UDate>(utc) * 1000.0, false, raw, dst, status);
        return U_SUCCESS(status) ? (static_cast<std::int64_t>(raw) + dst) / 1000 : 0;
    }

    std::int64_t ToUtc(LocalTime t) const
    {
        return detail::UtcOfWallClock(t.seconds,
                                      [this](std::int64_t utc) { return OffsetAt(utc); });
    }
};

namespace {

std::string Utf8(const icu::UnicodeString& text)
{
    std::string out;
    text.toUTF8String(out);
    return out;
}

// The canonical IANA name of a zone name; empty when the zone data knows no such zone.
std::string Canonical(std::string_view name)
{
    if (name.empty())
        return {};
    icu::UnicodeString canonical;
    UBool system = false;
    UErrorCode status = U_ZERO_ERROR;
    icu::TimeZone::getCanonicalID(icu::UnicodeString::fromUTF8(icu::StringPiece(
                                      name.data(), static_cast<int32_t>(name.size()))),
                                  canonical, system, status);
    if (U_FAILURE(status) || !system)
        return {};
    return Utf8(canonical);
}

// The zone name a TZ value gives: ":Europe/Berlin", "Europe/Berlin" or a path into the zone
// files; a rule text gives none.
std::string NameFromTz(std::string tz)
{
    if (!tz.empty() && tz[0] == ':')
        tz.erase(0, 1);
    if (const auto at = tz.find("zoneinfo/"); at != std::string::npos)
        tz.erase(0, at + 9);
    if (tz.empty())
        return "Etc/UTC"; // an empty TZ is UTC
    return Canonical(tz);
}

// What the clocks of a process share: the process zone's name for the TZ it was worked out
// for, the canonical names met so far and the zones made of them. Reads make a clock per
// series, so each of these is worked out once.
struct Clocks
{
    std::mutex lock;
    bool processKnown = false;
    std::optional<std::string> processTz; ///< TZ when the name was worked out (none: unset)
    std::string processName;
    std::map<std::string, std::string, std::less<>> canonical;
    std::map<std::string, std::shared_ptr<const SeriesClock::Zone>> zones;

    // The process zone's name; called with the lock held.
    const std::string& ProcessName()
    {
        const char* tz = std::getenv("TZ");
        const std::optional<std::string> now =
            tz ? std::optional<std::string>(tz) : std::optional<std::string>();
        if (processKnown && now == processTz)
            return processName;
        if (now) {
            processName = NameFromTz(*now);
        } else {
            std::unique_ptr<icu::TimeZone> host(icu::TimeZone::detectHostTimeZone());
            icu::UnicodeString id;
            processName = host ? Canonical(Utf8(host->getID(id))) : std::string();
        }
        processTz = now;
        processKnown = true;
        return processName;
    }

    // The canonical name of a zone name; called with the lock held.
    const std::string& CanonicalOf(std::string_view name)
    {
        auto at = canonical.find(name);
        if (at == canonical.end())
            at = canonical.emplace(std::string(name), Canonical(name)).first;
        return at->second;
    }

    std::shared_ptr<const SeriesClock::Zone> ZoneOf(std::string_view name)
    {
        std::lock_guard<std::mutex> guard(lock);
        const std::string& id = CanonicalOf(name);
        if (id.empty() || id == ProcessName())
            return nullptr;
        auto& zone = zones[id];
        if (!zone) {
            auto made = std::make_shared<SeriesClock::Zone>();
            made->zone.reset(icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(id)));
            zone = std::move(made);
        }
        return zone;
    }
};

Clocks& TheClocks()
{
    static Clocks clocks;
    return clocks;
}

} // namespace

std::string ProcessTimeZone()
{
    Clocks& clocks = TheClocks();
    std::lock_guard<std::mutex> guard(clocks.lock);
    return clocks.ProcessName();
}

SeriesClock::SeriesClock(std::string_view zone)
{
    if (!zone.empty())
        zone_ = TheClocks().ZoneOf(zone);
}

SeriesClock::~SeriesClock() = default;
SeriesClock::SeriesClock(const SeriesClock&) = default;
SeriesClock& SeriesClock::operator=(const SeriesClock&) = default;

LocalTime SeriesClock::ToLocal(LocalTime seriesTime) const
{
    if (!zone_)
        return seriesTime;
    return UtcToLocal(SysTime{zone_->ToUtc(seriesTime)});
}

LocalTime SeriesClock::ToSeries(LocalTime localTime) const
{
    if (!zone_)
        return localTime;
    const std::int64_t utc = LocalToUtc(localTime).seconds;
    return LocalTime{utc + zone_->OffsetAt(utc)};
}

Occurrence SeriesClock::ToLocal(Occurrence occurrence) const
{
    if (!zone_)
        return occurrence;
    occurrence.originalStart = ToLocal(occurrence.originalStart);
    occurrence.start = ToLocal(occurrence.start);
    occurrence.end = ToLocal(occurrence.end);
    return occurrence;
}

} // namespace platform::store
