#pragma once

#include "common/ILanguage.h"
#include "platform/outlook/AddIn.h"

#include <memory>
#include <string>

namespace shell {

class Application;

/// The add-in's connection object, the one the client makes when it loads the add-in. It
/// keeps no state of its own: connection goes to the root object, the ribbon to the ribbon
/// handler.
class Connect : public platform::outlook::IAddIn
{
public:
    Connect() = default;
    ~Connect() override;

    void OnConnection(const std::shared_ptr<platform::outlook::Application>& Application,
                      int ConnectMode, const platform::runtime::Variant& AddInInst,
                      platform::runtime::Variant& custom) override;
    void OnDisconnection(int RemoveMode, platform::runtime::Variant& custom) override;
    void OnAddInsUpdate(platform::runtime::Variant&) override {}
    void OnStartupComplete(platform::runtime::Variant&) override {}
    void OnBeginShutdown(platform::runtime::Variant&) override {}

    /// The ribbon XML of the ribbon id (empty for every ribbon but the explorer's, and when
    /// building it fails; a failure is logged and shown).
    std::string GetCustomUI(const std::string& RibbonID) override;
    /// Runs the callback the XML names: "OnLoad", "RibbonButtonClick", "GetImages",
    /// "GetEnabled", "GetVisible". Error 438 for any other name.
    platform::runtime::Variant
    InvokeCallback(const std::string& sName,
                   const std::shared_ptr<platform::runtime::Object>& oArgument) override;

    /// The ribbon's onLoad: keeps the ribbon in the handler.
    void OnLoad(const std::shared_ptr<platform::outlook::IRibbonUI>& Ribbon);
    /// The report button's onAction.
    void RibbonButtonClick(const std::shared_ptr<platform::outlook::IRibbonControl>& Control);
    /// No picture.
    std::shared_ptr<platform::runtime::Object>
    GetImages(const std::shared_ptr<platform::outlook::IRibbonControl>& Control);
    bool GetEnabled(const std::shared_ptr<platform::outlook::IRibbonControl>&) { return false; }
    bool GetVisible(const std::shared_ptr<platform::outlook::IRibbonControl>&) { return false; }

    /// The root object while connected (the add-in's g_App).
    static const std::shared_ptr<Application>& App();
};

} // namespace shell

/// The add-in library's factory: a new connection object, owned by the caller.
extern "C" platform::outlook::IAddIn* TallymanCreateAddIn();

/// The language interface of the connected add-in's root object, or null while it is not
/// connected: the client hands the add-in its UI language through it.
extern "C" common::ILanguage* TallymanAddInLanguage();

namespace platform::forms {
class FlexGrid;
class Form;
} // namespace platform::forms

/// The report window of the connected add-in (a `shell::frmMain`), or null while it has
/// none: the client shows it through this.
extern "C" platform::forms::Form* TallymanReportWindow();

/// The report window's grid, or null while there is no report window.
extern "C" platform::forms::FlexGrid* TallymanReportGrid();

/// Fills the grid given from the report window's records and template as the window's own
/// fill does, with a grid engine of its own; false while there is no report window. A client
/// compares with it what showing the report costs beyond the fill of a grid that no window
/// shows.
extern "C" bool TallymanFillGrid(platform::forms::FlexGrid* pGrid);

/// The last progress of the report window's read (value and maximum; 0 and 0 without one).
extern "C" void TallymanReportProgress(long* plValue, long* plMax);
