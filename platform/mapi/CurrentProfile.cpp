#include "platform/mapi/CurrentProfile.h"

#include <mutex>

namespace platform::mapi {

namespace {

struct ProfileSetting
{
    std::mutex lock;
    std::string path;
};

ProfileSetting& Setting()
{
    static ProfileSetting setting; // constructed on first use, not at load time
    return setting;
}

} // namespace

void SetCurrentProfile(const std::string& profilePath)
{
    auto& s = Setting();
    std::lock_guard guard(s.lock);
    s.path = profilePath;
}

std::string CurrentProfile()
{
    auto& s = Setting();
    std::lock_guard guard(s.lock);
    return s.path;
}

} // namespace platform::mapi
