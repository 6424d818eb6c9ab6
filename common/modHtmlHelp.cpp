#include "common/modHtmlHelp.h"

#include "common/modLanguage.h"
#include "platform/runtime/ResumeNext.h"
#include "platform/win/HtmlHelp.h"
#include "platform/win/ModuleFolder.h"

#include <cstdlib>
#include <filesystem>

namespace common::modHtmlHelp {
namespace {

constexpr long kHelpFileNameID = 2103;

// The folder of the binary this copy of the code is linked into.
std::filesystem::path OwnFolder()
{
    const auto oFolder = platform::win::moduleFolder(reinterpret_cast<const void*>(&GetHelpFolder));
    return oFolder.empty() ? std::filesystem::current_path() : oFolder;
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
