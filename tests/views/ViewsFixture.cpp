#include "ViewsFixture.h"

#include "common/modLanguage.h"
#include "common/modMain.h"
#include "common/modRedemption.h"

#include <cstdlib>

namespace views::test {

void ViewsFixture::SetUp()
{
    MapiFixture::SetUp();
    const auto oConfig = Dir() / "config";
    std::filesystem::create_directories(oConfig);
    setenv("XDG_CONFIG_HOME", oConfig.c_str(), 1);
    common::modMain::G() = {};
    common::modLanguage::ResetLanguageForTests();
    m_oCatalogue = std::make_shared<fieldcatalogue::Application>();
    m_oMapiProps = std::make_shared<cMapiProps>();
    m_oMapiProps->SetCatalogueSource([this] { return m_oCatalogue; });
    SetRootMapiProps(m_oMapiProps);
    m_oMapiProps->LoadStandardProperties();
}

void ViewsFixture::TearDown()
{
    SetRootMapiProps(nullptr);
    m_oMapiProps.reset();
    m_oCatalogue.reset();
    common::modRedemption::ReleaseSession(true);
    common::modMain::G() = {};
    unsetenv("XDG_CONFIG_HOME");
    MapiFixture::TearDown();
}

std::filesystem::path ViewsFixture::DataFolder() const
{
    return common::modMain::GetUserDataPath();
}

std::shared_ptr<engine::FolderData> ViewsFixture::DataOf(const st::FolderInfo& oFolder) const
{
    auto oData = std::make_shared<engine::FolderData>();
    oData->Init(oFolder.entryId, const_cast<ViewsFixture*>(this)->Store().EntryId(), oFolder.name,
                0, false);
    return oData;
}

std::shared_ptr<engine::FolderData> ViewsFixture::MissingFolder(int n)
{
    auto oData = std::make_shared<engine::FolderData>();
    oData->Init("00DEAD" + std::to_string(n), "00BEEF", "gone", 0, false);
    return oData;
}

void ViewsFixture::AddUserField(const st::FolderInfo& oFolder, const std::string& sName, int nType)
{
    Store().AddUserField(oFolder.entryId,
                         st::UserField{"{00020329-0000-0000-C000-000000000046}", nType, sName});
}

std::shared_ptr<fieldcatalogue::cField> ViewsFixture::Field(const std::string& sKey)
{
    auto oField = MapiProps().FindField(sKey);
    EXPECT_TRUE(oField) << sKey;
    return oField;
}

} // namespace views::test
