#include "platform/runtime/ReplacingFile.h"

#include "platform/runtime/Error.h"
#include "platform/runtime/FileFailure.h"
#include "platform/runtime/Leftovers.h"
#include "platform/runtime/ReplaceTarget.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <mutex>
#include <optional>
#include <set>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace platform::runtime {
namespace {

std::atomic<bool> g_failNextWrite{false};

// The temporary files of the writes under way, the lock every rename into place holds while
// it renames, and the one thread that may still rename once the process ends (EndOtherWrites).
struct Writes
{
    std::mutex mutex;
    std::set<std::string> temporaries;
    std::mutex commit;
    std::optional<std::thread::id> ender; // guarded by commit
};

Writes& TheWrites()
{
    // Never destroyed: a thread may still commit while the process ends.
    static Writes* writes = new Writes;
    return *writes;
}

void Track(const std::string& path)
{
    auto& writes = TheWrites();
    std::lock_guard lock(writes.mutex);
    writes.temporaries.insert(path);
}

void Untrack(const std::string& path)
{
    auto& writes = TheWrites();
    std::lock_guard lock(writes.mutex);
    writes.temporaries.erase(path);
}

// The file name (without its folder) that a test of a whole process names in the variable, or
// false when it names another file or none.
bool NamedForTesting(const char* variable, const std::string& target)
{
    const char* named = std::getenv(variable);
    if (named == nullptr || *named == '\0')
        return false;
    const auto slash = target.rfind('/');
    return target.substr(slash == std::string::npos ? 0 : slash + 1) == named;
}

// A test of a whole process may name a file (TV_TEST_HOLD_COMMIT) whose commit waits, once
// its bytes are written, so that the process can be ended in the middle of the save. The
// process says so on its error stream.
void HoldForTesting(const std::string& target)
{
    if (!NamedForTesting("TV_TEST_HOLD_COMMIT", target))
        return;
    const std::string line = "tallyman-test: holding the commit of " + target + "\n";
    (void)!::write(STDERR_FILENO, line.data(), line.size());
    std::this_thread::sleep_for(std::chrono::seconds(30));
}

// The error of a failed write of `path`, described in the user's language.
[[noreturn]] void RaiseErrno(int err, const std::string& source, const std::string& path)
{
    std::int32_t number = 75;
    if (err == ENOSPC || err == EDQUOT) {
        number = 61;
    } else if (err == EACCES || err == EPERM || err == EROFS) {
        number = 70;
    }
    Raise(number, source, FileFailureText(err, FileAction::Write, path));
}

} // namespace

ReplacingFile::ReplacingFile(std::string target, std::string source)
    : target_(std::move(target)), source_(std::move(source))
{
    // A read-only file stays as it is; a link stays a link and its file gets the new text.
    ReplaceTarget resolved;
    if (const int err = ResolveReplaceTarget(target_, resolved); err != 0) {
        RaiseErrno(err, source_, target_);
    }
    replaced_ = resolved.path;
    mode_ = resolved.mode;
    const std::string folder = FolderOfPath(replaced_);
    struct stat st
    {
    };
    if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        Raise(76, source_, FileFailureText(ENOENT, FileAction::Write, target_));
    }
    const auto slash = replaced_.rfind('/');
    const std::string name = slash == std::string::npos ? replaced_ : replaced_.substr(slash + 1);
    // What a killed writer left here goes first; the name carries this process for the same.
    RemoveLeftoverTemporaries(folder);
    std::string pattern = folder + "/" + TemporaryNamePattern(name) + "XXXXXX";
    std::vector<char> buf(pattern.begin(), pattern.end());
    buf.push_back('\0');
    fd_ = ::mkstemp(buf.data());
    if (fd_ < 0) {
        RaiseErrno(errno, source_, target_);
    }
    path_.assign(buf.data());
    Track(path_);
}

ReplacingFile::~ReplacingFile()
{
    if (fd_ >= 0) {
        ::close(fd_);
    }
    if (!committed_) {
        ::unlink(path_.c_str());
    }
    Untrack(path_);
}

void ReplacingFile::Write(std::string_view bytes)
{
    // A test of a whole process may fill the disk for one file (TV_TEST_FULL_DISK).
    if (g_failNextWrite.exchange(false) || NamedForTesting("TV_TEST_FULL_DISK", replaced_)) {
        RaiseErrno(ENOSPC, source_, target_);
    }
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            RaiseErrno(errno, source_, target_);
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
}

void ReplacingFile::Commit()
{
    if (g_failNextWrite.exchange(false)) {
        RaiseErrno(ENOSPC, source_, target_);
    }
    if (fd_ >= 0) {
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0) {
            RaiseErrno(errno, source_, target_);
        }
    }
    mode_t mode = 0;
    if (mode_) {
        mode = *mode_;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    // Opened again by name: a library may have written the file through a rename of its own.
    const int fd = ::open(path_.c_str(), O_RDONLY);
    if (fd < 0) {
        RaiseErrno(errno, source_, target_);
    }
    const bool ok = ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
    const int err = errno;
    ::close(fd);
    if (!ok) {
        RaiseErrno(err, source_, target_);
    }
    HoldForTesting(replaced_);
    const auto commit = LockCommit();
    if (std::rename(path_.c_str(), replaced_.c_str()) != 0) {
        RaiseErrno(errno, source_, target_);
    }
    committed_ = true;
    Untrack(path_);
}

void ReplacingFile::FailNextWriteForTesting()
{
    g_failNextWrite = true;
}

void ReplacingFile::TrackTemporary(const std::string& path)
{
    Track(path);
}

void ReplacingFile::ForgetTemporary(const std::string& path)
{
    Untrack(path);
}

void ReplacingFile::HoldCommitForTesting(const std::string& target)
{
    HoldForTesting(target);
}

std::unique_lock<std::mutex> ReplacingFile::LockCommit()
{
    auto& writes = TheWrites();
    std::unique_lock lock(writes.commit);
    if (!writes.ender || *writes.ender == std::this_thread::get_id())
        return lock;
    // The process ends on another thread: this rename never comes, and the thread waits
    // without holding anything that the end needs.
    lock.unlock();
    for (;;)
        std::this_thread::sleep_for(std::chrono::hours(1));
}

void ReplacingFile::EndOtherWrites()
{
    auto& writes = TheWrites();
    {
        // A rename under way finishes first; no other thread renames a file into place after.
        std::lock_guard commit(writes.commit);
        writes.ender = std::this_thread::get_id();
    }
    std::lock_guard lock(writes.mutex);
    for (const auto& path : writes.temporaries)
        ::unlink(path.c_str());
    writes.temporaries.clear();
}

} // namespace platform::runtime
