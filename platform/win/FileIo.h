#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace platform::win {

/// The call through which every file write of the platform reaches the disk: like POSIX
/// write(2) it returns the number of bytes written, or -1 with errno set.
using WriteFunction = std::function<ssize_t(int fd, const char* data, std::size_t size)>;

/// Replaces the platform's write call for as long as it lives, so that a test can make a disk
/// fill up part-way through a save. Scopes nest; the previous call comes back on destruction.
/// Not for use while other threads write files.
class ScopedWriteFault
{
public:
    /// Installs `replacement` as the write call.
    explicit ScopedWriteFault(WriteFunction replacement);
    /// Restores the write call that was installed before.
    ~ScopedWriteFault();
    ScopedWriteFault(const ScopedWriteFault&) = delete;
    ScopedWriteFault& operator=(const ScopedWriteFault&) = delete;

private:
    WriteFunction previous_;
};

/// Replaces the whole content of `path` with `bytes`: writes a temporary file in the same
/// folder, flushes it to disk and renames it over the path, so the old file survives any
/// failure intact. An existing file keeps its permission bits; a symbolic link stays and the
/// file it names gets the bytes. The folder must exist. Throws std::system_error (with the
/// errno of the failing call, EACCES for a file the user may not write, which then stays as
/// it is) when the write fails; its message names `path`, never the temporary file.
void replaceFileContents(const std::filesystem::path& path, std::string_view bytes);

/// replaceFileContents for the bytes of `pieces` one after the other, written as they are
/// without first joining them in memory.
void replaceFileContents(const std::filesystem::path& path,
                         std::span<const std::string_view> pieces);

/// Appends `bytes` to `path`, creating the file when it is missing. When a write fails
/// part-way, the file is cut back to its old length before the error is thrown.
/// Throws std::system_error.
void appendToFile(const std::filesystem::path& path, std::string_view bytes);

/// The whole content of a file, or nothing when it does not exist (or is a folder).
/// Throws std::system_error when an existing file cannot be read.
std::optional<std::string> readFileBytes(const std::filesystem::path& path);

} // namespace platform::win
