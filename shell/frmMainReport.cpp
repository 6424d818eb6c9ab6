// The report window's report-file commands: saving the report with the view's actions, the
// automatic actions after a read, the enabled state of the commands and the selected records.
#include "shell/frmMain.h"

#include "actions/Action.h"
#include "actions/ActionSave.h"
#include "common/ErrorHandling.h"
#include "common/ErrorObject.h"
#include "engine/Records.h"
#include "platform/forms/Driver.h"
#include "platform/forms/MenuBar.h"
#include "platform/forms/ToolBar.h"
#include "platform/runtime/DoEvents.h"
#include "platform/runtime/ResumeNext.h"
#include "views/ViewSettings.h"

namespace shell {

namespace pf = platform::forms;
namespace rt = platform::runtime;

namespace {

constexpr int kExclamation = 48;

bool HasSavedFile(actions::ActionSave& oSave)
{
    return !oSave.SavedAs().empty();
}

// Runs a step when the scope ends, also when an error leaves it. The step must not throw.
class AtScopeEnd
{
public:
    explicit AtScopeEnd(std::function<void()> fnStep) : m_fnStep(std::move(fnStep)) {}
    ~AtScopeEnd() { m_fnStep(); }
    AtScopeEnd(const AtScopeEnd&) = delete;
    AtScopeEnd& operator=(const AtScopeEnd&) = delete;

private:
    std::function<void()> m_fnStep;
};

} // namespace

void frmMain::SaveReportFile(actions::ActionSave& oSave)
{
    // The save clears SavedAs before it may fail: a failed save must not leave the window
    // believing in the file of an earlier save, nor "deletereport" enabled for it.
    const AtScopeEnd oFollow([&] { FollowSavedFile(oSave); });
    oSave.Execute();
}

void frmMain::FollowSavedFile(actions::ActionSave& oSave)
{
    m_bReportSaved = HasSavedFile(oSave);
    EnableMenus();
}

void frmMain::RunFileCommand(const char* sProcedure, const std::function<void()>& fnBody,
                             const std::string& sTitle)
{
    const std::shared_ptr<frmMain> oKeepAlive = weak_from_this().lock();
    const bool bWasRunning = m_bActionRunning;
    m_bActionRunning = true;
    common::Logging("frmMain", sProcedure, fnBody, [&](common::ErrorObject& oError) {
        pf::MsgBox(oError.Description(), kExclamation, sTitle);
    });
    m_bActionRunning = bWasRunning;
    RunDeferred();
}

void frmMain::Export()
{
    m_sLastExported.clear();
    RunFileCommand("Export", [&] {
        const bool bRecords = m_oRecords && m_oRecords->Count() >= 1;
        if (bRecords && m_oView) {
            auto& oAction = *m_oView->Action();
            auto& oSave = *oAction.GetSaveAction();
            // Also when the save or an automatic action fails, the flag and the commands
            // follow SavedAs.
            const AtScopeEnd oFollow([&] { FollowSavedFile(oSave); });
            oSave.Execute();
            m_bReportSaved = HasSavedFile(oSave);
            m_sLastExported = oSave.SavedAs();
            oAction.AutoExecute(true);
            // An automatic delete may have taken the file away again.
            m_bReportSaved = HasSavedFile(oSave);
        }
        SetMousePointer(0);
        rt::DoEvents();
        if (bRecords)
            EnableMenus();
    });
}

bool frmMain::SaveReportThroughDialog()
{
    if (!m_oView)
        return false;
    auto& oSave = *m_oView->Action()->GetSaveAction();
    const auto lAction = oSave.Action();
    const auto lReportExists = oSave.ReportExists();
    const auto lReportFormat = oSave.ReportFormat();
    const std::string sReportTemplate = oSave.ReportTemplate();
    oSave.SetAction(0);
    oSave.SetReportExists(2);
    RunFileCommand("Export", [&] { SaveReportFile(oSave); });
    // The dialog's file type changes the format and template only for this save.
    oSave.SetAction(lAction);
    oSave.SetReportExists(lReportExists);
    oSave.SetReportFormat(lReportFormat);
    oSave.SetReportTemplate(sReportTemplate);
    return HasSavedFile(oSave);
}

void frmMain::RunAutomaticActions()
{
    auto& oAction = *m_oView->Action();
    auto& oSave = *oAction.GetSaveAction();
    if (!oSave.AutoExecute())
        return;
    oAction.AutoExecute(false);
    m_bReportSaved = HasSavedFile(oSave);
}

void frmMain::EnableMenus()
{
    rt::ResumeNext ignore;
    bool bRecords = false;
    ignore([&] { bRecords = m_oRecords && m_oRecords->Count() > 0; });
    EnableCommand("saveas", bRecords, false);
    EnableCommand("expand", bRecords, true);
    EnableCommand("collapse", bRecords, true);
    EnableCommand("openitem", bRecords, true);
    EnableCommand("openreport", bRecords, false);
    EnableCommand("print", bRecords, false);
    EnableCommand("sendreport", bRecords, false);
    bool bSaved = false;
    ignore([&] { bSaved = HasSavedFile(*m_oView->Action()->GetSaveAction()); });
    EnableCommand("deletereport", bSaved, true);
}

void frmMain::EnableCommand(const std::string& sKey, bool bEnabled, bool bMenuOnly)
{
    rt::ResumeNext ignore;
    if (!bMenuOnly)
        ignore([&] {
            if (auto oButton = m_Coolbar1->Button(sKey))
                oButton->SetEnabled(bEnabled);
        });
    ignore([&] {
        if (auto oItem = m_MenuBar1->Items().Item(sKey))
            oItem->SetEnabled(bEnabled);
    });
}

} // namespace shell
