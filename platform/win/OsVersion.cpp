#include "platform/win/OsVersion.h"

#include <charconv>
#include <cstdlib>
#include <pwd.h>
#include <sys/utsname.h>
#include <unistd.h>
#include <vector>

namespace platform::win {

OsVersion osVersionFrom(std::string_view sysname, std::string_view release,
                        std::string_view version)
{
    OsVersion result;
    result.platformId = kPosixPlatform;
    result.platform = std::string(sysname);
    result.servicePack = std::string(version);
    std::uint32_t* parts[] = {&result.major, &result.minor, &result.build};
    const char* pos = release.data();
    const char* end = release.data() + release.size();
    for (auto* part : parts) {
        const auto [next, error] = std::from_chars(pos, end, *part);
        if (error != std::errc()) {
            *part = 0;
            break;
        }
        if (next == end || *next != '.') {
            break;
        }
        pos = next + 1;
    }
    return result;
}

OsVersion queryOsVersion()
{
    utsname name{};
    if (::uname(&name) != 0) {
        return osVersionFrom("", "", "");
    }
    return osVersionFrom(name.sysname, name.release, name.version);
}

std::string userName()
{
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    passwd entry{};
    passwd* result = nullptr;
    if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &result) == 0 &&
        result != nullptr && result->pw_name != nullptr && result->pw_name[0] != '\0') {
        return result->pw_name;
    }
    for (const char* variable : {"USER", "LOGNAME"}) {
        if (const char* value = std::getenv(variable); value != nullptr && value[0] != '\0') {
            return value;
        }
    }
    return {};
}

} // namespace platform::win
