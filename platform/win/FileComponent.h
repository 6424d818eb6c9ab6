#pragma once

#include "platform/win/TextFile.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace platform::win {

/// Whether a write adds to the file or replaces it.
enum class WriteMode
{
    Replace,
    Append
};

/// What tells one version of a file from another: where it lives on the file system, its size
/// and its modification time. A file replaced through a temporary file and a rename always
/// has another version, even when the clock has not moved on since the old one was written.
struct FileVersion
{
    std::uint64_t device = 0;
    std::uint64_t node = 0;
    std::int64_t size = 0;
    std::int64_t modifiedSeconds = 0;
    std::int64_t modifiedNanoseconds = 0;
    bool operator==(const FileVersion&) const = default;
};

/// The file component the system creates by class identifier: its data folder, file objects
/// and their reading and writing, and path helpers. Failures raise the runtime's errors
/// (53 file not found, 76 path not found, 70 permission denied, 61 disk full, 75 other).
class FileComponent
{
public:
    /// The folder kind the system asks for: the per-user data folder of an application.
    static constexpr int kUserDataFolder = 3;

    /// The folder of a kind for an application title, ending with "/". Kind 3 is
    /// "<per-user application data>/Kestrova/<title>/" (see SpecialFolders.h); it is created
    /// when missing, so that the first write into it works. Raises error 438 for another kind,
    /// 5 for a title that is empty, "." or "..", or holds "/", and 76 when there is no per-user
    /// data folder or it cannot be created.
    std::string folder(int kind, std::string_view title) const;

    /// Whether a file (not a folder) exists at the path.
    bool fileExists(std::string_view path) const;

    /// A file object for a path.
    std::shared_ptr<TextFile> fileObject(std::string_view path) const;

    /// A new file object without a path or text.
    std::shared_ptr<TextFile> newFileObject() const;

    /// Writes the file object's text to its path (see TextFormat for the bytes): appending
    /// adds to the end (creating a missing file), replacing goes through a temporary file and
    /// a rename, so the old file survives a failed write whole. Raises error 76 when the
    /// folder is missing, 75 for a file object without a path, or the file error.
    void write(const TextFile& file, WriteMode mode, TextFormat format) const;

    /// Replaces the file at `path` with the bytes of `pieces` one after the other, as write
    /// does for a file object holding their joined text in format Unicode, without joining
    /// them in memory first. Raises as write does.
    void replaceText(std::string_view path, std::span<const std::string_view> pieces) const;

    /// The folder part of a path, ending with "/" ("" for a bare name).
    std::string parentFolder(std::string_view path) const;
    /// The absolute form of a path, "." and ".." resolved by name (links are not followed).
    std::string fullPath(std::string_view path) const;
    /// The last part of a path, with its extension.
    std::string fileName(std::string_view path) const;
    /// The extension of the last part, without the dot ("" when there is none).
    std::string extension(std::string_view path) const;

    /// Whether a folder exists at the path.
    bool folderExists(std::string_view path) const;
    /// Creates a folder and any missing folders above it; nothing when it exists. Raises the
    /// file error when it cannot.
    void createFolder(std::string_view path) const;
    /// The size of a file in bytes, or nothing when it is missing or not a file.
    std::optional<std::uintmax_t> fileSize(std::string_view path) const;
    /// The current version of a file, or nothing when it is missing or not a file.
    std::optional<FileVersion> fileVersion(std::string_view path) const;
    /// The names (without folder) of the files in a folder whose names begin with `prefix`,
    /// compared without regard to letter case as the host's file system does; the prefix is
    /// taken literally (no wildcards). Sorted by name; empty when the folder is missing or
    /// nothing matches. Folders are not listed.
    std::vector<std::string> filesWithPrefix(std::string_view folder,
                                             std::string_view prefix) const;
    /// Deletes a file; false when there was none. Raises the file error when it cannot.
    bool deleteFile(std::string_view path) const;
};

} // namespace platform::win
