#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace platform::mapi {
class Folder;
class SafeItem;
class Session;
class Utils;
} // namespace platform::mapi
namespace platform::outlook {
class MAPIFolder;
class NameSpace;
} // namespace platform::outlook
namespace platform::runtime {
class Object;
}

/// The deliverable's one session of the messaging library: opened on first use, by its own
/// logon or by taking over the client's session, and the library's other objects by ProgID.
namespace common::modRedemption {

/// The session, opened first when needed (`Logon` with the namespace global). Throws with
/// the source "g_Session" added.
std::shared_ptr<platform::mapi::Session> g_Session();

/// Creates the session when there is none and logs it on unless it is: by its own logon
/// when the client is older than version 10 or there is no namespace, else by taking over
/// the namespace's "MAPIOBJECT". Throws with the source "Logon" added.
void Logon(std::shared_ptr<platform::mapi::Session>& oSession,
           std::shared_ptr<platform::outlook::NameSpace>& oNameSpace);

/// The same with the client's major version as the caller's version test gives it: the
/// folder picker knows fewer versions than the add-in and logs on by itself for the others.
void Logon(std::shared_ptr<platform::mapi::Session>& oSession,
           std::shared_ptr<platform::outlook::NameSpace>& oNameSpace, std::int32_t lOutlookVersion);

/// The folder with these identifiers through the session, or null when the store reports it
/// gone (no such folder, no such store). Throws when the session cannot be had or the store
/// fails in another way, so that a caller never takes a failed session for missing folders.
std::shared_ptr<platform::mapi::Folder> OpenFolder(const std::string& sEntryID,
                                                   const std::string& sStoreID);

/// Ends the session at shutdown: logs off only a session of its own logon (none is ever
/// marked so, so the client's session is never logged off) and, when bRelease is true,
/// drops it. Ignores every error.
void ReleaseSession(bool bRelease);

/// The library's folder for a client folder (by its "EntryID" and "StoreID"); null for
/// null. Throws with the source "GetRdoFolder" added.
std::shared_ptr<platform::mapi::Folder>
GetRdoFolder(std::shared_ptr<platform::outlook::MAPIFolder> oFolder);

/// The library's safe wrapper of a client item ("ardex.sf" + the item's type name without a
/// trailing "Item"); null for null. Throws when the wrapper cannot be made.
std::shared_ptr<platform::mapi::SafeItem>
GetSafeItem(const std::shared_ptr<platform::runtime::Object>& oItem);

/// The ProgID of the safe wrapper for an item of this type name: "ardex.sf" and the name
/// less a trailing "Item" in any case ("ContactItem" gives "ardex.sfContact").
std::string SafeItemProgId(const std::string& sTypeName);

/// Detaches a safe wrapper from its item and drops it; ignores every error.
void ReleaseSafeItem(std::shared_ptr<platform::mapi::SafeItem>& oSafeItem);

/// The library's utilities object ("ardex.sfUtils").
std::shared_ptr<platform::mapi::Utils> GetSafeUtils();

/// Whether the session was logged on by this deliverable itself (for tests).
bool OwnLogon();

} // namespace common::modRedemption
