#pragma once

#include <mutex>
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
    /// A test of a whole process names a file's name (without its folder) in the environment
    /// instead: TV_TEST_FULL_DISK makes every write of that file fail as a full disk would,
    /// TV_TEST_HOLD_COMMIT makes its commit wait 30 s once its bytes are written (saying so on
    /// the error stream), so that the process can be ended in the middle of the save.
    static void FailNextWriteForTesting();

    /// For another writer of whole files through a temporary file: notes the temporary file
    /// while it is written (EndOtherWrites removes it) and forgets it.
    static void TrackTemporary(const std::string& path);
    static void ForgetTemporary(const std::string& path);
    /// The lock that a rename of a temporary file into place holds, for as long as the rename
    /// takes. After EndOtherWrites a thread other than the one that called it never gets it:
    /// the call does not return.
    static std::unique_lock<std::mutex> LockCommit();
    /// Waits as TV_TEST_HOLD_COMMIT asks when it names the target's file (see above).
    static void HoldCommitForTesting(const std::string& target);

    /// For a process that is about to end while other threads may still write: waits for a
    /// rename under way to finish, removes the temporary files of the writes under way, and
    /// holds every later commit of another thread for good, so that each target is left
    /// either as it was or as a whole commit made it. The calling thread may go on writing and
    /// committing; a later call from another thread hands that over to it (and holds the
    /// commits of the thread before). No lock is kept: a held thread waits on its own.
    static void EndOtherWrites();

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
