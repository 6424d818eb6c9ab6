#pragma once

#include "platform/runtime/Object.h"

#include <functional>
#include <map>
#include <memory>
#include <string>

namespace platform::outlook {

class COMAddIns;
class Explorers;
class ItemBase;
class LanguageSettings;
class NameSpace;

/// The client's application object: its version, its one "MAPI" namespace over the
/// process's current profile, new items, language settings, add-ins and the Quit event.
/// Explorers, command bars and the ribbon are not part of it yet.
class Application : public runtime::Object
{
public:
    /// An application that reports `version` (the client's full version text). A version
    /// before 12 starts as such a client does on the process's current profile: the user's
    /// registry gets the profile's master category list where it holds none
    /// (mapi::KeepMasterListForClient; failures are ignored).
    explicit Application(std::string version = "16.0.0.0");
    ~Application() override;
    std::string TypeName() const override { return "Application"; }

    /// The full version text, e.g. "16.0.4266.1001".
    const std::string& Version() const { return m_version; }
    /// Changes the reported version (the host's setting; tests pin old versions with it).
    void SetVersion(std::string version) { m_version = std::move(version); }

    /// The namespace of that name: only "MAPI" (any case) exists; error 5 otherwise.
    std::shared_ptr<NameSpace> GetNamespace(const std::string& type);
    /// The "MAPI" namespace (the client's Session property).
    std::shared_ptr<NameSpace> Session() { return GetNamespace("MAPI"); }
    /// A new, unsaved item of an item type (0 mail, 1 appointment, 3 task, 4 journal) in the
    /// default folder of its kind (mail: the drafts; with the body format of new mails).
    /// Error 5 for other types.
    std::shared_ptr<ItemBase> CreateItem(long itemType);
    /// The body format of new mails (1 plain, 2 HTML, 3 rich text); 2 until the host sets it.
    long NewMailBodyFormat() const { return m_newMailBodyFormat; }
    void SetNewMailBodyFormat(long format) { m_newMailBodyFormat = format; }
    std::shared_ptr<outlook::LanguageSettings> LanguageSettings();
    std::shared_ptr<outlook::COMAddIns> COMAddIns();
    /// The client's open explorer windows.
    std::shared_ptr<outlook::Explorers> Explorers();

    /// Connects a handler to the Quit event; answers the id to disconnect it with.
    int OnQuit(std::function<void()> handler);
    /// Disconnects a Quit handler; unknown ids are ignored.
    void DisconnectQuit(int id);
    /// Quits the client: raises Quit to every connected handler, in connection order. A
    /// handler that disconnects itself or another one during the event is safe.
    void Quit();

private:
    std::string m_version;
    std::shared_ptr<NameSpace> m_namespace;
    std::shared_ptr<outlook::LanguageSettings> m_languageSettings;
    std::shared_ptr<outlook::COMAddIns> m_addIns;
    std::shared_ptr<outlook::Explorers> m_explorers;
    std::map<int, std::function<void()>> m_quitHandlers;
    int m_nextHandler = 1;
    long m_newMailBodyFormat = 2;
};

} // namespace platform::outlook
