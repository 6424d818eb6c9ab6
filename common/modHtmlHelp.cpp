#include "common/modHtmlHelp.h"

#include "common/modLanguage.h"
#include "platform/runtime/ResumeNext.h"
#include "platform/win/HtmlHelp.h"

#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>

namespace common::modHtmlHelp {
namespace {

constexpr long kHelpFileNameID = 2103;

// The folder of the binary this copy of the code is linked into.
std::filesystem::path OwnFolder()
{
    Dl_info oInfo{};
    if (dladdr(reinterpret_cast<void*>(&GetHelpFolder), &oInfo) != 0 && oInfo.dli_fname)
        return std::filesystem::absolute(oInfo.dli_fname).parent_path();
    return std::filesystem::current_path();
}

} // namespace

std::string GetHelpFileName()
{
    static std::string sHelpFile;
    if (sHelpFile.empty())
        sHelpFile = modLanguage::GetResString(kHelpFileNameID);
    return sHelpFile;
}

std::string GetHelpFolder()
{
    if (const char* sFolder = std::getenv("TV_HELP_FOLDER"); sFolder && *sFolder)
        return sFolder;
    return (OwnFolder() / std::filesystem::path(GetHelpFileName()).stem()).string();
}

void ShowHelp(const std::string& sTopic)
{
    platform::runtime::ResumeNext oResume;
    oResume([&] { platform::win::showHelpTopic(GetHelpFolder(), sTopic); });
}

} // namespace common::modHtmlHelp
