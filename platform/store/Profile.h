#pragma once

#include "platform/store/Store.h"
#include "platform/store/StoreRecords.h"

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform::store {

/// A messaging profile: a folder holding one database file per store ("store1.db", ...) and a
/// small index "profile.db" (the stores in order, the default store, the user's name).
/// Stores opened through a profile are shared: asking twice gives the same Store object.
class Profile
{
public:
    /// Creates a profile in a folder that does not exist or is empty (the folder is made).
    /// Throws StoreError AlreadyExists when the folder holds files.
    static std::shared_ptr<Profile> Create(const std::filesystem::path& folder);
    /// Opens an existing profile; NotFound when the folder has no profile index.
    static std::shared_ptr<Profile> Open(const std::filesystem::path& folder);
    /// Whether a folder holds a profile index.
    static bool Exists(const std::filesystem::path& folder);
    ~Profile();
    Profile(const Profile&) = delete;
    Profile& operator=(const Profile&) = delete;

    /// The profile folder.
    const std::filesystem::path& Folder() const;
    /// The current user's display name ("" when never set).
    std::string UserName() const;
    /// Sets the current user's display name.
    void SetUserName(std::string_view name);

    /// The stores in the order they were added.
    std::vector<StoreInfo> Stores();
    /// The stores' entry ids and file names in the order they were added, without opening them.
    std::vector<std::pair<std::string, std::string>> StoreFiles() const;
    /// A store by entry id (compared without regard to case); NotFound when not in the profile.
    std::shared_ptr<Store> OpenStore(std::string_view entryId);
    /// The default store; NotFound when the profile has none.
    std::shared_ptr<Store> DefaultStore();
    /// Adds a new store. The first store of a profile becomes the default whatever `makeDefault`
    /// says. `uid` as for Store::Create.
    std::shared_ptr<Store> CreateStore(std::string_view name, StoreKind kind,
                                       bool makeDefault = false, std::string_view uid = {});
    /// Makes another store the default.
    void SetDefaultStore(std::string_view entryId);

private:
    struct Impl;
    explicit Profile(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

} // namespace platform::store
