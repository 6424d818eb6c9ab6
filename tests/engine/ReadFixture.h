#pragma once

#include "EngineFixture.h"

#include "engine/Application.h"
#include "engine/Field.h"
#include "engine/FolderData.h"
#include "engine/FolderDataList.h"
#include "engine/Record.h"
#include "engine/Records.h"

#include "common/modOLVersion.h"
#include "common/modRedemption.h"
#include "platform/mapi/Constants.h"
#include "platform/mapi/CurrentProfile.h"
#include "platform/outlook/Application.h"
#include "platform/runtime/Variant.h"
#include "platform/store/KnownProperties.h"
#include "platform/store/NamedProperty.h"
#include "platform/store/Profile.h"
#include "platform/store/StoreBuilder.h"

#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace engine::test {

namespace st = platform::store;
namespace mapi = platform::mapi;
namespace ch = std::chrono;

/// A day of the tests' own calendar (std::chrono), apart from the code under test.
inline ch::sys_days Civil(int y, unsigned m, unsigned d)
{
    return ch::sys_days{ch::year{y} / ch::month{m} / ch::day{d}};
}

/// "YYYY-MM-DD HH:MM" of a time of day on a day.
inline std::string TextAt(ch::sys_days day, int hour = 0, int minute = 0)
{
    const ch::year_month_day ymd{day};
    char s[32];
    std::snprintf(s, sizeof s, "%04d-%02u-%02u %02d:%02d", int(ymd.year()), unsigned(ymd.month()),
                  unsigned(ymd.day()), hour, minute);
    return s;
}

/// Midnight of every day from first to last.
inline std::vector<std::string> Midnights(ch::sys_days first, ch::sys_days last)
{
    std::vector<std::string> texts;
    for (auto d = first; d <= last; d += ch::days{1})
        texts.push_back(TextAt(d));
    return texts;
}

/// A fresh profile (a default personal store with calendar, tasks, journal, inbox and
/// contacts, and a second store of another kind), the client's application object and an
/// initialised engine root.
class ReadFixture : public EngineFixture
{
protected:
    void SetUp() override
    {
        EngineFixture::SetUp();
        m_profile = st::Profile::Create(DataDir() / "profile");
        m_profile->SetUserName("Jörg Müller");
        m_store =
            m_profile->CreateStore("Persönliche Ordner", st::StoreKind::UnicodePersonal, true);
        m_archive = m_profile->CreateStore("Archiv", st::StoreKind::PrimaryMailbox);
        m_store->SetProperty(st::props::PR_MAILBOX_OWNER_NAME, st::PropValue{"Jörg Müller"});
        m_archive->SetProperty(st::props::PR_MAILBOX_OWNER_NAME, st::PropValue{"Archiv Besitzer"});
        m_builder = std::make_unique<st::StoreBuilder>(*m_store);
        m_calendar = m_builder->DefaultFolder(st::FolderRole::Calendar);
        m_tasks = m_builder->DefaultFolder(st::FolderRole::Tasks);
        m_journal = m_builder->DefaultFolder(st::FolderRole::Journal);
        m_inbox = m_builder->DefaultFolder(st::FolderRole::Inbox);
        mapi::SetCurrentProfile((DataDir() / "profile").string());
        m_olApp = std::make_shared<platform::outlook::Application>("16.0.4266.1001");
    }

    void TearDown() override
    {
        if (m_root)
            m_root->Terminate();
        m_root.reset();
        common::modRedemption::ReleaseSession(true);
        common::modOLVersion::ResetOutlookVersion();
        mapi::SetCurrentProfile("");
        m_builder.reset();
        m_store.reset();
        m_archive.reset();
        m_profile.reset();
        EngineFixture::TearDown();
    }

    /// Writes "settings.ini" of the engine's data folder (section "default").
    void WriteSettings(const std::string& sLines)
    {
        const auto dir = DataDir() / "config" / "Kestrova" / "Fenwick615";
        std::filesystem::create_directories(dir);
        std::ofstream(dir / "settings.ini") << "[default]\n" << sLines;
    }

    /// The engine root, initialised on first use.
    Application& Root()
    {
        if (!m_root) {
            m_root = std::make_shared<Application>();
            m_root->Initialize(m_olApp);
        }
        return *m_root;
    }

