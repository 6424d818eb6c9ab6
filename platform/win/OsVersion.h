#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform::win {

/// The operating system's version in the shape of the host's version record.
struct OsVersion
{
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::uint32_t build = 0;
    /// The host's platform identifier. Here always kPosixPlatform, which is none of the
    /// identifiers the system tests for (1 for the old consumer line, 2 for the NT line), so
    /// no old Windows name is ever given to this system.
    std::uint32_t platformId = 0;
    /// The system's name ("Linux").
    std::string platform;
    /// The service-pack text of the host's record; the kernel's build text here.
    std::string servicePack;
};

/// The platform identifier of this stand-in.
inline constexpr std::uint32_t kPosixPlatform = 0;

/// The running system's version, from uname: "6.1.0-18-amd64" gives 6, 1, 0.
OsVersion queryOsVersion();

/// The version from uname's fields: the leading numbers of the release, separated by dots
/// (missing or unreadable numbers are 0).
OsVersion osVersionFrom(std::string_view sysname, std::string_view release,
                        std::string_view version);

/// The logon name of the current user (from the password database, else $USER or $LOGNAME),
/// or empty text when it cannot be found.
std::string userName();

} // namespace platform::win
