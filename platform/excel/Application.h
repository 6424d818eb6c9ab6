#pragma once

#include "platform/runtime/Object.h"

#include <memory>
#include <string>
#include <string_view>

namespace platform::excel {

namespace detail {
struct AppState;
}

class Workbooks;

/// The spreadsheet application ("excel.application") as automation sees it: a workbook
/// collection, alerts, visibility, version and Quit.
///
/// Nothing is drawn by the stand-in itself: making the application visible opens every
/// workbook that has a file in the user's program for it, through the host shell's "open"
/// verb (platform::win::currentShell()).
class Application : public platform::runtime::Object
{
public:
    /// Use CreateObject or GetObject.
    explicit Application(std::shared_ptr<detail::AppState> state);
    ~Application() override;

    std::string TypeName() const override { return "Application"; }

    /// The version text, "16.0" unless SetInstalledVersion chose another.
    std::string Version() const;
    /// Whether the application would ask before overwriting a file (true at start).
    bool DisplayAlerts() const;
    /// Sets DisplayAlerts.
    void SetDisplayAlerts(bool value);
    /// Whether the application is shown to the user (false at start).
    bool Visible() const;
    /// Shows the application: each workbook with a file is opened through the shell; later
    /// opened files follow. Raises 1004 when the shell cannot start the program.
    void SetVisible(bool value);
    /// The open workbooks.
    std::shared_ptr<excel::Workbooks> Workbooks() const;
    /// Ends the application: its workbooks close without saving and it no longer runs.
    void Quit();

    /// The version that applications created from now on report ("11.0" makes an old one).
    static void SetInstalledVersion(std::string version);

private:
    std::shared_ptr<detail::AppState> state_;
};

/// A new application for ProgID "excel.application" (any letter case). Raises 429 for any
/// other ProgID.
std::shared_ptr<Application> CreateObject(std::string_view progId);

/// The running application of ProgID "excel.application": the last one created in this
/// process that has not quit and is still referenced or visible. Raises 429 when none runs.
std::shared_ptr<Application> GetObject(std::string_view progId);

} // namespace platform::excel
