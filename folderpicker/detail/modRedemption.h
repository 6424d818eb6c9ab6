#pragma once

#include <memory>

namespace platform::mapi {
class Session;
}

/// The picker's own messaging session, apart from the add-in's and the record engine's: made
/// on first use, logged on by itself or handed the client's session, and never logged off.
/// The client's application object and namespace it logs on with are this library's globals
/// (`common::modMain::G()`), which `Dialog::Init` sets.
namespace folderpicker::detail::modRedemption {

/// The session, made and logged on first when needed (for client versions 10 to 12 with a
/// namespace by taking over the namespace's session, otherwise by its own logon). Throws
/// what the messaging library throws, with "modRedemption.g_Session" added to the source.
std::shared_ptr<platform::mapi::Session> g_Session();

/// With bRelease true drops the library's session (it is never logged off); the next use
/// makes a new one. Never throws.
void ReleaseSession(bool bRelease);

} // namespace folderpicker::detail::modRedemption
