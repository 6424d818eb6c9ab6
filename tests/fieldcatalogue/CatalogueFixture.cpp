#include "CatalogueFixture.h"

#include "common/modLanguage.h"

#include <cstdlib>

namespace fieldcatalogue::test {

void CatalogueFixture::SetUp()
{
    MapiFixture::SetUp();
    m_oConfigHome = Dir() / "config";
    std::filesystem::create_directories(m_oConfigHome);
    setenv("XDG_CONFIG_HOME", m_oConfigHome.c_str(), 1);
    common::modLanguage::ResetLanguageForTests();
    m_oSession = LoggedOnSession();
    m_oApplication = std::make_shared<Application>();
}

void CatalogueFixture::TearDown()
{
    m_oApplication.reset();
    m_oSession.reset();
    common::modLanguage::ResetLanguageForTests();
    unsetenv("XDG_CONFIG_HOME");
    MapiFixture::TearDown();
}

std::shared_ptr<platform::mapi::Folder> CatalogueFixture::MapiFolder(const st::FolderInfo& oFolder)
{
    return m_oSession->GetFolderFromID(oFolder.entryId);
}

std::shared_ptr<platform::mapi::Folder> CatalogueFixture::DefaultMapiFolder(st::FolderRole eRole)
{
    return MapiFolder(Folder(eRole));
}

std::vector<std::shared_ptr<cField>> CatalogueFixture::FieldsOf(const cFields& oFields)
{
    return {oFields.begin(), oFields.end()};
}

} // namespace fieldcatalogue::test
