#include "platform/win/FileComponent.h"

#include "platform/runtime/Error.h"
#include "platform/runtime/FileFailure.h"
#include "platform/runtime/Strings.h"
#include "platform/win/FileIo.h"
#include "platform/win/SpecialFolders.h"
#include "platform/win/detail/Errors.h"
#include "platform/win/detail/TextCodec.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <system_error>

#include <sys/stat.h>

namespace platform::win {
namespace {

namespace fs = std::filesystem;
namespace rt = platform::runtime;
using detail::TextEncoding;

constexpr std::string_view kSource = "FileComponent";

// The encoding an append continues in: that of a file that starts with a byte-order mark,
// else UTF-8.
TextEncoding appendEncoding(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    char mark[3] = {};
    in.read(mark, sizeof mark);
    return detail::encodingFromMark(std::string_view(mark, static_cast<std::size_t>(in.gcount())));
}

} // namespace

std::string FileComponent::folder(int kind, std::string_view title) const
{
    if (kind != kUserDataFolder) {
        detail::raiseNotSupported(kSource, "the folder kind " + std::to_string(kind));
    }
    if (title.empty() || title == "." || title == ".." || title.find('/') != title.npos) {
        throw rt::Error(rt::errors::InvalidProcedureCall, std::string(kSource),
                        "an application title cannot name a folder path: " + std::string(title));
    }
    const auto base = specialFolderPath(SpecialFolder::ApplicationData);
    if (base.empty()) {
        throw rt::Error(rt::errors::PathNotFound, std::string(kSource),
                        "there is no per-user application-data folder");
    }
    const auto path = base + "/Kestrova/" + std::string(title) + "/";
    std::error_code error;
    fs::create_directories(path, error);
    if (error || !fs::is_directory(path)) {
        throw rt::Error(rt::errors::PathNotFound, std::string(kSource),
                        "cannot create the data folder " + path);
    }
    return path;
}

bool FileComponent::fileExists(std::string_view path) const
{
    return TextFile(std::string(path)).exists();
}

std::shared_ptr<TextFile> FileComponent::fileObject(std::string_view path) const
{
    return std::make_shared<TextFile>(std::string(path));
}

std::shared_ptr<TextFile> FileComponent::newFileObject() const
{
    return std::make_shared<TextFile>();
}

void FileComponent::write(const TextFile& file, WriteMode mode,
                          [[maybe_unused]] TextFormat format) const
{
    if (file.path().empty()) {
        throw rt::Error(rt::errors::PathFileAccess, std::string(kSource),
                        "the file object has no path");
    }
    const fs::path path(file.path());
    const auto folder = path.parent_path();
    std::error_code ignored;
    if (!folder.empty() && !fs::is_directory(folder, ignored)) {
        throw rt::Error(rt::errors::PathNotFound, std::string(kSource),
                        "the folder of " + file.path() + " does not exist");
    }
    if (mode == WriteMode::Replace) {
        const std::string_view text = file.text();
        replaceText(file.path(), std::span<const std::string_view>(&text, 1));
        return;
    }
    try {
        appendToFile(path, detail::encodeText(file.text(), appendEncoding(path),
                                              detail::ByteOrderMark::Omit));
    } catch (const std::system_error& error) {
        detail::raiseFileFailure(error.code().value(), kSource, rt::FileAction::Write,
                                 file.path());
    }
}

void FileComponent::replaceText(std::string_view path,
                                std::span<const std::string_view> pieces) const
{
    const fs::path target{std::string(path)};
    const auto folder = target.parent_path();
    std::error_code ignored;
    if (!folder.empty() && !fs::is_directory(folder, ignored)) {
        throw rt::Error(rt::errors::PathNotFound, std::string(kSource),
                        rt::FileFailureText(ENOENT, rt::FileAction::Write, std::string(path)));
    }
    try {
        replaceFileContents(target, pieces);
    } catch (const std::system_error& error) {
        detail::raiseFileFailure(error.code().value(), kSource, rt::FileAction::Write,
                                 std::string(path));
    }
}

std::string FileComponent::parentFolder(std::string_view path) const
{
    const auto slash = path.rfind('/');
    return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

std::string FileComponent::fullPath(std::string_view path) const
{
    std::error_code error;
    const auto absolute = fs::absolute(fs::path(path), error);
    return (error ? fs::path(path) : absolute).lexically_normal().string();
}

std::string FileComponent::fileName(std::string_view path) const
{
    const auto slash = path.rfind('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string FileComponent::extension(std::string_view path) const
{
    const auto name = fileName(path);
    const auto dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

bool FileComponent::folderExists(std::string_view path) const
{
    std::error_code error;
    return !path.empty() && fs::is_directory(fs::path(path), error);
}

void FileComponent::createFolder(std::string_view path) const
{
    std::error_code error;
    fs::create_directories(fs::path(path), error);
    if (error) {
        detail::raiseFileFailure(error.value(), kSource, rt::FileAction::Create,
                                 std::string(path));
    }
    if (!fs::is_directory(fs::path(path), error)) {
        detail::raiseFileError(EEXIST, kSource, "a file is in the way of " + std::string(path));
    }
}

std::optional<std::uintmax_t> FileComponent::fileSize(std::string_view path) const
{
    std::error_code error;
    const fs::path file(path);
    if (!fs::is_regular_file(file, error)) {
        return std::nullopt;
    }
    const auto size = fs::file_size(file, error);
    return error ? std::nullopt : std::optional(size);
}

std::optional<FileVersion> FileComponent::fileVersion(std::string_view path) const
{
    struct stat info
    {
    };
    if (::stat(std::string(path).c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return std::nullopt;
    }
    return FileVersion{info.st_dev, info.st_ino, info.st_size, info.st_mtim.tv_sec,
                       info.st_mtim.tv_nsec};
}

bool FileComponent::deleteFile(std::string_view path) const
{
    const fs::path file(path);
    std::error_code error;
    if (fs::is_directory(file, error)) {
        detail::raiseFileFailure(EISDIR, kSource, rt::FileAction::Delete, std::string(path));
    }
    const bool removed = fs::remove(file, error);
    if (error) {
        detail::raiseFileFailure(error.value(), kSource, rt::FileAction::Delete,
                                 std::string(path));
    }
    return removed;
}

std::vector<std::string> FileComponent::filesWithPrefix(std::string_view folder,
                                                        std::string_view prefix) const
{
    std::vector<std::string> names;
    std::error_code error;
    fs::directory_iterator entries(fs::path(std::string(folder)), error);
    if (error) {
        return names;
    }
    const std::string wanted = rt::LCase(prefix);
    for (const auto& entry : entries) {
        std::error_code kindError;
        if (!entry.is_regular_file(kindError)) {
            continue;
        }
        std::string name = entry.path().filename().string();
        if (rt::LCase(name).compare(0, wanted.size(), wanted) == 0) {
            names.push_back(std::move(name));
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace platform::win
