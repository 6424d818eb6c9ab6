#pragma once

#include <cstdint>
#include <string>

namespace platform::win {
struct OsVersion;
}

/// The operating system's version and its display name.
namespace common::modOSVersionsInfo {

/// The version record as the system keeps it.
struct OSVERSIONINFO
{
    std::int32_t dwOSVersionInfoSize = 0; ///< 148 for the basic form, 156 for the extended one
    std::int32_t dwMajorVersion = 0;
    std::int32_t dwMinorVersion = 0;
    std::int32_t dwBuildNumber = 0;
    std::int32_t dwPlatformId = 0;
    std::string szCSDVersion; ///< service-pack text, trimmed
};

/// Fills the record from the running system. Ignores every error.
void InitOSVersionInfo();
/// Fills the record from a given version (the running system's, or a test's).
void InitOSVersionInfoFrom(const platform::win::OsVersion& oVersion);
/// The record as filled last.
const OSVERSIONINFO& VersionInfo();

std::int32_t GetOSMajorVersion();
std::int32_t GetOSMinorVersion();
std::int32_t GetOSBuild();

bool IsWin95();
bool IsWin98();
bool IsWinME();
bool IsWinNT351();
bool IsWinNT4();
bool IsWin2000();
bool IsWinXP();

/// "Windows XP (Service Pack 3)" and the like for the old systems the tests know; empty text
/// for every later one (and for this platform).
std::string GetOSName();

} // namespace common::modOSVersionsInfo
