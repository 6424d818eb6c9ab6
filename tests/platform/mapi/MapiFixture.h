#pragma once

#include "platform/locale/Locale.h"
#include "platform/mapi/CurrentProfile.h"
#include "platform/mapi/Session.h"
#include "platform/runtime/Error.h"
#include "platform/store/KnownProperties.h"
#include "platform/store/Profile.h"
#include "platform/store/StoreBuilder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>
#include <optional>
#include <random>
#include <string>

namespace platform::mapi::test {

namespace st = platform::store;

/// A fresh profile per test in a temporary folder, TZ pinned to Berlin (real daylight-saving
/// changes) and the German locale: a default personal store with the default folders and an
/// archive store of another kind. The process's current profile points at it.
class MapiFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        setenv("TZ", "Europe/Berlin", 1);
        tzset();
        platform::locale::SetCurrent("de-DE");
        std::random_device rd;
        m_dir = std::filesystem::temp_directory_path() /
                ("tv-mapi-" + std::to_string(rd()) + std::to_string(rd()));
        m_profile = st::Profile::Create(m_dir / "Outlook");
        m_profile->SetUserName("Jörg Müller");
        m_store =
            m_profile->CreateStore("Persönliche Ordner", st::StoreKind::UnicodePersonal, true);
        m_archive = m_profile->CreateStore("Archiv", st::StoreKind::AnsiPersonal);
        m_builder = std::make_unique<st::StoreBuilder>(*m_store);
        for (auto role : {st::FolderRole::DeletedItems, st::FolderRole::Outbox,
                          st::FolderRole::SentMail, st::FolderRole::Inbox, st::FolderRole::Calendar,
                          st::FolderRole::Contacts, st::FolderRole::Journal, st::FolderRole::Notes,
                          st::FolderRole::Tasks, st::FolderRole::Drafts})
            m_builder->DefaultFolder(role);
        m_store->SetProperty(st::props::PR_MAILBOX_OWNER_NAME, st::PropValue{"Jörg Müller"});
        SetCurrentProfile((m_dir / "Outlook").string());
    }

    void TearDown() override
    {
        SetCurrentProfile("");
        m_builder.reset();
        m_store.reset();
        m_archive.reset();
        m_profile.reset();
        std::error_code ec;
        std::filesystem::remove_all(m_dir, ec);
    }

    /// A session logged on to the test profile.
    std::shared_ptr<Session> LoggedOnSession()
    {
        auto session = std::make_shared<Session>();
        session->Logon({}, {}, {}, false);
        return session;
    }

    st::FolderInfo Folder(st::FolderRole role) { return *m_store->DefaultFolder(role); }
    st::StoreBuilder& Builder() { return *m_builder; }
    st::Store& Store() { return *m_store; }
    st::Store& Archive() { return *m_archive; }
    /// Lets go of the fixture's own profile objects, for a test that replaces the folder.
    void ReleaseProfile()
    {
        m_builder.reset();
        m_store.reset();
        m_archive.reset();
        m_profile.reset();
    }
    const std::filesystem::path& Dir() const { return m_dir; }

    /// The tag of a LID-named property in the default store, mapping it when new.
    std::int32_t Named(const char* set, std::uint32_t lid, std::uint16_t type)
    {
        return static_cast<std::int32_t>(
            m_builder->NamedTag(st::NamedProperty::Lid(set, lid), type));
    }

private:
    std::filesystem::path m_dir;
    std::shared_ptr<st::Profile> m_profile;
    std::shared_ptr<st::Store> m_store;
    std::shared_ptr<st::Store> m_archive;
    std::unique_ptr<st::StoreBuilder> m_builder;
};

/// The runtime error number `f` raises, or nothing when it returns normally.
template <class F> std::optional<std::int32_t> RaisedNumber(F&& f)
{
    try {
        f();
    } catch (const platform::runtime::Error& e) {
        return e.Number();
    }
    return std::nullopt;
}

} // namespace platform::mapi::test
