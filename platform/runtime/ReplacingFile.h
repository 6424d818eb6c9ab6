#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace platform::runtime {

/// A temporary file beside a target file that replaces the target only when committed, so an
/// interrupted or failed write never leaves the target shorter than it was.
class ReplacingFile
{
public:
    /// Creates the temporary file in the target's folder (for a symbolic link: beside the
    /// file the link names, which is the file replaced; the link stays). Raises 70 when the
    /// target is a file the user may not write (it stays as it is), 76 when the folder does
    /// not exist and 75 when the file cannot be created; `source` becomes the errors' source,
    /// and every message names the target, never the temporary file.
    ReplacingFile(std::string target, std::string source);
    /// Removes the temporary file unless it was committed. Never throws.
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    /// Path of the temporary file, for writers that open it themselves (they may also
    /// replace it by a rename of their own).
    const std::string& Path() const noexcept { return path_; }

    /// Appends bytes. Raises 61 when the disk is full, 75 for other failures.
    void Write(std::string_view bytes);

    /// Flushes the file to disk and renames it over the target. The replaced file's
    /// permissions are kept; a new file gets the default permissions. Raises 75 on failure.
    void Commit();

    /// Makes the next Write or Commit of any ReplacingFile fail as a full disk would (tests).
    static void FailNextWriteForTesting();

private:
    std::string target_;
    std::string source_;
    // The file the rename replaces (the target, or the file its link names) and its mode.
    std::string replaced_;
    std::optional<mode_t> mode_;
    std::string path_;
    int fd_ = -1;
    bool committed_ = false;
};

} // namespace platform::runtime
