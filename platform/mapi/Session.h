#pragma once

#include "platform/runtime/Variant.h"

#include <memory>
#include <optional>
#include <string>

namespace platform::mapi {

class Folder;
class Message;
class Stores;
class Store;
class AddressEntry;

/// The messaging session ("ardex.ardexsession"). A new session is logged off; it logs on to
/// the process's current profile (CurrentProfile.h) by its own Logon or by taking over the
/// client's session through its MAPI object. Everything it hands out is a view over the
/// profile's stores; two sessions on one profile see the same data.
class Session : public runtime::Object, public std::enable_shared_from_this<Session>
{
public:
    Session();
    ~Session() override;

    /// "Session" (the default property read as a Boolean tells whether it is logged on).
    std::string TypeName() const override;

    /// True once Logon or a MAPI-object take-over succeeded, False after Logoff. It is also
    /// the session's default value: what reading the session as a Boolean gives.
    bool LoggedOn() const;

    /// Logs on to the process's current profile. Only the fourth argument (new session) is
    /// honoured; the others (profile name, password, show dialog, parent window, no mail)
    /// are accepted and ignored, as no profile choice or dialog exists here. Throws when no
    /// current profile is set or it cannot be opened. Logging on again while logged on does
    /// nothing.
    void Logon(const runtime::Variant& profileName = {}, const runtime::Variant& password = {},
               const runtime::Variant& showDialog = {}, const runtime::Variant& newSession = {},
               const runtime::Variant& parentWindow = {}, const runtime::Variant& noMail = {});

    /// Takes over the client's session: the value of the namespace's "MAPIOBJECT". The
    /// session then works on the same profile and Logoff does not end the client's session.
    /// Throws (error 13) when the value is not such an object.
    void SetMAPIOBJECT(const runtime::Variant& mapiObject);
    /// The session's MAPI object (what SetMAPIOBJECT accepts); throws when logged off.
    runtime::Variant MAPIOBJECT() const;

    /// Ends the session. After a take-over the client's own session stays open.
    void Logoff();

    /// The folder with this entry id in the store with this store id (a text, or Empty to
    /// search every store), or no folder. The third argument (flags) is ignored.
    std::shared_ptr<Folder> GetFolderFromID(const std::string& entryId,
                                            const runtime::Variant& storeId = {},
                                            const runtime::Variant& flags = {});
    /// The message with this entry id, as GetFolderFromID; no message when none matches.
    std::shared_ptr<Message> GetMessageFromID(const std::string& entryId,
                                              const runtime::Variant& storeId = {},
                                              const runtime::Variant& flags = {});
    /// The default store's folder for one of the client's default-folder numbers (4 outbox,
    /// 5 sent items, 6 inbox, 9 calendar, 10 contacts, 11 journal, 12 notes, 13 tasks,
    /// 16 drafts). Throws when the number is unknown or the store has no such folder.
    std::shared_ptr<Folder> GetDefaultFolder(long folderType);

    /// The profile's stores, default store first.
    std::shared_ptr<Stores> GetStores();
    /// The store with this store id; throws when the session has none.
    std::shared_ptr<Store> GetStoreFromID(const std::string& storeId);
    /// Whether two entry ids name the same object (comparison without regard to case).
    bool CompareEntryIDs(const std::string& first, const std::string& second) const;
    /// The profile's user (the default store's mailbox owner).
    std::shared_ptr<AddressEntry> CurrentUser();
    /// The name of the profile's user.
    std::string CurrentUserName();
    /// The profile's name (its folder name).
    std::string ProfileName() const;
    /// The Exchange server version text: always "", as no server stands behind these stores.
    std::string ExchangeMailboxServerVersion();
    /// A new message made from a message file (the client's saved message ".msg" or template
    /// ".oft"): its class, tagged properties (bodies, the RTF body included), recipients and
    /// file attachments; named properties and embedded items are left out. It lies in no
    /// folder until moved (saved as it is, it goes to the default store's drafts). The second
    /// argument is ignored. Throws error 53 when the file is missing and 5 when it is no
    /// message file.
    std::shared_ptr<Message> GetMessageFromMsgFile(const std::string& path,
                                                   const runtime::Variant& create = {});

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace platform::mapi
