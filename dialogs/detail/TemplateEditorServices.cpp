#include "dialogs/TemplateEditorServices.h"

#include "common/modMain.h"
#include "engine/FolderDataList.h"
#include "folderpicker/Result.h"
#include "platform/runtime/Error.h"
#include "shell/Application.h"
#include "shell/frmMain.h"
#include "views/ViewSettings.h"

namespace dialogs {

namespace rt = platform::runtime;

namespace {

using ViewRef = std::shared_ptr<views::ViewSettings>;

shell::frmMain& ReportWindow()
{
    shell::Application* pApp = common::modMain::G().g_oApplication;
    if (!pApp || !pApp->MainForm())
        rt::Raise(rt::errors::ObjectNotSet, "frmTemplateDetail", "The report window is not open.");
    return *pApp->MainForm();
}

} // namespace

TemplateEditorServices TemplateEditorServices::OfReportWindow()
{
    TemplateEditorServices oServices;
    // The view dialog is the report window's: it runs it for a template as for the report.
    oServices.ShowViewSettings = [](ViewRef& oView) {
        ReportWindow().ShowViewSettings(oView, true);
    };
    oServices.PickFolders = []() -> std::shared_ptr<engine::FolderDataList> {
        auto& oWindow = ReportWindow();
        const auto oResult = oWindow.PickFolder();
        if (!oResult)
            return nullptr;
        return oWindow.GetFolders(*oResult);
    };
    oServices.Pickers = ActionPickers::OfActions();
    return oServices;
}

} // namespace dialogs
