#include "platform/win/Registry.h"

#include "platform/runtime/Error.h"
#include "platform/win/SpecialFolders.h"
#include "platform/win/detail/Errors.h"
#include "platform/win/detail/RegistryStore.h"
#include "platform/win/detail/TextCodec.h"

#include <algorithm>
#include <cerrno>

namespace platform::win {
namespace {

namespace rt = platform::runtime;
using detail::RegistryKey;
using detail::RegistryTree;

constexpr std::string_view kSource = "Registry";

bool hasControlCharacters(std::string_view text)
{
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x20; });
}

// The key path's components; names with control characters cannot be stored in one line.
std::vector<std::string> checkedPath(std::string_view keyPath)
{
    if (hasControlCharacters(keyPath)) {
        throw rt::Error(rt::errors::InvalidProcedureCall, std::string(kSource),
                        "a registry key name cannot hold control characters");
    }
    return RegistryTree::splitPath(keyPath);
}

std::vector<std::string> namesOf(const RegistryKey* key, bool subkeys)
{
    std::vector<std::string> names;
    if (key == nullptr) {
        return names;
    }
    if (subkeys) {
        for (const auto& [folded, subkey] : key->subkeys) {
            names.push_back(subkey.name);
        }
    } else {
        for (const auto& [folded, entry] : key->values) {
            names.push_back(entry.first);
        }
    }
    return names;
}

std::filesystem::path defaultStoreFile()
{
    const auto folder = specialFolderPath(SpecialFolder::ApplicationData);
    if (folder.empty()) {
        return {};
    }
    return std::filesystem::path(folder) / "tallyman-registry" / "registry.txt";
}

} // namespace

std::optional<Hive> hiveFromHandle(std::int64_t handle)
{
    const auto bits = static_cast<std::uint32_t>(handle);
    if (handle != static_cast<std::int64_t>(bits) &&
        handle != static_cast<std::int64_t>(static_cast<std::int32_t>(bits))) {
        return std::nullopt;
    }
    for (const auto hive : {Hive::CurrentUser, Hive::LocalMachine}) {
        if (bits == static_cast<std::uint32_t>(hive)) {
            return hive;
        }
    }
    return std::nullopt;
}

Registry::Registry() : Registry(defaultStoreFile()) {}

Registry::Registry(const std::filesystem::path& storeFile) : storeFile_(storeFile)
{
    if (!storeFile_.empty()) {
        store_ = detail::RegistryStore::forFile(storeFile_);
    }
}

Registry::~Registry() = default;
Registry::Registry(const Registry&) = default;
Registry& Registry::operator=(const Registry&) = default;

detail::RegistryStore& Registry::store() const
{
    if (!store_) {
        detail::raiseFileError(ENOENT, kSource,
                               "there is no per-user data folder for the registry store");
    }
    return *store_;
}

std::optional<RegistryValue> Registry::read(Hive hive, std::string_view keyPath,
                                            std::string_view valueName) const
{
    const auto path = checkedPath(keyPath);
    const auto name = detail::foldCase(valueName);
    return store().read([&](const RegistryTree& tree) -> std::optional<RegistryValue> {
        const auto* key = tree.find(hive, path);
        if (key == nullptr) {
            return std::nullopt;
        }
        const auto value = key->values.find(name);
        if (value == key->values.end()) {
            return std::nullopt;
        }
        return value->second.second;
    });
}

void Registry::write(Hive hive, std::string_view keyPath, std::string_view valueName,
                     RegistryValue value)
{
    const auto path = checkedPath(keyPath);
    store().modify([&](RegistryTree& tree) {
        tree.create(hive, path).values[detail::foldCase(valueName)] = {std::string(valueName),
                                                                       std::move(value)};
        return true;
    });
}

void Registry::writeEmpty(Hive hive, std::string_view keyPath, std::string_view valueName)
{
    write(hive, keyPath, valueName, RegistryValue());
}

bool Registry::deleteValue(Hive hive, std::string_view keyPath, std::string_view valueName)
{
    const auto path = checkedPath(keyPath);
    return store().modify([&](RegistryTree& tree) {
        auto* key = tree.find(hive, path);
        return key != nullptr && key->values.erase(detail::foldCase(valueName)) > 0;
    });
}

bool Registry::deleteKey(Hive hive, std::string_view keyPath)
{
    const auto path = checkedPath(keyPath);
    if (path.empty()) {
        throw rt::Error(rt::errors::InvalidProcedureCall, std::string(kSource),
                        "a hive cannot be deleted");
    }
    return store().modify([&](RegistryTree& tree) { return tree.remove(hive, path); });
}

bool Registry::keyExists(Hive hive, std::string_view keyPath) const
{
    const auto path = checkedPath(keyPath);
    // A hive always exists, also before anything was stored in it.
    return path.empty() ||
           store().read([&](const RegistryTree& tree) { return tree.find(hive, path) != nullptr; });
}

std::vector<std::string> Registry::subkeyNames(Hive hive, std::string_view keyPath) const
{
    const auto path = checkedPath(keyPath);
    return store().read(
        [&](const RegistryTree& tree) { return namesOf(tree.find(hive, path), true); });
}

std::vector<std::string> Registry::valueNames(Hive hive, std::string_view keyPath) const
{
    const auto path = checkedPath(keyPath);
    return store().read(
        [&](const RegistryTree& tree) { return namesOf(tree.find(hive, path), false); });
}

} // namespace platform::win
