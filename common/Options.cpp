#include "common/Options.h"

#include "common/ErrorHandling.h"
#include "common/modIniFile.h"
#include "common/modMain.h"
#include "platform/runtime/Conversion.h"
#include "platform/runtime/Error.h"

#include <filesystem>

namespace common {
namespace {

namespace rt = platform::runtime;

std::string SettingsFolder()
{
    std::string sFolder = modMain::GetUserDataPath();
    modMain::AddBackslash(sFolder);
    return sFolder;
}

} // namespace

void Options::SetDefaults()
{
    m_sSupportMailAddress = "support@kestrova.example";
    m_lChunkSize = 100;
    m_sRTFReportPlaceholder = "[@kestrova report]";
    m_sPrefixHtmlClass = "tlv_";
    m_bShowExplorerCommandbar = true;
}

void Options::Load()
{
    Logging("Options", "Load", [&](int& nLine) {
        nLine = 1;
        const std::string sFile = SettingsFolder() + kFileName;
        if (!std::filesystem::is_regular_file(sFile))
            return;
        auto Read = [&](const char* sKey) {
            return modIniFile::ReadIniString(sFile, kSection, sKey);
        };
        nLine = 2;
        if (auto s = Read("SupportMailAddress"); !s.empty())
            m_sSupportMailAddress = s;
        nLine = 3;
        if (auto s = Read("ChunkSize"); !s.empty())
            m_lChunkSize = rt::CLng(rt::Variant(rt::Val(s)));
        nLine = 4;
        if (auto s = Read("RTFReportPlaceholder"); !s.empty())
            m_sRTFReportPlaceholder = s;
        nLine = 5;
        if (auto s = Read("PrefixHtmlClass"); !s.empty())
            m_sPrefixHtmlClass = s;
        nLine = 6;
        if (auto s = Read("ShowExplorerCommandbar"); !s.empty())
            m_bShowExplorerCommandbar = rt::CBool(rt::Variant(s));
    });
}

void Options::Save()
{
    Rethrowing("Options", "Save", [&](int& nLine) {
        nLine = 1;
        const std::string sFolder = SettingsFolder();
        if (!std::filesystem::is_directory(sFolder))
            std::filesystem::create_directories(sFolder);
        nLine = 2;
        const std::string sValue = m_bShowExplorerCommandbar ? "1" : "0";
        if (modIniFile::WriteIniString(sFolder + kFileName, kSection, "ShowExplorerCommandbar",
                                       sValue) == 0)
            rt::Raise(rt::errors::PathFileAccess, {},
                      "The settings file " + sFolder + kFileName + " cannot be written.");
    });
}

} // namespace common
