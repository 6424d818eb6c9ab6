#include "platform/win/SpecialFolders.h"

#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace platform::win {
namespace {

// An environment variable's value when it is an absolute path; relative values are ignored
// (they would make the folder depend on the working directory).
std::string absoluteFromEnvironment(const char* name)
{
    const char* value = std::getenv(name);
    if (value == nullptr || value[0] != '/') {
        return {};
    }
    return value;
}

std::string homeFolder()
{
    if (auto home = absoluteFromEnvironment("HOME"); !home.empty()) {
        return home;
    }
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    passwd entry{};
    passwd* result = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &result) == 0 &&
        result != nullptr && result->pw_dir != nullptr && result->pw_dir[0] == '/') {
        return result->pw_dir;
    }
    return {};
}

std::string withoutTrailingSlash(std::string path)
{
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

std::string locate(SpecialFolder folder)
{
    switch (folder) {
    case SpecialFolder::ApplicationData: {
        if (auto config = absoluteFromEnvironment("XDG_CONFIG_HOME"); !config.empty()) {
            return config;
        }
        const auto home = homeFolder();
        return home.empty() ? std::string() : withoutTrailingSlash(home) + "/.config";
    }
    case SpecialFolder::CommonApplicationData: {
        if (auto common = absoluteFromEnvironment("TV_COMMON_APPDATA"); !common.empty()) {
            return common;
        }
        return "/var/lib";
    }
    }
    return {};
}

} // namespace

std::string specialFolderPath(SpecialFolder folder, FolderCreation creation)
{
    auto path = withoutTrailingSlash(locate(folder));
    if (path.empty() || creation == FolderCreation::Leave) {
        return path;
    }
    std::error_code error;
    std::filesystem::create_directories(path, error);
    if (error || !std::filesystem::is_directory(path, error)) {
        return {};
    }
    return path;
}

std::string specialFolderPath(int folderNumber)
{
    const auto creation = (folderNumber & kSpecialFolderCreateFlag) != 0 ? FolderCreation::Create
                                                                         : FolderCreation::Leave;
    switch (folderNumber & ~kSpecialFolderCreateFlag) {
    case static_cast<int>(SpecialFolder::ApplicationData):
        return specialFolderPath(SpecialFolder::ApplicationData, creation);
    case static_cast<int>(SpecialFolder::CommonApplicationData):
        return specialFolderPath(SpecialFolder::CommonApplicationData, creation);
    default:
        return {};
    }
}

} // namespace platform::win
