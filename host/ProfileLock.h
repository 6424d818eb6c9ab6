#pragma once

#include <string>

namespace host {

/// The claim of one host process on a profile: the client runs once per user profile, so a
/// second host on a profile that another one has open must not start (each would write the
/// add-in's files from its own memory on close). Held as an exclusive lock on the file
/// "tallyman.lock" in the profile folder, which also names the holder's process id; the lock
/// goes with the process, so a holder that died blocks nobody.
class ProfileLock
{
public:
    /// Takes the profile. Throws std::runtime_error naming the profile and the process that
    /// holds it when another host has it open, or when the lock file cannot be made.
    explicit ProfileLock(const std::string& sProfile);
    ProfileLock(const ProfileLock&) = delete;
    ProfileLock& operator=(const ProfileLock&) = delete;
    /// Lets the profile go (the lock file stays; an unlocked file claims nothing).
    ~ProfileLock();

    /// The lock file of a profile folder.
    static std::string FilePath(const std::string& sProfile);

private:
    int m_fd = -1;
};

} // namespace host
