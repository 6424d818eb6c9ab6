#include "GridFixture.h"

#include "common/modLanguage.h"
#include "grid/Flexgrid2.h"
#include "grid/modEnumStrings.h"
#include "platform/locale/Locale.h"

#include <cstdlib>
#include <ctime>

void GridFixture::SetUp()
{
    setenv("TZ", "Europe/Berlin", 1);
    tzset();
    std::string sTemplate = (std::filesystem::temp_directory_path() / "tvgrid-XXXXXX").string();
    ASSERT_NE(mkdtemp(sTemplate.data()), nullptr);
    m_oAppData = sTemplate;
    setenv("XDG_CONFIG_HOME", m_oAppData.c_str(), 1);
    UseLanguage("de-DE", common::modLanguage::LANG_GERMAN);
}

void GridFixture::TearDown()
{
    std::error_code ec;
    std::filesystem::remove_all(m_oAppData, ec);
}

void GridFixture::UseLanguage(const std::string& sLocale, long lLanguage)
{
    platform::locale::SetCurrent(sLocale);
    common::modLanguage::SetLanguageID(lLanguage);
    grid::Flexgrid2::InitGridStrings();
    grid::modEnumStrings::InitEnumStrings();
}
