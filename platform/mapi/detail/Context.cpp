#include "platform/mapi/detail/Context.h"

#include "platform/locale/Locale.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/Strings.h"
#include "platform/store/StoreError.h"

#include <filesystem>
#include <mutex>
#include <optional>
#include <string>

#include <sys/stat.h>

namespace platform::mapi::detail {

bool German()
{
    return locale::Current().languageCode == "de";
}

namespace {

/// The identities (device, inode) of a profile's index and store files: a file put in the
/// place of another under the same name has another.
using FileIds = std::vector<std::pair<dev_t, ino_t>>;

FileIds IdsOf(const store::Profile& profile)
{
    FileIds ids;
    std::vector<std::string> names{"profile.db"};
    for (auto& [id, file] : profile.StoreFiles())
        names.push_back(file);
    for (const auto& name : names) {
        struct stat info
        {
        };
        if (::stat((profile.Folder() / name).c_str(), &info) != 0)
            return {};
        ids.emplace_back(info.st_dev, info.st_ino);
    }
    return ids;
}

/// Profiles open in this process, so that the client's views and the library's sessions
/// share one set of store objects and see each other's writes at once. The last profile
/// opened stays open after its last session ends: a report logs on for every read, and
/// opening the stores again each time costs their caches and mapped pages.
struct OpenProfiles
{
    std::mutex lock;
    std::map<std::string, std::weak_ptr<store::Profile>> byPath;
    std::string keptPath;
    std::shared_ptr<store::Profile> kept;
    FileIds keptIds;
};

OpenProfiles& Profiles()
{
    static OpenProfiles profiles;
    return profiles;
}

std::string Normal(const std::string& path)
{
    auto p = std::filesystem::weakly_canonical(std::filesystem::path(path));
    auto text = p.string();
    while (text.size() > 1 && text.back() == '/')
        text.pop_back();
    return text;
}

std::shared_ptr<store::Profile> OpenShared(const std::string& path)
{
    auto& open = Profiles();
    const auto key = Normal(path);
    std::lock_guard guard(open.lock);
    // A profile in use is shared as it is; one only kept is checked first.
    if (auto found = open.byPath[key].lock();
        found && !(found == open.kept && found.use_count() <= 2))
        return found;
    auto profile = store::Profile::Open(key);
    if (open.kept && open.keptPath == key) {
        // The kept one serves again while the folder holds the same stores in the same files;
        // one made anew at the path has other store ids, a file put in place another inode.
        const auto ids = IdsOf(*profile);
        if (!ids.empty() && ids == open.keptIds &&
            open.kept->StoreFiles() == profile->StoreFiles()) {
            open.byPath[key] = open.kept;
            return open.kept;
        }
    }
    open.kept = profile;
    open.keptPath = key;
    open.keptIds = IdsOf(*profile);
    open.byPath[key] = profile;
    return profile;
}

bool SameId(const std::string& a, const std::string& b)
{
    return runtime::TextEquals(a, b);
}

} // namespace

namespace {

std::int32_t FailureNumber(store::StoreFailure failure)
{
    switch (failure) {
    case store::StoreFailure::Damaged:
        return MAPI_E_CORRUPT_DATA;
    case store::StoreFailure::InUse:
        return MAPI_E_BUSY;
    case store::StoreFailure::CannotOpen:
        return MAPI_E_NO_ACCESS;
    case store::StoreFailure::DiskError:
        return MAPI_E_DISK_ERROR;
    case store::StoreFailure::DiskFull:
        return MAPI_E_NOT_ENOUGH_DISK;
    case store::StoreFailure::Other:
        break;
    }
    return MAPI_E_CALL_FAILED;
}

} // namespace

void RaiseStoreError(const std::exception& error, const char* source)
{
    const auto* e = dynamic_cast<const store::StoreError*>(&error);
    const auto kind = e ? e->Kind() : store::StoreErrorKind::Database;
    switch (kind) {
    case store::StoreErrorKind::NotFound:
        runtime::Raise(MAPI_E_NOT_FOUND, source, error.what());
    case store::StoreErrorKind::InvalidArgument:
        runtime::Raise(runtime::errors::InvalidProcedureCall, source, error.what());
    case store::StoreErrorKind::NotSupported:
        runtime::Raise(runtime::errors::NotSupported, source, error.what());
    default:
        runtime::Raise(FailureNumber(e ? e->Failure() : store::StoreFailure::Other), source,
                       error.what());
    }
}

Context::Context(std::string profilePath) : m_profilePath(std::move(profilePath))
{
    try {
        m_profile = OpenShared(m_profilePath);
        std::string defaultId;
        if (auto def = m_profile->DefaultStore())
            defaultId = def->EntryId();
        for (const auto& info : m_profile->Stores()) {
            auto st = m_profile->OpenStore(info.entryId);
            // The default store leads, as the session lists it first.
            if (SameId(info.entryId, defaultId)) {
                m_stores.insert(m_stores.begin(), st);
                m_storeIds.insert(m_storeIds.begin(), st->EntryId());
            } else {
                m_stores.push_back(st);
                m_storeIds.push_back(st->EntryId());
            }
        }
    } catch (const store::StoreError& e) {
        runtime::Raise(
            MAPI_E_LOGON_FAILED, "Session.Logon",
            (German() ? "Das Profil \"" : "The profile \"") + m_profilePath +
                (German() ? "\" kann nicht geöffnet werden: " : "\" cannot be opened: ") +
                e.what());
    }
    if (m_stores.empty())
        runtime::Raise(MAPI_E_LOGON_FAILED, "Session.Logon",
                       (German() ? "Das Profil \"" : "The profile \"") + m_profilePath +
                           (German() ? "\" enthält keinen Speicher." : "\" holds no store."));
}

Context::~Context() = default;

std::string Context::ProfileName() const
{
    return std::filesystem::path(Normal(m_profilePath)).filename().string();
}

std::string Context::UserName() const
{
    return Guard("Session.CurrentUser", [&] { return m_profile->UserName(); });
}

store::Store* Context::FindStore(const std::string& storeId) const
{
    for (std::size_t i = 0; i < m_storeIds.size(); ++i)
        if (SameId(m_storeIds[i], storeId))
            return m_stores[i].get();
    return nullptr;
}

store::Store& Context::GetStore(const std::string& storeId) const
{
    if (auto* st = FindStore(storeId))
        return *st;
    runtime::Raise(MAPI_E_NOT_FOUND, "Session", "The profile has no store \"" + storeId + "\".");
}

std::optional<std::uint16_t> Context::NamedId(store::Store& st, const store::NamedProperty& name)
{
    const auto key = std::make_pair(static_cast<const store::Store*>(&st), name);
    if (auto it = m_named.find(key); it != m_named.end())
        return it->second;
    auto id = Guard("GetIDsFromNames", [&] { return st.GetIdFromName(name); });
    if (id)
        m_named.emplace(key, *id);
    return id;
}

store::PropTag Context::NamedTag(store::Store& st, const char* propertySet, long lid,
                                 std::uint16_t type)
{
    for (const auto& known : m_lidNames)
        if (known.store == &st && known.lid == lid && known.propertySet == propertySet)
            return store::MakeTag(known.id, type);
    auto id = NamedId(st, store::NamedProperty::Lid(propertySet, lid));
    if (!id)
        return 0;
    // Only mapped names are remembered (an unmapped one may be mapped by a later change), and
    // only a few: the list is searched from the front on every call.
    if (m_lidNames.size() < kLidNamesKept)
        m_lidNames.push_back({&st, propertySet, lid, *id});
    return store::MakeTag(*id, type);
}

std::uint16_t Context::CreateNamedId(store::Store& st, const store::NamedProperty& name)
{
    if (auto id = NamedId(st, name))
        return *id;
    auto id = Guard("GetIDsFromNames", [&] { return st.GetOrCreateIdFromName(name); });
    m_named.emplace(std::make_pair(static_cast<const store::Store*>(&st), name), id);
    return id;
}

} // namespace platform::mapi::detail
