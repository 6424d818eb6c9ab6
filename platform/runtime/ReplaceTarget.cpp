#include "platform/runtime/ReplaceTarget.h"

#include <cerrno>
#include <climits>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace platform::runtime {
namespace {

// As many links as the system itself follows before it reports a loop.
constexpr int kMaxLinks = 40;

// The text of the link at `path`, or nothing with errno set.
std::optional<std::string> ReadLink(const std::string& path)
{
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t n = ::readlink(path.c_str(), buffer.data(), buffer.size());
        if (n < 0) {
            return std::nullopt;
        }
        if (static_cast<std::size_t>(n) < buffer.size()) {
            return std::string(buffer.data(), static_cast<std::size_t>(n));
        }
        if (buffer.size() >= PATH_MAX) {
            errno = ENAMETOOLONG;
            return std::nullopt;
        }
        buffer.resize(buffer.size() * 2);
    }
}

} // namespace

std::string FolderOfPath(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

int ResolveReplaceTarget(const std::string& path, ReplaceTarget& target) noexcept
{
    try {
        std::string current = path;
        struct stat st
        {
        };
        for (int links = 0;; ++links) {
            if (::lstat(current.c_str(), &st) != 0) {
                // Nothing there (a new file, or a link naming a file still to be made).
                target.path = current;
                target.mode.reset();
                return 0;
            }
            if (!S_ISLNK(st.st_mode)) {
                break;
            }
            if (links == kMaxLinks) {
                return ELOOP;
            }
            const auto link = ReadLink(current);
            if (!link) {
                return errno;
            }
            // A relative link is relative to the folder that holds it.
            current = !link->empty() && link->front() == '/' ? *link
                                                             : FolderOfPath(current) + "/" + *link;
        }
        target.path = current;
        target.mode = st.st_mode & 07777;
        // A rename would put a plain file in place of a folder, a device, a pipe or a socket
        // (as the superuser, of /dev/null itself when a link names it): a save only ever
        // replaces a file.
        if (S_ISDIR(st.st_mode)) {
            return EISDIR;
        }
        if (!S_ISREG(st.st_mode)) {
            return kNotAFile;
        }
        if ((st.st_mode & 0222) == 0) {
            return EACCES;
        }
        if (::access(current.c_str(), W_OK) != 0) {
            return errno;
        }
        return 0;
    } catch (...) {
        return ENOMEM;
    }
}

} // namespace platform::runtime
