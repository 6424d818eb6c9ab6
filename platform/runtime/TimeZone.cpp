#include "platform/runtime/TimeZone.h"

#include <cctz/civil_time.h>
#include <cctz/time_zone.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <unordered_map>

namespace platform::runtime {

namespace {

namespace fs = std::filesystem;

const cctz::civil_second kEpoch(1970, 1, 1, 0, 0, 0);

// A zone of the zone data, read by the library made for it: it reads the zone files as they
// are, and past their last change follows the rule the file states for later years.
class ZoneDataZone final : public TimeZone
{
public:
    explicit ZoneDataZone(cctz::time_zone zone) : zone_(std::move(zone)) {}

    std::int64_t OffsetAt(std::int64_t utc) const override
    {
        return zone_.lookup(cctz::time_point<cctz::seconds>(cctz::seconds(utc))).offset;
    }

    std::int64_t UtcOf(std::int64_t wallClock) const override
    {
        // The offset from before a change answers both a repeated time (the earlier instant)
        // and a skipped one (read with the old offset).
        return zone_.lookup(kEpoch + wallClock).pre.time_since_epoch().count();
    }

private:
    cctz::time_zone zone_;
};

// A TZ that no zone file holds: a rule text ("CET-1CEST,M3.5.0,M10.5.0/3") or a name the zone
// data does not know, read as the C library reads it. Valid only while TZ keeps the value it
// was made for; ProcessZone makes sure of that.
class RuleTextZone final : public TimeZone
{
public:
    std::int64_t OffsetAt(std::int64_t utc) const override
    {
        const std::time_t t = static_cast<std::time_t>(utc);
        std::tm tm{};
        return localtime_r(&t, &tm) ? tm.tm_gmtoff : 0;
    }

    std::int64_t UtcOf(std::int64_t wallClock) const override
    {
        // Solved from the offsets a day before and after, which are well defined: of the
        // instants that show the time, the earlier; none (skipped): the offset from before.
        constexpr std::int64_t kDay = 86400;
        const std::int64_t before = OffsetAt(wallClock - kDay);
        const std::int64_t after = OffsetAt(wallClock + kDay);
        std::optional<std::int64_t> best;
        for (const std::int64_t offset : {before, after}) {
            const std::int64_t utc = wallClock - offset;
            if (WallClockOf(utc) == wallClock && (!best || utc < *best))
                best = utc;
        }
        return best ? *best : wallClock - before;
    }
};

std::string ZoneFolder()
{
    const char* dir = std::getenv("TZDIR");
    return dir && *dir ? dir : "/usr/share/zoneinfo";
}

// A zone name as the zone data spells its entries: a relative path of plain parts.
bool PlainName(std::string_view name)
{
    if (name.empty() || name.front() == '/' || name.size() > 255)
        return false;
    for (std::size_t at = 0; at <= name.size();) {
        const std::size_t end = std::min(name.find('/', at), name.size());
        const std::string_view part = name.substr(at, end - at);
        if (part.empty() || part.front() == '.')
            return false;
        at = end + 1;
    }
    return true;
}

// The zones met so far. Entries are never removed, so references to them stay valid.
struct Zones
{
    std::mutex lock;
    std::map<std::string, std::unique_ptr<const TimeZone>, std::less<>> named;
    std::map<std::string, std::unique_ptr<const TimeZone>> byTz; ///< key "=" + TZ, or "" unset
    std::unordered_map<std::string, std::string> links;          ///< link name to its zone
    bool linksRead = false;

    // Names that no zone holds, kept a while so that many series of one such zone do not each
    // look for its file.
    std::set<std::string, std::less<>> unknown;
    static constexpr std::size_t kUnknownKept = 4096;

    // Called with the lock held.
    const TimeZone* Named(std::string_view name)
    {
        if (const auto at = named.find(name); at != named.end())
            return at->second.get();
        if (!PlainName(name) || unknown.find(name) != unknown.end())
            return nullptr;
        const std::string key(name);
        std::error_code error;
        cctz::time_zone zone;
        if (!fs::is_regular_file(ZoneFolder() + "/" + key, error) ||
            !cctz::load_time_zone(key, &zone)) {
            if (unknown.size() >= kUnknownKept)
                unknown.clear();
            unknown.insert(key);
            return nullptr;
        }
        return named.emplace(key, std::make_unique<ZoneDataZone>(zone)).first->second.get();
    }

