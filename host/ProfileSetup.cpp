#include "host/ProfileSetup.h"

#include "platform/store/Profile.h"
#include "platform/store/SampleProfile.h"

#include <cstdlib>
#include <ctime>
#include <stdexcept>
#include <unistd.h>

namespace host {

namespace fs = std::filesystem;

fs::path SampleProfileFolder()
{
    const char* pConfig = std::getenv("XDG_CONFIG_HOME");
    fs::path oBase;
    if (pConfig && *pConfig)
        oBase = pConfig;
    else if (const char* pHome = std::getenv("HOME"); pHome && *pHome)
        oBase = fs::path(pHome) / ".config";
    else
        oBase = fs::temp_directory_path();
    return oBase / "Kestrova" / "Tallyman" / "SampleProfile";
}

namespace {
platform::store::CivilDate Today()
{
    const std::time_t t = std::time(nullptr);
    std::tm tmLocal{};
    localtime_r(&t, &tmLocal);
    return {tmLocal.tm_year + 1900, tmLocal.tm_mon + 1, tmLocal.tm_mday};
}
} // namespace

bool EnsureSampleProfile(const fs::path& oFolder, const fs::path& oDataFolder,
                         const std::string& sReportsXml, const std::string& sLanguage)
{
    if (platform::store::Profile::Exists(oFolder))
        return false;
    if (fs::exists(oFolder) && !fs::is_empty(oFolder))
        throw std::runtime_error("the folder " + oFolder.string() +
                                 " holds other files and no profile; it is left as it is");
    fs::create_directories(oFolder.parent_path());
    const fs::path oWork =
        oFolder.parent_path() / (oFolder.filename().string() + ".new-" + std::to_string(getpid()));
    std::error_code ec;
    fs::remove_all(oWork, ec);
    try {
        platform::store::SampleProfileOptions oOptions;
        oOptions.anchor = Today();
        if (!sReportsXml.empty() && !oDataFolder.empty()) {
            oOptions.dataFolder = oDataFolder;
            oOptions.reportsXml = sReportsXml;
            oOptions.language = sLanguage;
        }
        platform::store::GenerateSampleProfile(oWork, oOptions);
        if (fs::exists(oFolder))
            fs::remove(oFolder); // empty, as checked above
        fs::rename(oWork, oFolder);
    } catch (...) {
        fs::remove_all(oWork, ec);
        throw;
    }
    return true;
}

} // namespace host
