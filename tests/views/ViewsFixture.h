#pragma once

#include "engine/FolderData.h"
#include "engine/FolderDataList.h"
#include "fieldcatalogue/Application.h"
#include "tests/platform/mapi/MapiFixture.h"
#include "views/cMapiProps.h"

#include <filesystem>
#include <memory>
#include <string>

namespace views::test {

namespace st = platform::store;

/// A store with the default folders reached through the add-in's own session, TZ and locale
/// pinned, a fresh per-user data folder, and the add-in's catalogue cache registered with a
/// field catalogue as the report window would hold it.
class ViewsFixture : public platform::mapi::test::MapiFixture
{
public:
    /// A folder descriptor for a store folder.
    std::shared_ptr<engine::FolderData> DataOf(const st::FolderInfo& oFolder) const;

protected:
    void SetUp() override;
    void TearDown() override;

    /// The registered cache.
    cMapiProps& MapiProps() { return *m_oMapiProps; }
    /// The per-user data folder of the add-in.
    std::filesystem::path DataFolder() const;
    /// A folder descriptor naming no folder of the store.
    static std::shared_ptr<engine::FolderData> MissingFolder(int n);
    /// Adds a user-defined text field to a folder.
    void AddUserField(const st::FolderInfo& oFolder, const std::string& sName, int nType = 1);
    /// The catalogue field of a key, failing the test when the cache does not know it.
    std::shared_ptr<fieldcatalogue::cField> Field(const std::string& sKey);

private:
    std::shared_ptr<cMapiProps> m_oMapiProps;
    std::shared_ptr<fieldcatalogue::Application> m_oCatalogue;
};

inline const std::string kSubjectKey = "{00020328-0000-0000-C000-000000000046}/PR_SUBJECT";
inline const std::string kKeywordsKey = "{00020329-0000-0000-C000-000000000046}/Keywords";
inline const std::string kLocationKey = "{00062002-0000-0000-C000-000000000046}/Location";

} // namespace views::test
