#pragma once

#include "platform/mapi/ErrorNumbers.h"
#include "platform/store/NamedProperty.h"
#include "platform/store/Profile.h"
#include "platform/store/PropValue.h"
#include "platform/store/Store.h"
#include "platform/store/StoreError.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform::mapi::detail {

/// Whether the session's messages are German: they follow the language of the current locale
/// (English for every other language).
bool German();

/// What every view of one logged-on session shares: the profile's opened stores and the
/// named-property ids found so far. Views keep it alive, so that a folder still reads after
/// the session that made it was logged off.
class Context
{
public:
    /// Opens the profile folder and its stores. A profile another context of this process has
    /// open is shared, so that every view in the process works on the same store objects.
    /// Throws runtime error -2147221231 (logon failed) when the folder holds no profile.
    explicit Context(std::string profilePath);
    ~Context();

    const std::string& ProfilePath() const { return m_profilePath; }
    /// The profile's name: its folder's name.
    std::string ProfileName() const;
    /// The profile's user name ("" when never set).
    std::string UserName() const;

    /// Store ids in the profile's order, the default store first.
    const std::vector<std::string>& StoreIds() const { return m_storeIds; }
    const std::string& DefaultStoreId() const { return m_storeIds.front(); }
    /// The store with this id (compared without regard to case), or null.
    store::Store* FindStore(const std::string& storeId) const;
    /// The store with this id; throws runtime error -2147221233 (not found).
    store::Store& GetStore(const std::string& storeId) const;

    /// The id of a named property in a store; nullopt when the store has not mapped it.
    /// Found ids are remembered, unmapped ones are asked again.
    std::optional<std::uint16_t> NamedId(store::Store& store, const store::NamedProperty& name);
    /// The tag of a LID-named property of a type, or 0 when the store has not mapped it.
    store::PropTag NamedTag(store::Store& store, const char* propertySet, long lid,
                            std::uint16_t type);
    /// A counter that every change made through this library raises, so that item lists
    /// read before know they are stale.
    std::uint64_t Generation() const { return m_generation; }
    void Touch() { ++m_generation; }

    /// The id of a named property, mapping it when new.
    std::uint16_t CreateNamedId(store::Store& store, const store::NamedProperty& name);

private:
    std::string m_profilePath;
    std::uint64_t m_generation = 0;
    std::shared_ptr<store::Profile> m_profile;
    std::vector<std::shared_ptr<store::Store>> m_stores;
    std::vector<std::string> m_storeIds;
    std::map<std::pair<const store::Store*, store::NamedProperty>, std::uint16_t> m_named;
    /// A LID-named id as a caller named it (set text as given): items ask for the same few
    /// names once per property read, and the canonical name costs more than the read.
    struct LidName
    {
        const store::Store* store;
        std::string propertySet;
        long lid;
        std::uint16_t id;
    };
    std::vector<LidName> m_lidNames;
    static constexpr std::size_t kLidNamesKept = 32;
};

/// A store failure as the runtime error callers of the library expect.
[[noreturn]] void RaiseStoreError(const std::exception& error, const char* source);

/// Runs `body`, turning a StoreError into a runtime error with `source`.
template <typename F> auto Guard(const char* source, F&& body) -> decltype(body())
{
    try {
        return body();
    } catch (const store::StoreError& e) {
        RaiseStoreError(e, source);
    }
}

/// The library's own error numbers (MAPI codes as the runtime reports them).
inline constexpr std::int32_t MAPI_E_NOT_FOUND = -2147221233;     // 0x8004010F
inline constexpr std::int32_t MAPI_E_LOGON_FAILED = -2147221231;  // 0x80040111
inline constexpr std::int32_t MAPI_E_NO_RECIPIENTS = -2147219963; // 0x80040605
inline constexpr std::int32_t DISP_E_EXCEPTION = -2147352567;     // 0x80020009

} // namespace platform::mapi::detail
