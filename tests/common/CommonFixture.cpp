#include "CommonFixture.h"

#include "common/modLanguage.h"
#include "platform/locale/Locale.h"

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>

void CommonFixture::SetUp()
{
    setenv("TZ", "Europe/Berlin", 1);
    tzset();
    platform::locale::SetCurrent("de-DE");
    common::modLanguage::ResetLanguageForTests();
    std::string sTemplate = (std::filesystem::temp_directory_path() / "tvcommon-XXXXXX").string();
    ASSERT_NE(mkdtemp(sTemplate.data()), nullptr);
    m_oAppData = sTemplate;
    setenv("XDG_CONFIG_HOME", m_oAppData.c_str(), 1);
}

void CommonFixture::TearDown()
{
    std::error_code ec;
    std::filesystem::remove_all(m_oAppData, ec);
}

std::string CommonFixture::ReadFile(const std::filesystem::path& oPath)
{
    std::ifstream oIn(oPath, std::ios::binary);
    std::ostringstream oOut;
    oOut << oIn.rdbuf();
    return oOut.str();
}

void CommonFixture::WriteFile(const std::filesystem::path& oPath, const std::string& sBytes)
{
    std::filesystem::create_directories(oPath.parent_path());
    std::ofstream(oPath, std::ios::binary) << sBytes;
}
