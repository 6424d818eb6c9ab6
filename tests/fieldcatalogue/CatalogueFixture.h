#pragma once

#include "fieldcatalogue/Application.h"
#include "platform/mapi/Folder.h"
#include "tests/platform/mapi/MapiFixture.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace fieldcatalogue::test {

namespace st = platform::store;

/// A message store with the default folders reached through a logged-on session, time zone
/// and locale pinned, a fresh per-user data folder, and a catalogue whose language is German.
class CatalogueFixture : public platform::mapi::test::MapiFixture
{
protected:
    void SetUp() override;
    void TearDown() override;

    /// The session's folder of a store folder.
    std::shared_ptr<platform::mapi::Folder> MapiFolder(const st::FolderInfo& oFolder);
    /// The session's default folder of a role.
    std::shared_ptr<platform::mapi::Folder> DefaultMapiFolder(st::FolderRole eRole);
    /// The catalogue under test.
    Application& Catalogue() { return *m_oApplication; }
    /// The fields of an answer in collection order.
    static std::vector<std::shared_ptr<cField>> FieldsOf(const cFields& oFields);

private:
    std::filesystem::path m_oConfigHome;
    std::shared_ptr<platform::mapi::Session> m_oSession;
    std::shared_ptr<Application> m_oApplication;
};

} // namespace fieldcatalogue::test
