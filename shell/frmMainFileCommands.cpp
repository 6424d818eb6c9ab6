// The report window's commands on the saved report file: print, mail, open and delete it. Each
// writes the report first when the window holds no saved file of it.
#include "shell/frmMain.h"

#include "actions/Action.h"
#include "actions/ActionDelete.h"
#include "actions/ActionOpen.h"
#include "actions/ActionPrint.h"
#include "actions/ActionSave.h"
#include "actions/ActionSend.h"
#include "common/Deliverable.h"
#include "views/ViewSettings.h"

namespace shell {

void frmMain::RunOnSavedReport(const char* sProcedure,
                               const std::function<void(actions::Action&)>& fnAction,
                               const std::string& sTitle)
{
    RunFileCommand(
        sProcedure,
        [&] {
            if (!m_oView)
                return;
            auto& oAction = *m_oView->Action();
            if (!m_bReportSaved) {
                SaveReportFile(*oAction.GetSaveAction());
            }
            // Runs also when no file was written: each action handles an empty SavedAs itself.
            fnAction(oAction);
        },
        sTitle);
}

void frmMain::PrintReport()
{
    RunOnSavedReport("PrintReport", [](actions::Action& o) { o.GetPrintAction()->Execute(); });
}

void frmMain::SendReport()
{
    RunOnSavedReport("SendReport", [](actions::Action& o) { o.GetSendAction()->Execute(); });
}

void frmMain::OpenReport()
{
    RunOnSavedReport(
        "OpenReport", [](actions::Action& o) { o.GetOpenAction()->Execute(); },
        common::ThisDeliverable().sAppTitle);
}

void frmMain::DeleteReport()
{
    RunFileCommand("DeleteReport", [&] {
        if (!m_oView)
            return;
        auto& oAction = *m_oView->Action();
        oAction.GetDeleteAction()->Execute(true);
        // Without this the next print, mail or open would find no file and write none.
        m_bReportSaved = !oAction.GetSaveAction()->SavedAs().empty();
        EnableMenus();
    });
}

} // namespace shell
