#include "common/modOSVersionsInfo.h"

#include "platform/runtime/Conversion.h"
#include "platform/runtime/ResumeNext.h"
#include "platform/runtime/Strings.h"
#include "platform/win/OsVersion.h"

namespace common::modOSVersionsInfo {
namespace {

namespace rt = platform::runtime;

constexpr std::int32_t kBasicSize = 148;
constexpr std::int32_t kExtendedSize = 156;

OSVERSIONINFO& Record()
{
    static OSVERSIONINFO oRecord;
    return oRecord;
}

bool Is(std::int32_t lPlatform, std::int32_t lMajor, std::int32_t lMinor)
{
    const auto& r = Record();
    return r.dwPlatformId == lPlatform && r.dwMajorVersion == lMajor && r.dwMinorVersion == lMinor;
}

} // namespace

void InitOSVersionInfoFrom(const platform::win::OsVersion& oVersion)
{
    auto& r = Record();
    r.dwOSVersionInfoSize = kBasicSize;
    r.dwMajorVersion = static_cast<std::int32_t>(oVersion.major);
    r.dwMinorVersion = static_cast<std::int32_t>(oVersion.minor);
    r.dwBuildNumber = static_cast<std::int32_t>(oVersion.build);
    r.dwPlatformId = static_cast<std::int32_t>(oVersion.platformId);
    r.szCSDVersion = rt::Trim(oVersion.servicePack.substr(0, oVersion.servicePack.find('\0')));
    // NT 5, and NT 4 from service pack 6 on, answer the extended record.
    const std::int32_t lServicePack =
        r.szCSDVersion.size() > 13 ? static_cast<std::int32_t>(rt::Val(r.szCSDVersion.substr(13)))
                                   : 0;
    if (r.dwPlatformId == 2 &&
        (r.dwMajorVersion == 5 || (r.dwMajorVersion == 4 && lServicePack >= 6)))
        r.dwOSVersionInfoSize = kExtendedSize;
}

void InitOSVersionInfo()
{
    rt::ResumeNext oResume;
    oResume([] { InitOSVersionInfoFrom(platform::win::queryOsVersion()); });
}

const OSVERSIONINFO& VersionInfo()
{
    return Record();
}

std::int32_t GetOSMajorVersion()
{
    return Record().dwMajorVersion;
}
std::int32_t GetOSMinorVersion()
{
    return Record().dwMinorVersion;
}
std::int32_t GetOSBuild()
{
    return Record().dwBuildNumber;
}

bool IsWin95()
{
    return Is(1, 4, 0);
}
bool IsWin98()
{
    return Is(1, 4, 10);
}
bool IsWinME()
{
    return Is(1, 4, 90);
}
bool IsWinNT351()
{
    return Is(2, 3, 51);
}
bool IsWinNT4()
{
    return Is(2, 4, 0);
}
bool IsWin2000()
{
    return Is(2, 5, 0);
}
bool IsWinXP()
{
    return Is(2, 5, 1);
}

std::string GetOSName()
{
    const std::pair<bool (*)(), const char*> aNames[] = {
        {IsWin95, "Windows 95 ("},      {IsWin98, "Windows 98 ("},
        {IsWinME, "Windows ME ("},      {IsWinNT351, "Windows NT 3.51 ("},
        {IsWinNT4, "Windows NT 4.0 ("}, {IsWin2000, "Windows 2000 ("},
        {IsWinXP, "Windows XP ("}};
    for (const auto& [fTest, sName] : aNames)
        if (fTest())
            return sName + Record().szCSDVersion + ")";
    return {};
}

} // namespace common::modOSVersionsInfo
