#include "host/ProfileLock.h"

#include "host/HostTexts.h"
#include "platform/runtime/FileFailure.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <sys/file.h>
#include <unistd.h>

namespace host {

namespace {

// The process id the holder wrote into the lock file; empty when it cannot be read (the
// holder may be between taking the lock and writing its id).
std::string HolderOf(int fd)
{
    char buf[32] = {};
    const ssize_t n = pread(fd, buf, sizeof(buf) - 1, 0);
    std::string sPid;
    for (ssize_t i = 0; i < n && buf[i] >= '0' && buf[i] <= '9'; ++i)
        sPid += buf[i];
    return sPid;
}

// The system's words for an error, in the user's language where the system has them.
std::string SystemText(int nError)
{
    return std::strerror(nError);
}

void WriteHolder(int fd)
{
    const std::string sPid = std::to_string(getpid()) + "\n";
    // The id is for the message of a second host only; the lock itself is what counts, so a
    // failed write is no reason to stop.
    if (ftruncate(fd, 0) != 0)
        return;
    [[maybe_unused]] const ssize_t nWritten = pwrite(fd, sPid.data(), sPid.size(), 0);
}

} // namespace

std::string ProfileLock::FilePath(const std::string& sProfile)
{
    return (std::filesystem::path(sProfile) / "tallyman.lock").string();
}

ProfileLock::ProfileLock(const std::string& sProfile)
{
    const std::string sFile = FilePath(sProfile);
    m_fd = open(sFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (m_fd < 0)
        throw std::runtime_error(Say(HostText::LockFileFailed,
                                     {platform::runtime::FileFailureText(
                                         errno, platform::runtime::FileAction::Create, sFile)}));
    // flock belongs to this open file, so the kernel lets it go when the process ends, also
    // when it is killed: a host that died leaves no claim behind.
    if (flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
        const int nError = errno;
        const std::string sHolder = HolderOf(m_fd);
        close(m_fd);
        m_fd = -1;
        if (nError != EWOULDBLOCK)
            throw std::runtime_error(Say(HostText::LockFailed, {sProfile, SystemText(nError)}));
        throw std::runtime_error(
            Say(HostText::ProfileInUse,
                {sProfile, sHolder.empty() ? Say(HostText::HolderUnknown)
                                           : Say(HostText::HolderProcess, {sHolder})}));
    }
    WriteHolder(m_fd);
}

ProfileLock::~ProfileLock()
{
    if (m_fd >= 0)
        close(m_fd); // closing the file lets the lock go
}

} // namespace host