    /// Adds a column to the root's record set.
    std::shared_ptr<Field> Column(const std::string& sKey, std::int32_t lTag,
                                  PT_PROPERTY_TYPE lType, long lMapping = 0,
                                  const rt::Variant& vId = {}, const std::string& sGuid = {},
                                  const std::string& sName = {})
    {
        auto oField = std::make_shared<Field>();
        oField->Init(sKey, lTag, lType, vId, sGuid, sName.empty() ? sKey : sName, lMapping);
        Root().Records()->AppendField(oField);
        return oField;
    }

    /// The subject column.
    void SubjectColumn() { Column("Subject", mapi::PR_SUBJECT, PT_STRING8); }

    /// A folder list entry for a folder of the default store.
    std::shared_ptr<FolderData> Entry(const st::FolderInfo& f, const st::Store* pStore = nullptr)
    {
        auto oData = std::make_shared<FolderData>();
        oData->Init(f.entryId, (pStore ? pStore : m_store.get())->EntryId(), f.name, 0, false);
        return oData;
    }

    /// Reads the folders and answers the value of one column of every record, as text.
    std::vector<std::string> ReadColumn(FolderDataList& list, const std::string& sKey = "Subject")
    {
        Root().ReadRecords(list);
        std::vector<std::string> values;
        for (const auto& oRecord : *Root().Records())
            values.push_back(Text(oRecord->Fields(rt::Variant(sKey))->Value()));
        return values;
    }

    /// Reads the given folders of the default store into subjects.
    std::vector<std::string> Subjects(const std::vector<st::FolderInfo>& folders)
    {
        FolderDataList list;
        for (const auto& f : folders)
            list.Add(Entry(f));
        return ReadColumn(list);
    }

    static std::string Text(const rt::Variant& v)
    {
        if (const auto* s = v.Get<std::string>())
            return *s;
        return v.IsEmpty() ? "<empty>" : "<" + v.TypeName() + ">";
    }

    /// "YYYY-MM-DD HH:MM" of a date value, "<no date>" for anything else.
    static std::string Format(const rt::Variant& v)
    {
        const auto* d = v.Get<rt::Date>();
        if (d == nullptr)
            return "<no date>";
        const auto f = rt::Fields(*d);
        char s[32];
        std::snprintf(s, sizeof s, "%04d-%02d-%02d %02d:%02d", f.year, f.month, f.day, f.hour,
                      f.minute);
        return s;
    }

    static st::LocalTime L(int y, int mo, int d, int h = 0, int mi = 0)
    {
        return st::MakeLocalTime(y, mo, d, h, mi);
    }

    static st::LocalTime L(ch::sys_days day, int h = 0, int mi = 0)
    {
        const ch::year_month_day ymd{day};
        return L(int(ymd.year()), int(unsigned(ymd.month())), int(unsigned(ymd.day())), h, mi);
    }

    /// The process's time zone becomes tz (the fixture starts in Berlin).
    static void SetZone(const char* tz)
    {
        setenv("TZ", tz, 1);
        tzset();
    }

    /// Runs SQL on the default store's file with the plain SQLite library, as another program
    /// (or an older version of the store) would write it.
    void ExecOnStore(const std::string& sql)
    {
        sqlite3* raw = nullptr;
        ASSERT_EQ(sqlite3_open(m_store->File().c_str(), &raw), SQLITE_OK);
        char* error = nullptr;
        EXPECT_EQ(sqlite3_exec(raw, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK)
            << (error ? error : "") << " in " << sql;
        sqlite3_free(error);
        sqlite3_close(raw);
    }

    st::StoreBuilder& B() { return *m_builder; }
    st::Store& Store() { return *m_store; }
    st::Store& ArchiveStore() { return *m_archive; }
    st::Profile& Profile() { return *m_profile; }

    st::FolderInfo m_calendar;
    st::FolderInfo m_tasks;
    st::FolderInfo m_journal;
    st::FolderInfo m_inbox;
    std::shared_ptr<platform::outlook::Application> m_olApp;
    std::shared_ptr<Application> m_root;

private:
    std::shared_ptr<st::Profile> m_profile;
    std::shared_ptr<st::Store> m_store;
    std::shared_ptr<st::Store> m_archive;
    std::unique_ptr<st::StoreBuilder> m_builder;
};

} // namespace engine::test
