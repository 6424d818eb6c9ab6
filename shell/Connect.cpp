#include "shell/Connect.h"

#include "common/ErrorHandling.h"
#include "common/modMain.h"
#include "grid/Flexgrid2.h"
#include "platform/forms/Driver.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/ResumeNext.h"
#include "shell/Application.h"
#include "shell/RibbonHandler.h"
#include "shell/frmMain.h"
#include "shell/modRibbon.h"

namespace shell {

namespace rt = platform::runtime;
namespace ol = platform::outlook;

namespace {

// The add-in's root object (g_App): made at connection, dropped at disconnection.
std::shared_ptr<Application>& g_App()
{
    static std::shared_ptr<Application> oApp;
    return oApp;
}

// Ribbon callbacks log an error and show its description with the exclamation icon, then
// return normally to the client.
void ShowError(common::ErrorObject& oError)
{
    platform::forms::MsgBox(oError.Description(), 48);
}

template <class TArgument>
std::shared_ptr<TArgument> ArgumentAs(const std::shared_ptr<rt::Object>& oArgument)
{
    return std::dynamic_pointer_cast<TArgument>(oArgument);
}

} // namespace

Connect::~Connect() = default;

const std::shared_ptr<Application>& Connect::App()
{
    return g_App();
}

void Connect::OnConnection(const std::shared_ptr<ol::Application>& Application, int,
                           const rt::Variant&, rt::Variant&)
{
    rt::ResumeNext ignore;
    ignore([&] {
        if (g_App())
            return;
        g_App() = std::make_shared<shell::Application>();
        common::modMain::G().g_oApplication = g_App().get();
        g_App()->InitHandler(Application);
    });
}

void Connect::OnDisconnection(int RemoveMode, rt::Variant&)
{
    rt::ResumeNext ignore;
    ignore([&] {
        if (!g_App())
            return;
        g_App()->ShutdownApplication(RemoveMode);
        g_App().reset();
    });
}

std::string Connect::GetCustomUI(const std::string& RibbonID)
{
    std::string sXml;
    common::Logging(
        "Connect", "IRibbonExtensibility_GetCustomUI",
        [&] { sXml = modRibbon::GetRibbonHandler()->GetCustomUI(RibbonID); }, ShowError);
    return sXml;
}

void Connect::OnLoad(const std::shared_ptr<ol::IRibbonUI>& Ribbon)
{
    common::Logging(
        "Connect", "OnLoad", [&] { modRibbon::GetRibbonHandler()->RibbonUI = Ribbon; }, ShowError);
}

void Connect::RibbonButtonClick(const std::shared_ptr<ol::IRibbonControl>& Control)
{
    common::Logging(
        "Connect", "RibbonButtonClick",
        [&] { modRibbon::GetRibbonHandler()->RibbonButtonClick(Control); }, ShowError);
}

std::shared_ptr<rt::Object> Connect::GetImages(const std::shared_ptr<ol::IRibbonControl>& Control)
{
    std::shared_ptr<rt::Object> oPicture;
    common::Logging(
        "Connect", "GetImages",
        [&] { oPicture = modRibbon::GetRibbonHandler()->GetImages(Control); }, ShowError);
    return oPicture;
}

rt::Variant Connect::InvokeCallback(const std::string& sName,
                                    const std::shared_ptr<rt::Object>& oArgument)
{
    if (sName == "OnLoad") {
        OnLoad(ArgumentAs<ol::IRibbonUI>(oArgument));
        return {};
    }
    if (sName == "RibbonButtonClick") {
        RibbonButtonClick(ArgumentAs<ol::IRibbonControl>(oArgument));
        return {};
    }
    if (sName == "GetImages")
        return rt::Variant(GetImages(ArgumentAs<ol::IRibbonControl>(oArgument)));
    if (sName == "GetEnabled")
        return rt::Variant(GetEnabled(ArgumentAs<ol::IRibbonControl>(oArgument)));
    if (sName == "GetVisible")
        return rt::Variant(GetVisible(ArgumentAs<ol::IRibbonControl>(oArgument)));
    throw rt::Error(438, "Connect", "Object doesn't support this property or method");
}

} // namespace shell

extern "C" platform::outlook::IAddIn* TallymanCreateAddIn()
{
    return new shell::Connect();
}

extern "C" common::ILanguage* TallymanAddInLanguage()
{
    const auto& oApp = shell::Connect::App();
    return oApp ? &oApp->ToILanguage() : nullptr;
}

extern "C" platform::forms::Form* TallymanReportWindow()
{
    const auto& oApp = shell::Connect::App();
    return oApp ? oApp->MainForm().get() : nullptr;
}

extern "C" platform::forms::FlexGrid* TallymanReportGrid()
{
    const auto& oApp = shell::Connect::App();
    return oApp && oApp->MainForm() ? &oApp->MainForm()->fg() : nullptr;
}

extern "C" bool TallymanFillGrid(platform::forms::FlexGrid* pGrid)
{
    const auto& oApp = shell::Connect::App();
    const auto& oWindow = oApp ? oApp->MainForm() : nullptr;
    if (!pGrid || !oWindow || !oWindow->GetViewSettings())
        return false;
    grid::Flexgrid2::CreateGrid(*pGrid, oWindow->Records(), *oWindow->GetViewSettings());
    return true;
}

extern "C" bool TallymanSaveReport()
{
    const auto& oApp = shell::Connect::App();
    return oApp && oApp->MainForm() && oApp->MainForm()->SaveReportThroughDialog();
}

extern "C" const char* TallymanReportExported()
{
    const auto& oApp = shell::Connect::App();
    return oApp && oApp->MainForm() ? oApp->MainForm()->LastExported().c_str() : "";
}

extern "C" long TallymanReportFolderCount()
{
    const auto& oApp = shell::Connect::App();
    return oApp && oApp->MainForm() ? oApp->MainForm()->FolderCount() : 0;
}

extern "C" void TallymanReportProgress(long* plValue, long* plMax)
{
    const auto& oApp = shell::Connect::App();
    const auto progress =
        oApp && oApp->MainForm() ? oApp->MainForm()->LastProgress() : std::pair<long, long>{};
    *plValue = progress.first;
    *plMax = progress.second;
}
