#include "platform/win/FileIo.h"

#include "platform/runtime/Leftovers.h"
#include "platform/runtime/ReplaceTarget.h"
#include "platform/runtime/ReplacingFile.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace platform::win {
namespace {

WriteFunction& currentWrite()
{
    static WriteFunction write = [](int fd, const char* data, std::size_t size) {
        return ::write(fd, data, size);
    };
    return write;
}

[[noreturn]] void throwErrno(int error, const std::string& what)
{
    throw std::system_error(error, std::generic_category(), what);
}

// Closes the descriptor on every path out of a function.
class FileDescriptor
{
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor()
    {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    // Closes now, so that a failing close (a late write error on some file systems) is seen.
    int close()
    {
        const int result = ::close(fd_);
        fd_ = -1;
        return result;
    }

private:
    int fd_;
};

// Writes all bytes through the seam; false with errno set when a write fails.
bool writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = currentWrite()(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        if (written == 0) {
            errno = ENOSPC;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// A fresh file next to `path`, opened exclusively; returns its descriptor and name.
std::pair<int, std::filesystem::path> createTemporaryBeside(const std::filesystem::path& path)
{
    static std::atomic<unsigned> counter{0};
    const auto folder =
        path.parent_path().empty() ? std::filesystem::path(".") : path.parent_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const auto name = platform::runtime::TemporaryNamePattern(path.filename().string()) +
                          std::to_string(counter.fetch_add(1));
        auto temporary = folder / name;
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            return {fd, temporary};
        }
        if (errno != EEXIST) {
            throwErrno(errno, "cannot create a temporary file beside " + path.string());
        }
    }
    throwErrno(EEXIST, "cannot create a temporary file beside " + path.string());
}

} // namespace

ScopedWriteFault::ScopedWriteFault(WriteFunction replacement)
    : previous_(std::exchange(currentWrite(), std::move(replacement)))
{
}

ScopedWriteFault::~ScopedWriteFault()
{
    currentWrite() = std::move(previous_);
}

void replaceFileContents(const std::filesystem::path& path, std::string_view bytes)
{
    replaceFileContents(path, std::span<const std::string_view>(&bytes, 1));
}

void replaceFileContents(const std::filesystem::path& path,
                         std::span<const std::string_view> pieces)
{
    // A read-only file stays as it is; a link stays a link and its file gets the new text.
    platform::runtime::ReplaceTarget target;
    if (const int error = platform::runtime::ResolveReplaceTarget(path.string(), target)) {
        throwErrno(error, "cannot replace " + path.string());
    }
    const std::filesystem::path replaced(target.path);
    // What a killed writer left beside the file goes first.
    platform::runtime::RemoveLeftoverTemporaries(replaced.parent_path().string());
    auto [fd, temporary] = createTemporaryBeside(replaced);
    FileDescriptor file(fd);
    // A process that ends by a signal removes it and lets no rename through afterwards.
    using platform::runtime::ReplacingFile;
    ReplacingFile::TrackTemporary(temporary.string());
    struct Forget
    {
        std::string path;
        ~Forget() { ReplacingFile::ForgetTemporary(path); }
    } forget{temporary.string()};
    if (target.mode) {
        ::fchmod(file.get(), *target.mode);
    }
    bool written = true;
    for (const std::string_view piece : pieces) {
        written = written && writeAll(file.get(), piece);
    }
    written = written && ::fsync(file.get()) == 0;
    const int writeError = errno;
    if (file.close() != 0 || !written) {
        const int error = written ? errno : writeError;
        ::unlink(temporary.c_str());
        throwErrno(error, "cannot write " + path.string());
    }
    ReplacingFile::HoldCommitForTesting(replaced.string());
    const auto commit = ReplacingFile::LockCommit();
    if (::rename(temporary.c_str(), replaced.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        throwErrno(error, "cannot replace " + path.string());
    }
}

void appendToFile(const std::filesystem::path& path, std::string_view bytes)
{
    FileDescriptor file(::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666));
    if (file.get() < 0) {
        throwErrno(errno, "cannot open " + path.string());
    }
    struct stat before
    {
    };
    if (::fstat(file.get(), &before) != 0) {
        throwErrno(errno, "cannot examine " + path.string());
    }
    if (!writeAll(file.get(), bytes)) {
        const int error = errno;
        // Take back what part of the text got written, so the file holds what it held.
        if (::ftruncate(file.get(), before.st_size) != 0) {
            throwErrno(error, "cannot append to " + path.string() + " and cannot undo it");
        }
        throwErrno(error, "cannot append to " + path.string());
    }
    if (file.close() != 0) {
        throwErrno(errno, "cannot append to " + path.string());
    }
}

std::optional<std::string> readFileBytes(const std::filesystem::path& path)
{
    // Not blocking: the open of a pipe would wait for a writer that never comes.
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (file.get() < 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
            return std::nullopt;
        }
        throwErrno(errno, "cannot open " + path.string());
    }
    struct stat info
    {
    };
    if (::fstat(file.get(), &info) != 0) {
        throwErrno(errno, "cannot examine " + path.string());
    }
    if (S_ISDIR(info.st_mode)) {
        return std::nullopt;
    }
    // A device or a pipe holds no file's text (and may never end).
    if (!S_ISREG(info.st_mode)) {
        throwErrno(platform::runtime::kNotAFile, "cannot read " + path.string());
    }
    std::string bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(file.get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            throwErrno(errno, "cannot read " + path.string());
        }
        if (n == 0) {
            break;
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    return bytes;
}

} // namespace platform::win
