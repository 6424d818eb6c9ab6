#pragma once

#include "platform/win/RegistryValue.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::win {

namespace detail {
class RegistryStore;
}

/// The registry's root keys that the stand-in keeps, with the host's handle values.
enum class Hive : std::uint32_t
{
    CurrentUser = 0x80000001u,  ///< HKEY_CURRENT_USER
    LocalMachine = 0x80000002u, ///< HKEY_LOCAL_MACHINE
};

/// The hive for a root-key handle as the system passes it, as a 32-bit signed number
/// (-2147483647) or unsigned (0x80000001); nothing for any other handle.
std::optional<Hive> hiveFromHandle(std::int64_t handle);

/// The registry reader and writer: a file-backed store of keys and values.
///
/// Key paths use "\" between keys ("Software\Kestrova\Tallyman\Settings\"); leading, trailing
/// and doubled separators are ignored, and key and value names match without regard to case
/// (a key keeps the spelling it was created with). The empty value name is the key's default
/// value.
///
/// Both hives live in one UTF-8 text file that is replaced through a temporary file and a
/// rename on every write, under a lock file so that processes take turns. Its format:
///   Tallyman registry store 1
///   [HKEY_CURRENT_USER\Software\Kestrova\Tallyman\Settings]
///   "LastTemplate"="(Standard)"
///   "frmMain"=hex:30,00,09,00
///   "Masterlist"=empty:
/// Text between quotes escapes "\" and the quote with "\" and control characters as \xHH.
///
/// All objects for one store file share one in-memory copy, which is read again whenever the
/// file changed on disk, so two objects (or processes) see each other's writes.
/// Failures raise the runtime's errors: 75 for a store that cannot be read or is damaged
/// (a damaged store is never overwritten), the file errors of a failed write (61 disk full,
/// 70 permission denied, ...), 5 for a key or value name with control characters.
class Registry
{
public:
    /// The store of the current user: "tallyman-registry/registry.txt" in the per-user
    /// application-data folder (see SpecialFolders.h), found when the object is made.
    Registry();
    /// The store in the given file.
    explicit Registry(const std::filesystem::path& storeFile);
    ~Registry();
    Registry(const Registry&);
    Registry& operator=(const Registry&);

    /// The file that holds the store.
    const std::filesystem::path& storeFile() const noexcept { return storeFile_; }

    /// A value, or nothing when the key or the value is missing.
    std::optional<RegistryValue> read(Hive hive, std::string_view keyPath,
                                      std::string_view valueName) const;

    /// Stores a value, creating its key and the keys above it as needed.
    void write(Hive hive, std::string_view keyPath, std::string_view valueName,
               RegistryValue value);

    /// The third operation the system uses for an empty list: stores an empty value under the
    /// name, creating the key as needed. Reads back as RegistryValue::Kind::Empty.
    void writeEmpty(Hive hive, std::string_view keyPath, std::string_view valueName);

    /// Removes a value; true when there was one.
    bool deleteValue(Hive hive, std::string_view keyPath, std::string_view valueName);

    /// Removes a key with its values and every key below it; true when there was one.
    /// The hive itself (an empty path) cannot be removed: that raises error 5.
    bool deleteKey(Hive hive, std::string_view keyPath);

    /// Whether the key exists.
    bool keyExists(Hive hive, std::string_view keyPath) const;

    /// The names of the key's direct subkeys, in case-insensitive order; none for a missing key.
    std::vector<std::string> subkeyNames(Hive hive, std::string_view keyPath) const;

    /// The names of the key's values, in case-insensitive order; none for a missing key.
    std::vector<std::string> valueNames(Hive hive, std::string_view keyPath) const;

private:
    detail::RegistryStore& store() const;

    std::filesystem::path storeFile_;
    std::shared_ptr<detail::RegistryStore> store_;
};

} // namespace platform::win