    // The zone of a TZ value (none: not set); called with the lock held.
    const TimeZone& OfTz(const std::optional<std::string>& tz)
    {
        auto& zone = byTz[tz ? "=" + *tz : std::string()];
        if (zone)
            return *zone;
        std::string name = tz ? *tz : std::string("/etc/localtime");
        if (!name.empty() && name.front() == ':')
            name.erase(0, 1);
        cctz::time_zone loaded;
        if (name.empty())
            zone = std::make_unique<ZoneDataZone>(cctz::utc_time_zone());
        else if (cctz::load_time_zone(name, &loaded))
            zone = std::make_unique<ZoneDataZone>(loaded);
        else
            zone = std::make_unique<RuleTextZone>();
        return *zone;
    }

    // Called with the lock held.
    const std::string* LinkTarget(const std::string& name)
    {
        if (!linksRead) {
            linksRead = true;
            // The compiled source of the zone data lists every link as "L <zone> <link>".
            std::ifstream in(ZoneFolder() + "/tzdata.zi");
            std::string line;
            while (std::getline(in, line)) {
                if (line.size() < 2 || line[0] != 'L' || line[1] != ' ')
                    continue;
                const std::size_t space = line.find(' ', 2);
                if (space == std::string::npos)
                    continue;
                links[line.substr(space + 1)] = line.substr(2, space - 2);
            }
        }
        const auto at = links.find(name);
        return at == links.end() ? nullptr : &at->second;
    }
};

Zones& TheZones()
{
    static Zones zones;
    return zones;
}

// What this thread last found for a TZ value: most conversions ask for the same zone again.
template <typename T> struct LastForTz
{
    bool known = false;
    std::optional<std::string> tz;
    T value{};
};

bool Same(const std::optional<std::string>& a, const char* b)
{
    return a ? b != nullptr && *a == b : b == nullptr;
}

// The zone name of a TZ value or of the system's setting; not yet canonical.
std::string NameOfSetting(const std::optional<std::string>& tz)
{
    std::string name;
    if (tz) {
        name = *tz;
        if (!name.empty() && name.front() == ':')
            name.erase(0, 1);
        if (name.empty())
            return "Etc/UTC"; // an empty TZ is UTC
    } else {
        std::error_code error;
        name = fs::read_symlink("/etc/localtime", error).string();
        if (error || name.find("zoneinfo/") == std::string::npos) {
            std::ifstream in("/etc/timezone");
            std::getline(in, name);
            while (!name.empty() && (name.back() == ' ' || name.back() == '\r'))
                name.pop_back();
        }
    }
    if (const auto at = name.rfind("zoneinfo/"); at != std::string::npos)
        name.erase(0, at + 9);
    return name;
}

} // namespace

const TimeZone& ProcessZone()
{
    thread_local LastForTz<const TimeZone*> last;
    const char* tz = std::getenv("TZ");
    if (last.known && Same(last.tz, tz))
        return *last.value;
    // The C library reads TZ again only when asked to; a zone it answers must be the new one.
    ::tzset();
    last.tz = tz ? std::optional<std::string>(tz) : std::nullopt;
    Zones& zones = TheZones();
    std::lock_guard<std::mutex> guard(zones.lock);
    last.value = &zones.OfTz(last.tz);
    last.known = true;
    return *last.value;
}

const TimeZone* FindZone(std::string_view name)
{
    Zones& zones = TheZones();
    std::lock_guard<std::mutex> guard(zones.lock);
    return zones.Named(name);
}

std::string CanonicalZoneName(std::string_view name)
{
    Zones& zones = TheZones();
    std::lock_guard<std::mutex> guard(zones.lock);
    if (!zones.Named(name))
        return {};
    std::string canonical(name);
    // Links name zones; a chain of them ends within a few steps, a loop never does.
    for (int step = 0; step < 8; ++step) {
        const std::string* target = zones.LinkTarget(canonical);
        if (!target || !zones.Named(*target))
            break;
        canonical = *target;
    }
    return canonical;
}

std::string ProcessZoneName()
{
    thread_local LastForTz<std::string> last;
    const char* tz = std::getenv("TZ");
    if (last.known && Same(last.tz, tz))
        return last.value;
    last.tz = tz ? std::optional<std::string>(tz) : std::nullopt;
    last.value = CanonicalZoneName(NameOfSetting(last.tz));
    last.known = true;
    return last.value;
}

} // namespace platform::runtime
