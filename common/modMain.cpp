#include "common/modMain.h"

#include "common/Deliverable.h"
#include "common/IChild.h"
#include "platform/win/SpecialFolders.h"

#include <cstdlib>
#include <filesystem>

namespace common::modMain {

Globals& G()
{
    static Globals oGlobals;
    return oGlobals;
}

std::int32_t NextControlId()
{
    return ++G().g_lControlCounter;
}

void ResetParentPtrOf(IChild* oChild)
{
    if (oChild == nullptr)
        return;
    oChild->ResetParentPtr();
}

void AddBackslash(std::string& sPath)
{
    if (!sPath.empty() && sPath.back() != '/')
        sPath += '/';
}

std::string GetDataPathFor(const std::string& sAppTitle)
{
    std::string sBase =
        platform::win::specialFolderPath(platform::win::SpecialFolder::ApplicationData);
    if (sBase.empty()) {
        const char* sHome = std::getenv("HOME");
        sBase = (sHome != nullptr && sHome[0] == '/')
                    ? std::string(sHome)
                    : std::filesystem::temp_directory_path().string();
    }
    AddBackslash(sBase);
    return sBase + "Kestrova/" + sAppTitle + "/";
}

std::string GetUserDataPath()
{
    return GetDataPathFor(ThisDeliverable().sAppTitle);
}

std::string GetSettingsKeyPath()
{
    return std::string("Software\\Kestrova\\") + ThisDeliverable().sAppTitle + "\\Settings\\";
}

} // namespace common::modMain
