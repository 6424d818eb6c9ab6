#include "common/modIniFile.h"

#include "platform/win/ProfileStrings.h"

namespace common::modIniFile {

std::string ReadIniString(const std::string& sFile, const std::string& sSection,
                          const std::string& sKey)
{
    return platform::win::readProfileString(sFile, sSection, sKey, "",
                                            platform::win::kProfileBufferSize);
}

long WriteIniString(const std::string& sFile, const std::string& sSection, const std::string& sKey,
                    const std::string& sValue)
{
    return platform::win::writeProfileString(sFile, sSection, sKey, sValue) ? 1 : 0;
}

} // namespace common::modIniFile
