#include "engine/detail/Options.h"

#include "common/ErrorHandling.h"
#include "common/modIniFile.h"
#include "common/modMain.h"

#include "platform/runtime/Conversion.h"

namespace rt = platform::runtime;

namespace engine::detail {

namespace {

constexpr const char* kSection = "default";

void ReadLong(const std::string& sFile, const char* sKey, long& lTarget)
{
    const std::string sValue = common::modIniFile::ReadIniString(sFile, kSection, sKey);
    if (!sValue.empty())
        lTarget = rt::CLng(rt::Variant(rt::Val(sValue)));
}

void ReadText(const std::string& sFile, const char* sKey, std::string& sTarget)
{
    std::string sValue = common::modIniFile::ReadIniString(sFile, kSection, sKey);
    if (!sValue.empty())
        sTarget = std::move(sValue);
}

} // namespace

void Options::ReadSettings()
{
    common::Rethrowing("Options", "ReadSettings", [&](int& nLine) {
        nLine = 1;
        std::string sFolder = common::modMain::GetUserDataPath();
        common::modMain::AddBackslash(sFolder);
        const std::string sFile = sFolder + "settings.ini";
        nLine = 2;
        ReadLong(sFile, "DateRangeFrom", DateRangeFrom);
        nLine = 3;
        ReadLong(sFile, "DateRangeTo", DateRangeTo);
        nLine = 4;
        ReadText(sFile, "CSVDelimiter", CSVDelimiter);
        nLine = 5;
        ReadLong(sFile, "ChunkSize", ChunkSize);
        nLine = 6;
        ReadText(sFile, "PrefixHtmlClass", PrefixHtmlClass);
        nLine = 7;
        ReadText(sFile, "PrefixHtmlVariable", PrefixHtmlVariable);
    });
}

} // namespace engine::detail
