#include "platform/mapi/CategoryList.h"

#include "platform/mapi/CurrentProfile.h"
#include "platform/mapi/MasterCategoryList.h"
#include "platform/mapi/detail/Context.h"
#include "platform/runtime/Error.h"
#include "platform/store/KnownProperties.h"
#include "platform/win/Registry.h"

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace platform::mapi {

namespace {

constexpr const char* kSource = "CategoryList";

// The default store of the profile, opened through the process's shared stores so that the
// client's views see a change at once.
template <typename F> auto WithDefaultStore(const std::string& profilePath, F&& body)
{
    if (profilePath.empty())
        runtime::Raise(detail::MAPI_E_LOGON_FAILED, kSource, "No profile is set.");
    detail::Context context(profilePath);
    return detail::Guard(kSource, [&] { return body(context.GetStore(context.DefaultStoreId())); });
}

std::vector<std::string> Fields(const std::string& text)
{
    std::vector<std::string> fields;
    std::string::size_type start = 0;
    for (;;) {
        const auto end = text.find(';', start);
        fields.push_back(text.substr(start, end - start));
        if (end == std::string::npos)
            return fields;
        start = end + 1;
    }
}

bool IsWholeNumber(const std::string& field)
{
    std::size_t i = (!field.empty() && field[0] == '-') ? 1 : 0;
    if (i == field.size())
        return false;
    for (; i < field.size(); ++i)
        if (!std::isdigit(static_cast<unsigned char>(field[i])))
            return false;
    return true;
}

// The same identifier for the same name in every read, so that a list written back unchanged
// keeps its identifiers (FNV-1a over the name, spread over the digits of a GUID's layout).
std::string IdentifierOf(const std::string& name)
{
    std::uint64_t halves[2] = {0xcbf29ce484222325ull, 0x84222325cbf29ce4ull};
    for (auto& h : halves)
        for (const unsigned char c : name)
            h = (h ^ c) * 0x100000001b3ull;
    char id[40];
    std::snprintf(id, sizeof id, "{%08X-%04X-%04X-%04X-%012llX}",
                  static_cast<unsigned>(halves[0] >> 32),
                  static_cast<unsigned>((halves[0] >> 16) & 0xFFFF),
                  static_cast<unsigned>(halves[0] & 0xFFFF), static_cast<unsigned>(halves[1] >> 48),
                  static_cast<unsigned long long>(halves[1] & 0xFFFFFFFFFFFFull));
    return id;
}

std::string StoredNames(const std::string& profilePath)
{
    return WithDefaultStore(profilePath, [](store::Store& st) {
        const auto value = st.GetProperty(store::props::PR_MASTER_CATEGORY_LIST);
        const auto* text = value ? std::get_if<std::string>(&*value) : nullptr;
        return text ? *text : std::string();
    });
}

int MajorVersion(const std::string& version)
{
    int major = 0;
    for (const char c : version) {
        if (!std::isdigit(static_cast<unsigned char>(c)))
            break;
        major = major * 10 + (c - '0');
        if (major > 1000)
            break;
    }
    return major;
}

} // namespace

std::string MasterCategoryList::GroupsOf(const std::string& names)
{
    std::string groups;
    if (names.empty())
        return groups;
    for (const auto& name : Fields(names)) {
        if (name.empty())
            continue;
        if (!groups.empty())
            groups += ';';
        groups += IdentifierOf(name) + ';' + name + ";0;0";
    }
    return groups;
}

std::string MasterCategoryList::NamesOf(const std::string& groups)
{
    std::string names;
    if (groups.empty())
        return names;
    const auto fields = Fields(groups);
    if (fields.size() % 4 != 0)
        runtime::Raise(runtime::errors::InvalidProcedureCall, kSource,
                       "A master category list holds four fields per category; this one has " +
                           std::to_string(fields.size()) + ".");
    for (std::size_t i = 0; i < fields.size(); i += 4) {
        if (!IsWholeNumber(fields[i + 2]) || !IsWholeNumber(fields[i + 3]))
            runtime::Raise(runtime::errors::InvalidProcedureCall, kSource,
                           "The colour and the shortcut key of the category \"" + fields[i + 1] +
                               "\" are not whole numbers.");
        if (fields[i + 1].empty())
            continue;
        if (!names.empty())
            names += ';';
        names += fields[i + 1];
    }
    return names;
}

std::shared_ptr<MasterCategoryList>
CategoryList::GetMasterlist(const std::shared_ptr<runtime::Object>& application) const
{
    if (!application)
        runtime::Raise(runtime::errors::ObjectNotSet, kSource);
    const std::string profile = CurrentProfile();
    if (profile.empty())
        runtime::Raise(detail::MAPI_E_LOGON_FAILED, kSource, "No profile is set.");
    return std::make_shared<MasterCategoryList>(profile);
}

MasterCategoryList::MasterCategoryList(std::string profilePath)
    : m_profilePath(std::move(profilePath))
{
}

std::string MasterCategoryList::ReadCategories() const
{
    return GroupsOf(StoredNames(m_profilePath));
}

void MasterCategoryList::WriteCategories(const std::string& list)
{
    // Checked before the store is opened: a list that cannot be read changes nothing.
    const std::string names = NamesOf(list);
    WithDefaultStore(m_profilePath, [&](store::Store& st) {
        if (names.empty())
            st.DeleteProperty(store::props::PR_MASTER_CATEGORY_LIST);
        else
            st.SetProperty(store::props::PR_MASTER_CATEGORY_LIST, store::PropValue{names});
        return 0;
    });
}

void KeepMasterListForClient(const std::string& clientVersion)
{
    const int major = MajorVersion(clientVersion);
    if (major < 8 || major > 11)
        return;
    const std::string profile = CurrentProfile();
    if (profile.empty())
        return;
    const std::string key =
        "Software\\Microsoft\\Office\\" + std::to_string(major) + ".0\\Outlook\\Categories";
    win::Registry registry;
    if (registry.read(win::Hive::CurrentUser, key, "Masterlist"))
        return;
    const std::string names = StoredNames(profile);
    if (names.empty())
        return;
    if (major < 10) {
        registry.write(win::Hive::CurrentUser, key, "Masterlist", win::RegistryValue::text(names));
        return;
    }
    auto bytes = win::RegistryValue::text(names).asBytes();
    bytes.insert(bytes.end(), {0, 0});
    registry.write(win::Hive::CurrentUser, key, "Masterlist",
                   win::RegistryValue::binary(std::move(bytes)));
}

} // namespace platform::mapi
