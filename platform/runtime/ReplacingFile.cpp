#include "platform/runtime/ReplacingFile.h"

#include "platform/runtime/Error.h"
#include "platform/runtime/FileFailure.h"
#include "platform/runtime/Leftovers.h"
#include "platform/runtime/ReplaceTarget.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace platform::runtime {
namespace {

std::atomic<bool> g_failNextWrite{false};

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
}

ReplacingFile::~ReplacingFile()
{
    if (fd_ >= 0) {
        ::close(fd_);
    }
    if (!committed_) {
        ::unlink(path_.c_str());
    }
}

void ReplacingFile::Write(std::string_view bytes)
{
    if (g_failNextWrite.exchange(false)) {
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
    if (std::rename(path_.c_str(), replaced_.c_str()) != 0) {
        RaiseErrno(errno, source_, target_);
    }
    committed_ = true;
}

void ReplacingFile::FailNextWriteForTesting()
{
    g_failNextWrite = true;
}

} // namespace platform::runtime
