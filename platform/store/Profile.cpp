#include "platform/store/Profile.h"

#include "platform/store/StoreError.h"
#include "platform/store/detail/Sqlite.h"

#include <algorithm>
#include <cctype>
#include <map>

namespace platform::store {

namespace {

constexpr const char* kIndexFile = "profile.db";

constexpr const char* kIndexSchema = R"sql(
CREATE TABLE stores(position INTEGER PRIMARY KEY, entry_id TEXT NOT NULL UNIQUE,
                    file_name TEXT NOT NULL, is_default INTEGER NOT NULL DEFAULT 0);
CREATE TABLE settings(key TEXT PRIMARY KEY, value TEXT NOT NULL) WITHOUT ROWID;
INSERT INTO settings(key, value) VALUES('schema_version', '1');
)sql";

std::string Upper(std::string_view s)
{
    std::string out(s);
    for (auto& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

} // namespace

struct Profile::Impl
{
    Impl(const std::filesystem::path& f, bool create) : folder(f), index(f / kIndexFile, create) {}

    std::filesystem::path folder;
    detail::Database index;
    std::map<std::string, std::shared_ptr<Store>> open; // by upper-case entry id

    std::shared_ptr<Store> Load(const std::string& entryId, const std::string& fileName)
    {
        if (auto it = open.find(entryId); it != open.end())
            return it->second;
        std::shared_ptr<Store> store = Store::Open(folder / fileName);
        if (store->EntryId() != entryId)
            throw StoreError(StoreErrorKind::Database,
                             "store file " + fileName + " does not hold store " + entryId,
                             StoreFailure::Damaged);
        open.emplace(entryId, store);
        return store;
    }
};

Profile::Profile(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Profile::~Profile() = default;

bool Profile::Exists(const std::filesystem::path& folder)
{
    std::error_code ec;
    return std::filesystem::is_regular_file(folder / kIndexFile, ec);
}

std::shared_ptr<Profile> Profile::Create(const std::filesystem::path& folder)
{
    std::error_code ec;
    if (std::filesystem::exists(folder, ec) && !std::filesystem::is_empty(folder, ec))
        throw StoreError(StoreErrorKind::AlreadyExists,
                         "profile folder is not empty: " + folder.string());
    std::filesystem::create_directories(folder, ec);
    if (ec)
        throw StoreError(StoreErrorKind::Database,
                         "cannot make profile folder " + folder.string() + ": " + ec.message());
    auto impl = std::make_unique<Impl>(folder, true);
    impl->index.Exec(kIndexSchema);
    return std::shared_ptr<Profile>(new Profile(std::move(impl)));
}

std::shared_ptr<Profile> Profile::Open(const std::filesystem::path& folder)
{
    if (!Exists(folder))
        throw StoreError(StoreErrorKind::NotFound, "no profile in " + folder.string());
    return std::shared_ptr<Profile>(new Profile(std::make_unique<Impl>(folder, false)));
}

const std::filesystem::path& Profile::Folder() const
{
    return impl_->folder;
}

std::string Profile::UserName() const
{
    auto& st = impl_->index.Prepare("SELECT value FROM settings WHERE key = 'user_name'");
    if (!st.Step())
        return {};
    auto name = st.Text(0);
    st.Reset();
    return name;
}

void Profile::SetUserName(std::string_view name)
{
    impl_->index.Prepare("INSERT OR REPLACE INTO settings(key, value) VALUES('user_name', ?)")
        .Bind(1, name)
        .Run();
}

std::vector<std::pair<std::string, std::string>> Profile::StoreFiles() const
{
    std::vector<std::pair<std::string, std::string>> files;
    auto& st = impl_->index.Prepare("SELECT entry_id, file_name FROM stores ORDER BY position");
    while (st.Step())
        files.emplace_back(st.Text(0), st.Text(1));
    return files;
}

std::vector<StoreInfo> Profile::Stores()
{
    std::vector<std::pair<std::string, std::string>> rows;
    std::vector<bool> defaults;
    {
        auto& st = impl_->index.Prepare(
            "SELECT entry_id, file_name, is_default FROM stores ORDER BY position");
        while (st.Step()) {
            rows.emplace_back(st.Text(0), st.Text(1));
            defaults.push_back(st.Int(2) != 0);
        }
    }
    std::vector<StoreInfo> out;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto store = impl_->Load(rows[i].first, rows[i].second);
        out.push_back(
            {store->EntryId(), store->Name(), store->Kind(), defaults[i], rows[i].second});
    }
    return out;
}

std::shared_ptr<Store> Profile::OpenStore(std::string_view entryId)
{
    const std::string id = Upper(entryId);
    auto& st = impl_->index.Prepare("SELECT file_name FROM stores WHERE entry_id = ?");
    if (!st.Bind(1, id).Step())
        throw StoreError(StoreErrorKind::NotFound,
                         "no store " + std::string(entryId) + " in profile");
    const auto file = st.Text(0);
    st.Reset();
    return impl_->Load(id, file);
}

std::shared_ptr<Store> Profile::DefaultStore()
{
    auto& st = impl_->index.Prepare("SELECT entry_id FROM stores WHERE is_default = 1");
    if (!st.Step())
        throw StoreError(StoreErrorKind::NotFound, "profile has no default store");
    const auto id = st.Text(0);
    st.Reset();
    return OpenStore(id);
}

std::shared_ptr<Store> Profile::CreateStore(std::string_view name, StoreKind kind, bool makeDefault,
                                            std::string_view uid)
{
    auto& next =
        impl_->index.Prepare("SELECT COALESCE(MAX(position), 0) + 1, COUNT(*) FROM stores");
    next.Step();
    const auto position = next.Int(0);
    const bool first = next.Int(1) == 0;
    next.Reset();
    const std::string file = "store" + std::to_string(position) + ".db";
    std::shared_ptr<Store> store = Store::Create(impl_->folder / file, name, kind, uid);
    impl_->index.Prepare("INSERT INTO stores(position, entry_id, file_name) VALUES(?, ?, ?)")
        .Bind(1, position)
        .Bind(2, store->EntryId())
        .Bind(3, file)
        .Run();
    impl_->open.emplace(store->EntryId(), store);
    if (first || makeDefault)
        SetDefaultStore(store->EntryId());
    return store;
}

void Profile::SetDefaultStore(std::string_view entryId)
{
    const std::string id = Upper(entryId);
    OpenStore(id);
    impl_->index.Prepare("UPDATE stores SET is_default = (entry_id = ?)").Bind(1, id).Run();
}

} // namespace platform::store
