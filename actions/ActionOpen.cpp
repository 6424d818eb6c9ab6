#include "actions/ActionOpen.h"

#include "actions/Action.h"
#include "actions/ActionSave.h"
#include "actions/detail/SavedReport.h"
#include "actions/detail/SettingsString.h"
#include "common/ErrorHandling.h"
#include "common/modShell.h"
#include "engine/ExportExcel.h"
#include "platform/runtime/DoEvents.h"

namespace actions {

using namespace detail;

namespace {

bool IsWorkbookFormat(std::int32_t lFormat)
{
    return lFormat == 2 || lFormat == 4 || lFormat == 5;
}

} // namespace

void ActionOpen::Execute()
{
    common::Rethrowing("ActionOpen", "Execute", [&](int& nLine) {
        nLine = 10;
        const ActionSave& oSave = SaveActionOf(Parent());
        const std::string sFile = oSave.SavedAs();
        if (sFile.empty())
            return;
        // Quoted, the path reaches the program as one argument, blanks and all.
        const std::string sQuoted = "\"" + sFile + "\"";
        nLine = 20;
        switch (m_lEditor) {
        case 0: {
            const auto tResult = common::modShell::ShellRun("notepad.exe", sQuoted);
            RequireStarted(tResult.started, sFile, tResult.detail);
            break;
        }
        case 1:
        case 3: {
            const auto tResult = common::modShell::ShellOpen(sQuoted);
            RequireStarted(tResult.started, sFile, tResult.detail);
            break;
        }
        case 2:
            nLine = 30;
            if (IsWorkbookFormat(oSave.ReportFormat())) {
                engine::ExportExcel oExcel;
                platform::runtime::DoEvents();
                oExcel.OpenWorkbook(sFile);
                platform::runtime::DoEvents();
            } else {
                const auto tResult = common::modShell::ShellRun("excel.exe", sQuoted);
                RequireStarted(tResult.started, sFile, tResult.detail);
            }
            break;
        default:
            break;
        }
    });
}

std::string ActionOpen::ToString() const
{
    return JoinFields({BoolField(m_bActive), BoolField(m_bAutoExecute), NumField(m_lEditor)});
}

void ActionOpen::ToObject(std::string& sData)
{
    common::Rethrowing("ActionOpen", "ISerializeString_ToObject", [&] {
        const auto a = TakeFields(SplitFields(sData), 0, 3);
        m_bActive = ReadBool(a[0]);
        m_bAutoExecute = ReadBool(a[1]);
        m_lEditor = ReadLong(a[2]);
    });
}

} // namespace actions
