#pragma once

#include <cerrno>
#include <optional>
#include <string>
#include <sys/types.h>

namespace platform::runtime {

/// The file that a write through a temporary file and a rename must replace, and what of the
/// old file it must keep.
struct ReplaceTarget
{
    /// The file the rename replaces: the path itself, or, when the path is a symbolic link,
    /// the file the link names (followed through further links), so that the link stays.
    std::string path;
    /// The permission bits of the file being replaced; nothing when there is none yet.
    std::optional<mode_t> mode;
};

/// The errno value ResolveReplaceTarget gives for a target that is a device, a pipe or a
/// socket (FileFailureText says so in words).
inline constexpr int kNotAFile = ENODEV;

/// Resolves `path` for a replacing write. Returns 0 and fills `target`, or an errno value:
/// EACCES when an existing file may not be written by the user (a file without any write
/// permission counts as read-only also for the superuser, as a read-only file is on the
/// host), EROFS on a read-only file system, ELOOP for a circle of links, ENAMETOOLONG, EISDIR
/// when the path (or the file a link names) is a folder and kNotAFile when it is anything
/// else but a file: only a file is ever replaced, never the node a link names. A missing file
/// is no error: it is created. Never throws.
int ResolveReplaceTarget(const std::string& path, ReplaceTarget& target) noexcept;

/// The folder of a path as the replacing writers need it ("." for a bare name).
std::string FolderOfPath(const std::string& path);

} // namespace platform::runtime
