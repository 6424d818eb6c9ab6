#pragma once

#include "platform/win/Registry.h"
#include "platform/win/RegistryValue.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::win::detail {

/// One key of the registry stand-in: its name as created, its subkeys and values, both
/// indexed by their case-folded names.
struct RegistryKey
{
    std::string name;
    std::map<std::string, RegistryKey> subkeys;
    std::map<std::string, std::pair<std::string, RegistryValue>> values;
};

/// Both hives' keys, with the text form the store file holds.
class RegistryTree
{
public:
    /// Parses the store file's text; nothing when it is damaged (`errorLine` then tells the
    /// first line that could not be read, counting from 1).
    static std::optional<RegistryTree> parse(std::string_view text, std::size_t& errorLine);

    /// The store file's text.
    std::string text() const;

    /// The key at a path (components already split), or nullptr when missing.
    const RegistryKey* find(Hive hive, const std::vector<std::string>& path) const;

    /// The key at a path, or nullptr when missing.
    RegistryKey* find(Hive hive, const std::vector<std::string>& path);

    /// The key at a path, created with the keys above it when missing.
    RegistryKey& create(Hive hive, const std::vector<std::string>& path);

    /// Removes the key at a non-empty path; false when it is missing.
    bool remove(Hive hive, const std::vector<std::string>& path);

    /// The key path split at "\", empty components left out.
    static std::vector<std::string> splitPath(std::string_view keyPath);

private:
    std::map<Hive, RegistryKey> hives_;
};

} // namespace platform::win::detail
