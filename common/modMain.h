#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace platform::outlook {
class Application;
class NameSpace;
} // namespace platform::outlook
namespace platform::forms {
class FlexGrid;
class TextBox;
} // namespace platform::forms
namespace shell {
class Application;
}

namespace common {
class IChild;
class Options;
} // namespace common

/// The add-in's process-wide globals and the small procedures many windows share.
namespace common::modMain {

/// The add-in's globals: one set per loaded add-in, filled at connection by the root
/// object's `InitHandler` and emptied by its `ShutdownApplication`.
struct Globals
{
    /// The add-in's root object (not owned: the connection object owns it).
    shell::Application* g_oApplication = nullptr;
    /// The client's application object handed over at connection.
    std::shared_ptr<platform::outlook::Application> g_oOutlookApp;
    /// The add-in's settings, made and loaded at connection (null before).
    std::shared_ptr<common::Options> g_oAddinOptions;
    /// The client's "MAPI" namespace.
    std::shared_ptr<platform::outlook::NameSpace> g_oNameSpace;
    /// True while the start-up wraps the explorer windows that are already open.
    bool g_bAddingExplorers = false;
    /// Version attribute of the report-definition file read last; -1 until one is read.
    std::int32_t g_lReportFileVersion = -1;
    /// Last number handed out by `NextControlId`.
    std::int32_t g_lControlCounter = 0;
};

/// This add-in instance's globals.
Globals& G();

/// Adds 1 to the control counter and returns it (1 on the first call).
std::int32_t NextControlId();

/// Calls the child's `ResetParentPtr` unless it is null; errors are ignored.
void ResetParentPtrOf(IChild* oChild);

/// Switches the grid's redraw off before bulk changes; errors are ignored.
void SuspendGridRedraw(platform::forms::FlexGrid* oGrid);

/// Selects the whole text of a text box and sets its back colour unless lBackColor is -1;
/// errors are ignored.
void SelectAllText(platform::forms::TextBox* oTextBox, std::int64_t lBackColor = -1);

/// Appends "/" to a non-empty path that does not end with one; an empty path stays empty.
void AddBackslash(std::string& sPath);

/// The per-user data folder of this deliverable ("<app data>/Kestrova/<title>/").
std::string GetUserDataPath();

/// The per-user data folder for an application title, ending with "/". When the user's
/// application-data folder cannot be found, an absolute folder is used instead (the home
/// directory's, else the temporary folder's): never a path relative to the working directory.
std::string GetDataPathFor(const std::string& sAppTitle);

/// The registry key path of this deliverable's settings: "Software\Kestrova\<title>\Settings\".
std::string GetSettingsKeyPath();

} // namespace common::modMain
