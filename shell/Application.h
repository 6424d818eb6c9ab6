#pragma once

#include "common/ILanguage.h"
#include "common/modTimer.h"
#include "platform/runtime/Object.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform::outlook {
class Application;
}
namespace common {
class Options;
}
namespace views {
class cMapiProps;
}

namespace shell {

class cExplorers;
class frmMain;

/// Where the root object stands in its start-up and shutdown.
enum class StartupState
{
    Created,
    TimerPending,
    Running,
    TornDown,
};

/// The add-in's root object: one while the add-in is connected. Owns the client's application
/// object, the settings, the explorer wrappers and the report window; starts in two stages
/// (the short one inside the connect call, the rest from a one-second timer) and tears
/// everything down at disconnection.
class Application : public platform::runtime::Object,
                    public common::ILanguage,
                    public common::ITimerCallback,
                    public std::enable_shared_from_this<Application>
{
public:
    Application() = default;
    ~Application() override;
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;
    std::string TypeName() const override { return "Application"; }

    // ILanguage: the add-in's one process-wide UI language.
    long LanguageID() const override;
    void SetLanguageID(long ID) override;
    /// None: the add-in names no list of languages.
    std::vector<long> SupportedLanguages() const override { return {}; }
    common::ILanguage& ToILanguage() { return *this; }

    /// The explorer wrappers; null before the second start-up stage.
    const std::shared_ptr<cExplorers>& Explorers() const { return m_oExplorers; }
    /// The cache of field catalogues per folder type; null before the second start-up stage.
    const std::shared_ptr<views::cMapiProps>& MapiProps() const { return m_oMapiProps; }
    /// The settings; null before the first start-up stage.
    const std::shared_ptr<common::Options>& AddinOptions() const { return m_oOptions; }
    /// The client's application object.
    const std::shared_ptr<platform::outlook::Application>& OutlookApp() const
    {
        return m_oOutlookApp;
    }
    /// The report window, or null before the first opening.
    const std::shared_ptr<frmMain>& MainForm() const { return m_oFrmMain; }
    StartupState State() const { return m_eState; }
    /// The client's master category list as text, read by the report window's engine object;
    /// raises when the report window or its engine is not there.
    std::string GetMasterlist() const;
    /// Whether the grid words were loaded (at the first opening of the report window).
    bool TextsLoaded() const { return m_bTextsLoaded; }

    /// First start-up stage, inside the client's connect call: globals, ribbon handler,
    /// settings and the start-up timer. An error is logged and ends the stage.
    void InitHandler(const std::shared_ptr<platform::outlook::Application>& oApp);
    /// The start-up timer fired: stops it and runs the second stage.
    void OnStartTimer() override;
    /// Second start-up stage: enumeration texts, field-catalogue cache, explorer wrappers. Each
    /// error is logged and the next step runs.
    void InitHandlerEx();
    /// Opens the report window or brings it to the front. A click before the start-up timer
    /// fired completes the start-up first. Errors are logged and shown.
    void DisplayFMain();
    /// Tears everything down (disconnect mode 1: the user switched the add-in off, which also
    /// removes the toolbars). Errors are ignored step by step; a call while one runs does
    /// nothing.
    void ShutdownApplication(std::int32_t lMode);

private:
    void CompleteStartup();

    std::shared_ptr<platform::outlook::Application> m_oOutlookApp;
    std::shared_ptr<cExplorers> m_oExplorers;
    std::shared_ptr<common::Options> m_oOptions;
    bool m_bTextsLoaded = false;
    std::shared_ptr<views::cMapiProps> m_oMapiProps;
    std::shared_ptr<frmMain> m_oFrmMain;
    StartupState m_eState = StartupState::Created;
    bool m_bShuttingDown = false;
};

} // namespace shell
