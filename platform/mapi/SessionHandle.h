#pragma once

#include "platform/runtime/Object.h"

#include <string>

namespace platform::mapi {

/// The MAPI object of a logged-on session (what the client's namespace and a session give as
/// "MAPIOBJECT"): names the profile, so that a session handed it works on the same profile.
class SessionHandle : public runtime::Object
{
public:
    explicit SessionHandle(std::string profilePath) : m_profilePath(std::move(profilePath)) {}
    std::string TypeName() const override { return "IMAPISession"; }

    const std::string& ProfilePath() const { return m_profilePath; }

private:
    std::string m_profilePath;
};

} // namespace platform::mapi
