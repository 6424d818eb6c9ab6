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

// The view dialog is the report window's: it runs it for a template as for the report.
template <class T>
concept ShowsViewByPointer = requires(T& o, ViewRef& v)
{
    o.ShowViewSettings(v, true);
};
template <class T>
concept ShowsViewByReference = requires(T& o, views::ViewSettings& v)
{
    o.ShowViewSettings(v, true);
};

shell::frmMain& ReportWindow()
{
    shell::Application* pApp = common::modMain::G().g_oApplication;
    if (!pApp || !pApp->MainForm())
        rt::Raise(rt::errors::ObjectNotSet, "frmTemplateDetail", "The report window is not open.");
    return *pApp->MainForm();
}

template <class T> void ShowViewOf(T& oWindow, ViewRef& oView)
{
    if constexpr (ShowsViewByPointer<T>)
        oWindow.ShowViewSettings(oView, true);
    else if constexpr (ShowsViewByReference<T>)
        oWindow.ShowViewSettings(*oView, true);
    else
        rt::Raise(rt::errors::ActionNotSupported, "frmTemplateDetail",
                  "Editing the view is not supported by this build.");
}

} // namespace

TemplateEditorServices TemplateEditorServices::OfReportWindow()
{
    TemplateEditorServices oServices;
    oServices.ShowViewSettings = [](ViewRef& oView) { ShowViewOf(ReportWindow(), oView); };
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
