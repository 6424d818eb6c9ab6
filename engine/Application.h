#pragma once

#include "engine/ApplicationEvents.h"
#include "engine/FolderDataList.h"
#include "engine/Records.h"
#include "engine/detail/KeyedList.h"

#include "common/ILanguage.h"
#include "platform/runtime/Object.h"

#include <memory>
#include <string>
#include <vector>

namespace platform::outlook {
class Application;
}

namespace engine {

namespace detail {
class cFolder;
class Options;
} // namespace detail

/// The root of the record engine. The caller hands it the client's application object
/// (`Initialize`), fills the column list and the filter of its `Records`, and calls
/// `ReadRecords` with the folders of a report; `Progress` reports every row to the listeners.
class Application : public common::ModuleLanguage, public platform::runtime::Object
{
public:
    Application();
    /// Runs `Terminate` once more.
    ~Application() override;
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    std::string TypeName() const override { return "Application"; }

    /// The root seen as its language interface.
    common::ILanguage& ToILanguage() { return *this; }
    /// The engine offers no list of languages: an empty one.
    std::vector<long> SupportedLanguages() const override { return {}; }

    /// Becomes the library's current root (also when it then fails), keeps the client's
    /// application object and its "MAPI" namespace, and makes a new record set, settings
    /// (read from "settings.ini") and folder walker. Throws error 91 without an application
    /// object; settings or messaging-library failures reach the caller.
    void Initialize(std::shared_ptr<platform::outlook::Application> olApp);
    /// Reads the listed folders into `Records`; afterwards the list holds only the folders
    /// that could be opened. Before `Initialize` it does nothing.
    void ReadRecords(FolderDataList& FolderDataList);
    /// The record set; no object before `Initialize`.
    std::shared_ptr<engine::Records> Records() const { return m_oRecords; }
    /// Releases the object cache, unlinks walker and record set (both stay), ends the engine's
    /// messaging session, drops the client's application object and stops being the current
    /// root. Never throws.
    void Terminate();

    /// The client's master category list as text, read as the client's version keeps it.
    /// Raises 91 for a client version the engine does not know.
    std::string GetMasterlist();

    /// Connects a listener to the `Progress` event (held weakly: it stays the caller's).
    void Advise(const std::shared_ptr<ApplicationEvents>& oListener);
    /// Disconnects a listener.
    void Unadvise(const std::shared_ptr<ApplicationEvents>& oListener);

    // Inside the engine.
    /// Keeps an object alive until `Terminate` under a key; a key already present keeps the
    /// first object. Never throws.
    void CacheObject(const std::shared_ptr<platform::runtime::Object>& oObject,
                     const std::string& sKey);
    /// The settings object; no object before `Initialize`.
    const std::shared_ptr<detail::Options>& OptionsObject() const { return m_oOptions; }
    /// The client's application object; no object after its Quit or `Terminate`.
    const std::shared_ptr<platform::outlook::Application>& OutlookApp() const
    {
        return m_oOutlookApp;
    }
    /// Raises `Progress` to every listener, then lets pending window messages run. Listener
    /// errors are ignored; never throws.
    void RaiseProgress(long lValue, long lMax, bool& bCancel);
    /// The client's Quit event: drops the client's application object.
    void OnOutlookQuit();

private:
    std::shared_ptr<platform::outlook::Application> m_oOutlookApp;
    std::shared_ptr<engine::Records> m_oRecords;
    std::shared_ptr<detail::cFolder> m_oFolder;
    std::shared_ptr<detail::Options> m_oOptions;
    std::unique_ptr<detail::KeyedList<std::shared_ptr<platform::runtime::Object>>> m_oCache;
    std::vector<std::weak_ptr<ApplicationEvents>> m_listeners;
    // The client whose Quit event reaches this root, kept to disconnect it later.
    std::weak_ptr<platform::outlook::Application> m_wQuitSource;
    int m_nQuitHandler = 0;

    void DisconnectQuit();
    void ReleaseOutlookApp();
};

} // namespace engine
