#pragma once

#include <string>

/// The profile the process works on: the folder of a store profile (platform/store). The host
/// sets it at start-up; tests set it to a profile they built. Sessions log on to it and the
/// client's namespace opens it. Not thread-safe against concurrent setting, as the host sets
/// it once on its user-interface thread.
namespace platform::mapi {

/// Sets the current profile's folder. An empty path clears it.
void SetCurrentProfile(const std::string& profilePath);

/// The current profile's folder, "" when none is set.
std::string CurrentProfile();

} // namespace platform::mapi
